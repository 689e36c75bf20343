// The main frame's bars, panes, clock and its own commands.
#include "app/main_frame.h"

#include "app/splash_wnd.h"
#include "app/tool_icons.h"
#include "app/velm_app.h"
#include "link/link_state.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "ui/qt/menu_builder.h"
#include "view/qt/board_widget.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QGuiApplication>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

#include <ctime>

namespace {

bool ModelHasVision() { return g_MachineModel.find('V') != std::string::npos; }

// The tip of a button: the part of its command's prompt after the line break.
QString ToolTip(unsigned id)
{
    std::string prompt = LoadResString(id);
    std::size_t newline = prompt.find('\n');
    return QString::fromStdString(newline == std::string::npos ? "" : prompt.substr(newline + 1));
}

// The flying status text: the part before the line break.
QString Prompt(unsigned id)
{
    std::string prompt = LoadResString(id);
    return QString::fromStdString(prompt.substr(0, prompt.find('\n')));
}

constexpr unsigned kIdleUpdateMs = 250;

}  // namespace

CMainFrame::CMainFrame()
{
    setObjectName(QStringLiteral("mainFrame"));
    m_Commands.OnCommand(ID_VIEW_TOOLBAR, [this] { ToggleBar(m_EditBar, m_EditBarVisible); });
    m_Commands.OnUpdateCommand(ID_VIEW_TOOLBAR, [this](CCmdUI& ui) { ui.SetCheck(m_EditBarVisible); });
    m_Commands.OnCommand(ID_VIEW_MACHINING_TOOLBAR,
                         [this] { ToggleBar(m_MachiningBar, m_MachiningBarVisible); });
    m_Commands.OnUpdateCommand(ID_VIEW_MACHINING_TOOLBAR,
                               [this](CCmdUI& ui) { ui.SetCheck(m_MachiningBarVisible); });
    m_Commands.OnCommand(ID_VIEW_VISION_TOOLBAR, [this] { ToggleBar(m_VisionBar, m_VisionBarVisible); });
    m_Commands.OnUpdateCommand(ID_VIEW_VISION_TOOLBAR, [this](CCmdUI& ui) {
        if (!ModelHasVision())
            ui.Enable(false);
        ui.SetCheck(m_VisionBarVisible);
    });
    m_Commands.OnUpdateCommand(ID_INDICATOR_TIME, [this](CCmdUI& ui) { OnUpdateTime(ui); });
    CommandRouter().Attach(CommandLevel::Frame, &m_Commands);
    // Closing was put off while long work ran: close now that it has returned.
    CommandRouter().SetIdleCallback([this] {
        if (m_ClosePending)
            QTimer::singleShot(0, this, &QWidget::close);
    });
}

CMainFrame::~CMainFrame()
{
    CommandRouter().SetIdleCallback(nullptr);
    if (CSplashWnd* splash = CSplashWnd::Instance())
        splash->HideSplashScreen();
}

