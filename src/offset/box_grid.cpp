// The grid of cells behind the neighbour searches of grouping and trimming.
#include "offset/box_grid.h"

#include <algorithm>
#include <cmath>

namespace {

// Fewer cells than boxes: each cell is a list of its own, and a few boxes
// more to test in a search cost less than the lists.
constexpr double kBoxesPerCell = 4.0;

}  // namespace

CBoxGrid::CBoxGrid(const std::vector<CBox>& boxes)
{
    if (!boxes.empty()) {
        CBox all = boxes.front();
        for (const CBox& b : boxes)
            all = {std::min(all.x0, b.x0), std::min(all.y0, b.y0), std::max(all.x1, b.x1),
                   std::max(all.y1, b.y1)};
        double w = std::max(all.x1 - all.x0, 1.0), h = std::max(all.y1 - all.y0, 1.0);
        m_X0 = all.x0;
        m_Y0 = all.y0;
        m_Cell = std::max({std::sqrt(kBoxesPerCell * w * h / double(boxes.size())), w / 2048.0,
                           h / 2048.0});
        m_Cols = int(w / m_Cell) + 1;
        m_Rows = int(h / m_Cell) + 1;
    }
    m_Cells.resize(std::size_t(m_Cols) * std::size_t(m_Rows));
    for (std::uint32_t i = 0; i < boxes.size(); ++i)
        Add(i, boxes[i]);
}

template <class F>
void CBoxGrid::ForCells(const CBox& box, F f)
{
    auto col = [&](double x) { return std::clamp(int((x - m_X0) / m_Cell), 0, m_Cols - 1); };
    auto row = [&](double y) { return std::clamp(int((y - m_Y0) / m_Cell), 0, m_Rows - 1); };
    const int c0 = col(box.x0), c1 = col(box.x1), r0 = row(box.y0), r1 = row(box.y1);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            f(m_Cells[std::size_t(r) * std::size_t(m_Cols) + std::size_t(c)]);
}

void CBoxGrid::Add(std::uint32_t index, const CBox& box)
{
    if (index >= m_Boxes.size()) {
        m_Boxes.resize(index + 1, CBox{0, 0, 0, 0});
        m_Seen.resize(index + 1, 0);
    }
    m_Boxes[index] = box;
    // Cells stay in rising order, so a search from `first` skips the lower
    // indices by halving; boxes come in rising order, so this appends.
    ForCells(box, [&](std::vector<std::uint32_t>& cell) {
        cell.insert(std::upper_bound(cell.begin(), cell.end(), index), index);
    });
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
