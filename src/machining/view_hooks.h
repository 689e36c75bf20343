// What the machining operations driven from the board view need of it: its
// homing and connection (which reset the controller through the document)
// and its timer 1. The view fills these in when it starts an operation.
#pragma once

#include <functional>

struct CMachineViewHooks {
    std::function<void()> home;
    std::function<int()> connect;
    std::function<void()> startTimer;
    std::function<void()> stopTimer;
};
