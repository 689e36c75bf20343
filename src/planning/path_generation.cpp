// Isolation paths from the cut raster: the finders that choose a walk's next
// interval end, the walk that turns the ends it visits into straight
// segments, arcs round flashes and the lines joining them, and the pruning of
// short intervals before the path-layer generators walk.
#include "planning/path_generation.h"

#include "geometry/plane_geometry.h"
#include "platform/message_pump.h"
#include "planning/scan_raster.h"
#include "records/board_extent.h"
#include "records/board_model.h"
#include "records/copper_records.h"
#include "records/planner_records.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace {

// How far a walk reaches for its next end, in grid pitches.
constexpr double kReachPitches = 1.6;
// An end of the shape the walk is following counts this many times nearer,
// so a walk stays on its outline rather than jumping to a neighbour.
constexpr double kSameShapeBonus = 1.4;
// The distance of an end the finders do not accept.
constexpr double kNoEnd = 99999.0;
// A walk whose last point lies within this many pitches of its start closes
// its outline.
constexpr double kClosePitches = 2.0;
// A new end lies straight on from a segment when the directions back to the
// segment's start and on to the end differ from a half turn by at most this.
constexpr double kCollinearTolerance = 0.05;
constexpr double kHalfTurn = 3.1415926;
constexpr double kFullTurn = 6.2831852;
// Points an arc needs to be kept as an arc; the one before the last of them
// is the arc's middle reference that decides its direction.
constexpr int kArcMinPoints = 6;
// How far a walk's arc may stray from the points it was walked through, and
// they from it, before its piece is kept as lines through them (mil), when
// the walk keeps its pieces true.
constexpr double kArcFitSlack = 0.25;
// The short intervals pruned before the path-layer walks, mil.
constexpr float kShortInterval = 3.0f;
// Lines the finders look at on each axis: the near ones and the wide ones.
constexpr int kNearLines = 4;
constexpr int kWideLines = 3;
// Slack on the index's window, mil: far above the rounding of a distance.
constexpr double kWindowSlack = 0.01;

// What an end is, for the walk. A flash end whose flash record is missing (an
// arc without its pad record) has no centre to walk round, so it is walked as
// a track side.
enum class EndKind { None, Side, Cap, Flash };

EndKind KindOf(int tag, const void* source)
{
    if ((tag & ScanTag::kCap) == ScanTag::kCap)
        return EndKind::Cap;
    if (tag & ScanTag::kFlash)
        return source ? EndKind::Flash : EndKind::Side;
    if (tag & (ScanTag::kSlopedSide | ScanTag::kHorizontalSide | ScanTag::kVerticalSide))
        return EndKind::Side;
    return EndKind::None;
}

// One candidate line of a finder: the line, where it sits in the model's
// list, and whether it is a row.
struct CandidateLine {
    CSubList* line = nullptr;
    std::size_t position = 0;
    bool row = false;
};

// The lines a finder looks at, columns first: `perAxis` of each, starting
// with the one below the point. Slots of lines past the end of a list stay
// empty so a row always sits at slot perAxis or later. False when either
// axis has no line below the point.
bool CandidateLines(CBoardModel& model, float x, float y, int perAxis, CandidateLine* slots)
{
    std::size_t column = 0, row = 0;
    if (!ScanLineAt(model, model.m_ColumnList, x, &column))
        return false;
    if (!ScanLineAt(model, model.m_RowList, y, &row))
        return false;
    for (int i = 0; i < perAxis; ++i) {
        std::size_t c = column - 1 + static_cast<std::size_t>(i);
        if (c < model.m_ColumnList.size())
            slots[i] = {model.m_ColumnList[c].get(), c, false};
        std::size_t r = row - 1 + static_cast<std::size_t>(i);
        if (r < model.m_RowList.size())
            slots[perAxis + i] = {model.m_RowList[r].get(), r, true};
    }
    return true;
}

// The rule of one finder: which ends it accepts and which count nearer.
struct EndRule {
    bool anyNet;               // any unused end, whatever its net
    std::uint32_t net;
    bool bonus;                // ends of `source` count 1.4 times nearer
    const void* source;

