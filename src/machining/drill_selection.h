// The drill selection: the drill sizes of the job as a marked text list, one
// line per tool, and the modes read back from the edited list. A line marked
// ";" is not drilled, ">" is drilled without a tool change, "#" with the
// count in its brackets is drilled in that many plunges; an unmarked line
// is drilled normally.
#pragma once

#include "platform/object_lists.h"

#include <string>

struct CDrillTool;

// The list text of `tools`, each line ended by "\r\n".
std::string DrillListText(const COwnedList<CDrillTool>& tools);
// Sets the mode of every tool from the edited list. A tool whose line was
// deleted is drilled normally; a tool listed with several markers takes the
// first of skip, no tool change, several plunges.
void ApplyDrillListText(const std::string& text, COwnedList<CDrillTool>& tools);
// The repeat count of a text: the decimal number after its first "[", 0
// when there is none, kept between 0 and 999.
int RepeatCountAfterBracket(const std::string& text);
