// The automatic layout through the view and the block menu of the layout
// stage: arming, cancelling and the tool-height detection point.
#include "view_fixture.h"

#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"

#include <string>

namespace {

class BlockCommandTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        g_BoardMinX = 0;
        g_BoardMinY = 0;
        g_BoardMaxX = 2000;
        g_BoardMaxY = 1000;
        g_TableWidth = 12204;
        g_TableHeight = 7874;
    }
    // Runs the automatic layout choosing x by y copies; returns the maxima
    // the dialog offered.
    POINT AutoLayout(const char* x, const char* y)
    {
        POINT offered{0, 0};
        TestHost().QueueDialog(
            [&](CDialog& d) {
                offered = POINT{d.GetCount(IDC_AUTO_LAYOUT_X), d.GetCount(IDC_AUTO_LAYOUT_Y)};
                d.SetDlgItemText(IDC_AUTO_LAYOUT_X, x);
                d.SetDlgItemText(IDC_AUTO_LAYOUT_Y, y);
                d.PressButton(IDOK);
            },
            IDD_AUTO_LAYOUT);
        view->m_Commands.Run(ID_AUTO_LAYOUT);
        return offered;
    }
};

}  // namespace

TEST_F(BlockCommandTest, AutoLayoutWithNoBlockPlacesTheFirstAndKeepsItsTurn)
{
    ASSERT_TRUE(view->m_BlockList.empty());
    doc->m_ResumeProjectSaved = 1;
    const POINT offered = AutoLayout("2", "1");
    EXPECT_EQ(offered.x, 5);
    EXPECT_EQ(offered.y, 7);
    ASSERT_EQ(view->m_BlockList.size(), 2u);
    EXPECT_EQ(view->m_OutlinePoints.size(), 7u);
    EXPECT_EQ(view->m_BlockList[0]->m_Centre.x, 6102.0 - 2050 + 1000 + 25);
    EXPECT_EQ(view->m_BlockList[0]->m_Sign.y, -1);
    EXPECT_EQ(doc->m_ResumeProjectSaved, 0);

    // A turned first copy: the maxima exchange their pitches.
    view->m_BlockList.front()->m_Swap = 1;
    const POINT turned = AutoLayout("0", "3");
    EXPECT_EQ(turned.x, 11);
    EXPECT_EQ(turned.y, 3);
    ASSERT_EQ(view->m_BlockList.size(), 1u);   // a count of 0 gives one copy
    EXPECT_EQ(view->m_BlockList.front()->m_Swap, 1u);
}

TEST_F(BlockCommandTest, ArmingAndCancellingTheBlockModes)
{
    struct Case {
        unsigned id;
        int CVelmView::*mode;
        unsigned prompt;   // 0: the command writes no prompt
    } cases[] = {
        {ID_BLOCK_COPY, &CVelmView::m_BlockCopyMode, IDS_COPY},
        {ID_BLOCK_DELETE, &CVelmView::m_BlockDeleteMode, IDS_DELETE},
        {ID_BLOCK_MOVE, &CVelmView::m_BlockMoveMode, IDS_MOVE},
        {ID_BLOCK_MIRROR_X, &CVelmView::m_BlockMirrorXMode, IDS_MIRROR},
        {ID_BLOCK_MIRROR_Y, &CVelmView::m_BlockMirrorYMode, IDS_MIRROR},
        {ID_BLOCK_ROTATE, &CVelmView::m_BlockRotateMode, IDS_ROTATE},
        {ID_SELECT_MACHINING_DATA, &CVelmView::m_SelectDataMode, 0},
        {ID_SELECT_MACHINING_BLOCK, &CVelmView::m_SelectBlockMode, 0},
        {ID_BLOCK_COORDINATES, &CVelmView::m_BlockCoordsMode, 0},
        {ID_DRILL_COORDINATES, &CVelmView::m_DrillCoordMode, 0},
    };
    view->OnBlockLayout();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        g_StatusText.clear();
        doc->m_ResumeProjectSaved = 1;
        view->m_Commands.Run(c.id);
        view->m_Commands.Run(c.id);
        EXPECT_EQ((*view).*c.mode, 1);
        if (c.prompt) {
            EXPECT_EQ(g_StatusText, LoadResString(c.prompt));
            EXPECT_EQ(doc->m_ResumeProjectSaved, 0);
        }
    }
    view->m_EditList.push_back(view->m_BlockList.front().get());
    view->m_Commands.Run(ID_LAYOUT_CANCEL);
    for (const auto& c : cases)
        EXPECT_EQ((*view).*c.mode, 0) << c.id;
    EXPECT_TRUE(view->m_EditList.empty());
    EXPECT_EQ(view->m_BlockList.size(), 1u);   // the copies stay
    EXPECT_TRUE(g_StatusText.empty());
}

TEST_F(BlockCommandTest, ToolDetectPointTypedSavedAndLoaded)
{
    g_UnitSelector = 1;   // mil
    doc->m_DetectPosX = 100.0;
    doc->m_DetectPosY = 200.0;
    // Nothing stored yet: the point stays.
    view->m_Commands.Run(ID_TOOL_DETECT_LOAD);
    EXPECT_EQ(doc->m_DetectPosX, 100.0);
    EXPECT_EQ(doc->m_DetectPosY, 200.0);

    TestHost().QueueDialog(
        [](CDialog& d) {
            d.SetDlgItemText(IDC_COORD_X, "1500");
            d.SetDlgItemText(IDC_COORD_Y, "-250");
            d.PressButton(IDOK);
        },
        IDD_COORD_INPUT);
    view->m_Commands.Run(ID_TOOL_DETECT_INPUT);
    EXPECT_EQ(doc->m_DetectPosX, 1500.0);
    EXPECT_EQ(doc->m_DetectPosY, -250.0);
    view->m_Commands.Run(ID_TOOL_DETECT_SAVE);
    doc->m_DetectPosX = doc->m_DetectPosY = 0.0;
    view->m_Commands.Run(ID_TOOL_DETECT_LOAD);
    EXPECT_EQ(doc->m_DetectPosX, 1500.0);
    EXPECT_EQ(doc->m_DetectPosY, -250.0);
}

TEST_F(BlockCommandTest, EnteringThePartialStageClearsTheExcludedMarks)
{
    auto segment = std::make_unique<CGridPathSegment>();
    segment->doneMark = 1;
    doc->m_GridPathList.push_back(std::move(segment));
    AddClearStroke(*AddClearRegion(doc->m_ClearRegionList), 0, 0, 0, 0)->doneMark = 1;
    g_StatusText = "x";
    view->m_Commands.Run(ID_ENTER_PARTIAL_STAGE);
    EXPECT_EQ(doc->m_WorkStage, 4);
    EXPECT_EQ(view->m_SubMode, 5);
    EXPECT_EQ(doc->m_LayoutDone, 1);
    EXPECT_TRUE(g_StatusText.empty());
    EXPECT_EQ(doc->m_GridPathList.front()->doneMark, 0u);
    EXPECT_EQ(doc->m_ClearRegionList.front()->strokes.front()->doneMark, 0);
}
