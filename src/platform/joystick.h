// The joystick the view's timer reads: the first joystick's X and Y
// deflection (0 to 65535, 32767 at rest) and its buttons. On Linux it is the
// joystick device /dev/input/js0, read without blocking; with no device the
// read fails quietly and the program goes on without a joystick. Tests put a
// reader of their own in its place.
#pragma once

#include <cstdint>

struct JOYINFO {
    unsigned wXpos = 32767;
    unsigned wYpos = 32767;
    unsigned wZpos = 32767;
    unsigned wButtons = 0;
};

constexpr unsigned JOYSTICKID1 = 0;
constexpr unsigned JOYERR_NOERROR = 0;
constexpr unsigned JOYERR_UNPLUGGED = 167;

class CJoystickReader {
public:
    virtual ~CJoystickReader() = default;
    // The current state; false when there is no joystick.
    virtual bool Read(JOYINFO& info) = 0;
};

// The joystick of the Linux joystick interface. The device is opened when a
// read finds it closed, at most once a second, so plugging it in later works.
class CLinuxJoystick : public CJoystickReader {
public:
    explicit CLinuxJoystick(const char* device = "/dev/input/js0");
    ~CLinuxJoystick() override;
    CLinuxJoystick(const CLinuxJoystick&) = delete;
    CLinuxJoystick& operator=(const CLinuxJoystick&) = delete;
    bool Read(JOYINFO& info) override;

private:
    const char* m_Device;
    int m_Fd = -1;
    std::uint32_t m_LastTry = 0;
    bool m_Tried = false;
    JOYINFO m_State;
};

// An axis value of the Linux interface (-32767 to 32767) as a deflection of
// 0 to 65535.
unsigned JoystickAxisToPos(int value);

// Installs the reader joyGetPos uses (not owned); nullptr restores the
// device reader.
void SetJoystickReader(CJoystickReader* reader);

// JOYERR_NOERROR with the state of joystick `id` (only the first exists),
// JOYERR_UNPLUGGED when there is none.
unsigned joyGetPos(unsigned id, JOYINFO* info);
