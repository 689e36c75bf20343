// Start-up: the language library, the frame's bars and panes, the splash
// switch, the recent files, and closing during long work.
#include "app/main_frame.h"
#include "app/qt_test_app.h"
#include "app/splash_wnd.h"
#include "app/velm_app.h"
#include "document/velm_doc.h"
#include "link/link_state.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/registry.h"
#include "support/language.h"
#include "support/scripted_host.h"
#include "ui/menu_resource.h"
#include "ui/qt/menu_builder.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

// A start of the application object with the frame kept hidden.
struct Started {
    CVelmApp app;
    bool ok;
    explicit Started(std::vector<std::string> args = {"/nologo"})
    {
        TestQtApp();
        ok = app.InitInstance(args, false);
    }
    ~Started() { app.ExitInstance(); }
    CMainFrame& Frame() { return *app.MainFrame(); }
};

std::string StoredLanguage()
{
    std::string value;
    RegGetString("Language", value);
    return value;
}

}  // namespace

TEST(StartUp, FirstStartWritesEnglishAndLoadsTheEnglishLibrary)
{
    CVelmApp app;
    ASSERT_TRUE(app.LoadLanguage());
    EXPECT_EQ(StoredLanguage(), "ENGLISH");
    EXPECT_TRUE(app.LanguageLibraryLoaded());
    EXPECT_EQ(LoadResString(IDS_MAX_ZOOM), "This is the largest magnification !");
    EXPECT_TRUE(TestHost().Boxes().empty());
    app.ExitInstance();
    EXPECT_FALSE(LanguageLibraryLoaded());
}

TEST(StartUp, LanguageValues)
{
    struct Case {
        const char* stored;
        bool starts;
        const char* box;  // "" for none
    } cases[] = {
        {"CHINESE", true, ""},
        {"GERMAN", false, "Can't load GERMAN.DLL"},
        {"chinese", false, "Can't load chinese.DLL"},  // not "CHINESE": a library is tried
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        RegSetString("Language", c.stored);
        CScriptedHost host;
        SetHost(&host);
        CVelmApp app;
        EXPECT_EQ(app.LoadLanguage(), c.starts);
        EXPECT_FALSE(app.LanguageLibraryLoaded());
        if (*c.box) {
            ASSERT_EQ(host.Boxes().size(), 1u);
            EXPECT_EQ(host.Boxes()[0].text, c.box);
            EXPECT_EQ(host.Boxes()[0].type & MB_TYPEMASK, MB_OK);
        } else {
            EXPECT_TRUE(host.Boxes().empty());
        }
        SetHost(&TestHost());
    }
}

TEST(StartUp, AMissingLibraryEndsTheStartBeforeAnyWindow)
{
    RegSetString("Language", "KLINGON");
    CVelmApp app;
    TestQtApp();
    EXPECT_FALSE(app.InitInstance({}, false));
    EXPECT_EQ(app.MainFrame(), nullptr);
    EXPECT_EQ(TestHost().BoxTexts(), (std::vector<std::string>{"Can't load KLINGON.DLL"}));
}

TEST(MainFrame, VisionBarFollowsTheMachineModel)
{
    struct Case {
        const char* model;
        bool visionShown;
    } cases[] = {{"KX4100", false}, {"KX4100V", true}, {"KX1300HV", true}, {"", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        RegSetString("Machine", c.model);
        g_MachineModel = c.model;
        Started s;
        ASSERT_TRUE(s.ok);
        CMainFrame& frame = s.Frame();
        frame.show();
        EXPECT_TRUE(frame.EditBar()->isVisible());
        EXPECT_TRUE(frame.MachiningBar()->isVisible());
        EXPECT_EQ(frame.VisionBar()->isVisible(), c.visionShown);
        EXPECT_EQ(frame.m_VisionBarVisible, 1);  // the flag keeps its value
        QAction* item = frame.MenuItem(ID_VIEW_VISION_TOOLBAR);
        ASSERT_NE(item, nullptr);
        for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>())
            emit menu->aboutToShow();
        EXPECT_EQ(item->isEnabled(), c.visionShown);
        EXPECT_TRUE(item->isChecked());  // checked all the same
        frame.hide();
    }
}

