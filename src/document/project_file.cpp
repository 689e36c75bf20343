// Project files ("*.prj"): the whole job in one little-endian file, written
// at the newest version and read from every version since 18. A project is
// read whole into a CProjectContent first; the open job is replaced only
// when nothing in the file was short, negative or out of step.
#include "document/project_file.h"

#include "document/file_messages.h"
#include "document/plausible_values.h"
#include "document/velm_doc.h"
#include "geometry/board_orientation.h"
#include "import/drill_reader.h"
#include "link/link_state.h"
#include "machining/plane_data.h"
#include "platform/binary_io.h"
#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/paths.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/gerber_format_dlg.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/program_options.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "settings/vision_targets.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"
#include "ui/message_dlg.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

constexpr std::int32_t OLDEST_VERSION = 18;
// The versions have grown by one a release, from 18 to 46: a first word
// past this is not a version but some other file's bytes.
constexpr std::int32_t NEWEST_PLAUSIBLE_VERSION = 999;
constexpr std::size_t TEXT_FIELD = 100;
constexpr std::size_t LAYER_NAMES_FIELD = 200;
constexpr std::size_t DRILL_TOOL_MIN_IMAGE = 12;
constexpr std::size_t HOLE_IMAGE = 16;
constexpr std::size_t POINT_IMAGE = 8;
constexpr int WORK_ORDER_VALUES = 19;
constexpr double MIL_PER_MM = 39.37;

// The route path older projects rebuild from their route text.
constexpr float OLD_ROUTE_TOOL_MM = 1.5f;

// The view ignores the mouse while a project is written or read.
class CalculatingScope {
public:
    CalculatingScope() { g_Calculating = 1; }
    ~CalculatingScope() { g_Calculating = 0; }
    CalculatingScope(const CalculatingScope&) = delete;
    CalculatingScope& operator=(const CalculatingScope&) = delete;
};

// The work-order values of the fixed head, in file order; null marks the
// one float among them.
std::array<int*, WORK_ORDER_VALUES> WorkOrderInts()
{
    return {&g_HasComponentSide, &g_HasSolderSide,     &g_MeasureWndShown,  &g_RouteWndShown,
            &g_WorkOrderSpare1,  &g_WorkOrderSpare2,   &g_ComponentSideActive,
            &g_SolderSideActive, &g_DrillDataSet,      &g_WorkOrderSpare3,  &g_ProjectLoadedFlag,
            &g_ApertureLoaded,   &g_ApertureFormat,    &g_WorkOrderP7,      nullptr,
            &g_CurrentSide,      &g_RouteFormat,       &g_DataOriginX,      &g_DataOriginY};
}

// The seven stored paths and the dialect after the project's own path.
std::array<std::string*, 7> WorkOrderTexts()
{
    return {&g_SolderGerberFile,  &g_ComponentGerberFile, &g_ComponentApertureFile,
            &g_SolderApertureFile, &g_DrillFile,          &g_RouteFile,
            &g_CadDialect};
}

std::array<int*, 10> NumberFormats()
{
    return {&g_DrillFormatDlg.dAbsRel,  &g_DrillFormatDlg.dUnitInt, &g_DrillFormatDlg.dZeroSup,
            &g_DrillFormatDlg.dUnitDec, &g_DrillFormatDlg.dInchMM,  &g_GerberFormatDlg.AbsRel,
            &g_GerberFormatDlg.UnitInt, &g_GerberFormatDlg.ZeroSup, &g_GerberFormatDlg.UnitDec,
            &g_GerberFormatDlg.InchMM};
}

std::array<int*, 5> LayerVisibility()
{
    return {&g_ShowLayerT1Iso, &g_ShowLayerT2Iso, &g_ShowLayerT1Mil, &g_ShowLayerT2Mil,
            &g_ShowLayerT3Mil};
}

std::array<float*, 8> MachineValues()
{
    return {&g_RapidSpeed, &g_EngraveSpeed, &g_RouteSpeed, &g_DrillDepth,
            &g_EngraveDepth, &g_RouteDepth, &g_PlungeSpeed, &g_LiftSpeed};
}

// The cutters' widths and values, of a document to write or to fill.
template <class Lists>
auto Cutters(Lists& doc)
{
    return std::array{&doc.m_ToolWidth1, &doc.m_ToolWidth2, &doc.m_ToolWidth3,
                      &doc.m_ToolValue1, &doc.m_ToolValue2, &doc.m_ToolValue3};
}

// Everything a project holds, read before any of it is used.
struct CProjectContent {
    std::int32_t version = 0;
    CExtent dataExtent;
    std::array<std::int32_t, 4> board{};
    std::array<std::string, 7> texts;
    std::array<std::uint32_t, WORK_ORDER_VALUES> workOrder{};  // raw, the float as its bits
    COwnedList<CApertureRecord> apertures;
    COwnedList<POINT> outline;
    COwnedList<CLayoutBlock> blocks;
    std::vector<std::uint8_t> drillText, routeText, topSide, bottomSide, holeText, planeData;
    std::array<float, DRILL_TOOL_SIZES> toolSizes{};
    std::int32_t workDataLoaded = 0;
    std::uint8_t workStage = 1;
    std::uint8_t layoutDone = 0;
    std::int32_t gridStep = 4;
    COwnedList<CPathRecord> pathLayers;
    std::array<float, 6> cutters{};
    std::array<std::int32_t, 10> formats{};
    std::string layerNames;
    std::array<std::int32_t, 5> visibility{};
    COwnedList<CDrillTool> tools;
    std::unique_ptr<CNamedLayer> route;
    std::array<float, 8> machine{};
};

