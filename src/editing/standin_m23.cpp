// Stand-in until the real one is merged.
#include "editing/standin_m23.h"

// The coordinate-input dialog's template number.
CCoordInputDlg::CCoordInputDlg() : CDialog(195) {}
