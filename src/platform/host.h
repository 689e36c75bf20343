// The services the core asks of the user interface: message boxes, beeps, the
// wait cursor, the status line, the message pump, timers and time. The Qt
// application installs its host at start-up; tests install a scripted one;
// until either happens a console host answers (tools, early start-up).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Message box styles and answers, with the values the program's callers use.
constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_OKCANCEL = 0x01;
constexpr unsigned MB_YESNOCANCEL = 0x03;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONHAND = MB_ICONSTOP;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_TYPEMASK = 0x0F;
constexpr unsigned MB_ICONMASK = 0xF0;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class CDialog;
struct CFontChoice;

class CHost {
public:
    virtual ~CHost() = default;

    // Shows a modal box and returns the button pressed (IDOK, IDYES, ...).
    virtual int MessageBox(const std::string& text, const std::string& caption,
                           unsigned type) = 0;
    virtual void Beep(unsigned frequency, unsigned durationMs) = 0;
    virtual void MessageBeep(unsigned type) = 0;
    // Nested: the cursor shows waiting until every Begin has its End.
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    // Handles every pending user-interface event once and returns.
    virtual void PumpMessages() = 0;
    virtual void Sleep(unsigned milliseconds) = 0;
    // Milliseconds from an arbitrary start; wraps like a 32-bit tick count.
    virtual std::uint32_t GetTickCount() = 0;
    // A repeating timer that calls `callback` every `milliseconds` from the
    // event loop (so only while messages are pumped). Setting an id again
    // replaces it. Returns the id, or 0 when the timer could not be made.
    virtual unsigned SetTimer(unsigned id, unsigned milliseconds,
                              std::function<void()> callback) = 0;
    virtual void KillTimer(unsigned id) = 0;
    // False for a host that shows no windows: a dialog then initialises
    // itself and, when modal, is cancelled, since nobody can answer it.
    virtual bool HasWindows() const { return true; }
    // Told, on a host without windows, when a modal dialog has been run and
    // cancelled because nobody could answer it.
    virtual void DialogUnanswered(CDialog&) {}
    // Shows `dialog` modally: calls its OnInitDialog once its controls exist
    // and returns when the dialog has ended (CDialog::EndDialog).
    virtual void RunModalDialog(CDialog& dialog) = 0;
    // Shows `dialog` modelessly (hidden until it is shown) and calls its
    // OnInitDialog; false when it cannot be made.
    virtual bool CreateModelessDialog(CDialog& dialog) = 0;
    // File choosers. `filter` holds pairs of a text and its patterns, each
    // closed by '|' ("All File|*.*|", patterns separated by ';'). The open
    // chooser takes existing files only; `multiple` allows several. Both
    // return false when cancelled, else the chosen full paths. A host that
    // cannot ask anybody cancels.
    virtual bool GetOpenFileName(const std::string& filter, const std::string& initialPath,
                                 bool multiple, std::vector<std::string>& paths);
    virtual bool GetSaveFileName(const std::string& filter, const std::string& initialPath,
                                 std::string& path);
    // The main window's input, for windows that keep the operator out of it
    // while they run. Hosts without a main window report it disabled.
    virtual bool IsMainWindowEnabled() { return false; }
    virtual void EnableMainWindow(bool) {}
    // The font chooser (screen fonts with their effects), starting at
    // `font`; false when cancelled. A host that cannot ask anybody cancels.
    virtual bool ChooseFont(CFontChoice&) { return false; }
};

// The host in force. Never null: without an installed host the console host
// serves, which prints boxes to standard error and takes their first button.
CHost& Host();
// Installs `host` (not owned); nullptr goes back to the console host.
void SetHost(CHost* host);

// The console host: what runs before a window exists and in command-line tools.
class CConsoleHost : public CHost {
public:
    int MessageBox(const std::string& text, const std::string& caption,
                   unsigned type) override;
    void Beep(unsigned, unsigned) override {}
    void MessageBeep(unsigned) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void SetStatusText(const std::string&) override {}
    void PumpMessages() override {}
    void Sleep(unsigned milliseconds) override;
    std::uint32_t GetTickCount() override;
    unsigned SetTimer(unsigned, unsigned, std::function<void()>) override { return 0; }
    void KillTimer(unsigned) override {}
    // Nobody can answer here: dialogs run without a window (CDialog).
    bool HasWindows() const override { return false; }
    void RunModalDialog(CDialog&) override {}
    bool CreateModelessDialog(CDialog&) override { return false; }
    bool GetOpenFileName(const std::string&, const std::string&, bool,
                         std::vector<std::string>&) override { return false; }
    bool GetSaveFileName(const std::string&, const std::string&, std::string&) override
    {
        return false;
    }
};

// The answer a box gives when nobody can press a button: its first one.
int DefaultMessageBoxAnswer(unsigned type);

// The program's caption for boxes that name none.
extern const char* const g_ProgramCaption;

// Shorthands that the program's code calls like the framework's own.
int AfxMessageBox(const std::string& text, unsigned type = MB_OK);
std::uint32_t GetTickCount();
void Sleep(unsigned milliseconds);
void Beep(unsigned frequency, unsigned durationMs);
void MessageBeep(unsigned type);

// Shows the wait cursor for its lifetime.
class CWaitCursor {
public:
    CWaitCursor() { Host().BeginWaitCursor(); }
    ~CWaitCursor() { Host().EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
