// The pump, gated by the machine link's abort flag.
#include "platform/message_pump.h"

#include "link/link_state.h"
#include "platform/host.h"

void PumpMessages()
{
    if (g_AbortFlag)
        return;
    Host().PumpMessages();
}
