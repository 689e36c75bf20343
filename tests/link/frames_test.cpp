// The frames of both protocols, byte for byte, as the link builds them and as
// the simulated controller decodes them.
#include "link_fixture.h"

#include "settings/machine_settings.h"
#include "settings/machine_param_dlg.h"

#include <functional>

namespace {

struct BinCase {
    const char* name;
    std::function<int()> send;
    Bytes frame;
    const char* decoded;
};

std::string Ascii(const std::string& code, const std::string& body, char end, int checksum)
{
    std::string frame = std::string("\x04") + "00" + code + "\x02" + body + end;
    if (checksum >= 0)
        frame += static_cast<char>(checksum);
    return frame;
}

}  // namespace

TEST_F(LinkTest, BinaryFramesGoOutAsBuiltAndAreDecoded)
{
    Connect(CControllerSimulator::Kind::Binary);
    const BinCase cases[] = {
        {"X move -500", [] { return g_BinLink.MoveXTo(-500); },
         {0xFF, 0x36, 0x41, 0x00, 0x00, 0x01, 0xF4}, "0x41 500"},
        {"X speed", [] { return g_BinLink.SetSpeedX(700); }, {0xFF, 0xD9, 0x1B, 0x02, 0xBC},
         "0x1B 700"},
        {"8-bit", [] { return g_BinLink.Cmd20(59); }, {0xFF, 0x5B, 0x20, 0x3B}, "0x20 59"},
        {"24-bit rate", [] { return g_BinLink.SetRateX(10.0f); },
         {0xFF, 0x4D, 0x0C, 0x00, 0x0C, 0x35, 0x00}, "0x0C 800000"},
        {"no payload", [] { return g_BinLink.Reset(); }, {0xFF, 0x3F, 0x3F}, "0x3F"},
        {"vector move",
         [] { return g_BinLink.LineMoveXY(1000, -2); },
         {0xFF, 0x67, 0x81, 0x00, 0x00, 0x03, 0xE8, 0xFF, 0xFF, 0xFF, 0xFE}, "0x81 1000 -2"},
        {"homing profile", [] { return g_BinLink.CmdColon(400, 100, 0, 0); },
         {0xFF, 0x2F, 0x3A, 0x01, 0x90, 0x00, 0x64, 0x00, 0x00, 0x00, 0x00}, "0x3A 400 100 0 0"},
        {"output word", [] { return g_BinLink.WriteOutputs(); }, {0xFF, 0x40, 0x1E, 0x11, 0x11},
         "0x1E 4369"},
    };
    for (const BinCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_Sim.ClearLog();
        EXPECT_EQ(c.send(), 1);
        EXPECT_EQ(m_Sim.Received(), c.frame);
        ASSERT_EQ(m_Sim.Log().size(), 1u);
        EXPECT_EQ(m_Sim.Log()[0], c.decoded);
    }
}

TEST_F(LinkTest, AsciiFramesCarryTheirXorChecksumQueriesNone)
{
    Connect(CControllerSimulator::Kind::Ascii);
    struct Case {
        const char* name;
        std::function<void()> send;
        std::string wire;
        std::vector<std::string> decoded;
    };
    const Case cases[] = {
        {"SP at 35 mm/s", [] { g_MachineLink.SetSpeed(35.0f); },
         Ascii("33", "SP7000.0,7000.0", '\x03', 0x2C), {"33 SP7000.0,7000.0"}},
        {"XY move", [] { g_MachineLink.CmdMA2(1000.0f, 2000.0f); g_MachineLink.Send(); },
         Ascii("33", "MA1000.0,2000.0", '\x03', 0x20), {"33 MA1000.0,2000.0"}},
        {"Z move", [] { g_MachineLink.CmdMA1(-50.5f); g_MachineLink.Send(); },
         Ascii("22", "MA-50.5", '\x03', 0x3C), {"22 MA-50.5"}},
        {"Z homing", [] { g_MachineLink.CmdHM1(); g_MachineLink.Send(); },
         Ascii("22", "HM0", '\x03', 0x36), {"22 HM0"}},
        {"spindle on", [] { g_MachineLink.CmdOutput(7, 1); g_MachineLink.Send(); },
         Ascii("22", "O71", '\x03', 0x4A), {"22 O71"}},
        {"arc", [] { g_MachineLink.CmdCA(100.0f, 200.0f, 360.0f); g_MachineLink.Send(); },
         Ascii("33", "CA100.0,200.0,360.00", '\x03', 0x19), {"33 CA100.0,200.0,360.00"}},
        {"drives on sends O50 first", [] { g_MachineLink.CmdEB(1); g_MachineLink.Send(); },
         Ascii("22", "O50", '\x03', 0x49) + Ascii("00", "EB1", '\x03', 0x35),
         {"22 O50", "00 EB1"}},
        {"identification query", [] { g_MachineLink.CmdID(); g_MachineLink.SendQuery(); },
         Ascii("66", "ID", '\x05', -1), {"66 ID?"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_Sim.ClearLog();
        c.send();
        Settle();
        Bytes received = m_Sim.Received();
        std::string heard(received.begin(), received.end());
        EXPECT_EQ(heard, c.wire);
        EXPECT_EQ(m_Sim.Log(), c.decoded);
    }
}

TEST(LinkFrames, ChecksumsOfTheBinaryWidths)
{
    // The checksum adds all four bytes of each argument to the command byte.
    EXPECT_EQ(BinFrameNone(';'), (Bytes{0xFF, 0x3B, 0x3B}));
    EXPECT_EQ(BinFrame16(0x1F, 292), (Bytes{0xFF, 0x44, 0x1F, 0x01, 0x24}));
    std::int32_t four[4] = {100, -100, 0x01020304, 0};
    Bytes frame = BinFrame32(0x80, four, 4);
    ASSERT_EQ(frame.size(), 19u);
    unsigned sum = 0x80;
    for (std::size_t i = 3; i < frame.size(); ++i)
        sum += frame[i];
    EXPECT_EQ(frame[1], sum & 0xFF);
    EXPECT_EQ(BinRateValue(7.072136f), 1131200);
    EXPECT_EQ(BinRateValue(0.0f), 0);
}

TEST(LinkFrames, AsciiBuilderForms)
{
    g_ControllerKind = 0;
    EXPECT_STREQ(g_MachineLink.CmdLM(2), "\x04" "0022\x02LM\x05");
    EXPECT_STREQ(g_MachineLink.CmdZZ(), "\x04" "0066\x02ZZ\x05");
    g_MachineLink.CmdPS(1);
    EXPECT_EQ(g_MachineLink.m_Frame, "\x04" "0011\x02PS\x05");
    EXPECT_EQ(g_MachineLink.m_AwaitedPSAxis, 1);
    EXPECT_EQ(CAsciiLink::Checksum("SP7000.0,7000.0\x03"), 0x2C);
    // A move built while STOP is pressed is empty, and Send writes nothing.
    g_AbortFlag = 1;
    EXPECT_STREQ(g_MachineLink.CmdMA2(1.0f, 2.0f), "");
    EXPECT_EQ(g_MachineLink.Send(), 0);
    // Commands that are not moves are still built.
    EXPECT_STREQ(g_MachineLink.CmdST3(), "\x04" "0066\x02ST\x03");
}
