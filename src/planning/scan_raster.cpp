// The scan-line raster's look-ups and its cutters: each cutter finds the lines
// a widened copper shape can reach, and on each of them shortens, splits or
// removes the free intervals the shape covers, leaving its mark (tag, record
// id, source) on every end it makes.
#include "planning/scan_raster.h"

#include "geometry/plane_geometry.h"
#include "platform/host.h"
#include "platform/program_objects.h"
#include "records/board_extent.h"
#include "records/board_model.h"
#include "records/copper_records.h"
#include "records/track_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace {

// Lines a cutter looks at beyond the shape's extent on each side, as a
// factor of the pitch; the product is a count of lines, so a finer pitch
// looks at fewer mils. Circles look twice as far as straight shapes.
constexpr int kStraightLineMargin = 1;
constexpr int kFlashLineMargin = 2;
constexpr int kCapLineMargin = 1;

// A straight track whose ends differ by at most this much in x is cut as a
// vertical rectangle by the track cutters; the arc pieces need exact
// equality.
constexpr double kVerticalTrackSlack = 0.01;
// The row cutter of straight tracks tests its removal run on the ends of an
// interval pulled this far inward: an interval that sticks out of the track
// by less than this at either end goes whole.
constexpr double kRowRemovalInset = 1.0;

// Circle cuts: an end counts as outside (inside) when it lies farther than
// the tolerance outside (inside) the circle, and as on the circle when within
// the nearness. Pads are cut finely, the round ends of tracks coarsely.
constexpr double kFlashTolerance = 0.001;
constexpr double kFlashNearness = 0.5;
constexpr double kCapTolerance = 1.0;
constexpr double kCapNearness = 1.0;
// The removal run of a cap takes whole intervals up to this much beyond its
// radius (on whole-mil distances).
constexpr double kCapRemovalSlack = 2.0;
// A circle splits an interval only where both of its crossings lie on the
// interval, give or take this much. Far from the origin a float carries a
// few thousandths of a mil, so an end made by this circle can read as just
// outside it; the line's second crossing then lies off the interval, and a
// split there would join the far crossing to the interval's old end,
// running the piece back across the circle.
constexpr double kSplitOnInterval = 0.5;

// Arc tracks: pieces of this much arc length (mil); the caps are this much
// smaller than half the stroke; the angle is kept within half a turn either
// way; the end is reached when less than a step (plus the slack) is left.
constexpr double kArcPieceLength = 3.0;
constexpr double kArcCapInset = 1.0;
constexpr double kHalfTurn = 3.14159;
constexpr double kTurn = 6.28318;
constexpr double kArcEndSlack = 0.00001;
// An arc whose end angle the stepping can never reach would go round for
// ever; no arc needs more than one turn of pieces (plus the two partial
// steps at its ends), and no board more pieces than this in one arc.
constexpr double kMaxArcPieces = 1 << 22;

// How far beyond a shape's extent along a line an interval may lie and still
// be changed: the crossing tests accept points up to 0.02 outside their
// segments, and the circle tests reach a little beyond the radius (a grazing
// line, the removal on whole mils, the slack of the caps).
constexpr float kStraightReach = 0.1f;
constexpr float kCircleReach = 3.5f;
// How far beyond its corners' box the inside test of a rectangle can find a
// point inside, by rounding: the two pairs of side lines it compares with
// bound the rectangle itself.
constexpr double kQuadRounding = 0.1;
// How far across the lines beyond a shape's extent a line may lie and still
// be changed. A row meets a track's edge only within the edge's own y range
// (a column: x range), and beyond that only the inside test can reach. A
// flash's inside test, on whole mils, holds up to 1 mil beyond its radius; a
// cap's removal up to 3 (its 2 mil slack on whole mils); a grazing line
// crosses a circle 0.1 beyond it. Each with room for rounding.
constexpr double kStraightAcrossReach = kQuadRounding;
constexpr double kFlashAcrossReach = 1.5;
constexpr double kCapAcrossReach = 3.5;

constexpr const char* kOutOfMemory = "Out of Memory !";

struct CFloatPoint {
    float x = 0.0f;
    float y = 0.0f;
};

// What a cut leaves on an end it makes.
struct CEndMark {
    std::uint8_t tag;
    std::uint32_t net;
    void* source;
};

// Shared by the cutters of one call (an arc track makes many cuts): the
// allocation failure is told once. Also the pieces the cut has split off on
// the current line, by their ends.
struct CCutRun {
    bool outOfMemoryShown = false;
    std::vector<std::array<float, 4>> madeOnLine;
    // The walk's slots and the positions a cut reaches, kept for their room.
    std::vector<std::size_t> slots, reached;
};