bool CMainFrame::OnCreate(bool show)
{
    CMenuNode menu = LoadMenuTree(IDR_MAINFRAME);
    if (menu.items.empty())
        return false;
    m_Menus = new CQtMenuBuilder(this);
    m_Menus->FillMenuBar(menuBar(), menu);

    m_EditBar = CreateToolBar(IDR_MAINFRAME, QStringLiteral("editBar"));
    m_MachiningBar = CreateToolBar(IDR_MACHINING_BAR, QStringLiteral("machiningBar"));
    m_VisionBar = CreateToolBar(IDR_VISION_BAR, QStringLiteral("visionBar"));
    if (!m_EditBar || !m_MachiningBar || !m_VisionBar)
        return false;
    CreateStatusBar();
    SetPaneText(ID_INDICATOR_POSITION, QStringLiteral("123456789"), true);

    // Docking: any side; the edit bar on top, the other two on the right.
    addToolBar(Qt::TopToolBarArea, m_EditBar);
    addToolBar(Qt::RightToolBarArea, m_MachiningBar);
    addToolBarBreak(Qt::RightToolBarArea);  // a column of its own, as a docked bar has
    addToolBar(Qt::RightToolBarArea, m_VisionBar);

    InitTimePane({0, ID_INDICATOR_STATUS, ID_INDICATOR_POSITION, ID_INDICATOR_CAPS,
                  ID_INDICATOR_NUM, ID_INDICATOR_SCRL});

    // The board window with the view of the application's document.
    auto* central = new CBoardWidget(theApp.Document(), this);
    setCentralWidget(central);

    if (show) {
        // The screen's size first: without a window manager nothing maximises.
        if (QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(screen->availableGeometry());
        showMaximized();
    }
    CSplashWnd::ShowSplashScreen(this);
    if (!ModelHasVision())
        m_VisionBar->hide();  // the flag stays 1
    // Idle time: tool-bar buttons and panes follow their update handlers.
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    idle->start(kIdleUpdateMs);
    UpdateCommandUI();
    return true;
}

QToolBar* CMainFrame::CreateToolBar(unsigned resource, const QString& name)
{
    std::vector<OrduneToolBarButton> buttons = LoadToolBarResource(resource);
    if (buttons.empty())
        return nullptr;
    auto* bar = new QToolBar(this);
    bar->setObjectName(name);
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setIconSize(QSize(24, 24));
    for (const OrduneToolBarButton& b : buttons) {
        if (b.id == 0) {
            bar->addSeparator();
            continue;
        }
        unsigned id = b.id;
        QAction* action = bar->addAction(CommandIcon(id), ToolTip(id));
        action->setObjectName(QStringLiteral("command%1").arg(id));
        action->setProperty("orduneCommand", id);
        action->setToolTip(ToolTip(id));
        action->setStatusTip(Prompt(id));
        connect(action, &QAction::triggered, this, [id] { CommandRouter().Dispatch(id); });
    }
    return bar;
}

void CMainFrame::CreateStatusBar()
{
    m_MessagePane = new QLabel(QString::fromStdString(LoadResString(IDS_READY)), this);
    m_MessagePane->setObjectName(QStringLiteral("pane0"));
    statusBar()->addWidget(m_MessagePane, 1);
}

void CMainFrame::InitTimePane(std::vector<unsigned> indicators)
{
    m_TimePaneIndex = static_cast<int>(indicators.size());
    indicators.push_back(ID_INDICATOR_TIME);
    QFontMetrics fm(statusBar()->font());
    for (unsigned id : indicators) {
        if (id == 0)
            continue;  // the message pane
        auto* pane = new QLabel(this);
        pane->setObjectName(QStringLiteral("pane%1").arg(id));
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        // A pane is as wide as its width template, the string of its id.
        std::string widthText = LoadResString(id);
        if (!widthText.empty())
            pane->setFixedWidth(fm.horizontalAdvance(QString::fromStdString(widthText)) + 8);
        statusBar()->addPermanentWidget(pane);
        m_Panes[id] = pane;
    }
    // The clock keeps the idle update running once a second.
    auto* clock = new QTimer(statusBar());
    connect(clock, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    clock->start(1000);
}

void CMainFrame::OnUpdateTime(CCmdUI& ui)
{
    char text[64] = "";
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(text, sizeof text, "%X", &local);
    // The pane is as wide as the time text in the bar's font.
    if (QLabel* pane = m_Panes[ID_INDICATOR_TIME])
        pane->setFixedWidth(QFontMetrics(statusBar()->font()).horizontalAdvance(QString::fromLocal8Bit(text)) + 10);
    ui.SetText(QString::fromLocal8Bit(text).toStdString());
    ui.Enable(true);
}

void CMainFrame::SetPaneText(unsigned id, const QString& text, bool enabled)
{
    m_PaneTexts[id] = text;
    auto it = m_Panes.find(id);
    if (it == m_Panes.end())
        return;
    // A switched-off pane shows no text, as a lock key that is off.
    QString shown = enabled ? text : QString();
    if (it->second->text() != shown)
        it->second->setText(shown);
}

QString CMainFrame::PaneText(unsigned id) const
{
    auto it = m_Panes.find(id);
    return it == m_Panes.end() ? QString() : it->second->text();
}

void CMainFrame::SetMessageText(const QString& text)
{
    if (m_MessagePane)
        m_MessagePane->setText(text);
}

void CMainFrame::UpdateCommandUI()
{
    for (QToolBar* bar : {m_EditBar, m_MachiningBar, m_VisionBar}) {
        if (!bar || !bar->isVisible())
            continue;
        for (QAction* action : bar->actions()) {
            QVariant id = action->property("orduneCommand");
            if (id.isValid())
                UpdateCommandAction(action, id.toUInt());
        }
    }
    for (auto& [id, pane] : m_Panes) {
        CCmdUI ui(id, CCmdUI::Pane);
        bool enabled = CommandRouter().UpdateCommandUI(ui);
        SetPaneText(id, ui.m_TextSet ? QString::fromStdString(ui.m_Text) : m_PaneTexts[id], enabled);
    }
}

QAction* CMainFrame::MenuItem(unsigned id) const
{
    if (!m_Menus || m_Menus->Actions(id).empty())
        return nullptr;
    return m_Menus->Actions(id).front();
}

QAction* CMainFrame::ToolBarButton(QToolBar* bar, unsigned id) const
{
    for (QAction* action : bar->actions())
        if (action->property("orduneCommand").toUInt() == id)
            return action;
    return nullptr;
}

void CMainFrame::ToggleBar(QToolBar* bar, int& flag)
{
    flag = !flag;
    if (bar)
        bar->setVisible(flag != 0);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Long work is pumping messages under us: stop it, let it unwind, and
    // close when the outermost command has returned.
    if (CommandRouter().RunningDepth() > 0) {
        g_AbortFlag = 1;
        m_ClosePending = true;
        event->ignore();
        return;
    }
    m_ClosePending = false;
    QMainWindow::closeEvent(event);
}

void CMainFrame::mousePressEvent(QMouseEvent* event)
{
    if (g_Calculating) {
        event->accept();
        return;
    }
    QMainWindow::mousePressEvent(event);
}

void CMainFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (g_Calculating) {
        event->accept();
        return;
    }
    QMainWindow::mouseReleaseEvent(event);
}

bool CMainFrame::event(QEvent* event)
{
    // The flying prompts of menu items and buttons go to the message pane.
    if (event->type() == QEvent::StatusTip) {
        QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        SetMessageText(tip.isEmpty() ? QString::fromStdString(LoadResString(IDS_READY)) : tip);
        return true;
    }
    return QMainWindow::event(event);
}
