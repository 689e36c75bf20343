// Dialogs driven by control id, as the user would through a window.
#include "ui/dialog.h"

#include "platform/host.h"
#include "resource_ids.h"
#include "support/language.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned IDD_SAMPLE = 500;
constexpr unsigned IDC_NAME = 1001, IDC_COUNT = 1002, IDC_DEPTH = 1003, IDC_AUTO = 1004,
                   IDC_PORT = 1005, IDC_RADIO_A = 1006, IDC_RADIO_B = 1007, IDC_CLEAR = 1008;

class CSampleDlg : public CDialog {
public:
    std::string m_Name = "board";
    int m_Count = 3;
    float m_Depth = 0.5f;
    int m_Auto = 1;
    int m_Port = 2;
    int m_Side = 1;
    int m_Inits = 0;

    CSampleDlg() : CDialog(IDD_SAMPLE)
    {
        OnCommand(IDC_CLEAR, [this] {
            m_Name.clear();
            UpdateData(false);
        });
    }

    bool OnInitDialog() override
    {
        ++m_Inits;
        for (const char* port : {"COM1", "COM2", "COM3"})
            AddString(IDC_PORT, port);
        return CDialog::OnInitDialog();
    }

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NAME, m_Name);
        DDX_Text(pDX, IDC_COUNT, m_Count);
        DDX_Text(pDX, IDC_DEPTH, m_Depth);
        DDV_MinMaxFloat(pDX, IDC_DEPTH, m_Depth, 0.0f, 3.0f);
        DDX_Check(pDX, IDC_AUTO, m_Auto);
        DDX_CBIndex(pDX, IDC_PORT, m_Port);
        DDX_Radio(pDX, {IDC_RADIO_A, IDC_RADIO_B}, m_Side);
    }
};

}  // namespace

TEST(Dialog, InitFillsTheControlsAndOkStoresThem)
{
    CSampleDlg dlg;
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_NAME), "board");
            EXPECT_EQ(d.GetDlgItemText(IDC_COUNT), "3");
            EXPECT_EQ(d.GetDlgItemText(IDC_DEPTH), "0.5");
            EXPECT_EQ(d.GetCurSel(IDC_PORT), 2);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_RADIO_B), 1);
            d.SetDlgItemText(IDC_NAME, "panel");
            d.SetDlgItemText(IDC_COUNT, " 12 ");
            d.SetDlgItemText(IDC_DEPTH, "2.25");
            d.CheckDlgButton(IDC_AUTO, 0);
            d.SetCurSel(IDC_PORT, 0);
            d.CheckDlgButton(IDC_RADIO_A, 1);
            d.CheckDlgButton(IDC_RADIO_B, 0);
            d.PressButton(IDOK);
        },
        IDD_SAMPLE);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_Name, "panel");
    EXPECT_EQ(dlg.m_Count, 12);
    EXPECT_EQ(dlg.m_Depth, 2.25f);
    EXPECT_EQ(dlg.m_Auto, 0);
    EXPECT_EQ(dlg.m_Port, 0);
    EXPECT_EQ(dlg.m_Side, 0);
    EXPECT_FALSE(dlg.IsWindow());
}

TEST(Dialog, CancelChangesNoMember)
{
    CSampleDlg dlg;
    TestHost().QueueDialog([](CDialog& d) {
        d.SetDlgItemText(IDC_NAME, "other");
        d.PressButton(IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_Name, "board");
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
}

TEST(Dialog, RefusedInputKeepsTheDialogOpenAndStopsAtTheField)
{
    struct Case {
        const char* count;
        const char* depth;
        const char* message;
        unsigned failed;
    } cases[] = {
        {"12x", "1", "Please enter a whole number.", IDC_COUNT},
        {"99999999999", "1", "Please enter a whole number.", IDC_COUNT},
        {"7", "deep", "Please enter a number.", IDC_DEPTH},
        {"7", "3.5", "Please enter a number from 0 to 3.", IDC_DEPTH},
    };
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count + std::string(" / ") + c.depth);
        CSampleDlg dlg;
        bool stayedOpen = false;
        TestHost().QueueDialog([&](CDialog& d) {
            d.SetDlgItemText(IDC_NAME, "changed");
            d.SetDlgItemText(IDC_COUNT, c.count);
            d.SetDlgItemText(IDC_DEPTH, c.depth);
            d.PressButton(IDOK);
            stayedOpen = d.IsWindow();
            EXPECT_EQ(d.FailedControl(), c.failed);
            d.PressButton(IDCANCEL);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(TestHost().Boxes().back().text, c.message);
        // Fields before the refused one took their new values; later ones did not.
        EXPECT_EQ(dlg.m_Name, "changed");
        EXPECT_EQ(dlg.m_Auto, 1);
    }
}

TEST(Dialog, ButtonHandlersAndUnansweredDialogs)
{
    CSampleDlg dlg;
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDC_CLEAR); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);  // the script left it open: cancelled
    EXPECT_EQ(dlg.m_Name, "");
    EXPECT_EQ(TestHost().UnansweredDialogs(), 1);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);  // no script at all
    EXPECT_EQ(TestHost().UnansweredDialogs(), 2);
    EXPECT_EQ(dlg.m_Inits, 2);
}

TEST(Dialog, ModelessLifecycle)
{
    CSampleDlg dlg;
    EXPECT_TRUE(dlg.CreateModeless());
    EXPECT_FALSE(dlg.CreateModeless());  // only once while it exists
    EXPECT_TRUE(dlg.IsWindow());
    EXPECT_FALSE(dlg.IsVisible());
    dlg.ShowWindow(true);
    EXPECT_TRUE(dlg.IsVisible());
    dlg.PressButton(IDOK);  // OK ends a modeless dialog too
    EXPECT_FALSE(dlg.IsWindow());
    EXPECT_EQ(TestHost().DialogsShown(), (std::vector<unsigned>{IDD_SAMPLE}));
}

TEST(Dialog, EachRunStartsWithTheControlsOfANewWindow)
{
    // A dialog with a real template: its labels come from the template, and
    // what a run left in the controls is gone at the next run.
    class CWorkOrderLike : public CDialog {
    public:
        CWorkOrderLike() : CDialog(IDD_WORK_ORDER) {}
        bool OnInitDialog() override
        {
            AddString(IDC_WO_APERTURE_SOURCE, "PROTEL");
            return CDialog::OnInitDialog();
        }
    } dlg;
    TestHost().QueueDialog([](CDialog& d) {
        EXPECT_EQ(d.Caption(), "工單設定");
        EXPECT_EQ(d.GetDlgItemText(IDC_WO_BROWSE_COMPONENT_GERBER), "瀏覽");
        EXPECT_EQ(d.GetCount(IDC_WO_APERTURE_SOURCE), 1);
        d.SetDlgItemText(IDC_WO_COMPONENT_GERBER, "typed");
        d.PressButton(IDCANCEL);
    });
    TestHost().QueueDialog([](CDialog& d) {
        EXPECT_EQ(d.GetCount(IDC_WO_APERTURE_SOURCE), 1);
        EXPECT_EQ(d.GetDlgItemText(IDC_WO_COMPONENT_GERBER), "");
        d.PressButton(IDCANCEL);
    });
    dlg.DoModal();
    dlg.DoModal();
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
}
