// The view's upload commands (machining centre menu, "上傳"): the drill
// coordinates, the locating holes, the engraving, routing and CAM paths go
// to the third controller as programs (machining/upload_commands.h). Which
// layers go is the view's choice: those its working layers show.
#include "view/velm_view.h"

#include "machining/upload_commands.h"
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
        CDrillTextWalk holes(g_HoleDataWnd);
        UploadLocatingHoles(holes);
    });
    m_Commands.OnCommand(ID_UPLOAD_ENGRAVE_PATHS,
                         [this] { UploadEngravePaths(UploadLayers(false), m_BlockList); });
    m_Commands.OnCommand(ID_UPLOAD_ROUTE_PATHS,
                         [this] { UploadRoutePaths(UploadLayers(true), m_BlockList); });
    m_Commands.OnCommand(ID_UPLOAD_CAM_PATHS, [this] {
        UploadCamPaths(m_Doc.m_PathLayerList, m_BlockList);
        Invalidate();
    });
}
