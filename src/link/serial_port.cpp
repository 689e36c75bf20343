// The POSIX serial port: termios for the line settings, poll for deadlines,
// an advisory lock so two programs cannot drive one machine at once.
#include "link/serial_port.h"

#include "platform/host.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

bool BaudConstant(unsigned baud, speed_t* out)
{
    static const struct {
        unsigned rate;
        speed_t constant;
    } rates[] = {
        {1200, B1200},     {2400, B2400},     {4800, B4800},   {9600, B9600},
        {19200, B19200},   {38400, B38400},   {57600, B57600}, {115200, B115200},
        {230400, B230400}, {460800, B460800}, {921600, B921600},
    };
    for (const auto& r : rates) {
        if (r.rate == baud) {
            *out = r.constant;
            return true;
        }
    }
    return false;
}

// The program's waits: the device polled against the wall clock.
class CWallClockWaits : public CLineWaits {
public:
    bool WaitForInput(CSerialPort& port, unsigned timeoutMs) override
    {
        Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            switch (port.PollInput(RemainingMs(deadline))) {
            case ELineEvent::Input: return true;
            case ELineEvent::Gone: return false;
            case ELineEvent::Nothing: break;
            }
            if (RemainingMs(deadline) == 0)
                return port.Queued() > 0;
        }
    }
};

CWallClockWaits g_WallClockWaits;
CLineWaits* g_InstalledWaits = nullptr;

}  // namespace

CLineWaits& LineWaits() { return g_InstalledWaits ? *g_InstalledWaits : g_WallClockWaits; }

void SetLineWaits(CLineWaits* waits) { g_InstalledWaits = waits; }

std::string ComPortDevicePath(const std::string& portName)
{
    if (portName.size() < 4 || portName.size() > 5 || portName.compare(0, 3, "COM") != 0)
        return portName;
    char* end = nullptr;
    long number = std::strtol(portName.c_str() + 3, &end, 10);
    if (*end != '\0' || number < 1 || number > 10)
        return portName;
    if (const char* overridden = std::getenv(("ORDUNE_" + portName).c_str());
        overridden && *overridden)
        return overridden;
    return "/dev/ttyS" + std::to_string(number - 1);
}

CSerialPort::CSerialPort(CSerialPort&& other) noexcept
    : m_Fd(other.m_Fd), m_LastError(other.m_LastError), m_HungUp(other.m_HungUp),
      m_Pseudo(other.m_Pseudo), m_DevicePath(std::move(other.m_DevicePath))
{
    other.m_Fd = -1;
}

CSerialPort& CSerialPort::operator=(CSerialPort&& other) noexcept
{
    if (this != &other) {
        Close();
        m_Fd = other.m_Fd;
        m_LastError = other.m_LastError;
        m_HungUp = other.m_HungUp;
        m_Pseudo = other.m_Pseudo;
        m_DevicePath = std::move(other.m_DevicePath);
        other.m_Fd = -1;
    }
    return *this;
}

void CSerialPort::Failed(int error)
{
    m_LastError = error;
    if (error == EIO || error == ENXIO || error == ENODEV)
        m_HungUp = true;
}

bool CSerialPort::HangUpEvents(short revents)
{
    if (!(revents & (POLLHUP | POLLERR | POLLNVAL)))
        return false;
    m_LastError = EIO;
    m_HungUp = true;
    return true;
}

bool CSerialPort::Open(const std::string& portName)
{
    Close();
    m_DevicePath = ComPortDevicePath(portName);
    int fd = ::open(m_DevicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        m_LastError = errno;
        return false;
    }
    if (!::isatty(fd)) {
        m_LastError = ENOTTY;
        ::close(fd);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_LastError = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return false;
    }
    int lines = 0;
    m_Pseudo = ::ioctl(fd, TIOCMGET, &lines) != 0;
    m_Fd = fd;
    return true;
}

void CSerialPort::Close()
{
    if (m_Fd >= 0) {
        ::flock(m_Fd, LOCK_UN);
        ::close(m_Fd);
        m_Fd = -1;
    }
    m_HungUp = false;
}

bool CSerialPort::ReadSettings()
{
    termios tio{};
    if (!IsOpen() || ::tcgetattr(m_Fd, &tio) != 0) {
        m_LastError = IsOpen() ? errno : EBADF;
        return false;
    }
    return true;
}

