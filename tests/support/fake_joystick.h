// A joystick for tests: set its axes and buttons, install it, and joyGetPos
// reports them; a script may move the stick between reads.
#pragma once

#include "platform/joystick.h"

#include <functional>

class CFakeJoystick : public CJoystickReader {
public:
    CFakeJoystick() { SetJoystickReader(this); }
    ~CFakeJoystick() override { SetJoystickReader(nullptr); }
    CFakeJoystick(const CFakeJoystick&) = delete;
    CFakeJoystick& operator=(const CFakeJoystick&) = delete;

    bool Read(JOYINFO& info) override
    {
        ++reads;
        if (onRead)
            onRead(reads);
        if (!present)
            return false;
        info = state;
        return true;
    }

    JOYINFO state;
    bool present = true;
    int reads = 0;
    // Called before each read with the read's number (1, 2, ...).
    std::function<void(int)> onRead;
};