void MarkStart(CScanInterval& iv, float x, float y, const CEndMark& mark)
{
    iv.x1 = x;
    iv.y1 = y;
    iv.startTag = mark.tag;
    iv.startNet = mark.net;
    iv.startSource = mark.source;
}

void MarkEnd(CScanInterval& iv, float x, float y, const CEndMark& mark)
{
    iv.x2 = x;
    iv.y2 = y;
    iv.endTag = mark.tag;
    iv.endNet = mark.net;
    iv.endSource = mark.source;
}

// Cuts the gap between two crossings out of the interval at `index`: the
// interval keeps its start up to the crossing nearer to it (x2 on a tie), a
// new interval appended to the line runs from the other crossing to the old
// end with the old end's mark. Without memory the interval stays whole.
//
// A piece that starts where two edges meet (at a corner, within the crossing
// tests' tolerance, or anywhere on the flat rectangle of a track without
// length) meets both edges there and would be split again into a piece that
// is split the same way, for ever. Such a split would give a
// piece this cut has already had on the line (or the interval itself); it
// is not made, and the interval stays as it is.
void SplitInterval(COwnedList<CScanInterval>& line, std::size_t index, CFloatPoint x1,
                   CFloatPoint x2, const CEndMark& mark, CCutRun& run)
{
    CScanInterval* old = line[index].get();
    bool secondNearer =
        DistanceF(old->x1, old->y1, x2.x, x2.y) <= DistanceF(old->x1, old->y1, x1.x, x1.y);
    CFloatPoint near = secondNearer ? x2 : x1;
    CFloatPoint far = secondNearer ? x1 : x2;
    const std::array<float, 4> upper{far.x, far.y, old->x2, old->y2};
    if (upper == std::array<float, 4>{old->x1, old->y1, old->x2, old->y2} ||
        std::find(run.madeOnLine.begin(), run.madeOnLine.end(), upper) != run.madeOnLine.end())
        return;
    try {
        run.madeOnLine.push_back(upper);
        line.push_back(std::make_unique<CScanInterval>());
    } catch (const std::bad_alloc&) {
        if (!run.outOfMemoryShown) {
            run.outOfMemoryShown = true;
            AfxMessageBox(kOutOfMemory);
        }
        return;
    }
    CScanInterval& piece = *line.back();
    piece.x2 = old->x2;
    piece.y2 = old->y2;
    piece.endTag = old->endTag;
    piece.endNet = old->endNet;
    piece.endSource = old->endSource;
    MarkStart(piece, far.x, far.y, mark);
    MarkEnd(*old, near.x, near.y, mark);
}

// A slot of a walk that stands for a run of intervals beyond the shape's
// reach (see WalkLine).
constexpr std::size_t kFarRun = SIZE_MAX;

// One line walked as the cutters walk it, over `slots`, positions of the
// line in list order: per interval a removal run, the shape's own cut, then a
// look at the next interval, which is removed at once when it lies inside.
// Removed intervals leave empty slots until the end of the line, so splits
// appended meanwhile keep their place in the order; their positions join the
// walk as they are made. True when an interval was removed.
//
// An interval that lies wholly beyond the shape's reach along the line can
// neither lie inside nor be crossed: every test of it fails, so as the
// current interval it hands the look at the next one on, and as the next one
// it becomes the current one. A run of such intervals does just what one of
// them does, so a walk may give a whole run one kFarRun slot.
template <class Shape>
bool WalkLine(COwnedList<CScanInterval>& line, std::vector<std::size_t>& slots, const Shape& shape,
              CCutRun& run)
{
    run.madeOnLine.clear();
    bool removed = false;
    std::size_t known = line.size();
    auto live = [&](std::size_t k) { return slots[k] == kFarRun || line[slots[k]] != nullptr; };
    auto nextLive = [&](std::size_t k) {
        ++k;
        while (k < slots.size() && !live(k))
            ++k;
        return k;
    };
    auto reaches = [&](std::size_t k) { return slots[k] != kFarRun && shape.Reaches(*line[slots[k]]); };
    auto take = [&](std::size_t k) {
        line[slots[k]].reset();
        removed = true;
    };
    std::size_t i = !slots.empty() && !live(0) ? nextLive(0) : 0;
    while (i < slots.size()) {
        std::size_t next = nextLive(i);
        while (next < slots.size() && reaches(i) && shape.RemovedInRun(*line[slots[i]])) {
            take(i);
            i = next;
            next = nextLive(i);
        }
        if (reaches(i)) {
            shape.Cut(line, slots[i], run);
            for (; known < line.size(); ++known)
                slots.push_back(known);
        }
        next = nextLive(i);
        if (next >= slots.size()) {
            if (reaches(i) && shape.Inside(*line[slots[i]]))
                take(i);
            break;
        }
        if (reaches(next) && shape.Inside(*line[slots[next]])) {
            take(next);
            i = nextLive(next);
        } else {
            i = next;
        }
    }
    return removed;
}

