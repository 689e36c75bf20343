// The simulated controller: a pseudo-terminal master read by a thread that
// decodes frames, keeps the machine's state and queues the answers.
#include "controller_simulator.h"
#include "sim_pty.h"

#include <cerrno>
#include <chrono>
#include <cmath>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr unsigned char kAck = 0xF0;
constexpr unsigned char kRefuse = 0x0F;
constexpr char EOT = 0x04, STX = 0x02, ETX = 0x03, ENQ = 0x05, ACK = 0x06, NAK = 0x15;

// Payload bytes after the command byte; -1 for a byte that is no command.
int PayloadLength(unsigned char c)
{
    switch (c) {
    case 0x09: case 0x0A: case 0x0B: case 'G': case 0x20:
        return 1;
    case 0x0C: case 0x0D: case 0x0E: case 'H':
        return 4;  // a zero byte and 24 bits
    case '!': case '"': case '#': case 'N': case '$': case '%': case '&': case 'O':
    case '0': case '1': case 0x40: case 'A': case 'B': case 'C': case 'S': case 'T': case '=':
        return 4;
    case ':': case 0x81: case 0x85:
        return 8;
    case 0x89: case 0x8D:
        return 12;
    case 0x80: case 0x82: case 0x84: case 0x86:
        return 16;
    case 0x27: case '(': case ')': case 'P': case '<': case '7': case '8': case '9': case '?':
    case '2': case '3': case 'Q': case '4': case '5': case '6': case 'R': case 0x5C: case ';':
    case 'U': case '>':
        return 0;
    default:
        break;
    }
    if (c <= 0x08 || (c >= 0x0F && c <= 0x1F) || c == 'D' || c == 'E' || c == 'F' || c == 'I' ||
        c == 'J' || c == 'K' || c == 'L' || c == 'M' || (c >= 'V' && c <= '['))
        return 2;
    return -1;
}

std::int32_t Big(const unsigned char* p, int bytes)
{
    std::uint32_t v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | p[i];
    if (bytes == 2)
        return static_cast<std::int16_t>(v);
    return static_cast<std::int32_t>(v);
}

void PutBig(std::vector<unsigned char>& out, std::int32_t value)
{
    auto u = static_cast<std::uint32_t>(value);
    for (int i = 3; i >= 0; --i)
        out.push_back(static_cast<unsigned char>(u >> (8 * i)));
}

speed_t SpeedConstant(unsigned baud)
{
    switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 230400: return B230400;
    default: return B115200;
    }
}

std::string Hex(unsigned char c)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", c);
    return text;
}

}  // namespace

CControllerSimulator::~CControllerSimulator()
{
    Stop();
}

double CControllerSimulator::NowMs() const
{
    if (m_Clock)
        return m_Clock();
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool CControllerSimulator::Start(Kind kind, unsigned baud)
{
    Stop();
    m_Kind = kind;
    m_Baud = baud ? baud : (kind == Kind::Binary ? 115200 : 9600);
    // Keeping the terminal side open keeps the line up between the program's
    // opens, and lets the controller see the rate the program chose.
    if (!m_Pty.Open())
        return false;
    m_Heard = m_Said = 0;
    m_Stop = false;
    // A controller that starts anew has none of the faults of its last run.
    m_Refuse = m_Drop = 0;
    m_Garble = false;
    m_Delay = 0;
    m_SplitGap = -1;
    m_Hold = false;
    m_Noise = false;
    m_HangUpOnNext = false;
    m_ContactStop = false;  // a setting of the controller, off at power-up
    m_Thread = std::thread([this] { Run(); });
    return true;
}

void CControllerSimulator::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stop = true;
    }
    if (m_Thread.joinable())
        m_Thread.join();
    m_Pty.Close();
}

void CControllerSimulator::Run()
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            if (m_Stop)
                return;
        }
        if (Serve(2).gone)
            return;
    }
}