template <class Record, class ReadOne>
bool ReadList(CBinaryReader& in, std::size_t minImage, COwnedList<Record>& list, ReadOne readOne)
{
    std::int32_t count = 0;
    if (!ReadCount(in, minImage, count))
        return false;
    for (std::int32_t i = 0; i < count; ++i) {
        auto record = std::make_unique<Record>();
        if (!readOne(*record))
            return false;
        list.push_back(std::move(record));
    }
    return true;
}

template <class Record>
bool ReadImages(CBinaryReader& in, COwnedList<Record>& list)
{
    return ReadList(in, Record::kImageSize, list, [&](Record& r) { return r.ReadImage(in); });
}

void WriteRouteBlock(const CNamedLayer* layer, CBinaryWriter& out)
{
    out.FixedText(layer ? layer->name : std::string(), CNamedLayer::kNameField);
    out.I32(layer ? static_cast<std::int32_t>(layer->flashes.size()) : 0);
    if (layer)
        for (const auto& flash : layer->flashes)
            flash->WriteImage(out);
    out.I32(layer ? static_cast<std::int32_t>(layer->tracks.size()) : 0);
    if (layer)
        for (const auto& track : layer->tracks)
            track->WriteImage(out);
}

bool ReadRouteBlock(CNamedLayer& layer, CBinaryReader& in)
{
    return in.FixedText(layer.name, CNamedLayer::kNameField) && ReadImages(in, layer.flashes) &&
           ReadImages(in, layer.tracks);
}

bool WriteWindowFile(CEditWnd& wnd, const std::string& name)
{
    const std::string text = wnd.FileText();
    return WriteWorkingFile(JoinPath(g_SystemDir, name), text.data(), text.size());
}

// Puts the embedded text file `name` into the window, as a hidden window
// with its caption: a changed text there is offered for saving first.
void LoadWindowFile(CEditWnd& wnd, unsigned captionId, const std::string& name)
{
    wnd.SaveModified();
    wnd.CreateOnce(LoadResString(captionId));
    CLineEdit& edit = wnd.Edit();
    edit.ClearAll();
    CTextLineReader reader;
    if (reader.Open(JoinPath(g_SystemDir, name))) {
        // Whole lines: a long line of a drill or route text must stay one line.
        std::string line;
        while (reader.ReadLine(line))
            edit.WriteLine(line);
    }
    edit.SetLineCursor(0);
    edit.SetModify(false);
    wnd.ShowWindow(false);
}

// The route path of projects older than 36, made from the route text: lines
// and arcs of the route window's motion blocks on the layer ROUTE1.5. The
// first motion block only sets the start point.
void RebuildRoutePath(CVelmDoc& doc)
{
    auto& layers = doc.m_PathLayerList;
    layers.erase(std::remove_if(layers.begin(), layers.end(),
                                [](const auto& layer) { return layer->side == 5; }),
                 layers.end());
    char name[32];
    std::snprintf(name, sizeof name, "ROUTE%g", static_cast<double>(OLD_ROUTE_TOOL_MM));
    CPathRecord* layer = doc.GetToolPathLayer(name);
    if (!layer)
        return;
    layer->size = static_cast<float>(OLD_ROUTE_TOOL_MM * MIL_PER_MM);
    layer->depth = 0.0f;
    layer->side = 5;

    g_DrillReader.Attach(&g_RouteDataWnd);
    g_DrillReader.ReadHeader();
    bool started = false;
    CDPoint previous(0.0, 0.0);
    for (int code = g_DrillReader.ReadNextBlock(); code != DRILL_END;
         code = g_DrillReader.ReadNextBlock()) {
        if (code != DRILL_POSITION)
            continue;
        const CDPoint point(g_DrillReader.m_OutX, g_DrillReader.m_OutY);
        const int mode = g_DrillReader.m_Code;
        if (started && mode >= 1 && mode <= 3) {
            auto segment = std::make_unique<CPathSegment>();
            segment->x1 = previous.x;
            segment->y1 = previous.y;
            segment->x2 = point.x;
            segment->y2 = point.y;
            if (mode != 1) {
                segment->type = mode - 1;
                segment->cx = previous.x + g_DrillReader.m_I;
                segment->cy = previous.y + g_DrillReader.m_J;
                segment->radius = std::hypot(g_DrillReader.m_I, g_DrillReader.m_J);
            }
            layer->items.push_back(std::move(segment));
        }
        previous = point;
        started = true;
    }
}

