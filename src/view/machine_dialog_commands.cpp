// The view's entries to two machine windows: the input-signal readout, made
// on the first request and shown again by later ones, and the plunge-mode
// window.
#include "view/velm_view.h"

#include "machining/fixed_plunge_dlg.h"
#include "machining/input_signal_dlg.h"

void CVelmView::OnShowMachineInputs()
{
    g_InputSignalDlg.Create();
    g_InputSignalDlg.ShowWindow(true);
    g_InputSignalDlg.Refresh();
}

void CVelmView::OnFixedPlungeSetup() { RunFixedPlungeSetup(); }