CSimLineEnd::Account CControllerSimulator::Serve(int waitMs)
{
    int master;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        master = m_Pty.master;
    }
    if (master >= 0 && waitMs > 0) {
        pollfd p{master, POLLIN, 0};
        ::poll(&p, 1, waitMs);
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    Account account;
    if (m_Pty.master < 0) {
        account.gone = true;
        return account;
    }
    Advance(NowMs());
    unsigned char buf[4096];
    for (;;) {
        ssize_t got = ::read(m_Pty.master, buf, sizeof buf);
        if (got <= 0)
            break;
        m_Heard += static_cast<std::size_t>(got);
        if (m_HangUpOnNext) {
            m_Received.insert(m_Received.end(), buf, buf + got);
            AddLog("hung up");
            // Closing every descriptor of our side hangs the line up for
            // the program; Stop() finds nothing left to close.
            m_Pty.Close();
            m_Outgoing.clear();
            account.gone = true;
            return account;
        }
        HandleBytes(buf, static_cast<std::size_t>(got));
    }
    const double now = NowMs();  // answers queued just now go out at once
    while (!m_Outgoing.empty() && m_Outgoing.front().dueMs <= now) {
        const auto& bytes = m_Outgoing.front().bytes;
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            ssize_t put = ::write(m_Pty.master, bytes.data() + sent, bytes.size() - sent);
            if (put <= 0)
                break;
            sent += static_cast<std::size_t>(put);
        }
        m_Said += sent;
        m_Outgoing.pop_front();
    }
    account.heard = m_Heard;
    account.said = m_Said;
    account.waiting = m_Pty.Waiting();
    if (!m_Outgoing.empty())
        account.nextDueMs = m_Outgoing.front().dueMs;
    return account;
}

// ---- Motion ----

std::int32_t CControllerSimulator::PositionOf(int axis, double now) const
{
    const Axis& a = m_Axes[static_cast<std::size_t>(axis)];
    if (a.from == a.to)
        return static_cast<std::int32_t>(a.to);
    if (m_Hold)
        return static_cast<std::int32_t>(a.from);
    if (a.durationMs <= 0.0 || now >= a.startMs + a.durationMs)
        return static_cast<std::int32_t>(a.to);
    double f = (now - a.startMs) / a.durationMs;
    return static_cast<std::int32_t>(a.from + std::llround(double(a.to - a.from) * f));
}

void CControllerSimulator::Advance(double now)
{
    for (int i = 0; i < 4; ++i) {
        Axis& a = m_Axes[static_cast<std::size_t>(i)];
        if (m_Hold) {
            a.startMs = now;  // a held move starts over when released
            continue;
        }
        if (a.from != a.to && (a.durationMs <= 0.0 || now >= a.startMs + a.durationMs)) {
            a.from = a.to;
            if (m_Homing[static_cast<std::size_t>(i)]) {
                m_Homing[static_cast<std::size_t>(i)] = 0;
                m_Homed[static_cast<std::size_t>(i)] = true;
            }
        }
        if (a.from == a.to && m_Homing[static_cast<std::size_t>(i)]) {
            m_Homing[static_cast<std::size_t>(i)] = 0;
            m_Homed[static_cast<std::size_t>(i)] = true;
        }
    }
}

void CControllerSimulator::StartMove(int axis, std::int64_t target, double durationMs)
{
    double now = NowMs();
    Axis& a = m_Axes[static_cast<std::size_t>(axis)];
    a.from = PositionOf(axis, now);
    a.to = target;
    a.startMs = now;
    a.durationMs = durationMs;
    if (a.from != a.to)
        m_Homed[static_cast<std::size_t>(axis)] = false;
}

void CControllerSimulator::MoveAxes(const std::array<std::int64_t, 4>& to,
                                    std::array<bool, 4> axes, bool commanded)
{
    double now = NowMs();
    if (commanded)
        m_Commanded.push_back({to, axes});
    std::array<std::int64_t, 4> target = to;
    if (axes[2])
        target[2] = StopAtSurface(PositionOf(2, now), target[2]);
    RecordCut(now, target, axes);
    NoteDrilling(target, axes, now);
    NoteCutting(target, axes, now);
    double duration = 0.0;
    for (int i = 0; i < 4; ++i) {
        if (!axes[static_cast<std::size_t>(i)])
            continue;
        double distance = std::fabs(double(target[static_cast<std::size_t>(i)] - PositionOf(i, now)));
        double speed = m_Speed[static_cast<std::size_t>(i)] > 0 ? m_Speed[static_cast<std::size_t>(i)] : 1.0;
        duration = std::max(duration, distance / speed * 1000.0 * m_TimeScale);
    }
    for (int i = 0; i < 4; ++i) {
        if (axes[static_cast<std::size_t>(i)])
            StartMove(i, target[static_cast<std::size_t>(i)], duration);
    }
}