TEST(MainFrame, ToolBarsPanesAndUnbuiltCommands)
{
    Started s;
    ASSERT_TRUE(s.ok);
    CMainFrame& frame = s.Frame();
    frame.show();  // hidden bars are not updated
    // Docking: the edit bar on top, the others on the right.
    EXPECT_EQ(frame.toolBarArea(frame.EditBar()), Qt::TopToolBarArea);
    EXPECT_EQ(frame.toolBarArea(frame.MachiningBar()), Qt::RightToolBarArea);
    EXPECT_EQ(frame.toolBarArea(frame.VisionBar()), Qt::RightToolBarArea);
    // Buttons with the tips of the English library.
    QAction* drill = frame.ToolBarButton(frame.MachiningBar(), ID_MACHINE_DRILL);
    ASSERT_NE(drill, nullptr);
    EXPECT_EQ(drill->toolTip(), "Drill the board");
    EXPECT_EQ(frame.EditBar()->actions().size(), 29);
    // Nobody handles the machine commands yet: disabled, as their menu items.
    frame.UpdateCommandUI();
    EXPECT_FALSE(drill->isEnabled());
    QAction* drillItem = frame.MenuItem(ID_MACHINE_DRILL);
    ASSERT_NE(drillItem, nullptr);
    EXPECT_EQ(drillItem->text(), "&Drill");
    QAction* about = frame.MenuItem(ID_APP_ABOUT);
    ASSERT_NE(about, nullptr);
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>())
        emit menu->aboutToShow();
    EXPECT_TRUE(about->isEnabled());
    EXPECT_FALSE(drillItem->isEnabled());
    // A handler attached later (the view, say) enables its command.
    CCommandTable view;
    int drills = 0;
    view.OnCommand(ID_MACHINE_DRILL, [&] { ++drills; });
    CommandRouter().Attach(CommandLevel::View, &view);
    frame.UpdateCommandUI();
    EXPECT_TRUE(drill->isEnabled());
    drill->trigger();
    EXPECT_EQ(drills, 1);
    // Status panes: clock at index 6, position pane's first text, the
    // view's update handlers fill their panes.
    EXPECT_EQ(frame.TimePaneIndex(), 6);
    EXPECT_FALSE(frame.PaneText(ID_INDICATOR_TIME).isEmpty());
    view.OnUpdateCommand(ID_INDICATOR_POSITION, [](CCmdUI& ui) { ui.SetText("X:12 Y:34"); });
    frame.UpdateCommandUI();
    EXPECT_EQ(frame.PaneText(ID_INDICATOR_POSITION), "X:12 Y:34");
}

TEST(MainFrame, ToggleCommandsShowAndHideTheBars)
{
    RegSetString("Machine", "KX1600V");
    g_MachineModel = "KX1600V";
    Started s;
    ASSERT_TRUE(s.ok);
    CMainFrame& frame = s.Frame();
    frame.show();
    for (auto [id, bar, flag] : {std::tuple{ID_VIEW_TOOLBAR, frame.EditBar(), &frame.m_EditBarVisible},
                                 std::tuple{ID_VIEW_MACHINING_TOOLBAR, frame.MachiningBar(),
                                            &frame.m_MachiningBarVisible},
                                 std::tuple{ID_VIEW_VISION_TOOLBAR, frame.VisionBar(),
                                            &frame.m_VisionBarVisible}}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(CommandRouter().Dispatch(id));
        EXPECT_FALSE(bar->isVisible());
        EXPECT_EQ(*flag, 0);
        CCmdUI ui(id);
        CommandRouter().UpdateCommandUI(ui);
        EXPECT_EQ(ui.m_Check, 0);
        ASSERT_TRUE(CommandRouter().Dispatch(id));
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(*flag, 1);
    }
    frame.hide();
}

