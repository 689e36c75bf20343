// Dialogs drawn from their templates: typing into the widgets reaches the
// dialog's members by control id; Cancel changes nothing; the progress and
// notice windows as the operator sees them.
#include "app/qt_dialog_fixture.h"
#include "app/qt_test_app.h"
#include "platform/qt/qt_host.h"
#include "resource_ids.h"
#include "support/language.h"
#include "support/scripted_host.h"
#include "ui/message_dlg.h"
#include "ui/progress_dlg.h"
#include "ui/qt/dialog_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// The work order's six paths and its source combo, as the work-order
// dialog exchanges them.
class CPathsDlg : public CDialog {
public:
    std::string m_Component = "a.gtl", m_Drill, m_Route, m_SolderAperture, m_ComponentAperture,
                m_Solder;
    int m_Source = 1;
    int m_Cleared = 0;
    CPathsDlg() : CDialog(IDD_WORK_ORDER)
    {
        OnCommand(3, [this] {
            ++m_Cleared;
            m_Component.clear();
            UpdateData(false);
        });
    }
    bool OnInitDialog() override
    {
        for (const char* entry : {"ALLEGRO", "PROTEL", "PADS"})
            AddString(IDC_WO_APERTURE_SOURCE, entry);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_CBIndex(pDX, IDC_WO_APERTURE_SOURCE, m_Source);
        DDX_Text(pDX, IDC_WO_COMPONENT_GERBER, m_Component);
        DDX_Text(pDX, IDC_WO_DRILL, m_Drill);
        DDX_Text(pDX, IDC_WO_ROUTE, m_Route);
        DDX_Text(pDX, IDC_WO_SOLDER_APERTURE, m_SolderAperture);
        DDX_Text(pDX, IDC_WO_COMPONENT_APERTURE, m_ComponentAperture);
        DDX_Text(pDX, IDC_WO_SOLDER_GERBER, m_Solder);
    }
};

class CSettingsLikeDlg : public CDialog {
public:
    int m_FileAuto = 1;
    float m_Lift = 0.0f;
    CSettingsLikeDlg() : CDialog(IDD_SYSTEM_SETTINGS) {}
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Check(pDX, IDC_SYS_FILE_AUTO, m_FileAuto);
        DDX_Text(pDX, IDC_SYS_LIFT_HEIGHT, m_Lift);
    }
};

// Writes down what the window tells of the operator's acts.
class CNotesDlg : public CDialog {
public:
    std::vector<std::string> m_Notes;
    CNotesDlg() : CDialog(IDD_PATH_CALC)
    {
        OnTextEdited(IDC_PC_T2_WIDTH,
                     [this] { m_Notes.push_back("typed " + GetDlgItemText(IDC_PC_T2_WIDTH)); });
        OnFocusGained(IDC_PC_T2_DEPTH, [this] { m_Notes.push_back("focus"); });
        OnSelectionChanged(IDC_PC_T1_TOOL, [this] {
            m_Notes.push_back("picked " + std::to_string(GetCurSel(IDC_PC_T1_TOOL)));
        });
        OnTextEdited(IDC_PC_T1_TOOL,
                     [this] { m_Notes.push_back("tool " + GetDlgItemText(IDC_PC_T1_TOOL)); });
    }
    bool OnInitDialog() override
    {
        for (const char* entry : {"0.2", "0.15"})
            AddString(IDC_PC_T1_TOOL, entry);
        SetDlgItemText(IDC_PC_T2_WIDTH, "0.5");
        return CDialog::OnInitDialog();
    }
};

using DialogWindow = QtDialogTest;

}  // namespace

