// The binary framed protocol: frame building, the acknowledgement and resend
// rule, the queries with their answer checksums, and the commands that keep
// the link's idea of the axis counters and the output word.
#include "link/bin_link.h"

#include "link/link_state.h"
#include "platform/host.h"
#include "platform/message_pump.h"

#include <algorithm>
#include <cmath>

namespace {

// Resend limits: how many refusals a frame survives.
constexpr int kDefaultLimit = 10;
constexpr int kQueryDoneLimit = 5;

std::uint32_t ByteSum(std::int32_t value)
{
    auto u = static_cast<std::uint32_t>(value);
    return (u & 0xFF) + ((u >> 8) & 0xFF) + ((u >> 16) & 0xFF) + (u >> 24);
}

void PutBig(std::vector<unsigned char>& out, std::int32_t value, int bytes)
{
    auto u = static_cast<std::uint32_t>(value);
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<unsigned char>(u >> (8 * i)));
}

std::int32_t GetBig32(const unsigned char* p)
{
    return static_cast<std::int32_t>((std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) |
                                     (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]));
}

}  // namespace

std::vector<unsigned char> BuildBinFrame(unsigned char command, const unsigned char* payload,
                                         std::size_t payloadLength, std::uint32_t argSum)
{
    std::vector<unsigned char> frame;
    frame.reserve(3 + payloadLength);
    frame.push_back(0xFF);
    frame.push_back(static_cast<unsigned char>((command + argSum) & 0xFF));
    frame.push_back(command);
    for (std::size_t i = 0; i < payloadLength; ++i)
        frame.push_back(payload[i]);
    return frame;
}

std::vector<unsigned char> BinFrameNone(unsigned char command)
{
    return BuildBinFrame(command, nullptr, 0, 0);
}

std::vector<unsigned char> BinFrame8(unsigned char command, std::int32_t value)
{
    unsigned char p = static_cast<unsigned char>(value);
    return BuildBinFrame(command, &p, 1, ByteSum(value));
}

std::vector<unsigned char> BinFrame16(unsigned char command, std::int32_t value)
{
    std::vector<unsigned char> p;
    PutBig(p, value, 2);
    return BuildBinFrame(command, p.data(), p.size(), ByteSum(value));
}

std::vector<unsigned char> BinFrame24(unsigned char command, std::int32_t value)
{
    std::vector<unsigned char> p{0x00};
    PutBig(p, value, 3);
    return BuildBinFrame(command, p.data(), p.size(), ByteSum(value));
}

std::vector<unsigned char> BinFrame32(unsigned char command, const std::int32_t* values, int count)
{
    std::vector<unsigned char> p;
    std::uint32_t sum = 0;
    for (int i = 0; i < count; ++i) {
        PutBig(p, values[i], 4);
        sum += ByteSum(values[i]);
    }
    return BuildBinFrame(command, p.data(), p.size(), sum);
}

std::vector<unsigned char> BinFrame4x16(unsigned char command, const std::int32_t values[4])
{
    std::vector<unsigned char> p;
    std::uint32_t sum = 0;
    for (int i = 0; i < 4; ++i) {
        PutBig(p, values[i], 2);
        sum += ByteSum(values[i]);
    }
    return BuildBinFrame(command, p.data(), p.size(), sum);
}

std::int32_t BinRateValue(float frequency)
{
    if (!(frequency > 0.0f))
        return 0;
    // Single precision, as the controller's rate tables were worked out.
    float value = 8000000.0f / frequency;
    return value >= 16777215.0f ? 16777215 : static_cast<std::int32_t>(value);
}

// ---- Port level ----

int CBinLink::Open(const char* portName)
{
    if (!m_Port.Open(portName)) {
        m_LastError = static_cast<std::uint32_t>(m_Port.LastError());
        g_AbortFlag = 1;
        return 0;
    }
    if (!m_Port.Configure(g_BaudRate)) {
        m_LastError = static_cast<std::uint32_t>(m_Port.LastError());
        m_Port.Close();
        g_AbortFlag = 1;
        return 0;
    }
    m_Port.Purge();
    m_Port.PulseRts(100, 200);
    return 1;
}

int CBinLink::OpenAndProbe(const char* portName)
{
    if (!Open(portName))
        return 0;
    if (QueryDone() & 0x07) {
        m_Port.Close();
        return 0;
    }
    Cmd1F(292);
    Cmd20(59);
    return 1;
}

