// File/New: a work order (two copper sides with their aperture files, a drill
// file, a route file) turned into the document's data. Each copper side is
// read on its own and parked in memory as the image of its side file
// ("bot.tmp" solder, "top.tmp" component); each side file is written once,
// when both sides are in place. With automatic file handling the component
// side is shifted onto the solder side by a pad both share, and all data
// start near (0, 0).
#include "document/job_loader.h"

#include "document/velm_doc.h"
#include "editing/drill_alignment.h"
#include "editing/drill_point_edit.h"
#include "geometry/plane_geometry.h"
#include "geometry/small_utils.h"
#include "import/format_detection.h"
#include "import/gerber_blocks.h"
#include "import/gerber_reader_state.h"
#include "link/link_state.h"
#include "planning/process_macro.h"
#include "platform/binary_io.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/paths.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/board_records.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/machine_settings.h"
#include "settings/program_options.h"
#include "settings/system_settings_dlg.h"
#include "settings/vision_targets.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"
#include "ui/message_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

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

// Moves the working side's copper by -(dx, dy).
void ShiftCopper(CVelmDoc& doc, double dx, double dy)
{
    const float fx = static_cast<float>(dx), fy = static_cast<float>(dy);
    ShiftFlashes(doc.m_FlashList, fx, fy);
    ShiftFlashes(doc.m_PadList2, fx, fy);
    ShiftTracks(doc.m_TrackList, fx, fy);
}

// Whether one work-order entry (a ";"-separated list where `list`) can be
// read: the first file that cannot gets one message naming it.
bool Readable(const std::string& paths, bool list, unsigned openError)
{
    if (!list)
        return paths.empty() || CheckReadableFile(paths, openError);
    std::string rest = paths, name;
    while (NextGerberPath(rest, name))
        if (!name.empty() && !CheckReadableFile(name, openError))
            return false;
    return true;
}

// The files of the work order that can be read, each checked once before
// anything of the open job is given up: a file that cannot be read is left
// out of this load with one message, instead of one from every reader.
struct ReadableFiles {
    bool component = false, solder = false, drill = false, route = false;
    bool allNamed = true;   // every named file can be read
    bool AnyNamed() const { return component || solder || drill || route; }
};

// Keeps the text of every input file of the work order while it lives, so
// each is read from disk once in this load.
void KeepInputTexts(CKeptFileTexts& kept)
{
    for (const std::string* list : {&g_ComponentGerberFile, &g_SolderGerberFile, &g_RouteFile}) {
        std::string rest = *list, name;
        while (NextGerberPath(rest, name))
            kept.Keep(name);
    }
    for (const std::string* path : {&g_ComponentApertureFile, &g_SolderApertureFile, &g_DrillFile})
        kept.Keep(*path);
}

// Whether `list` (";"-separated) names `path`.
bool NamesFile(const std::string& list, const std::string& path)
{
    std::string rest = list, name;
    while (NextGerberPath(rest, name))
        if (name == path)
            return true;
    return false;
}

// Lets go of the texts of a copper side's files once the side is read,
// unless the other side or the route file names the same file: no later
// step of the load reads them, and the next side's read is the load's
// largest moment.
void DropSideTexts(bool solder)
{
    const std::string& other = solder ? g_ComponentGerberFile : g_SolderGerberFile;
    std::string rest = solder ? g_SolderGerberFile : g_ComponentGerberFile, name;
    while (NextGerberPath(rest, name))
        if (!NamesFile(other, name) && !NamesFile(g_RouteFile, name))
            DropKeptFileText(name);
}