// The text fields too long for their place in the file, by name.
std::string OverlongFields(const std::string& path, const std::string& layerNames)
{
    std::string list;
    auto check = [&](const std::string& text, std::size_t field, const char* what) {
        if (text.size() >= field)
            list += std::string(list.empty() ? "" : ", ") + what;
    };
    check(path, TEXT_FIELD, "project path");
    const char* names[] = {"solder Gerber", "component Gerber", "component aperture",
                           "solder aperture", "drill", "route", "CAD dialect"};
    auto texts = WorkOrderTexts();
    for (std::size_t i = 0; i < texts.size(); ++i)
        check(*texts[i], TEXT_FIELD, names[i]);
    check(layerNames, LAYER_NAMES_FIELD, "layer names");
    return list;
}

// The blocks of a project file, in file order. Each is written from the
// open job, read into a CProjectContent (false when it is short or corrupt)
// and taken from there into the job once the whole file has been read.

// The head: the data and board extents, the project's own path, the work
// order's paths and its values.
void WriteHead(const CExtent& dataExtent, const std::string& path, CBinaryWriter& out)
{
    for (std::int32_t v : {dataExtent.minX, dataExtent.minY, dataExtent.maxX, dataExtent.maxY,
                           g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY})
        out.I32(v);
    out.FixedText(path, TEXT_FIELD);
    for (const std::string* text : WorkOrderTexts())
        out.FixedText(*text, TEXT_FIELD);
    for (const int* value : WorkOrderInts()) {
        if (value)
            out.I32(*value);
        else
            out.F32(g_GerberUnitFactor);
    }
}

bool ReadHead(CBinaryReader& in, CProjectContent& c)
{
    std::int32_t* extent[] = {&c.dataExtent.minX, &c.dataExtent.minY, &c.dataExtent.maxX,
                              &c.dataExtent.maxY};
    for (std::int32_t* v : extent)
        in.I32(*v);
    for (std::int32_t& v : c.board)
        in.I32(v);
    std::string storedPath;
    in.FixedText(storedPath, TEXT_FIELD);
    for (std::string& text : c.texts)
        in.FixedText(text, TEXT_FIELD);
    for (std::uint32_t& v : c.workOrder)
        in.U32(v);
    return in.Ok();
}

// The work order is stored for the next start too. The project is known by
// the path it was opened from, not the one stored in it.
void TakeHead(CVelmDoc& doc, const CProjectContent& c, const std::string& path)
{
    doc.m_DataExtent = c.dataExtent;
    g_BoardMinX = c.board[0];
    g_BoardMinY = c.board[1];
    g_BoardMaxX = c.board[2];
    g_BoardMaxY = c.board[3];
    g_ProjectFileName = path;
    auto texts = WorkOrderTexts();
    for (std::size_t i = 0; i < texts.size(); ++i)
        *texts[i] = c.texts[i];
    auto values = WorkOrderInts();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values[i])
            *values[i] = static_cast<std::int32_t>(c.workOrder[i]);
        else
            std::memcpy(&g_GerberUnitFactor, &c.workOrder[i], sizeof(float));
    }
    SaveProgramOptions();
}

// The aperture table.
void WriteApertures(const COwnedList<CApertureRecord>& apertures, CBinaryWriter& out)
{
    out.I32(static_cast<std::int32_t>(apertures.size()));
    for (const auto& aperture : apertures)
        WriteApertureImage72(*aperture, out);
}

bool ReadApertures(CBinaryReader& in, CProjectContent& c)
{
    return ReadList(in, APERTURE_IMAGE72_SIZE, c.apertures,
                    [&](CApertureRecord& a) { return ReadApertureImage72(a, in); });
}

// The panel: its outline, then its copies, which link to the outline.
void WritePanel(const CPanelLayout& panel, CBinaryWriter& out)
{
    out.I32(static_cast<std::int32_t>(panel.m_OutlinePoints.size()));
    for (const auto& point : panel.m_OutlinePoints) {
        out.I32(point->x);
        out.I32(point->y);
    }
    out.I32(static_cast<std::int32_t>(panel.m_BlockList.size()));
    for (const auto& block : panel.m_BlockList)
        WriteRecord72(*block, out);
}

bool ReadPanel(CBinaryReader& in, CProjectContent& c)
{
    if (!ReadList(in, POINT_IMAGE, c.outline, [&](POINT& p) { return in.I32(p.x) && in.I32(p.y); }))
        return false;
    const bool newBlocks = c.version >= 43;
    return ReadList(in, newBlocks ? LAYOUT_BLOCK_IMAGE : OLD_LAYOUT_BLOCK_IMAGE, c.blocks,
                    [&](CLayoutBlock& b) {
                        return newBlocks ? ReadRecord72(b, in) : ReadOldRecord52(b, in);
                    });
}

void TakePanel(CPanelLayout& panel, CProjectContent& c)
{
    panel.m_OutlinePoints = std::move(c.outline);
    panel.m_BlockList = std::move(c.blocks);
    for (auto& block : panel.m_BlockList)
        block->m_Outline = &panel.m_OutlinePoints;
}

