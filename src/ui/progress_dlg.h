// The calculation progress window (template IDD_PROGRESS): four bars with their
// percent texts and a Cancel button that the calculation polls. While it is
// open the main window takes no input.
#pragma once

#include "ui/dialog.h"

class CProgressDlg : public CDialog {
public:
    // `captionId` names the caption's string-table text; 0 selects IDS_PROGRESS_CAPTION.
    explicit CProgressDlg(unsigned captionId = 0);
    ~CProgressDlg() override;

    // Disables the main window (when it was enabled) and opens the window.
    // 1 on success; on failure the main window is enabled again and 0 returned.
    int Create();
    // Enables the main window again when Create disabled it, then closes.
    void DestroyWindow();

    // Sets bar 1 to 4 to `position` and its percent text; returns the bar's
    // previous position (0 for a bar number out of range, which changes
    // nothing). The message queue drains first.
    int SetPos(int bar, int position);
    // 1 once after Cancel was pressed, else 0. The message queue drains first.
    int CheckCancelButton();

    void SetRange(int lower, int upper)
    {
        m_Lower = lower;
        m_Upper = upper;
    }

    bool OnInitDialog() override;
    // Cancel (button or Escape) only raises the flag: the window stays open.
    void OnCancel() override;
    // Enter does not close it either: only its creator does.
    void OnOK() override {}

private:
    unsigned m_CaptionId;
    int m_Lower = 0, m_Upper = 100;
    int m_Cancel = 0;
    int m_OwnerDisabled = 0;
    void Drain();
};

// The percent text of a bar at `position` in [lower, upper]: the share in
// whole percent, taken modulo 100 unless it is exactly 100, as "37%".
std::string ProgressPercentText(int position, int lower, int upper);
