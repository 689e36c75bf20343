// File/New: a work order (two copper sides with their aperture files, a drill
// file, a route file) turned into the document's data. Each copper side is
// read on its own and parked in its side file ("bot.tmp" solder, "top.tmp"
// component); with automatic file handling the component side is shifted
// onto the solder side by a pad both share, and all data start near (0, 0).
#include "document/job_loader.h"

#include "records/board_extent.h"
#include "records/board_records.h"
#include "platform/program_state.h"
#include "document/velm_doc.h"
#include "geometry/small_utils.h"
#include "geometry/plane_geometry.h"
#include "import/gerber_blocks.h"
#include "settings/work_order_dlg.h"
#include "link/link_state.h"
#include "settings/vision_targets.h"
#include "platform/binary_io.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/resources.h"
#include "settings/machine_settings.h"
#include "settings/program_options.h"
#include "settings/system_settings_dlg.h"
#include "ui/edit_wnd.h"
#include "ui/message_dlg.h"
#include "settings/layer_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

namespace {

constexpr unsigned IDS_READING_GERBER = 61547;
constexpr unsigned IDS_ALIGNING_SIDES = 61548;
constexpr unsigned IDS_READING_DRILLS = 61549;
constexpr unsigned IDS_ALIGNING_DRILLS = 61550;
constexpr unsigned IDS_DRILLS_NOT_ALIGNED = 61551;
constexpr unsigned IDS_READING_ROUTE = 61552;
constexpr unsigned IDS_CALCULATING_BATCH = 61562;

const char* const kComponentSideFile = "top.tmp";
const char* const kSolderSideFile = "bot.tmp";

// The round flash nearest `corner`, strictly nearer than `best` (which it
// lowers); with `radius` not 0 only flashes of exactly that radius count.
// False when none qualified, leaving the outputs alone.
bool NearestRoundFlash(const COwnedList<CFlashRecord>& flashes, const CDPoint& corner,
                       double best, float radius, CDPoint& point, float& size)
{
    bool found = false;
    for (const auto& flash : flashes) {
        if (flash->type != 0 || (radius != 0.0f && flash->radius != radius))
            continue;
        const double d = DistanceFD(flash->x, flash->y, corner.x, corner.y);
        if (d < best) {
            best = d;
            point = CDPoint(flash->x, flash->y);
            size = flash->radius;
            found = true;
        }
    }
    return found;
}

// Moves the working side's copper by -(dx, dy). Arc records keep their
// angles in the second point.
void ShiftCopper(CVelmDoc& doc, double dx, double dy)
{
    const float fx = static_cast<float>(dx), fy = static_cast<float>(dy);
    for (auto* list : {&doc.m_FlashList, &doc.m_PadList2})
        for (auto& flash : *list) {
            flash->x -= fx;
            flash->y -= fy;
        }
    for (auto& track : doc.m_TrackList) {
        track->x1 -= fx;
        track->y1 -= fy;
        if (track->type < 3) {
            track->x2 -= fx;
            track->y2 -= fy;
        }
    }
}

void Widen(CExtent& extent, const CExtent& by)
{
    extent.minX = std::min(extent.minX, by.minX);
    extent.minY = std::min(extent.minY, by.minY);
    extent.maxX = std::max(extent.maxX, by.maxX);
    extent.maxY = std::max(extent.maxY, by.maxY);
}

CExtent Grown(const CExtent& extent, int margin)
{
    auto add = [](std::int32_t v, std::int64_t d) { return TruncToInt32(double(v + d)); };
    return {add(extent.minX, -margin), add(extent.minY, -margin), add(extent.maxX, margin),
            add(extent.maxY, margin)};
}

void SetBoardExtent(const CExtent& extent)
{
    g_BoardMinX = extent.minX;
    g_BoardMinY = extent.minY;
    g_BoardMaxX = extent.maxX;
    g_BoardMaxY = extent.maxY;
}

CExtent BoardExtent() { return {g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY}; }

CExtent TableExtent()
{
    return {0, 0, TruncToInt32(g_TableWidth),
            TruncToInt32(g_TableHeight)};
}

// Creates (or empties) a side file of the system directory; a failure shows
// later, when the file is read.
void CreateEmptySideFile(const char* name)
{
    std::vector<std::uint8_t> nothing;
    WriteFileAtomically(JoinPath(g_SystemDir, name), nothing);
}

// The extent of one copper side in mil, as GetDataExtent measures it.
struct SideExtent {
    CDPoint max{-1000000.0, -1000000.0};
    CDPoint min{1000000.0, 1000000.0};
};

}  // namespace