// The interval's ends along its line and across it.
float AlongStart(const CScanInterval& iv, ScanAxis axis) { return axis == ScanAxis::Rows ? iv.x1 : iv.y1; }
float AlongEnd(const CScanInterval& iv, ScanAxis axis) { return axis == ScanAxis::Rows ? iv.x2 : iv.y2; }
float AcrossStart(const CScanInterval& iv, ScanAxis axis) { return axis == ScanAxis::Rows ? iv.y1 : iv.x1; }
float AcrossEnd(const CScanInterval& iv, ScanAxis axis) { return axis == ScanAxis::Rows ? iv.y2 : iv.x2; }

// A span from a to b along a line lies beyond [low, high] (one with a NaN
// end never does).
bool SpanBeyond(float a, float b, float low, float high)
{
    return (a < low && b < low) || (a > high && b > high);
}

bool Beyond(const CScanInterval& iv, ScanAxis axis, float low, float high)
{
    return SpanBeyond(AlongStart(iv, axis), AlongEnd(iv, axis), low, high);
}

// Spans tested at once by FindReached.
constexpr std::size_t kReachBlock = 16;

// What the cutters remember of a line between calls: its intervals in list
// order with their ends along the line, and whether all of them lie on one
// coordinate across it. A line of a dense board holds dozens to hundreds of
// intervals, of which a cut reaches one or two: with the copy a cut finds
// them in short arrays instead of visiting every interval's record, and
// passes over the lines of its range that it cannot reach at all.
struct CLineIndex {
    const CSubList* line = nullptr;
    std::vector<const CScanInterval*> intervals;
    std::vector<float> starts, ends;   // along the line
    float across = 0.0f;
    bool flat = false;    // every interval lies at `across`
    bool holes = false;   // the line has an empty slot

    // The spans run on to whole blocks of FindReached, the rest reaching
    // nothing.
    void Resize(std::size_t count)
    {
        intervals.resize(count);
        const std::size_t padded = (count + kReachBlock - 1) / kReachBlock * kReachBlock;
        starts.resize(padded);
        ends.resize(padded);
        std::fill(starts.begin() + std::ptrdiff_t(count), starts.end(), -INFINITY);
        std::fill(ends.begin() + std::ptrdiff_t(count), ends.end(), -INFINITY);
    }
};

// The copies of one list's lines, by position; one list at a time, since
// the isolation cuts all the rows, then all the columns.
struct CRasterIndex {
    const COwnedList<CSubList>* lines = nullptr;
    std::vector<CLineIndex> byLine;
};

CRasterIndex s_Index;
bool s_PlainWalk = false;
int s_TrustedPasses = 0;
CProgramObjectReset s_Reset([] {
    s_Index = CRasterIndex();
    s_PlainWalk = false;
    s_TrustedPasses = 0;
});

}  // namespace

void ForgetScanLineCopies() { s_Index = CRasterIndex(); }

CScanCutPass::CScanCutPass()
{
    ForgetScanLineCopies();
    ++s_TrustedPasses;
}

CScanCutPass::~CScanCutPass()
{
    --s_TrustedPasses;
    ForgetScanLineCopies();
}

