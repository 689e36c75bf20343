// The one-line notice that long work shows and updates (template IDD_MESSAGE): it
// is created by the first show and updated by later ones, and lets the
// message queue drain each time so the program stays responsive.
#pragma once

#include "ui/dialog.h"

#include <string>

class CMessageDlg : public CDialog {
public:
    CMessageDlg();

    // Formats the notice (printf style), appends "\r\n" and shows it. The
    // text is kept whole, however long.
    void ShowF(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Shows string-table text `id` as it stands.
    void ShowId(unsigned id);

    void DoDataExchange(CDataExchange* pDX) override;

    // 1 while the window exists.
    int Shown() const { return IsWindow() ? 1 : 0; }
    const std::string& Text() const { return m_Text; }

private:
    std::string m_Text;
    void Show(bool drainFirst);
};