    double Weigh(std::uint8_t tag, std::uint32_t endNet, const void* endSource, float x, float y,
                 float ex, float ey) const
    {
        double d = kNoEnd;
        if (!(tag & ScanTag::kUsed) && (anyNet || endNet == net))
            d = DistanceF(x, y, ex, ey);
        if (bonus && endSource == source)
            d = d / kSameShapeBonus;
        return d;
    }
};

// The running choice of a finder: the nearest end so far, the first of
// equals kept, the end of an interval preferred to its start.
struct NearestEnd {
    double best;
    CScanInterval* interval = nullptr;
    int slot = 0;
    int side = 0;

    void Consider(const EndRule& rule, CScanInterval& iv, int lineSlot, float x, float y)
    {
        double dS = rule.Weigh(iv.startTag, iv.startNet, iv.startSource, x, y, iv.x1, iv.y1);
        double dE = rule.Weigh(iv.endTag, iv.endNet, iv.endSource, x, y, iv.x2, iv.y2);
        double d = std::min(dS, dE);
        if (d < best) {
            best = d;
            interval = &iv;
            slot = lineSlot;
            side = dE <= dS ? 2 : 1;
        }
    }
};

// The finders' common walk over their candidate lines. With an index only
// the intervals with an end within reach along the line are weighed, still
// in line order and list order: an interval with both ends farther along the
// line than the reach (times the bonus) cannot beat the starting reach, and
// the reach only shrinks, so it never wins or ties against anything the full
// scan would keep.
CScanInterval* FindNearest(CBoardModel& model, const EndRule& rule, int perAxis,
                           const CScanEndIndex* index, std::uint32_t* net, float* x, float* y,
                           int* tag, int* side)
{
    CandidateLine slots[2 * kNearLines];
    if (!CandidateLines(model, *x, *y, perAxis, slots))
        return nullptr;
    const double reach = kReachPitches * model.m_GridStep;
    NearestEnd nearest{reach};
    // The window must hold every end whose weighed distance could fall below
    // the reach; a refused end weighs kNoEnd wherever it lies, so with a
    // reach that large the index cannot help.
    const double window = (rule.bonus ? reach * kSameShapeBonus : reach) + kWindowSlack;
    const bool useIndex = index && kNoEnd / kSameShapeBonus > reach + kWindowSlack;
    // Reused between calls: a walk makes one call per step.
    thread_local std::vector<std::uint32_t> near;
    for (int s = 0; s < 2 * perAxis; ++s) {
        CSubList* line = slots[s].line;
        if (!line)
            continue;
        if (!useIndex) {
            for (auto& iv : line->intervals)
                nearest.Consider(rule, *iv, s, *x, *y);
            continue;
        }
        const auto& ends = slots[s].row ? index->RowEnds(slots[s].position)
                                        : index->ColumnEnds(slots[s].position);
        const double at = slots[s].row ? *x : *y;
        auto first = std::lower_bound(ends.begin(), ends.end(), at - window,
                                      [](const CScanEndIndex::End& e, double v) { return e.along < v; });
        near.clear();
        for (auto e = first; e != ends.end() && e->along <= at + window; ++e)
            near.push_back(e->interval);
        std::sort(near.begin(), near.end());
        near.erase(std::unique(near.begin(), near.end()), near.end());
        for (std::uint32_t i : near)
            nearest.Consider(rule, *line->intervals[i], s, *x, *y);
    }
    CScanInterval* hit = nearest.interval;
    if (!hit)
        return nullptr;
    const bool atEnd = nearest.side == 2;
    std::uint8_t& endTag = atEnd ? hit->endTag : hit->startTag;
    endTag |= ScanTag::kUsed;
    *x = atEnd ? hit->x2 : hit->x1;
    *y = atEnd ? hit->y2 : hit->y1;
    *net = atEnd ? hit->endNet : hit->startNet;
    *tag = endTag | (nearest.slot >= perAxis ? ScanTag::kOnRow : 0);
    *side = nearest.side;
    return hit;
}