bool CSerialPort::Configure(unsigned baud)
{
    speed_t speed;
    if (!IsOpen()) {
        m_LastError = EBADF;
        return false;
    }
    if (!BaudConstant(baud, &speed)) {
        m_LastError = EINVAL;
        return false;
    }
    termios tio{};
    if (::tcgetattr(m_Fd, &tio) != 0) {
        m_LastError = errno;
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CSIZE | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0 ||
        ::tcsetattr(m_Fd, TCSANOW, &tio) != 0) {
        m_LastError = errno;
        return false;
    }
    return true;
}

bool CSerialPort::Purge()
{
    if (IsOpen())
        LineWaits().BeforePurge(*this);
    if (!IsOpen() || ::tcflush(m_Fd, TCIOFLUSH) != 0) {
        Failed(IsOpen() ? errno : EBADF);
        return false;
    }
    return true;
}

bool CSerialPort::SetRts(bool on)
{
    if (!IsOpen())
        return false;
    if (m_Pseudo)
        return true;
    int bit = TIOCM_RTS;
    if (::ioctl(m_Fd, on ? TIOCMBIS : TIOCMBIC, &bit) != 0) {
        m_LastError = errno;
        return false;
    }
    return true;
}

void CSerialPort::PulseRts(unsigned lowMs, unsigned highMs)
{
    SetRts(false);
    if (!m_Pseudo)
        ::Sleep(lowMs);
    SetRts(true);
    if (!m_Pseudo)
        ::Sleep(highMs);
}

std::size_t CSerialPort::Queued()
{
    int count = 0;
    if (!IsOpen())
        return 0;
    if (::ioctl(m_Fd, FIONREAD, &count) != 0) {
        Failed(errno);
        return 0;
    }
    if (count < 0)
        return 0;
    return static_cast<std::size_t>(count);
}

std::size_t CSerialPort::ReadNow(void* buf, std::size_t n)
{
    if (!IsOpen() || n == 0)
        return 0;
    ssize_t got = ::read(m_Fd, buf, n);
    if (got < 0) {
        if (errno != EAGAIN && errno != EINTR)
            Failed(errno);
        return 0;
    }
    LineWaits().Took(*this, static_cast<std::size_t>(got));
    return static_cast<std::size_t>(got);
}

ELineEvent CSerialPort::PollInput(int waitMs)
{
    if (!IsOpen())
        return ELineEvent::Gone;
    pollfd p{m_Fd, POLLIN, 0};
    int ready = ::poll(&p, 1, waitMs);
    // A hung-up line also reports input, of which there is none.
    if (ready > 0 && HangUpEvents(p.revents))
        return ELineEvent::Gone;
    if (ready > 0 && (p.revents & POLLIN))
        return ELineEvent::Input;
    if (ready < 0 && errno != EINTR) {
        m_LastError = errno;
        return ELineEvent::Gone;
    }
    return ELineEvent::Nothing;
}

bool CSerialPort::WaitForInput(unsigned timeoutMs)
{
    if (!IsOpen())
        return false;
    if (Queued() > 0)
        return true;
    return LineWaits().WaitForInput(*this, timeoutMs);
}

bool CSerialPort::ReadExact(void* buf, std::size_t n, unsigned timeoutMs)
{
    if (!IsOpen())
        return false;
    auto* out = static_cast<unsigned char*>(buf);
    std::size_t have = 0;
    const std::uint32_t start = GetTickCount();
    while (have < n) {
        have += ReadNow(out + have, n - have);
        if (have == n)
            break;
        const std::uint32_t spent = GetTickCount() - start;
        if (spent >= timeoutMs || !LineWaits().WaitForInput(*this, timeoutMs - spent))
            return false;
    }
    return true;
}

std::size_t CSerialPort::Write(const void* buf, std::size_t n, unsigned timeoutMs)
{
    if (!IsOpen()) {
        m_LastError = EBADF;
        return 0;
    }
    const auto* in = static_cast<const unsigned char*>(buf);
    std::size_t sent = 0;
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (sent < n) {
        ssize_t put = ::write(m_Fd, in + sent, n - sent);
        if (put > 0) {
            sent += static_cast<std::size_t>(put);
            LineWaits().Wrote(*this, static_cast<std::size_t>(put));
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR) {
            Failed(errno);
            break;
        }
        int left = RemainingMs(deadline);
        if (left == 0) {
            m_LastError = ETIMEDOUT;
            break;
        }
        pollfd p{m_Fd, POLLOUT, 0};
        ::poll(&p, 1, left);
    }
    return sent;
}
