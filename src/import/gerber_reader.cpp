// The Gerber layer readers: a copper side's photoplot into the model's
// tracks and pads. One reader, a sink of the Gerber interpreter, serves both
// forms: the plain one draws regions as outlines, the area-fill one (the
// default) fills them with strokes.
#include "import/gerber_reader.h"

#include "geometry/contour.h"
#include "geometry/plane_geometry.h"
#include "import/aperture_table.h"
#include "import/gerber_blocks.h"
#include "import/gerber_interpreter.h"
#include "import/gerber_reader_state.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "records/board_model.h"
#include "records/track_geometry.h"
#include "settings/gerber_format_dlg.h"
#include "settings/model_defaults.h"
#include "settings/work_order_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <unordered_map>
#include <vector>

namespace {

// A stroke of a filled contour as a copper track, already grouped.
std::unique_ptr<CTrackRecord> TrackOf(const CContourStroke& stroke)
{
    auto t = std::make_unique<CTrackRecord>();
    t->groupNo = stroke.groupNo;
    t->x1 = stroke.x1;
    t->y1 = stroke.y1;
    t->x2 = stroke.x2;
    t->y2 = stroke.y2;
    t->width = stroke.width;
    t->type = 0;
    t->joined = 1;
    return t;
}

constexpr float kPadShrink = 0.03f;      // end pads of the plain reader
constexpr float kFillPadShrink = 0.5f;   // end pads of the area-fill reader
// Polygons of a macro have 3 to 12 corners; a larger count is a broken file.
constexpr int kMaxPolygonVertices = 1000;

// The layer reader's aperture shape code survives from one read to the next.
int& ShapeCode() { return g_GerberShapeCodes.layer; }

// A pad of type 3 round an end of a track: the pads the grouping gives the
// track's group.
bool PadAtAnEnd(const CFlashRecord& pad, const CTrackRecord& t)
{
    if (pad.type != 3)
        return false;
    const double reach = double(pad.radius) - 1.5;
    return std::hypot(pad.x - t.x1, pad.y - t.y1) < reach || std::hypot(pad.x - t.x2, pad.y - t.y2) < reach;
}

// Which tracks touch, for the grouping: two round tracks where an end of one
// meets an end of the other, a round and a rectangular track where an end of
// the round one lies in the other. The ends, the rectangles and the pads are
// indexed once in grids, so grouping a large layer takes about as long as
// reading it, and the walk through what touches keeps its own stack, so a
// long chain cannot exhaust the program's.
class CTrackJoiner {
public:
    CTrackJoiner(const COwnedList<CTrackRecord>& tracks, const COwnedList<CFlashRecord>& pads)
    {
        m_Tracks.reserve(tracks.size());
        for (const auto& t : tracks)
            m_Tracks.push_back(t.get());
        m_Taken.assign(tracks.size(), false);
        for (std::size_t i = 0; i < m_Tracks.size(); ++i) {
            const CTrackRecord& t = *m_Tracks[i];
            if (t.type == 0) {
                for (const CDPoint& p : {CDPoint(t.x1, t.y1), CDPoint(t.x2, t.y2)}) {
                    m_Ends.Add(p.x, p.y, p.x, p.y, i);
                    m_EndsCoarse.Add(p.x, p.y, p.x, p.y, i);
                }
            } else if (t.type == 1) {
                const Box box = BoxOf(t);
                m_Rects.Add(box.x1, box.y1, box.x2, box.y2, i);
            }
        }
        for (std::size_t i = 0; i < pads.size(); ++i)
            if (pads[i]->type == 3) {
                const double x = pads[i]->x, y = pads[i]->y, r = pads[i]->radius;
                m_Pads.Add(x - r, y - r, x + r, y + r, i);
                m_PadList.push_back(pads[i].get());
            } else {
                m_PadList.push_back(nullptr);
            }
    }

    // Takes track `i` out of what later joins may take; false when it was
    // taken already.
    bool Take(std::size_t i)
    {
        if (m_Taken[i])
            return false;
        m_Taken[i] = true;
        return true;
    }

    // Appends to `joined` (and takes) every track not yet taken that is
    // connected to `seed`, depth first: each track's neighbours in list
    // order, a neighbour's own before the next.
    void Join(const CTrackRecord& seed, std::vector<std::size_t>& joined)
    {
        struct Frame {
            std::vector<std::size_t> next;
            std::size_t at = 0;
        };
        std::vector<Frame> stack(1);
        Touching(seed, stack.back().next);
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (top.at == top.next.size()) {
                stack.pop_back();
                continue;
            }
            const std::size_t u = top.next[top.at++];
            if (!Take(u))
                continue;
            joined.push_back(u);
            Frame frame;
            Touching(*m_Tracks[u], frame.next);
            stack.push_back(std::move(frame));
        }
    }

    // The pads round the ends of a round track, once each, in the flash
    // list's order.
    template <class List>
    void EndPads(const CTrackRecord& t, List& out) const
    {
        if (t.type != 0)
            return;
        std::vector<std::size_t> found;
        for (const CDPoint& p : {CDPoint(t.x1, t.y1), CDPoint(t.x2, t.y2)})
            m_Pads.Find(p.x, p.y, p.x, p.y, found);
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        for (std::size_t i : found)
            if (PadAtAnEnd(*m_PadList[i], t))
                out.push_back(m_PadList[i]);
    }

private:
    struct Box {
        double x1, y1, x2, y2;
    };

    // Items by the square cells their boxes cover. An item covering more
    // than kMaxCells cells, or lying beyond any board, is checked on every
    // search instead.
    class CGrid {
    public:
        explicit CGrid(double cell) : m_Cell(cell) {}

