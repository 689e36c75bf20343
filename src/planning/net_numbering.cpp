// Net numbering by touch tests. Every record the spreading reaches is tested
// against every unnumbered record; a grid of cells over the copper keeps the
// tests to the records near it, and the candidates are tested in list order,
// so the numbers come out as a walk over the whole lists gives them.
#include "planning/net_numbering.h"

#include "geometry/plane_geometry.h"
#include "records/board_model.h"
#include "records/copper_records.h"
#include "records/track_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// What the touch tests can reach beyond a record's box: the truncation of a
// track's end to whole mils, and the box tests' own tolerances.
constexpr float kReachMargin = 2.0f;

struct Box {
    float minX, minY, maxX, maxY;
};

Box CentreLineBox(const CTrackRecord& t, float grow)
{
    return {std::min(t.x1, t.x2) - grow, std::min(t.y1, t.y2) - grow,
            std::max(t.x1, t.x2) + grow, std::max(t.y1, t.y2) + grow};
}

Box CircleBox(const CFlashRecord& f, float grow)
{
    const float r = std::fabs(f.radius) + grow;
    return {f.x - r, f.y - r, f.x + r, f.y + r};
}

bool Finite(const Box& b)
{
    return std::isfinite(b.minX) && std::isfinite(b.minY) && std::isfinite(b.maxX) &&
           std::isfinite(b.maxY);
}

// Record indices by the grid cells their boxes cover. Records whose boxes
// are not finite, or cover too many cells, go to a list that every query
// returns, so no record is ever missed.
class CCellGrid {
public:
    void Build(const std::vector<Box>& boxes)
    {
        m_Cells.clear();
        m_Everywhere.clear();
        m_Stamp.assign(boxes.size(), 0);
        float minX = 1e30f, minY = 1e30f, maxX = -1e30f, maxY = -1e30f;
        std::size_t finite = 0;
        for (const Box& b : boxes)
            if (Finite(b)) {
                minX = std::min(minX, b.minX);
                minY = std::min(minY, b.minY);
                maxX = std::max(maxX, b.maxX);
                maxY = std::max(maxY, b.maxY);
                ++finite;
            }
        if (finite == 0) {
            for (std::size_t i = 0; i < boxes.size(); ++i)
                m_Everywhere.push_back(static_cast<std::uint32_t>(i));
            m_Columns = m_Rows = 0;
            return;
        }
        m_OriginX = minX;
        m_OriginY = minY;
        const double width = std::max(1.0, double(maxX) - minX);
        const double height = std::max(1.0, double(maxY) - minY);
        // About two records a cell, within bounds that keep the grid small.
        double cell = std::sqrt(width * height / double(finite)) * 1.5;
        cell = std::clamp(cell, 4.0, 4000.0);
        m_Columns = std::min<long>(4096, long(width / cell) + 1);
        m_Rows = std::min<long>(4096, long(height / cell) + 1);
        m_CellW = width / double(m_Columns);
        m_CellH = height / double(m_Rows);
        m_Cells.assign(std::size_t(m_Columns * m_Rows), {});
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const Box& b = boxes[i];
            long c0, r0, c1, r1;
            if (!Finite(b) || !Span(b, &c0, &r0, &c1, &r1) ||
                (c1 - c0 + 1) * (r1 - r0 + 1) > 4096) {
                m_Everywhere.push_back(static_cast<std::uint32_t>(i));
                continue;
            }
            for (long r = r0; r <= r1; ++r)
                for (long c = c0; c <= c1; ++c)
                    m_Cells[std::size_t(r * m_Columns + c)].push_back(
                        static_cast<std::uint32_t>(i));
        }
    }

    // Indices of the records whose boxes may overlap `b`, ascending.
    void Query(const Box& b, std::vector<std::uint32_t>& out)
    {
        out.clear();
        ++m_Query;
        auto take = [&](std::uint32_t i) {
            if (m_Stamp[i] != m_Query) {
                m_Stamp[i] = m_Query;
                out.push_back(i);
            }
        };
        for (std::uint32_t i : m_Everywhere)
            take(i);
        long c0, r0, c1, r1;
        if (!Finite(b)) {
            for (auto& cell : m_Cells)
                for (std::uint32_t i : cell)
                    take(i);
        } else if (m_Columns > 0 && Span(b, &c0, &r0, &c1, &r1)) {
            for (long r = r0; r <= r1; ++r)
                for (long c = c0; c <= c1; ++c)
                    for (std::uint32_t i : m_Cells[std::size_t(r * m_Columns + c)])
                        take(i);
        }
        std::sort(out.begin(), out.end());
    }

private:
    // The cells a box covers, clamped to the grid; false when it lies
    // wholly outside.
    bool Span(const Box& b, long* c0, long* r0, long* c1, long* r1) const
    {
        const double x0 = (double(b.minX) - m_OriginX) / m_CellW;
        const double x1 = (double(b.maxX) - m_OriginX) / m_CellW;
        const double y0 = (double(b.minY) - m_OriginY) / m_CellH;
        const double y1 = (double(b.maxY) - m_OriginY) / m_CellH;
        if (x1 < 0 || y1 < 0 || x0 >= double(m_Columns) || y0 >= double(m_Rows))
            return false;
        *c0 = std::max(0L, long(std::floor(x0)));
        *r0 = std::max(0L, long(std::floor(y0)));
        *c1 = std::min(m_Columns - 1, long(std::floor(x1)));
        *r1 = std::min(m_Rows - 1, long(std::floor(y1)));
        return true;
    }

    double m_OriginX = 0, m_OriginY = 0, m_CellW = 1, m_CellH = 1;
    long m_Columns = 0, m_Rows = 0;
    std::vector<std::vector<std::uint32_t>> m_Cells;
    std::vector<std::uint32_t> m_Everywhere;
    std::vector<std::uint32_t> m_Stamp;
    std::uint32_t m_Query = 0;
};

