// A modeless text window around one line store, with Read, Save and Undo, so
// the operator can look at a working text, edit it, load it from a file and
// save it. Six of them live for the whole run (below); the store keeps its
// text while the window is hidden or not yet made.
#pragma once

#include "ui/dialog.h"
#include "ui/line_store.h"

#include <string>

class CEditWnd : public CDialog {
public:
    CEditWnd();
    // Copies carry the text and the flags, never a window.
    CEditWnd(const CEditWnd& other);
    CEditWnd& operator=(const CEditWnd& other);

    // Makes the window (hidden) the first time; 0 when it was made already.
    virtual int CreateOnce(const std::string& caption);
    // Formats the text and writes it as one line at the insertion point.
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // The edit control shows the store's text; what the user types there
    // goes back into the store (one undo step) when the control loses the
    // focus and before any of the window's buttons acts.
    bool OnInitDialog() override;
    void ShowWindow(bool show) override;

    // Enter does not close the window.
    void OnOK() override {}
    // The close box hides the window; its text stays.
    void OnCancel() override { ShowWindow(false); }

    // The text as its files hold it: each line ended by a line feed, a line
    // marked with 0x80 without its mark. Walks the line cursor.
    std::string FileText();

    void OnRead();
    // Writes the lines of the file at `path` at the insertion point, a long
    // line in pieces of 99 characters as a 100-byte line buffer takes it;
    // the store then counts as unchanged and remembers the file. False when
    // the file cannot be opened, the store as it was.
    bool ReadFile(const std::string& path);
    void OnSave();
    void OnUndo() { m_Edit.Undo(); }
    // Asks to save a changed text, then closes the window.
    void SaveModified();
    // The close button of templates that have one: the same question, then
    // the window closes.
    void OnCloseButton();

    CLineEdit& Edit() { return m_Edit; }

    int m_Created = 0;
    int m_Loaded = 0;
    std::string m_FilePath;  // the last file read or saved
    int m_OriginX = 0;       // mil, from a G93 line of this text
    int m_OriginY = 0;
    int m_HeaderEndLine = 0; // the line after the "%" line of this text
    CLineEdit m_Edit;

private:
    bool m_TakingTypedText = false;

    void RegisterHandlers();
    // Store to control (while the window is shown) and control to store.
    void ShowText();
    void TakeTypedText();
    void AskToSave();
};

// The six text windows, in the order the program builds them.
extern CEditWnd g_RouteDataWnd;     // route (outline) data
extern CEditWnd g_MeasureDataWnd;   // measurement data in drill-program form
extern CEditWnd g_SettingsTextWnd;  // the settings file's lines, kept hidden
extern CEditWnd g_MacroTextWnd;     // the processing macro
extern CEditWnd g_HoleDataWnd;      // the registration-hole program
extern CEditWnd g_SpareEditWnd;     // holds nothing