        void Add(double x1, double y1, double x2, double y2, std::size_t item)
        {
            long long cx1, cy1, cx2, cy2;
            if (!Cells(x1, y1, x2, y2, cx1, cy1, cx2, cy2) || (cx2 - cx1 + 1) * (cy2 - cy1 + 1) > kMaxCells) {
                m_Everywhere.push_back(item);
                return;
            }
            for (long long cx = cx1; cx <= cx2; ++cx)
                for (long long cy = cy1; cy <= cy2; ++cy)
                    m_Cells[Key(cx, cy)].push_back(item);
        }

        // Appends the items whose cells meet the box (some twice, some
        // that only come near).
        void Find(double x1, double y1, double x2, double y2, std::vector<std::size_t>& out) const
        {
            out.insert(out.end(), m_Everywhere.begin(), m_Everywhere.end());
            long long cx1, cy1, cx2, cy2;
            if (!Cells(x1, y1, x2, y2, cx1, cy1, cx2, cy2))
                return;
            if ((cx2 - cx1 + 1) * (cy2 - cy1 + 1) > kMaxCells) {
                for (const auto& cell : m_Cells)
                    out.insert(out.end(), cell.second.begin(), cell.second.end());
                return;
            }
            for (long long cx = cx1; cx <= cx2; ++cx)
                for (long long cy = cy1; cy <= cy2; ++cy)
                    if (auto it = m_Cells.find(Key(cx, cy)); it != m_Cells.end())
                        out.insert(out.end(), it->second.begin(), it->second.end());
        }

    private:
        static constexpr long long kMaxCells = 256;
        static constexpr double kFar = 1e9;  // cells, beyond any board

        bool Cells(double x1, double y1, double x2, double y2, long long& cx1, long long& cy1,
                   long long& cx2, long long& cy2) const
        {
            const double margin = 0.002;  // points closer than 0.001 meet
            const double a = std::floor((x1 - margin) / m_Cell), b = std::floor((y1 - margin) / m_Cell);
            const double c = std::floor((x2 + margin) / m_Cell), d = std::floor((y2 + margin) / m_Cell);
            if (!(std::fabs(a) < kFar && std::fabs(b) < kFar && std::fabs(c) < kFar && std::fabs(d) < kFar))
                return false;
            cx1 = (long long)a, cy1 = (long long)b, cx2 = (long long)c, cy2 = (long long)d;
            return true;
        }
        static std::uint64_t Key(long long cx, long long cy)
        {
            return (std::uint64_t(std::uint32_t(cx)) << 32) | std::uint32_t(cy);
        }

        double m_Cell;
        std::unordered_map<std::uint64_t, std::vector<std::size_t>> m_Cells;
        std::vector<std::size_t> m_Everywhere;
    };

    // What PointInTrack can find inside a rectangular track.
    static Box BoxOf(const CTrackRecord& t)
    {
        const double half = double(t.width) / 2.0;
        return {std::min<double>(t.x1, t.x2) - half, std::min<double>(t.y1, t.y2) - half,
                std::max<double>(t.x1, t.x2) + half, std::max<double>(t.y1, t.y2) + half};
    }

    // The tracks not yet taken that touch `t`, in list order.
    void Touching(const CTrackRecord& t, std::vector<std::size_t>& out) const
    {
        out.clear();
        std::vector<std::size_t> near;
        if (t.type == 0) {
            for (const CDPoint& p : {CDPoint(t.x1, t.y1), CDPoint(t.x2, t.y2)}) {
                near.clear();
                m_Ends.Find(p.x, p.y, p.x, p.y, near);
                for (std::size_t i : near) {
                    const CTrackRecord& u = *m_Tracks[i];
                    if (CDPoint(u.x1, u.y1) == p || CDPoint(u.x2, u.y2) == p)
                        out.push_back(i);
                }
                near.clear();
                m_Rects.Find(p.x, p.y, p.x, p.y, near);
                for (std::size_t i : near)
                    if (PointInTrack(*m_Tracks[i], p.x, p.y))
                        out.push_back(i);
            }
        } else if (t.type == 1) {
            const Box box = BoxOf(t);
            m_EndsCoarse.Find(box.x1, box.y1, box.x2, box.y2, near);
            for (std::size_t i : near) {
                const CTrackRecord& u = *m_Tracks[i];
                if (PointInTrack(t, u.x1, u.y1) || PointInTrack(t, u.x2, u.y2))
                    out.push_back(i);
            }
        }
        std::erase_if(out, [&](std::size_t i) { return m_Taken[i] || m_Tracks[i] == &t; });
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }

    std::vector<CTrackRecord*> m_Tracks;
    std::vector<bool> m_Taken;
    CGrid m_Ends{1.0};         // both ends of every round track
    CGrid m_EndsCoarse{64.0};  // the same, for the rectangles' searches
    CGrid m_Rects{64.0};       // rectangular tracks
    CGrid m_Pads{64.0};        // the flash list's pads of type 3
    std::vector<CFlashRecord*> m_PadList;
};

class CLayerReader : public CGerberSink {
public:
    CLayerReader(CBoardModel& model, bool fill)
        : m_Model(model), m_Apertures(model), m_Fill(fill)
    {
    }

