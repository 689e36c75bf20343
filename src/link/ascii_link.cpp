// The ASCII command language: frame builders, sending, reply parsing and
// readiness; each builder's binary road runs the matching binary commands.
#include "link/ascii_link.h"

#include "link/link_state.h"
#include "settings/machine_param_dlg.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "settings/machine_settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void (*g_SpindleSpeedSetter)(float rpm) = nullptr;

namespace {

std::string Format(const char* format, float a)
{
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<double>(a));
    return text;
}

std::string Format(const char* format, float a, float b)
{
    char text[96];
    std::snprintf(text, sizeof text, format, static_cast<double>(a), static_cast<double>(b));
    return text;
}

std::string Format(const char* format, float a, float b, float c)
{
    char text[128];
    std::snprintf(text, sizeof text, format, static_cast<double>(a), static_cast<double>(b),
                  static_cast<double>(c));
    return text;
}

std::string DigitCode(int digit)
{
    char d = static_cast<char>('0' + (digit < 0 || digit > 9 ? 0 : digit));
    return std::string(2, d);
}

void SetSpindleSpeed(float rpm)
{
    if (g_SpindleSpeedSetter)
        g_SpindleSpeedSetter(rpm);
}

// Fields of the readiness and position replies keep what fits them.
void KeepText(std::string& field, const std::string& text, std::size_t capacity)
{
    field = text.substr(0, capacity - 1);
}

}  // namespace

unsigned char AsciiChecksum(const std::string& body)
{
    unsigned char sum = 0;
    for (char c : body)
        sum ^= static_cast<unsigned char>(c);
    return sum;
}

unsigned char CAsciiLink::Checksum(const char* body)
{
    return AsciiChecksum(body ? std::string(body) : std::string());
}

bool CAsciiLink::AsciiRoad() const
{
    return g_ControllerKind == 0;
}

// ---- Port level ----

int CAsciiLink::WriteBytes(const void* buf, unsigned n)
{
    if (!AsciiRoad())
        return 0;
    Drain();
    if (g_BinLink.m_Port.Write(buf, n) == n)
        return 1;
    ControllerLost();
    return 0;
}

unsigned CAsciiLink::ReadBytes(void* buf, unsigned n)
{
    if (!AsciiRoad())
        return 0;
    return static_cast<unsigned>(g_BinLink.m_Port.ReadNow(buf, n));
}

unsigned CAsciiLink::ReadAvailable(char* buf, unsigned size)
{
    if (size == 0)
        return 0;
    buf[0] = 0;
    if (!AsciiRoad())
        return 0;
    std::size_t queued = g_BinLink.m_Port.Queued();
    if (queued == 0) {
        NoticeHangUp();
        return 0;
    }
    unsigned count = ReadBytes(buf, static_cast<unsigned>(std::min<std::size_t>(queued, size - 1)));
    buf[count] = 0;
    return count;
}

void CAsciiLink::Drain()
{
    if (!AsciiRoad())
        return;
    char scratch[256];
    while (g_BinLink.m_Port.Queued() > 0 && ReadBytes(scratch, sizeof scratch) > 0) {
    }
}

std::string CAsciiLink::ReadQueuedText(std::size_t limit)
{
    std::string text;
    char chunk[128];
    while (unsigned got = ReadAvailable(chunk, sizeof chunk)) {
        text.append(chunk, got);
        if (text.size() >= limit) {
            text.resize(limit);
            Drain();
            break;
        }
    }
    return text;
}

std::string CAsciiLink::AwaitReplyText(unsigned pauseMs)
{
    // The fixed pause is what a controller needs to answer; the deadline
    // after it covers a busy system without making a slow reply a failure.
    constexpr std::size_t kLimit = 99;
    Sleep(pauseMs);
    const std::uint32_t start = GetTickCount();
    std::string text = ReadQueuedText(kLimit);
    for (;;) {
        std::size_t stx = text.find(ASCII_STX);
        if ((stx != std::string::npos && text.find(ASCII_ETX, stx) != std::string::npos) ||
            text.size() >= kLimit)
            break;
        const std::uint32_t spent = GetTickCount() - start;
        if (spent >= m_ReplyTimeoutMs || !g_BinLink.m_Port.WaitForInput(m_ReplyTimeoutMs - spent))
            break;
        text += ReadQueuedText(kLimit - text.size());
    }
    NoticeHangUp();
    return text;
}