namespace {

// A line of this many intervals or fewer is read afresh for every cut. A
// line laid out anew holds one interval, whose record may well take the
// freed address of one the copy remembers: only a line that the cutters have
// split is known by the identity of its intervals.
constexpr std::size_t kFewIntervals = 1;

// Takes one interval at position k of the line into the copy; an empty
// slot reaches nothing.
void Remember(CLineIndex& index, std::size_t k, const CScanInterval* iv, ScanAxis axis)
{
    index.intervals[k] = iv;
    if (!iv) {
        index.starts[k] = index.ends[k] = -INFINITY;
        index.holes = true;
        return;
    }
    index.starts[k] = AlongStart(*iv, axis);
    index.ends[k] = AlongEnd(*iv, axis);
    if (AcrossStart(*iv, axis) != index.across || AcrossEnd(*iv, axis) != index.across)
        index.flat = false;
}

void ReadLine(CLineIndex& index, const CSubList& line, ScanAxis axis)
{
    const auto& intervals = line.intervals;
    index.line = &line;
    index.Resize(intervals.size());
    index.holes = false;
    index.flat = false;
    for (const auto& iv : intervals)
        if (iv) {
            index.across = AcrossStart(*iv, axis);
            index.flat = true;
            break;
        }
    for (std::size_t k = 0; k < intervals.size(); ++k)
        Remember(index, k, intervals[k].get(), axis);
}

// The copy still holds the line's intervals, in their order. Within a
// pass only the cuts change the lines, and each cut brings the copy along.
bool StillHolds(const CLineIndex& index, const CSubList& line)
{
    const auto& intervals = line.intervals;
    static_assert(sizeof(intervals[0]) == sizeof(index.intervals[0]));
    return index.line == &line && index.intervals.size() == intervals.size() &&
           intervals.size() > kFewIntervals &&
           (s_TrustedPasses > 0 || std::memcmp(intervals.data(), index.intervals.data(),
                                               intervals.size() * sizeof(index.intervals[0])) == 0);
}

// The positions in [from, to) hold a live interval.
bool AnyLive(const CLineIndex& index, std::size_t from, std::size_t to)
{
    if (!index.holes)
        return from < to;
    for (std::size_t k = from; k < to; ++k)
        if (index.intervals[k])
            return true;
    return false;
}

// The positions of the copy whose spans reach [low, high], in order. Most
// of a line lies beyond a shape, so blocks of spans are first tested all
// at once, in a form the compiler can do side by side.
void FindReached(const CLineIndex& index, float low, float high, std::vector<std::size_t>& reached)
{
    reached.clear();
    const float* a = index.starts.data();
    const float* b = index.ends.data();
    const std::size_t count = index.intervals.size();
    for (std::size_t k = 0; k < count; k += kReachBlock) {
        int beyond = 0;
        for (std::size_t j = k; j < k + kReachBlock; ++j)
            beyond += int(((a[j] < low) & (b[j] < low)) | ((a[j] > high) & (b[j] > high)));
        if (beyond == int(kReachBlock))
            continue;
        for (std::size_t j = k; j < std::min(k + kReachBlock, count); ++j)
            if (!SpanBeyond(a[j], b[j], low, high))
                reached.push_back(j);
    }
}

// One line cut through its copy: the walk visits the intervals within the
// shape's reach along the line, each run of others standing as one slot,
// and the copy follows what the cut did to the line.
template <class Shape>
void CutIndexedLine(CLineIndex& index, CSubList& line, ScanAxis axis, const Shape& shape, CCutRun& run)
{
    if (!StillHolds(index, line))
        ReadLine(index, line, axis);
    if (index.flat && shape.MissesLine(index.across))
        return;
    std::vector<std::size_t>& reached = run.reached;
    FindReached(index, shape.low, shape.high, reached);
    const std::size_t count = index.intervals.size();
    std::vector<std::size_t>& slots = run.slots;
    slots.clear();
    std::size_t after = 0;   // the position after the last one reached
    for (std::size_t k : reached) {
        if (!index.intervals[k])
            continue;
        if (AnyLive(index, after, k))
            slots.push_back(kFarRun);
        slots.push_back(k);
        after = k + 1;
    }
    if (slots.empty())
        return;
    if (AnyLive(index, after, count))
        slots.push_back(kFarRun);

    COwnedList<CScanInterval>& intervals = line.intervals;
    const bool removed = WalkLine(intervals, slots, shape, run);
    index.Resize(intervals.size());
    for (std::size_t slot : slots)
        if (slot != kFarRun)
            Remember(index, slot, intervals[slot].get(), axis);
    if (!removed)
        return;
    std::size_t kept = 0;
    for (std::size_t k = 0; k < intervals.size(); ++k) {
        if (!intervals[k])
            continue;
        intervals[kept] = std::move(intervals[k]);
        index.intervals[kept] = index.intervals[k];
        index.starts[kept] = index.starts[k];
        index.ends[kept] = index.ends[k];
        ++kept;
    }
    intervals.resize(kept);
    index.Resize(kept);
    index.holes = false;
}

// Every interval of the line walked: the reference the copies are held to.
template <class Shape>
void CutWholeLine(CSubList& line, const Shape& shape, CCutRun& run)
{
    COwnedList<CScanInterval>& intervals = line.intervals;
    std::vector<std::size_t>& slots = run.slots;
    slots.resize(intervals.size());
    for (std::size_t k = 0; k < slots.size(); ++k)
        slots[k] = k;
    if (WalkLine(intervals, slots, shape, run))
        intervals.erase(std::remove(intervals.begin(), intervals.end(), nullptr), intervals.end());
}

// An index computed in floats, cut towards zero; NaN and values beyond any
// list come out as -1 and a large count.
long long TruncIndex(float v)
{
    if (std::isnan(v))
        return -1;
    if (v <= -1e9f)
        return -1000000000;
    if (v >= 1e9f)
        return 1000000000;
    return static_cast<long long>(v);
}

// Walks the lines that a shape with extent [low, high] across the lines can
// reach: from trunc((low - origin) / pitch - margin * pitch) up to, without,
// trunc((high - origin) / pitch + margin * pitch).
template <class Shape>
void CutLines(CBoardModel& model, ScanAxis axis, float low, float high, int margin,
              const Shape& shape, CCutRun& run)
{
    const int pitch = model.m_GridStep;
    if (pitch <= 0)
        return;
    const bool rows = axis == ScanAxis::Rows;
    COwnedList<CSubList>& lines = rows ? model.m_RowList : model.m_ColumnList;
    const int origin = rows ? g_BoardMinY : g_BoardMinX;
    const float reach = float(margin * pitch);
    long long first = TruncIndex((low - float(origin)) / float(pitch) - reach);
    long long last = TruncIndex((high - float(origin)) / float(pitch) + reach);
    first = std::max(first, 0LL);
    last = std::min(last, static_cast<long long>(lines.size()));
    if (first >= last)
        return;
    if (s_PlainWalk) {
        for (long long n = first; n < last; ++n)
            if (CSubList* line = lines[std::size_t(n)].get())
                CutWholeLine(*line, shape, run);
        return;
    }
    if (s_Index.lines != &lines) {
        // The other list's copies are done with; their room serves this one.
        for (CLineIndex& index : s_Index.byLine)
            index.line = nullptr;
        s_Index.lines = &lines;
    }
    if (s_Index.byLine.size() < lines.size())
        s_Index.byLine.resize(lines.size());
    for (long long n = first; n < last; ++n) {
        CSubList* line = lines[std::size_t(n)].get();
        if (!line)
            continue;
        // A line the copy has seen lying flat where the raster lays it, out
        // of the shape's reach, is passed over unread: cut since, the copy
        // would know; laid out anew, it lies there again.
        CLineIndex& index = s_Index.byLine[std::size_t(n)];
        const float at = float(origin + n * pitch);
        if (index.line == line && index.flat && index.across == at && shape.MissesLine(at))
            continue;
        CutIndexedLine(index, *line, axis, shape, run);
    }
}

// A straight track or arc piece widened to a rectangle: corners A, B at the
// lower end P, C, D at the other end Q, in order round it.
struct CRectangle {
    CFloatPoint a, b, c, d;
    std::uint8_t tag = ScanTag::kSlopedSide;
    double lowX = 0, highX = 0, lowY = 0, highY = 0;   // the corners' box and its rounding

