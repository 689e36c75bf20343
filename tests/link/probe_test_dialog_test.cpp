// The probe test dialog against the simulated controller in both protocols:
// OK waits for the probe, a look never blocks on a held probe or a silent
// controller, and OK sends nothing.
#include "link_fixture.h"

#include "machining/probe_test_dlg.h"
#include "platform/resources.h"
#include "resource_ids.h"

namespace {

using Kind = CControllerSimulator::Kind;

class ProbeTestDialogTest : public LinkTest, public ::testing::WithParamInterface<Kind> {
protected:
    bool Ascii() const { return GetParam() == Kind::Ascii; }
    // The probe as the controller reports it.
    void Probe(bool touched)
    {
        if (Ascii())
            m_Sim.SetProbe(touched);
        else
            m_Sim.SetInputs(0xFF, 0xFF, touched ? 0xFD : 0xFF);
    }
    void Look() { TestHost().FireTimer(IDD_PROBE_TEST); }
    std::string State() { return g_ProbeTestDlg.GetDlgItemText(IDC_PT_STATE); }
    // Log lines that hold `text`.
    int Count(const std::string& text)
    {
        int n = 0;
        for (const std::string& line : m_Sim.Log())
            n += line.find(text) != std::string::npos;
        return n;
    }
};

TEST_P(ProbeTestDialogTest, OkWaitsForTheProbeAndSendsNothing)
{
    Connect(GetParam());
    Probe(false);
    g_ProbeTestDlg.m_Success = 0;
    TestHost().QueueDialog(
        [this](CDialog& dlg) {
            EXPECT_EQ(State(), LoadResString(IDS_FAILED));
            Look();
            EXPECT_EQ(g_ProbeTestDlg.m_Success, 0);
            // OK before the probe fired: told so, still open.
            dlg.PressButton(IDOK);
            EXPECT_TRUE(dlg.IsWindow());
            EXPECT_EQ(TestHost().BoxTexts(),
                      std::vector<std::string>{LoadResString(IDS_HEIGHT_DETECTOR_OFF)});

            // Touched: success shows at once. Once the probe is let go
            // ("lm0") the ASCII controller has its surface detection set up
            // again; on the binary one each look only reads the input, so a
            // probe held down never holds the dialog.
            Probe(true);
            m_Sim.ClearLog();
            Look();
            EXPECT_EQ(g_ProbeTestDlg.m_Success, 1);
            EXPECT_EQ(State(), LoadResString(IDS_SUCCEEDED));
            if (Ascii()) {
                // A probe still held reads as held; the set-up follows once
                // it is let go.
                Probe(false);
                Look();
                Settle();
                EXPECT_EQ(Count("DL"), 1);
                EXPECT_EQ(Count("EL"), 1);
            } else {
                Look();
                Look();
                Settle();
                EXPECT_EQ(Count("0x02 0"), 3);
            }

            // OK now closes, and writes nothing to the controller.
            m_Sim.ClearLog();
            dlg.PressButton(IDOK);
        },
        IDD_PROBE_TEST);
    EXPECT_EQ(g_ProbeTestDlg.DoModal(), IDOK);
    Settle();
    EXPECT_TRUE(m_Sim.Log().empty()) << m_Sim.Log()[0];
    EXPECT_FALSE(TestHost().HasTimer(IDD_PROBE_TEST));
}

TEST_P(ProbeTestDialogTest, SilenceIsNoTouchAndCancelAlwaysCloses)
{
    Connect(GetParam());
    Probe(false);
    g_ProbeTestDlg.m_Success = 0;
    TestHost().QueueDialog([this](CDialog& dlg) {
        m_Sim.DropNext(1000000);
        Look();
        EXPECT_EQ(g_ProbeTestDlg.m_Success, 0);
        m_Sim.DropNext(0);
        dlg.PressButton(IDCANCEL);
    });
    EXPECT_EQ(g_ProbeTestDlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(TestHost().HasTimer(IDD_PROBE_TEST));
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, ProbeTestDialogTest,
                         ::testing::Values(Kind::Binary, Kind::Ascii));

}  // namespace
