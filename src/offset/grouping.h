// Groups of touching copper: source elements whose copper touches, directly
// or through others, go into one group, so isolation is cut round the group
// as a whole and never between its members.
#pragma once

#include "records/offset_records.h"

// Groups the elements of `sources` for cutter width d, writing each one's
// group number (from 1) into GroupNo[mark]. New groups go to
// `lists.m_IsoGroups` (the owner) and to `groups`; `lists.m_IsoGroupCount`
// ends as their number. Each group holds its members in the order they were
// found: the seed, then each element found followed at once by everything
// found from it. On return `sources` holds the same elements group by group.
void BuildGroups(COffsetEngineLists& lists, CRefList<CIsoElement>& sources,
                 CRefList<CIsoGroup>& groups, float d, int mark);
