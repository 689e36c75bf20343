// The state of the machine link that the whole program reads: the running
// job's code, the port state and the machine's position. The link objects own
// it; the rest of the program reaches it through the g_ names below. The abort
// flag is the platform's (program_state.h); the baud rate and the controller
// kind the settings file presets are machine settings.
#pragma once

#include "link/ascii_link.h"
#include "link/bin_link.h"
#include "platform/program_state.h"
#include "settings/machine_settings.h"

#include <cstdint>

extern CBinLink g_BinLink;
extern CAsciiLink g_MachineLink;
// A second instance of the link class that one command touches.
extern CAsciiLink g_MachineLink2;

inline int& g_JobCode = g_MachineLink.m_JobCode;
inline int& g_PortState = g_MachineLink.m_PortState;
inline std::int32_t& g_MachineX = g_MachineLink.m_ReplyFields[0];
inline std::int32_t& g_MachineY = g_MachineLink.m_ReplyFields[1];
inline std::int32_t& g_MachineZ = g_MachineLink.m_ReplyFields[2];
inline int& g_ToolDown = g_MachineLink.m_ToolDown;
inline int& g_PositionPollOff = g_MachineLink.m_PositionPollOff;
// The Z that the tool change records where the tool touched.
inline std::int32_t& g_ToolTouchZ = g_BinLink.m_PosZ;

// 1 while the spindle was switched on through the binary link.
extern int g_SpindleOn;