std::vector<std::vector<CScanEndIndex::End>> IndexLines(const COwnedList<CSubList>& lines,
                                                        bool row)
{
    std::vector<std::vector<CScanEndIndex::End>> index(lines.size());
    for (std::size_t l = 0; l < lines.size(); ++l) {
        auto& ends = index[l];
        const auto& intervals = lines[l]->intervals;
        ends.reserve(2 * intervals.size());
        for (std::size_t i = 0; i < intervals.size(); ++i) {
            const CScanInterval& iv = *intervals[i];
            auto at = static_cast<std::uint32_t>(i);
            ends.push_back({row ? iv.x1 : iv.y1, at});
            ends.push_back({row ? iv.x2 : iv.y2, at});
        }
        std::sort(ends.begin(), ends.end(),
                  [](const CScanEndIndex::End& a, const CScanEndIndex::End& b) {
                      return a.along < b.along;
                  });
    }
    return index;
}

// One walk run: the generator's start lines, the precision of its arc angles
// and the index of the ends, shared by every walk of the run.
class CWalker {
public:
    CWalker(CBoardModel& model, bool floatAngles, const CWalkStepHook& drawStep, CWalkPieces pieces)
        : m_Model(model), m_Index(model), m_FloatAngles(floatAngles), m_DrawStep(drawStep),
          m_Pitch(model.m_GridStep), m_TruePieces(pieces == CWalkPieces::True)
    {
    }

    void WalkFrom(COwnedList<CSubList>& lines)
    {
        for (std::size_t l = 0; l < lines.size(); ++l) {
            PumpMessages();
            for (auto& iv : lines[l]->intervals)
                WalkFromInterval(*iv);
        }
    }

private:
    static bool CanStart(std::uint8_t tag, std::uint32_t net)
    {
        return !(tag & (ScanTag::kBoardEdge | ScanTag::kUsed)) && net != 0;
    }

    CGridPathSegment* Append(float x1, float y1, float x2, float y2, std::uint8_t flags,
                             void* source, float cx = 0.0f, float cy = 0.0f)
    {
        auto seg = std::make_unique<CGridPathSegment>(
            CGridPathSegment{x1, y1, x2, y2, cx, cy, 0, flags, 0, m_Net, source});
        m_Segment = AddTail(m_Model.m_GridPathList, std::move(seg));
        return m_Segment;
    }

    // A line joining an arc or a cap to the rest of the walk: its centre x
    // of 1.0 tells it from the lines along the copper.
    void AppendJoin(float x, float y, std::uint8_t flags, void* source)
    {
        Append(m_LastX, m_LastY, x, y, flags, source, 1.0f, 0.0f);
    }

    void StartArc(float x, float y, const void* flash, void* source)
    {
        const auto* f = static_cast<const CFlashRecord*>(flash);
        Append(x, y, x, y, 0x01, source, f->x, f->y);
        m_Count = 1;
        m_InArc = true;
        m_ArcPoints.assign(1, {x, y});
    }

    void EndSegmentAtLast(bool final)
    {
        m_Segment->x2 = m_LastX;
        m_Segment->y2 = m_LastY;
        if (final)
            m_Segment->flags |= 0x10;
    }

    void MarkIfEndsAtLast()
    {
        if (m_Segment->x2 == m_LastX && m_Segment->y2 == m_LastY)
            m_Segment->flags |= 0x10;
    }

    // An arc gets its direction from its first point, its middle reference
    // and its end; too short a piece is kept as a straight line to the last
    // point.
    void FinishArc()
    {
        m_InArc = false;
        CGridPathSegment& s = *m_Segment;
        const bool tooShort = m_Count < kArcMinPoints;
        if (tooShort) {
            s.type = 0;
            s.x2 = m_LastX;
            s.y2 = m_LastY;
        } else if (m_FloatAngles) {
            s.type = ArcDirection<float>(s);
        } else {
            s.type = ArcDirection<double>(s);
        }
        if (!m_TruePieces)
            return;
        // The points walked through end where the piece now ends.
        if (m_ArcPoints.back() != std::pair<float, float>{s.x2, s.y2})
            m_ArcPoints.push_back({s.x2, s.y2});
        if (tooShort || !ArcFitsPoints(s))
            KeepAsLines();
    }

