// Command dispatch by id. The view, the document, the frame and the
// application each own a command table with the handlers of their commands
// and the update handlers that enable, check or label the menu items, tool-bar
// buttons and status panes of those ids. The router asks them in that order,
// as menus, tool bars and keys send their commands, so a later window or
// document only has to attach its table.
#pragma once

#include "ui/cmd_ui.h"

#include <functional>
#include <map>
#include <set>
#include <string>

// The order in which the router asks the owners of command tables.
enum class CommandLevel { View = 0, Document = 1, Frame = 2, Application = 3 };

class CCommandTable {
public:
    CCommandTable() = default;
    // Detaches itself from the router: the owner is going away.
    ~CCommandTable();
    CCommandTable(const CCommandTable&) = delete;
    CCommandTable& operator=(const CCommandTable&) = delete;

    void OnCommand(unsigned id, std::function<void()> handler) { m_Commands[id] = std::move(handler); }
    void OnUpdateCommand(unsigned id, std::function<void(CCmdUI&)> handler)
    {
        m_Updates[id] = std::move(handler);
    }
    bool HasCommand(unsigned id) const { return m_Commands.count(id) != 0; }
    bool HasUpdate(unsigned id) const { return m_Updates.count(id) != 0; }
    // This table alone: runs the handler of `id`, or fills `ui` from its
    // update handler; false when the table has none.
    bool Run(unsigned id) const;
    bool Update(CCmdUI& ui) const;

private:
    friend class CCommandRouter;
    std::map<unsigned, std::function<void()>> m_Commands;
    std::map<unsigned, std::function<void(CCmdUI&)>> m_Updates;
};

class CCommandRouter {
public:
    // Makes `table` the one of `level` (replacing any other); nullptr clears it.
    void Attach(CommandLevel level, CCommandTable* table);
    void Detach(const CCommandTable* table);

    // Fills `ui` for its id: the first table (view, document, frame,
    // application) with an update handler for the id decides; without one the
    // command is enabled exactly when some table has a handler for it, so a
    // command whose handler is not there yet shows disabled. Returns
    // ui.m_Enabled.
    bool UpdateCommandUI(CCmdUI& ui) const;

    // Runs the handler of `id` of the first table that has one. Refused (false)
    // when no table handles it, when its update handler disables it, or while
    // the same command is still running further up the stack (commands can
    // arrive again while long work pumps messages).
    bool Dispatch(unsigned id);

    bool IsRunning(unsigned id) const { return m_Running.count(id) != 0; }
    // How many commands (and other long work, CBusyScope) are running,
    // nested through message pumping.
    int RunningDepth() const { return m_Depth; }
    void EnterWork()
    {
        if (m_Depth++ == 0 && m_OnBegin)
            m_OnBegin();
    }
    void LeaveWork();
    // Called each time the outermost running command has returned.
    void SetIdleCallback(std::function<void()> callback) { m_OnIdle = std::move(callback); }
    // Called when the outermost command begins and when it has ended, for
    // what the program does once per command (the settings file is written
    // once, when the command is done).
    void SetWorkScope(std::function<void()> begin, std::function<void()> end)
    {
        m_OnBegin = std::move(begin);
        m_OnEnd = std::move(end);
    }

private:
    CCommandTable* m_Tables[4] = {nullptr, nullptr, nullptr, nullptr};
    std::set<unsigned> m_Running;
    int m_Depth = 0;
    std::function<void()> m_OnIdle;
    std::function<void()> m_OnBegin;
    std::function<void()> m_OnEnd;
};

// The program's one router.
CCommandRouter& CommandRouter();

// Marks long work that does not start as a command (a timer's job step, a
// queued message): while it runs, closing the window waits for it as for a
// running command.
class CBusyScope {
public:
    CBusyScope() { CommandRouter().EnterWork(); }
    ~CBusyScope() { CommandRouter().LeaveWork(); }
    CBusyScope(const CBusyScope&) = delete;
    CBusyScope& operator=(const CBusyScope&) = delete;
};
