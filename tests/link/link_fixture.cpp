#include "link_fixture.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

CRawPty::CRawPty()
{
    m_Master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ::grantpt(m_Master);
    ::unlockpt(m_Master);
    m_Path = ::ptsname(m_Master);
    m_Slave = ::open(m_Path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    ::tcgetattr(m_Slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_Slave, TCSANOW, &tio);
    ::fcntl(m_Master, F_SETFL, ::fcntl(m_Master, F_GETFL) | O_NONBLOCK);
}

CRawPty::~CRawPty()
{
    ::close(m_Slave);
    ::close(m_Master);
}

void CRawPty::Write(const std::string& bytes)
{
    ASSERT_EQ(::write(m_Master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

Bytes CRawPty::ReadAll()
{
    Bytes all;
    unsigned char buf[512];
    pollfd p{m_Master, POLLIN, 0};
    while (::poll(&p, 1, 20) > 0) {
        ssize_t got = ::read(m_Master, buf, sizeof buf);
        if (got <= 0)
            break;
        all.insert(all.end(), buf, buf + got);
    }
    return all;
}

void LinkTest::SetUp()
{
    TestHost().SetRealTime(true);
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
    for (int n = 1; n <= 10; ++n)
        ::unsetenv(("ORDUNE_COM" + std::to_string(n)).c_str());
}

void LinkTest::MapPort(int number, const std::string& device)
{
    ::setenv(("ORDUNE_COM" + std::to_string(number)).c_str(), device.c_str(), 1);
}

void LinkTest::StartController(CControllerSimulator::Kind kind)
{
    ASSERT_TRUE(m_Sim.Start(kind));
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
        const std::size_t now = m_Sim.Log().size();
        if (now != seen) {
            seen = now;
            stops.push_back(n - start);
        }
    });
}
