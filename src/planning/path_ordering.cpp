// Milling order of the isolation segments that the walks leave behind: points
// go, chains are taken one after another (turned round when one of them began
// on an arc of the first direction), small zig-zags at corners are cut off and
// whole chains are put in order of their lowest start.
//
// The walks below take segments out of the middle of long lists again and
// again, so they work on index links over the owners (CSegmentLinks) rather
// than erasing from the vector; the order of every walk is still the list
// order, so the same segment and the same end win as on a plain list.
#include "planning/path_ordering.h"

#include "geometry/plane_geometry.h"
#include "geometry/point.h"
#include "geometry/segment_chain.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <set>
#include <utility>
#include <vector>

namespace {

using Segment = CGridPathSegment;
using SegmentList = COwnedList<CGridPathSegment>;

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

// Where the current point stands before the first chain is taken.
constexpr double kNoPointXY = -1.0;
// The distance a search for a new chain starts from.
constexpr double kSearchStart = 10000000.0;
// The short form's reach: a chain goes on, and a search stops, closer than this.
constexpr double kLooseReach = 0.1;
// Corner limits in pitches, for the first and the second pass.
constexpr double kFirstCornerLimit = 2.4;
constexpr double kSecondCornerLimit = 2.5;
// A corner is cut across at most this many short segments inside a chain.
constexpr std::size_t kMostShortInCorner = 3;
// Chains are cut where a step is longer than this.
constexpr double kChainGap = 100.0;

CDPoint StartOf(const Segment& s) { return {s.x1, s.y1}; }
CDPoint EndOf(const Segment& s) { return {s.x2, s.y2}; }

double LengthOf(const Segment& s) { return DistanceF(s.x1, s.y1, s.x2, s.y2); }

// The distance from one segment's end to the next one's start.
double StepBetween(const Segment& from, const Segment& to)
{
    return DistanceF(from.x2, from.y2, to.x1, to.y1);
}

// The segments of a list joined by index links, so that any one can be taken
// out in constant time while the others keep their order. An owner stays in
// its slot until it is taken.
class CSegmentLinks {
public:
    explicit CSegmentLinks(SegmentList&& list) : m_Owners(std::move(list))
    {
        std::size_t n = m_Owners.size();
        m_Next.resize(n);
        m_Prev.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            m_Next[i] = i + 1 < n ? i + 1 : kNone;
            m_Prev[i] = i > 0 ? i - 1 : kNone;
        }
        m_Head = n > 0 ? 0 : kNone;
    }

    std::size_t Size() const { return m_Owners.size(); }
    bool Empty() const { return m_Head == kNone; }
    std::size_t Head() const { return m_Head; }
    std::size_t Next(std::size_t i) const { return m_Next[i]; }
    std::size_t Prev(std::size_t i) const { return m_Prev[i]; }
    Segment& operator[](std::size_t i) { return *m_Owners[i]; }

    std::unique_ptr<Segment> Take(std::size_t i)
    {
        std::size_t prev = m_Prev[i], next = m_Next[i];
        if (prev == kNone)
            m_Head = next;
        else
            m_Next[prev] = next;
        if (next != kNone)
            m_Prev[next] = prev;
        return std::move(m_Owners[i]);
    }

private:
    SegmentList m_Owners;
    std::vector<std::size_t> m_Next;
    std::vector<std::size_t> m_Prev;
    std::size_t m_Head = kNone;
};

// Drops the points that carry no arc and numbers the segments within their
// chains into the value field: 0 where a segment does not start at the end
// of the segment kept before it.
void NumberChains(SegmentList& segments)
{
    std::erase_if(segments, [](const std::unique_ptr<Segment>& s) {
        return s->type == 0 && s->x1 == s->x2 && s->y1 == s->y2;
    });
    const Segment* previous = nullptr;
    for (const std::unique_ptr<Segment>& s : segments) {
        s->value = previous != nullptr && StartOf(*s) == EndOf(*previous) ? previous->value + 1 : 0;
        previous = s.get();
    }
}

// How the current point P is matched: the full ordering within 0.001 per
// axis and search hits at exactly 0, the short form anything closer than 0.1.
bool ContinuesAt(const Segment& s, const CDPoint& p, bool loose)
{
    if (loose)
        return DistanceFD(s.x1, s.y1, p.x, p.y) < kLooseReach;
    return StartOf(s) == p;
}

bool EndsSearch(double best, bool loose) { return loose ? best < kLooseReach : best == 0.0; }