    void Bound()
    {
        lowX = std::min({a.x, b.x, c.x, d.x}) - kQuadRounding;
        highX = std::max({a.x, b.x, c.x, d.x}) + kQuadRounding;
        lowY = std::min({a.y, b.y, c.y, d.y}) - kQuadRounding;
        highY = std::max({a.y, b.y, c.y, d.y}) + kQuadRounding;
    }

    // Most points a cut asks about lie well off the rectangle; the box
    // spares them the full test.
    bool Holds(float x, float y) const
    {
        if (x < lowX || x > highX || y < lowY || y > highY)
            return false;
        return PointInQuadF(a.x, a.y, b.x, b.y, c.x, c.y, d.x, d.y, x, y) != 0;
    }
};

CRectangle TrackRectangle(const CTrackRecord& t, bool nearlyVerticalIsVertical)
{
    const float h = t.width / 2.0f;
    CFloatPoint p{t.x1, t.y1}, q{t.x2, t.y2};
    if (t.y2 <= t.y1)
        std::swap(p, q);
    CRectangle r;
    bool vertical = nearlyVerticalIsVertical ? std::fabs(p.x - q.x) <= kVerticalTrackSlack
                                             : p.x == q.x;
    if (vertical) {
        r.a = {p.x - h, p.y};
        r.b = {p.x + h, p.y};
        r.c = {p.x + h, q.y};
        r.d = {p.x - h, q.y};
        r.tag = ScanTag::kVerticalSide;
        return r;
    }
    const float m = (p.y - q.y) / (p.x - q.x);
    const float c = p.y - m * p.x;
    // The side lines lie half the width away across the track, which is
    // h / cos of the slope angle along y.
    const float cPlus = float(c + h / std::sin(std::atan2(1.0, double(m))));
    const float cMinus = 2.0f * c - cPlus;
    if (m == 0.0f) {
        r.a = {p.x, p.y - h};
        r.b = {p.x, p.y + h};
        r.c = {q.x, q.y + h};
        r.d = {q.x, q.y - h};
        r.tag = ScanTag::kHorizontalSide;
        return r;
    }
    const float throughP = p.x / m + p.y;
    const float throughQ = q.x / m + q.y;
    PerpendicularFoot(&r.a.x, &r.a.y, m, cPlus, throughP);
    PerpendicularFoot(&r.b.x, &r.b.y, m, cMinus, throughP);
    PerpendicularFoot(&r.c.x, &r.c.y, m, cMinus, throughQ);
    PerpendicularFoot(&r.d.x, &r.d.y, m, cPlus, throughQ);
    r.tag = ScanTag::kSlopedSide;
    return r;
}

// The cut of a rectangle from one line's intervals.
struct CRectangleCut {
    CRectangle rect;
    CEndMark mark;
    ScanAxis axis;
    bool insetRemoval;   // the row cutter of straight tracks
    float low, high;     // reach along the line
    float acrossLow, acrossHigh;   // the corners' extent across the lines