    int Run(const std::string& paths, const std::function<void()>& loaded)
    {
        CGerberReadBackup backup(m_Model, true);
        m_Apertures.Load();
        m_Model.m_TrackList.clear();
        m_Model.m_FlashList.clear();
        m_Model.m_TrackRefList.clear();
        m_FillColumns.clear();
        m_FillBandRows.clear();
        m_FillColumnsIndexed = 0;
        try {
            const std::size_t expected = ExpectedGerberTracks(paths);
            m_Model.m_TrackList.reserve(expected);
            m_Pads.Reserve(2 * expected);
        } catch (const std::bad_alloc&) {
            // Room that cannot be set aside now is taken as the lists grow.
        }

        CGerberInterpreter interpreter(m_Apertures, *this);
        std::string rest = paths;
        std::string name;
        while (NextGerberPath(rest, name)) {
            CGerberSource in;
            if (!OpenGerberFile(in, name)) {
                CommitPads();
                backup.Keep();
                return 0;
            }
            interpreter.Read(in);
            std::string problem = in.ProblemMessage(true);
            if (!problem.empty()) {
                m_Pads.Clear();
                backup.Restore();
                AfxMessageBox(problem, MB_OK | MB_ICONSTOP);
                return 0;
            }
            // A region the file never ends keeps its outline: closed here, it
            // is drawn as a G37 before the end would have drawn it, and the
            // next file does not start inside it.
            if (m_RegionOpen) {
                RegionEnd();
                ReportAreaNotClosed(m_Path);
            }
        }
        CommitPads();
        backup.Keep();
        if (m_Model.m_ApertureList.size() > 256)
            ReportWideApertureTable(m_Model.m_ApertureList.size());
        ShiftToDataOrigin(m_Model.m_TrackList, m_Model.m_FlashList);
        ShiftPadsToDataOrigin(m_Model.m_PadList2);
        if (loaded)
            loaded();
        if (!m_Fill && g_GerberFormatDlg.GroupFlag)
            GroupTracks();
        return 1;
    }

private:
    // ---- records ----
    CTrackRecord* AddTrack(double x1, double y1, double x2, double y2, float width, int type,
                           bool padTrack, bool keepZeroWidth = false)
    {
        if (width <= 0.0f && !keepZeroWidth)
            return nullptr;
        CTrackRecord* raw =
            AddTail(m_Model.m_TrackList,
                    NewGerberTrack(x1, y1, x2, y2, width, type, m_Group, m_Model.m_ReaderState));
        if (padTrack)
            m_Model.m_TrackRefList.push_back(raw);
        return raw;
    }

    CFlashRecord* MakePad(double x, double y, float radius, int type, bool head)
    {
        if (radius <= 0.0f)
            return nullptr;
        return m_Pads.Add(NewGerberPad(x, y, radius, type, m_Model.m_ReaderState), head);
    }

    template <class Record>
    void SetAperture(Record* r) { SetApertureIndex(r, m_ApertureIndex); }

    void CommitPads() { m_Pads.MoveInto(m_Model.m_FlashList); }

    float EndPadRadius(float width) const
    {
        return width / 2.0f - (m_Fill ? kFillPadShrink : kPadShrink);
    }

    // ---- the interpreter's events ----
    void BeginFile(const std::string& path) override
    {
        m_Path = path;
        m_Model.m_ReaderState = 1;
        m_Aperture.clear();
        m_PenValid = m_StartPadPending = false;
        m_PrimitiveReported = false;
        m_TooLargeReported = false;
        m_RegionOpen = false;
    }

    bool InRegion() const override { return m_Fill ? m_InRegion : m_Model.m_AreaFillFlag != 0; }

    void RegionBegin() override
    {
        m_RegionOpen = true;
        if (m_Fill) {
            m_Contour.Clear();
            m_InRegion = true;
        } else {
            ShapeCode() = 0;
            m_Model.m_AreaFillFlag = 1;
            m_Model.m_GridStep = std::min(m_Model.m_GridStep, 2);
        }
    }

    void RegionEnd() override
    {
        m_RegionOpen = false;
        if (m_Fill) {
            if (m_InRegion)
                CloseRegion();
            m_InRegion = false;
        } else {
            m_Model.m_AreaFillFlag = 0;
        }
    }

    // ---- arcs ----
    CDPoint Arc(const CDPoint& from, const CGerberArc& arc) override
    {
        const CDPoint centre = arc.Centre(from);
        const float w = m_Apertures.Width(m_Aperture);
        m_ApertureIndex = m_Apertures.Index(m_Aperture);
        return ChordArc(from, arc.end, centre, arc.ccw, w);
    }

    CDPoint ChordArc(const CDPoint& start, const CDPoint& end, const CDPoint& c, bool ccw, float w)
    {
        const double r = DistanceF(float(c.x), float(c.y), float(start.x), float(start.y));
        const double step = r > 1000 ? 0.01 : r > 200 ? 0.05 : r > 100 ? 0.1 : 0.2;
        const double rawA1 = std::atan2(start.y - c.y, start.x - c.x);
        const double rawA2 = std::atan2(end.y - c.y, end.x - c.x);
        double a1 = rawA1, a2 = rawA2;
        auto at = [&](double a) { return CDPoint(c.x + r * std::cos(a), c.y + r * std::sin(a)); };
        const bool inRegion = m_Fill && m_InRegion;
        if (!inRegion) {
            ++m_Model.m_ReaderState;
            auto arc = std::make_unique<CTrackRecord>();
            arc->type = 8;
            arc->x1 = float(c.x);
            arc->y1 = float(c.y);
            arc->x2 = float(ccw ? rawA1 : rawA2);
            arc->y2 = float(ccw ? rawA2 : rawA1);
            arc->width = float(r);
            arc->arcHalfWidth = w / 2.0f;
            arc->recordNo = m_Model.m_ReaderState;
            arc->groupNo = m_Group;
            m_Model.m_TrackList.push_back(std::move(arc));
        }
        if (ccw) {
            const double twoPi = 2 * 3.1415925;
            if (a1 <= 0)
                a1 += twoPi;
            if (a2 <= 0)
                a2 += twoPi;
            if (a2 <= a1)
                a2 += twoPi;  // start = end: the full circle
            if (a1 == 0 && a2 == 0)
                a2 = 6.283185;
        } else {
            const double twoPi = 2 * 3.1415927;
            if (a1 > 0)
                a1 -= twoPi;
            if (a2 > 0)
                a2 -= twoPi;
            // start = end is the full circle, as it is counter-clockwise.
            if (a1 <= a2)
                a2 -= twoPi;
            if (a1 == 0 && a2 == 0)
                a2 = -6.283185;
        }
        const float pad = EndPadRadius(w);
        double a = a1;
        bool first = true;
        auto chord = [&](const CDPoint& p, const CDPoint& q) {
            CTrackRecord* t = AddTrack(p.x, p.y, q.x, q.y, w, ShapeCode(), false, true);
            t->chordMark = 100;
            SetAperture(t);
        };
        auto chordPad = [&](const CDPoint& p, float radius) {
            if (CFlashRecord* f = MakePad(p.x, p.y, radius, 3, true)) {
                f->arcMark = 100;
                SetAperture(f);
            }
        };
        while (ccw ? a + step < a2 : a2 < a - step) {
            const double b = ccw ? a + step : a - step;
            if (inRegion) {
                m_Contour.AddPoint(at(a));
            } else {
                chord(at(a), at(b));
                chordPad(at(a), ccw && !first ? w / 2.0f : pad);
            }
            first = false;
            a = b;
        }
        const CDPoint last = at(a2);
        if (inRegion) {
            m_Contour.AddPoint(at(a));
            m_Contour.AddPoint(end);
            return end;
        }
        chord(at(a), last);
        chordPad(at(a), pad);
        chordPad(last, pad);
        ++m_Model.m_ReaderState;
        return last;
    }

