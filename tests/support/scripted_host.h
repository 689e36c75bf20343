// A host for tests: message boxes answered from a queue, every shown text
// recorded, a pump that can act (press STOP, answer later), timers fired by
// hand and a clock that only moves when told to or when the code sleeps.
#pragma once

#include "platform/font_choice.h"
#include "platform/host.h"

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class CScriptedHost : public CHost {
public:
    struct Box {
        std::string text;
        std::string caption;
        unsigned type;
        int answer;
    };

    // Answers for the next boxes, in order. A box with no queued answer takes
    // its first button and is counted in UnansweredBoxes().
    void QueueAnswer(int answer) { m_Answers.push_back(answer); }
    // What the user does in the next modal dialog: the script sets controls
    // by id and presses buttons. A dialog that is still open after its script,
    // or that has no script, is cancelled and counted in UnansweredDialogs().
    // With a template id the dialog must be that one.
    void QueueDialog(std::function<void(CDialog&)> script, unsigned templateId = 0)
    {
        m_Dialogs.push_back({templateId, std::move(script)});
    }
    // What the user picks in the next file chooser: the paths, or nothing
    // (cancel). A chooser with no queued answer is cancelled.
    void QueueFileChoice(std::vector<std::string> paths) { m_FileChoices.push_back(std::move(paths)); }
    void QueueFileCancel() { m_FileChoices.push_back({}); }
    // What the next font chooser answers: a font, or (nothing queued, or a
    // queued cancel) a cancel.
    void QueueFont(const CFontChoice& font) { m_Fonts.push_back(font); }
    void QueueFontCancel() { m_Fonts.push_back(std::nullopt); }
    struct FileRequest {
        bool save;
        std::string filter;
        std::string initialPath;
        bool multiple;
    };
    const std::vector<FileRequest>& FileRequests() const { return m_FileRequests; }

    // Called on every pump with the pump's number (1, 2, ...).
    void OnPump(std::function<void(int)> action) { m_PumpAction = std::move(action); }
    void FireTimer(unsigned id);
    bool HasTimer(unsigned id) const { return m_Timers.count(id) != 0; }
    // Moves the clock on without sleeping.
    void Advance(unsigned milliseconds) { m_Clock += milliseconds; }
    // Sleeping in a test costs nothing but moves the clock, after which
    // `action` lets whatever the test simulates catch up with it. The clock
    // may be read from any thread.
    void OnSleep(std::function<void()> action) { m_SleepAction = std::move(action); }

    const std::vector<Box>& Boxes() const { return m_Boxes; }
    std::vector<std::string> BoxTexts() const;
    const std::vector<std::string>& StatusTexts() const { return m_StatusTexts; }
    int UnansweredBoxes() const { return m_Unanswered; }
    int UnansweredDialogs() const { return m_UnansweredDialogs; }
    // The modeless dialog of that template created last (null when none):
    // for a pump action to press its buttons while the code runs; the
    // pointer is good only while the dialog lives.
    CDialog* Modeless(unsigned templateId) const
    {
        auto it = m_Modeless.find(templateId);
        return it == m_Modeless.end() ? nullptr : it->second;
    }
    // Template ids of every dialog shown, modal or modeless, in order.
    const std::vector<unsigned>& DialogsShown() const { return m_DialogsShown; }
    int Pumps() const { return m_Pumps; }
    int Beeps() const { return m_Beeps; }
    int WaitCursorDepth() const { return m_WaitDepth; }

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void Beep(unsigned, unsigned) override { ++m_Beeps; }
    void MessageBeep(unsigned) override { ++m_Beeps; }
    void BeginWaitCursor() override { ++m_WaitDepth; }
    void EndWaitCursor() override { --m_WaitDepth; }
    void SetStatusText(const std::string& text) override { m_StatusTexts.push_back(text); }
    void PumpMessages() override;
    void Sleep(unsigned milliseconds) override;
    std::uint32_t GetTickCount() override { return m_Clock; }
    unsigned SetTimer(unsigned id, unsigned milliseconds, std::function<void()> callback) override;
    void KillTimer(unsigned id) override { m_Timers.erase(id); }
    void RunModalDialog(CDialog& dialog) override;
    bool CreateModelessDialog(CDialog& dialog) override;
    bool GetOpenFileName(const std::string& filter, const std::string& initialPath, bool multiple,
                         std::vector<std::string>& paths) override;
    bool GetSaveFileName(const std::string& filter, const std::string& initialPath,
                         std::string& path) override;
    bool ChooseFont(CFontChoice& font) override
    {
        if (m_Fonts.empty())
            return false;
        const std::optional<CFontChoice> answer = m_Fonts.front();
        m_Fonts.pop_front();
        if (answer)
            font = *answer;
        return answer.has_value();
    }

private:
    std::vector<std::string> NextFileChoice();
    std::deque<std::vector<std::string>> m_FileChoices;
    std::deque<std::optional<CFontChoice>> m_Fonts;
    std::vector<FileRequest> m_FileRequests;
    struct DialogScript {
        unsigned templateId;
        std::function<void(CDialog&)> script;
    };
    std::deque<int> m_Answers;
    std::deque<DialogScript> m_Dialogs;
    std::vector<unsigned> m_DialogsShown;
    std::map<unsigned, CDialog*> m_Modeless;
    int m_UnansweredDialogs = 0;
    std::vector<Box> m_Boxes;
    std::vector<std::string> m_StatusTexts;
    std::function<void(int)> m_PumpAction;
    std::map<unsigned, std::function<void()>> m_Timers;
    int m_Unanswered = 0;
    int m_Pumps = 0;
    int m_Beeps = 0;
    int m_WaitDepth = 0;
    std::atomic<std::uint32_t> m_Clock{0};
    std::function<void()> m_SleepAction;
};

// The scripted host every test starts with (fresh for each test).
CScriptedHost& TestHost();
