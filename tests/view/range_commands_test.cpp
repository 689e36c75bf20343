// The range, trim and reset commands of the path editing through the
// view's command table: toggling, retargeting, the layers they show, the
// modes they exclude, and the enable and check of their items.
#include "view_fixture.h"

#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "ui/cmd_ui.h"

#include <array>
#include <string>

namespace {

struct CRangeItem {
    unsigned id;
    const char* layer;
};

const CRangeItem kRanges[] = {
    {ID_ADD_T1_CLEAR_RANGE, "T1MIL"}, {ID_ADD_T2_CLEAR_RANGE, "T2MIL"},
    {ID_ADD_T3_CLEAR_RANGE, "T3MIL"}, {ID_ADD_T1_ISO_RANGE, "T1ISO"},
    {ID_ADD_T2_ISO_RANGE, "T2ISO"},   {ID_ADD_T4_ISO_RANGE, "T4ISO"},
};

class RangeCommands : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        BuildBoard();
        doc->m_WorkStage = 2;
    }
    void Run(unsigned id) { ASSERT_TRUE(view->m_Commands.Run(id)) << id; }
    CCmdUI Update(unsigned id)
    {
        CCmdUI ui(id);
        EXPECT_TRUE(view->m_Commands.Update(ui)) << id;
        return ui;
    }
    // The six tool-layer flags in the order of kRanges.
    static std::array<int, 6> Shown()
    {
        return {g_ShowLayerT1Mil, g_ShowLayerT2Mil, g_ShowLayerT3Mil,
                g_ShowLayerT1Iso, g_ShowLayerT2Iso, g_ShowLayerT4Iso};
    }
};

}  // namespace

TEST_F(RangeCommands, EachRangeArmsItsLayerShowsOnlyItAndChecksOnlyItsItem)
{
    for (std::size_t i = 0; i < std::size(kRanges); ++i) {
        SCOPED_TRACE(kRanges[i].layer);
        doc->m_WorkStage = 2;
        view->m_RangeMode = 0;
        view->m_TrimMode = 1;
        view->m_MoveMode = 1;
        g_ShowLayerCopper = 1;
        Run(kRanges[i].id);
        EXPECT_EQ(doc->m_WorkStage, 1);
        EXPECT_EQ(view->m_RangeMode, 1);
        EXPECT_EQ(view->m_TrimMode, 0);
        EXPECT_EQ(view->m_MoveMode, 0);
        EXPECT_EQ(g_RangeLayerName, kRanges[i].layer);
        std::array<int, 6> want{};
        want[i] = 1;
        EXPECT_EQ(Shown(), want);
        EXPECT_EQ(g_ShowLayerCopper, 1);   // only the six tool layers change
        for (std::size_t j = 0; j < std::size(kRanges); ++j) {
            const CCmdUI ui = Update(kRanges[j].id);
            EXPECT_TRUE(ui.m_Enabled) << kRanges[j].layer;
            EXPECT_EQ(ui.m_Check, i == j ? 1 : 0) << kRanges[j].layer;
        }
    }
}

