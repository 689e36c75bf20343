// The progress window's bars, percent texts and Cancel flag.
#include "ui/progress_dlg.h"

#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"

#include <cstdio>

namespace {

struct Bar {
    unsigned bar, percent;
};
// Bars by the number SetPos takes.
constexpr Bar kBars[4] = {{IDC_PROGRESS_X_BAR, IDC_PROGRESS_X_PERCENT},
                          {IDC_PROGRESS_Y_BAR, IDC_PROGRESS_Y_PERCENT},
                          {IDC_PROGRESS_LINK_BAR, IDC_PROGRESS_LINK_PERCENT},
                          {IDC_PROGRESS_CLEAR_BAR, IDC_PROGRESS_CLEAR_PERCENT}};

}  // namespace

std::string ProgressPercentText(int position, int lower, int upper)
{
    // An empty range has no share to show; it would divide by zero.
    long long span = static_cast<long long>(upper) - lower;
    long long percent = span == 0 ? 0 : (static_cast<long long>(position) - lower) * 100 / span;
    if (percent != 100)
        percent %= 100;
    char text[32];
    std::snprintf(text, sizeof text, "%lld%c", percent, '%');
    return text;
}

CProgressDlg::CProgressDlg(unsigned captionId)
    : CDialog(IDD_PROGRESS), m_CaptionId(captionId ? captionId : IDS_PROGRESS_CAPTION)
{
}

CProgressDlg::~CProgressDlg()
{
    if (IsWindow() || m_OwnerDisabled)
        DestroyWindow();
}

int CProgressDlg::Create()
{
    if (Host().IsMainWindowEnabled()) {
        Host().EnableMainWindow(false);
        m_OwnerDisabled = 1;
    }
    if (!CreateModeless()) {
        if (m_OwnerDisabled) {
            Host().EnableMainWindow(true);
            m_OwnerDisabled = 0;
        }
        return 0;
    }
    ShowWindow(true);
    return 1;
}

void CProgressDlg::DestroyWindow()
{
    if (m_OwnerDisabled) {
        Host().EnableMainWindow(true);
        m_OwnerDisabled = 0;
    }
    CDialog::DestroyWindow();
}

bool CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    MoveWindowBy(100, 100);
    for (const Bar& b : kBars) {
        CControlState& bar = Control(b.bar);
        bar.rangeMin = m_Lower;
        bar.rangeMax = m_Upper;
        bar.position = m_Lower;
        ControlChanged(b.bar);
    }
    SetWindowText(LoadResString(m_CaptionId));
    return true;
}

void CProgressDlg::OnCancel() { m_Cancel = 1; }

void CProgressDlg::Drain()
{
    // Not PumpMessages: Cancel must work even while the abort flag is set.
    Host().PumpMessages();
}

int CProgressDlg::SetPos(int bar, int position)
{
    Drain();
    if (bar < 1 || bar > 4)
        return 0;
    const Bar& b = kBars[bar - 1];
    CControlState& state = Control(b.bar);
    int previous = state.position;
    state.position = position;
    ControlChanged(b.bar);
    std::string text = ProgressPercentText(position, m_Lower, m_Upper);
    if (GetDlgItemText(b.percent) != text)
        SetDlgItemText(b.percent, text);
    return previous;
}

int CProgressDlg::CheckCancelButton()
{
    Drain();
    int cancel = m_Cancel;
    m_Cancel = 0;
    return cancel;
}
