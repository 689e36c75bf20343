// The view's upload commands (machining centre menu, "上傳"): the drill
// coordinates, the locating holes, the engraving, routing and CAM paths go
// to the third controller as programs (machining/upload_commands.h). Which
// layers go is the view's choice: those its working layers show.
#include "view/velm_view.h"

#include "exchange/cam_upload_dlg.h"
#include "machining/upload_commands.h"
#include "platform/host.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"
#include "view/hole_text_walk.h"

std::vector<const CPathRecord*> CVelmView::UploadLayers(bool outline) const
{
    std::vector<const CPathRecord*> layers;
    for (const auto& layer : m_Doc.m_PathLayerList) {
        const bool sideWanted = outline ? layer->side == 5 : layer->side == g_CurrentSide;
        if (sideWanted && IsLayerVisible(layer->name.c_str()))
            layers.push_back(layer.get());
    }
    return layers;
}

void CVelmView::RegisterUploadCommands()
{
    m_Commands.OnCommand(ID_UPLOAD_DRILL, [this] { UploadDrillCoordinates(m_BlockList); });
    m_Commands.OnCommand(ID_UPLOAD_LOCATING_HOLES, [] {
        CDrillTextWalk holes(g_HoleDataWnd, CDrillTextWalk::EUnit::Millimetres);
        UploadLocatingHoles(holes);
    });
    m_Commands.OnCommand(ID_UPLOAD_ENGRAVE_PATHS,
                         [this] { UploadEngravePaths(UploadLayers(false), m_BlockList); });
    m_Commands.OnCommand(ID_UPLOAD_ROUTE_PATHS,
                         [this] { UploadRoutePaths(UploadLayers(true), m_BlockList); });
    m_Commands.OnCommand(ID_UPLOAD_CAM_PATHS, [this] {
        // The settings persist in the registry between uploads.
        CCamUploadDlg dialog;
        dialog.m_strLayerList = m_Doc.m_LayerName;
        dialog.LoadRegistryValues();
        if (dialog.DoModal() != IDOK)
            return;
        dialog.StoreRegistryValues();
        const CCamUploadSettings settings{dialog.m_strLayer,     dialog.m_strFeedSpeed,
                                          dialog.m_nStartAddress, dialog.m_fLiftHeight,
                                          dialog.m_fPlungeHeight, dialog.m_fToolDiameter,
                                          dialog.m_bAutoRun};
        UploadCamPaths(m_Doc.m_PathLayerList, m_BlockList, settings);
        Invalidate();
    });
}
