// Grouping by flooding: from each ungrouped seed, every ungrouped element
// that touches an element of the group joins it. Candidates come from a grid
// of cells over the copper, in the order of the source list, so the result
// is the one a walk of the whole list would give; the flood keeps its own
// stack, since a group can hold tens of thousands of elements.
#include "offset/grouping.h"

#include "offset/box_grid.h"
#include "offset/copper_distance.h"
#include "offset/offset_constants.h"
#include "offset/touch_tests.h"
#include "ui/message_dlg.h"

#include <cstdint>
#include <vector>

namespace {

// Each element's box grown so that any two elements that can touch have
// boxes that meet: the gap may reach d, and the end-point joins reach d/2 +
// 1.0 beyond band corners that lie d/2 outside the copper.
std::vector<CBox> ReachBoxes(const CRefList<CIsoElement>& elements, float d)
{
    const double grow = d / 2.0 + offset::kEndJoinSlack / 2.0 + 0.1;
    std::vector<CBox> boxes;
    boxes.reserve(elements.size());
    for (const CIsoElement* e : elements) {
        double b[4];
        CopperBox(*e, b);
        boxes.push_back(CBox{b[0], b[1], b[2], b[3]}.Grown(grow));
    }
    return boxes;
}

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
    const std::vector<CBox> boxes = ReachBoxes(elements, d);
    CBoxGrid grid(boxes);
    // Candidates are every element whose box meets, before or after in the
    // list, as the walk of the whole list would meet them; the element
    // itself is grouped already and passed over.
    auto neighbours = [&](std::uint32_t i, std::vector<std::uint32_t>& out) {
        grid.Find(boxes[i], 0, out);
    };
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
        neighbours(seed, stack.back().candidates);
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
            neighbours(found, frame.candidates);
            stack.push_back(std::move(frame));
        }
        notice.ShowF("%ld", long(lists.m_IsoGroupCount));
    }

    sources.clear();
    for (CIsoGroup* group : made)
        sources.insert(sources.end(), group->Sources.begin(), group->Sources.end());
}
