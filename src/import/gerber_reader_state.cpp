// Shared pieces of the Gerber readers.
#include "import/gerber_reader_state.h"

#include "geometry/plane_geometry.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "platform/resources.h"
#include "records/board_model.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "settings/model_defaults.h"
#include "settings/work_order_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {


void ReplaceFirst(std::string& text, const char* directive, const std::string& value)
{
    std::size_t at = text.find(directive);
    if (at != std::string::npos)
        text.replace(at, std::char_traits<char>::length(directive), value);
}

}  // namespace

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

std::unique_ptr<CTrackRecord> NewGerberTrack(double x1, double y1, double x2, double y2,
                                             float width, int type, int group, int recordNo)
{
    auto t = std::make_unique<CTrackRecord>();
    t->groupNo = group;
    t->recordNo = recordNo;
    t->x1 = float(x1);
    t->y1 = float(y1);
    t->x2 = float(x2);
    t->y2 = float(y2);
    t->width = width;
    t->type = std::uint8_t(type);
    return t;
}

std::unique_ptr<CFlashRecord> NewGerberPad(double x, double y, float radius, int type, int recordNo)
{
    auto f = std::make_unique<CFlashRecord>();
    f->x = float(x);
    f->y = float(y);
    f->radius = radius;
    f->type = std::uint8_t(type);
    f->recordNo = recordNo;
    return f;
}

void LengthenSquareEnds(const CDPoint& from, const CDPoint& to, float h, CDPoint& start, CDPoint& end)
{
    const double a = std::atan2(from.y - to.y, from.x - to.x);
    const double ex = std::fabs(std::cos(a) * h / 2), ey = std::fabs(std::sin(a) * h / 2);
    start = from;
    end = to;
    if (start.x >= end.x) {
        start.x += ex;
        end.x -= ex;
    } else {
        start.x -= ex;
        end.x += ex;
    }
    if (start.y >= end.y) {
        start.y += ey;
        end.y -= ey;
    } else {
        start.y -= ey;
        end.y += ey;
    }
}

CFlashRecord* CPadCollector::Add(std::unique_ptr<CFlashRecord> pad, bool head)
{
    CFlashRecord* raw = pad.get();
    (head ? m_Heads : m_Tails).push_back(std::move(pad));
    return raw;
}

void CPadCollector::MoveInto(COwnedList<CFlashRecord>& list)
{
    // The head list turned round in place becomes the list: no second list
    // of a side's pads is made.
    std::reverse(m_Heads.begin(), m_Heads.end());
    m_Heads.insert(m_Heads.end(), std::make_move_iterator(m_Tails.begin()),
                   std::make_move_iterator(m_Tails.end()));
    list = std::move(m_Heads);
    Clear();
}

void CPadCollector::Clear()
{
    m_Heads.clear();
    m_Tails.clear();
}

std::size_t ExpectedGerberTracks(const std::string& paths)
{
    // A filled board makes a track for about every 10 to 15 bytes of its
    // files; a sparser guess would move the lists again on such a board.
    constexpr std::uintmax_t kBytesPerTrack = 8;
    std::uintmax_t bytes = 0;
    std::string rest = paths, name;
    while (NextGerberPath(rest, name)) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(name, error);
        if (!error)
            bytes += size;
    }
    // Beyond some millions the guess sets aside no more: the lists then
    // grow as they must.
    constexpr std::uintmax_t kMostTracks = 8u << 20;
    return static_cast<std::size_t>(std::min(bytes / kBytesPerTrack, kMostTracks));
}

bool NextGerberPath(std::string& rest, std::string& name)
{
    if (rest.empty())
        return false;
    std::size_t semi = rest.find(';');
    name = rest.substr(0, semi);
    rest = semi == std::string::npos ? std::string() : rest.substr(semi + 1);
    return true;
}

CGerberReadBackup::CGerberReadBackup(CBoardModel& model, bool copper)
    : m_Model(model),
      m_Copper(copper),
      m_MacroCount(model.m_MacroList.size()),
      m_Format(g_GerberFormatDlg),
      m_UnitFactor(g_GerberUnitFactor),
      m_Metric(g_GerberMetric),
      m_DominantPad(g_DominantPadRadius),
      m_PadRuns(g_PadRunStatistic),
      m_GridStep(model.m_GridStep),
      m_AreaFillFlag(model.m_AreaFillFlag),
      m_Shapes(g_GerberShapeCodes)
{
    if (copper) {
        m_Tracks = std::move(model.m_TrackList);
        m_Flashes = std::move(model.m_FlashList);
        m_PadTracks = std::move(model.m_TrackRefList);
        model.m_TrackList.clear();
        model.m_FlashList.clear();
        model.m_TrackRefList.clear();
    }
    for (auto& a : model.m_ApertureList)
        m_Apertures.push_back(*a);
}

CGerberReadBackup::~CGerberReadBackup()
{
    if (m_Active)
        Restore();
}

