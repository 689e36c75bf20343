#include "link_fixture.h"

#include <poll.h>
#include <unistd.h>

CRawPty::CRawPty()
{
    EXPECT_TRUE(m_Pty.Open());
}

CSimLineEnd::Account CRawPty::Serve(int waitMs)
{
    if (waitMs > 0) {
        pollfd p{m_Pty.master, POLLIN, 0};
        ::poll(&p, 1, waitMs);
    }
    unsigned char buf[512];
    for (;;) {
        ssize_t got = ::read(m_Pty.master, buf, sizeof buf);
        if (got <= 0)
            break;
        m_Heard.insert(m_Heard.end(), buf, buf + got);
    }
    Account account;
    account.heard = m_Heard.size();
    account.said = m_Said;
    account.waiting = m_Pty.Waiting();
    return account;
}

void CRawPty::Write(const std::string& bytes)
{
    ASSERT_EQ(::write(m_Pty.master, bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
    m_Said += bytes.size();
}

Bytes CRawPty::ReadAll()
{
    Serve(0);
    return m_Heard;
}

std::string ProtocolName(const ::testing::TestParamInfo<CControllerSimulator::Kind>& info)
{
    return info.param == CControllerSimulator::Kind::Binary ? "Binary" : "Ascii";
}

void LinkTest::SetUp()
{
    SetLineWaits(&m_Line);
    TestHost().OnSleep([this] { m_Line.Settle(); });
    CScriptedHost* host = &TestHost();
    m_Sim.SetClock([host] { return static_cast<double>(host->GetTickCount()); });
    g_BinLink.m_ReadTimeoutMs = 100;
    g_BinLink.m_SilenceTimeoutMs = 400;
    g_BinLink.m_IdleTimeoutMs = 3000;
    g_MachineLink.m_ReplyTimeoutMs = 100;
    for (int n = 1; n <= 10; ++n)
        MapPort(n, "/nonexistent/ttyS" + std::to_string(n));
}

void LinkTest::TearDown()
{
    g_BinLink.m_Port.Close();
    m_Sim.Stop();
    TestHost().OnSleep(nullptr);
    SetLineWaits(nullptr);
    for (int n = 1; n <= 10; ++n)
        ::unsetenv(("ORDUNE_COM" + std::to_string(n)).c_str());
}

void LinkTest::MapPort(int number, const std::string& device)
{
    ::setenv(("ORDUNE_COM" + std::to_string(number)).c_str(), device.c_str(), 1);
}

void LinkTest::Attach(CSimLineEnd& end) { m_Line.Attach(end); }

void LinkTest::StartController(CControllerSimulator::Kind kind)
{
    ASSERT_TRUE(m_Sim.Start(kind));
    Attach(m_Sim);
    m_Sim.SetTimeScale(0.0);
    MapPort(1, m_Sim.PortPath());
    g_ComPortIndex = 0;
}

void LinkTest::Connect(CControllerSimulator::Kind kind)
{
    StartController(kind);
    ASSERT_EQ(g_MachineLink.OpenPort(), 1);
    ASSERT_EQ(g_ControllerKind, kind == CControllerSimulator::Kind::Binary ? 1 : 0);
    m_Sim.ClearLog();
}

std::vector<std::string> LinkTest::LogLines(const std::string& prefix)
{
    std::vector<std::string> lines;
    for (const std::string& line : m_Sim.Log()) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            lines.push_back(line);
    }
    return lines;
}

void LinkTest::NoteStopPoints(std::vector<int>& stops)
{
    const int start = TestHost().Pumps();
    TestHost().OnPump([this, &stops, start, seen = std::size_t{0}](int n) mutable {
        Settle();
        const std::size_t now = m_Sim.Log().size();
        if (now != seen) {
            seen = now;
            stops.push_back(n - start);
        }
    });
}