TEST(MainFrame, ClicksAreIgnoredWhileCalculating)
{
    Started s;
    ASSERT_TRUE(s.ok);
    CMainFrame& frame = s.Frame();
    auto click = [&](QEvent::Type type) {
        QPointF at(5, 5);
        QMouseEvent e(type, at, frame.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        e.setAccepted(false);
        QApplication::sendEvent(&frame, &e);
        return e.isAccepted();
    };
    // The frame itself takes the press (dropping it) only while calculating;
    // otherwise its default handling passes it on.
    g_Calculating = 1;
    EXPECT_TRUE(click(QEvent::MouseButtonPress));
    EXPECT_TRUE(click(QEvent::MouseButtonRelease));
    g_Calculating = 0;
    EXPECT_FALSE(click(QEvent::MouseButtonPress));
    EXPECT_FALSE(click(QEvent::MouseButtonRelease));
}

TEST(MainFrame, ClosingDuringLongWorkAbortsFirstThenCloses)
{
    Started s;
    ASSERT_TRUE(s.ok);
    CMainFrame& frame = s.Frame();
    frame.show();
    CCommandTable view;
    int steps = 0;
    bool stillThere = false;
    view.OnCommand(ID_PATH_CALCULATION, [&] {
        // Long work: pumps until aborted; the operator closes the window.
        QTimer::singleShot(0, &frame, [&] { frame.close(); });
        while (!g_AbortFlag && steps < 1000) {
            ++steps;
            QApplication::processEvents();
        }
        stillThere = frame.isVisible() && frame.ClosePending();
    });
    CommandRouter().Attach(CommandLevel::View, &view);
    ASSERT_TRUE(CommandRouter().Dispatch(ID_PATH_CALCULATION));
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_LT(steps, 1000);
    EXPECT_TRUE(stillThere);  // not closed under the running work
    for (int i = 0; i < 20 && frame.isVisible(); ++i)
        QApplication::processEvents();
    EXPECT_FALSE(frame.isVisible());  // closed once the work returned
}

TEST(StartUp, SplashSwitchRecentFilesAndTitle)
{
    {
        Started s(std::vector<std::string>{});
        ASSERT_TRUE(s.ok);
        EXPECT_TRUE(CSplashWnd::SplashScreenEnabled());
        ASSERT_NE(CSplashWnd::Instance(), nullptr);
        // A key press hides it and still reaches its target.
        struct Counter : QObject {
            int keys = 0;
            bool event(QEvent* e) override
            {
                keys += e->type() == QEvent::KeyPress;
                return QObject::event(e);
            }
        } target;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        QApplication::sendEvent(&target, &press);
        EXPECT_EQ(CSplashWnd::Instance(), nullptr);
        EXPECT_EQ(target.keys, 1);
        EXPECT_EQ(s.app.Title(), "Untitled - velm");
    }
    {
        Started s({"-nologo", "/tmp/board.prj"});
        ASSERT_TRUE(s.ok);
        EXPECT_FALSE(CSplashWnd::SplashScreenEnabled());
        EXPECT_EQ(CSplashWnd::Instance(), nullptr);
        EXPECT_EQ(s.app.Title(), "board.prj - velm");
        // A loaded job names the window after its working side's file.
        s.app.Document()->SetTitle("/jobs/d1/B_Cu.gbr");
        EXPECT_EQ(s.app.MainFrame()->windowTitle().toStdString(), "B_Cu.gbr - velm");
        for (const char* f : {"a", "b", "c", "d", "b", "e"})
            s.app.AddToRecentFileList(f);
        EXPECT_EQ(s.app.RecentFiles(), (std::vector<std::string>{"e", "b", "d", "c"}));
    }
}

TEST(Menus, TheViewsRightButtonMenusAreBuiltFromTheirResources)
{
    TestQtApp();
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    CQtMenuBuilder builder;
    QWidget owner;
    for (unsigned id : {IDR_POPUP_EDIT, IDR_POPUP_LAYOUT, IDR_POPUP_MACHINING, IDR_POPUP_PARTIAL,
                        IDR_POPUP_PATHS, IDR_POPUP_SPARE}) {
        SCOPED_TRACE(id);
        QMenu* popup = builder.BuildPopup(LoadMenuTree(id), &owner);
        EXPECT_FALSE(popup->actions().isEmpty());
    }
    // Items of commands nobody handles are disabled when the menu opens.
    CQtMenuBuilder editBuilder;
    QMenu* edit = editBuilder.BuildPopup(LoadMenuTree(IDR_POPUP_EDIT), &owner);
    CQtMenuBuilder::UpdateMenu(edit);
    ASSERT_FALSE(editBuilder.Actions(ID_POPUP_CANCEL).empty());
    EXPECT_EQ(editBuilder.Actions(ID_POPUP_CANCEL).front()->text(), "Cance&l");
    EXPECT_FALSE(editBuilder.Actions(ID_POPUP_CANCEL).front()->isEnabled());
    CCommandTable view;
    view.OnCommand(ID_POPUP_CANCEL, [] {});
    view.OnUpdateCommand(ID_COMPONENT_SIDE, [](CCmdUI& ui) { ui.SetCheck(1); });
    CommandRouter().Attach(CommandLevel::View, &view);
    CQtMenuBuilder::UpdateMenu(edit);
    EXPECT_TRUE(editBuilder.Actions(ID_POPUP_CANCEL).front()->isEnabled());
    EXPECT_TRUE(editBuilder.Actions(ID_COMPONENT_SIDE).front()->isChecked());
}
