// Stand-in until the real one is merged.
#include "machining/standin_m23.h"

// The plunge-speed prompt's template number.
CPlungeSpeedDlg::CPlungeSpeedDlg() : CDialog(191) {}
