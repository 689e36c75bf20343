// The machining side's wait: poll, pump, and end on deadline, abort or
// silence.
#include "link/machine_wait.h"

#include "link/link_state.h"
#include "platform/host.h"
#include "platform/message_pump.h"

namespace {

// Elapsed milliseconds since `start` on the host's wrapping tick count.
std::uint32_t Since(std::uint32_t start) { return GetTickCount() - start; }

bool PortClosed() { return !g_BinLink.m_Port.IsOpen(); }

}  // namespace

EWaitEnd WaitMachine(const std::function<EPoll()>& poll, const CWaitLimits& limits)
{
    const std::uint32_t start = GetTickCount();
    std::uint32_t lastAnswer = start;
    for (;;) {
        if (g_AbortFlag)
            return EWaitEnd::Aborted;
        if (PortClosed())
            return EWaitEnd::Silent;
        EPoll state = poll();
        if (state == EPoll::Done)
            return EWaitEnd::Done;
        // A poll may itself find the line gone, which sets the abort flag.
        if (g_AbortFlag)
            return EWaitEnd::Aborted;
        if (state == EPoll::NoAnswer) {
            if (Since(lastAnswer) >= limits.silenceMs)
                return EWaitEnd::Silent;
        } else {
            lastAnswer = GetTickCount();
        }
        if (Since(start) >= limits.deadlineMs)
            return EWaitEnd::Deadline;
        PumpMessages();
        if (limits.pollMs)
            Sleep(limits.pollMs);
    }
}

EWaitEnd WaitUntilReady(unsigned deadlineMs)
{
    CWaitLimits limits;
    limits.deadlineMs = deadlineMs;
    return WaitMachine(
        [] {
            switch (g_MachineLink.ReadyState()) {
            case 1: return EPoll::Done;
            case 0: return EPoll::Waiting;
            default: return EPoll::NoAnswer;
            }
        },
        limits);
}

EWaitEnd WaitPumping(unsigned milliseconds)
{
    const std::uint32_t start = GetTickCount();
    while (Since(start) < milliseconds) {
        if (g_AbortFlag)
            return EWaitEnd::Aborted;
        PumpMessages();
        std::uint32_t left = milliseconds - Since(start);
        if (left > milliseconds)
            break;  // the tick count passed the end while pumping
        Sleep(left < 10 ? left : 10);
    }
    return g_AbortFlag ? EWaitEnd::Aborted : EWaitEnd::Done;
}

const char* WaitEndName(EWaitEnd end)
{
    switch (end) {
    case EWaitEnd::Done: return "done";
    case EWaitEnd::Deadline: return "deadline";
    case EWaitEnd::Aborted: return "aborted";
    case EWaitEnd::Silent: return "silent";
    }
    return "?";
}
