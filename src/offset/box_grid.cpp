// The grid of cells behind the neighbour searches of grouping and trimming.
#include "offset/box_grid.h"

#include <algorithm>
#include <cmath>

namespace {

// Fewer cells than boxes: each cell is a list of its own, and a few boxes
// more to test in a search cost less than the lists.
constexpr double kBoxesPerCell = 4.0;
// A grid is laid out again once it holds this many times the boxes it was
// laid out for (and at least kRelayoutFloor): trimming splits a few long
// pieces into thousands of short ones.
constexpr std::size_t kRelayoutGrowth = 4;
constexpr std::size_t kRelayoutFloor = 256;

}  // namespace

CBoxGrid::CBoxGrid(const std::vector<CBox>& boxes)
{
    Layout(boxes);
    for (std::uint32_t i = 0; i < boxes.size(); ++i)
        Add(i, boxes[i]);
}

void CBoxGrid::Layout(const std::vector<CBox>& boxes)
{
    const std::size_t count = boxes.size();
    m_LaidOutFor = count;
    m_X0 = m_Y0 = 0.0;
    m_Cell = 1.0;
    m_Cols = m_Rows = 1;
    if (count > 0) {
        CBox all = boxes.front();
        for (const CBox& b : boxes)
            all = all.United(b);
        double w = std::max(all.x1 - all.x0, 1.0), h = std::max(all.y1 - all.y0, 1.0);
        m_X0 = all.x0;
        m_Y0 = all.y0;
        m_Cell = std::max({std::sqrt(kBoxesPerCell * w * h / double(count)), w / 2048.0,
                           h / 2048.0});
        m_Cols = int(w / m_Cell) + 1;
        m_Rows = int(h / m_Cell) + 1;
    }
    m_Cells.assign(std::size_t(m_Cols) * std::size_t(m_Rows), {});
}

CBoxGrid::CSpan CBoxGrid::SpanOf(const CBox& box) const
{
    auto col = [&](double x) { return std::clamp(int((x - m_X0) / m_Cell), 0, m_Cols - 1); };
    auto row = [&](double y) { return std::clamp(int((y - m_Y0) / m_Cell), 0, m_Rows - 1); };
    return {col(box.x0), col(box.x1), row(box.y0), row(box.y1)};
}

template <class F>
void CBoxGrid::ForCells(const CBox& box, F f)
{
    const CSpan span = SpanOf(box);
    for (int r = span.r0; r <= span.r1; ++r)
        for (int c = span.c0; c <= span.c1; ++c)
            f(m_Cells[std::size_t(r) * std::size_t(m_Cols) + std::size_t(c)]);
}

// Cells stay in rising order, so a search from `first` skips the lower
// indices by halving; boxes mostly come in rising order, so this appends.
void CBoxGrid::Insert(std::uint32_t index, const CBox& box)
{
    ForCells(box, [&](std::vector<std::uint32_t>& cell) {
        cell.insert(std::upper_bound(cell.begin(), cell.end(), index), index);
    });
}

void CBoxGrid::Add(std::uint32_t index, const CBox& box)
{
    if (index >= m_Boxes.size()) {
        m_Boxes.resize(index + 1, CBox{0, 0, 0, 0});
        m_Added.resize(index + 1, false);
        m_Seen.resize(index + 1, 0);
    }
    m_Boxes[index] = box;
    if (!m_Added[index])
        ++m_Count;
    m_Added[index] = true;
    if (m_Count >= kRelayoutFloor && m_Count > kRelayoutGrowth * m_LaidOutFor) {
        std::vector<CBox> added;
        for (std::uint32_t i = 0; i < m_Boxes.size(); ++i)
            if (m_Added[i])
                added.push_back(m_Boxes[i]);
        Layout(added);
        for (std::uint32_t i = 0; i < m_Boxes.size(); ++i)
            if (m_Added[i])
                Insert(i, m_Boxes[i]);
        return;
    }
    Insert(index, box);
}

void CBoxGrid::Move(std::uint32_t index, const CBox& box)
{
    const CSpan was = SpanOf(m_Boxes[index]), now = SpanOf(box);
    m_Boxes[index] = box;
    for (int r = std::min(was.r0, now.r0); r <= std::max(was.r1, now.r1); ++r)
        for (int c = std::min(was.c0, now.c0); c <= std::max(was.c1, now.c1); ++c) {
            const bool in = was.Holds(c, r), stays = now.Holds(c, r);
            if (in == stays)
                continue;
            auto& cell = m_Cells[std::size_t(r) * std::size_t(m_Cols) + std::size_t(c)];
            auto at = std::lower_bound(cell.begin(), cell.end(), index);
            if (in)
                cell.erase(at);
            else
                cell.insert(at, index);
        }
}

void CBoxGrid::Find(const CBox& box, std::uint32_t first, std::vector<std::uint32_t>& out)
{
    out.clear();
    ++m_Search;
    int cells = 0;
    ForCells(box, [&](const std::vector<std::uint32_t>& cell) {
        ++cells;
        for (auto j = std::lower_bound(cell.begin(), cell.end(), first); j != cell.end(); ++j)
            if (m_Seen[*j] != m_Search && box.Meets(m_Boxes[*j])) {
                m_Seen[*j] = m_Search;
                out.push_back(*j);
            }
    });
    // One cell gives its indices in rising order already.
    if (cells > 1)
        std::sort(out.begin(), out.end());
}