    // ---- operations ----
    // An aperture file without units of its own is measured at the plain
    // reader's first operation, unless the file defines its apertures.
    void CheckApertureUnits()
    {
        if (g_GerberFormatDlg.AutoFormat && !m_Fill && !m_UnitsChecked) {
            m_UnitsChecked = true;
            DetectApertureUnits();
        }
    }

    void SelectAperture(const std::string& code) override
    {
        CheckApertureUnits();
        m_Aperture = code;
        const std::string shape = m_Apertures.Shape(m_Aperture);
        ShapeCode() = Contains(shape, "ROUND")   ? 0
                      : Contains(shape, "RECT")  ? 1
                      : Contains(shape, "MACRO") ? 3
                                                 : 2;
        ++m_Group;
    }

    void Move(const CDPoint&) override
    {
        CheckApertureUnits();
        m_StartPadPending = true;
        m_PenValid = true;
        if (m_Fill || !g_GerberFormatDlg.GroupFlag)
            ++m_Group;
    }

    void DetectApertureUnits()
    {
        auto& table = m_Model.m_ApertureList;
        if (table.empty())
            return;
        double sum = 0;
        for (auto& a : table)
            sum += a->width;
        const double m = sum / double(table.size());
        float factor = 1.0f;
        if (m > 500) {
            factor = 1.0f / 39.37f;
            g_GerberFormatDlg.InchMM2 = 0;
        } else if (m > 8) {
            g_GerberFormatDlg.InchMM2 = 0;
        } else if (m > 0.1) {
            factor = 39.37f;
            g_GerberFormatDlg.InchMM2 = 1;
        } else {
            factor = 1000.0f;
            g_GerberFormatDlg.InchMM2 = 0;
        }
        if (factor != 1.0f)
            for (auto& a : table) {
                a->width *= factor;
                a->height *= factor;
                a->userValue *= factor;
            }
    }

    void Draw(const CDPoint& from, const CDPoint& to) override
    {
        CheckApertureUnits();
        if (m_Fill && m_InRegion) {
            m_Contour.AddPoint(to);
            return;
        }
        if (!m_PenValid) {
            m_PenValid = true;
            if (m_Fill)
                ++m_Group;
            return;
        }
        const float w = m_Apertures.Width(m_Aperture);
        const float h = m_Apertures.Height(m_Aperture);
        m_ApertureIndex = m_Apertures.Index(m_Aperture);
        const int shape = ShapeCode();
        const double x = to.x, y = to.y;
        if (to == from) {
            if (shape == 0 || shape == 2) {
                const float d = w - h;
                if (d == 0.0f) {
                    if (CFlashRecord* f = MakePad(x, y, w / 2.0f, shape, true))
                        f->spare40 = m_Fill ? 1 : 0;
                } else if (d > 0.0f) {
                    AddTrack(x - d / 2, y, x + d / 2, y, h, shape, true);
                } else {
                    AddTrack(x, y + d / 2, x, y - d / 2, w, shape, true);
                }
            } else if (shape == 1) {
                AddTrack(x, y - h / 2, x, y + h / 2, w, 1, true);
            }
            return;
        }
        if (shape == 0 || shape == 2) {
            CTrackRecord* t = AddTrack(from.x, from.y, x, y, w, shape, false);
            if (t && m_Fill)
                t->joined = 1;
            ++m_Model.m_ReaderState;
            const float r = EndPadRadius(w);
            if (m_StartPadPending) {
                if (CFlashRecord* f = MakePad(from.x, from.y, r, 3, true))
                    f->spare40 = m_Fill ? 1 : 0;
                m_StartPadPending = false;
            }
            if (CFlashRecord* f = MakePad(x, y, r, 3, true))
                f->spare40 = m_Fill ? 1 : 0;
        } else if (shape == 1) {
            CDPoint s, e;
            LengthenSquareEnds(from, to, h, s, e);
            CTrackRecord* t = AddTrack(s.x, s.y, e.x, e.y, w, 1, false);
            if (t && m_Fill)
                t->joined = 1;
            ++m_Model.m_ReaderState;
        }
    }

