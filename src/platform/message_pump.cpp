// The pump, gated by the abort flag.
#include "platform/message_pump.h"

#include "platform/host.h"
#include "platform/program_state.h"

void PumpMessages()
{
    if (g_AbortFlag)
        return;
    Host().PumpMessages();
}
