// What the link tests share: a simulated controller on a pseudo-terminal that
// "COM1" names, short deadlines and real time, and a bare pseudo-terminal
// through which a test can send the link any bytes it likes.
#pragma once

#include "controller_simulator.h"
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
class CRawPty {
public:
    CRawPty();
    ~CRawPty();
    const std::string& Path() const { return m_Path; }
    void Write(const std::string& bytes);
    // Everything the link sent so far.
    Bytes ReadAll();

private:
    int m_Master = -1;
    int m_Slave = -1;
    std::string m_Path;
};

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
    // Log lines that start with `prefix`.
    std::vector<std::string> LogLines(const std::string& prefix);
    // From now on notes in `stops` the first pump (counted from now) after
    // each command the controller hears, where a later run can press STOP
    // once per command.
    void NoteStopPoints(std::vector<int>& stops);

    CControllerSimulator m_Sim;
};