TEST_F(RangeCommands, TheSameRangeAgainSwitchesOffAnotherRetargets)
{
    Run(ID_ADD_T1_CLEAR_RANGE);
    const float scale = view->m_Scale;
    Run(ID_ADD_T2_CLEAR_RANGE);
    EXPECT_EQ(view->m_RangeMode, 1);
    EXPECT_EQ(g_RangeLayerName, "T2MIL");
    EXPECT_EQ(Shown(), (std::array<int, 6>{0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Update(ID_ADD_T1_CLEAR_RANGE).m_Check, 0);
    EXPECT_EQ(Update(ID_ADD_T2_CLEAR_RANGE).m_Check, 1);
    EXPECT_EQ(view->m_Scale, scale);   // already in the edit stage: no new fit

    Run(ID_ADD_T2_CLEAR_RANGE);
    EXPECT_EQ(view->m_RangeMode, 0);
    EXPECT_EQ(g_RangeLayerName, "");
    EXPECT_EQ(Update(ID_ADD_T2_CLEAR_RANGE).m_Check, 0);
    // The layers stay as the range left them.
    EXPECT_EQ(Shown(), (std::array<int, 6>{0, 1, 0, 0, 0, 0}));
}

TEST_F(RangeCommands, TheTwoTrimsShareOneModeThatExcludesTheRange)
{
    Run(ID_ADD_T1_ISO_RANGE);
    view->m_MoveMode = 1;
    Run(ID_TRIM_SINGLE_PATH);
    EXPECT_EQ(view->m_TrimMode, 1);
    EXPECT_EQ(view->m_TrimBlockMode, 0);
    EXPECT_EQ(view->m_RangeMode, 0);
    EXPECT_EQ(view->m_MoveMode, 0);
    EXPECT_EQ(g_RangeLayerName, "");
    EXPECT_EQ(Update(ID_ADD_T1_ISO_RANGE).m_Check, 0);
    EXPECT_EQ(Update(ID_TRIM_SINGLE_PATH).m_Check, 1);
    EXPECT_EQ(Update(ID_TRIM_BLOCK_PATH).m_Check, 0);

    // The block trim while the single trim is on switches the trim off.
    Run(ID_TRIM_BLOCK_PATH);
    EXPECT_EQ(view->m_TrimMode, 0);
    EXPECT_EQ(Update(ID_TRIM_SINGLE_PATH).m_Check, 0);
    EXPECT_EQ(Update(ID_TRIM_BLOCK_PATH).m_Check, 0);

    doc->m_WorkStage = 3;
    Run(ID_TRIM_BLOCK_PATH);
    EXPECT_EQ(doc->m_WorkStage, 1);
    EXPECT_EQ(view->m_TrimMode, 1);
    EXPECT_EQ(view->m_TrimBlockMode, 1);
    EXPECT_EQ(Update(ID_TRIM_BLOCK_PATH).m_Check, 1);
    EXPECT_EQ(Update(ID_TRIM_SINGLE_PATH).m_Check, 0);

    // A range armed now ends the trim.
    Run(ID_ADD_T3_CLEAR_RANGE);
    EXPECT_EQ(view->m_TrimMode, 0);
    EXPECT_EQ(view->m_RangeMode, 1);
}

TEST_F(RangeCommands, TheItemsAreEnabledOnlyInTheEditStage)
{
    const unsigned items[] = {ID_ADD_T1_CLEAR_RANGE, ID_ADD_T2_CLEAR_RANGE, ID_ADD_T3_CLEAR_RANGE,
                              ID_ADD_T1_ISO_RANGE,   ID_ADD_T2_ISO_RANGE,   ID_ADD_T4_ISO_RANGE,
                              ID_TRIM_SINGLE_PATH,   ID_TRIM_BLOCK_PATH};
    for (int stage = 0; stage <= 5; ++stage) {
        doc->m_WorkStage = std::uint8_t(stage);
        for (unsigned id : items)
            EXPECT_EQ(Update(id).m_Enabled, stage == 1) << id << " stage " << stage;
    }
}

TEST_F(RangeCommands, TheResetsClearTheExclusionMarksAndArmTheirModes)
{
    for (int i = 0; i < 2; ++i) {
        auto segment = std::make_unique<CGridPathSegment>();
        segment->doneMark = 1;
        doc->m_GridPathList.push_back(std::move(segment));
    }
    doc->m_ClearRegionList.front()->strokes.front()->doneMark = 1;

    Run(ID_RESET_ISO_DONE);
    for (const auto& segment : doc->m_GridPathList)
        EXPECT_EQ(segment->doneMark, 0u);
    EXPECT_EQ(view->m_HideRoute, 1);
    EXPECT_EQ(view->m_TrimMode, 1);
    EXPECT_EQ(doc->m_ClearRegionList.front()->strokes.front()->doneMark, 1);

    Run(ID_RESET_CLEAR_DONE);
    EXPECT_EQ(doc->m_ClearRegionList.front()->strokes.front()->doneMark, 0);
    EXPECT_EQ(view->m_ResetClearMode, 1);

    view->m_HideRoute = 0;
    view->m_MoveMode = 1;
    Run(ID_PATH_STAGE_HIDE_ROUTE);
    EXPECT_EQ(view->m_HideRoute, 1);
    EXPECT_EQ(view->m_RangeMode, 1);
    EXPECT_EQ(view->m_MoveMode, 0);
}