    // The arc as a piece will run: from its first point at that point's
    // distance from the centre, round in its direction to its end's angle.
    bool ArcFitsPoints(const CGridPathSegment& s) const
    {
        const auto& points = m_ArcPoints;
        const double cx = s.cx, cy = s.cy;
        const double r = std::hypot(s.x1 - cx, s.y1 - cy);
        const double a0 = TurnAngle(s.x1, s.y1, cx, cy);
        const double dir = s.type == 1 ? 1.0 : -1.0;
        // Angle from the start in the arc's direction, in [0, 2π).
        auto along = [&](double x, double y) {
            const double a = dir * (TurnAngle(x, y, cx, cy) - a0);
            return a < 0.0 ? a + kFullTurn : a;
        };
        double sweep = along(s.x2, s.y2);
        if (sweep == 0.0)
            sweep = kFullTurn;
        // Each point on the arc, in order along it.
        double last = 0.0;
        for (std::size_t k = 1; k < points.size(); ++k) {
            const double a = k + 1 == points.size() ? sweep : along(points[k].first, points[k].second);
            const double off = std::hypot(points[k].first - cx, points[k].second - cy) - r;
            if (a + 1e-9 < last || a > sweep + 1e-9 || std::fabs(off) > kArcFitSlack)
                return false;
            last = a;
        }
        // Between two points the arc bulges from their chord by its sagitta.
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
            const double chord = std::hypot(points[k + 1].first - points[k].first,
                                            points[k + 1].second - points[k].second);
            if (chord * chord / (8.0 * std::max(r, 1e-9)) > kArcFitSlack + 0.5 * m_Pitch)
                return false;
        }
        return true;
    }

    // The arc under way as straight lines through the points it was walked
    // through: a round end cut as one chord would cut across the copper.
    void KeepAsLines()
    {
        CGridPathSegment& s = *m_Segment;
        const auto& points = m_ArcPoints;
        s.type = 0;
        if (points.size() < 3)
            return;
        const std::uint8_t flags = s.flags;
        s.x2 = points[1].first;
        s.y2 = points[1].second;
        s.flags = std::uint8_t(flags & ~0x10);
        void* source = s.source;
        for (std::size_t k = 1; k + 1 < points.size(); ++k) {
            const bool final = k + 2 == points.size();
            Append(points[k].first, points[k].second, points[k + 1].first, points[k + 1].second,
                   std::uint8_t(0x01 | (final ? flags & 0x10 : 0)), source);
        }
    }

    template <class T>
    std::uint8_t ArcDirection(const CGridPathSegment& s) const
    {
        T as = static_cast<T>(TurnAngle(s.x1, s.y1, s.cx, s.cy));
        T am = static_cast<T>(TurnAngle(m_MidX, m_MidY, s.cx, s.cy));
        T ae = static_cast<T>(TurnAngle(s.x2, s.y2, s.cx, s.cy));
        if (as < am && ae < as)
            ae = static_cast<T>(ae + kFullTurn);
        if (am < as && as < ae)
            ae = static_cast<T>(ae - kFullTurn);
        return am - as <= ae - as ? 1 : 2;
    }

    // The angle of P about C in [0, 2π). AngleOf of the geometry floor
    // answers 2π instead of 0 on the +x direction, which would turn the
    // direction of an arc whose point lies exactly there.
    static double TurnAngle(double px, double py, double cx, double cy)
    {
        double a = std::atan2(py - cy, px - cx);
        if (a < 0.0)
            a += kFullTurn;
        return a;
    }

    bool Collinear(float x, float y) const
    {
        const CGridPathSegment& s = *m_Segment;
        double a = std::atan2(static_cast<double>(y) - s.y2, static_cast<double>(x) - s.x2);
        double b = std::atan2(static_cast<double>(s.y1) - s.y2, static_cast<double>(s.x1) - s.x2);
        return std::fabs(std::fabs(a - b) - kHalfTurn) <= kCollinearTolerance;
    }

    void WalkFromInterval(CScanInterval& iv)
    {
        const bool atEnd = CanStart(iv.endTag, iv.endNet);
        if (!atEnd && !CanStart(iv.startTag, iv.startNet))
            return;
        std::uint8_t& tag = atEnd ? iv.endTag : iv.startTag;
        tag |= ScanTag::kUsed;
        m_LastX = m_StartX = atEnd ? iv.x2 : iv.x1;
        m_LastY = m_StartY = atEnd ? iv.y2 : iv.y1;
        m_Net = atEnd ? iv.endNet : iv.startNet;
        m_Source = atEnd ? iv.endSource : iv.startSource;
        m_InArc = false;
        Append(m_LastX, m_LastY, m_LastX, m_LastY, 0, m_Source);
        m_ArcPoints.assign(1, {m_LastX, m_LastY});
        EndKind previous = EndKind::None;
        if (KindOf(tag, m_Source) == EndKind::Flash) {
            const auto* f = static_cast<const CFlashRecord*>(m_Source);
            m_Segment->cx = f->x;
            m_Segment->cy = f->y;
            m_InArc = true;
            previous = EndKind::Flash;
        }
        m_Count = 1;

        for (;;) {
            std::uint32_t net = m_Net;
            float x = m_LastX, y = m_LastY;
            int nextTag = 0, side = 0;
            CScanInterval* hit = FindNextRowInterval(m_Model, &net, &x, &y, &nextTag, &side,
                                                     m_Source, &m_Index);
            if (!hit) {
                x = m_LastX;
                y = m_LastY;
                hit = FindNextIntervalWide(m_Model, &net, &x, &y, &nextTag, &side, &m_Index);
            }
            if (!hit)
                break;
            if (m_DrawStep)
                m_DrawStep(x, y);
            void* nextSource = side == 2 ? hit->endSource : hit->startSource;
            EndKind next = KindOf(nextTag, nextSource);
            Step(previous, next, x, y, nextSource);
            m_LastX = x;
            m_LastY = y;
            m_Net = net;
            previous = next;
            m_Source = nextSource;
        }

        double d = DistanceF(m_LastX, m_LastY, m_StartX, m_StartY);
        if (d < kClosePitches * m_Pitch) {
            if (m_InArc) {
                m_Segment->x2 = m_StartX;
                m_Segment->y2 = m_StartY;
            } else {
                EndSegmentAtLast(true);
                Append(m_LastX, m_LastY, m_StartX, m_StartY, 0x01, m_Source);
            }
        } else {
            EndSegmentAtLast(false);
        }
        if (m_InArc)
            FinishArc();
    }

    // One step of a walk from the last point to the end just found.
    void Step(EndKind previous, EndKind next, float x, float y, void* nextSource)
    {
        if (next == EndKind::Flash) {
            if (m_InArc && previous == EndKind::Flash) {
                if (nextSource == m_Source) {
                    m_Segment->x2 = x;
                    m_Segment->y2 = y;
                    m_ArcPoints.push_back({x, y});
                    // The point before the one that makes the arc long
                    // enough: taking that one would make a six-point arc's
                    // reference its own end, which tells no direction.
                    if (++m_Count == kArcMinPoints) {
                        m_MidX = m_LastX;
                        m_MidY = m_LastY;
                    }
                } else {
                    EndSegmentAtLast(true);
                    FinishArc();
                    StartArc(m_LastX, m_LastY, nextSource, m_Source);
                }
            } else if (!m_InArc && previous == EndKind::Cap) {
                m_Segment->x2 = x;
                m_Segment->y2 = y;
                m_Segment->flags |= 0x10;
                StartArc(x, y, nextSource, nextSource);
            } else if (!m_InArc && previous != EndKind::Flash) {
                EndSegmentAtLast(true);
                AppendJoin(x, y, 0x01 | 0x10, m_Source);
                StartArc(x, y, nextSource, nextSource);
            }
            return;
        }
        const bool fromSide = previous == EndKind::Side || previous == EndKind::Cap;
        if (previous == EndKind::Flash) {
            if (m_InArc) {
                EndSegmentAtLast(true);
                FinishArc();
            }
            AppendJoin(x, y, 0x01, nextSource);
            m_Count = 1;
        } else if (fromSide && nextSource == m_Source) {
            const CGridPathSegment& s = *m_Segment;
            if ((s.x1 == s.x2 && s.y1 == s.y2) || Collinear(x, y)) {
                m_Segment->x2 = x;
                m_Segment->y2 = y;
            } else {
                MarkIfEndsAtLast();
                Append(m_LastX, m_LastY, x, y, 0x01, m_Source);
                m_Count = 1;
            }
        } else if (fromSide) {
            MarkIfEndsAtLast();
            Append(m_LastX, m_LastY, x, y, 0x01, nextSource);
            m_Count = 1;
        }
        if (previous == EndKind::Cap) {
            EndSegmentAtLast(true);
            AppendJoin(x, y, 0x01, nextSource);
            m_Count = 1;
        }
        if (next == EndKind::Cap) {
            m_Segment->x2 = x;
            m_Segment->y2 = y;
            m_Segment->flags |= 0x10;
            m_Count = 1;
        }
    }

    CBoardModel& m_Model;
    CScanEndIndex m_Index;
    bool m_FloatAngles;
    const CWalkStepHook& m_DrawStep;
    int m_Pitch;
    bool m_TruePieces;

    // The state of the walk under way.
    CGridPathSegment* m_Segment = nullptr;
    std::uint32_t m_Net = 0;
    void* m_Source = nullptr;
    float m_StartX = 0.0f, m_StartY = 0.0f;
    float m_LastX = 0.0f, m_LastY = 0.0f;
    float m_MidX = 0.0f, m_MidY = 0.0f;
    bool m_InArc = false;
    int m_Count = 0;
    // The points the arc under way was walked through, from its first.
    std::vector<std::pair<float, float>> m_ArcPoints;
};

} // namespace