void CControllerSimulator::StopAxes()
{
    double now = NowMs();
    for (int i = 0; i < 4; ++i) {
        Axis& a = m_Axes[static_cast<std::size_t>(i)];
        a.from = a.to = PositionOf(i, now);
        m_Homing[static_cast<std::size_t>(i)] = 0;
    }
}

bool CControllerSimulator::AnyMoving() const
{
    return MovingBits() != 0;
}

std::uint8_t CControllerSimulator::MovingBits() const
{
    std::uint8_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        const Axis& a = m_Axes[static_cast<std::size_t>(i)];
        if (a.from != a.to || m_Homing[static_cast<std::size_t>(i)])
            bits |= static_cast<std::uint8_t>(1u << i);
    }
    return bits;
}

// Bit 7 is always set, so a live controller never answers 0; bits 1 to 4
// report the home switches of X, Y, Z and the 4th axis; bit 6 is busy.
std::uint8_t CControllerSimulator::StatusByte() const
{
    std::uint8_t status = 0x80;
    for (int i = 0; i < 4; ++i) {
        if (m_Homed[static_cast<std::size_t>(i)])
            status |= static_cast<std::uint8_t>(0x02u << i);
    }
    if (AnyMoving() || m_PauseButton)
        status |= 0x40;
    return status;
}

bool CControllerSimulator::SwitchPressed(int axis, double now) const
{
    return PositionOf(axis, now) < 0;
}

bool CControllerSimulator::ProbeTouched(double now) const
{
    return m_Probe || (m_HasSurface && PositionOf(2, now) >= SurfaceZHere(now));
}

// Bit 0 of the inputs '4', '5', '6' is the X, Y, Z home switch, bit 1 of
// '6' the surface probe; the other bits are what the test set.
std::uint8_t CControllerSimulator::InputByte(int index, double now) const
{
    std::uint8_t byte = m_Inputs[index];
    if (SwitchPressed(index, now))
        byte |= 0x01;
    if (index == 2 && ProbeTouched(now))
        byte |= 0x02;
    return byte;
}

std::int64_t CControllerSimulator::StopAtSurface(std::int64_t from, std::int64_t to) const
{
    const std::int32_t surface = SurfaceZHere(NowMs());
    if (!m_ContactStop || !m_HasSurface || to <= from || to < surface || SpindleRunning())
        return to;
    return std::max<std::int64_t>(from, surface);
}

// ---- Input ----

bool CControllerSimulator::LineAtOurRate()
{
    termios tio{};
    if (::tcgetattr(m_Pty.slave, &tio) != 0)
        return true;
    return ::cfgetospeed(&tio) == SpeedConstant(m_Baud);
}

void CControllerSimulator::HandleBytes(const unsigned char* data, std::size_t n)
{
    m_Received.insert(m_Received.end(), data, data + n);
    if (m_Noise) {
        std::uniform_int_distribution<int> length(1, 16), byte(0, 255);
        std::vector<unsigned char> noise(static_cast<std::size_t>(length(m_NoiseSource)));
        for (unsigned char& b : noise)
            b = static_cast<unsigned char>(byte(m_NoiseSource));
        AddLog("noise: " + std::to_string(noise.size()) + " bytes answered");
        Queue(std::move(noise));
        return;
    }
    if (!LineAtOurRate()) {
        AddLog("noise: " + std::to_string(n) + " bytes at another rate");
        m_Input.clear();
        return;
    }
    m_Input.insert(m_Input.end(), data, data + n);
    if (m_Kind == Kind::Binary)
        HandleBinary();
    else
        HandleAscii();
}

void CControllerSimulator::HandleBinary()
{
    for (;;) {
        std::size_t start = 0;
        while (start < m_Input.size() && m_Input[start] != 0xFF)
            ++start;
        m_Input.erase(m_Input.begin(), m_Input.begin() + static_cast<std::ptrdiff_t>(start));
        if (m_Input.size() < 3)
            return;
        unsigned char command = m_Input[2];
        int length = PayloadLength(command);
        if (length < 0) {
            AddLog("unknown command " + Hex(command));
            m_Input.erase(m_Input.begin());
            ReplyBinary({kRefuse});
            continue;
        }
        if (m_Input.size() < 3 + static_cast<std::size_t>(length))
            return;
        std::vector<unsigned char> payload(m_Input.begin() + 3, m_Input.begin() + 3 + length);
        unsigned sum = command;
        for (unsigned char b : payload)
            sum += b;
        bool good = (sum & 0xFF) == m_Input[1];
        m_Input.erase(m_Input.begin(), m_Input.begin() + 3 + length);
        if (m_Drop > 0) {
            --m_Drop;
            AddLog("dropped " + Hex(command));
            continue;
        }
        if (!good || m_Refuse > 0) {
            if (good)
                --m_Refuse;
            AddLog((good ? "refused " : "bad checksum ") + Hex(command));
            ReplyBinary({kRefuse});
            continue;
        }
        ExecuteBinary(command, payload);
    }
}

