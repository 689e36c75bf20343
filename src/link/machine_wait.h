// The one way the machining side waits for the machine. Every "wait until the
// controller is ready", "until the probe touches", "until the button is
// released" goes through WaitMachine: it keeps the window alive, and it ends
// on its deadline, on STOP (the abort flag) or when the controller falls
// silent, and says which, so no wait can hang the program.
#pragma once

#include <functional>

// How a wait ended.
enum class EWaitEnd {
    Done,      // the awaited condition came true
    Deadline,  // the deadline passed first
    Aborted,   // STOP or a lost link set the abort flag
    Silent,    // the controller stopped answering, or its port closed
};

// What one poll of the awaited condition found.
enum class EPoll {
    Waiting,   // not yet
    Done,      // the condition holds
    NoAnswer,  // the controller did not answer this poll
};

struct CWaitLimits {
    unsigned deadlineMs = 60000;
    // A controller that answers no poll for this long is taken as gone.
    unsigned silenceMs = 2000;
    // The pause between polls, during which messages are pumped.
    unsigned pollMs = 10;
};

// Polls `poll` until it reports Done, pumping messages between polls.
EWaitEnd WaitMachine(const std::function<EPoll()>& poll, const CWaitLimits& limits = {});

// The deadlines the program's waits use. A move across the whole table at
// the slowest speed stays well inside kMoveDeadlineMs; homing may first have
// to travel the whole table.
constexpr unsigned kMoveDeadlineMs = 180000;
constexpr unsigned kHomingDeadlineMs = 300000;

// Waits until the controller reports ready (idle, nothing queued).
EWaitEnd WaitUntilReady(unsigned deadlineMs = kMoveDeadlineMs);

// A pause that keeps the window alive; ends early (Aborted) on STOP.
EWaitEnd WaitPumping(unsigned milliseconds);

// A short English name of the ending, for logs and test messages.
const char* WaitEndName(EWaitEnd end);