// The drill text and the tool sizes, last size first. False when the drill
// text cannot be read; the block is written all the same.
bool WriteDrills(CBinaryWriter& out)
{
    const bool embedded = AppendFileToStream("drill.tmp", out);
    for (int i = DRILL_TOOL_SIZES - 1; i >= 0; --i)
        out.F32(g_ToolSizes[static_cast<std::size_t>(i)]);
    return embedded;
}

bool ReadDrills(CBinaryReader& in, CProjectContent& c)
{
    if (!ReadEmbeddedFile(in, c.drillText))
        return false;
    for (int i = DRILL_TOOL_SIZES - 1; i >= 0; --i)
        in.F32(c.toolSizes[static_cast<std::size_t>(i)]);
    return in.Ok();
}

void TakeDrills(CVelmDoc& doc, const CProjectContent& c)
{
    CopyEmbeddedFile("drill.tmp", c.drillText);
    LoadWindowFile(g_MeasureDataWnd, IDS_MEASURE_WND, "drill.tmp");
    g_ToolSizes = c.toolSizes;
    // From version 36 the tools travel in their own block; older projects
    // have only the drill text to take them from.
    // An empty drill text is a job without holes, not a file to complain of.
    if (c.version < 36) {
        if (c.drillText.empty()) {
            g_HoleList.clear();
            g_DrillDataSet = 1;
        } else {
            doc.LoadDrillFile(JoinPath(g_SystemDir, "drill.tmp"));
        }
    }
}

// The route text.
bool WriteRouteText(CBinaryWriter& out) { return AppendFileToStream("route.tmp", out); }

bool ReadRouteText(CBinaryReader& in, CProjectContent& c)
{
    return ReadEmbeddedFile(in, c.routeText);
}

void TakeRouteText(const CProjectContent& c)
{
    CopyEmbeddedFile("route.tmp", c.routeText);
    LoadWindowFile(g_RouteDataWnd, IDS_ROUTE_WND, "route.tmp");
}

// Where the work stands: data loaded, the work stage, the layout done (its
// low byte) and the grid step.
void WriteStage(const CBoardModel& model, CBinaryWriter& out)
{
    out.I32(model.m_WorkDataLoaded);
    out.U8(model.m_WorkStage);
    out.U8(static_cast<std::uint8_t>(model.m_LayoutDone & 0xFF));
    out.I32(model.m_GridStep);
}

bool ReadStage(CBinaryReader& in, CProjectContent& c)
{
    in.I32(c.workDataLoaded);
    in.U8(c.workStage);
    in.U8(c.layoutDone);
    in.I32(c.gridStep);
    return in.Ok();
}

void TakeStage(CBoardModel& model, const CProjectContent& c)
{
    model.m_WorkDataLoaded = c.workDataLoaded;
    model.m_WorkStage = c.workStage;
    model.m_LayoutDone = c.layoutDone;
    model.m_GridStep = c.gridStep;
}

// The two side files, component side first. They make most of a project:
// each is copied in from its file when the project is written, after the
// bytes `out` holds so far.
void WriteSides(CMessageDlg& notice, CBinaryWriter& out, std::vector<CFilePiece>& pieces)
{
    for (const char* name : {"top.tmp", "bot.tmp"}) {
        notice.ShowId(name[0] == 't' ? IDS_SAVING_TOP : IDS_SAVING_BOTTOM);
        const std::string path = JoinPath(g_SystemDir, name);
        std::error_code error;
        std::uint64_t size = 0;
        if (std::filesystem::exists(path, error))
            size = std::filesystem::file_size(path, error);
        out.I32(static_cast<std::int32_t>(error ? 0 : size));
        if (error || size == 0)
            continue;
        pieces.push_back({std::move(out.Data()), {}, 0});
        out = CBinaryWriter();
        pieces.push_back({{}, path, size});
    }
}

bool ReadSides(CBinaryReader& in, CProjectContent& c)
{
    // A side that does not read whole would only show as lost copper later,
    // under the temporary file's name: the project is refused now instead.
    return ReadEmbeddedFile(in, c.topSide) && ReadEmbeddedFile(in, c.bottomSide) &&
           IsSideFileImage(c.topSide) && IsSideFileImage(c.bottomSide);
}

void TakeSides(const CProjectContent& c)
{
    CopyEmbeddedFile("top.tmp", c.topSide);
    CopyEmbeddedFile("bot.tmp", c.bottomSide);
}

// The tool-path layers and the cutters.
void WritePaths(const CDocumentLists& lists, CBinaryWriter& out)
{
    WritePathLayers(lists.m_PathLayerList, out);
    for (const float* v : Cutters(lists))
        out.F32(*v);
}

bool ReadPaths(CBinaryReader& in, CProjectContent& c)
{
    if (!ReadList(in, PATH_LAYER_MIN_IMAGE, c.pathLayers,
                  [&](CPathRecord& layer) { return ReadPathLayer(layer, in); }))
        return false;
    for (float& v : c.cutters)
        in.F32(v);
    return in.Ok();
}

