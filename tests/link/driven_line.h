// The line between the program and the simulated controllers, on the test's
// clock. The program's port waits through it: a wait ends when the bytes it
// waits for have come, or at once when the far end has heard everything and
// has nothing more to say by the deadline, the clock then set to the
// deadline. When the clock moves (the program sleeps), every end catches up:
// it hears what was sent, and what it said by then has arrived. So a test's
// verdict never depends on how fast the machine runs, and a time-out costs
// no real time.
#pragma once

#include "link/serial_port.h"
#include "sim_pty.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CScriptedHost;

class CDrivenLine : public CLineWaits {
public:
    explicit CDrivenLine(CScriptedHost& host) : m_Host(host) {}

    // Serves the line of `end` from its start on (call it after each start).
    void Attach(CSimLineEnd& end);
    void Detach(CSimLineEnd& end);
    // Waits until every end has heard all the program wrote to it and all
    // it said by now has reached the program's side.
    void Settle();

    bool WaitForInput(CSerialPort& port, unsigned timeoutMs) override;
    void Wrote(const CSerialPort& port, std::size_t n) override;
    void Took(const CSerialPort& port, std::size_t n) override;
    void BeforePurge(CSerialPort& port) override;

private:
    struct Line {
        CSimLineEnd* end;
        std::string path;
        std::size_t wrote = 0;  // bytes the program wrote to the end
        std::size_t took = 0;   // bytes of the end's it read or threw away
    };
    Line* Find(const std::string& path);
    // Serves `line` until it is settled (or gone); its account then.
    CSimLineEnd::Account SettleLine(Line& line);

    CScriptedHost& m_Host;
    std::vector<Line> m_Lines;
};