void CControllerSimulator::ExecuteBinary(unsigned char c, const std::vector<unsigned char>& p)
{
    std::string line = Hex(c);
    std::vector<std::int32_t> args;
    int length = static_cast<int>(p.size());
    if (c == ':') {
        for (int i = 0; i < 4; ++i)
            args.push_back(Big(p.data() + 2 * i, 2));
    } else if (length == 1) {
        args.push_back(p[0]);
    } else if (length == 2) {
        args.push_back(Big(p.data(), 2) & 0xFFFF);
    } else {
        for (int i = 0; i + 4 <= length; i += 4)
            args.push_back(Big(p.data() + i, 4));
    }
    for (std::int32_t a : args) {
        line += ' ';
        line += std::to_string(a);
    }
    AddLog(line);

    double now = NowMs();
    std::array<std::int64_t, 4> target{};
    for (int i = 0; i < 4; ++i)
        target[static_cast<std::size_t>(i)] = PositionOf(i, now);
    auto step = [&](int axis, std::int32_t signedDistance) {
        target[static_cast<std::size_t>(axis)] += signedDistance;
        std::array<bool, 4> axes{};
        axes[static_cast<std::size_t>(axis)] = true;
        MoveAxes(target, axes);
    };
    auto setCounter = [&](int axis, std::int32_t value) {
        Axis& a = m_Axes[static_cast<std::size_t>(axis)];
        a.from = a.to = value;
        m_Homing[static_cast<std::size_t>(axis)] = 0;
    };
    auto home = [&](int axis) {
        m_Homing[static_cast<std::size_t>(axis)] = 1;
        m_Homed[static_cast<std::size_t>(axis)] = false;
        double distance = std::fabs(double(PositionOf(axis, now)));
        Axis& a = m_Axes[static_cast<std::size_t>(axis)];
        a.from = PositionOf(axis, now);
        a.to = 0;
        a.startMs = now;
        a.durationMs = distance / m_HomeSpeed * 1000.0 * m_TimeScale;
    };
    std::vector<unsigned char> answer{kAck};
    bool data = false;
    switch (c) {
    case 0x1B: m_Speed[0] = args[0] * 10.0; break;
    case 0x1C: m_Speed[1] = args[0] * 10.0; break;
    case 0x1D: m_Speed[2] = args[0] * 10.0; break;
    case 'M': m_Speed[3] = args[0] * 10.0; break;
    case 0x1E: m_Outputs = static_cast<std::uint16_t>(args[0]); break;
    case '$': m_LastLoad = args[0]; setCounter(0, args[0]); break;
    case '%': setCounter(1, args[0]); break;
    case '&': setCounter(2, args[0]); break;
    case 'O': setCounter(3, args[0]); break;
    case 0x40: step(0, args[0]); break;
    case 'A': step(0, -args[0]); break;
    case 'B': step(1, args[0]); break;
    case 'C': step(1, -args[0]); break;
    case '0': step(2, args[0]); break;
    case '1': step(2, -args[0]); break;
    case 'S': step(3, args[0]); break;
    case 'T': step(3, -args[0]); break;
    case ':': m_HomeSpeed = args[0] > 0 ? args[0] * 10.0 : 4000.0; break;
    case 0x27: home(0); break;
    case '(': home(1); break;
    case ')': home(2); break;
    case '?': StopAxes(); break;
    case 0x81: case 0x85:
        target[0] += args[0];
        target[1] += args[1];
        MoveAxes(target, {true, true, false, false});
        break;
    case 0x89: case 0x8D:
        target[0] += args[0];
        target[1] += args[1];
        target[2] += args[2];
        MoveAxes(target, {true, true, true, false});
        break;
    case 0x80: case 0x82:
        BinaryArc(c == 0x80, target, args[0], args[1], args[2], args[3]);
        MoveAxes(target, {true, true, false, false});
        break;
    case 0x84: case 0x86:
        // Through the first point to the second, both relative to the start.
        target[0] += args[2];
        target[1] += args[3];
        MoveAxes(target, {true, true, false, false});
        break;
    case '2': answer.push_back(StatusByte()); break;
    case ';': answer.push_back(MovingBits()); break;
    case '4': answer.push_back(InputByte(0, now)); break;
    case '5': answer.push_back(InputByte(1, now)); break;
    case '6': answer.push_back(InputByte(2, now)); break;
    case 0x02:
        m_ContactStop = args[0] != 0;
        m_ContactStopArmings += m_ContactStop ? 1 : 0;
        break;
    case 'R': case 0x5C: case 'U': answer.push_back(0); break;
    case '3': case 'Q': case '>': {
        int count = c == '3' ? 3 : (c == 'Q' ? 4 : 1);
        unsigned sum = 0;
        for (int i = 0; i < count; ++i) {
            std::int32_t value = c == '>' ? m_LastLoad : PositionOf(i, now);
            PutBig(answer, value);
        }
        for (std::size_t i = 1; i < answer.size(); ++i)
            sum += answer[i];
        answer.push_back(static_cast<unsigned char>(sum));
        data = true;
        break;
    }
    default:
        break;  // settings kept only in the log
    }
    ReplyBinary(answer, data);
}

