// A line store shown in an edit control of an open dialog: the store keeps
// "\r\n" line ends, the control plain line feeds.
#pragma once

class CDialog;
class CLineEdit;

// Copies the store's text into control `id`; nothing while the dialog has
// no window (it is brought up to date when it is made).
void ShowLinesInControl(CDialog& dialog, unsigned id, const CLineEdit& lines);