CScanEndIndex::CScanEndIndex(CBoardModel& model)
    : m_Rows(IndexLines(model.m_RowList, true)), m_Columns(IndexLines(model.m_ColumnList, false))
{
}

CScanInterval* FindNextRowInterval(CBoardModel& model, std::uint32_t* net, float* x, float* y,
                                   int* tag, int* side, const void* source,
                                   const CScanEndIndex* index)
{
    EndRule rule{false, *net, true, source};
    return FindNearest(model, rule, kNearLines, index, net, x, y, tag, side);
}

CScanInterval* FindNextIntervalWide(CBoardModel& model, std::uint32_t* net, float* x, float* y,
                                    int* tag, int* side, const CScanEndIndex* index)
{
    EndRule rule{true, 0, false, nullptr};
    return FindNearest(model, rule, kWideLines, index, net, x, y, tag, side);
}

void GenerateRowPaths(CBoardModel& model, const CWalkStepHook& drawStep, CWalkPieces pieces)
{
    CWalker(model, false, drawStep, pieces).WalkFrom(model.m_RowList);
}

void GenerateColumnPaths(CBoardModel& model, const CWalkStepHook& drawStep, CWalkPieces pieces)
{
    CWalker(model, true, drawStep, pieces).WalkFrom(model.m_ColumnList);
}

void PruneShortIntervals(CBoardModel& model)
{
    ForgetScanLineCopies();
    for (auto& column : model.m_ColumnList)
        for (auto& iv : column->intervals)
            if (DistanceF(iv->x1, iv->y1, iv->x2, iv->y2) < kShortInterval)
                iv->startTag |= ScanTag::kUsed;
    for (auto& row : model.m_RowList)
        for (auto& iv : row->intervals) {
            if (!(DistanceF(iv->x1, iv->y1, iv->x2, iv->y2) < kShortInterval))
                continue;
            if (iv->x1 == iv->x2)
                iv->startTag |= ScanTag::kUsed;
            else
                iv->endTag |= ScanTag::kUsed;
            float mx = (iv->x1 + iv->x2) / 2.0f;
            float my = (iv->y1 + iv->y2) / 2.0f;
            iv->x1 = iv->x2 = mx;
            iv->y1 = iv->y2 = my;
        }
}