    bool Reaches(const CScanInterval& iv) const { return !Beyond(iv, axis, low, high); }

    bool MissesLine(float across) const
    {
        return double(across) < double(acrossLow) - kStraightAcrossReach ||
               double(across) > double(acrossHigh) + kStraightAcrossReach;
    }

    bool Inside(const CScanInterval& iv) const
    {
        return rect.Holds(iv.x1, iv.y1) && rect.Holds(iv.x2, iv.y2);
    }

    bool RemovedInRun(const CScanInterval& iv) const
    {
        if (!insetRemoval)
            return Inside(iv);
        return rect.Holds(float(iv.x1 + kRowRemovalInset), iv.y1) &&
               rect.Holds(float(iv.x2 - kRowRemovalInset), iv.y2);
    }

    void Cut(COwnedList<CScanInterval>& line, std::size_t index, CCutRun& run) const
    {
        CScanInterval& iv = *line[index];
        // The side A-D, the end at P, the side B-C, the end at Q: the order
        // in which the crossings are found decides the split's tie.
        const CFloatPoint edges[4][2] = {
            {rect.a, rect.d}, {rect.a, rect.b}, {rect.c, rect.b}, {rect.c, rect.d}};
        CFloatPoint crossings[4];
        int count = 0;
        for (const auto& e : edges) {
            CFloatPoint x;
            if (IntersectSegmentsTolF(iv.x1, iv.y1, iv.x2, iv.y2, e[0].x, e[0].y, e[1].x, e[1].y,
                                      &x.x, &x.y))
                crossings[count++] = x;
        }
        if (count == 1) {
            if (rect.Holds(iv.x1, iv.y1))
                MarkStart(iv, crossings[0].x, crossings[0].y, mark);
            else if (rect.Holds(iv.x2, iv.y2))
                MarkEnd(iv, crossings[0].x, crossings[0].y, mark);
        } else if (count == 2) {
            SplitInterval(line, index, crossings[0], crossings[1], mark, run);
        }
    }
};

// `shared` carries the state of a run of cuts (an arc's); without it the
// cut is a run of its own.
void CutRectangle(CBoardModel& model, ScanAxis axis, const CTrackRecord& shape, void* source,
                  bool isArcPiece, CCutRun* shared = nullptr)
{
    CCutRun own;
    CCutRun& run = shared ? *shared : own;
    CRectangleCut cut;
    cut.rect = TrackRectangle(shape, !isArcPiece);
    cut.rect.Bound();
    cut.mark = {isArcPiece ? ScanTag::kFlash : cut.rect.tag, std::uint32_t(shape.recordNo), source};
    cut.axis = axis;
    cut.insetRemoval = !isArcPiece && axis == ScanAxis::Rows;
    const CFloatPoint corners[4] = {cut.rect.a, cut.rect.b, cut.rect.c, cut.rect.d};
    const bool rows = axis == ScanAxis::Rows;
    float acrossLow = rows ? corners[0].y : corners[0].x, acrossHigh = acrossLow;
    float alongLow = rows ? corners[0].x : corners[0].y, alongHigh = alongLow;
    for (const CFloatPoint& c : corners) {
        float across = rows ? c.y : c.x, along = rows ? c.x : c.y;
        acrossLow = std::min(acrossLow, across);
        acrossHigh = std::max(acrossHigh, across);
        alongLow = std::min(alongLow, along);
        alongHigh = std::max(alongHigh, along);
    }
    cut.low = alongLow - kStraightReach;
    cut.high = alongHigh + kStraightReach;
    cut.acrossLow = acrossLow;
    cut.acrossHigh = acrossHigh;
    CutLines(model, axis, acrossLow, acrossHigh, kStraightLineMargin, cut, run);
}

// The cut of a circle (a pad or a round end) from one line's intervals.
struct CCircleCut {
    const CFlashRecord* circle;
    CEndMark mark;
    ScanAxis axis;
    bool isFlash;        // a pad: finer tolerances, whole-mil distances
    double tolerance;
    double nearness;
    float low, high;     // reach along the line

    bool Reaches(const CScanInterval& iv) const { return !Beyond(iv, axis, low, high); }

    bool MissesLine(float across) const
    {
        const double centre = axis == ScanAxis::Rows ? circle->y : circle->x;
        const double reach = std::fabs(double(circle->radius)) +
                             (isFlash ? kFlashAcrossReach : kCapAcrossReach);
        return std::fabs(double(across) - centre) > reach;
    }

