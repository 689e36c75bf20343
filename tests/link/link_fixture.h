// What the link tests share: a simulated controller on a pseudo-terminal that
// "COM1" names, short deadlines on the test's clock (the program's waits and
// the controller's motion both run by it), and a bare pseudo-terminal
// through which a test can send the link any bytes it likes.
#pragma once

#include "controller_simulator.h"
#include "driven_line.h"
#include "link/link_state.h"
#include "settings/system_settings_dlg.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A pseudo-terminal with nobody answering; the test reads and writes its
// controller side directly.
class CRawPty : public CSimLineEnd {
public:
    CRawPty();
    ~CRawPty() override { m_Pty.Close(); }
    const std::string& Path() const { return m_Pty.path; }
    const std::string& PortPath() const override { return m_Pty.path; }
    Account Serve(int waitMs) override;
    void Write(const std::string& bytes);
    // Everything the link sent that this end has heard (settle the line
    // first to have it all).
    Bytes ReadAll();

private:
    CSimPty m_Pty;
    Bytes m_Heard;
    std::size_t m_Said = 0;
};

// The name of a test run on either controller: "Binary" or "Ascii".
std::string ProtocolName(const ::testing::TestParamInfo<CControllerSimulator::Kind>& info);

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Starts the simulator as `kind` on COM1 with moves completing at once.
    void StartController(CControllerSimulator::Kind kind);
    // Starts it and detects it; the simulator's log is empty afterwards.
    void Connect(CControllerSimulator::Kind kind);
    // Points "COMn" (1-based) at a device.
    static void MapPort(int number, const std::string& device);
    // Puts `end` on the test's line and clock (after each start of it).
    void Attach(CSimLineEnd& end);
    // Waits until the controllers have heard everything the program sent
    // and what they said by now has arrived: a command sent without a reply
    // has then been carried out.
    void Settle() { m_Line.Settle(); }
    // The controller's log once it has heard everything sent: commands
    // without a reply are still on their way when the sender returns.
    std::vector<std::string> SettledLog()
    {
        Settle();
        return m_Sim.Log();
    }
    // Log lines that start with `prefix`.
    std::vector<std::string> LogLines(const std::string& prefix);
    // From now on notes in `stops` the first pump (counted from now) after
    // each command the controller hears, where a later run can press STOP
    // once per command.
    void NoteStopPoints(std::vector<int>& stops);

    CDrivenLine m_Line{TestHost()};
    CControllerSimulator m_Sim;
};