// ---- Sending ----

int CAsciiLink::Send()
{
    if (!AsciiRoad() || m_Frame.empty())
        return 0;
    if (m_Frame.size() + 1 > ASCII_MAX_FRAME)
        return 0;
    std::string wire = m_Frame + static_cast<char>(m_Checksum);
    if (!WriteBytes(wire.data(), static_cast<unsigned>(wire.size()))) {
        g_AbortFlag = 1;
        return 0;
    }
    Sleep(2);
    return 1;
}

int CAsciiLink::SendQuery()
{
    if (!AsciiRoad() || m_Frame.empty() || m_Frame.size() > ASCII_MAX_FRAME)
        return 0;
    int ok = WriteBytes(m_Frame.data(), static_cast<unsigned>(m_Frame.size()));
    if (!ok)
        g_AbortFlag = 1;
    Sleep(12);
    return ok;
}

int CAsciiLink::SendText(int digit, const char* text)
{
    if (!AsciiRoad() || text == nullptr)
        return 0;
    std::string body = std::string(text) + ASCII_ETX;
    std::string frame = std::string(1, ASCII_EOT) + "00" + DigitCode(digit) + ASCII_STX + body;
    if (frame.size() + 1 > ASCII_MAX_FRAME)
        return 0;
    frame += static_cast<char>(AsciiChecksum(body));
    if (!WriteBytes(frame.data(), static_cast<unsigned>(frame.size()))) {
        g_AbortFlag = 1;
        return 0;
    }
    Sleep(2);
    return 1;
}

// ---- Builders ----

const char* CAsciiLink::Build(const char* code, const std::string& body, bool query)
{
    m_Body = body + (query ? ASCII_ENQ : ASCII_ETX);
    m_Frame = std::string(1, ASCII_EOT) + "00" + code + ASCII_STX + m_Body;
    m_Checksum = AsciiChecksum(m_Body);
    return m_Frame.c_str();
}

const char* CAsciiLink::BuildCommand(const char* code, const char* letters,
                                     const std::string& params, bool query)
{
    return Build(code, std::string(letters) + params, query);
}

// A move while STOP is pressed builds nothing, so the Send after it sends
// nothing either.
const char* CAsciiLink::BuildMove(const char* code, const char* letters, const std::string& params)
{
    if (g_AbortFlag) {
        m_Frame.clear();
        m_Body.clear();
        return m_Frame.c_str();
    }
    return Build(code, letters + params, false);
}

const char* CAsciiLink::CmdHS1(float z) { return Build("22", "HS" + Format("%.1f", z), false); }

const char* CAsciiLink::CmdHS2(float x, float y)
{
    return Build("33", "HS" + Format("%.1f,%.1f", x, y), false);
}

const char* CAsciiLink::CmdHS3(float x, float y, float z)
{
    return Build("66", "HS" + Format("%.1f,%.1f,%.1f", x, y, z), false);
}

const char* CAsciiLink::CmdSP1(float z)
{
    const char* frame = Build("22", "SP" + Format("%.1f", z), false);
    if (!AsciiRoad() && !g_BinLink.SetSpeedZ(static_cast<int>(z / 10)))
        return nullptr;
    return frame;
}

const char* CAsciiLink::CmdSP2(float x, float y)
{
    const char* frame = Build("33", "SP" + Format("%.1f,%.1f", x, y), false);
    if (!AsciiRoad() && !(g_BinLink.SetSpeedX(static_cast<int>(x / 10)) &&
                          g_BinLink.SetSpeedY(static_cast<int>(y / 10 * 1.414))))
        return nullptr;
    return frame;
}

