// The drilling settings window: the job's drill sizes as editable text, one
// line per size, whose first character marks how the size is drilled (";"
// not at all, ">" without a tool change, "#" in several plunges). The drill
// selection writes and reads the lines.
#pragma once

#include "ui/dialog.h"

#include <string>

class CDrillListDlg : public CDialog {
public:
    std::string m_List;

    CDrillListDlg();
    void DoDataExchange(CDataExchange* pDX) override;
};
