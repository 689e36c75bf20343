// Finding the controller: binary first, then ASCII, per port and over all
// ports; what is left behind when nothing answers.
#include "link_fixture.h"

#include "link/serial_port.h"

#include <cerrno>

namespace {

using Kind = CControllerSimulator::Kind;

bool Contains(const std::vector<std::string>& texts, const std::string& part)
{
    for (const std::string& text : texts) {
        if (text.find(part) != std::string::npos)
            return true;
    }
    return false;
}

}  // namespace

TEST_F(LinkTest, DetectsTheBinaryController)
{
    StartController(Kind::Binary);
    EXPECT_EQ(g_MachineLink.OpenPort(), 1);
    EXPECT_EQ(g_ControllerKind, 1);
    EXPECT_EQ(g_PortState, 0);
    EXPECT_EQ(g_MachineLink.m_PortOpen, 1);
    EXPECT_EQ(m_Sim.Log(), (std::vector<std::string>{"0x3B", "0x1F 292", "0x20 59"}));
    // A second detection starts with the binary controller again.
    m_Sim.ClearLog();
    EXPECT_EQ(g_MachineLink.OpenPort(), 1);
    EXPECT_EQ(m_Sim.Log().front(), "0x3B");
}

TEST_F(LinkTest, DetectsTheAsciiControllerAfterTheBinaryQuery)
{
    StartController(Kind::Ascii);
    EXPECT_EQ(g_MachineLink.OpenPort(), 1);
    EXPECT_EQ(g_ControllerKind, 0);
    EXPECT_EQ(g_PortState, 0);
    std::vector<std::string> log = m_Sim.Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "noise: 3 bytes at another rate");  // the binary query at 115200
    EXPECT_EQ(log[1], "66 ID?");
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(LinkTest, PresetAsciiControllerReceivesNoBinaryByte)
{
    StartController(Kind::Ascii);
    g_ControllerKind = 0;
    EXPECT_EQ(g_MachineLink.OpenPort(), 1);
    EXPECT_EQ(g_ControllerKind, 0);
    Bytes heard = m_Sim.Received();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), 0xFF), 0);
    EXPECT_EQ(m_Sim.Log(), (std::vector<std::string>{"66 ID?"}));
}

TEST_F(LinkTest, NothingAnsweringLeavesThePortClosed)
{
    CRawPty pty;
    Attach(pty);
    MapPort(1, pty.Path());
    g_ComPortIndex = 0;
    EXPECT_EQ(g_MachineLink.OpenPort(), 0);
    EXPECT_EQ(g_ControllerKind, -1);
    EXPECT_EQ(g_PortState, -1);
    EXPECT_EQ(g_MachineLink.m_PortOpen, 0);
    EXPECT_FALSE(g_BinLink.m_Port.IsOpen());
    EXPECT_TRUE(TestHost().Boxes().empty());
    // Both attempts went out: the binary query, then the ID query.
    Bytes sent = pty.ReadAll();
    EXPECT_EQ(std::string(sent.begin(), sent.end()),
              std::string("\xFF\x3B\x3B") + "\x04" "0066\x02ID\x05");
}

TEST_F(LinkTest, ConfigurationFailureClosesAndNamesTheRate)
{
    StartController(Kind::Binary);
    g_BaudRate = 12345;  // no such rate
    EXPECT_EQ(g_MachineLink.OpenPort(), 0);
    EXPECT_FALSE(g_BinLink.m_Port.IsOpen());
    EXPECT_EQ(g_PortState, -1);
    EXPECT_EQ(g_MachineLink.m_PortOpen, 0);
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_NE(TestHost().BoxTexts()[0].find("COM1"), std::string::npos);
    EXPECT_NE(TestHost().BoxTexts()[0].find("BAUD=12345"), std::string::npos);
}

TEST_F(LinkTest, SearchOverAllPortsKeepsTheConfiguredIndexOnFailure)
{
    g_ComPortIndex = 3;
    EXPECT_EQ(g_MachineLink.OpenAnyPort(), 0);
    EXPECT_EQ(g_ComPortIndex, 3);
    EXPECT_EQ(g_PortState, -1);
    std::vector<std::string> boxes = TestHost().BoxTexts();
    EXPECT_EQ(boxes.size(), 10u);
    EXPECT_NE(boxes[0].find("COM4"), std::string::npos);
    EXPECT_TRUE(Contains(boxes, "COM10"));

    // A controller on COM10 is found, and its index is kept.
    ASSERT_TRUE(m_Sim.Start(Kind::Binary));
    Attach(m_Sim);
    MapPort(10, m_Sim.PortPath());
    EXPECT_EQ(g_MachineLink.OpenAnyPort(), 1);
    EXPECT_EQ(g_ComPortIndex, 9);
    EXPECT_EQ(g_PortState, 9);
}

TEST_F(LinkTest, PortNamesAndExclusiveUse)
{
    ::unsetenv("ORDUNE_COM1");
    ::unsetenv("ORDUNE_COM10");
    EXPECT_EQ(ComPortDevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(ComPortDevicePath("COM10"), "/dev/ttyS9");
    EXPECT_EQ(ComPortDevicePath("COM11"), "COM11");
    EXPECT_EQ(ComPortDevicePath("/dev/ttyACM0"), "/dev/ttyACM0");
    MapPort(3, "/dev/ttyUSB0");
    EXPECT_EQ(ComPortDevicePath("COM3"), "/dev/ttyUSB0");
    EXPECT_STREQ(ComPortName(9), "COM10");
    EXPECT_EQ(ComPortName(10), nullptr);

    // A port another program holds cannot be opened: the open fails with
    // the reason kept and the abort flag set.
    CRawPty pty;
    Attach(pty);
    CSerialPort holder;
    ASSERT_TRUE(holder.Open(pty.Path()));
    EXPECT_EQ(g_BinLink.Open(pty.Path().c_str()), 0);
    EXPECT_EQ(g_BinLink.m_LastError, static_cast<std::uint32_t>(EBUSY));
    EXPECT_EQ(g_AbortFlag, 1);
    holder.Close();
    g_AbortFlag = 0;
    EXPECT_EQ(g_BinLink.Open(pty.Path().c_str()), 1);
}