const char* CAsciiLink::CmdSP3(float x, float y, float z)
{
    const char* frame = Build("66", "SP" + Format("%.1f,%.1f,%.1f", x, y, z), false);
    if (!AsciiRoad() && !(g_BinLink.SetSpeedX(static_cast<int>(x / 10)) &&
                          g_BinLink.SetSpeedY(static_cast<int>(y / 10 * 1.414)) &&
                          g_BinLink.SetSpeedZ(static_cast<int>(z / 10))))
        return nullptr;
    return frame;
}

const char* CAsciiLink::CmdOutput(int output, int state)
{
    // Appended rather than "O" + ...: GCC 12 at -O3 warns falsely (-Wrestrict)
    // about a string built from a literal plus a temporary.
    std::string field(1, 'O');
    field += std::to_string(output);
    field += std::to_string(state);
    const char* frame = Build("22", field, false);
    if (!AsciiRoad())
        OutputBinary(output, state);
    return frame;
}

const char* CAsciiLink::CmdVA2(float x, float y)
{
    const char* frame = BuildMove("33", "VA", Format("%.1f,%.1f", x, y));
    if (!AsciiRoad() && !g_AbortFlag &&
        !g_BinLink.LineMoveXY(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)))
        return nullptr;
    return frame;
}

const char* CAsciiLink::CmdVA3(float x, float y, float z)
{
    return Build("66", "VA" + Format("%.1f,%.1f,%.1f", x, y, z), false);
}

bool CAsciiLink::WaitIdleForMove(unsigned char axisMask)
{
    // A move given while an axis still runs would be lost: wait for the axes
    // first, and fail the move when they do not come to rest.
    return !g_AbortFlag && g_BinLink.WaitAxesIdle(axisMask);
}

const char* CAsciiLink::CmdMA1(float z)
{
    const char* frame = BuildMove("22", "MA", Format("%.1f", z));
    if (!AsciiRoad() &&
        !(WaitIdleForMove(0x04) && g_BinLink.MoveZTo(static_cast<std::int32_t>(z))))
        return nullptr;
    return frame;
}

const char* CAsciiLink::CmdMA2(float x, float y)
{
    const char* frame = BuildMove("33", "MA", Format("%.1f,%.1f", x, y));
    if (!AsciiRoad() && !(WaitIdleForMove(0x03) && g_BinLink.MoveXTo(static_cast<std::int32_t>(x)) &&
                          g_BinLink.MoveYTo(static_cast<std::int32_t>(y))))
        return nullptr;
    return frame;
}

const char* CAsciiLink::CmdMA3(float x, float y, float z)
{
    return BuildMove("66", "MA", Format("%.1f,%.1f,%.1f", x, y, z));
}

const char* CAsciiLink::CmdMR2(float x, float y)
{
    const char* frame = Build("33", "MR" + Format("%.1f,%.1f", x, y), false);
    if (!AsciiRoad() && !(WaitIdleForMove(0x03) && g_BinLink.MoveXBy(static_cast<std::int32_t>(x)) &&
                          g_BinLink.MoveYBy(static_cast<std::int32_t>(y))))
        return nullptr;
    return frame;
}

const char* CAsciiLink::CmdMR3(float x, float y, float z)
{
    const char* frame = BuildMove("66", "MR", Format("%.1f,%.1f,%.1f", x, y, z));
    if (!AsciiRoad() && !(WaitIdleForMove(0x07) && g_BinLink.MoveXBy(static_cast<std::int32_t>(x)) &&
                          g_BinLink.MoveYBy(static_cast<std::int32_t>(y)) &&
                          g_BinLink.MoveZBy(static_cast<std::int32_t>(z))))
        return nullptr;
    return frame;
}

const char* CAsciiLink::CmdST3() { return Build("66", "ST", false); }