void TakePaths(CDocumentLists& lists, CProjectContent& c)
{
    lists.m_PathLayerList = std::move(c.pathLayers);
    auto cutters = Cutters(lists);
    for (std::size_t i = 0; i < cutters.size(); ++i)
        *cutters[i] = c.cutters[i];
}

// The setup: number formats, the registration-hole text, the plane data and
// the layer names. The plane data are written to a file of their own first.
bool WriteSetup(const std::string& layerNames, CBinaryWriter& out)
{
    for (const int* v : NumberFormats())
        out.I32(*v);
    bool embedded = AppendFileToStream("pdrill.tmp", out);
    embedded = g_PlaneDetectDlg.SavePlaneData(JoinPath(g_SystemDir, "temp.pos")) && embedded;
    embedded = AppendFileToStream("temp.pos", out) && embedded;
    out.FixedText(layerNames, LAYER_NAMES_FIELD);
    return embedded;
}

bool ReadSetup(CBinaryReader& in, CProjectContent& c)
{
    for (std::int32_t& v : c.formats)
        in.I32(v);
    if (!ReadEmbeddedFile(in, c.holeText) || !ReadEmbeddedFile(in, c.planeData))
        return false;
    return in.FixedText(c.layerNames, LAYER_NAMES_FIELD);
}

void TakeSetup(CDocumentLists& lists, const CProjectContent& c)
{
    auto formats = NumberFormats();
    for (std::size_t i = 0; i < formats.size(); ++i)
        *formats[i] = c.formats[i];
    CopyEmbeddedFile("pdrill.tmp", c.holeText);
    LoadWindowFile(g_HoleDataWnd, IDS_HOLE_WND, "pdrill.tmp");
    // A project without plane data (an empty block) has no surface to load.
    if (!c.planeData.empty() && CopyEmbeddedFile("temp1.pos", c.planeData)) {
        g_PlaneDetectDlg.CreateModeless();
        g_PlaneDetectDlg.LoadPlaneData(JoinPath(g_SystemDir, "temp1.pos"));
        g_PlaneDetectDlg.m_AreaRect = g_LayoutExtent;
    }
    lists.m_LayerName = c.layerNames;
}

// Which path layers show.
void WriteVisibility(CBinaryWriter& out)
{
    for (const int* v : LayerVisibility())
        out.I32(*v);
}

bool ReadVisibility(CBinaryReader& in, CProjectContent& c)
{
    for (std::int32_t& v : c.visibility)
        in.I32(v);
    return in.Ok();
}

void TakeVisibility(const CProjectContent& c)
{
    auto flags = LayerVisibility();
    for (std::size_t i = 0; i < flags.size(); ++i)
        *flags[i] = c.visibility[i];
}

// The drill tools with their holes and modes, and the "route" layer (an
// empty one when the job has none).
void WriteTools(const CNamedLayer* route, CBinaryWriter& out)
{
    out.I32(static_cast<std::int32_t>(g_HoleList.size()));
    for (const auto& tool : g_HoleList) {
        WriteDrillTool(*tool, out);
        out.I32(tool->mode);
    }
    WriteRouteBlock(route, out);
}

bool ReadTools(CBinaryReader& in, CProjectContent& c)
{
    const bool hasMode = c.version >= 44;
    if (!ReadList(in, DRILL_TOOL_MIN_IMAGE + (hasMode ? 4 : 0), c.tools, [&](CDrillTool& tool) {
            tool.mode = 1;
            return ReadDrillTool(tool, in) && (!hasMode || in.I32(tool.mode));
        }))
        return false;
    c.route = std::make_unique<CNamedLayer>();
    return ReadRouteBlock(*c.route, in);
}

void TakeTools(CDocumentLists& lists, CProjectContent& c)
{
    g_HoleList = std::move(c.tools);
    lists.m_NamedLayerList.push_back(std::move(c.route));
}

// The machine's speeds and depths.
void WriteMachineValues(CBinaryWriter& out)
{
    for (const float* v : MachineValues())
        out.F32(*v);
}

bool ReadMachineValues(CBinaryReader& in, CProjectContent& c)
{
    for (float& v : c.machine)
        in.F32(v);
    return in.Ok();
}

void TakeMachineValues(const CProjectContent& c)
{
    auto machine = MachineValues();
    for (std::size_t i = 0; i < machine.size(); ++i)
        *machine[i] = c.machine[i];
}

// Reads a project file whole; when it cannot, says why in words.
bool ReadProjectBytes(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& reason)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        reason = "there is no such file";
        return false;
    }
    if (status.type() == std::filesystem::file_type::directory) {
        reason = "it is a folder, not a file";
        return false;
    }
    if (ReadWholeFile(path, bytes))
        return true;
    reason = errno == EACCES ? "there is no permission to read it"
                             : std::string("it cannot be read (") + std::strerror(errno) + ")";
    return false;
}

// A file's format has no check sum, but a damaged byte often leaves a value
// the program never writes: a flag that is neither 0 nor 1, a number format
// out of its range, a coordinate past any board, a length that is not a
// number, a control byte in a path. Such a project is refused, not loaded
// as some other board.
bool InRange(double v, double low, double high) { return v >= low && v <= high; }