    void Flash(const CDPoint& at) override
    {
        CheckApertureUnits();
        const float w = m_Apertures.Width(m_Aperture);
        const float h = m_Apertures.Height(m_Aperture);
        m_ApertureIndex = m_Apertures.Index(m_Aperture);
        const int shape = ShapeCode();
        const double x = at.x, y = at.y;
        const int mark = m_Fill ? 1 : 0;
        if (shape == 0 || shape == 2) {
            const float d = w - h;
            const int type = m_Fill ? shape : 0;
            if (d == 0.0f) {
                const float r = w / 2.0f;
                CFlashRecord* f = nullptr;
                if (r > 0.0f) {
                    f = MakePad(x, y, r, type, false);
                    f->spare40 = mark;
                }
                ++m_Model.m_ReaderState;
                KeepLongestRunValue(r);
            } else {
                CTrackRecord* t = d > 0 ? AddTrack(x - d / 2, y, x + d / 2, y, h, type, true)
                                        : AddTrack(x, y + d / 2, x, y - d / 2, w, type, true);
                ++m_Model.m_ReaderState;
                if (t) {
                    t->joined = mark;
                    const float r = m_Fill ? t->width / 2 - kFillPadShrink : t->width / 2;
                    for (auto [px, py] : {std::pair{t->x1, t->y1}, std::pair{t->x2, t->y2}})
                        if (CFlashRecord* f = MakePad(px, py, r, 3, true))
                            f->spare40 = mark;
                }
            }
        } else if (shape == 1) {
            if (CTrackRecord* t = AddTrack(x, y - h / 2, x, y + h / 2, w, 1, true))
                t->joined = mark;
            ++m_Model.m_ReaderState;
        } else if (shape == 3) {
            FlashMacro(x, y);
        }
        // The pen stands on the flash: a draw from there is a track.
        m_PenValid = true;
        m_StartPadPending = false;
    }

    // ---- aperture macros ----
    void FlashMacro(double x, double y)
    {
        CApertureRecord* aperture = m_Apertures.Find(m_Aperture);
        if (!aperture || !aperture->macro)
            return;
        // Assignments change the parameters for the primitives after them.
        std::vector<float> params = aperture->params;
        const std::string& body = aperture->macro->body;
        std::size_t pos = 0;
        while (pos < body.size()) {
            std::size_t end = body.find('*', pos);
            if (end == std::string::npos)
                end = body.size();
            std::string primitive = body.substr(pos, end - pos);
            pos = end + 1;
            if (ApplyMacroAssignment(primitive, params))
                continue;
            std::vector<std::string> fields;
            std::size_t fp = 0;
            std::string field;
            while (fp < primitive.size()) {
                fp = CopyGerberField(primitive, fp, field);
                fields.push_back(field);
            }
            if (fields.empty())
                continue;
            std::string first = fields[0];
            first.erase(0, first.find_first_not_of(" \t"));
            if (first.empty() || !std::isdigit(static_cast<unsigned char>(first[0])))
                continue;
            Primitive(std::atoi(first.c_str()), fields, params, x, y);
        }
    }

    static double Value(const std::vector<std::string>& f, std::size_t n, const std::vector<float>& params)
    {
        return n < f.size() ? EvalMacroOperand(f[n], params) : 0.0;
    }

    void Primitive(int code, const std::vector<std::string>& f, const std::vector<float>& params,
                   double x, double y)
    {
        // Rotation is in degrees about the macro origin (the flash point);
        // EvalMacroOperand gives thousandths, so the angle is read as a
        // plain number.
        auto angle = [&](std::size_t n) {
            if (n >= f.size())
                return 0.0;
            const std::string& t = f[n];
            bool param = !t.empty() && t[0] == '$';
            double v = EvalMacroOperand(t, params) / 1000.0;
            // A literal angle is not a length: undo the millimetre scaling.
            if (!param && g_GerberFormatDlg.InchMM == 1)
                v /= (39.37 / 1000.0);
            return v * 3.14159265358979 / 180.0;
        };
        auto place = [&](double px, double py, double rot) {
            const double c = std::cos(rot), s = std::sin(rot);
            return CDPoint(x + px * c - py * s, y + px * s + py * c);
        };
        switch (code) {
        case 0:  // comment
            return;
        case 1: {
            const CDPoint p = place(Value(f, 3, params), Value(f, 4, params), angle(5));
            const float r = float(Value(f, 2, params) / 2);
            if (r > 0.0f) {
                MakePad(p.x, p.y, r, 0, false);
            }
            ++m_Model.m_ReaderState;
            return;
        }
        case 2:
        case 20: {
            const double rot = angle(7);
            const CDPoint a = place(Value(f, 3, params), Value(f, 4, params), rot);
            const CDPoint b = place(Value(f, 5, params), Value(f, 6, params), rot);
            AddTrack(a.x, a.y, b.x, b.y, float(Value(f, 2, params)), 1, false);
            return;
        }
        case 21: {
            const double rot = angle(6);
            const double w = Value(f, 2, params), h = Value(f, 3, params);
            const double cx = Value(f, 4, params), cy = Value(f, 5, params);
            const CDPoint a = place(cx - w / 2, cy, rot);
            const CDPoint b = place(cx + w / 2, cy, rot);
            AddTrack(a.x, a.y, b.x, b.y, float(h), 1, false);
            return;
        }
        case 4: {
            const int n = int(Value(f, 2, params) / 1000.0 /
                              (g_GerberFormatDlg.InchMM == 1 ? 39.37 / 1000.0 : 1.0) + 0.5);
            if (n < 1 || f.size() < std::size_t(3 + 2 * (n + 1)))
                break;
            const double rot = angle(std::size_t(3 + 2 * (n + 1)));
            std::vector<CDPoint> points;
            for (int k = 0; k <= n; ++k)
                points.push_back(place(Value(f, std::size_t(3 + 2 * k), params),
                                       Value(f, std::size_t(4 + 2 * k), params), rot));
            Outline(points);
            return;
        }
        case 5: {
            // A regular polygon: made an outline like primitive 4.
            const int n = int(Value(f, 2, params) / 1000.0 /
                              (g_GerberFormatDlg.InchMM == 1 ? 39.37 / 1000.0 : 1.0) + 0.5);
            if (n < 3 || n > kMaxPolygonVertices)
                break;
            const double cx = Value(f, 3, params), cy = Value(f, 4, params);
            const double r = Value(f, 5, params) / 2;
            const double rot = angle(6);
            std::vector<CDPoint> points;
            for (int k = 0; k <= n; ++k) {
                const double a = 2 * 3.14159265358979 * k / n;
                points.push_back(place(cx + r * std::cos(a), cy + r * std::sin(a), rot));
            }
            Outline(points);
            return;
        }
        default:
            break;
        }
        if (!m_PrimitiveReported) {
            m_PrimitiveReported = true;
            ReportUnsupportedPrimitive(m_Path, code);
        }
    }

