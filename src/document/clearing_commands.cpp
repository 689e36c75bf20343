// The document's entries to region clearing: the generators on a region the
// caller made, the crossing test and the mill-pads command (command 33039).
#include "document/velm_doc.h"
#include "planning/region_clearing.h"

int CVelmDoc::CrossesIsolationPath(float x1, float y1, float x2, float y2)
{
    return ::CrossesIsolationPath(*this, x1, y1, x2, y2);
}

int CVelmDoc::ClearRegionRows(CClearRegion* region)
{
    return region ? ::ClearRegionRows(*this, *region) : 0;
}

int CVelmDoc::ClearRegionColumns(CClearRegion* region)
{
    return region ? ::ClearRegionColumns(*this, *region) : 0;
}

int CVelmDoc::ClearRegionSmall(CClearRegion* region, int limit)
{
    return region ? ::ClearRegionSmall(*this, *region, limit) : 0;
}

int CVelmDoc::ClearPadRing(CClearRegion* region)
{
    return region ? ::ClearPadRing(*this, *region) : 0;
}

int CVelmDoc::AddClearRegion(const RECT& rect, const std::function<int(CClearRegion*)>& generate)
{
    return ::AddClearRegion(*this, rect,
                            [&generate](CBoardModel&, CClearRegion& region) { return generate(&region); });
}

void CVelmDoc::OnMillPads()
{
    ::MillPads(*this);
    CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
}
