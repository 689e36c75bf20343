// The pseudo-terminal a simulated controller answers on: the controller's
// side (non-blocking) and the terminal side kept open in raw mode, so the
// line stays up between the program's opens.
#pragma once

#include <string>

struct CSimPty {
    int master = -1;
    int slave = -1;
    std::string path;  // the device the program opens

    bool Open();
    void Close();
};