    // Fills a contour; one that is too large is left as its outline, and
    // the operator hears of it once per file.
    void FillContour(CContour& contour)
    {
        bool shown = false;
        // No machine takes a board wider than its table: a larger area is
        // a damaged file or no board for this program, and its fill would
        // cost minutes and the memory of millions of strokes.
        const bool filled = contour.ComputeFill(
            [&](int percent) {
                shown = true;
                ShowFillProgress(m_Path, percent);
            },
            LargestTableSide());
        if (shown)
            ShowFillProgress(m_Path, -1);
        if (!filled && !m_TooLargeReported) {
            m_TooLargeReported = true;
            ReportAreaTooLarge(m_Path);
        }
    }

    void Outline(const std::vector<CDPoint>& points)
    {
        CContour contour;
        for (const CDPoint& p : points)
            contour.AddPoint(p);
        FillContour(contour);
        ++m_Group;
        for (const CContourStroke& stroke : contour.m_DrawRecords) {
            CTrackRecord* t = AddTail(m_Model.m_TrackList, TrackOf(stroke));
            t->groupNo = m_Group;
            t->recordNo = m_Model.m_ReaderState++;
            const float r = t->width / 2 - kPadShrink;
            for (auto [px, py] : {std::pair{t->x1, t->y1}, std::pair{t->x2, t->y2}})
                SetAperture(MakePad(px, py, r, 3, true));
        }
        contour.m_DrawRecords.clear();
    }

    // ---- regions of the area-fill reader ----
    // A new column of the overlap deletion: its x, its place in the
    // region's list and the stroke.
    struct ColumnAt {
        float x;
        std::size_t k;
        CTrackRecord* t;
    };

    void CloseRegion()
    {
        FillContour(m_Contour);
        ++m_Group;
        COwnedList<CTrackRecord>& fresh = m_Fresh;
        fresh.clear();
        for (const CContourStroke& stroke : m_Contour.m_DrawRecords)
            fresh.push_back(TrackOf(stroke));
        m_Contour.m_DrawRecords.clear();
        if (g_GerberFormatDlg.OverlapDelete)
            DeleteOverlaps(fresh);
        for (auto& stroke : fresh) {
            CTrackRecord* t = AddTail(m_Model.m_TrackList, std::move(stroke));
            t->recordNo = m_Model.m_ReaderState++;
            t->groupNo = m_Group;
            for (auto [px, py] : {std::pair{t->x1, t->y1}, std::pair{t->x2, t->y2}})
                if (CFlashRecord* f = MakePad(px, py, t->width / 2, 3, true)) {
                    f->aperture = t->aperture;
                    f->apertureNo = t->apertureNo;
                    f->spare40 = 1;
                    f->groupNo = m_Group;
                }
        }
        fresh.clear();
        m_Contour.Clear();
    }

    static void TopFirst(CTrackRecord& t)
    {
        if (t.y1 < t.y2)
            std::swap(t.y1, t.y2);
    }

    // Whether a new column can still be cut: longer than 3 mil, and not cut
    // yet.
    static bool Cuttable(const CTrackRecord& n) { return !(std::fabs(n.y1 - n.y2) <= 3.0f) && n.recordNo == 0; }

    // An earlier column `e` that runs past both ends of the new one `n`
    // gives up the stretch they share; `n` takes what is left of `e` below it.
    static void GiveWay(CTrackRecord& e, CTrackRecord& n)
    {
        if (!Cuttable(n) || std::fabs(n.x1 - e.x1) >= 3.0f || n.width != e.width)
            return;
        TopFirst(e);
        TopFirst(n);
        if (!(e.y1 > n.y1 && e.y2 < n.y2))
            return;
        n.recordNo = 1;
        std::swap(e.y2, n.y1);
        TopFirst(e);
        TopFirst(n);
    }

