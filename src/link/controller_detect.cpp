// Finding the controller: the binary controller at the configured rate first,
// then the ASCII controller at 9600 baud, on one port or on every port.
#include "link/link_state.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/system_settings_dlg.h"

#include <cstdio>
#include <string>

namespace {

constexpr int kPortCount = 10;
constexpr unsigned kAsciiBaud = 9600;

// The set-up message names 9600 baud; the binary attempt uses another rate.
std::string SetupFailedText(const std::string& name, unsigned baud)
{
    std::string text = WithName(IDS_PORT_SETUP_FAILED, name);
    std::size_t at = text.find("9600");
    if (at != std::string::npos && baud != kAsciiBaud)
        text.replace(at, 4, std::to_string(baud));
    return text;
}

}  // namespace

const char* ComPortName(int index)
{
    static const char* const names[kPortCount] = {"COM1", "COM2", "COM3", "COM4", "COM5",
                                                  "COM6", "COM7", "COM8", "COM9", "COM10"};
    return index >= 0 && index < kPortCount ? names[index] : nullptr;
}

void CAsciiLink::ClosePort()
{
    g_BinLink.m_Port.Close();
    m_PortOpen = 0;
    m_PortState = -1;
}

void CAsciiLink::ControllerLost()
{
    if (m_Detecting)
        return;
    g_AbortFlag = 1;
    if (!g_BinLink.m_Port.IsOpen())
        return;  // told already, or never connected
    ClosePort();
    AfxMessageBox(LoadResString(IDS_MACHINE_CONNECT_FAILED));
}

bool CAsciiLink::SetUpLine(const char* name, int index, unsigned baud)
{
    CSerialPort& port = g_BinLink.m_Port;
    if (!port.Configure(baud)) {
        ClosePort();
        AfxMessageBox(SetupFailedText(name, baud));
        return false;
    }
    m_PortState = index;
    port.Purge();
    port.PulseRts(200, 300);
    return true;
}

int CAsciiLink::OpenPort()
{
    struct CDetecting {
        int& flag;
        explicit CDetecting(int& f) : flag(f) { flag = 1; }
        ~CDetecting() { flag = 0; }
    } detecting(m_Detecting);
    int index = g_ComPortIndex;
    const char* name = ComPortName(index);
    CSerialPort& port = g_BinLink.m_Port;
    if (m_PortOpen)
        ClosePort();
    if (!name) {
        AfxMessageBox(WithName(IDS_PORT_OPEN_FAILED, "COM" + std::to_string(index + 1)));
        return 0;
    }
    if (!port.Open(name)) {
        g_BinLink.m_LastError = static_cast<std::uint32_t>(port.LastError());
        AfxMessageBox(WithName(IDS_PORT_OPEN_FAILED, name));
        return 0;
    }
    m_PortOpen = 1;
    if (!port.ReadSettings()) {
        ClosePort();
        AfxMessageBox("Error in get DCB settings");
        return 0;
    }
    int kindOnEntry = g_ControllerKind;
    if (g_ControllerKind == -1 || g_ControllerKind == 1) {
        if (!SetUpLine(name, index, g_BaudRate))
            return 0;
        g_ControllerKind = 1;
        bool answered = false;
        g_BinLink.QueryDone(&answered);
        if (answered) {
            g_BinLink.Cmd1F(292);
            g_BinLink.Cmd20(59);
            return 1;
        }
    }
    if (!SetUpLine(name, index, kAsciiBaud)) {
        g_ControllerKind = kindOnEntry;
        return 0;
    }
    g_ControllerKind = 0;
    CmdID();
    SendQuery();
    if (AwaitReplyText(15).find("id") != std::string::npos)
        return 1;
    g_ControllerKind = -1;
    ClosePort();
    return 0;
}

int CAsciiLink::OpenAnyPort()
{
    int configured = g_ComPortIndex;
    if (OpenPort())
        return 1;
    for (int index = 0; index < kPortCount; ++index) {
        if (index == configured)
            continue;
        g_ComPortIndex = index;
        if (OpenPort())
            return 1;
    }
    g_ComPortIndex = configured;
    m_PortState = -1;
    return 0;
}