const char* CAsciiLink::CmdHM1()
{
    const char* frame = Build("22", "HM0", false);
    if (AsciiRoad())
        return frame;
    HomeZBinary();
    return nullptr;
}

const char* CAsciiLink::CmdHM2()
{
    const char* frame = Build("33", "HM0,0", false);
    if (AsciiRoad())
        return frame;
    HomeXYBinary();
    return nullptr;
}

const char* CAsciiLink::CmdDL3()
{
    const char* frame = Build("66", "DL", false);
    if (!AsciiRoad() && !(g_BinLink.Cmd02(0) && g_BinLink.CmdLess() && g_BinLink.CmdSeven() &&
                          g_BinLink.SetOutputBit(1, 0, false)))
        return nullptr;
    return frame;
}

const char* CAsciiLink::CmdEL3() { return Build("66", "EL", false); }
const char* CAsciiLink::CmdCO() { return Build("33", "CO", false); }
const char* CAsciiLink::CmdCT() { return Build("66", "CT", false); }

const char* CAsciiLink::CmdCA(float centreX, float centreY, float angle)
{
    char params[128];
    std::snprintf(params, sizeof params, "%.1f,%.1f,%.2f", static_cast<double>(centreX),
                  static_cast<double>(centreY), static_cast<double>(angle));
    return BuildMove("33", "CA", params);
}

const char* CAsciiLink::CmdAC1(float value) { return Build("22", "AC" + Format("%.1f", value), false); }

const char* CAsciiLink::CmdAC2(float value)
{
    return Build("33", "AC" + Format("%.1f,%.1f", value, value), false);
}

const char* CAsciiLink::CmdEB(int on)
{
    if (AsciiRoad()) {
        // The drives' enable output is switched the opposite way first.
        CmdOutput(5, on ? 0 : 1);
        Send();
        return Build("00", "EB" + std::to_string(on), false);
    }
    const char* frame = Build("00", "EB" + std::to_string(on), false);
    g_BinLink.Cmd1F(292);
    g_BinLink.Cmd20(59);
    if (on) {
        g_BinLink.CmdLess();
        g_BinLink.SetOutputBit(1, 0, false);
        g_BinLink.SetOutputBit(2, 0, false);
        g_BinLink.SetOutputBit(3, 0, false);
    } else {
        g_BinLink.SetOutputBit(1, 0, true);
        g_BinLink.Cmd20(38);
        g_BinLink.SetOutputBit(2, 0, true);
        g_BinLink.SetOutputBit(3, 0, true);
    }
    return frame;
}

const char* CAsciiLink::CmdLM(int digit) { return Build(DigitCode(digit).c_str(), "LM", true); }
const char* CAsciiLink::CmdER(int digit) { return Build(DigitCode(digit).c_str(), "ER", true); }

const char* CAsciiLink::CmdZZ()
{
    m_ZZReceived = 0;
    return Build("66", "ZZ", true);
}

int CAsciiLink::CmdMP()
{
    Build("33", "MP", true);
    return 0;
}

int CAsciiLink::CmdPS(int digit)
{
    if (digit >= 0 && digit < 3)
        m_PSReceived[static_cast<std::size_t>(digit)] = 0;
    m_AwaitedPSAxis = digit;
    Build(DigitCode(digit).c_str(), "PS", true);
    return 0;
}

int CAsciiLink::CmdID()
{
    m_IDReceived = 0;
    Build("66", "ID", true);
    return 1;
}

void CAsciiLink::SetDefaultSpeed()
{
    SetSpeed(g_RapidSpeed);
    m_DefaultSpeed = 1;
}

void CAsciiLink::SetSpeed(float mmPerSecond)
{
    float speed = mmPerSecond * g_XYPulsesPerMM;
    CmdSP2(speed, speed);
    Send();
    m_DefaultSpeed = 0;
}

// ---- Binary road of the outputs and the homing ----