    // Earlier fill columns that run past both ends of a new one give up the
    // stretch they share with it: the overlap stays unfilled.
    void DeleteOverlaps(COwnedList<CTrackRecord>& fresh)
    {
        // The new strokes that can meet an earlier column: vertical (which
        // no x that is not a number is), of the one width the index holds
        // and longer than 3 mil, by x, in list order where x is equal. The
        // others, and one already cut, never pass GiveWay's first test.
        std::vector<ColumnAt>& byX = m_ByX;
        byX.clear();
        for (std::size_t k = 0; k < fresh.size(); ++k) {
            CTrackRecord& n = *fresh[k];
            if (n.x1 == n.x2 && n.width == kFillColumnWidth && Cuttable(n))
                byX.push_back({n.x1, k, &n});
        }
        if (byX.empty())
            return;
        // A fill's columns come from left to right, so they are in x order
        // already and, within any run of x, in list order.
        const bool inListOrder = std::is_sorted(
            byX.begin(), byX.end(), [](const ColumnAt& a, const ColumnAt& b) { return a.x < b.x; });
        if (!inListOrder)
            std::sort(byX.begin(), byX.end(), [](const ColumnAt& a, const ColumnAt& b) {
                if (a.x < b.x || b.x < a.x)
                    return a.x < b.x;
                return a.k < b.k;
            });
        auto firstAbove = [&](float x) {
            return std::upper_bound(byX.begin(), byX.end(), x,
                                    [](float v, const ColumnAt& c) { return v < c.x; });
        };

        // Only earlier columns within reach of a new one, and (when they
        // already run top first) beside the area's height, can share with
        // it; they are taken in list order, as a walk of the whole list would.
        IndexFillColumns();
        std::vector<std::size_t>& earlier = m_Earlier;
        earlier.clear();
        GatherFillColumns(byX, earlier);

        auto& tracks = m_Model.m_TrackList;
        std::vector<std::size_t>& near = m_Near;
        for (std::size_t index : earlier) {
            CTrackRecord& e = *tracks[index];
            const auto from = firstAbove(e.x1 - 3.0f);
            auto to = from;
            while (to != byX.end() && to->x < e.x1 + 3.0f)
                ++to;
            if (inListOrder) {
                for (auto it = from; it != to; ++it)
                    GiveWay(e, *it->t);
                continue;
            }
            near.clear();
            for (auto it = from; it != to; ++it)
                near.push_back(it->k);
            std::sort(near.begin(), near.end());
            for (std::size_t k : near)
                GiveWay(e, *fresh[k]);
        }
    }

    // Appends to `earlier`, in list order and once each, the indexed
    // columns in the cells that the new columns `byX` (in x order) reach,
    // less those that GiveWay would leave as they are with every one of
    // them.
    void GatherFillColumns(const std::vector<ColumnAt>& byX, std::vector<std::size_t>& earlier)
    {
        float top = -std::numeric_limits<float>::infinity(), bottom = -top;
        bool allTopFirst = true;
        for (const ColumnAt& c : byX) {
            top = std::max({top, c.t->y1, c.t->y2});
            bottom = std::min({bottom, c.t->y1, c.t->y2});
            allTopFirst = allTopFirst && !(c.t->y1 < c.t->y2);
        }
        // While the new columns run top first (a fill's always do), one
        // that is cut stays so and is cut no more, and the others keep
        // their ends: an earlier column that runs top first too and does
        // not reach below the lowest of them and above the highest meets
        // none in full, so GiveWay would not touch it or them.
        const auto& tracks = m_Model.m_TrackList;
        auto mayGiveWay = [&](std::size_t index) {
            const CTrackRecord& e = *tracks[index];
            return !allTopFirst || e.y1 < e.y2 || (e.y1 > bottom && e.y2 < top);
        };
        const bool allRows =
            !(std::isfinite(top) && std::isfinite(bottom) && FillRow(top) - FillRow(bottom) < kMaxRows);
        const long long rowLow = allRows ? 0 : FillRow(bottom), rowHigh = allRows ? -1 : FillRow(top);
        // The bands each new column reaches, each once: in x order the
        // reaches only move right.
        long long nextBand = std::numeric_limits<long long>::min();
        std::size_t lists = 0;
        auto take = [&](const std::vector<std::size_t>& list) {
            for (std::size_t index : list)
                if (mayGiveWay(index))
                    earlier.push_back(index);
            ++lists;
        };
        auto cell = [&](long long band, long long row) {
            if (auto found = m_FillColumns.find(FillKey(band, row)); found != m_FillColumns.end())
                take(found->second);
        };
        for (const ColumnAt& c : byX) {
            const long long last = FillBand(c.x + kBandReach);
            for (long long b = std::max(nextBand, FillBand(c.x - kBandReach)); b <= last; ++b) {
                if (allRows) {
                    if (auto rows = m_FillBandRows.find(std::uint32_t(b)); rows != m_FillBandRows.end())
                        for (long long r : rows->second)
                            cell(b, r);
                    continue;
                }
                cell(b, kAnyRow);
                for (long long r = rowLow; r <= rowHigh; ++r)
                    cell(b, r);
            }
            nextBand = std::max(nextBand, last + 1);
        }
        // Each cell's list is in list order already.
        if (lists > 1) {
            std::sort(earlier.begin(), earlier.end());
            earlier.erase(std::unique(earlier.begin(), earlier.end()), earlier.end());
        }
    }

    // The index cells: bands of x 4 mil wide by rows of y an inch high. A
    // column within 3 mil of x lies in a band of x - kBandReach to
    // x + kBandReach (the extra half mil covers rounding). A column that
    // does not run top first yet is turned by the deletion wherever a new
    // column comes near, so it is kept in its band's row kAnyRow, as is one
    // too long or not finite.
    static constexpr double kBandWidth = 4.0, kBandReach = 3.5, kRowHeight = 1000.0;
    static constexpr float kFillColumnWidth = 3.0f;  // the contour fill's
    static constexpr long long kAnyRow = -(1LL << 31), kMaxRows = 64;
    static long long Cell(double v)
    {
        // Coordinates beyond any board share the outermost cells.
        if (std::isnan(v))
            return 0;
        return v >= 1e9 ? 1000000000LL : v <= -1e9 ? -1000000000LL : (long long)std::floor(v);
    }
    static long long FillBand(double x) { return Cell(x / kBandWidth); }
    static long long FillRow(double y) { return Cell(y / kRowHeight); }
    static std::uint64_t FillKey(long long band, long long row)
    {
        return (std::uint64_t(std::uint32_t(band)) << 32) | std::uint32_t(row);
    }

