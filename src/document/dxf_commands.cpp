// The document's DXF commands: File/Import "DXF to CAM" and "DXF to Gerber",
// with the members the other subsystems call (the chaining of a path layer,
// the two writers, the machining-layer import). The logic is in
// src/exchange/; each command reads the drawing into records of its own and
// gives up the open job only once the drawing was read whole.
#include "document/velm_doc.h"

#include "exchange/dxf_dialogs.h"
#include "exchange/dxf_import.h"
#include "exchange/dxf_to_gerber.h"
#include "exchange/gerber_writer.h"
#include "exchange/path_chaining.h"
#include "link/link_state.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <filesystem>

namespace {

const char* const kDxfFilter = "AutoCAD DXF File|*.dxf|All File|*.*|";

// The DXF file the operator picks; empty when cancelled.
std::string ChooseDxfFile()
{
    std::vector<std::string> chosen;
    if (!Host().GetOpenFileName(kDxfFilter, "*.dxf", false, chosen) || chosen.empty())
        return {};
    return chosen.front();
}

// The board's extent around what was imported, 100 mil wider on every side.
void SetBoardExtent(const CDxfCamImport& in)
{
    g_BoardMinX = static_cast<int>(in.minX - 100.0f);
    g_BoardMinY = static_cast<int>(in.minY - 100.0f);
    g_BoardMaxX = static_cast<int>(in.maxX + 100.0f);
    g_BoardMaxY = static_cast<int>(in.maxY + 100.0f);
}

}  // namespace

void CVelmDoc::ChainPathLayer(const std::string& name) { ::ChainPathLayer(*this, name); }

int CVelmDoc::WriteGerberRs274x(const std::string& path, const std::string& base)
{
    return ::WriteGerberRs274x(*this, path, base);
}

int CVelmDoc::WriteExcellonDrill(const std::string& path, const std::string& base)
{
    return ::WriteExcellonDrill(*this, path, base);
}

int CVelmDoc::WriteGerberRs274xHairline(const std::string& path, const std::string& base)
{
    return ::WriteGerberRs274xHairline(*this, path, base);
}

void CVelmDoc::OnFileImportDxfToCam()
{
    if (g_JobCode != 0)
        return;
    SetCurrentDirectory(g_SystemDir);
    if (!LoadSettings())
        return;
    const std::string path = ChooseDxfFile();
    if (!path.empty())
        ImportDxfToPathLayers(path);
}