bool PlainText(const std::string& text)
{
    return std::none_of(text.begin(), text.end(), [](char ch) {
        const unsigned char c = static_cast<unsigned char>(ch);
        return c < 0x20 || c == 0x7F;
    });
}

bool PlausibleHead(const CProjectContent& c)
{
    const CExtent& e = c.dataExtent;
    for (std::int32_t v : {e.minX, e.minY, e.maxX, e.maxY, c.board[0], c.board[1], c.board[2], c.board[3]})
        if (!PlausiblePosition(v))
            return false;
    if (!std::all_of(c.texts.begin(), c.texts.end(), PlainText))
        return false;
    auto value = [&](std::size_t i) { return static_cast<std::int32_t>(c.workOrder[i]); };
    // The sides, the windows shown, the sides active, drill data set,
    // project loaded, apertures loaded: flags.
    for (std::size_t i : {0, 1, 2, 3, 6, 7, 8, 10, 11})
        if (!PlausibleFlag(value(i)))
            return false;
    float unitFactor = 0.0f;
    std::memcpy(&unitFactor, &c.workOrder[14], sizeof unitFactor);
    return InRange(unitFactor, 0.0, 1e6) && InRange(value(15), 0, 2) && InRange(value(16), 0, 2) &&
           PlausiblePosition(value(17)) && PlausiblePosition(value(18));
}

bool PlausibleContent(const CProjectContent& c)
{
    if (!PlausibleHead(c))
        return false;
    for (const auto& a : c.apertures)
        if (!PlausibleSize(a->width) || !PlausibleSize(a->height))
            return false;
    for (const auto& p : c.outline)
        if (!PlausiblePosition(p->x) || !PlausiblePosition(p->y))
            return false;
    for (const auto& b : c.blocks)
        if (!PlausiblePosition(b->m_Centre.x) || !PlausiblePosition(b->m_Centre.y) ||
            !PlausiblePosition(b->m_RefCentre.x) || !PlausiblePosition(b->m_RefCentre.y))
            return false;
    if (!std::all_of(c.toolSizes.begin(), c.toolSizes.end(),
                     [](float v) { return PlausibleSize(v); }) ||
        !std::all_of(c.cutters.begin(), c.cutters.end(), [](float v) { return std::isfinite(v); }) ||
        !std::all_of(c.machine.begin(), c.machine.end(), [](float v) { return std::isfinite(v); }))
        return false;
    if (!PlausibleFlag(c.layoutDone) || !InRange(c.workStage, 0, 16))
        return false;
    if (c.version >= 34) {
        // Absolute or relative, whole and fraction digits, zero suppression
        // and unit of the drill and the Gerber format.
        const auto& f = c.formats;
        for (std::size_t at : {0, 5})
            if (!InRange(f[at], 0, 2) || !InRange(f[at + 1], 0, 9) || !InRange(f[at + 2], 0, 2) ||
                !InRange(f[at + 3], 0, 9) || !InRange(f[at + 4], 0, 2))
                return false;
    }
    if (c.version >= 35 && !std::all_of(c.visibility.begin(), c.visibility.end(), PlausibleFlag))
        return false;
    for (const auto& tool : c.tools) {
        if (!PlausibleSize(tool->diameter))
            return false;
        for (const auto& hole : tool->holes)
            if (!PlausiblePosition(hole->x) || !PlausiblePosition(hole->y))
                return false;
    }
    return true;
}

// Every block after the version, each from the version that brought it.
bool ReadProject(CBinaryReader& in, CProjectContent& c)
{
    if (!ReadHead(in, c) || !ReadApertures(in, c) || !ReadPanel(in, c) || !ReadDrills(in, c) ||
        !ReadRouteText(in, c) || !ReadStage(in, c) || !ReadSides(in, c) || !ReadPaths(in, c))
        return false;
    if (c.version >= 34 && !ReadSetup(in, c))
        return false;
    if (c.version >= 35 && !ReadVisibility(in, c))
        return false;
    if (c.version >= 36 && !ReadTools(in, c))
        return false;
    if (c.version >= 46 && !ReadMachineValues(in, c))
        return false;
    return in.Ok() && PlausibleContent(c);
}

}  // namespace

bool AppendFileToStream(const std::string& name, CBinaryWriter& out)
{
    const std::string path = JoinPath(g_SystemDir, name);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        out.I32(0);
        return true;
    }
    // Read straight behind its length, which is filled in once known.
    const std::size_t at = out.Size();
    out.I32(0);
    if (!AppendWholeFile(path, out.Data())) {
        out.Data().resize(at);
        return false;
    }
    const std::size_t length = out.Size() - at - 4;
    for (int i = 0; i < 4; ++i)
        out.Data()[at + std::size_t(i)] = static_cast<std::uint8_t>(length >> (8 * i));
    return true;
}

bool ReadEmbeddedFile(CBinaryReader& in, std::vector<std::uint8_t>& bytes)
{
    std::int32_t length = 0;
    return ReadCount(in, 1, length) && in.Bytes(bytes, static_cast<std::size_t>(length));
}