void CControllerSimulator::HandleAscii()
{
    for (;;) {
        auto eot = std::find(m_Input.begin(), m_Input.end(), static_cast<unsigned char>(EOT));
        m_Input.erase(m_Input.begin(), eot);
        // EOT, "00", two code digits, STX, at least two letters.
        if (m_Input.size() < 6)
            return;
        if (m_Input[5] != STX) {
            AddLog("malformed frame");
            m_Input.erase(m_Input.begin());
            continue;
        }
        std::size_t end = 6;
        while (end < m_Input.size() && m_Input[end] != ETX && m_Input[end] != ENQ)
            ++end;
        if (end >= m_Input.size())
            return;
        bool query = m_Input[end] == ENQ;
        if (!query && end + 1 >= m_Input.size())
            return;  // the checksum is still on its way
        std::string code(m_Input.begin() + 3, m_Input.begin() + 5);
        std::string body(m_Input.begin() + 6, m_Input.begin() + static_cast<std::ptrdiff_t>(end));
        unsigned char sum = static_cast<unsigned char>(m_Input[end]);
        for (char ch : body)
            sum ^= static_cast<unsigned char>(ch);
        bool good = query || sum == m_Input[end + 1];
        m_Input.erase(m_Input.begin(), m_Input.begin() + static_cast<std::ptrdiff_t>(end + (query ? 1 : 2)));
        if (m_Drop > 0) {
            --m_Drop;
            AddLog("dropped " + code + " " + body);
            continue;
        }
        if (!query) {
            if (!good || m_Refuse > 0) {
                if (good)
                    --m_Refuse;
                AddLog((good ? "refused " : "bad checksum ") + code + " " + body);
                ReplyAscii({static_cast<unsigned char>(NAK)}, false);
                continue;
            }
            ReplyAscii({static_cast<unsigned char>(ACK)}, false);
        }
        ExecuteAscii(code, body, query);
    }
}

// X, Y, Z, the X, Y and Z idle flags, four unused fields and the pause
// button: the layout of the reply fields the program keeps for both
// controllers.
std::string CControllerSimulator::PositionReport(double now) const
{
    std::uint8_t moving = MovingBits();
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += std::to_string(PositionOf(i, now)) + ",";
    for (int i = 0; i < 3; ++i)
        text += ((moving >> i) & 1) ? "0," : "1,";
    return text + "0,0,0,0," + (m_PauseButton ? "1" : "0");
}

