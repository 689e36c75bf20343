// Routing of commands and their update handlers to the command tables.
#include "ui/command_router.h"

#include "platform/program_objects.h"

CCommandTable::~CCommandTable() { CommandRouter().Detach(this); }

bool CCommandTable::Run(unsigned id) const
{
    auto command = m_Commands.find(id);
    if (command == m_Commands.end())
        return false;
    std::function<void()> handler = command->second;
    handler();
    return true;
}

bool CCommandTable::Update(CCmdUI& ui) const
{
    auto update = m_Updates.find(ui.m_nID);
    if (update == m_Updates.end())
        return false;
    update->second(ui);
    return true;
}

void CCommandRouter::Attach(CommandLevel level, CCommandTable* table)
{
    m_Tables[static_cast<int>(level)] = table;
}

void CCommandRouter::Detach(const CCommandTable* table)
{
    for (CCommandTable*& slot : m_Tables)
        if (slot == table)
            slot = nullptr;
}

bool CCommandRouter::UpdateCommandUI(CCmdUI& ui) const
{
    bool handled = false;
    for (CCommandTable* table : m_Tables)
        handled = handled || (table && table->HasCommand(ui.m_nID));
    for (CCommandTable* table : m_Tables) {
        if (!table)
            continue;
        if (table->Update(ui)) {
            // A command whose work is not built stays disabled, whatever its
            // update handler says (it may still check the item).
            if (!handled && ui.m_Kind == CCmdUI::Command)
                ui.Enable(false);
            return ui.m_Enabled;
        }
    }
    ui.Enable(handled);
    return ui.m_Enabled;
}

bool CCommandRouter::Dispatch(unsigned id)
{
    if (IsRunning(id))
        return false;
    CCmdUI ui(id);
    if (!UpdateCommandUI(ui))
        return false;
    for (CCommandTable* table : m_Tables) {
        if (!table)
            continue;
        auto command = table->m_Commands.find(id);
        if (command == table->m_Commands.end())
            continue;
        // A copy: the handler may replace or detach its own table.
        std::function<void()> handler = command->second;
        m_Running.insert(id);
        EnterWork();
        handler();
        m_Running.erase(id);
        LeaveWork();
        return true;
    }
    return false;
}

void CCommandRouter::LeaveWork()
{
    if (m_Depth == 0 || --m_Depth > 0)
        return;
    if (m_OnEnd)
        m_OnEnd();
    if (m_OnIdle)
        m_OnIdle();
}

CCommandRouter& CommandRouter()
{
    // Never destroyed: the command tables of static objects detach from it
    // in their destructors, at the end of the program.
    static auto* router = new CCommandRouter;
    static const CProgramObjectReset reset([] { *router = CCommandRouter(); });
    return *router;
}
