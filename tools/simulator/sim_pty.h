// The pseudo-terminal a simulated controller answers on: the controller's
// side (non-blocking) and the terminal side kept open in raw mode, so the
// line stays up between the program's opens.
#pragma once

#include <cstddef>
#include <limits>
#include <string>

struct CSimPty {
    int master = -1;
    int slave = -1;
    std::string path;  // the device the program opens

    bool Open();
    void Close();
    // Bytes on the terminal side that the program has not read yet.
    std::size_t Waiting() const;
};

// The far end of a line, as a test that drives the clock sees it: what it
// has heard and said so far, and when it will speak again.
class CSimLineEnd {
public:
    struct Account {
        std::size_t heard = 0;    // bytes taken from the line since the start
        std::size_t said = 0;     // bytes put on the line since the start
        std::size_t waiting = 0;  // bytes on the program's side not read yet
        // When the next queued answer goes out, on the end's clock.
        double nextDueMs = std::numeric_limits<double>::infinity();
        bool gone = false;        // the end has closed the line
    };
    virtual ~CSimLineEnd() = default;
    // The device the program opens.
    virtual const std::string& PortPath() const = 0;
    // Waits up to `waitMs` of real time for bytes, takes in what has come,
    // answers it and sends what is due; the account after.
    virtual Account Serve(int waitMs) = 0;
};

