// The path-calculation command: the dialog's choices, the width check, the
// layers each choice leaves in their places, and what is stored.
#include "document/velm_doc.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/registry.h"
#include "settings/work_order_dlg.h"
#include "support/planning_fixtures.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A one-sided job on the component side: two pads, a track, a lone pad, and
// a route layer that the calculation leaves alone.
void OneSidedJob(CVelmDoc& doc)
{
    g_CurrentSide = 0;
    g_HasComponentSide = 1;
    g_HasSolderSide = 0;
    SetExtent(0, 0, 600, 400);
    AddFlash(doc.m_FlashList, 150, 200, 30);
    AddFlash(doc.m_FlashList, 450, 200, 30);
    AddTrack(doc.m_TrackList, 0, 150, 200, 450, 200, 12);
    AddFlash(doc.m_FlashList, 300, 330, 25);
    NumberRecords(doc);
    doc.AddPathLayer("ROUTE", 1.0f, 0.0f, 5, 0);
}

// The operator's choice of layers in the dialog, then OK.
void Choose(CDialog& d, int t1Iso, int t1Clear, int t2Iso, int t2Clear, int t3Clear)
{
    d.CheckDlgButton(IDC_PC_T1_ISO, t1Iso);
    d.CheckDlgButton(IDC_PC_T1_CLEAR, t1Clear);
    d.CheckDlgButton(IDC_PC_T2_ISO, t2Iso);
    d.CheckDlgButton(IDC_PC_T2_CLEAR, t2Clear);
    d.CheckDlgButton(IDC_PC_T3_CLEAR, t3Clear);
    d.PressButton(IDOK);
}

bool BoxShown(const std::string& text)
{
    for (const std::string& shown : TestHost().BoxTexts())
        if (shown == text)
            return true;
    return false;
}

}  // namespace

TEST(PathCalculation, EachChoiceLeavesItsLayersInTheirPlaces)
{
    struct Case {
        const char* name;
        int t1Iso, t1Clear, t2Iso, t2Clear, t3Clear;
        // Heads and tails of the list: the route layer, there before, marks
        // which layers were put at the tail.
        std::vector<std::string> layers;
        bool layout;
    } cases[] = {
        {"everything", 1, 1, 1, 1, 1,
         {"T1ISO", "T1PATH", "T1MIL", "T2PATH", "T3MIL", "T3PATH", "T2PATH", "ROUTE", "T2ISO",
          "T2MIL"},
         true},
        {"tool 1 isolation alone", 1, 0, 0, 0, 0, {"T1PATH", "T1ISO", "ROUTE"}, false},
        {"tool 1 clearing alone", 0, 1, 0, 0, 0, {"ROUTE"}, false},
        {"tools 2 and 3 clearing", 0, 0, 0, 1, 1,
         {"T2PATH", "T3MIL", "T3PATH", "ROUTE", "T2MIL"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CVelmDoc doc;
        OneSidedJob(doc);
        bool laidOut = false;
        doc.m_ViewHooks.blockLayout = [&] { laidOut = true; };
        TestHost().QueueDialog(
            [&](CDialog& d) { Choose(d, c.t1Iso, c.t1Clear, c.t2Iso, c.t2Clear, c.t3Clear); },
            IDD_PATH_CALC);
        doc.OnPathCalculation();
        EXPECT_EQ(LayerNames(doc), c.layers);
        EXPECT_EQ(laidOut, c.layout);
        EXPECT_TRUE(BoxShown(LoadResString(IDS_PATHS_DONE)));
        EXPECT_EQ(doc.m_T1Step, 2);
        float stored = 0.0f;
        RegGetFloat("Tool1Size", stored);
        EXPECT_FLOAT_EQ(stored, doc.m_ToolWidth1);
    }
}

// T3 narrower than T2: told, nothing stored, no layer touched.
TEST(PathCalculation, WidthsOutOfOrderAreRefused)
{
    CVelmDoc doc;
    OneSidedJob(doc);
    doc.AddPathLayer("T1ISO", 7.874f, 20.0f, 0, 0xAAAADC);
    TestHost().QueueDialog(
        [](CDialog& d) {
            d.SetDlgItemText(IDC_PC_T3_WIDTH, "0.3");
            d.TextEdited(IDC_PC_T3_WIDTH);
            d.PressButton(IDOK);
        },
        IDD_PATH_CALC);
    doc.OnPathCalculation();
    EXPECT_TRUE(BoxShown("Error: T3 > T2 > t1"));
    EXPECT_EQ(LayerNames(doc), (std::vector<std::string>{"T1ISO", "ROUTE"}));
    float stored = 0.0f;
    RegGetFloat("Tool1Size", stored);
    EXPECT_EQ(stored, 0.0f);
    EXPECT_FALSE(BoxShown(LoadResString(IDS_PATHS_DONE)));
}

TEST(PathCalculation, CancelledDialogChangesNothingAndTheCommandIsReachable)
{
    CVelmDoc doc;
    OneSidedJob(doc);
    const float width = doc.m_ToolWidth2;
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDCANCEL); }, IDD_PATH_CALC);
    EXPECT_TRUE(doc.OnCmdMsg(ID_PATH_CALCULATION));
    EXPECT_EQ(LayerNames(doc), (std::vector<std::string>{"ROUTE"}));
    EXPECT_EQ(doc.m_ToolWidth2, width);
    EXPECT_TRUE(TestHost().BoxTexts().empty());
}
