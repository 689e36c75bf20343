// The position window on screen while the simulated controller jogs: the
// view's timer runs on real Qt timers (its tick stops and sets its own
// timer every time), polls the position and the window's labels follow the
// table, whose motion runs on the test's clock. With ORDUNE_SHOT_DIR set the window (and, on a real display, the
// whole screen) is saved as pictures along the way.
#include "app/qt_test_app.h"
#include "controller_simulator.h"
#include "document/velm_doc.h"
#include "link/link_state.h"
#include "machining/position_dlg.h"
#include "platform/qt/qt_host.h"
#include "resource_ids.h"
#include "settings/system_settings_dlg.h"
#include "support/scripted_host.h"
#include "view/velm_view.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>

namespace {

// Runs the event loop until `done` holds; false when it does not within a
// limit far above what it takes.
bool RunEventsUntil(const std::function<bool()>& done)
{
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

QString LabelText(QWidget* window, unsigned id)
{
    auto* label = window->findChild<QLabel*>(QStringLiteral("control%1").arg(id));
    return label ? label->text() : QString();
}

TEST(PositionWindowOnScreen, ReadoutFollowsAJogOfTheSimulatedTable)
{
    TestQtApp();
    CQtHost host;
    SetHost(&host);
    CControllerSimulator sim;
    std::atomic<double> simMs{0.0};
    sim.SetClock([&simMs] { return simMs.load(); });
    ASSERT_TRUE(sim.Start(CControllerSimulator::Kind::Ascii));
    ::setenv("ORDUNE_COM1", sim.PortPath().c_str(), 1);
    g_ComPortIndex = 0;
    ASSERT_EQ(g_MachineLink.OpenPort(), 1);
    g_PortState = 0;

    {
        CVelmDoc doc;
        CVelmView view(doc);
        g_PositionDlg.CreateOnce();
        g_PositionDlg.ShowWindow(true);
        auto* window = dynamic_cast<QWidget*>(g_PositionDlg.View());
        ASSERT_NE(window, nullptr);
        g_PositionPollOff = 0;
        view.m_TimerId = view.StartTimer(1, 30);

        // A jog of 20 mm in X and 10 mm in Y at the controller's 4000
        // pulses a second: one second of travel, looked at every 200 ms of
        // the table's clock.
        g_MachineLink.CmdMR3(4000.0f, 2000.0f, 0.0f);
        g_MachineLink.Send();
        const char* shots = std::getenv("ORDUNE_SHOT_DIR");
        std::set<std::string> readouts;
        for (int step = 0; step < 8; ++step) {
            const QString before = LabelText(window, IDC_POS_X);
            simMs = simMs.load() + 200.0;
            // Until the table stops, each look finds it further on.
            if (step < 5) {
                EXPECT_TRUE(RunEventsUntil([&] { return LabelText(window, IDC_POS_X) != before; }));
            }
            readouts.insert(LabelText(window, IDC_POS_X).toStdString());
            if (shots) {
                const QString name = QStringLiteral("%1/position_%2").arg(shots).arg(step);
                window->grab().save(name + ".png");
                if (QScreen* screen = QGuiApplication::primaryScreen())
                    screen->grabWindow(0).save(name + "_screen.png");
            }
        }
        EXPECT_GE(readouts.size(), 5u);  // the readout moved along with the table
        EXPECT_TRUE(RunEventsUntil([&] { return LabelText(window, IDC_POS_Y) == "10"; }));
        EXPECT_EQ(LabelText(window, IDC_POS_X), "20");
        EXPECT_EQ(LabelText(window, IDC_POS_Y), "10");
        EXPECT_EQ(LabelText(window, IDC_POS_UNIT), "mm");
        EXPECT_EQ(view.m_TimerRunning, 1);
        view.StopTimer();
        g_PositionDlg.DestroyWindow();
    }
    g_BinLink.m_Port.Close();
    sim.Stop();
    ::unsetenv("ORDUNE_COM1");
    SetHost(&TestHost());
}

}  // namespace
