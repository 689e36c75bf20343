// The reset list of the program-wide objects, and the state of the bottom
// floor that every part of the program shares.
#include "platform/program_objects.h"

#include "platform/program_state.h"

#include <cstddef>
#include <vector>

unsigned char g_AbortFlag = 0;
int g_Calculating = 0;
std::string g_StatusText;

namespace {

// Made on first use: registrations come from static initialisers of other
// files, whose order C++ does not fix. Never destroyed: a static object's
// destructor may still reach an object that registers then.
std::vector<std::function<void()>>& Resets()
{
    static auto* resets = new std::vector<std::function<void()>>;
    return *resets;
}

const CProgramObjectReset s_StateReset([] {
    g_AbortFlag = 0;
    g_Calculating = 0;
    g_StatusText.clear();
});

}  // namespace

void RegisterProgramObjectReset(std::function<void()> reset)
{
    Resets().push_back(std::move(reset));
}

void ResetProgramObjects()
{
    // By index: a reset may make a function-local object that registers
    // its own reset while the list is walked.
    for (std::size_t i = 0; i < Resets().size(); ++i) {
        const std::function<void()> reset = Resets()[i];
        reset();
    }
}