    void IndexFillColumns()
    {
        auto& tracks = m_Model.m_TrackList;
        for (; m_FillColumnsIndexed < tracks.size(); ++m_FillColumnsIndexed) {
            const CTrackRecord& e = *tracks[m_FillColumnsIndexed];
            if (e.width != kFillColumnWidth || e.x1 != e.x2)
                continue;
            const long long band = FillBand(e.x1);
            if (e.y1 >= e.y2 && std::isfinite(e.y1) && std::isfinite(e.y2) &&
                FillRow(e.y1) - FillRow(e.y2) < kMaxRows) {
                for (long long r = FillRow(e.y2), high = FillRow(e.y1); r <= high; ++r)
                    IndexFillColumn(band, r);
            } else {
                IndexFillColumn(band, kAnyRow);
            }
        }
    }

    void IndexFillColumn(long long band, long long row)
    {
        std::vector<std::size_t>& list = m_FillColumns[FillKey(band, row)];
        if (list.empty())
            m_FillBandRows[std::uint32_t(band)].push_back(row);
        list.push_back(m_FillColumnsIndexed);
    }

    // ---- grouping ----
    void GroupTracks()
    {
        auto& tracks = m_Model.m_TrackList;
        if (g_GerberFormatDlg.LargeArea && !tracks.empty()) {
            int bestGroup = 0, bestRun = 0, run = 0, runGroup = tracks.front()->groupNo;
            for (auto& t : tracks) {
                if (t->groupNo == runGroup) {
                    ++run;
                    continue;
                }
                if (run > bestRun) {
                    bestRun = run;
                    bestGroup = runGroup;
                }
                runGroup = t->groupNo;
                run = 1;
            }
            if (bestRun > 0 && tracks.size() < std::size_t(10 * bestRun))
                for (auto& t : tracks)
                    if (t->groupNo == bestGroup)
                        t->joined = 1;
        }
        // Each track not yet grouped starts a group of every track connected
        // to it, in list order; tracks already marked joined keep their group.
        int group = m_Group + 10;
        COwnedList<CTrackRecord> holding;
        CTrackJoiner joiner(tracks, m_Model.m_FlashList);
        std::vector<std::size_t> members;
        std::vector<CFlashRecord*> pads;
        for (std::size_t i = 0; i < tracks.size(); ++i) {
            if (!joiner.Take(i))
                continue;
            if (tracks[i]->joined) {
                holding.push_back(std::move(tracks[i]));
                continue;
            }
            members.assign(1, i);
            joiner.Join(*tracks[i], members);
            pads.clear();
            for (std::size_t k = 1; k < members.size(); ++k)
                joiner.EndPads(*tracks[members[k]], pads);
            // The joined tracks are owned in the order they were joined.
            for (std::size_t k : members) {
                tracks[k]->joined = 1;
                tracks[k]->groupNo = group;
                holding.push_back(std::move(tracks[k]));
            }
            for (CFlashRecord* pad : pads)
                pad->groupNo = group;
            ++group;
        }
        m_Model.m_JoinList.clear();
        m_Model.m_EndPadList.clear();
        tracks = std::move(holding);
    }

    CBoardModel& m_Model;
    CApertureTable m_Apertures;
    const bool m_Fill;
    int m_Group = 0;
    CContour m_Contour;
    bool m_InRegion = false;
    bool m_UnitsChecked = false;
    // Per file.
    std::string m_Aperture;
    int m_ApertureIndex = 0;
    // A D01 right after a move draws; one after a flash, or first in a file,
    // only sets where the next stroke starts. A move's start pad waits for
    // the stroke.
    bool m_PenValid = false, m_StartPadPending = false;
    bool m_PrimitiveReported = false;
    bool m_TooLargeReported = false;
    bool m_RegionOpen = false;  // a G36 without its G37 so far
    std::string m_Path;
    // The list's vertical fill-width tracks by band of x, for the overlap
    // deletion; the list only grows during a read, so the index follows it.
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> m_FillColumns;
    // The rows that hold columns in each band, for a new column taller than
    // the rows are looked up one by one: it visits only its bands' cells,
    // never the whole index.
    std::unordered_map<std::uint32_t, std::vector<long long>> m_FillBandRows;
    std::size_t m_FillColumnsIndexed = 0;
    // The region's strokes and the overlap deletion's lists, kept from one
    // region to the next.
    COwnedList<CTrackRecord> m_Fresh;
    std::vector<ColumnAt> m_ByX;
    std::vector<std::size_t> m_Earlier, m_Near;
    CPadCollector m_Pads;
};

}  // namespace

int ReadGerberLayer(CBoardModel& model, const std::string& paths, bool fill,
                    const std::function<void()>& loaded)
{
    return CLayerReader(model, fill).Run(paths, loaded);
}

int JoinTracks(CBoardModel& model, CTrackRecord* t)
{
    COwnedList<CTrackRecord>& tracks = model.m_TrackList;
    CTrackJoiner joiner(tracks, model.m_FlashList);
    for (std::size_t i = 0; i < tracks.size(); ++i)
        if (tracks[i].get() == t ||
            std::find(model.m_JoinList.begin(), model.m_JoinList.end(), tracks[i].get()) !=
                model.m_JoinList.end())
            joiner.Take(i);
    std::vector<std::size_t> joined;
    joiner.Join(*t, joined);
    for (std::size_t k : joined) {
        CTrackRecord* u = tracks[k].get();
        model.m_JoinList.push_back(u);
        joiner.EndPads(*u, model.m_EndPadList);
        model.m_JoinedTracks.push_back(std::move(tracks[k]));
    }
    std::erase(tracks, nullptr);
    return 1;
}

int CollectEndPads(CBoardModel& model, CTrackRecord* t)
{
    for (auto& pad : model.m_FlashList)
        if (PadAtAnEnd(*pad, *t))
            model.m_EndPadList.push_back(pad.get());
    return 1;
}