bool Numberable(const CTrackRecord& t)
{
    return t.groupNo == 0 && t.chordMark == 0 && static_cast<std::int8_t>(t.type) < 3;
}

// The touch test of a pad and a track's centre line.
bool FlashTouchesTrack(const CFlashRecord& f, const CTrackRecord& t)
{
    float ax, ay, bx, by;
    return IntersectSegmentCircleF(f.x, f.y, f.radius, t.x1, t.y1, t.x2, t.y2, &ax, &ay, &bx, &by,
                                   2) == 1;
}

int TruncToInt(float v)
{
    if (!(std::fabs(v) < 2.0e9f))
        return 0;
    return static_cast<int>(v);
}

// Whether the given track g reaches track t: their centre lines cross, or an
// end of g (in whole mils) lies on t.
bool TrackTouchesTrack(const CTrackRecord& g, const CTrackRecord& t)
{
    float x, y;
    if (IntersectSegRecordsF(g, t, &x, &y) == 1)
        return true;
    return PointInTrack(t, TruncToInt(g.x1), TruncToInt(g.y1)) ||
           PointInTrack(t, TruncToInt(g.x2), TruncToInt(g.y2));
}

}  // namespace

struct CNetNumbering::Index {
    CCellGrid tracks;   // by centre line grown by half the width
    CCellGrid flashes;  // by circle
    std::vector<std::uint32_t> found;
};

CNetNumbering::CNetNumbering(CBoardModel& model) : m_Model(model), m_Index(new Index)
{
    std::vector<Box> boxes;
    boxes.reserve(model.m_TrackList.size());
    for (const auto& t : model.m_TrackList)
        boxes.push_back(CentreLineBox(*t, std::fabs(t->width) / 2.0f + kReachMargin));
    m_Index->tracks.Build(boxes);
    boxes.clear();
    for (const auto& f : model.m_FlashList)
        boxes.push_back(CircleBox(*f, kReachMargin));
    m_Index->flashes.Build(boxes);
}

CNetNumbering::~CNetNumbering() = default;

void CNetNumbering::SpreadNetNumber(void* record, int kind)
{
    auto& tracks = m_Model.m_TrackList;
    auto& flashes = m_Model.m_FlashList;
    using Found = std::vector<std::pair<void*, int>>;
    // The records one record reaches, numbered as they are found.
    auto collect = [&](void* from, int fromKind, Found& out) {
        out.clear();
        std::vector<std::uint32_t>& near = m_Index->found;
        if (fromKind == kFlash) {
            const auto& f = *static_cast<CFlashRecord*>(from);
            m_Index->tracks.Query(CircleBox(f, kReachMargin), near);
            for (std::uint32_t i : near) {
                CTrackRecord& t = *tracks[i];
                if (Numberable(t) && FlashTouchesTrack(f, t)) {
                    t.groupNo = f.groupNo;
                    out.emplace_back(&t, kTrack);
                }
            }
            return;
        }
        const auto& g = *static_cast<CTrackRecord*>(from);
        m_Index->tracks.Query(CentreLineBox(g, kReachMargin), near);
        for (std::uint32_t i : near) {
            CTrackRecord& t = *tracks[i];
            if (!Numberable(t) || !TrackTouchesTrack(g, t))
                continue;
            t.groupNo = g.groupNo;
            out.emplace_back(&t, kTrack);
            // The records that continue it (the chords of an arc) share it.
            for (std::size_t k = i + 1; k < tracks.size() && tracks[k]->chordMark != 0; ++k)
                tracks[k]->groupNo = g.groupNo;
        }
        m_Index->flashes.Query(CentreLineBox(g, kReachMargin), near);
        for (std::uint32_t i : near) {
            CFlashRecord& f = *flashes[i];
            if (f.groupNo == 0 && FlashTouchesTrack(f, g)) {
                f.groupNo = g.groupNo;
                out.emplace_back(&f, kFlash);
            }
        }
    };

    // Depth first in the order found, as a recursion would go, on a stack
    // of our own: a ground plane chains thousands of records.
    struct Frame {
        Found records;
        std::size_t next = 0;
    };
    std::vector<Frame> stack(1);
    collect(record, kind, stack.back().records);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.records.size()) {
            stack.pop_back();
            continue;
        }
        const auto [from, fromKind] = top.records[top.next++];
        Frame frame;
        collect(from, fromKind, frame.records);
        if (!frame.records.empty())
            stack.push_back(std::move(frame));
    }
}

bool CNetNumbering::NumberAll(const CNetProgress& progress)
{
    const std::size_t total = m_Model.m_FlashList.size() + m_Model.m_TrackList.size();
    std::size_t done = 0;
    std::uint32_t next = 1;
    for (auto& f : m_Model.m_FlashList) {
        if (f->groupNo == 0) {
            f->groupNo = static_cast<std::int32_t>(next++);
            SpreadNetNumber(f.get(), kFlash);
        }
        if (progress && progress(++done, total))
            return false;
    }
    for (auto& t : m_Model.m_TrackList) {
        if (t->groupNo == 0 && static_cast<std::int8_t>(t->type) < 3) {
            t->groupNo = static_cast<std::int32_t>(next++);
            SpreadNetNumber(t.get(), kTrack);
        }
        if (progress && progress(++done, total))
            return false;
    }
    return true;
}