// The segment that begins the next chain, searched from the head of the list.
// P moves to the start of every chain head met, so the first chain head is
// taken at distance 0 unless a segment before it touches P; a segment met on
// the way whose end lies nearer than anything before is turned round at once,
// even when a later one wins.
std::size_t FindChainStart(CSegmentLinks& links, CDPoint& p, bool loose, double* best)
{
    *best = kSearchStart;
    std::size_t found = kNone;
    for (std::size_t i = links.Head(); i != kNone; i = links.Next(i)) {
        Segment& s = links[i];
        if (s.value == 0)
            p = StartOf(s);
        double toStart = DistanceFD(s.x1, s.y1, p.x, p.y);
        double toEnd = DistanceFD(s.x2, s.y2, p.x, p.y);
        if (toStart < *best && toStart <= toEnd) {
            *best = toStart;
        } else if (toEnd < *best && toEnd < toStart) {
            ReverseSegment(s);
            *best = toEnd;
        } else {
            continue;
        }
        found = i;
        if (EndsSearch(*best, loose))
            break;
    }
    return found;
}

// Moves the gathered chains to the output, from the tail and each segment
// turned round when the reverse flag is set.
void FlushChain(SegmentList& chain, bool& reverse, SegmentList& output)
{
    if (reverse) {
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            ReverseSegment(**it);
            output.push_back(std::move(*it));
        }
    } else {
        for (std::unique_ptr<Segment>& s : chain)
            output.push_back(std::move(s));
    }
    chain.clear();
    reverse = false;
}

// Takes the segments chain after chain, each chain from the segment nearest
// to the current point. In the full ordering the chains gather in a chain
// list, which goes to the output only when a new chain had to be reached
// across a distance (and at the end): a chain head reached at distance 0
// joins the list, and one that is an arc of type 1 turns the whole list
// round. The short form sends each segment straight to the output.
void TakeChains(SegmentList& segments, bool loose)
{
    CSegmentLinks links(std::move(segments));
    SegmentList output, chain;
    output.reserve(links.Size());
    bool reverse = false;
    CDPoint p(kNoPointXY, kNoPointXY);
    std::size_t pos = links.Head();
    while (!links.Empty()) {
        if (pos == kNone)
            pos = links.Head();
        std::size_t taken = pos;
        if (!ContinuesAt(links[pos], p, loose)) {
            double best = 0.0;
            taken = FindChainStart(links, p, loose, &best);
            if (taken == kNone) {
                // Only coordinates that are not numbers leave nothing in
                // reach; the head then starts a chain of its own, so the
                // walk always ends.
                taken = links.Head();
                best = kSearchStart;
            }
            if (!loose) {
                if (best != 0.0 && !chain.empty())
                    FlushChain(chain, reverse, output);
                if (links[taken].type == 1)
                    reverse = true;
            }
        }
        p = EndOf(links[taken]);
        pos = links.Next(taken);
        (loose ? output : chain).push_back(links.Take(taken));
    }
    FlushChain(chain, reverse, output);
    segments = std::move(output);
}

// Drops what the chaining leaves that cannot be milled: segments at the
// current point's starting place and lines of no length.
void DropStrays(SegmentList& segments)
{
    const float none = float(kNoPointXY);
    std::erase_if(segments, [none](const std::unique_ptr<Segment>& s) {
        return (s->x1 == none && s->y1 == none) ||
               (s->x1 == s->x2 && s->y1 == s->y2 && s->cy == 0.0f);
    });
}

// Moves the corner between two straight long segments to the meeting of
// their lines when that point lies within the gap they leave and the gap is
// below the limit. Parallel lines do not meet: that corner stays.
bool MoveCornerToMeeting(Segment& before, Segment& after, double limit, const CCornerTest& clear)
{
    if (before.type != 0 || after.type != 0)
        return false;
    float x = 0.0f, y = 0.0f;
    if (!IntersectLinesF(before.x1, before.y1, before.x2, before.y2, after.x1, after.y1, after.x2,
                         after.y2, &x, &y))
        return false;
    double gap = StepBetween(before, after);
    if (!(DistanceF(x, y, after.x1, after.y1) < gap && DistanceF(x, y, before.x2, before.y2) < gap &&
          gap < limit))
        return false;
    // The lines may meet inside copper that bulges between them (a pad at
    // a bend): moving the corner there would cut it.
    if (clear && !clear(x, y))
        return false;
    before.x2 = x;
    before.y2 = y;
    after.x1 = x;
    after.y1 = y;
    return true;
}

// One chain of the corner walk: its first and last segments, its last long
// segment and the short segments met since that one.
struct CCornerChain {
    std::size_t first = kNone;
    std::size_t lastLong = kNone;
    std::vector<std::size_t> shortRun;
};

// The corner where a finished chain closes on itself: its last long segment
// against its first segment or, when that one is a short line, against the
// second (the first is then cut away with the short run).
void CloseChain(SegmentList& segments, CCornerChain& chain, std::vector<char>& doomed,
                double limit, const CCornerTest& clear)
{
    if (chain.lastLong == kNone)
        return;
    std::size_t partner = chain.first;
    const Segment& first = *segments[chain.first];
    if (first.type == 0 && LengthOf(first) < limit) {
        // A short first segment means a later long one, so a second exists.
        chain.shortRun.push_back(chain.first);
        partner = chain.first + 1;
    }
    if (!chain.shortRun.empty() &&
        MoveCornerToMeeting(*segments[chain.lastLong], *segments[partner], limit, clear)) {
        for (std::size_t i : chain.shortRun)
            doomed[i] = 1;
    }
}

