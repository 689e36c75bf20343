// The joystick reader: the Linux joystick device, or a test's reader.
#include "platform/joystick.h"

#include "platform/host.h"

#include <fcntl.h>
#include <linux/joystick.h>
#include <unistd.h>

#include <cerrno>

namespace {

CJoystickReader* g_InstalledReader = nullptr;

CJoystickReader& DeviceReader()
{
    static CLinuxJoystick reader;
    return reader;
}

constexpr std::uint32_t kRetryMs = 1000;

}  // namespace

unsigned JoystickAxisToPos(int value)
{
    if (value <= -32767)
        return 0;
    if (value >= 32767)
        return 65535;
    return static_cast<unsigned>((static_cast<long>(value) + 32767) * 65535L / 65534L);
}

CLinuxJoystick::CLinuxJoystick(const char* device) : m_Device(device) {}

CLinuxJoystick::~CLinuxJoystick()
{
    if (m_Fd >= 0)
        ::close(m_Fd);
}

bool CLinuxJoystick::Read(JOYINFO& info)
{
    if (m_Fd < 0) {
        const std::uint32_t now = GetTickCount();
        if (m_Tried && now - m_LastTry < kRetryMs)
            return false;
        m_Tried = true;
        m_LastTry = now;
        m_Fd = ::open(m_Device, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (m_Fd < 0)
            return false;
        m_State = JOYINFO();
    }
    js_event event;
    for (;;) {
        ssize_t got = ::read(m_Fd, &event, sizeof event);
        if (got == static_cast<ssize_t>(sizeof event)) {
            const unsigned type = event.type & ~JS_EVENT_INIT;
            if (type == JS_EVENT_AXIS) {
                if (event.number == 0)
                    m_State.wXpos = JoystickAxisToPos(event.value);
                else if (event.number == 1)
                    m_State.wYpos = JoystickAxisToPos(event.value);
                else if (event.number == 2)
                    m_State.wZpos = JoystickAxisToPos(event.value);
            } else if (type == JS_EVENT_BUTTON && event.number < 32) {
                const unsigned bit = 1u << event.number;
                m_State.wButtons = event.value ? (m_State.wButtons | bit) : (m_State.wButtons & ~bit);
            }
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            break;
        // Unplugged (ENODEV) or a short read: start again with the next read.
        ::close(m_Fd);
        m_Fd = -1;
        return false;
    }
    info = m_State;
    return true;
}

void SetJoystickReader(CJoystickReader* reader) { g_InstalledReader = reader; }

unsigned joyGetPos(unsigned id, JOYINFO* info)
{
    if (id != JOYSTICKID1 || !info)
        return JOYERR_UNPLUGGED;
    CJoystickReader& reader = g_InstalledReader ? *g_InstalledReader : DeviceReader();
    return reader.Read(*info) ? JOYERR_NOERROR : JOYERR_UNPLUGGED;
}
