// The route file reader: the board outline from one or more Gerber files
// joined by ";" into the model's named layer "route".
#pragma once

#include <functional>
#include <string>

class CBoardModel;

// The layer is made, or emptied, only once a file has something to give it,
// so a refused (cut-off) file leaves the old outline, the aperture table and
// the number format as they were. `loaded` runs once the outline stands at
// the data origin. False when a file could not be read or was cut off.
bool LoadRouteGerber(CBoardModel& model, const std::string& paths,
                     const std::function<void()>& loaded);