    double DistanceTo(float x, float y) const { return DistanceF(circle->x, circle->y, x, y); }

    static bool OnInterval(const CScanInterval& iv, CFloatPoint p)
    {
        auto within = [](double v, double a, double b) {
            return v >= std::min(a, b) - kSplitOnInterval && v <= std::max(a, b) + kSplitOnInterval;
        };
        return within(p.x, iv.x1, iv.x2) && within(p.y, iv.y1, iv.y2);
    }

    bool Inside(const CScanInterval& iv) const
    {
        if (isFlash)
            return std::trunc(DistanceTo(iv.x1, iv.y1)) <= circle->radius &&
                   std::trunc(DistanceTo(iv.x2, iv.y2)) <= circle->radius;
        return DistanceTo(iv.x1, iv.y1) <= circle->radius && DistanceTo(iv.x2, iv.y2) <= circle->radius;
    }

    bool RemovedInRun(const CScanInterval& iv) const
    {
        const float r = circle->radius, cx = circle->x;
        if (isFlash) {
            // Across x whatever the line's direction.
            if (!(std::fabs(iv.x2 - iv.x1) < 2.0f * r && std::fabs(iv.x1 - cx) < r &&
                  std::fabs(iv.x2 - cx) < r))
                return false;
            return Inside(iv);
        }
        return std::trunc(DistanceTo(iv.x1, iv.y1)) <= r + kCapRemovalSlack &&
               std::trunc(DistanceTo(iv.x2, iv.y2)) <= r + kCapRemovalSlack;
    }

    void Cut(COwnedList<CScanInterval>& line, std::size_t index, CCutRun& run) const
    {
        CScanInterval& iv = *line[index];
        CFloatPoint a, b;
        if (IntersectSegmentCircleF(circle->x, circle->y, circle->radius, iv.x1, iv.y1, iv.x2,
                                    iv.y2, &a.x, &a.y, &b.x, &b.y, 0) != 1)
            return;
        const double startDistance = DistanceTo(iv.x1, iv.y1);
        const double endDistance = DistanceTo(iv.x2, iv.y2);
        const double d1 = startDistance - circle->radius;
        const double d2 = endDistance - circle->radius;
        const double t = tolerance;
        if (d1 > t && d2 > t && OnInterval(iv, a) && OnInterval(iv, b)) {
            SplitInterval(line, index, a, b, mark, run);
        } else if (d1 > t && d2 < -t) {
            MarkEnd(iv, a.x, a.y, mark);
        } else if (d1 < -t && d2 > t) {
            MarkStart(iv, a.x, a.y, mark);
        } else if (std::fabs(d1) < nearness || std::fabs(d2) < nearness) {
            // An end on the circle: the nearer end moves to the crossing
            // nearer the other end.
            if (startDistance <= endDistance) {
                bool first = DistanceF(a.x, a.y, iv.x2, iv.y2) <= DistanceF(b.x, b.y, iv.x2, iv.y2);
                CFloatPoint to = first ? a : b;
                MarkStart(iv, to.x, to.y, mark);
            } else {
                bool first = DistanceF(a.x, a.y, iv.x1, iv.y1) <= DistanceF(b.x, b.y, iv.x1, iv.y1);
                CFloatPoint to = first ? a : b;
                MarkEnd(iv, to.x, to.y, mark);
            }
        }
    }
};

void CutCircle(CBoardModel& model, ScanAxis axis, const CFlashRecord& circle, void* source,
               bool isFlash, CCutRun* shared = nullptr)
{
    CCutRun own;
    CCutRun& run = shared ? *shared : own;
    CCircleCut cut;
    cut.circle = &circle;
    cut.mark = {isFlash ? ScanTag::kFlash : ScanTag::kCap, std::uint32_t(circle.recordNo), source};
    cut.axis = axis;
    cut.isFlash = isFlash;
    cut.tolerance = isFlash ? kFlashTolerance : kCapTolerance;
    cut.nearness = isFlash ? kFlashNearness : kCapNearness;
    const bool rows = axis == ScanAxis::Rows;
    const float across = rows ? circle.y : circle.x;
    const float along = rows ? circle.x : circle.y;
    // A negative radius still crosses lines at its size.
    const float reach = std::fabs(circle.radius) + kCircleReach;
    cut.low = along - reach;
    cut.high = along + reach;
    CutLines(model, axis, across - circle.radius, across + circle.radius,
             isFlash ? kFlashLineMargin : kCapLineMargin, cut, run);
}

// The stroke width of an arc: its aperture's width (1.0 inside an area
// fill, 0 for an index beyond the table).
float ArcStrokeWidth(const CBoardModel& model, const CTrackRecord& arc)
{
    if (model.m_AreaFillFlag != 0)
        return 1.0f;
    if (arc.aperture >= model.m_ApertureList.size())
        return 0.0f;
    return model.m_ApertureList[arc.aperture]->width;
}

CFloatPoint ArcPoint(const CTrackRecord& arc, float radius, float angle)
{
    return {float(arc.x1 + double(radius) * std::sin(double(angle))),
            float(arc.y1 + double(radius) * std::cos(double(angle)))};
}

}  // namespace