std::unique_ptr<CTrackRecord> NewTrackRecord(float x1, float y1, float x2, float y2, float width)
{
    auto track = std::make_unique<CTrackRecord>();
    track->recordNo = 1;
    track->x1 = x1;
    track->y1 = y1;
    track->x2 = x2;
    track->y2 = y2;
    track->width = width;
    track->type = 0;
    return track;
}

void CVelmDoc::OnFileNew()
{
    if (g_JobCode != 0)
        return;
    SetCurrentDirectory(g_SystemDir);
    g_GerberMetric = 0;
    if (!LoadSettings())
        return;
    if (g_WorkOrderDlg.DoModal() == IDOK)
        LoadWorkOrder();
}

void CVelmDoc::GetDataExtent(CDPoint& maxCorner, CDPoint& minCorner)
{
    maxCorner = CDPoint(-500000.0, -500000.0);
    minCorner = CDPoint(1000000.0, 1000000.0);
    auto widen = [&](double x, double y) {
        maxCorner.x = std::max(maxCorner.x, x);
        maxCorner.y = std::max(maxCorner.y, y);
        minCorner.x = std::min(minCorner.x, x);
        minCorner.y = std::min(minCorner.y, y);
    };
    auto widenPad = [&](const CFlashRecord& flash) {
        widen(flash.x - flash.radius, flash.y - flash.radius);
        widen(flash.x + flash.radius, flash.y + flash.radius);
    };
    for (const auto& t : m_TrackList) {
        if (t->type == 0) {
            widen(t->x1, t->y1);
            widen(t->x2, t->y2);
        } else if (t->type == 1 || t->type == 2) {
            // Rectangles and ovals count only when they run along an axis.
            const double half = t->width / 2.0;
            if (t->x1 == t->x2) {
                widen(t->x1 - half, t->y1);
                widen(t->x1 + half, t->y1);
                widen(t->x2 - half, t->y2);
                widen(t->x2 + half, t->y2);
            }
            if (t->y1 == t->y2) {
                widen(t->x1, t->y1 - half);
                widen(t->x1, t->y1 + half);
                widen(t->x2, t->y2 - half);
                widen(t->x2, t->y2 + half);
            }
        }
    }
    for (const auto& flash : m_FlashList)
        widenPad(*flash);
    if (CNamedLayer* route = FindNamedLayer("route")) {
        for (const auto& t : route->tracks) {
            widen(t->x1, t->y1);
            widen(t->x2, t->y2);
        }
        for (const auto& flash : route->flashes)
            widenPad(*flash);
    }
}