void CControllerSimulator::ExecuteAscii(const std::string& code, const std::string& body, bool query)
{
    AddLog(code + " " + body + (query ? "?" : ""));
    double now = NowMs();
    std::vector<double> values;
    std::string letters = body.substr(0, body.size() >= 2 ? 2 : body.size());
    if (!body.empty() && body[0] == 'O' && body.size() >= 3 &&
        std::isdigit(static_cast<unsigned char>(body[1]))) {
        int output = std::atoi(body.substr(1, body.size() - 2).c_str());
        int state = body.back() - '0';
        if (output >= 0 && output < 10)
            m_AsciiOutputs[static_cast<std::size_t>(output)] = state;
        return;
    }
    for (std::size_t at = 2; at < body.size();) {
        values.push_back(std::atof(body.c_str() + at));
        std::size_t comma = body.find(',', at);
        if (comma == std::string::npos)
            break;
        at = comma + 1;
    }
    // The frame code names the axes: 22 Z, 33 X and Y, 66 X, Y and Z.
    std::vector<int> axes;
    if (code == "22")
        axes = {2};
    else if (code == "33")
        axes = {0, 1};
    else if (code == "66")
        axes = {0, 1, 2};
    auto reply = [&](const std::string& text) {
        std::vector<unsigned char> frame{static_cast<unsigned char>(STX)};
        frame.insert(frame.end(), text.begin(), text.end());
        frame.push_back(static_cast<unsigned char>(ETX));
        ReplyAscii(frame, true);
    };
    if (query) {
        if (letters == "ID")
            reply(AnyMoving() ? "id0" : "id1");
        else if (letters == "MP")
            reply("mp0");
        else if (letters == "ZZ")
            reply("zz" + PositionReport(now));
        else if (letters == "PS") {
            int axis = code[0] - '0';
            reply("ps" + std::to_string(axis >= 0 && axis < 4 ? PositionOf(axis, now) : 0));
        } else if (letters == "LM") {
            int axis = code[0] - '0';
            bool pressed = axis >= 0 && axis < 3 && SwitchPressed(axis, now);
            reply(pressed || (axis == 2 && ProbeTouched(now)) ? "lm1" : "lm0");
        } else if (letters == "ER")
            reply(ProbeTouched(now) ? "er3" : "er0");
        else if (letters == "VL")
            reply("vl" + std::to_string(static_cast<long>(m_Speed[0])));
        return;
    }
    std::array<std::int64_t, 4> target{};
    for (int i = 0; i < 4; ++i)
        target[static_cast<std::size_t>(i)] = PositionOf(i, now);
    std::array<bool, 4> moved{};
    if (letters == "SP") {
        for (std::size_t i = 0; i < axes.size() && i < values.size(); ++i)
            m_Speed[static_cast<std::size_t>(axes[i])] = values[i];
    } else if (letters == "HS") {
        if (!values.empty() && values[0] > 0)
            m_HomeSpeed = values[0];
    } else if (letters == "MA" || letters == "VA" || letters == "MR") {
        for (std::size_t i = 0; i < axes.size() && i < values.size(); ++i) {
            auto axis = static_cast<std::size_t>(axes[i]);
            auto value = static_cast<std::int64_t>(values[i]);
            target[axis] = letters == "MR" ? target[axis] + value : value;
            moved[axis] = true;
        }
        MoveAxes(target, moved);
    } else if (letters == "HM") {
        for (int axis : axes) {
            m_Homing[static_cast<std::size_t>(axis)] = 1;
            target[static_cast<std::size_t>(axis)] = 0;
            moved[static_cast<std::size_t>(axis)] = true;
        }
        MoveAxes(target, moved, false);
    } else if (letters == "ST") {
        StopAxes();
    } else if (letters == "EL" || letters == "DL") {
        m_ContactStop = letters == "EL";
        m_ContactStopArmings += m_ContactStop ? 1 : 0;
    } else if (letters == "EB") {
        m_DrivesEnabled = !values.empty() && values[0] != 0.0;
    } else if (letters == "CA" && values.size() >= 3) {
        double angle = values[2] * 3.14159265358979 / 180.0;
        double dx = double(target[0]) - values[0], dy = double(target[1]) - values[1];
        target[0] = std::llround(values[0] + dx * std::cos(angle) - dy * std::sin(angle));
        target[1] = std::llround(values[1] + dx * std::sin(angle) + dy * std::cos(angle));
        NoteArc(values[0], values[1], values[2]);
        MoveAxes(target, {true, true, false, false});
    }
}

// ---- Output ----

void CControllerSimulator::Queue(std::vector<unsigned char> bytes)
{
    double due = NowMs() + m_Delay;
    m_Delay = 0;
    if (m_SplitGap >= 0 && bytes.size() > 1) {
        std::size_t half = bytes.size() / 2;
        std::vector<unsigned char> second(bytes.begin() + static_cast<std::ptrdiff_t>(half), bytes.end());
        bytes.resize(half);
        m_Outgoing.push_back({due, bytes});
        m_Outgoing.push_back({due + m_SplitGap, second});
        m_SplitGap = -1;
        return;
    }
    m_Outgoing.push_back({due, std::move(bytes)});
}

