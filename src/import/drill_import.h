// Drill import: a job's drill file into a hole list, the tool sizes of the
// CAD drill report beside it (by g_CadDialect), and the tools ordered by
// diameter. Tool sizes go through g_ToolSizes.
#pragma once

#include "platform/object_lists.h"

#include <functional>
#include <string>

struct CDrillTool;

// The tools are gathered apart and replace `holeList` only when the whole file
// has been read, so a file that cannot be read or is no drill program
// loses nothing. `loaded` runs once they stand in `holeList`, before their
// size unit is checked and they are sorted. False (after one message naming
// the file) when the holes were left as they were.
bool LoadDrillFile(const std::string& path, COwnedList<CDrillTool>& holeList,
                   const std::function<void()>& loaded);
// Sizes from the drill report of the dialect, for the tools it names.
void ReadDrillReport(const std::string& drillPath, COwnedList<CDrillTool>& holeList);
// Smallest diameter first, tools of equal size in their order; the records
// stay where they are (selections point at them), their contents move.
void SortHoles(COwnedList<CDrillTool>& tools);