bool CopyEmbeddedFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    if (WriteWorkingFile(JoinPath(g_SystemDir, name), bytes))
        return true;
    AfxMessageBox(LoadResString(IDS_SAVE_FAILED), MB_OK);
    return false;
}

void WriteDrillTool(const CDrillTool& tool, CBinaryWriter& out)
{
    out.I32(static_cast<std::int32_t>(tool.holes.size()));
    for (const auto& hole : tool.holes) {
        out.F64(hole->x);
        out.F64(hole->y);
    }
    out.F32(tool.diameter);
    out.I32(tool.toolNumber);
}

bool ReadDrillTool(CDrillTool& tool, CBinaryReader& in)
{
    if (!ReadList(in, HOLE_IMAGE, tool.holes, [&](CDPoint& p) { return in.F64(p.x) && in.F64(p.y); }))
        return false;
    in.F32(tool.diameter);
    return in.I32(tool.toolNumber);
}

void WriteRecord72(const CLayoutBlock& block, CBinaryWriter& out)
{
    out.U32(block.m_Swap);
    out.U32(0);  // the outline link, meaningless outside memory
    out.F64(block.m_Centre.x);
    out.F64(block.m_Centre.y);
    out.F64(block.m_RefCentre.x);
    out.F64(block.m_RefCentre.y);
    out.I32(block.m_Extent.left);
    out.I32(block.m_Extent.top);
    out.I32(block.m_Extent.right);
    out.I32(block.m_Extent.bottom);
    out.I32(block.m_Sign.x);
    out.I32(block.m_Sign.y);
    out.U32(block.m_Selected);
    out.Zeros(4);
}

bool ReadRecord72(CLayoutBlock& block, CBinaryReader& in)
{
    in.U32(block.m_Swap);
    in.Skip(4);
    in.F64(block.m_Centre.x);
    in.F64(block.m_Centre.y);
    in.F64(block.m_RefCentre.x);
    in.F64(block.m_RefCentre.y);
    in.I32(block.m_Extent.left);
    in.I32(block.m_Extent.top);
    in.I32(block.m_Extent.right);
    in.I32(block.m_Extent.bottom);
    in.I32(block.m_Sign.x);
    in.I32(block.m_Sign.y);
    in.U32(block.m_Selected);
    return in.Skip(4);
}

bool ReadOldRecord52(CLayoutBlock& block, CBinaryReader& in)
{
    std::int32_t swap = 0, selected = 0;
    std::int32_t centre[4] = {};
    in.I32(swap);
    in.Skip(4);
    for (std::int32_t& v : centre)
        in.I32(v);
    in.I32(block.m_Extent.left);
    in.I32(block.m_Extent.top);
    in.I32(block.m_Extent.right);
    in.I32(block.m_Extent.bottom);
    in.I32(block.m_Sign.x);
    in.I32(block.m_Sign.y);
    in.I32(selected);
    block.m_Swap = static_cast<std::uint32_t>(swap);
    block.m_Centre = CDPoint(centre[0], centre[1]);
    block.m_RefCentre = CDPoint(centre[2], centre[3]);
    block.m_Selected = static_cast<std::uint32_t>(selected);
    return in.Ok();
}

int CVelmDoc::SaveProject(const std::string& name)
{
    // A bare name ("temp.prj" of a running job) belongs in the system
    // directory, wherever the current directory happens to be.
    const std::string path = !name.empty() && name[0] == '/' ? name : JoinPath(g_SystemDir, name);
    CMessageDlg notice;
    auto fail = [&](const std::string& reason) {
        notice.DestroyWindow();
        g_StatusText = LoadResString(IDS_FILE_WRITE_ERROR);
        AfxMessageBox(reason, MB_OK | MB_ICONSTOP);
        return 0;
    };
    const std::string writeError = LoadResString(IDS_FILE_WRITE_ERROR);
    // Someone made the file read-only to keep it: it is not replaced
    // behind their back, and the operator hears why before anything is
    // written.
    if (IsReadOnlyFile(path))
        return fail(WithName(IDS_PROJECT_READ_ONLY, path));

    notice.ShowId(IDS_SAVING_DRILL);
    if (!WriteWindowFile(g_MeasureDataWnd, "drill.tmp") ||
        !WriteWindowFile(g_HoleDataWnd, "pdrill.tmp"))
        return fail(writeError);
    notice.ShowId(IDS_SAVING_ROUTE);
    if (!WriteWindowFile(g_RouteDataWnd, "route.tmp"))
        return fail(writeError);
    notice.ShowId(IDS_SAVING_JOB);
    if (!SaveTempFile(g_CurrentSide == 0 ? "top.tmp" : "bot.tmp")) {
        notice.DestroyWindow();
        return 0;
    }

    CalculatingScope calculating;
    CWaitCursor wait;
    const std::string overlong = OverlongFields(path, m_LayerName);
    g_ProjectFileName = path;

    CBinaryWriter out;
    std::vector<CFilePiece> pieces;
    out.I32(PROJECT_VERSION);
    WriteHead(m_DataExtent, path, out);
    WriteApertures(m_ApertureList, out);
    WritePanel(m_PanelLayout, out);
    bool embedded = WriteDrills(out);
    embedded = WriteRouteText(out) && embedded;
    WriteStage(*this, out);
    WriteSides(notice, out, pieces);
    WritePaths(*this, out);
    embedded = WriteSetup(m_LayerName, out) && embedded;
    WriteVisibility(out);
    WriteTools(FindNamedLayer("route"), out);
    WriteMachineValues(out);

    std::string error;
    if (!embedded)
        return fail(writeError);
    pieces.push_back({std::move(out.Data()), {}, 0});
    if (!WriteFileAtomically(path, pieces, &error))
        return fail(writeError + "\n" + path + (error.empty() ? "" : ": " + error));
    notice.DestroyWindow();
    if (!overlong.empty())
        AfxMessageBox(WithName(IDS_FIELDS_CUT, overlong), MB_OK | MB_ICONWARNING);
    return 1;
}