ReadableFiles CheckWorkOrderFiles()
{
    ReadableFiles files;
    auto check = [&files](const std::string& main, bool list, unsigned openError,
                          const std::string& apertures) {
        if (main.empty())
            return false;
        const bool readable = Readable(main, list, openError) &&
                              Readable(apertures, false, IDS_CANNOT_READ_FILE);
        files.allNamed &= readable;
        return readable;
    };
    files.component = check(g_ComponentGerberFile, true, IDS_CANNOT_READ_FILE,
                            g_ComponentApertureFile);
    files.solder = check(g_SolderGerberFile, true, IDS_CANNOT_READ_FILE, g_SolderApertureFile);
    files.drill = check(g_DrillFile, false, IDS_DRILL_OPEN_ERROR, "");
    files.route = check(g_RouteFile, true, IDS_CANNOT_READ_FILE, "");
    return files;
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

// The extent of one copper side in mil, as GetDataExtent measures it.
struct SideExtent {
    CDPoint max{-1000000.0, -1000000.0};
    CDPoint min{1000000.0, 1000000.0};
};

// What reading the copper sides leaves for aligning them: each side's
// extent, the solder side's round flash nearest its top right corner (with
// automatic file handling), and which side the document holds.
struct CopperSides {
    SideExtent component, solder;
    // The data origin both sides lost as they were read, and what both
    // were moved by after the side alignment: data read later in the
    // copper's coordinates take the same moves.
    CDPoint origin{0.0, 0.0};
    CDPoint shift{0.0, 0.0};
    bool allRead = true;   // no side failed to read
    CDPoint solderCorner{0.0, 0.0};
    float solderCornerSize = 10000.0f;
    bool solderCornerFound = false;
    bool holdsSolder = false;
    // Where each side is while the sides are moved about. A side the
    // document lets go is parked in its side file, which the load writes
    // anyway, so a large job never holds both sides in memory; only when
    // that file cannot be written does the side stay here as records. The
    // side the document holds is parked only in name until the document
    // takes up another or the files are written.
    struct Parked {
        bool inFile = false;
        std::optional<CSideRecords> records;
        bool Any() const { return inFile || records.has_value(); }
    };
    Parked componentSide, solderSide;
    int inDocument = -1;   // 1 solder, 0 component: parked but still in the document

    Parked& ParkedSide(bool solder) { return solder ? solderSide : componentSide; }
    static const char* FileName(bool solder) { return solder ? kSolderSideFile : kComponentSideFile; }

    void Park(bool solder)
    {
        ParkedSide(solder) = {};
        inDocument = solder ? 1 : 0;
    }
    // The document is about to hold something else: the side it holds
    // goes to its file now, and its copper out of the document. Returns
    // that side (-1 for none).
    int Leave(CVelmDoc& doc)
    {
        const int side = inDocument;
        inDocument = -1;
        if (side < 0)
            return side;
        Parked& parked = ParkedSide(side == 1);
        parked = {};
        if (doc.ParkTempFile(FileName(side == 1))) {
            parked.inFile = true;
            ClearCopper(doc);
        } else {
            parked.records = doc.ReleaseSide();
        }
        return side;
    }
    // The lists go with their room: the next read sets aside its own, and
    // a read keeps the lists it replaces until it has finished.
    static void ClearCopper(CVelmDoc& doc)
    {
        decltype(doc.m_TrackList)().swap(doc.m_TrackList);
        decltype(doc.m_TrackRefList)().swap(doc.m_TrackRefList);
        decltype(doc.m_FlashList)().swap(doc.m_FlashList);
    }
    // The bytes of a parked side's file (empty for none).
    std::vector<std::uint8_t> Image(bool solder)
    {
        Parked& parked = ParkedSide(solder);
        if (parked.records)
            return CVelmDoc::SideFileImage(*parked.records);
        std::vector<std::uint8_t> bytes;
        if (parked.inFile)
            ReadWholeFile(JoinPath(g_SystemDir, FileName(solder)), bytes);
        return bytes;
    }
    void Take(CVelmDoc& doc, bool solder)
    {
        // What the document holds goes before the other side comes in.
        Leave(doc);
        ClearCopper(doc);
        Parked& parked = ParkedSide(solder);
        const bool any = parked.Any();
        if (parked.records)
            doc.TakeSide(std::move(*parked.records));
        else if (parked.inFile)
            doc.LoadTempFile(FileName(solder));
        else
            doc.TakeSideFileImage({}, FileName(solder));  // says it is no side file
        parked = {};
        // The side taken is parked in name again: its file holds it until
        // the document changes it, and it goes back there when let go.
        if (any)
            inDocument = solder ? 1 : 0;
    }
    // Writes both side files, keeping only the side the document takes up
    // next (`keep`: 1 solder, 0 component, -1 neither). A side the job
    // lacks leaves its file empty.
    void WriteFiles(CVelmDoc& doc, int keep)
    {
        for (bool solder : {false, true}) {
            const int side = solder ? 1 : 0;
            if (inDocument == side) {
                // Written from the document, which keeps the records: a
                // side not kept is let go when the document takes another.
                doc.SaveTempFile(FileName(solder));
                if (keep != side)
                    inDocument = -1;
                continue;
            }
            Parked& parked = ParkedSide(solder);
            if (parked.records)
                CVelmDoc::WriteSideFile(FileName(solder), *parked.records);
            else if (!parked.inFile)
                CVelmDoc::WriteSideFile(FileName(solder), std::vector<std::uint8_t>());
            if (keep != side)
                parked = {};
        }
    }
};

// Whether every copper file declares its whole number format before it
// reads a number: the first reading of the load, an extent pre-scan (with
// automatic file handling; a read of its own could give back the format it
// started with if it failed), then sets the format before using it, and a
// guess would be overwritten unused.
bool CopperFormatsDeclared()
{
    if (!g_FileAuto)
        return false;
    for (const std::string* list : {&g_ComponentGerberFile, &g_SolderGerberFile}) {
        std::string rest = *list, name;
        while (NextGerberPath(rest, name))
            if (!GerberFormatDeclaredFirst(name))
                return false;
    }
    return true;
}

// The sides the work order names that can be read, each with its number
// format guessed.
void FindSides(CVelmDoc& doc, const ReadableFiles& files, bool guess)
{
    g_HasComponentSide = 0;
    g_HasSolderSide = 0;
    if (files.component) {
        ::DetectGerberFormat(doc, g_ComponentGerberFile, guess);
        g_HasComponentSide = 1;
        g_CurrentSide = 0;
    }
    if (files.solder) {
        ::DetectGerberFormat(doc, g_SolderGerberFile, guess);
        g_HasSolderSide = 1;
        g_CurrentSide = 1;
    }
    doc.m_WorkDataLoaded = 1;
}

// Nothing of an earlier job left: origins, extents, side files and data.
void ResetJob(CVelmDoc& doc)
{
    SetBoardExtent(EMPTY_EXTENT);
    g_DataOriginX = 1000000;
    g_DataOriginY = 1000000;
    g_CurrentSide = 0;
    g_DominantPadRadius = 0.0f;
    // Extents and the side offset of an earlier job would otherwise outlive
    // it wherever this job sets none.
    doc.m_GerberExtent = doc.m_DrillExtent = doc.m_DataExtent = EMPTY_EXTENT;
    doc.m_DataOffset = POINT{0, 0};
    SetCurrentDirectory(g_SystemDir);

    g_MeasureDataWnd.SaveModified();
    g_RouteDataWnd.SaveModified();
    doc.ClearAll();
}

// Makes `side` the one the next Gerber reading is of; returns its files.
const std::string& BeginSide(int side)
{
    const bool solderSide = side == 1;
    g_CurrentSide = side;
    g_CurrentApertureFile = solderSide ? g_SolderApertureFile : g_ComponentApertureFile;
    return solderSide ? g_SolderGerberFile : g_ComponentGerberFile;
}

// One copper side read into the document and parked.
bool ReadSide(CVelmDoc& doc, int side, SideExtent& extent, CopperSides& sides)
{
    const bool solderSide = side == 1;
    const std::string& gerber = BeginSide(side);
    // The side the document held is parked now: its records go before the
    // new side's are made, so a large job never holds both sides' records.
    // A refused read gives back the records it found, as the image has them.
    const int held = sides.Leave(doc);
    // The read builds the side's records, its largest moment at its end: it
    // gives back the kept blocks as it passes them.
    std::string rest = gerber, name;
    while (NextGerberPath(rest, name))
        HandOverKeptGerberBlocks(name);
    const bool read = doc.LoadGerber(gerber) != 0;
    DropSideTexts(solderSide);
    if (!read && held >= 0)
        doc.TakeSideCopperImage(sides.Image(held == 1));
    if (!read)
        (solderSide ? g_HasSolderSide : g_HasComponentSide) = 0;
    sides.Park(solderSide);
    doc.GetDataExtent(extent.max, extent.min);
    return read;
}

// Both sides, solder first. With automatic file handling both are scanned
// for their common origin before either is read, so that both sides, and
// the holes and the route after them, lose one and the same origin however
// far either side's copper reaches; the solder side's corner pad is taken
// while the document still holds it. Otherwise coordinates stand as they are.
CopperSides ReadSides(CVelmDoc& doc)
{
    CopperSides sides;
    if (g_FileAuto) {
        for (int side : {1, 0})
            if (side == 1 ? g_HasSolderSide : g_HasComponentSide)
                doc.ScanGerberExtent(BeginSide(side));
        if (g_HasSolderSide) {
            sides.allRead &= ReadSide(doc, 1, sides.solder, sides);
            sides.holdsSolder = true;
        }
        if (g_HasComponentSide && g_HasSolderSide && !doc.m_FlashList.empty())
            sides.solderCornerFound =
                NearestRoundFlash(doc.m_FlashList, sides.solder.max, 1.0e7, 0.0f,
                                  sides.solderCorner, sides.solderCornerSize);
        if (g_HasComponentSide) {
            g_DominantPadRadius = 0.0f;
            sides.allRead &= ReadSide(doc, 0, sides.component, sides);
            sides.holdsSolder = false;
        }
    } else {
        g_DataOriginX = 0;
        g_DataOriginY = 0;
        if (g_HasSolderSide)
            sides.allRead &= ReadSide(doc, 1, sides.solder, sides);
        if (g_HasComponentSide)
            sides.allRead &= ReadSide(doc, 0, sides.component, sides);
    }
    sides.origin = CDPoint(g_DataOriginX, g_DataOriginY);
    return sides;
}

// Whether the component side, which the document holds, has a pad where
// the solder side has its corner pad: then both sides share one frame, as
// the files of most CAD tools do, and no pad found near each side's own
// corner (a logo or a test pad beyond the other side's copper) may move one
// side against the other.
bool SidesShareTheCornerPad(const CVelmDoc& doc, const CopperSides& sides)
{
    // A pad of one side stands for a pad of the other as near as a hole
    // must come to a pad in the drill alignment.
    return sides.solderCornerFound && PadAt(doc.m_FlashList, sides.solderCorner);
}

// Shifts the component side onto the solder side by the corner pads both
// share, then both sides so that the data start at (0, 0). The document
// holds the component side on entry.
void AlignSides(CVelmDoc& doc, CopperSides& sides)
{
    if (g_HasComponentSide && g_HasSolderSide && !doc.m_FlashList.empty() &&
        g_DominantPadRadius != 0.0f && !SidesShareTheCornerPad(doc, sides)) {
        CDPoint pc(0.0, 0.0);
        float componentSize = 1000.0f;
        CDPoint& ps = sides.solderCorner;
        float& solderSize = sides.solderCornerSize;
        NearestRoundFlash(doc.m_FlashList, sides.component.max, 1.0e7, 0.0f, pc, componentSize);
        if (std::fabs(componentSize - solderSize) > 5.0f) {
            // The corner pads differ: take the board's commonest pad size on
            // both sides instead.
            const float common = g_DominantPadRadius;
            NearestRoundFlash(doc.m_FlashList, sides.component.max, 1.0e6, common, pc, componentSize);
            sides.Park(false);
            sides.Take(doc, true);
            NearestRoundFlash(doc.m_FlashList, sides.solder.max, 1.0e6, common, ps, solderSize);
            sides.Park(true);
            sides.Take(doc, false);
        }
        const POINT offset{TruncToInt32(pc.x - ps.x), TruncToInt32(pc.y - ps.y)};
        doc.m_DataOffset = offset;
        if (offset.x != 0 || offset.y != 0) {
            ShiftCopper(doc, offset.x, offset.y);
            sides.Park(false);
            doc.GetDataExtent(sides.component.max, sides.component.min);
            const CDPoint origin = sides.component.min;
            ShiftCopper(doc, origin.x, origin.y);
            sides.Park(false);
            // The component side now starts at (0, 0): its extent moves with
            // it, so the union below measures the data as they are.
            sides.component.max =
                CDPoint(sides.component.max.x - origin.x, sides.component.max.y - origin.y);
            sides.component.min = CDPoint(0.0, 0.0);
            sides.Take(doc, true);
            ShiftCopper(doc, origin.x, origin.y);
            sides.Park(true);
            sides.shift = origin;
            sides.holdsSolder = true;
        }
    }
    // Without a shift the document holds the component side; the solder
    // extent measured when it was read still stands then.
    if (sides.holdsSolder || !g_HasComponentSide)
        doc.GetDataExtent(sides.solder.max, sides.solder.min);
}

// The copper extent over both sides; the board reaches 200 mil beyond it.
void SetCopperExtent(CVelmDoc& doc, const CopperSides& sides)
{
    const SideExtent& component = sides.component;
    const SideExtent& solder = sides.solder;
    doc.m_GerberExtent = {TruncToInt32(std::min(component.min.x, solder.min.x)),
                          TruncToInt32(std::min(component.min.y, solder.min.y)),
                          TruncToInt32(std::max(component.max.x, solder.max.x)),
                          TruncToInt32(std::max(component.max.y, solder.max.y))};
    g_BoardMaxX = TruncToInt32(double(doc.m_GerberExtent.maxX) + 200);
    g_BoardMaxY = TruncToInt32(double(doc.m_GerberExtent.maxY) + 200);
}

// With automatic file handling the document takes up the solder side, or
// the component side when there is no solder side; otherwise it keeps the
// side read last and the view spans the copper.
void OpenWorkingSide(CVelmDoc& doc, CopperSides& sides)
{
    if (g_FileAuto) {
        if (g_HasSolderSide) {
            g_CurrentSide = 1;
            sides.Take(doc, true);
            g_SolderSideActive = 1;
            doc.SetTitle(g_SolderGerberFile);
        } else if (g_HasComponentSide) {
            sides.Take(doc, false);
            g_ComponentSideActive = 1;
            doc.SetTitle(g_ComponentGerberFile);
        }
    } else {
        doc.m_ViewExtent = {0, 0, doc.m_GerberExtent.maxX - doc.m_GerberExtent.minX,
                            doc.m_GerberExtent.maxY - doc.m_GerberExtent.minY};
        // The caption names the job by the side the document kept.
        if (g_HasComponentSide || g_HasSolderSide)
            doc.SetTitle(g_CurrentSide == 1 ? g_SolderGerberFile : g_ComponentGerberFile);
    }
}

// The board of a job without copper: the document's extents are measured
// first (which sets `data` when it is the drill extent), then the board is
// the machine table when the probe test is skipped, else 100 mil around the
// data.
void SetLoneBoard(CVelmDoc& doc, const CExtent& data)
{
    doc.ComputeBoardExtent();
    SetBoardExtent(g_SkipProbeTest == 1 ? TableExtent() : Grown(data, 100));
}

// The holes on pads of each copper side: the working side in the document,
// the other side, when the job has two, read from its side file for the
// count. The smaller count, as the side that agrees least decides.
std::size_t HolesOnPadsOfBothSides(const CVelmDoc& doc)
{
    std::size_t on = HolesOnPads(g_HoleList, doc.m_FlashList, doc.m_TrackRefList);
    if (g_HasComponentSide && g_HasSolderSide && MostHolesOnPads(on, HoleCount(g_HoleList))) {
        CSideRecords other;
        if (!CVelmDoc::ReadTempFile(g_CurrentSide == 1 ? kComponentSideFile : kSolderSideFile,
                                    other))
            return 0;
        on = std::min(on, HolesOnPads(g_HoleList, other.flashes, other.references));
    }
    return on;
}

// With automatic file handling the holes take the copper's move first, as
// the drill files of most CAD tools share the copper's coordinates. When
// that leaves too few on the pads of either side, the search for a shift
// that puts them on the working side's pads runs; when that finds none
// either, the operator is told once what was tried, and the holes keep the
// copper's move.
void AlignDrills(CVelmDoc& doc, const CopperSides& sides)
{
    ShiftHoles(g_HoleList, CDPoint(-(sides.origin.x + sides.shift.x),
                                   -(sides.origin.y + sides.shift.y)));
    const std::size_t holes = HoleCount(g_HoleList);
    const std::size_t onPads = HolesOnPadsOfBothSides(doc);
    if (MostHolesOnPads(onPads, holes))
        return;
    {
        CWaitCursor wait;
        if (::AutoAlignDrills(doc.m_FlashList, g_HoleList))
            return;
    }
    char text[512];
    std::snprintf(text, sizeof text, LoadResString(IDS_DRILLS_NOT_ALIGNED).c_str(), int(onPads),
                  int(holes));
    AfxMessageBox(text, MB_OK);
}

// The drill file with its report. Beside copper the holes are aligned to
// the pads (with automatic file handling) and widen the board; alone they
// make the board and its panel layout. Without a drill file (or with one
// that cannot be read, `readable` false) the drill extent is the copper's.
// False when the drill file could not be read.
bool ReadDrills(CVelmDoc& doc, CMessageDlg& notice, bool copper, bool readable,
                const CopperSides& sides)
{
    if (!readable) {
        doc.m_DrillExtent = doc.m_GerberExtent;
        return true;
    }
    notice.ShowId(IDS_READING_DRILLS);
    doc.DetectDrillFormat(g_DrillFile);
    if (!doc.LoadDrillFile(g_DrillFile))
        return false;
    doc.ReadDrillReport(g_DrillFile);
    if (copper) {
        CDocumentViewHooks::Run(doc.m_ViewHooks.updateAllViews);
        notice.ShowId(IDS_ALIGNING_DRILLS);
        if (g_FileAuto) {
            AlignDrills(doc, sides);
            CDocumentViewHooks::Run(doc.m_ViewHooks.updateAllViews);
        }
        doc.ComputeBoardExtent();
        CExtent board = BoardExtent();
        Widen(board, doc.m_DrillExtent);
        SetBoardExtent(board);
    } else {
        SetLoneBoard(doc, doc.m_DrillExtent);
        CDocumentViewHooks::Run(doc.m_ViewHooks.showDrills);
        CDocumentViewHooks::Run(doc.m_ViewHooks.blockLayout);
    }
    g_MeasureDataWnd.ShowWindow(false);
    return true;
}

// The route file into the "route" layer. Beside copper it takes the move
// the copper took (`shift`) and measures the data extent; alone it sets the
// data origin and makes the board and its panel layout. False when it could
// not be read.
bool ReadRoute(CVelmDoc& doc, CMessageDlg& notice, bool copper, const CDPoint& shift)
{
    notice.ShowId(IDS_READING_ROUTE);
    if (copper) {
        if (!doc.LoadRouteGerber(g_RouteFile))
            return false;
        if (CNamedLayer* route = doc.FindNamedLayer("route")) {
            const float fx = static_cast<float>(shift.x), fy = static_cast<float>(shift.y);
            ShiftFlashes(route->flashes, fx, fy);
            ShiftTracks(route->tracks, fx, fy);
        }
        CDPoint max, min;
        doc.GetDataExtent(max, min);
        doc.m_DataExtent = {TruncToInt32(min.x), TruncToInt32(min.y), TruncToInt32(max.x),
                            TruncToInt32(max.y)};
        return true;
    }
    doc.ScanRouteExtent(g_RouteFile);
    g_DataOriginX = doc.m_DataExtent.minX;
    g_DataOriginY = doc.m_DataExtent.minY;
    if (!doc.LoadRouteGerber(g_RouteFile))
        return false;
    CExtent board = BoardExtent();
    Widen(board, Grown(doc.m_DataExtent, 100));
    SetBoardExtent(board);
    SetLoneBoard(doc, doc.m_DataExtent);
    CDocumentViewHooks::Run(doc.m_ViewHooks.showRoute);
    CDocumentViewHooks::Run(doc.m_ViewHooks.blockLayout);
    return true;
}

// A default outline 50 mil outside the copper, as the "route" layer: left
// edge up, top edge right, right edge down, bottom edge left. A "route"
// layer that is there already (from a route file that draws nothing, as a
// board profile without lines) takes it.
void AddDefaultOutline(CVelmDoc& doc)
{
    const CExtent& copper = doc.m_GerberExtent;
    // In double: an extent at the edge of the int range must not wrap.
    const float l = float(double(copper.minX) - 50), b = float(double(copper.minY) - 50);
    const float r = float(double(copper.maxX) + 50), t = float(double(copper.maxY) + 50);
    CNamedLayer* route = doc.FindNamedLayer("route");
    if (!route) {
        auto made = std::make_unique<CNamedLayer>();
        made->name = "route";
        route = made.get();
        doc.m_NamedLayerList.push_back(std::move(made));
    }
    route->tracks.push_back(NewTrackRecord(l, b, l, t, 5.0f));
    route->tracks.push_back(NewTrackRecord(l, t, r, t, 5.0f));
    route->tracks.push_back(NewTrackRecord(r, t, r, b, 5.0f));
    route->tracks.push_back(NewTrackRecord(r, b, l, b, 5.0f));
}

// Whether the route file gave the "route" layer nothing to cut.
bool RouteEmpty(CVelmDoc& doc)
{
    const CNamedLayer* route = doc.FindNamedLayer("route");
    return !route || (route->tracks.empty() && route->flashes.empty());
}

// The board: 100 mil around the copper, the holes and the route together.
void FinishExtents(CVelmDoc& doc)
{
    doc.ComputeBoardExtent();
    CExtent board = doc.m_GerberExtent;
    Widen(board, doc.m_DrillExtent);
    Widen(board, doc.m_DataExtent);
    SetBoardExtent(Grown(board, 100));
}

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
    if (g_WorkOrderDlg.DoModal() == IDOK) {
        // A new job gets its own resume project.
        m_ResumeProjectSaved = 0;
        LoadWorkOrder();
    }
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

bool CVelmDoc::LoadWorkOrder()
{
    SetCurrentDirectory(g_SystemDir);
    g_GerberMetric = 0;

    if (!LoadSettings())
        return false;
    CKeptFileTexts kept{};
    KeepInputTexts(kept);
    const ReadableFiles files = CheckWorkOrderFiles();
    // The copper files are read by the format detection (unless their
    // format is declared), the extent pre-scan and the read: each is cut
    // into blocks once.
    const bool guess = !CopperFormatsDeclared();
    CKeptGerberBlocks blocks;
    for (const std::string* list : {&g_ComponentGerberFile, &g_SolderGerberFile}) {
        std::string rest = *list, name;
        while (NextGerberPath(rest, name))
            blocks.Keep(name);
    }
    // Nothing that can be read: the open job stays as it was.
    if (!files.allNamed && !files.AnyNamed())
        return false;
    CMessageDlg notice;
    bool allRead = files.allNamed;
    // What an earlier load said no longer holds; what this one says stays.
    g_StatusText.clear();
    g_LayerDlg.LoadFlags();
    m_PanelLayout.ClearLists();
    FindSides(*this, files, guess);
    ResetJob(*this);
    {
        CWaitCursor wait;
        g_Calculating = 1;
        notice.ShowId(IDS_READING_GERBER);
        CopperSides sides = ReadSides(*this);
        allRead &= sides.allRead;
        if (g_FileAuto) {
            notice.ShowId(IDS_ALIGNING_SIDES);
            AlignSides(*this, sides);
        }
        SetCopperExtent(*this, sides);
        sides.WriteFiles(*this, !g_FileAuto ? -1 : g_HasSolderSide ? 1 : g_HasComponentSide ? 0 : -1);
        OpenWorkingSide(*this, sides);
        sides.componentSide = {};
        sides.solderSide = {};
        m_WorkStage = 1;

        const bool copper = g_HasComponentSide || g_HasSolderSide;
        // A job without copper is named by its drill or route file.
        if (!copper)
            SetTitle(files.drill ? g_DrillFile : g_RouteFile);
        allRead &= ReadDrills(*this, notice, copper, files.drill, sides);
        if (files.route)
            allRead &= ReadRoute(*this, notice, copper, sides.shift);
        // Copper is never left without an outline to cut it out.
        if (copper && RouteEmpty(*this))
            AddDefaultOutline(*this);

        CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
        SaveProgramOptions();
        g_Calculating = 0;
    }

    FinishExtents(*this);
    CDocumentViewHooks::Run(m_ViewHooks.zoomToFit);

    // A method chosen while the macro text had methods, none of which are
    // there any more, runs nothing.
    if (g_CalcMethod != 0 && !MacroMethodNames().empty()) {
        notice.ShowId(IDS_CALCULATING_BATCH);
        RunProcessMacro();
    }
    ClearVisionData();
    notice.DestroyWindow();
    return allRead;
}