unsigned CBinLink::Read(unsigned char* buf, unsigned n)
{
    if (n == 0)
        return 0;
    if (!m_Port.IsOpen() || !m_Port.ReadExact(buf, n, m_ReadTimeoutMs)) {
        buf[0] = '0';
        // Silence is for the protocol to judge; a line that hung up is gone.
        if (m_Port.HungUp())
            g_MachineLink.ControllerLost();
        return 0;
    }
    return n;
}

unsigned CBinLink::Write(const void* buf, unsigned n)
{
    // A reply must be read before the next frame: unread input is thrown away.
    m_Port.Purge();
    std::size_t sent = m_Port.Write(buf, n);
    if (sent != n) {
        m_LastError = static_cast<std::uint32_t>(m_Port.LastError());
        g_MachineLink.ControllerLost();
    }
    return static_cast<unsigned>(sent);
}

unsigned CBinLink::WriteByte(unsigned char b)
{
    return Write(&b, 1);
}

// ---- Frames with acknowledgement ----

int CBinLink::SendFrame(const std::vector<unsigned char>& frame, int limit, bool strictLimit)
{
    int attempts = 0;
    for (;;) {
        if (Write(frame.data(), static_cast<unsigned>(frame.size())) != frame.size())
            return 0;
        unsigned char reply = 0;
        if (Read(&reply, 1) == 0)
            return 0;  // silence is not worth a resend
        ++attempts;
        if (reply == BIN_ACK && !(strictLimit && attempts > limit))
            return 1;
        if (attempts > limit) {
            // A line that refuses or garbles every frame cannot run a job.
            g_MachineLink.ControllerLost();
            return 0;
        }
    }
}

int CBinLink::CommandNone(unsigned char command)
{
    return SendFrame(BinFrameNone(command), kDefaultLimit, command == '<');
}

int CBinLink::Command8(unsigned char command, std::int32_t value)
{
    return SendFrame(BinFrame8(command, value), kDefaultLimit);
}

int CBinLink::Command16(unsigned char command, std::int32_t value)
{
    return SendFrame(BinFrame16(command, value), kDefaultLimit);
}

int CBinLink::Command24Rate(unsigned char command, float frequency)
{
    return SendFrame(BinFrame24(command, BinRateValue(frequency)), kDefaultLimit);
}

int CBinLink::Command32(unsigned char command, std::int32_t value)
{
    return SendFrame(BinFrame32(command, &value, 1), kDefaultLimit);
}

int CBinLink::SendFrames32(unsigned char command, const std::int32_t* values, int count)
{
    return SendFrame(BinFrame32(command, values, count), kDefaultLimit);
}

int CBinLink::CmdColon(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d)
{
    const std::int32_t values[4] = {a, b, c, d};
    return SendFrame(BinFrame4x16(':', values), kDefaultLimit);
}

unsigned char CBinLink::QueryByte(unsigned char command, bool* ok)
{
    if (ok)
        *ok = false;
    int limit = (command == ';' || command == 'U') ? kQueryDoneLimit : kDefaultLimit;
    if (!SendFrame(BinFrameNone(command), limit))
        return 0;
    unsigned char value = 0;
    if (Read(&value, 1) == 0)
        return 0;
    if (ok)
        *ok = true;
    return value;
}

int CBinLink::ReadBlock(unsigned char command, std::int32_t* values, int count)
{
    if (!SendFrame(BinFrameNone(command), kDefaultLimit))
        return 0;
    unsigned char answer[17];
    unsigned length = static_cast<unsigned>(count) * 4 + 1;
    if (Read(answer, length) != length)
        return 0;
    unsigned sum = 0;
    for (unsigned i = 0; i + 1 < length; ++i)
        sum += answer[i];
    if ((sum & 0xFF) != answer[length - 1])
        return 0;
    for (int i = 0; i < count; ++i)
        values[i] = GetBig32(answer + 4 * i);
    return 1;
}

// ---- Outputs ----

int CBinLink::WriteOutputs()
{
    return Command16(0x1E, m_OutputWord);
}

int CBinLink::SetOutputBit(int group, int bit, bool on)
{
    if (group < 1 || group > 4 || bit < 0 || bit > 3)
        return 0;
    std::uint16_t mask = static_cast<std::uint16_t>(1u << (4 * (group - 1) + bit));
    std::uint16_t word = on ? (m_OutputWord | mask) : (m_OutputWord & ~mask);
    if (!Command16(0x1E, word))
        return 0;
    m_OutputWord = word;
    return 1;
}

