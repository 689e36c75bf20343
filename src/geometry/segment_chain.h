// Collecting the segments connected end to end with a given one, directly or
// through others: a chain or net of strokes; and turning a segment round. Works on any record whose first
// four fields are the doubles x1, y1, x2, y2, held in any list of pointers or
// owning pointers; the records themselves are never changed.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace segment_chain_detail {

template <class T>
T* Raw(T* p) { return p; }
template <class T>
T* Raw(const std::unique_ptr<T>& p) { return p.get(); }

// Ends closer than this (in the records' own units) touch.
constexpr double kTouch = 1.0;

inline bool Near(double ax, double ay, double bx, double by)
{
    return std::hypot(ax - bx, ay - by) < kTouch;
}

template <class Seg>
bool Touches(const Seg& r, const Seg& s)
{
    return Near(r.x1, r.y1, s.x1, s.y1) || Near(r.x1, r.y1, s.x2, s.y2) ||
           Near(r.x2, r.y2, s.x1, s.y1) || Near(r.x2, r.y2, s.x2, s.y2);
}

// The ends of the source in cells of the touch distance, so that the
// records that may touch an end are found among its nine cells.
struct Cell {
    std::int64_t x, y;
    bool operator==(const Cell&) const = default;
};
struct CellHash {
    std::size_t operator()(const Cell& c) const
    {
        return std::hash<std::int64_t>()(c.x * 73856093LL) ^ std::hash<std::int64_t>()(c.y);
    }
};

inline std::int64_t CellOf(double v)
{
    return static_cast<std::int64_t>(std::clamp(std::floor(v / kTouch), -1e15, 1e15));
}

class EndIndex {
public:
    template <class Source>
    explicit EndIndex(const Source& source)
    {
        for (std::size_t i = 0; i < source.size(); ++i) {
            const auto* r = Raw(source[i]);
            Add(r->x1, r->y1, i);
            Add(r->x2, r->y2, i);
        }
    }

    // Indices of the records with an end near (x, y), appended.
    void Near(double x, double y, std::vector<std::size_t>& out) const
    {
        if (!std::isfinite(x) || !std::isfinite(y))
            return;
        const std::int64_t cx = CellOf(x), cy = CellOf(y);
        for (std::int64_t dx = -1; dx <= 1; ++dx)
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                auto it = m_Cells.find(Cell{cx + dx, cy + dy});
                if (it != m_Cells.end())
                    out.insert(out.end(), it->second.begin(), it->second.end());
            }
    }

private:
    void Add(double x, double y, std::size_t index)
    {
        if (std::isfinite(x) && std::isfinite(y))
            m_Cells[Cell{CellOf(x), CellOf(y)}].push_back(index);
    }

    std::unordered_map<Cell, std::vector<std::size_t>, CellHash> m_Cells;
};

}  // namespace segment_chain_detail

// The records of one list, looked up by their ends, from which the chains of
// touching records are collected one after another: a record found once is
// never found again, so a list cut into all its chains costs about as much
// as one walk over it.
template <class Seg>
class CConnectedSegments {
public:
    template <class Source>
    explicit CConnectedSegments(const Source& source) : m_Index(source)
    {
        m_Source.reserve(source.size());
        for (const auto& r : source)
            m_Source.push_back(segment_chain_detail::Raw(r));
    }

    // Takes `record` as found already: no walk adds it or passes through it.
    void MarkFound(const Seg* record) { m_Found.insert(record); }
    bool Found(const Seg* record) const { return m_Found.count(record) != 0; }

    // Appends to `out` each record not found before that touches `segment`
    // or a record found on the way, in the order of a depth-first walk that
    // at every step takes the touching records in the order of the list
    // (the segment itself counts when it is in the list). The walk keeps its
    // own stack, so long chains need no deep recursion.
    void Collect(const Seg& segment, std::vector<Seg*>& out)
    {
        using namespace segment_chain_detail;
        struct Frame {
            std::vector<std::size_t> candidates;   // list positions, ascending
            std::size_t next = 0;
        };
        auto frameOf = [this](const Seg& s) {
            Frame f;
            m_Index.Near(s.x1, s.y1, f.candidates);
            m_Index.Near(s.x2, s.y2, f.candidates);
            std::sort(f.candidates.begin(), f.candidates.end());
            f.candidates.erase(std::unique(f.candidates.begin(), f.candidates.end()),
                               f.candidates.end());
            std::erase_if(f.candidates,
                          [&](std::size_t i) { return !Touches(*m_Source[i], s); });
            return f;
        };
        std::vector<Frame> stack;
        stack.push_back(frameOf(segment));
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (top.next >= top.candidates.size()) {
                stack.pop_back();
                continue;
            }
            Seg* r = m_Source[top.candidates[top.next++]];
            if (m_Found.insert(r).second) {
                out.push_back(r);
                stack.push_back(frameOf(*r));
            }
        }
    }

private:
    std::vector<Seg*> m_Source;
    segment_chain_detail::EndIndex m_Index;
    std::unordered_set<const Seg*> m_Found;
};

// Runs a segment the other way: its ends change places and an arc (type 1
// counter-clockwise, 2 clockwise) keeps its circle but changes direction.
template <class Seg>
void ReverseSegment(Seg& s)
{
    std::swap(s.x1, s.x2);
    std::swap(s.y1, s.y2);
    if (s.type == 1)
        s.type = 2;
    else if (s.type == 2)
        s.type = 1;
}

// Appends to `output` each record of `source` that touches `segment` or a
// record already found, depth first as CConnectedSegments::Collect does;
// records already in `output` are neither added again nor passed through.
// Returns 1.
template <class Source, class Seg>
int CollectConnectedSegments(const Source& source, std::vector<Seg*>& output, Seg* segment)
{
    CConnectedSegments<Seg> chains(source);
    for (const Seg* r : output)
        chains.MarkFound(r);
    chains.Collect(*segment, output);
    return 1;
}
