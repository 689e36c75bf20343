// The state a command's update handler gives its menu item, tool-bar button
// or status pane: enabled or greyed, checked or not, and a text. The shell
// asks each handler with one of these before it shows the item and applies
// the answer itself, so handlers stay free of any window.
#pragma once

#include <string>

class CCmdUI {
public:
    // A menu item or tool-bar button runs its command; a status pane only
    // shows what its handler says.
    enum Kind { Command, Pane };

    explicit CCmdUI(unsigned id = 0, Kind kind = Command) : m_nID(id), m_Kind(kind) {}
    void Enable(bool enable = true) { m_Enabled = enable; }
    // 0 unchecked, 1 checked, 2 indeterminate.
    void SetCheck(int check = 1) { m_Check = check; }
    void SetText(const std::string& text)
    {
        m_Text = text;
        m_TextSet = true;
    }

    const unsigned m_nID;
    const Kind m_Kind;
    bool m_Enabled = true;
    int m_Check = 0;
    std::string m_Text;
    bool m_TextSet = false;
};
