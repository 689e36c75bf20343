// The machining-data, CAM upload and text input dialogs: the layer list in
// the combo (sorted, every name closed by ";"), selection by index, numbers
// that do not parse keep the dialog open, and the values that persist: the
// machining data in its program-wide object, the upload's in the registry.
#include "exchange/cam_upload_dlg.h"
#include "exchange/machining_data_dlg.h"
#include "exchange/text_input_dlg.h"
#include "resource_ids.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Entries(const CDialog& dlg, unsigned id)
{
    std::vector<std::string> entries;
    for (int i = 0; i < dlg.GetCount(id); ++i)
        entries.push_back(dlg.GetLBText(id, i));
    return entries;
}

}  // namespace

TEST(CamDialogs, LayerListAndIndexSelection)
{
    struct Case {
        const char* what;
        std::string list;
        int index;
        std::vector<std::string> entries;
        std::string chosen;
        int chosenIndex;
    } const cases[] = {
        {"sorted, the index into the sorted list", "C;A;B;", 1, {"A", "B", "C"}, "B", 1},
        {"text after the last separator is no name", "A;B", 0, {"A"}, "A", 0},
        {"no separator: no entry, nothing chosen", "A", 0, {}, "", -1},
        {"an index outside the list selects nothing", "A;B;", 5, {"A", "B"}, "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (int kind = 0; kind < 2; ++kind) {
            CMachiningDataDlg machining;
            CCamUploadDlg upload;
            CDialog& dlg = kind == 0 ? static_cast<CDialog&>(machining) : upload;
            const unsigned combo = kind == 0 ? IDC_MD_LAYER : IDC_CU_LAYER;
            (kind == 0 ? machining.m_strLayerList : upload.m_strLayerList) = c.list;
            (kind == 0 ? machining.m_nLayerIndex : upload.m_nLayerIndex) = c.index;
            TestHost().QueueDialog([&](CDialog& shown) {
                EXPECT_EQ(Entries(shown, combo), c.entries);
                shown.PressButton(IDOK);
            });
            EXPECT_EQ(dlg.DoModal(), IDOK);
            EXPECT_EQ(kind == 0 ? machining.m_strLayer : upload.m_strLayer, c.chosen);
            EXPECT_EQ(kind == 0 ? machining.m_nLayerIndex : upload.m_nLayerIndex, c.chosenIndex);
            EXPECT_EQ(kind == 0 ? machining.m_strLayerList : upload.m_strLayerList, "");
        }
    }
}

TEST(CamDialogs, NumberThatDoesNotParseKeepsTheDialogOpen)
{
    struct Case {
        unsigned dialog;
        unsigned field;
    } const cases[] = {{IDD_MACHINING_DATA, IDC_MD_TOOL_DIAMETER},
                       {IDD_MACHINING_DATA, IDC_MD_DEPTH},
                       {IDD_CAM_UPLOAD, IDC_CU_START_ADDRESS},
                       {IDD_CAM_UPLOAD, IDC_CU_LIFT_HEIGHT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        CMachiningDataDlg machining;
        CCamUploadDlg upload;
        CDialog& dlg = c.dialog == IDD_MACHINING_DATA ? static_cast<CDialog&>(machining) : upload;
        const std::size_t boxes = TestHost().Boxes().size();
        bool stayedOpen = false;
        TestHost().QueueDialog(
            [&](CDialog& shown) {
                shown.SetDlgItemText(c.field, "abc");
                shown.PressButton(IDOK);
                stayedOpen = shown.IsWindow();
                shown.PressButton(IDCANCEL);
            },
            c.dialog);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(TestHost().Boxes().size(), boxes + 1);
    }
}

TEST(CamDialogs, MachiningDataStayForTheNextRun)
{
    g_MachiningDataDlg.m_strLayerList = "TOP;BOT;";
    TestHost().QueueDialog([](CDialog& dlg) {
        dlg.SetCurSel(IDC_MD_LAYER, 1);
        dlg.SetDlgItemText(IDC_MD_DEPTH, "0.15");
        dlg.SetDlgItemText(IDC_MD_TOOL_DIAMETER, "0.3");
        dlg.SetDlgItemText(IDC_MD_SPEED, "12");
        dlg.CheckDlgButton(IDC_MD_TOOL_CHANGE, 1);
        dlg.CheckDlgButton(IDC_MD_SPINDLE_ON, 1);
        dlg.PressButton(IDOK);
    }, IDD_MACHINING_DATA);
    ASSERT_EQ(g_MachiningDataDlg.DoModal(), IDOK);
    EXPECT_EQ(g_MachiningDataDlg.m_strLayer, "TOP");
    EXPECT_FLOAT_EQ(g_MachiningDataDlg.m_fDepth, 0.15f);
    EXPECT_FLOAT_EQ(g_MachiningDataDlg.m_fToolDiameter, 0.3f);
    EXPECT_FLOAT_EQ(g_MachiningDataDlg.m_fSpeed, 12.0f);

    g_MachiningDataDlg.m_strLayerList = "TOP;BOT;";
    TestHost().QueueDialog([](CDialog& dlg) {
        EXPECT_EQ(dlg.GetCurSel(IDC_MD_LAYER), 1);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_MD_DEPTH), "0.15");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_MD_TOOL_DIAMETER), "0.3");
        EXPECT_EQ(dlg.GetDlgItemText(IDC_MD_SPEED), "12");
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MD_TOOL_CHANGE), 1);
        EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MD_SPINDLE_ON), 1);
        dlg.PressButton(IDCANCEL);
    }, IDD_MACHINING_DATA);
    EXPECT_EQ(g_MachiningDataDlg.DoModal(), IDCANCEL);
}