void CAsciiLink::OutputBinary(int output, int state)
{
    if (output == 7) {
        if (state)
            SpindleOnBinary();
        else
            SpindleOffBinary();
    } else if (output == 5) {
        g_BinLink.SetOutputBit(3, 3, state != 0);
        g_BinLink.SetOutputBit(2, 2, state != 0);
    }
}

void CAsciiLink::SpindleOnBinary()
{
    auto sense = [] { return g_BinLink.ReadInputs6() & 0x04; };
    int before = sense();
    g_BinLink.SetOutputBit(1, 1, true);
    g_SpindleOn = 1;
    bool modelH = g_MachineModel.find('H') != std::string::npos;
    bool modelJ = !modelH && g_MachineModel.find('J') != std::string::npos;
    if (!modelH && !modelJ) {
        CBinLink::PumpedSleep(2000);
        return;
    }
    unsigned settle = modelH ? 6000 : 3000;
    if (modelH)
        CBinLink::PumpedSleep(200);
    SetSpindleSpeed(g_SpindleSpeed);
    if (!CBinLink::PumpedSleep(settle))
        return;
    int after = sense();
    // A spindle that never comes up must not hold the operator in this loop.
    int attempts = 0;
    while (after != before) {
        if (++attempts > g_BinLink.m_SpindleCheckLimit || g_AbortFlag) {
            g_BinLink.SetOutputBit(1, 1, false);
            g_BinLink.SpindleOffPulse();
            g_SpindleOn = 0;
            g_AbortFlag = 1;
            return;
        }
        g_BinLink.SetOutputBit(1, 1, false);
        g_BinLink.SpindleOffPulse();
        AfxMessageBox("Check the Spindle !");
        before = sense();
        g_BinLink.SetOutputBit(1, 1, true);
        if (modelH) {
            g_BinLink.SpindleOnPulse();
            CBinLink::PumpedSleep(200);
        }
        SetSpindleSpeed(g_SpindleSpeed);
        CBinLink::PumpedSleep(settle);
        after = sense();
    }
    if (modelJ)
        CBinLink::PumpedSleep(3000);
}

void CAsciiLink::SpindleOffBinary()
{
    if (g_MachineModel.find('H') != std::string::npos) {
        SetSpindleSpeed(6000);
        CBinLink::PumpedSleep(static_cast<unsigned>(std::max(0.0f, g_SpindleSpeed / 30)));
    }
    g_BinLink.SetOutputBit(1, 1, false);
    g_BinLink.SpindleOffPulse();
    g_SpindleOn = 0;
    CBinLink::PumpedSleep(2000);
}

void CAsciiLink::HomeZBinary()
{
    if (m_ZHomingRunning)
        return;
    g_BinLink.SetPosZ(10000);
    g_BinLink.CmdColon(static_cast<std::int32_t>(g_HomeSpeed * g_ZPulsesPerMM / 30),
                       static_cast<std::int32_t>(g_ZPulsesPerMM * 0.2f), 0, 0);
    if (!m_HomingStarted[2]) {
        g_BinLink.HomeStartZ();
        m_HomingStarted[2] = 1;
    }
    m_ZHomingRunning = 1;
    g_BinLink.WaitUntil([](bool* answered) {
        *answered = true;  // a silent status sets the abort flag itself
        return g_BinLink.StatusBit(0x08);
    });
    m_HomingStarted[2] = 0;
    if (g_AbortFlag) {
        m_ZHomingRunning = 0;
        return;
    }
    // The Z counter is zeroed until the controller confirms it.
    g_BinLink.WaitUntil([](bool* answered) {
        std::int32_t x, y, z;
        g_BinLink.SetPosZ(0);
        *answered = g_BinLink.ReadPosition(&x, &y, &z) != 0;
        return *answered && z == 0;
    });
    m_ZHomingRunning = 0;
}

