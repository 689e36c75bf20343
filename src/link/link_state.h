// The state of the machine link that the whole program reads: the abort flag
// every loop and wait tests, the running job's code, the port state and the
// controller kind. The link objects own it; the rest of the program reaches it
// through the g_ names below.
#pragma once

#include <cstdint>

// The ASCII command link, through which every machine command goes. Its
// protocol operations come with the machine link; here is what the rest of
// the program shares.
class CAsciiLink {
public:
    // Non-zero stops every running job and wait.
    unsigned char m_AbortFlag = 0;
    // 0 while no machine job runs, else the running job's code.
    int m_JobCode = 0;
    // Below 0 while no controller port is open.
    int m_PortState = -1;
    // Last machine position reported, in pulses.
    std::int32_t m_MachineX = 0;
    std::int32_t m_MachineY = 0;
    std::int32_t m_MachineZ = 0;
};

// The binary framed link, which also owns the serial port.
class CBinLink {
public:
    std::uint32_t m_BaudRate = 115200;
};

extern CBinLink g_BinLink;
extern CAsciiLink g_MachineLink;
// A second instance of the link class that one command touches.
extern CAsciiLink g_MachineLink2;

inline unsigned char& g_AbortFlag = g_MachineLink.m_AbortFlag;
inline int& g_JobCode = g_MachineLink.m_JobCode;
inline int& g_PortState = g_MachineLink.m_PortState;
inline std::int32_t& g_MachineX = g_MachineLink.m_MachineX;
inline std::int32_t& g_MachineY = g_MachineLink.m_MachineY;
inline std::int32_t& g_MachineZ = g_MachineLink.m_MachineZ;
inline std::uint32_t& g_BaudRate = g_BinLink.m_BaudRate;

// The controller found: -1 none, 1 binary, 0 ASCII.
extern int g_ControllerKind;