int CVelmDoc::ImportDxfToPathLayers(const std::string& path)
{
    CDxfCamImport in;
    if (!ReadDxfToPathLayers(path, m_LayerName, in))
        return 0;
    if (in.items == 0) {
        AfxMessageBox(WithName(IDS_DXF_NOTHING_IMPORTED, path), MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    TakeCamImport(in);
    return 1;
}

void CVelmDoc::TakeCamImport(CDxfCamImport& in)
{
    g_MeasureDataWnd.SaveModified();
    g_RouteDataWnd.SaveModified();
    ClearAll();
    m_PanelLayout.ClearLists();
    // The side files would otherwise bring the old job's copper back.
    SaveTempFile("top.tmp");
    SaveTempFile("bot.tmp");

    m_PathLayerList = std::move(in.layers);
    for (auto& layer : m_PathLayerList)
        layer->kind &= ~2;
    for (auto& tool : in.holes)
        if (tool->toolNumber >= 0 && tool->toolNumber < DRILL_TOOL_SIZES)
            g_ToolSizes[std::size_t(tool->toolNumber)] = tool->diameter;
    g_HoleList = std::move(in.holes);
    m_LayerName = in.layerList;
    SetBoardExtent(in);
    m_WorkDataLoaded = 1;
    m_WorkStage = static_cast<std::uint8_t>(WorkStage::Layout);
    CDocumentViewHooks::Run(m_ViewHooks.zoomToFit);
    CDocumentViewHooks::Run(m_ViewHooks.blockLayout);
    CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
}

int CVelmDoc::ImportDxfMachiningLayer(const std::string& path, const std::string& name)
{
    CDxfPlacement placement;
    placement.factor = m_DxfScale;
    placement.originX = g_DataOriginX;
    placement.originY = g_DataOriginY;
    std::unique_ptr<CPathRecord> layer;
    if (!ReadDxfMachiningLayer(path, name, placement, m_LayerName, layer))
        return 0;
    AddHead(m_PathLayerList, std::move(layer));
    m_WorkDataLoaded = 1;
    return 1;
}

void CVelmDoc::OnFileImportDxfToGerber()
{
    if (g_JobCode != 0)
        return;
    SetCurrentDirectory(g_SystemDir);
    const std::string path = ChooseDxfFile();
    if (!path.empty())
        ConvertDxfToGerber(path);
}

int CVelmDoc::ConvertDxfToGerber(const std::string& path)
{
    std::string layerList;
    if (!CollectDxfRoleLayers(path, layerList))
        return 0;
    CDxfSettingsDlg settings;
    settings.m_strLayerList = layerList;
    if (settings.DoModal() != IDOK)
        return 0;
    CDxfRoles roles;
    roles.top = settings.m_strTopLayer;
    roles.bottom = settings.m_strBottomLayer;
    roles.drill = settings.m_strDrillLayer;
    roles.outline = settings.m_strOutlineLayer;
    roles.machining = settings.m_strMachiningLayer;
    roles.unit = settings.m_strUnit;

    CDocumentLists converted;
    if (!ConvertDxfRoles(path, roles, converted))
        return 0;

    // Only the roles that were given a layer make a file; each file that is
    // there already is replaced only when the operator agrees.
    struct Output {
        const std::string& layer;
        const char* extension;
        bool drill;
    } const outputs[] = {{roles.top, ".top", false},
                         {roles.bottom, ".bot", false},
                         {roles.outline, ".out", false},
                         {roles.drill, ".drl", true}};
    for (const Output& o : outputs) {
        const std::string file = DxfOutputPath(path, o.extension);
        std::error_code ec;
        if (!o.layer.empty() && std::filesystem::exists(file, ec) &&
            AfxMessageBox(WithName(IDS_FILE_OVERWRITE, file), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return 0;
    }
    for (const Output& o : outputs) {
        if (o.layer.empty())
            continue;
        const std::string file = DxfOutputPath(path, o.extension);
        if (!(o.drill ? ::WriteExcellonDrill(converted, file, o.layer)
                      : ::WriteGerberRs274x(converted, file, o.layer)))
            return 0;
    }

    m_DxfScale = static_cast<float>(DxfUnitFactor(roles.unit));
    auto fileOf = [&path](const std::string& layer, const char* extension) {
        return layer.empty() ? std::string() : DxfOutputPath(path, extension);
    };
    g_ComponentApertureFile.clear();
    g_SolderApertureFile.clear();
    g_ComponentGerberFile = fileOf(roles.top, ".top");
    g_SolderGerberFile = fileOf(roles.bottom, ".bot");
    g_RouteFile = fileOf(roles.outline, ".out");
    g_DrillFile = fileOf(roles.drill, ".drl");
    g_CadDialect = "PROTEL";

    g_MeasureDataWnd.SaveModified();
    g_RouteDataWnd.SaveModified();
    ClearAll();
    m_PanelLayout.ClearLists();
    g_RouteFormat = 0;
    g_FileAuto = 0;
    int loaded = 1;
    if (!g_DrillFile.empty() || !g_RouteFile.empty() || !g_ComponentGerberFile.empty() ||
        !g_SolderGerberFile.empty())
        loaded = LoadWorkOrder() ? 1 : 0;
    if (!roles.machining.empty())
        loaded &= ImportDxfMachiningLayer(path, roles.machining);
    CDocumentViewHooks::Run(m_ViewHooks.zoomToFit);
    return loaded;
}