void CAsciiLink::HomeXYBinary()
{
    if (m_XYHomingRunning)
        return;
    m_XYHomingRunning = 1;
    g_BinLink.CmdColon(static_cast<std::int32_t>(g_HomeSpeed * g_XYPulsesPerMM / 10),
                       static_cast<std::int32_t>(g_XYPulsesPerMM * 0.1f), 0, 0);
    if (!m_HomingStarted[0]) {
        g_BinLink.HomeStartX();
        m_HomingStarted[0] = 1;
    }
    if (!m_HomingStarted[1]) {
        g_BinLink.HomeStartY();
        m_HomingStarted[1] = 1;
    }
    Sleep(200);
    g_BinLink.WaitUntil([](bool* answered) {
        *answered = true;
        return (g_BinLink.StatusByte() & 0x06) == 0x06;
    });
    m_HomingStarted[0] = m_HomingStarted[1] = 0;
    m_XYHomingRunning = 0;
    if (g_AbortFlag)
        return;
    g_BinLink.WaitUntil([](bool* answered) {
        g_BinLink.SetPosX(0);
        g_BinLink.SetPosY(0);
        std::int32_t x, y, z;
        *answered = g_BinLink.ReadPosition(&x, &y, &z) != 0;
        return *answered && x == 0 && y == 0;
    });
}

// ---- Replies ----

int CAsciiLink::ParseZZReply(const char* text)
{
    int count = 0;
    const char* p = text;
    while (p && *p && count < REPLY_FIELD_COUNT) {
        m_ReplyFields[static_cast<std::size_t>(count++)] = static_cast<std::int32_t>(std::atol(p));
        p = std::strchr(p, ',');
        if (p)
            ++p;
    }
    return count;
}

int CAsciiLink::ReadReplyStep()
{
    char chunk[REPLY_BUFFER_SIZE];
    unsigned got = ReadAvailable(chunk, sizeof chunk);
    m_ReplyBuffer.append(chunk, got);
    // An unfinished frame that outgrows the buffer is noise, not a reply.
    if (m_ReplyBuffer.size() > REPLY_BUFFER_SIZE - 1)
        m_ReplyBuffer.erase(0, m_ReplyBuffer.size() - (REPLY_BUFFER_SIZE - 1));
    if (++m_ReplyAttempts > 20)
        return 0;
    std::size_t i = 0;
    for (; i < m_ReplyBuffer.size(); ++i) {
        char c = m_ReplyBuffer[i];
        if (c == ASCII_ACK) {
            m_AckFlag = 1;
        } else if (c == ASCII_NAK) {
            m_AckFlag = 0;
        } else if (c == ASCII_STX) {
            std::size_t etx = m_ReplyBuffer.find(ASCII_ETX, i + 1);
            if (etx == std::string::npos) {
                m_ReplyBuffer.erase(0, i);
                Sleep(10);
                int result = ReadReplyStep();
                m_ReplyBuffer.clear();
                m_ReplyAttempts = 0;
                return result;
            }
            if (etx < i + 3) {
                i = etx;  // too short to carry a code: not a reply
                continue;
            }
            m_ReplyCode = m_ReplyBuffer.substr(i + 1, 2);
            std::string text = m_ReplyBuffer.substr(i + 3, etx - i - 3);
            if (m_ReplyCode.find("zz") != std::string::npos) {
                KeepText(m_ZZText, text, 21);
                ParseZZReply(text.c_str());
                m_ZZReceived = 1;
            } else if (m_ReplyCode.find("ps") != std::string::npos) {
                if (m_AwaitedPSAxis >= 0 && m_AwaitedPSAxis < 3) {
                    auto axis = static_cast<std::size_t>(m_AwaitedPSAxis);
                    m_PSValues[axis] = static_cast<float>(std::atol(text.c_str()));
                    m_PSReceived[axis] = 1;
                }
            } else if (m_ReplyCode.find("mp") != std::string::npos) {
                KeepText(m_MPText, text, 10);
                m_MPReceived = 1;
            } else if (m_ReplyCode.find("id") != std::string::npos) {
                KeepText(m_IDText, text, 10);
                m_IDReceived = 1;
            }
            i = etx;
        }
    }
    m_ReplyBuffer.clear();
    m_ReplyAttempts = 0;
    return static_cast<int>(i);
}

