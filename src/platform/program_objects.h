// Program-wide objects and how tests give them back their construction
// values. The objects of the core are defined together in the document's
// program_objects.cpp (that fixes their construction order); an object
// defined anywhere else, a function-local static included, registers its
// reset here when it is made.
#pragma once

#include <functional>

// Adds a reset to the list; resets run in the order they were added.
void RegisterProgramObjectReset(std::function<void()> reset);

// Gives every program-wide object its construction value again, in the
// construction order, so one test cannot leak state into the next.
void ResetProgramObjects();

// Registers a reset from a static object's initialiser:
//   static CProgramObjectReset s_Reset([] { ... });
struct CProgramObjectReset {
    explicit CProgramObjectReset(std::function<void()> reset)
    {
        RegisterProgramObjectReset(std::move(reset));
    }
};
