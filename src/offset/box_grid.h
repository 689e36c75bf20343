// A grid of cells over boxes, to find the boxes that meet a given one without
// a walk over all of them. Boxes are added by index; an index is found
// through every cell its box covered when it was added. Boxes outside the
// grid's extent fall into its border cells, so nothing is ever missed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

struct CBox {
    double x0, y0, x1, y1;
    bool Meets(const CBox& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
    CBox Grown(double g) const { return {x0 - g, y0 - g, x1 + g, y1 + g}; }
    // The smallest box holding both.
    CBox United(const CBox& o) const
    {
        return {std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
    }
};

class CBoxGrid {
public:
    // A grid over the boxes, a few boxes a cell, at most 2048 cells a
    // side; the boxes are added as indices 0, 1, ...
    explicit CBoxGrid(const std::vector<CBox>& boxes);

    // Adds box `index`; indices need not be dense. A grid that has come to
    // hold many times the boxes it was laid out for is laid out again over
    // them, so its cells stay a few boxes each.
    void Add(std::uint32_t index, const CBox& box);
    // Box `index` (added before) is now `box`: a box that shrank leaves the
    // cells it no longer covers.
    void Move(std::uint32_t index, const CBox& box);
    // The indices from `first` up whose added boxes meet `box`, rising.
    void Find(const CBox& box, std::uint32_t first, std::vector<std::uint32_t>& out);

private:
    double m_X0 = 0.0, m_Y0 = 0.0, m_Cell = 1.0;
    int m_Cols = 1, m_Rows = 1;
    std::vector<std::vector<std::uint32_t>> m_Cells;
    std::vector<CBox> m_Boxes;          // by index
    std::vector<bool> m_Added;          // by index
    std::vector<std::uint32_t> m_Seen;  // by index: the last search that met it
    std::uint32_t m_Search = 0;
    std::size_t m_Count = 0;            // boxes added
    std::size_t m_LaidOutFor = 0;       // boxes the cells were sized for

    // Sizes the cells for the boxes over their extent.
    void Layout(const std::vector<CBox>& boxes);
    void Insert(std::uint32_t index, const CBox& box);
    // The cells a box covers: columns c0..c1, rows r0..r1.
    struct CSpan {
        int c0, c1, r0, r1;
        bool Holds(int c, int r) const { return c0 <= c && c <= c1 && r0 <= r && r <= r1; }
    };
    CSpan SpanOf(const CBox& box) const;
    template <class F>
    void ForCells(const CBox& box, F f);
};
