// The built-in machine defaults per model: table size, step scales,
// stepping, Z top and travel limits, chosen by the model name.
#pragma once

#include <string>
#include <vector>

// Applies the row of g_MachineModel (exact name); an unknown model becomes
// "KX4100" with its defaults. The XY scale's dependants follow.
void SetModelDefaults();

// The longer side of the largest table of any model (mil): no board the
// program can machine is wider or taller.
double LargestTableSide();

// The names the settings file's "MACHINE" keyword accepts, in testing order.
std::vector<std::string> SettingsFileModelNames();
// The names the system settings offer, in the order of their list.
std::vector<std::string> SystemSettingsModelNames();
