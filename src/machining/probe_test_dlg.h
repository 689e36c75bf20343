// The probe test that gates every machine job: the operator shows that the
// height probe is fitted by triggering it once; only then does OK let the job
// start. The same object carries the machining area of the panel.
#pragma once

#include "platform/win_types.h"
#include "ui/dialog.h"

#include <string>

class CPanelLayout;

class CProbeTestDlg : public CDialog {
public:
    CProbeTestDlg();

    int m_Open = 0;
    const CPanelLayout* m_Layout = nullptr;  // the board copies of the view
    // 1 once the probe was seen active; callers clear it before each run.
    int m_Success = 0;
    RECT m_LayoutExtent;                 // the machining area, pulses
    std::string m_StateText;             // "無效" until the probe fired

    // The machining area over all board copies of m_Layout: each copy's
    // board-extent corners, less its reference centre, turned by its
    // orientation, moved to its current centre, scaled to pulses and put
    // through the registration alignment. With no copies the area stays as
    // it was.
    void CalcLayoutExtent();

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // OK only once the probe fired; before that it says so and stays open.
    void OnOK() override;
    void OnCancel() override;
    // One look at the probe input, from the dialog's timer.
    void OnTimer();
    // The probe input now: 1 active, 0 not, -1 no answer. The jog keys
    // report it too.
    int ProbeActive();

private:
    // Between looks the probe is either awaited or, once it fired, awaited
    // to be released; each look is one short query, so a probe that stays
    // pressed or a silent controller never holds the dialog.
    bool m_AwaitRelease = false;
    bool m_Looking = false;
    void StopTimer();
    // Whether the probe is still held down: 1 held, 0 released, -1 no answer.
    int ProbeHeld();
    void ProbeReleased();
};

extern CProbeTestDlg g_ProbeTestDlg;

inline RECT& g_LayoutExtent = g_ProbeTestDlg.m_LayoutExtent;