CSubList* ListPositionAt(COwnedList<CSubList>& list, std::size_t n)
{
    return n < list.size() ? list[n].get() : nullptr;
}

CSubList* ScanLineAt(CBoardModel& model, COwnedList<CSubList>& list, float coordinate,
                     std::size_t* next)
{
    int origin;
    if (&list == &model.m_RowList)
        origin = g_BoardMinY;
    else if (&list == &model.m_ColumnList)
        origin = g_BoardMinX;
    else
        return nullptr;
    if (model.m_GridStep <= 0)
        return nullptr;
    long long n = TruncIndex((coordinate - float(origin)) / float(model.m_GridStep));
    // With nothing stepped over, the position stays at the head of the list.
    if (n <= 0) {
        if (next)
            *next = 0;
        return nullptr;
    }
    // Fewer than n + 1 lines: the position runs off the end.
    if (static_cast<unsigned long long>(n) >= list.size()) {
        if (next)
            *next = list.size();
        return nullptr;
    }
    if (next)
        *next = std::size_t(n);
    return list[std::size_t(n - 1)].get();
}

CFlashRecord* FindNetShape(CBoardModel& model, std::int32_t id)
{
    for (auto& pad : model.m_PadList2) {
        if (pad->recordNo == id)
            return pad.get();
    }
    return nullptr;
}

void SetPlainScanWalk(bool plain)
{
    s_PlainWalk = plain;
    s_Index = CRasterIndex();
}

void CutTrack(CBoardModel& model, ScanAxis axis, const CTrackRecord& track, void* source)
{
    CutRectangle(model, axis, track, source, false);
}

void CutArcPiece(CBoardModel& model, ScanAxis axis, const CTrackRecord& piece, void* source)
{
    CutRectangle(model, axis, piece, source, true);
}

void CutFlash(CBoardModel& model, ScanAxis axis, const CFlashRecord& circle, void* source)
{
    CutCircle(model, axis, circle, source, true);
}

void CutEndCap(CBoardModel& model, ScanAxis axis, const CFlashRecord& circle, void* source)
{
    CutCircle(model, axis, circle, source, false);
}

void CutArcTrack(CBoardModel& model, ScanAxis axis, CTrackRecord& arc, float half)
{
    CCutRun run;
    const float stroke = ArcStrokeWidth(model, arc);
    const float radius = arc.width;
    const float end = arc.y2;
    float angle = arc.x2;
    // Pieces carry the pad of the arc's record id, which the linking stage
    // reads the net from; without one they carry none.
    CFlashRecord* pad = FindNetShape(model, arc.recordNo);
    const float step = float((arc.type == 3 ? kArcPieceLength : -kArcPieceLength) / radius);

    CFlashRecord cap;
    cap.radius = float((stroke + half) / 2.0f - kArcCapInset);
    cap.recordNo = arc.recordNo;
    cap.groupNo = arc.groupNo;
    CFloatPoint p0 = ArcPoint(arc, radius, angle);
    cap.x = p0.x;
    cap.y = p0.y;
    CutCircle(model, axis, cap, &arc, false, &run);

    if (std::isfinite(step) && step != 0.0f) {
        const double maxPieces = std::min(std::ceil(kTurn / std::fabs(step)) + 2.0, kMaxArcPieces);
        CTrackRecord piece;
        piece.recordNo = arc.recordNo;
        piece.width = stroke + half;
        piece.chordMark = 0;
        double pieces = 0;
        do {
            angle += step;
            if (angle < -kHalfTurn)
                angle = float(angle + kTurn);
            else if (angle > kHalfTurn)
                angle = float(angle - kTurn);
            CFloatPoint p1 = ArcPoint(arc, radius, angle);
            piece.x1 = p0.x;
            piece.y1 = p0.y;
            piece.x2 = p1.x;
            piece.y2 = p1.y;
            LengthenTrack(piece, half / 2.0f);
            CutRectangle(model, axis, piece, pad, true, &run);
            p0 = p1;
        } while (std::fabs(step) <= std::fabs(end - angle) + kArcEndSlack && ++pieces < maxPieces);
    }

    cap.x = p0.x;
    cap.y = p0.y;
    CutCircle(model, axis, cap, &arc, false, &run);
}