int CBinLink::SpindleOnPulse()
{
    int ok = SetOutputBit(1, 2, true);
    Sleep(50);
    return SetOutputBit(1, 2, false) && ok;
}

int CBinLink::SpindleOffPulse()
{
    int ok = SetOutputBit(1, 3, true);
    Sleep(50);
    return SetOutputBit(1, 3, false) && ok;
}

// ---- Counters and moves ----

int CBinLink::SetPosX(std::int32_t v)
{
    if (!Command32('$', v))
        return 0;
    m_PosX = v;
    return 1;
}

int CBinLink::SetPosY(std::int32_t v)
{
    if (!Command32('%', v))
        return 0;
    m_PosY = v;
    return 1;
}

int CBinLink::SetPosZ(std::int32_t v)
{
    if (!Command32('&', v))
        return 0;
    m_PosZ = v;
    return 1;
}

int CBinLink::StepMove(unsigned char positive, unsigned char negative, std::int32_t distance,
                       std::int32_t* stored)
{
    if (distance == 0)
        return 1;
    std::int32_t magnitude = distance < 0 ? -distance : distance;
    if (!Command32(distance < 0 ? negative : positive, magnitude))
        return 0;
    *stored += distance;
    return 1;
}

int CBinLink::MoveXTo(std::int32_t target)
{
    return StepMove(0x40, 0x41, m_AbsoluteMode ? target - m_PosX : target, &m_PosX);
}

int CBinLink::MoveYTo(std::int32_t target)
{
    return StepMove('B', 'C', m_AbsoluteMode ? target - m_PosY : target, &m_PosY);
}

int CBinLink::MoveZTo(std::int32_t target)
{
    return StepMove('0', '1', m_AbsoluteMode ? target - m_PosZ : target, &m_PosZ);
}

int CBinLink::Move4To(std::int32_t target)
{
    return StepMove('S', 'T', m_AbsoluteMode ? target - m_Pos4 : target, &m_Pos4);
}

int CBinLink::MoveXBy(std::int32_t distance) { return StepMove(0x40, 0x41, distance, &m_PosX); }
int CBinLink::MoveYBy(std::int32_t distance) { return StepMove('B', 'C', distance, &m_PosY); }
int CBinLink::MoveZBy(std::int32_t distance) { return StepMove('0', '1', distance, &m_PosZ); }

int CBinLink::LineMoveXY(std::int32_t x, std::int32_t y)
{
    std::int32_t values[2] = {x, y};
    if (m_AbsoluteMode) {
        values[0] -= m_PosX;
        values[1] -= m_PosY;
    }
    if ((values[0] != 0 || values[1] != 0) && !SendFrames32(0x81, values, 2))
        return 0;
    m_PosX += values[0];
    m_PosY += values[1];
    return 1;
}

int CBinLink::TwoSegmentMove(unsigned char command, std::int32_t x1, std::int32_t y1,
                             std::int32_t x2, std::int32_t y2)
{
    if (g_AbortFlag)
        return 0;
    double d1 = std::hypot(double(x1) - m_PosX, double(y1) - m_PosY);
    double d2 = std::hypot(double(x2) - x1, double(y2) - y1);
    double f = std::min(d1, d2) / (std::max(d1, d2) + 1.0);
    std::int32_t values[4];
    if (m_AbsoluteMode) {
        values[0] = x1 - m_PosX;
        values[1] = y1 - m_PosY;
        values[2] = static_cast<std::int32_t>(x1 + (x2 - x1) * f - m_PosX);
        values[3] = static_cast<std::int32_t>(y1 + (y2 - y1) * f - m_PosY);
        if ((values[2] == 0 || values[3] == 0) && std::abs(values[2] - values[3]) < 5)
            values[2] = values[3] = 0;
    } else {
        // Start and end can coincide: then there is no second leg to scale.
        if (command == 0x82)
            f = d2 > 0.0 ? d1 / d2 : 0.0;
        values[0] = x1;
        values[1] = y1;
        values[2] = static_cast<std::int32_t>(x1 + (x2 - x1) * f);
        values[3] = static_cast<std::int32_t>(y1 + (y2 - y1) * f);
    }
    if (!SendFrames32(command, values, 4))
        return 0;
    if (command == 0x82) {
        m_PosX += values[2];
        m_PosY += values[3];
    }
    // The last wait read back where the table stands: adding the second pair
    // once more would put the next absolute move off by the arc's travel.
    if (!WaitPositionIdle() || !LineMoveXY(x2, y2) || !WaitPositionIdle())
        return 0;
    return 1;
}

