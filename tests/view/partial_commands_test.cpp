// Partial machining from the view: the clearing and outline range resumes
// (the range proposed from the record the runner reached, the records
// outside it marked to be left out, Cancel changing nothing), the picking
// sub-modes with their zoom on a change only, select and unselect all, and
// the stage items of the document.
#include "view_fixture.h"

#include "platform/host.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/registry.h"
#include "support/scripted_host.h"
#include "ui/cmd_ui.h"
#include "ui/command_router.h"

#include <string>
#include <vector>

namespace {

class PartialCommandsTest : public ViewTest {
protected:
    // `counts` regions with that many strokes each, every stroke included.
    void MakeStrokes(std::vector<int> counts)
    {
        doc->m_ClearRegionList.clear();
        for (int count : counts) {
            auto region = std::make_unique<CClearRegion>();
            for (int i = 0; i < count; ++i)
                AddTail(region->strokes, std::make_unique<CClearStroke>());
            AddTail(doc->m_ClearRegionList, std::move(region));
        }
    }
    std::vector<int> SkippedStrokes()
    {
        std::vector<int> numbers;
        int number = 0;
        for (const auto& region : doc->m_ClearRegionList)
            for (const auto& stroke : region->strokes) {
                ++number;
                if (stroke->doneMark)
                    numbers.push_back(number);
            }
        return numbers;
    }
    // Answers the range dialog: records what it proposed, types a range
    // (or none) and presses the button.
    void AnswerRange(std::string from, std::string to, int button)
    {
        TestHost().QueueDialog(
            [this, from, to, button](CDialog& dlg) {
                proposed = {dlg.GetDlgItemText(IDC_WR_TOTAL), dlg.GetDlgItemText(IDC_WR_FROM),
                            dlg.GetDlgItemText(IDC_WR_TO)};
                if (!from.empty())
                    dlg.SetDlgItemText(IDC_WR_FROM, from);
                if (!to.empty())
                    dlg.SetDlgItemText(IDC_WR_TO, to);
                dlg.PressButton(button);
            },
            IDD_WORK_RANGE);
    }
    std::vector<std::string> proposed;
};

TEST_F(PartialCommandsTest, ClearingRangeResume)
{
    struct Case {
        const char* name;
        std::int32_t now, to;  // stored; -1 leaves the value unset (first case only)
        std::string typedFrom, typedTo;
        std::vector<std::string> proposed;  // total, from, to
        std::vector<int> skipped;
    };
    std::vector<int> none;
    std::vector<int> upTo56;
    for (int i = 1; i <= 56; ++i)
        upTo56.push_back(i);
    std::vector<int> all;
    for (int i = 1; i <= 120; ++i)
        all.push_back(i);
    const Case cases[] = {
        {"nothing stored: the whole range", -1, -1, "", "", {"120", "0", "120"}, none},
        {"reached 57, no end stored", 57, 0, "", "", {"120", "57", "120"}, upTo56},
        {"an end stored", 3, 110, "", "", {"120", "3", "110"}, {1, 2, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120}},
        {"from beyond to skips everything", 0, 0, "100", "50", {"120", "0", "120"}, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeStrokes({50, 0, 70});
        if (c.now >= 0)
            RegSetLongValue("MILL_Now", c.now);
        if (c.to >= 0)
            RegSetLongValue("MILL_TO", c.to);
        view->m_MillRangeDlg.m_From = view->m_MillRangeDlg.m_To = 0;
        AnswerRange(c.typedFrom, c.typedTo, IDOK);
        ASSERT_TRUE(CommandRouter().Dispatch(ID_PARTIAL_CLEARING_RESUME));
        EXPECT_EQ(proposed, c.proposed);
        EXPECT_EQ(SkippedStrokes(), c.skipped);
        std::int32_t from = -5, to = -5;
        RegGetLong("MILL_FROM", from);
        RegGetLong("mill_to", to);  // one value whatever the case of its name
        EXPECT_EQ(std::to_string(from), c.typedFrom.empty() ? c.proposed[1] : c.typedFrom);
        EXPECT_EQ(std::to_string(to), c.typedTo.empty() ? c.proposed[2] : c.typedTo);
        EXPECT_EQ(view->m_SubMode, 3);
        EXPECT_EQ(view->m_PickFlags[3], 0);
    }
}

TEST_F(PartialCommandsTest, CancelChangesNoMarkAndNoValue)
{
    MakeStrokes({4});
    doc->m_ClearRegionList.front()->strokes.front()->doneMark = 1;
    RegSetLongValue("MILL_Now", 3);
    RegSetLongValue("MILL_TO", 0);
    RegSetLongValue("MILL_FROM", 2);
    view->m_SubMode = 1;
    AnswerRange("2", "2", IDCANCEL);
    CommandRouter().Dispatch(ID_PARTIAL_CLEARING_RESUME);
    EXPECT_EQ(SkippedStrokes(), std::vector<int>{1});
    std::int32_t from = 0, to = -1;
    RegGetLong("MILL_FROM", from);
    RegGetLong("MILL_TO", to);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 0);
    EXPECT_EQ(view->m_SubMode, 1);
}

// The outline's records are the segments of the shown route layers, layer
// after layer; a layer of another side or a hidden one is no record.
TEST_F(PartialCommandsTest, OutlineRangeMarksTheRouteRecords)
{
    g_ShowLayerRoute = 1;
    g_ShowLayerT1Iso = 0;
    doc->m_PathLayerList.clear();
    std::vector<CPathSegment*> records;
    const struct {
        const char* name;
        int side, segments;
        bool record;
    } layers[] = {{"ROUTE1.5", 5, 4, true}, {"T1ISO", 0, 3, false}, {"T1ISO", 5, 3, false},
                  {"ROUTE2", 5, 2, true}};
    for (const auto& l : layers) {
        auto layer = std::make_unique<CPathRecord>();
        layer->name = l.name;
        layer->side = l.side;
        for (int i = 0; i < l.segments; ++i) {
            CPathSegment* segment = AddTail(layer->items, std::make_unique<CPathSegment>());
            if (l.record)
                records.push_back(segment);
        }
        AddTail(doc->m_PathLayerList, std::move(layer));
    }
    RegSetLongValue("OUTLINE_NOW", 4);
    RegSetLongValue("OUTLINE_TO", 0);
    view->m_BlockPicking = 1;
    AnswerRange("", "5", IDOK);
    ASSERT_TRUE(CommandRouter().Dispatch(ID_PARTIAL_OUTLINE_RESUME));
    EXPECT_EQ(proposed, (std::vector<std::string>{"6", "4", "6"}));
    std::vector<int> skips;
    for (const CPathSegment* s : records)
        skips.push_back(s->skip);
    EXPECT_EQ(skips, (std::vector<int>{1, 1, 1, 0, 0, 1}));
    for (const auto& layer : doc->m_PathLayerList) {
        if (layer->name != "T1ISO")
            continue;
        for (const auto& s : layer->items)
            EXPECT_EQ(s->skip, 0);
    }
    std::int32_t from = 0, to = 0;
    RegGetLong("OUTLINE_From", from);
    RegGetLong("OUTLINE_To", to);
    EXPECT_EQ(from, 4);
    EXPECT_EQ(to, 5);
    EXPECT_EQ(view->m_SubMode, 2);
    EXPECT_EQ(view->m_BlockPicking, 0);
}

// Select all selects every copy and still asks for the areas; unselect all
// clears them and hides the work area; a pick command zooms to fit only
// when its sub-mode changed.
TEST_F(PartialCommandsTest, SelectionAndPickModes)
{
    BuildBoard();
    ASSERT_FALSE(view->m_BlockList.empty());
    TestHost().QueueAnswer(IDOK);
    CommandRouter().Dispatch(ID_PARTIAL_SELECT_ALL);
    for (const auto& block : view->m_BlockList)
        EXPECT_EQ(block->m_Selected, 1u);
    EXPECT_EQ(TestHost().BoxTexts().back(), "請用滑鼠點選欲加工的區域 !");
    EXPECT_EQ(view->m_PickFlags[0], 1);
    EXPECT_EQ(view->m_BlockPicking, 1);
    EXPECT_EQ(doc->m_ShowWorkArea, 0);

    CommandRouter().Dispatch(ID_PARTIAL_UNSELECT_ALL);
    for (const auto& block : view->m_BlockList)
        EXPECT_EQ(block->m_Selected, 0u);
    EXPECT_EQ(view->m_PickFlags[0], 0);

    view->m_Scale = 7.0f;
    CommandRouter().Dispatch(ID_PARTIAL_CLEARING_PICK);
    EXPECT_EQ(view->m_SubMode, 3);
    EXPECT_EQ(view->m_PickFlags[3], 1);
    EXPECT_NE(view->m_Scale, 7.0f);  // zoomed to fit
    view->m_Scale = 7.0f;
    CommandRouter().Dispatch(ID_PARTIAL_CLEARING_PICK);
    EXPECT_EQ(view->m_Scale, 7.0f);  // the same sub-mode again: no zoom
    CommandRouter().Dispatch(ID_PARTIAL_OUTLINE_PICK);
    EXPECT_EQ(view->m_SubMode, 2);
    EXPECT_EQ(view->m_PickFlags[2], 1);
}

TEST_F(PartialCommandsTest, StageItemsFollowTheLayoutAndTheStage)
{
    struct Case {
        int layout;
        std::uint8_t stage;
        bool partialEnabled, partialChecked, machiningChecked;
    } cases[] = {{0, 4, false, true, false}, {1, 3, true, false, false}, {1, 5, true, false, true}};
    for (const Case& c : cases) {
        doc->m_LayoutDone = c.layout;
        doc->m_WorkStage = c.stage;
        CCmdUI partial(ID_STAGE_PARTIAL);
        ASSERT_TRUE(doc->OnUpdateCmdUI(ID_STAGE_PARTIAL, partial));
        EXPECT_EQ(partial.m_Enabled, c.partialEnabled);
        EXPECT_EQ(partial.m_Check, c.partialChecked ? 1 : 0);
        CCmdUI machining(ID_STAGE_MACHINING);
        ASSERT_TRUE(doc->OnUpdateCmdUI(ID_STAGE_MACHINING, machining));
        EXPECT_EQ(machining.m_Check, c.machiningChecked ? 1 : 0);
    }
}

}  // namespace