// One corner-cutting pass with the limit L: long segments are at least L.
// The end of the list closes the last chain as a break closes the others.
void CutCorners(SegmentList& segments, double limit, const CCornerTest& clear)
{
    std::vector<char> doomed(segments.size(), 0);
    CCornerChain chain;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        Segment& s = *segments[i];
        bool continues = i > 0 && s.x1 == segments[i - 1]->x2 && s.y1 == segments[i - 1]->y2;
        bool isLong = LengthOf(s) >= limit;
        if (!continues) {
            if (i > 0)
                CloseChain(segments, chain, doomed, limit, clear);
            chain = CCornerChain{i, isLong ? i : kNone, {}};
            continue;
        }
        if (!isLong) {
            chain.shortRun.push_back(i);
            continue;
        }
        std::size_t shortCount = chain.shortRun.size();
        if (chain.lastLong != kNone && shortCount >= 1 && shortCount <= kMostShortInCorner &&
            MoveCornerToMeeting(*segments[chain.lastLong], s, limit, clear)) {
            for (std::size_t j : chain.shortRun)
                doomed[j] = 1;
        }
        chain.shortRun.clear();
        chain.lastLong = i;
    }
    if (!segments.empty())
        CloseChain(segments, chain, doomed, limit, clear);

    std::size_t kept = 0;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (!doomed[i])
            segments[kept++] = std::move(segments[i]);
    }
    segments.resize(kept);
}

// The key that chooses a chain: its first start Y, lowest first. A Y that is
// not a number sorts last so that the order stays a strict one.
float StartYKey(const Segment& s)
{
    return std::isnan(s.y1) ? std::numeric_limits<float>::infinity() : s.y1;
}

// Moves whole chains to the output, each time the chain with the lowest first
// start Y among those followed by a gap (the earlier on a tie). The chain
// heads are kept in two ordered sets, by key and by place, so each choice
// costs a logarithm instead of a walk over the list; only the segment after a
// moved chain can start or stop being a chain head, as its neighbour changes.
void OrderChains(SegmentList& segments)
{
    CSegmentLinks links(std::move(segments));
    SegmentList output;
    output.reserve(links.Size());

    std::set<std::pair<float, std::size_t>> byStartY;
    std::set<std::size_t> byPlace;
    auto startsChain = [&links](std::size_t i) {
        std::size_t before = links.Prev(i);
        return before == kNone || StepBetween(links[before], links[i]) > kChainGap;
    };
    auto addHead = [&](std::size_t i) {
        byStartY.emplace(StartYKey(links[i]), i);
        byPlace.insert(i);
    };
    auto dropHead = [&](std::size_t i) {
        byStartY.erase({StartYKey(links[i]), i});
        byPlace.erase(i);
    };
    for (std::size_t i = links.Head(); i != kNone; i = links.Next(i)) {
        if (startsChain(i))
            addHead(i);
    }

    while (!links.Empty()) {
        if (byPlace.size() == 1) {
            while (!links.Empty())
                output.push_back(links.Take(links.Head()));
            break;
        }
        auto lowest = byStartY.begin();
        if (lowest->second == *byPlace.rbegin())
            ++lowest;  // the last chain is followed by no gap
        std::size_t i = lowest->second;
        std::size_t before = links.Prev(i);
        dropHead(i);
        std::size_t after = kNone;
        for (;;) {
            after = links.Next(i);
            bool stop = after == kNone || StepBetween(links[i], links[after]) >= kChainGap;
            output.push_back(links.Take(i));
            if (stop)
                break;
            i = after;
        }
        if (after == kNone)
            continue;
        bool head = before == kNone || StepBetween(links[before], links[after]) > kChainGap;
        bool wasHead = byPlace.count(after) != 0;
        if (wasHead && !head)
            dropHead(after);
        else if (!wasHead && head)
            addHead(after);
    }
    segments = std::move(output);
}

}  // namespace

void SortIsolationPaths(COwnedList<CGridPathSegment>& segments, int pitch,
                        const CCornerTest& cornerClear)
{
    NumberChains(segments);
    TakeChains(segments, false);
    DropStrays(segments);
    CutCorners(segments, kFirstCornerLimit * pitch, cornerClear);
    CutCorners(segments, kSecondCornerLimit * pitch, cornerClear);
    OrderChains(segments);
}

void SortSegmentList(COwnedList<CGridPathSegment>& segments)
{
    NumberChains(segments);
    TakeChains(segments, true);
}
