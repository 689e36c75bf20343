// The probe test dialog: polls the probe input on a timer until it has fired
// once; OK closes it only then.
#include "machining/probe_test_dlg.h"

#include "link/link_state.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"

#include <cstring>

namespace {

// Host timers are program-wide: this one must not replace the view's.
constexpr unsigned kProbeTestTimer = IDD_PROBE_TEST;
constexpr unsigned kLookMs = 200;
// The controller answers a query within this pause.
constexpr unsigned kReplyPauseMs = 200;
constexpr int kProbeAxis = 2;

bool AsciiController() { return g_ControllerKind == 0; }

// An ASCII query's answer: the text waiting after the pause, or nothing.
std::string AsciiQuery(const char* (CAsciiLink::*build)(int))
{
    (g_MachineLink.*build)(kProbeAxis);
    if (!g_MachineLink.SendQuery())
        return {};
    Sleep(kReplyPauseMs);
    char reply[100];
    g_MachineLink.ReadAvailable(reply, sizeof reply);
    return reply;
}

// Input byte '6' of the binary controller; its bit 1 reads 0 while the
// probe touches. False when the controller did not answer.
bool ReadProbeByte(unsigned char& value)
{
    bool ok = false;
    value = g_BinLink.QueryByte('6', &ok);
    return ok;
}

}  // namespace

CProbeTestDlg::CProbeTestDlg() : CDialog(IDD_PROBE_TEST) {}

bool CProbeTestDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_AwaitRelease = false;
    m_StateText = LoadResString(IDS_FAILED);
    UpdateData(false);
    Host().SetTimer(kProbeTestTimer, kLookMs, [this] { OnTimer(); });
    return true;
}

void CProbeTestDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PT_STATE, m_StateText);
}

// Nothing goes to the controller here: whatever frame was prepared last is
// not this dialog's to send.
void CProbeTestDlg::OnOK()
{
    if (!m_Success) {
        AfxMessageBox(LoadResString(IDS_HEIGHT_DETECTOR_OFF));
        return;
    }
    StopTimer();
    CDialog::OnOK();
}

void CProbeTestDlg::OnCancel()
{
    StopTimer();
    CDialog::OnCancel();
}

// The timer keeps running: a look only queries and reads, and a look that a
// message box of the link lets in meanwhile does nothing.
void CProbeTestDlg::OnTimer()
{
    // Without a controller there is nothing to ask.
    if (m_Looking || !IsWindow() || !g_BinLink.m_Port.IsOpen())
        return;
    m_Looking = true;
    if (!m_AwaitRelease && ProbeActive() == 1) {
        m_Success = 1;
        m_StateText = LoadResString(IDS_SUCCEEDED);
        UpdateData(false);
        m_AwaitRelease = true;
    }
    if (m_AwaitRelease && ProbeHeld() == 0) {
        m_AwaitRelease = false;
        ProbeReleased();
    }
    if (!AsciiController())
        g_BinLink.Cmd02(0);
    m_Looking = false;
}

int CProbeTestDlg::ProbeActive()
{
    if (AsciiController()) {
        std::string reply = AsciiQuery(&CAsciiLink::CmdER);
        return reply.empty() ? -1 : reply.find("er3") != std::string::npos;
    }
    unsigned char inputs = 0;
    if (!ReadProbeByte(inputs))
        return -1;
    return (inputs & 0x02) == 0;
}

int CProbeTestDlg::ProbeHeld()
{
    if (AsciiController()) {
        std::string reply = AsciiQuery(&CAsciiLink::CmdLM);
        return reply.empty() ? -1 : reply.find("lm1") != std::string::npos;
    }
    return ProbeActive();
}

// The touch switched surface detection off on the ASCII controller; it is
// set up again for the job.
void CProbeTestDlg::ProbeReleased()
{
    if (!AsciiController())
        return;
    g_MachineLink.CmdDL3();
    g_MachineLink.Send();
    g_MachineLink.CmdEL3();
    g_MachineLink.Send();
}

void CProbeTestDlg::StopTimer() { Host().KillTimer(kProbeTestTimer); }
