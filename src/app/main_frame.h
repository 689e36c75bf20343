// The main frame: menu bar, the edit, machining and vision tool bars, the
// status bar with its panes and clock, the splash window at creation. Its
// own commands show and hide the tool bars. While a path calculation runs it
// ignores clicks on its own area; closed during long work, it stops the
// work first and closes once the work has unwound.
#pragma once

#include "ui/command_router.h"

#include <QMainWindow>
#include <map>

class CQtMenuBuilder;
class QLabel;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // Builds the bars and panes, shows the splash window and the frame
    // (maximised unless `show` is false, for tests). False when a tool bar or
    // the menu could not be loaded.
    bool OnCreate(bool show = true);

    // Runs the update handlers of the tool-bar buttons and the status panes
    // (what the idle time does).
    void UpdateCommandUI();

    QToolBar* EditBar() const { return m_EditBar; }
    QToolBar* MachiningBar() const { return m_MachiningBar; }
    QToolBar* VisionBar() const { return m_VisionBar; }
    // The menu item of command `id`, or nullptr.
    QAction* MenuItem(unsigned id) const;
    // The tool-bar button of command `id` on `bar`, or nullptr.
    QAction* ToolBarButton(QToolBar* bar, unsigned id) const;
    // The shown text of status pane `id` ("" for a pane switched off).
    QString PaneText(unsigned id) const;
    int TimePaneIndex() const { return m_TimePaneIndex; }
    // The message pane (pane 0): prompts, host status texts, "Ready".
    void SetMessageText(const QString& text);
    bool ClosePending() const { return m_ClosePending; }

    // Tool-bar flags, 1 at construction.
    int m_EditBarVisible = 1;
    int m_MachiningBarVisible = 1;
    int m_VisionBarVisible = 1;

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    CCommandTable m_Commands;
    CQtMenuBuilder* m_Menus = nullptr;
    QToolBar* m_EditBar = nullptr;
    QToolBar* m_MachiningBar = nullptr;
    QToolBar* m_VisionBar = nullptr;
    QLabel* m_MessagePane = nullptr;
    std::map<unsigned, QLabel*> m_Panes;
    std::map<unsigned, QString> m_PaneTexts;
    int m_TimePaneIndex = 0;
    bool m_ClosePending = false;

    QToolBar* CreateToolBar(unsigned resource, const QString& name);
    void CreateStatusBar();
    void InitTimePane(std::vector<unsigned> indicators);
    void SetPaneText(unsigned id, const QString& text, bool enabled);
    void OnUpdateTime(CCmdUI& ui);
    void ToggleBar(QToolBar* bar, int& flag);
};