int CAsciiLink::ReadReplyBinary()
{
    g_BinLink.ReadPosition(&m_ReplyFields[0], &m_ReplyFields[1], &m_ReplyFields[2]);
    m_ReplyFields[10] = (g_BinLink.QueryStatus() & 0x40) ? 1 : 0;
    bool answered = false;
    unsigned char moving = g_BinLink.QueryDone(&answered);
    if (!answered)
        return 0;
    m_ReplyFields[3] = (moving & 0x01) == 0;
    m_ReplyFields[4] = (moving & 0x02) == 0;
    m_ReplyFields[5] = (moving & 0x04) == 0;
    return 0;
}

int CAsciiLink::ReadReply()
{
    return AsciiRoad() ? ReadReplyStep() : ReadReplyBinary();
}

bool CAsciiLink::IsReady() { return ReadyState() == 1; }

int CAsciiLink::ReadyState()
{
    if (AsciiRoad()) {
        CmdID();
        if (!SendQuery())
            return -1;
        std::string reply = AwaitReplyText(15);
        if (reply.empty())
            return -1;
        return reply.find("id1") != std::string::npos ? 1 : 0;
    }
    bool answered = false;
    unsigned char status = g_BinLink.QueryByte('2', &answered);
    if (!answered)
        return -1;
    if (status & 0x40)
        return 0;
    unsigned char done = g_BinLink.QueryDone(&answered);
    if (!answered)
        return -1;
    if (done & 0x07)
        return 0;
    // A failed position read keeps the stored positions.
    g_BinLink.ReadPosition(&g_BinLink.m_PosX, &g_BinLink.m_PosY, &g_BinLink.m_PosZ);
    return 1;
}

bool CAsciiLink::CheckConnected()
{
    if (!AsciiRoad())
        return IsReady();
    CmdMP();
    if (!SendQuery())
        return false;
    return AwaitReplyText(20).find("mp0") != std::string::npos;
}

bool CAsciiLink::WaitAck()
{
    if (!AsciiRoad())
        return false;
    Sleep(50);
    char byte = 0;
    if (g_BinLink.m_Port.WaitForInput(m_ReplyTimeoutMs) && ReadBytes(&byte, 1) == 1 &&
        byte == ASCII_ACK) {
        m_AckFlag = 1;
        return true;
    }
    NoticeHangUp();
    Drain();
    return false;
}

int CAsciiLink::SaveFrame()
{
    if (!AsciiRoad())
        return 0;
    auto slot = static_cast<std::size_t>(m_CurrentSlot);
    m_SavedFrames[slot] = m_Frame;
    m_SavedChecksums[slot] = m_Checksum;
    return 1;
}

int CAsciiLink::ResendSaved()
{
    if (!AsciiRoad())
        return 0;
    auto slot = static_cast<std::size_t>(m_CurrentSlot);
    if (m_SavedFrames[slot].empty())
        return 0;
    std::string wire = m_SavedFrames[slot] + static_cast<char>(m_SavedChecksums[slot]);
    auto write = [&] {
        if (WriteBytes(wire.data(), static_cast<unsigned>(wire.size())))
            return true;
        g_AbortFlag = 1;
        return false;
    };
    if (!write())
        return 0;
    for (int resends = 0; resends < 5; ++resends) {
        if (WaitAck()) {
            m_SavedFrames[slot].clear();
            m_CurrentSlot = 1 - m_CurrentSlot;
            return 1;
        }
        Sleep(10);
        if (!write())
            return 0;
    }
    // A frame that never gets through after its resends leaves the job with
    // a step missing: the line is not fit to go on.
    ControllerLost();
    return 0;
}

void CAsciiLink::NoticeHangUp()
{
    if (g_BinLink.m_Port.HungUp())
        ControllerLost();
}