int CBinLink::LineMove80(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    return TwoSegmentMove(0x80, x1, y1, x2, y2);
}

int CBinLink::LineMove82(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2)
{
    return TwoSegmentMove(0x82, x1, y1, x2, y2);
}

int CBinLink::LoadAxisParam(int mask, std::int32_t value, int subCode)
{
    if (!Command32('$', value))
        return 0;
    static const unsigned char commands[3] = {0x09, 0x0A, 0x0B};
    int ok = 1;
    for (int axis = 0; axis < 3; ++axis) {
        if (mask & (1 << axis))
            ok = Command8(commands[axis], subCode) && ok;
    }
    return ok;
}

// ---- Queries ----

int CBinLink::ReadPosition(std::int32_t* x, std::int32_t* y, std::int32_t* z)
{
    std::int32_t values[3];
    if (!ReadBlock('3', values, 3))
        return 0;
    *x = values[0];
    *y = values[1];
    *z = values[2];
    return 1;
}

int CBinLink::ReadPosition4(std::int32_t* x, std::int32_t* y, std::int32_t* z, std::int32_t* a)
{
    std::int32_t values[4];
    if (!ReadBlock('Q', values, 4))
        return 0;
    *x = values[0];
    *y = values[1];
    *z = values[2];
    *a = values[3];
    return 1;
}

int CBinLink::QueryGreater(std::int32_t* value)
{
    return ReadBlock('>', value, 1);
}

unsigned char CBinLink::QueryDone(bool* answered)
{
    bool ok = false;
    unsigned char state = QueryByte(';', &ok);
    if (answered)
        *answered = ok;
    return ok ? state : 0xFF;
}

unsigned char CBinLink::StatusByte()
{
    for (int i = 0; i < 100; ++i) {
        bool ok = false;
        unsigned char status = QueryByte('2', &ok);
        if (!ok)
            break;  // a silent controller will not answer the next 99 either
        if (status != 0)
            return status;
    }
    g_AbortFlag = 1;
    return 0;
}

int CBinLink::UpdatePositionIfIdle()
{
    if (QueryDone() & 0x07)
        return 0;
    // A failed position read keeps the stored positions.
    ReadPosition(&m_PosX, &m_PosY, &m_PosZ);
    return 1;
}

int CBinLink::CheckCable()
{
    unsigned char in4 = ReadInputs4();
    unsigned char in5 = ReadInputs5();
    unsigned char in6 = ReadInputs6();
    if (!((in4 & in5 & in6) & 0x01))
        return 0;
    Reset();
    SetOutputBit(1, 0, true);
    SetOutputBit(2, 0, true);
    SetOutputBit(3, 0, true);
    g_AbortFlag = 1;
    AfxMessageBox("Machine I/O Cable Connnect Fail !");
    return 1;
}

// ---- Waits ----

bool CBinLink::WaitUntil(const std::function<bool(bool* answered)>& done) const
{
    std::uint32_t start = GetTickCount();
    std::uint32_t lastAnswer = start;
    for (;;) {
        bool answered = false;
        if (done(&answered))
            return true;
        std::uint32_t now = GetTickCount();
        if (answered)
            lastAnswer = now;
        PumpMessages();
        if (g_AbortFlag || now - start >= m_IdleTimeoutMs)
            return false;
        if (now - lastAnswer >= m_SilenceTimeoutMs) {
            g_MachineLink.ControllerLost();
            return false;
        }
        Sleep(2);
    }
}

bool CBinLink::PumpedSleep(unsigned milliseconds)
{
    std::uint32_t start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        PumpMessages();
        if (g_AbortFlag)
            return false;
        std::uint32_t left = milliseconds - (GetTickCount() - start);
        Sleep(left < 10 ? (left ? left : 1) : 10);
    }
    return true;
}

bool CBinLink::WaitAxesIdle(unsigned char axisMask)
{
    return WaitUntil([&](bool* answered) { return (QueryDone(answered) & axisMask) == 0; });
}

bool CBinLink::WaitPositionIdle()
{
    return WaitUntil([&](bool* answered) {
        if (QueryDone(answered) & 0x07)
            return false;
        ReadPosition(&m_PosX, &m_PosY, &m_PosZ);
        return true;
    });
}