void CGerberReadBackup::Restore()
{
    if (!m_Active)
        return;
    m_Active = false;
    if (m_Copper) {
        m_Model.m_TrackList = std::move(m_Tracks);
        m_Model.m_FlashList = std::move(m_Flashes);
        m_Model.m_TrackRefList = std::move(m_PadTracks);
    }
    m_Model.m_ApertureList.clear();
    for (auto& a : m_Apertures)
        m_Model.m_ApertureList.push_back(std::make_unique<CApertureRecord>(a));
    if (m_Model.m_MacroList.size() > m_MacroCount)
        m_Model.m_MacroList.resize(m_MacroCount);
    g_GerberFormatDlg = m_Format;
    g_GerberUnitFactor = m_UnitFactor;
    g_GerberMetric = m_Metric;
    g_DominantPadRadius = m_DominantPad;
    g_PadRunStatistic = m_PadRuns;
    m_Model.m_GridStep = m_GridStep;
    m_Model.m_AreaFillFlag = m_AreaFillFlag;
    g_GerberShapeCodes = m_Shapes;
}

void ShiftToDataOrigin(COwnedList<CTrackRecord>& tracks, COwnedList<CFlashRecord>& pads)
{
    ShiftTracks(tracks, float(g_DataOriginX), float(g_DataOriginY));
    ShiftPadsToDataOrigin(pads);
}

void ShiftPadsToDataOrigin(COwnedList<CFlashRecord>& pads)
{
    ShiftFlashes(pads, float(g_DataOriginX), float(g_DataOriginY));
}

CDPoint GerberArcCentre(const CDPoint& start, const CDPoint& end, double i, double j,
                        bool signedOffsets)
{
    const std::string& dialect = g_CadDialect;
    if (signedOffsets || dialect == "ALLEGRO" || dialect == "POWERPCB" || dialect == "CSI" ||
        dialect == "PROTEL")
        return CDPoint(start.x + i, start.y + j);
    auto dist = [](const CDPoint& a, const CDPoint& b) {
        return DistanceF(float(a.x), float(a.y), float(b.x), float(b.y));
    };
    const double ai = std::fabs(i), aj = std::fabs(j);
    const CDPoint candidates[4] = {CDPoint(start.x + ai, start.y + aj),
                                   CDPoint(start.x + ai, start.y - aj),
                                   CDPoint(start.x - ai, start.y + aj),
                                   CDPoint(start.x - ai, start.y - aj)};
    for (const CDPoint& c : candidates)
        if (std::fabs(dist(c, start) - dist(c, end)) < 2.0 && ArcSweep(start, end, c) < 4.0)
            return c;
    for (const CDPoint& c : candidates)
        if (std::fabs(dist(c, start) - dist(c, end)) < 2.0)
            return c;
    return CDPoint(0, 0);
}

std::string TruncatedFileMessage(const std::string& path, long line)
{
    return FileLineMessage(IDS_GERBER_TRUNCATED, path, line);
}

std::string RefusedNumberMessage(const std::string& path, long line)
{
    return FileLineMessage(IDS_GERBER_BAD_NUMBER, path, line);
}

std::string DCodeBeyondTableMessage(const std::string& path, long line, const std::string& code)
{
    return WithValues(IDS_GERBER_DCODE_BEYOND_TABLE, {path, std::to_string(line), code});
}

std::string StepRepeatMessage(const std::string& path, long line)
{
    return FileLineMessage(IDS_GERBER_STEP_REPEAT, path, line);
}

void ReportMacroDivisionByZero(const std::string& path)
{
    AfxMessageBox(WithName(IDS_MACRO_DIVISION_BY_ZERO, path), MB_OK | MB_ICONWARNING);
}

void ReportBoardBeyondTable(const std::string& path)
{
    AfxMessageBox(WithName(IDS_BOARD_BEYOND_TABLE, path), MB_OK | MB_ICONWARNING);
}

void ReportUnsupportedPrimitive(const std::string& path, int code)
{
    // The number first, so a "%d" in the path is left as it is.
    std::string text = LoadResString(IDS_MACRO_PRIMITIVE);
    ReplaceFirst(text, "%d", std::to_string(code));
    ReplaceFirst(text, "%s", PrintableText(path));
    AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}

void ReportAreaTooLarge(const std::string& path)
{
    char inches[32];
    std::snprintf(inches, sizeof inches, "%.1f", LargestTableSide() / 1000.0);
    AfxMessageBox(WithValues(IDS_AREA_TOO_LARGE, {path, inches}), MB_OK | MB_ICONWARNING);
}

void ReportAreaNotClosed(const std::string& path)
{
    AfxMessageBox(WithName(IDS_AREA_NOT_CLOSED, path), MB_OK | MB_ICONWARNING);
}

void ShowFillProgress(const std::string& path, int percent)
{
    std::string text;
    if (percent >= 0) {
        text = WithName(IDS_FILLING_AREA, path);
        // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict)
        // about a literal plus a temporary string.
        text += ' ';
        text += std::to_string(percent);
        text += '%';
    }
    Host().SetStatusText(text);
    if (percent >= 0)
        PumpMessages();
}

void ReportWideApertureTable(std::size_t count)
{
    std::string text = LoadResString(IDS_WIDE_APERTURE_TABLE);
    ReplaceFirst(text, "%d", std::to_string(count));
    AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}