void CControllerSimulator::ReplyBinary(std::vector<unsigned char> bytes, bool isAnswerData)
{
    if (isAnswerData && m_Garble) {
        bytes.back() = static_cast<unsigned char>(bytes.back() + 1);
        m_Garble = false;
    }
    Queue(std::move(bytes));
}

void CControllerSimulator::ReplyAscii(std::vector<unsigned char> bytes, bool isFrame)
{
    if (isFrame && m_Garble && bytes.size() > 2) {
        for (std::size_t i = 1; i + 1 < bytes.size(); ++i)
            bytes[i] = '#';
        m_Garble = false;
    }
    Queue(std::move(bytes));
}

// ---- Control from the test or the command line ----

void CControllerSimulator::AddLog(const std::string& line)
{
    m_Log.push_back(line);
    if (m_Sink)
        m_Sink(line);
}

void CControllerSimulator::SetClock(std::function<double()> clock)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Clock = std::move(clock);
}

void CControllerSimulator::SetTimeScale(double scale)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_TimeScale = scale;
}

void CControllerSimulator::HoldMotion(bool hold)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    Advance(NowMs());
    m_Hold = hold;
}

void CControllerSimulator::SetInputs(std::uint8_t in4, std::uint8_t in5, std::uint8_t in6)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Inputs[0] = in4;
    m_Inputs[1] = in5;
    m_Inputs[2] = in6;
}

void CControllerSimulator::SetProbe(bool touched)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Probe = touched;
}

void CControllerSimulator::SetSurface(std::int32_t z)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_HasSurface = true;
    m_HasShape = false;
    m_SurfaceZ = z;
}

void CControllerSimulator::ClearSurface()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_HasSurface = false;
}

void CControllerSimulator::SetPauseButton(bool held)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_PauseButton = held;
}

void CControllerSimulator::SetPosition(int axis, std::int32_t value)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (axis >= 0 && axis < 4)
        m_Axes[static_cast<std::size_t>(axis)] = Axis{value, value, 0.0, 0.0};
}

void CControllerSimulator::RefuseNext(int frames)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Refuse = frames;
}

void CControllerSimulator::DropNext(int frames)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Drop = frames;
}

void CControllerSimulator::GarbleNextAnswer()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Garble = true;
}

void CControllerSimulator::DelayNextReply(unsigned milliseconds)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Delay = milliseconds;
}

void CControllerSimulator::SplitNextReply(unsigned gapMilliseconds)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_SplitGap = static_cast<int>(gapMilliseconds);
}

void CControllerSimulator::AnswerWithNoise(std::uint32_t seed)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_NoiseSource.seed(seed);
    m_Noise = true;
}

void CControllerSimulator::HangUpOnNextFrame()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_HangUpOnNext = true;
}

CControllerSimulator::State CControllerSimulator::GetState()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    double now = NowMs();
    Advance(now);
    State s;
    std::uint8_t moving = MovingBits();
    for (int i = 0; i < 4; ++i) {
        auto k = static_cast<std::size_t>(i);
        s.position[k] = PositionOf(i, now);
        s.moving[k] = (moving >> i) & 1;
        s.homed[k] = m_Homed[k];
        s.speed[k] = m_Speed[k];
    }
    s.outputs = m_Outputs;
    s.asciiOutputs = m_AsciiOutputs;
    s.drivesEnabled = m_DrivesEnabled;
    s.spindleOn = SpindleRunning();
    for (int i = 0; i < 3; ++i)
        s.homeSwitch[static_cast<std::size_t>(i)] = SwitchPressed(i, now);
    s.probeTouched = ProbeTouched(now);
    s.contactStop = m_ContactStop;
    return s;
}

std::vector<std::string> CControllerSimulator::Log()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Log;
}

void CControllerSimulator::ClearLog()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Log.clear();
    m_Received.clear();
    m_Commanded.clear();
    m_ContactStopArmings = 0;
}

std::vector<CControllerSimulator::CommandedMove> CControllerSimulator::CommandedMoves()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Commanded;
}

int CControllerSimulator::ContactStopArmings()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_ContactStopArmings;
}

std::vector<unsigned char> CControllerSimulator::Received()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Received;
}

void CControllerSimulator::SetLogSink(std::function<void(const std::string&)> sink)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Sink = std::move(sink);
}