TEST_F(DialogWindow, TemplateControlsAreLaidOutWithTheirTexts)
{
    CPathsDlg dlg;
    QString caption, browse;
    QStringList groups;
    int comboEntries = -1, comboIndex = -2;
    WhenShown([&](CQtDialogWindow& w) {
        caption = w.windowTitle();
        for (QGroupBox* g : w.findChildren<QGroupBox*>())
            groups << g->title();
        browse = Widget<QPushButton>(w, IDC_WO_BROWSE_COMPONENT_GERBER)->text();
        comboEntries = Widget<QComboBox>(w, IDC_WO_APERTURE_SOURCE)->count();
        comboIndex = Widget<QComboBox>(w, IDC_WO_APERTURE_SOURCE)->currentIndex();
        EXPECT_EQ(Widget<QLineEdit>(w, IDC_WO_COMPONENT_GERBER)->text(), "a.gtl");
        Widget<QPushButton>(w, 2)->click();
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(caption, "工單設定");
    groups.sort();
    EXPECT_EQ(groups, (QStringList{" 成型檔", "焊錫面", "鑽孔檔", "零件面"}));
    EXPECT_EQ(browse, "瀏覽");
    EXPECT_EQ(comboEntries, 3);
    EXPECT_EQ(comboIndex, 1);
    // A second run starts with fresh controls: the entries are not doubled.
    WhenShown([&](CQtDialogWindow& w) {
        comboEntries = Widget<QComboBox>(w, IDC_WO_APERTURE_SOURCE)->count();
        w.reject();  // Escape
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(comboEntries, 3);
}

TEST_F(DialogWindow, TypedValuesReachTheMembersOnOkAndCancelChangesNothing)
{
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    CPathsDlg dlg;
    WhenShown([](CQtDialogWindow& w) {
        EXPECT_EQ(w.windowTitle(), "Work Order");
        QLineEdit* drill = Widget<QLineEdit>(w, IDC_WO_DRILL);
        drill->setFocus();
        drill->insert("board.drl");
        Widget<QLineEdit>(w, IDC_WO_SOLDER_GERBER)->insert("bot.gbl");
        Widget<QComboBox>(w, IDC_WO_APERTURE_SOURCE)->setCurrentIndex(2);
        Widget<QPushButton>(w, 1)->click();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_Drill, "board.drl");
    EXPECT_EQ(dlg.m_Solder, "bot.gbl");
    EXPECT_EQ(dlg.m_Source, 2);
    EXPECT_EQ(dlg.m_Component, "a.gtl");

    WhenShown([](CQtDialogWindow& w) {
        Widget<QLineEdit>(w, IDC_WO_DRILL)->insert("other.drl");
        Widget<QComboBox>(w, IDC_WO_APERTURE_SOURCE)->setCurrentIndex(0);
        w.close();  // the close box is Cancel
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_Drill, "board.drl");
    EXPECT_EQ(dlg.m_Source, 2);

    // A button handler changes members and the window follows at once.
    WhenShown([](CQtDialogWindow& w) {
        Widget<QPushButton>(w, 3)->click();
        EXPECT_EQ(Widget<QLineEdit>(w, IDC_WO_COMPONENT_GERBER)->text(), "");
        Widget<QPushButton>(w, 2)->click();
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.m_Cleared, 1);
    FreeLanguageLibrary();
}

TEST_F(DialogWindow, TheOperatorsTypingPickingAndFocusAreToldButNotTheDialogsOwnWrites)
{
    CNotesDlg dlg;
    WhenShown([&](CQtDialogWindow& w) {
        Widget<QLineEdit>(w, IDC_PC_T2_WIDTH)->insert("1");
        dlg.SetDlgItemText(IDC_PC_T2_WIDTH, "9");
        EXPECT_EQ(Widget<QLineEdit>(w, IDC_PC_T2_WIDTH)->text(), "9");
        QFocusEvent focusIn(QEvent::FocusIn);
        QApplication::sendEvent(Widget<QLineEdit>(w, IDC_PC_T2_DEPTH), &focusIn);
        auto* combo = Widget<QComboBox>(w, IDC_PC_T1_TOOL);
        dlg.SetCurSel(IDC_PC_T1_TOOL, 0);
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        combo->lineEdit()->selectAll();
        combo->lineEdit()->insert("0.3");
        Widget<QPushButton>(w, 2)->click();
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.m_Notes,
              (std::vector<std::string>{"typed 0.51", "focus", "picked 1", "tool 0.3"}));
}

// Keys the focused control leaves reach the dialog as virtual-key codes
// (the jog window moves the axes on them); keys an edit uses stay there.
TEST_F(DialogWindow, KeysTheControlsLeaveReachTheDialog)
{
    struct CKeysDlg : CNotesDlg {
        std::vector<unsigned> keys;
        void OnKeyDown(unsigned key) override { keys.push_back(key); }
    } dlg;
    WhenShown([&](CQtDialogWindow& w) {
        auto press = [](QWidget* to, int key) {
            QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(to, &down);
        };
        press(&w, Qt::Key_PageUp);
        press(&w, Qt::Key_Down);
        press(&w, Qt::Key_A);
        press(Widget<QLineEdit>(w, IDC_PC_T2_WIDTH), Qt::Key_Left);
        press(Widget<QLineEdit>(w, IDC_PC_T2_WIDTH), Qt::Key_PageDown);
        Widget<QPushButton>(w, 2)->click();
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.keys, (std::vector<unsigned>{0x21, 0x28, 0x22}));
}

TEST_F(DialogWindow, RefusedNumberKeepsTheDialogOpen)
{
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    CSettingsLikeDlg dlg;
    CScriptedHost boxes;  // the refusal's message box, answered without a window
    bool stayedOpen = false;
    WhenShown([&](CQtDialogWindow& w) {
        Widget<QCheckBox>(w, IDC_SYS_FILE_AUTO)->click();
        Widget<QLineEdit>(w, IDC_SYS_LIFT_HEIGHT)->setText("");
        Widget<QLineEdit>(w, IDC_SYS_LIFT_HEIGHT)->insert("high");
        SetHost(&boxes);
        Widget<QPushButton>(w, 1)->click();
        SetHost(&m_Host);
        stayedOpen = w.isVisible() && dlg.IsWindow();
        Widget<QLineEdit>(w, IDC_SYS_LIFT_HEIGHT)->setText("");
        Widget<QLineEdit>(w, IDC_SYS_LIFT_HEIGHT)->insert("2.5");
        Widget<QPushButton>(w, 1)->click();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(boxes.BoxTexts(), (std::vector<std::string>{"Please enter a number."}));
    EXPECT_EQ(dlg.m_FileAuto, 0);
    EXPECT_EQ(dlg.m_Lift, 2.5f);
    FreeLanguageLibrary();
}

TEST_F(DialogWindow, ProgressWindowKeepsTheMainWindowOutUntilItCloses)
{
    QMainWindow main;
    auto* central = new QWidget(&main);
    main.setCentralWidget(central);
    main.show();
    m_Host.SetMainWindow(&main);
    {
        CProgressDlg progress;
        ASSERT_EQ(progress.Create(), 1);
        auto* window = dynamic_cast<CQtDialogWindow*>(progress.View());
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->isEnabled());
        EXPECT_FALSE(central->isEnabled());
        progress.SetPos(2, 37);
        EXPECT_EQ(Widget<QProgressBar>(*window, IDC_PROGRESS_Y_BAR)->value(), 37);
        EXPECT_EQ(Widget<QLabel>(*window, IDC_PROGRESS_Y_PERCENT)->text(), "37%");
        Widget<QPushButton>(*window, 2)->click();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(progress.CheckCancelButton(), 1);
        EXPECT_EQ(progress.CheckCancelButton(), 0);
    }
    EXPECT_TRUE(central->isEnabled());  // the destructor gave the input back
    QApplication::processEvents();
    m_Host.SetMainWindow(nullptr);
}

TEST_F(DialogWindow, NoticeShowsLongTextsWhole)
{
    CMessageDlg notice;
    std::string text(120, 'n');
    notice.ShowF("%s", text.c_str());
    auto* window = dynamic_cast<CQtDialogWindow*>(notice.View());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Widget<QLabel>(*window, IDC_MESSAGE_TEXT)->text().toStdString(), text + "\n");
    notice.DestroyWindow();
    EXPECT_EQ(notice.Shown(), 0);
    QApplication::processEvents();
}
