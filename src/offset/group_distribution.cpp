// Pieces and sources handed to groups by number, and groups of one source.
#include "offset/group_distribution.h"

#include "platform/resources.h"
#include "resource_ids.h"
#include "ui/message_dlg.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

// The group at 1-based position `number` of the list, or null.
CIsoGroup* GroupAt(CRefList<CIsoGroup>& groups, int number)
{
    if (number < 1 || std::size_t(number) > groups.size())
        return nullptr;
    return groups[std::size_t(number - 1)];
}

bool SlotInRange(int slot) { return slot >= 0 && slot < 4; }

// A list that takes each element once, whatever it held before.
class CMemberSet {
public:
    explicit CMemberSet(CRefList<CIsoElement>& list) : m_List(list), m_Held(list.begin(), list.end()) {}
    void AppendOnce(CIsoElement* e)
    {
        if (m_Held.insert(e).second)
            m_List.push_back(e);
    }

private:
    CRefList<CIsoElement>& m_List;
    std::unordered_set<const CIsoElement*> m_Held;
};

}  // namespace

void DistributeByGroupIndex(CRefList<CIsoGroup>& groups, CRefList<CIsoGroup>& targets, int slot)
{
    if (!SlotInRange(slot))
        return;
    for (CIsoGroup* g : groups) {
        // A group may be its own target: only the pieces it held before.
        const std::size_t count = g->Pieces.size();
        for (std::size_t i = 0; i < count; ++i) {
            CIsoElement* p = g->Pieces[i];
            if (!p->Source)
                continue;
            if (CIsoGroup* target = GroupAt(targets, p->Source->GroupNo[slot]))
                target->Pieces.push_back(p);
        }
    }
}

void DistributeByGroupIndex2(COffsetEngineLists& lists, CRefList<CIsoElement>& pieces,
                             CRefList<CIsoElement>& sources, CRefList<CIsoGroup>& groups,
                             int slot)
{
    for (int n = 1; n <= lists.m_IsoGroupCount; ++n)
        groups.push_back(lists.AddGroup(n));
    if (!SlotInRange(slot))
        return;
    CMemberSet inSources(sources);
    std::unordered_map<CIsoGroup*, CMemberSet> inGroup;
    for (CIsoElement* p : pieces) {
        CIsoElement* s = p->Source;
        if (!s)
            continue;
        inSources.AppendOnce(s);
        if (CIsoGroup* g = GroupAt(groups, s->GroupNo[slot])) {
            g->Pieces.push_back(p);
            inGroup.try_emplace(g, g->Sources).first->second.AppendOnce(s);
        }
    }
}

void BuildGroupRelations(COffsetEngineLists& lists, CRefList<CIsoElement>& pieces,
                         CRefList<CIsoGroup>& groups, std::uint8_t mode)
{
    CMessageDlg notice;
    notice.ShowId(IDS_BUILDING_GROUPS);
    if (mode == 0) {
        const std::unordered_set<const CIsoGroup*> old(groups.begin(), groups.end());
        groups.clear();
        std::erase_if(lists.m_IsoGroups, [&](const auto& g) { return old.count(g.get()) != 0; });
        int number = 0;
        for (CIsoElement* s : lists.m_IsoSources) {
            CIsoGroup* g = lists.AddGroup(++number);
            g->Sources.push_back(s);
            groups.push_back(g);
        }
        return;
    }
    if (mode != 1 && mode != 2)
        return;
    // Each source's first group in list order.
    std::unordered_map<const CIsoElement*, CIsoGroup*> home;
    for (CIsoGroup* g : groups)
        for (const CIsoElement* s : g->Sources)
            home.emplace(s, g);
    for (CIsoElement* p : pieces) {
        auto it = home.find(p->Source);
        if (it == home.end())
            continue;
        p->GroupNo[0] = it->second->GroupNo;
        (mode == 1 ? it->second->Pieces : it->second->OtherPieces).push_back(p);
    }
}
