// Stand-in until the real one is merged.
// The automatic tool changer's exchanges that the tool change hands over to
// on the machine that has one.
#pragma once

#include <string>

void AtcManualExchange(const std::string& prompt);
void AtcDrillTool(const std::string& prompt);
void AtcExchangeTool(const std::string& prompt);
