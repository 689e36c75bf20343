// Grouping by flooding: from each ungrouped seed, every ungrouped element
// that touches an element of the group joins it. Candidates come from a grid
// of cells over the copper, in the order of the source list, so the result
// is the one a walk of the whole list would give; the flood keeps its own
// stack, since a group can hold tens of thousands of elements.
#include "offset/grouping.h"

#include "offset/copper_distance.h"
#include "offset/offset_constants.h"
#include "offset/touch_tests.h"
#include "ui/message_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

struct Box {
    double x0, y0, x1, y1;
    bool Meets(const Box& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
};

// Each element's box grown so that any two elements that can touch have
// boxes that meet: the gap may reach d, and the end-point joins reach d/2 +
// 1.0 beyond band corners that lie d/2 outside the copper.
class CNeighbourGrid {
public:
    CNeighbourGrid(const CRefList<CIsoElement>& elements, float d)
    {
        const double grow = d / 2.0 + offset::kEndJoinSlack / 2.0 + 0.1;
        m_Boxes.reserve(elements.size());
        Box all{1e300, 1e300, -1e300, -1e300};
        for (const CIsoElement* e : elements) {
            double b[4];
            CopperBox(*e, b);
            Box box{b[0] - grow, b[1] - grow, b[2] + grow, b[3] + grow};
            m_Boxes.push_back(box);
            all = {std::min(all.x0, box.x0), std::min(all.y0, box.y0), std::max(all.x1, box.x1),
                   std::max(all.y1, box.y1)};
        }
        if (elements.empty())
            return;
        m_Origin = all;
        // About one element a cell, but never more than 2048 cells a side.
        double w = std::max(all.x1 - all.x0, 1.0), h = std::max(all.y1 - all.y0, 1.0);
        m_Cell = std::max({std::sqrt(w * h / double(elements.size())), w / 2048.0, h / 2048.0});
        m_Cols = int(w / m_Cell) + 1;
        m_Rows = int(h / m_Cell) + 1;
        // Two passes: count, then fill, so each cell is one slice of one array.
        m_Start.assign(std::size_t(m_Cols) * m_Rows + 1, 0);
        for (const Box& box : m_Boxes)
            ForCells(box, [&](std::size_t cell) { ++m_Start[cell + 1]; });
        for (std::size_t i = 1; i < m_Start.size(); ++i)
            m_Start[i] += m_Start[i - 1];
        m_Items.resize(m_Start.back());
        std::vector<std::uint32_t> fill(m_Start.begin(), m_Start.end() - 1);
        for (std::uint32_t i = 0; i < m_Boxes.size(); ++i)
            ForCells(m_Boxes[i], [&](std::size_t cell) { m_Items[fill[cell]++] = i; });
    }

    const Box& BoxOf(std::uint32_t i) const { return m_Boxes[i]; }

    // The indices whose boxes meet element i's, in rising order, without i.
    void Neighbours(std::uint32_t i, std::vector<std::uint32_t>& out,
                    std::vector<std::uint32_t>& stamp, std::uint32_t visit) const
    {
        out.clear();
        const Box& box = m_Boxes[i];
        ForCells(box, [&](std::size_t cell) {
            for (std::uint32_t k = m_Start[cell]; k < m_Start[cell + 1]; ++k) {
                std::uint32_t j = m_Items[k];
                if (j != i && stamp[j] != visit && box.Meets(m_Boxes[j])) {
                    stamp[j] = visit;
                    out.push_back(j);
                }
            }
        });
        std::sort(out.begin(), out.end());
    }

private:
    std::vector<Box> m_Boxes;
    Box m_Origin{0, 0, 0, 0};
    double m_Cell = 1.0;
    int m_Cols = 0, m_Rows = 0;
    std::vector<std::uint32_t> m_Start;
    std::vector<std::uint32_t> m_Items;

    int Clamp(double v, int n) const { return std::clamp(int(v / m_Cell), 0, n - 1); }

    template <class F>
    void ForCells(const Box& box, F f) const
    {
        int cx0 = Clamp(box.x0 - m_Origin.x0, m_Cols), cx1 = Clamp(box.x1 - m_Origin.x0, m_Cols);
        int cy0 = Clamp(box.y0 - m_Origin.y0, m_Rows), cy1 = Clamp(box.y1 - m_Origin.y0, m_Rows);
        for (int cy = cy0; cy <= cy1; ++cy)
            for (int cx = cx0; cx <= cx1; ++cx)
                f(std::size_t(cy) * m_Cols + cx);
    }
};

struct Frame {
    std::uint32_t element;
    std::vector<std::uint32_t> candidates;
    std::size_t next = 0;
};

}  // namespace

void BuildGroups(COffsetEngineLists& lists, CRefList<CIsoElement>& sources,
                 CRefList<CIsoGroup>& groups, float d, int mark)
{
    CMessageDlg notice;
    lists.m_IsoGroupCount = 0;
    for (CIsoElement* e : sources)
        e->GroupNo[mark] = -1;

    const CRefList<CIsoElement> elements = sources;
    CNeighbourGrid grid(elements, d);
    std::vector<std::uint32_t> stamp(elements.size(), 0);
    std::uint32_t visit = 0;
    std::vector<Frame> stack;
    CRefList<CIsoGroup> made;

    for (std::uint32_t seed = 0; seed < elements.size(); ++seed) {
        if (elements[seed]->GroupNo[mark] >= 0)
            continue;
        lists.m_IsoGroups.push_back(std::make_unique<CIsoGroup>());
        CIsoGroup* group = lists.m_IsoGroups.back().get();
        groups.push_back(group);
        made.push_back(group);
        group->GroupNo = ++lists.m_IsoGroupCount;
        elements[seed]->GroupNo[mark] = group->GroupNo;
        group->Sources.push_back(elements[seed]);

        stack.push_back({seed, {}, 0});
        grid.Neighbours(seed, stack.back().candidates, stamp, ++visit);
        while (!stack.empty()) {
            Frame& top = stack.back();
            const CIsoElement& x = *elements[top.element];
            std::uint32_t found = UINT32_MAX;
            while (top.next < top.candidates.size()) {
                std::uint32_t j = top.candidates[top.next++];
                CIsoElement& y = *elements[j];
                if (y.GroupNo[mark] < 0 && ElementsTouch(x, y, d)) {
                    found = j;
                    break;
                }
            }
            if (found == UINT32_MAX) {
                stack.pop_back();
                continue;
            }
            elements[found]->GroupNo[mark] = group->GroupNo;
            group->Sources.push_back(elements[found]);
            Frame frame{found, {}, 0};
            grid.Neighbours(found, frame.candidates, stamp, ++visit);
            stack.push_back(std::move(frame));
        }
        notice.ShowF("%ld", long(lists.m_IsoGroupCount));
    }

    sources.clear();
    for (CIsoGroup* group : made)
        sources.insert(sources.end(), group->Sources.begin(), group->Sources.end());
}