TEST(CamDialogs, UploadValuesPersistInTheRegistry)
{
    CCamUploadDlg first;
    first.LoadRegistryValues();   // nothing stored yet: the values stay
    EXPECT_EQ(first.m_nLayerIndex, 0);
    EXPECT_EQ(first.m_strFeedSpeed, "");
    first.m_strLayerList = "A;B;C;";
    TestHost().QueueDialog([](CDialog& dlg) {
        dlg.SetCurSel(IDC_CU_LAYER, 2);
        dlg.SetDlgItemText(IDC_CU_FEED_SPEED, "7.5");
        dlg.SetDlgItemText(IDC_CU_LIFT_HEIGHT, "2");
        dlg.SetDlgItemText(IDC_CU_PLUNGE_HEIGHT, "0.5");
        dlg.SetDlgItemText(IDC_CU_TOOL_DIAMETER, "0.8");
        dlg.SetDlgItemText(IDC_CU_START_ADDRESS, "4096");
        dlg.SetDlgItemText(IDC_CU_MEMO, "front panel");
        dlg.CheckDlgButton(IDC_CU_AUTO_RUN, 1);
        dlg.PressButton(IDOK);
    }, IDD_CAM_UPLOAD);
    ASSERT_EQ(first.DoModal(), IDOK);
    EXPECT_EQ(first.m_strLayer, "C");
    first.StoreRegistryValues();

    CCamUploadDlg second;
    second.LoadRegistryValues();
    EXPECT_EQ(second.m_strFeedSpeed, "7.5");
    EXPECT_FLOAT_EQ(second.m_fLiftHeight, 2.0f);
    EXPECT_FLOAT_EQ(second.m_fPlungeHeight, 0.5f);
    EXPECT_FLOAT_EQ(second.m_fToolDiameter, 0.8f);
    EXPECT_EQ(second.m_nStartAddress, 4096);
    EXPECT_EQ(second.m_strMemo, "front panel");
    EXPECT_EQ(second.m_bAutoRun, 1);
    EXPECT_EQ(second.m_nLayerIndex, 2);
    second.m_strLayerList = "A;B;C;";
    TestHost().QueueDialog([](CDialog& dlg) {
        EXPECT_EQ(dlg.GetCurSel(IDC_CU_LAYER), 2);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_CU_MEMO), "front panel");
        dlg.PressButton(IDCANCEL);
    }, IDD_CAM_UPLOAD);
    EXPECT_EQ(second.DoModal(), IDCANCEL);
}

TEST(CamDialogs, TextInputGivesTheTypedLine)
{
    CTextInputDlg dlg;
    TestHost().QueueDialog([](CDialog& shown) {
        shown.SetDlgItemText(IDC_TI_TEXT, "ORDUNE 1.0");
        shown.PressButton(IDOK);
    }, IDD_TEXT_INPUT);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strText, "ORDUNE 1.0");
}
