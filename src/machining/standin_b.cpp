// Stand-in until the real one is merged.
#include "machining/standin_b.h"

#include "platform/host.h"

CPositionDlg g_PositionDlg;

int CJogDlg::DoModal() { return IDCANCEL; }
int CCommandDlg::DoModal() { return IDCANCEL; }
int CPositionDlg::CreateOnce() { return 0; }
void CPositionDlg::ShowWindow(bool) {}