void CVelmDoc::LoadWorkOrder()
{
    SetCurrentDirectory(g_SystemDir);
    CMessageDlg notice;
    g_GerberMetric = 0;

    if (!LoadSettings())
        return;
    g_LayerDlg.LoadFlags();
    m_PanelLayout.ClearLists();

    g_HasComponentSide = 0;
    g_HasSolderSide = 0;
    if (!g_ComponentGerberFile.empty()) {
        DetectGerberFormat(g_ComponentGerberFile);
        g_HasComponentSide = 1;
        g_CurrentSide = 0;
    }
    if (!g_SolderGerberFile.empty()) {
        DetectGerberFormat(g_SolderGerberFile);
        g_HasSolderSide = 1;
        g_CurrentSide = 1;
    }
    m_WorkDataLoaded = 1;

    SetBoardExtent(EMPTY_EXTENT);
    g_DataOriginX = 1000000;
    g_DataOriginY = 1000000;
    g_CurrentSide = 0;
    g_DominantPadRadius = 0.0f;
    // Extents and the side offset of an earlier job would otherwise outlive
    // it wherever this job sets none.
    m_GerberExtent = m_DrillExtent = m_DataExtent = EMPTY_EXTENT;
    m_DataOffset = POINT{0, 0};
    SetCurrentDirectory(g_SystemDir);

    g_MeasureDataWnd.SaveModified();
    g_RouteDataWnd.SaveModified();
    CreateEmptySideFile(kComponentSideFile);
    CreateEmptySideFile(kSolderSideFile);
    ClearAll();

    SideExtent component, solder;
    {
        CWaitCursor wait;
        g_Calculating = 1;
        notice.ShowId(IDS_READING_GERBER);

        // One copper side read into the document and parked in its file.
        auto readSide = [&](int side, bool prescan, SideExtent& extent) {
            const bool solderSide = side == 1;
            g_CurrentSide = side;
            g_CurrentApertureFile = solderSide ? g_SolderApertureFile : g_ComponentApertureFile;
            const std::string& gerber = solderSide ? g_SolderGerberFile : g_ComponentGerberFile;
            if (prescan)
                ScanGerberExtent(gerber);
            if (!LoadGerber(gerber))
                (solderSide ? g_HasSolderSide : g_HasComponentSide) = 0;
            SaveTempFile(solderSide ? kSolderSideFile : kComponentSideFile);
            GetDataExtent(extent.max, extent.min);
        };

        bool holdsSolder = false;
        if (g_FileAuto) {
            if (g_HasSolderSide) {
                readSide(1, true, solder);
                holdsSolder = true;
            }
            float componentSize = 1000.0f, solderSize = 10000.0f;
            CDPoint pc(0.0, 0.0), ps(0.0, 0.0);
            if (g_HasComponentSide && g_HasSolderSide && !m_FlashList.empty())
                NearestRoundFlash(m_FlashList, solder.max, 1.0e7, 0.0f, ps, solderSize);
            if (g_HasComponentSide) {
                g_DominantPadRadius = 0.0f;
                readSide(0, true, component);
                holdsSolder = false;
            }

            notice.ShowId(IDS_ALIGNING_SIDES);
            if (g_HasComponentSide && g_HasSolderSide && !m_FlashList.empty() &&
                g_DominantPadRadius != 0.0f) {
                NearestRoundFlash(m_FlashList, component.max, 1.0e7, 0.0f, pc, componentSize);
                if (std::fabs(componentSize - solderSize) > 5.0f) {
                    // The corner pads differ: take the board's commonest pad
                    // size on both sides instead.
                    const float common = g_DominantPadRadius;
                    NearestRoundFlash(m_FlashList, component.max, 1.0e6, common, pc, componentSize);
                    SaveTempFile(kComponentSideFile);
                    LoadTempFile(kSolderSideFile);
                    NearestRoundFlash(m_FlashList, solder.max, 1.0e6, common, ps, solderSize);
                    SaveTempFile(kSolderSideFile);
                    LoadTempFile(kComponentSideFile);
                }
                const POINT offset{TruncToInt32(pc.x - ps.x), TruncToInt32(pc.y - ps.y)};
                m_DataOffset = offset;
                if (offset.x != 0 || offset.y != 0) {
                    ShiftCopper(*this, offset.x, offset.y);
                    SaveTempFile(kComponentSideFile);
                    GetDataExtent(component.max, component.min);
                    const CDPoint origin = component.min;
                    ShiftCopper(*this, origin.x, origin.y);
                    SaveTempFile(kComponentSideFile);
                    // The component side now starts at (0, 0): its extent
                    // moves with it, so the union below measures the data as
                    // they are.
                    component.max = CDPoint(component.max.x - origin.x, component.max.y - origin.y);
                    component.min = CDPoint(0.0, 0.0);
                    LoadTempFile(kSolderSideFile);
                    ShiftCopper(*this, origin.x, origin.y);
                    SaveTempFile(kSolderSideFile);
                    holdsSolder = true;
                }
            }
            // Without a shift the document holds the component side; the
            // solder extent measured when it was read still stands then.
            if (holdsSolder || !g_HasComponentSide)
                GetDataExtent(solder.max, solder.min);
        } else {
            g_DataOriginX = 0;
            g_DataOriginY = 0;
            if (g_HasSolderSide)
                readSide(1, false, solder);
            if (g_HasComponentSide)
                readSide(0, false, component);
        }

        m_GerberExtent = {TruncToInt32(std::min(component.min.x, solder.min.x)),
                          TruncToInt32(std::min(component.min.y, solder.min.y)),
                          TruncToInt32(std::max(component.max.x, solder.max.x)),
                          TruncToInt32(std::max(component.max.y, solder.max.y))};
        g_BoardMaxX = TruncToInt32(double(m_GerberExtent.maxX) + 200);
        g_BoardMaxY = TruncToInt32(double(m_GerberExtent.maxY) + 200);

        if (g_FileAuto) {
            if (g_HasSolderSide) {
                g_CurrentSide = 1;
                LoadTempFile(kSolderSideFile);
                g_SolderSideActive = 1;
                SetTitle(g_SolderGerberFile);
            } else if (g_HasComponentSide) {
                LoadTempFile(kComponentSideFile);
                g_ComponentSideActive = 1;
                SetTitle(g_ComponentGerberFile);
            }
        } else {
            m_ViewExtent = {0, 0, m_GerberExtent.maxX - m_GerberExtent.minX,
                            m_GerberExtent.maxY - m_GerberExtent.minY};
        }
        m_WorkStage = 1;

        const bool copper = g_HasComponentSide || g_HasSolderSide;
        if (!g_DrillFile.empty()) {
            notice.ShowId(IDS_READING_DRILLS);
            DetectDrillFormat(g_DrillFile);
            LoadDrillFile(g_DrillFile);
            ReadDrillReport(g_DrillFile);
            if (copper) {
                CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
                notice.ShowId(IDS_ALIGNING_DRILLS);
                if (g_FileAuto && AutoAlignDrills(0) == 0)
                    AfxMessageBox(LoadResString(IDS_DRILLS_NOT_ALIGNED), MB_OK);
                ComputeBoardExtent();
                CExtent board = BoardExtent();
                Widen(board, m_DrillExtent);
                SetBoardExtent(board);
            } else {
                ComputeBoardExtent();
                SetBoardExtent(g_SkipProbeTest == 1 ? TableExtent() : Grown(m_DrillExtent, 100));
                CDocumentViewHooks::Run(m_ViewHooks.showDrills);
                CDocumentViewHooks::Run(m_ViewHooks.blockLayout);
            }
            g_MeasureDataWnd.ShowWindow(false);
        } else {
            m_DrillExtent = m_GerberExtent;
        }

        if (!g_RouteFile.empty()) {
            notice.ShowId(IDS_READING_ROUTE);
            if (!copper) {
                ScanRouteExtent(g_RouteFile);
                g_DataOriginX = m_DataExtent.minX;
                g_DataOriginY = m_DataExtent.minY;
                LoadRouteGerber(g_RouteFile);
                CExtent board = BoardExtent();
                Widen(board, Grown(m_DataExtent, 100));
                SetBoardExtent(board);
            } else {
                LoadRouteGerber(g_RouteFile);
                CDPoint max, min;
                GetDataExtent(max, min);
                m_DataExtent = {TruncToInt32(min.x), TruncToInt32(min.y),
                                TruncToInt32(max.x), TruncToInt32(max.y)};
            }
            if (!copper) {
                ComputeBoardExtent();
                SetBoardExtent(g_SkipProbeTest == 1 ? TableExtent() : Grown(m_DataExtent, 100));
                CDocumentViewHooks::Run(m_ViewHooks.showRoute);
                CDocumentViewHooks::Run(m_ViewHooks.blockLayout);
            }
        } else if (copper) {
            // A default outline 50 mil outside the copper: left edge up, top
            // edge right, right edge down, bottom edge left.
            const float l = float(m_GerberExtent.minX - 50), b = float(m_GerberExtent.minY - 50);
            const float r = float(m_GerberExtent.maxX + 50), t = float(m_GerberExtent.maxY + 50);
            auto route = std::make_unique<CNamedLayer>();
            route->name = "route";
            route->tracks.push_back(NewTrackRecord(l, b, l, t, 5.0f));
            route->tracks.push_back(NewTrackRecord(l, t, r, t, 5.0f));
            route->tracks.push_back(NewTrackRecord(r, t, r, b, 5.0f));
            route->tracks.push_back(NewTrackRecord(r, b, l, b, 5.0f));
            m_NamedLayerList.push_back(std::move(route));
        }

        CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
        SaveProgramOptions();
        g_Calculating = 0;
    }

    ComputeBoardExtent();
    CExtent board = m_GerberExtent;
    Widen(board, m_DrillExtent);
    Widen(board, m_DataExtent);
    SetBoardExtent(Grown(board, 100));
    CDocumentViewHooks::Run(m_ViewHooks.zoomToFit);

    if (g_CalcMethod != 0) {
        notice.ShowId(IDS_CALCULATING_BATCH);
        RunProcessMacro();
    }
    ClearVisionData();
    notice.DestroyWindow();
}
