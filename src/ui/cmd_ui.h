// The state a command's update handler gives its menu item or tool-bar
// button: enabled or greyed, checked or not. The shell asks each handler with
// one of these before it shows the item and applies the answer itself, so
// handlers stay free of any window.
#pragma once

class CCmdUI {
public:
    explicit CCmdUI(unsigned id = 0) : m_nID(id) {}

    void Enable(bool on = true) { m_Enabled = on; }
    // 0 unchecked, 1 checked, 2 indeterminate.
    void SetCheck(int check = 1) { m_Check = check; }

    unsigned m_nID;
    bool m_Enabled = true;
    int m_Check = 0;
};
