// The element pool of the offset-path engine and the two arc measures.
#include "records/offset_records.h"

#include <cassert>

CIsoElement* CIsoElementPool::Add(const CIsoElement& element)
{
    m_Slots.push_back(std::make_unique<CIsoElement>(element));
    CIsoElement* own = m_Slots.back().get();
    own->PoolIndex = m_Slots.size() - 1;
    ++m_Live;
    return own;
}

bool CIsoElementPool::Holds(const CIsoElement* element) const
{
    return element && element->PoolIndex < m_Slots.size() &&
           m_Slots[element->PoolIndex].get() == element;
}

void CIsoElementPool::Delete(CIsoElement* element)
{
    assert(Holds(element));
    if (!Holds(element))
        return;
    m_Slots[element->PoolIndex].reset();
    --m_Live;
}

void CIsoElementPool::Clear()
{
    m_Slots.clear();
    m_Live = 0;
}

std::vector<CIsoElement*> CIsoElementPool::Elements() const
{
    std::vector<CIsoElement*> live;
    live.reserve(m_Live);
    for (const auto& slot : m_Slots)
        if (slot)
            live.push_back(slot.get());
    return live;
}

void COffsetEngineLists::ClearOffsetEngine()
{
    m_IsoSources.clear();
    m_IsoSplitPieces.clear();
    m_IsoGroups.clear();
    m_IsoElements.Clear();
}

CIsoGroup* COffsetEngineLists::AddGroup(int groupNo)
{
    auto group = std::make_unique<CIsoGroup>();
    group->GroupNo = groupNo;
    return AddTail(m_IsoGroups, std::move(group));
}

double ElementArcLength(const CIsoElement& element)
{
    float start = float(element.StartAngle);
    float end = float(element.EndAngle);
    float sweep = end >= start ? end - start : end + 360.0f - start;
    if (sweep < 1e-5f)
        sweep = 360.0f;
    return double(sweep) * 3.1415926 / 180.0 * element.Radius;
}

float ElementArcSweep(const CIsoElement& element)
{
    return ArcSweepDegrees(float(element.StartAngle), float(element.EndAngle));
}

float ArcSweepDegrees(float start, float end)
{
    return end > start ? end - start : end + 360.0f - start;
}