int CVelmDoc::LoadProject(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (std::string reason; !ReadProjectBytes(path, bytes, reason)) {
        AfxMessageBox("Can't open project file !\n" + PrintableText(path) + ": " + reason, MB_OK);
        return 0;
    }
    CBinaryReader in(bytes);
    CProjectContent content;
    // A version far past any made is no project at all, not a newer one.
    if (!in.I32(content.version) || content.version < OLDEST_VERSION ||
        content.version > NEWEST_PLAUSIBLE_VERSION) {
        AfxMessageBox(WithName(IDS_NOT_A_PROJECT, path), MB_OK);
        return 0;
    }
    if (content.version > PROJECT_VERSION) {
        char version[16];
        std::snprintf(version, sizeof version, "%d", content.version);
        std::string message = WithName(IDS_PROJECT_TOO_NEW, path);
        std::size_t at = message.find("%d");
        if (at != std::string::npos)
            message.replace(at, 2, version);
        AfxMessageBox(message, MB_OK);
        return 0;
    }

    CMessageDlg notice;
    notice.ShowId(IDS_READING_FILE);
    CalculatingScope calculating;
    CWaitCursor wait;
    if (!ReadProject(in, content)) {
        notice.DestroyWindow();
        AfxMessageBox(WithName(IDS_PROJECT_DAMAGED, path), MB_OK);
        return 0;
    }

    // The whole file is in memory: from here on the open job is replaced.
    ClearAll();
    m_PanelLayout.ClearLists();
    TakeHead(*this, content, path);
    m_ApertureList = std::move(content.apertures);
    TakePanel(m_PanelLayout, content);
    TakeDrills(*this, content);
    TakeRouteText(content);
    TakeStage(*this, content);
    TakeSides(content);
    TakePaths(*this, content);
    if (content.version >= 34)
        TakeSetup(*this, content);
    if (content.version >= 35)
        TakeVisibility(content);
    if (content.version <= 35)
        RebuildRoutePath(*this);
    if (content.version >= 36)
        TakeTools(*this, content);
    else
        m_NamedLayerList.push_back(std::make_unique<CNamedLayer>());
    if (content.version >= 46)
        TakeMachineValues(content);

    g_ProjectLoadedFlag = 1;
    for (const char* range : {"MILL_TO", "MILL_FROM", "OUTLINE_TO", "OUTLINE_FROM"})
        RegSetLongValue(range, 0);
    ClearVisionData();
    notice.DestroyWindow();
    return 1;
}

void CVelmDoc::OnFileOpenProject()
{
    if (g_JobCode != 0)
        return;
    SetCurrentDirectory(g_SystemDir);
    if (!LoadSettings())
        return;
    std::vector<std::string> chosen;
    if (!Host().GetOpenFileName("Project File|*.prj|All File|*.*|", "*.prj", false, chosen) ||
        chosen.empty()) {
        g_StatusText = LoadResString(IDS_READ_FAILED);
        return;
    }
    SetCurrentDirectory(g_SystemDir);
    if (!LoadProject(chosen.front()))
        return;
    // The caption names the project now, not the job it was made from.
    SetTitle(chosen.front());
    if (g_CurrentSide == 0) {
        LoadTempFile("top.tmp");
        g_CopperColor = COMPONENT_COPPER_COLOR;
    } else if (g_CurrentSide == 1) {
        LoadTempFile("bot.tmp");
        g_CopperColor = SOLDER_COPPER_COLOR;
    }
    CDocumentViewHooks::Run(m_ViewHooks.zoomToFit);
    m_DataChanged = 1;
}

void CVelmDoc::OnFileSave()
{
    if (g_JobCode != 0)
        return;
    std::string path;
    if (!Host().GetSaveFileName("Project|*.prj|All File|*.*|", ProjectChooserStart(), path)) {
        g_StatusText = LoadResString(IDS_SAVE_FAILED);
        return;
    }
    SetCurrentDirectory(g_SystemDir);
    const std::string project = WithDefaultExtension(path, ".prj");
    if (SaveProject(project))
        SetTitle(project);
}
