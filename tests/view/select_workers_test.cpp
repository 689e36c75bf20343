// Picking panel copies with the mouse and the block menu's edits carried out
// by the right click: copy and move with their placing phase, rotate,
// mirror, delete and mark; the layout-stage point picks; the picks of the
// partial-machining stage.
#include "view_fixture.h"

#include "editing/block_layout.h"
#include "geometry/registration.h"
#include "machining/probe_test_dlg.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "support/scripted_host.h"
#include "ui/edit_wnd.h"
#include "ui/line_store.h"

#include <string>

namespace {

// A 400 x 200 mil board placed twice, 100 mil apart; one pixel is one mil.
class SelectTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        g_BoardMinX = 0;
        g_BoardMinY = 0;
        g_BoardMaxX = 400;
        g_BoardMaxY = 200;
        g_TableWidth = 10000;
        g_TableHeight = 8000;
        doc->m_WorkStage = 3;
        for (POINT p : {POINT{-200, -100}, POINT{200, -100}, POINT{200, 100}, POINT{-200, 100},
                        POINT{-200, -100}})
            view->m_OutlinePoints.push_back(std::make_unique<POINT>(p));
        for (int i = 0; i < 2; ++i) {
            auto block = std::make_unique<CLayoutBlock>(100 + 500 * i, 100, 500 + 500 * i, 300);
            block->m_RefCentre = CDPoint(200, 100);
            block->m_Sign = POINT{1, -1};
            block->m_Outline = &view->m_OutlinePoints;
            view->m_BlockList.push_back(std::move(block));
        }
    }
    CLayoutBlock& Block(std::size_t i) { return *view->m_BlockList.at(i); }
    void Click(int x, int y)
    {
        view->OnLButtonDown(0, POINT{x, y});
        view->OnLButtonUp(0, POINT{x, y});
    }
    void Right(int x, int y) { view->OnRButtonDown(0, POINT{x, y}); }
};

void ExpectSameBlock(const CLayoutBlock& a, const CLayoutBlock& b)
{
    EXPECT_EQ(a.m_Swap, b.m_Swap);
    EXPECT_EQ(a.m_Sign.x, b.m_Sign.x);
    EXPECT_EQ(a.m_Sign.y, b.m_Sign.y);
    EXPECT_EQ(a.m_Centre, b.m_Centre);
    EXPECT_EQ(a.m_RefCentre, b.m_RefCentre);
    EXPECT_EQ(a.m_Extent.left, b.m_Extent.left);
    EXPECT_EQ(a.m_Extent.top, b.m_Extent.top);
    EXPECT_EQ(a.m_Extent.right, b.m_Extent.right);
    EXPECT_EQ(a.m_Extent.bottom, b.m_Extent.bottom);
    EXPECT_EQ(a.m_Outline, b.m_Outline);
}

const std::vector<int CVelmView::*> kSelectModes = {
    &CVelmView::m_BlockCopyMode,   &CVelmView::m_BlockDeleteMode,  &CVelmView::m_BlockMoveMode,
    &CVelmView::m_BlockRotateMode, &CVelmView::m_BlockMirrorXMode, &CVelmView::m_BlockMirrorYMode,
    &CVelmView::m_SelectBlockMode, &CVelmView::m_PressState,       &CVelmView::m_BlockPicking};

void ExpectFamilyEnded(const CVelmView& view)
{
    for (auto mode : kSelectModes)
        EXPECT_EQ(view.*mode, 0);
    EXPECT_TRUE(view.m_EditList.empty());
    EXPECT_TRUE(g_StatusText.empty());
}

}  // namespace

TEST_F(SelectTest, AClickPicksACopyOnceAndABandPicksTheCopiesWhoseCentresItHolds)
{
    view->m_Commands.Run(ID_BLOCK_DELETE);
    Click(300, 200);
    ASSERT_EQ(view->m_EditList.size(), 1u);
    EXPECT_EQ(view->m_PressState, 1);
    EXPECT_EQ(view->m_DragStart, CDPoint(300, 200));
    EXPECT_EQ(g_StatusText, FormatResText(IDS_SELECTED_COUNT, 1));
    // The picked frame is painted blue at once.
    EXPECT_FALSE(Calls().empty());

    // The second click on the same copy changes nothing.
    EXPECT_EQ(view->PickBlocksAt(CDPoint(150, 150)), 0);
    Click(310, 210);
    EXPECT_EQ(view->m_EditList.size(), 1u);

    // A band abandoned by the right button picks nothing.
    view->OnLButtonDown(0, POINT{50, 50});
    ASSERT_TRUE(view->BandActive());
    Right(1050, 350);
    EXPECT_EQ(view->m_EditList.size(), 1u);

    // A band over both centres adds only the copy not yet picked.
    const int beeps = TestHost().Beeps();
    view->OnLButtonDown(0, POINT{1050, 50});   // any corner order
    view->OnMouseMove(0, POINT{700, 300});
    view->OnLButtonUp(0, POINT{50, 350});
    ASSERT_EQ(view->m_EditList.size(), 2u);
    EXPECT_EQ(view->m_EditList[1], &Block(1));
    EXPECT_EQ(view->m_DragStart, CDPoint(800, 200));
    EXPECT_EQ(TestHost().Beeps(), beeps + 1);
    EXPECT_EQ(g_StatusText, FormatResText(IDS_SELECTED_COUNT, 2));
    EXPECT_EQ(view->m_SelectButtonHeld, 0);
}

TEST_F(SelectTest, TurningAndMirroringTwiceGiveTheCopyBack)
{
    struct Case {
        const char* what;
        unsigned command;
        std::uint32_t swap;
        POINT sign;
        RECT extent;
    } cases[] = {
        // A quarter turn: exchanged, x mirrored, the rectangle turned about
        // its middle.
        {"rotate", ID_BLOCK_ROTATE, 1, POINT{-1, -1}, RECT{200, 0, 400, 400}},
        // About the X axis the y sign turns, about the Y axis the x sign.
        {"mirror X", ID_BLOCK_MIRROR_X, 0, POINT{1, 1}, RECT{100, 100, 500, 300}},
        {"mirror Y", ID_BLOCK_MIRROR_Y, 0, POINT{-1, -1}, RECT{100, 100, 500, 300}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CLayoutBlock before = Block(0);
        const CLayoutBlock other = Block(1);
        view->m_Commands.Run(c.command);
        Click(300, 200);
        Right(300, 200);
        EXPECT_EQ(Block(0).m_Swap, c.swap);
        EXPECT_EQ(Block(0).m_Sign.x, c.sign.x);
        EXPECT_EQ(Block(0).m_Sign.y, c.sign.y);
        EXPECT_EQ(Block(0).m_Extent.left, c.extent.left);
        EXPECT_EQ(Block(0).m_Extent.top, c.extent.top);
        EXPECT_EQ(Block(0).m_Extent.right, c.extent.right);
        EXPECT_EQ(Block(0).m_Extent.bottom, c.extent.bottom);
        EXPECT_EQ(Block(0).m_Centre, before.m_Centre);
        ExpectFamilyEnded(*view);
        ExpectSameBlock(Block(1), other);

        // The turned copy is picked where it now lies.
        view->m_Commands.Run(c.command);
        Click(300, 350);
        ASSERT_EQ(view->m_EditList.size(), c.swap ? 1u : 0u);
        if (!c.swap)
            Click(300, 200);
        Right(300, 200);
        ExpectSameBlock(Block(0), before);
        ExpectFamilyEnded(*view);
    }
}

TEST_F(SelectTest, ACopyPlacedWithNoOffsetDuplicatesThePickedCopies)
{
    Block(0).m_Selected = 1;
    view->m_Commands.Run(ID_BLOCK_COPY);
    Click(300, 200);
    Right(300, 200);
    EXPECT_EQ(view->m_BlockPicking, 1);
    EXPECT_EQ(view->m_BlockCopyMode, 1);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_ASK_COPY_PLACE));
    ASSERT_EQ(view->m_BlockList.size(), 2u);

    // The frames follow the pointer, each drawn over the last to take it
    // away: a second move draws the old place and the new one.
    Calls().clear();
    view->OnMouseMove(0, POINT{340, 220});
    const std::size_t once = Calls().size();
    view->OnMouseMove(0, POINT{360, 220});
    EXPECT_GT(Calls().size() - once, once);

    view->OnLButtonDown(0, POINT{300, 200});
    ASSERT_EQ(view->m_BlockList.size(), 3u);
    CLayoutBlock expected = Block(0);
    expected.m_Selected = 0;
    ExpectSameBlock(Block(2), expected);
    EXPECT_EQ(Block(2).m_Selected, 0u);
    EXPECT_EQ(Block(0).m_Selected, 1u);
    ExpectFamilyEnded(*view);
    view->OnLButtonUp(0, POINT{300, 200});
    EXPECT_EQ(view->m_BlockList.size(), 3u);
}

// F1 while placing asks the offset instead of a click: the copies come
// unmarked, the moved copies keep their mark.
TEST_F(SelectTest, FOneCopiesOrMovesThePickedCopiesByATypedOffset)
{
    const int unit = g_UnitSelector;
    g_UnitSelector = 1;   // mil
    for (unsigned command : {ID_BLOCK_COPY, ID_BLOCK_MOVE}) {
        SCOPED_TRACE(command);
        while (view->m_BlockList.size() > 2)
            view->m_BlockList.pop_back();
        Block(0).m_Selected = 1;
        const CLayoutBlock before = Block(0);
        view->m_Commands.Run(command);
        Click(300, 200);
        Right(300, 200);
        ASSERT_EQ(view->m_BlockPicking, 1);
        TestHost().QueueDialog(
            [](CDialog& d) {
                d.SetDlgItemText(IDC_COORD_X, "250.7");
                d.SetDlgItemText(IDC_COORD_Y, "-40");
                d.PressButton(IDOK);
            },
            IDD_COORD_INPUT);
        view->OnKeyDown(VK_F1);
        const bool copy = command == ID_BLOCK_COPY;
        ASSERT_EQ(view->m_BlockList.size(), copy ? 3u : 2u);
        const CLayoutBlock& placed = copy ? Block(2) : Block(0);
        EXPECT_EQ(placed.m_Centre, before.m_Centre + CDPoint(250, -40));
        EXPECT_EQ(placed.m_Extent.left, before.m_Extent.left + 250);
        EXPECT_EQ(placed.m_Selected, copy ? 0u : 1u);
        EXPECT_EQ(Block(0).m_Selected, 1u);
        EXPECT_EQ(view->m_BlockCopyMode + view->m_BlockMoveMode + view->m_BlockPicking, 0);
        Block(0).m_Centre = before.m_Centre;
        Block(0).m_Extent = before.m_Extent;
    }
    g_UnitSelector = unit;
}

TEST_F(SelectTest, PlacingFollowsThePointerAndCtrlKeepsItOnTheAxis)
{
    struct Case {
        int ctrl;
        POINT to;       // release point, pixels
        CDPoint moved;  // mil
    } cases[] = {
        {0, POINT{330, 210}, CDPoint(30, 10)},
        {1, POINT{330, 210}, CDPoint(30, 0)},
        {1, POINT{310, 230}, CDPoint(0, 30)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ctrl);
        const CLayoutBlock before = Block(0);
        view->m_Commands.Run(ID_BLOCK_MOVE);
        Click(300, 200);
        Right(300, 200);
        EXPECT_EQ(g_StatusText, LoadResString(IDS_ASK_MOVE_PLACE));
        view->m_KeyCtrl = c.ctrl;
        view->OnMouseMove(0, c.to);
        EXPECT_EQ(g_StatusText, FormatResText(IDS_OFFSET_MIL, c.moved.x, c.moved.y));
        view->OnLButtonDown(0, c.to);
        EXPECT_EQ(Block(0).m_Centre, before.m_Centre);   // the release places
        view->m_KeyCtrl = c.ctrl;
        view->OnLButtonUp(0, c.to);
        EXPECT_EQ(Block(0).m_Centre, before.m_Centre + c.moved);
        EXPECT_EQ(Block(0).m_Extent.left, before.m_Extent.left + int(c.moved.x));
        EXPECT_EQ(Block(0).m_Extent.bottom, before.m_Extent.bottom + int(c.moved.y));
        ExpectFamilyEnded(*view);
        // Back for the next case.
        Block(0) = before;
    }

    // A move by dragging: press on the copy, drag, release.
    view->m_Commands.Run(ID_BLOCK_MOVE);
    view->OnLButtonDown(0, POINT{300, 200});
    view->OnMouseMove(0, POINT{330, 250});
    EXPECT_EQ(view->m_BlockPicking, 1);
    view->OnLButtonUp(0, POINT{350, 260});
    EXPECT_EQ(Block(0).m_Centre, CDPoint(350, 260));
    ExpectFamilyEnded(*view);

    // Moving the pointer after a plain click, button up, places nothing.
    view->m_Commands.Run(ID_BLOCK_MOVE);
    Click(800, 200);
    view->OnMouseMove(0, POINT{900, 300});
    EXPECT_EQ(view->m_BlockPicking, 0);
}

TEST_F(SelectTest, DeleteAsksOnlyWithCopiesPicked)
{
    struct Case {
        const char* what;
        bool pick;
        int answer;
        std::size_t left;
    } cases[] = {{"nothing picked", false, 0, 2}, {"no", true, IDNO, 2}, {"yes", true, IDYES, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CLayoutBlock* keep = &Block(1);
        view->m_Commands.Run(ID_BLOCK_DELETE);
        if (c.pick)
            Click(300, 200);
        else
            view->m_PressState = 1;   // a pick that found nothing to take
        const std::size_t boxes = TestHost().Boxes().size();
        if (c.answer)
            TestHost().QueueAnswer(c.answer);
        Right(300, 200);
        EXPECT_EQ(TestHost().Boxes().size() - boxes, c.pick ? 1u : 0u);
        ASSERT_EQ(view->m_BlockList.size(), c.left);
        EXPECT_EQ(view->m_BlockList.back().get(), keep);
        ExpectFamilyEnded(*view);
    }
}

TEST_F(SelectTest, EditsOfNoCopyOrOfAStaleEntryLeaveThePanelAlone)
{
    // An edit-list entry that is no copy of the panel: a record of another
    // editor, or a copy deleted since it was picked.
    CGridPathSegment stranger;
    const CLayoutBlock before = Block(0);
    for (auto edit : {&CVelmView::CopyEditListToBlocks, &CVelmView::MoveEditListBlocks}) {
        view->m_EditList = {&stranger};
        (view.get()->*edit)(50, 50);
        EXPECT_TRUE(view->m_EditList.empty());
        ASSERT_EQ(view->m_BlockList.size(), 2u);
        ExpectSameBlock(Block(0), before);
    }
    view->m_EditList = {&stranger};
    view->RotateEditListBlocks();
    view->FlipEditListBlocksX();
    view->FlipEditListBlocksY();
    ExpectSameBlock(Block(0), before);

    // A copy armed with only a stale entry picked has nothing to place: the
    // right click ends the mode.
    view->m_Commands.Run(ID_BLOCK_COPY);
    view->m_EditList = {&stranger};
    view->m_PressState = 1;
    Right(300, 200);
    ExpectFamilyEnded(*view);
}

TEST_F(SelectTest, AnEscapedPlacingDoesNotCarryIntoTheNextCopy)
{
    view->m_Commands.Run(ID_BLOCK_COPY);
    Click(300, 200);
    Right(300, 200);
    ASSERT_EQ(view->m_BlockPicking, 1);
    view->OnKeyDown(VK_ESCAPE);
    ASSERT_EQ(view->m_BlockCopyMode, 0);

    // Armed again: the first click picks, the second picks too; nothing is
    // copied before the right click.
    view->m_Commands.Run(ID_BLOCK_COPY);
    Click(300, 200);
    Click(800, 200);
    EXPECT_EQ(view->m_BlockList.size(), 2u);
    EXPECT_EQ(view->m_EditList.size(), 2u);
}

TEST_F(SelectTest, TheMachiningExtentCoversMirroredAndTurnedCopies)
{
    g_PulsesPerMil = 2.0f;
    g_TargetCount = 0;
    // Copy A mirrored 400 mil lower, then turn B.
    view->m_Commands.Run(ID_BLOCK_MIRROR_Y);
    Click(300, 200);
    Right(300, 200);
    view->m_Commands.Run(ID_BLOCK_COPY);
    Click(300, 200);
    Right(300, 200);
    view->OnLButtonDown(0, POINT{300, 600});
    view->OnLButtonUp(0, POINT{300, 600});
    view->m_Commands.Run(ID_BLOCK_ROTATE);
    Click(800, 200);
    Right(800, 200);
    ASSERT_EQ(view->m_BlockList.size(), 3u);
    EXPECT_EQ(Block(2).m_Sign.x, -1);

    g_ProbeTestDlg.m_Layout = &doc->m_PanelLayout;
    g_ProbeTestDlg.CalcLayoutExtent();
    const RECT e = g_LayoutExtent;
    // Every copy's rectangle lies inside, and the extent is no larger.
    for (const auto& block : view->m_BlockList) {
        const RECT& r = block->m_Extent;
        EXPECT_LE(e.left, 2 * r.left);
        EXPECT_LE(e.top, 2 * r.top);
        EXPECT_GE(e.right, 2 * r.right);
        EXPECT_GE(e.bottom, 2 * r.bottom);
    }
    EXPECT_EQ(e.left, 2 * 100);
    EXPECT_EQ(e.top, 0);
    EXPECT_EQ(e.right, 2 * 900);
    EXPECT_EQ(e.bottom, 2 * 700);
}

TEST_F(SelectTest, ThePointPicksOfTheLayoutStage)
{
    // A registration hole added by the mouse, in millimetres: 1234 and 567
    // mil, and its partner across the table at 8766 mil.
    view->m_Commands.Run(ID_LOCATING_HOLE_ADD);
    Click(1234, 567);
    const CLineEdit& text = g_HoleDataWnd.Edit();
    const int n = text.GetLineCount();
    ASSERT_GE(n, 2);
    std::vector<std::string> last;
    for (int i = 0; i < n; ++i)
        if (!text.GetLineText(i).empty())
            last.push_back(text.GetLineText(i));
    ASSERT_GE(last.size(), 2u);
    EXPECT_EQ(last[last.size() - 2], "X31.3436Y14.4018");
    EXPECT_EQ(last[last.size() - 1], "X222.6564Y14.4018");
    EXPECT_EQ(view->m_RegHoleAddMode, 1);   // it repeats
    view->m_RegHoleAddMode = view->m_PressState = 0;

    // The tool-height detection point, in whole mil.
    view->m_Commands.Run(ID_TOOL_DETECT_PICK);
    Click(123, 456);
    EXPECT_EQ(doc->m_DetectPosX, 123.0);
    EXPECT_EQ(doc->m_DetectPosY, 456.0);
    EXPECT_EQ(view->m_ToolDetectMode, 0);

    // A copy's centre typed: the rectangle follows; a click beside every
    // copy keeps the mode waiting.
    view->m_Commands.Run(ID_BLOCK_COORDINATES);
    Click(50, 50);
    EXPECT_EQ(view->m_BlockCoordsMode, 1);
    const int unit = g_UnitSelector;
    g_UnitSelector = 1;   // mil
    TestHost().QueueDialog(
        [](CDialog& d) {
            d.SetDlgItemText(IDC_COORD_X, "1000");
            d.SetDlgItemText(IDC_COORD_Y, "2000");
            d.PressButton(IDOK);
        },
        IDD_COORD_INPUT);
    Click(800, 200);
    EXPECT_EQ(Block(1).m_Centre, CDPoint(1000, 2000));
    EXPECT_EQ(Block(1).m_Extent.left, 800);
    EXPECT_EQ(Block(1).m_Extent.bottom, 2100);
    EXPECT_EQ(view->m_BlockCoordsMode, 0);

    // A hole's place typed: its copy moves so that the hole lands there.
    // The hole in the board's middle lies at copy 0's centre.
    g_HoleList.clear();
    AddDrillTool(g_HoleList, 1, 40, 1, {CDPoint(200, 100)});
    view->m_Commands.Run(ID_DRILL_COORDINATES);
    view->OnMouseMove(0, POINT{305, 195});   // the hole lights up under the pointer
    EXPECT_EQ(view->m_PanelHoleShown, 1);
    EXPECT_EQ(view->m_PanelHolePoint, CDPoint(300, 200));
    Click(450, 250);   // on the copy, beside the hole: nothing to place
    EXPECT_EQ(view->m_DrillCoordMode, 1);
    std::string shown;
    TestHost().QueueDialog(
        [&shown](CDialog& d) {
            shown = d.GetDlgItemText(IDC_COORD_X) + "," + d.GetDlgItemText(IDC_COORD_Y);
            d.SetDlgItemText(IDC_COORD_X, "1000");
            d.SetDlgItemText(IDC_COORD_Y, "1500");
            d.PressButton(IDOK);
        },
        IDD_COORD_INPUT);
    Click(305, 195);
    EXPECT_EQ(shown, "300,200");
    EXPECT_EQ(Block(0).m_Centre, CDPoint(1000, 1500));
    EXPECT_EQ(Block(0).m_Extent.left, 800);
    EXPECT_EQ(view->m_DrillCoordMode, 0);
    g_HoleList.clear();
    g_UnitSelector = unit;
}

TEST_F(SelectTest, ThePartialStagePicksMarkCopiesPathsAndStrokes)
{
    doc->m_WorkStage = 4;
    // Copies: all marked but the one clicked.
    view->m_SubMode = 0;
    view->m_BlockPicking = 1;
    view->m_PickFlags[0] = 1;
    Click(800, 200);
    EXPECT_EQ(Block(0).m_Selected, 1u);
    EXPECT_EQ(Block(1).m_Selected, 0u);
    EXPECT_EQ(view->m_PressState, 1);
    Right(0, 0);
    EXPECT_EQ(view->m_BlockPicking, 0);
    EXPECT_EQ(view->m_PressState, 0);

    // Isolation segments: a click on a line takes that line only; Ctrl
    // leaves out, a plain pick takes back in; a band takes what it holds.
    auto line = [](float x1, float y1, float x2, float y2) {
        auto s = std::make_unique<CGridPathSegment>();
        s->x1 = x1;
        s->y1 = y1;
        s->x2 = x2;
        s->y2 = y2;
        return s;
    };
    doc->m_GridPathList.push_back(line(0, 10, 100, 10));
    doc->m_GridPathList.push_back(line(0, 11, 100, 11));
    doc->m_GridPathList.push_back(line(300, 300, 400, 300));
    auto& paths = doc->m_GridPathList;
    view->m_SubMode = 2;
    view->m_BlockPicking = 1;
    view->m_PickFlags[2] = 1;
    view->m_KeyCtrl = 1;
    view->OnLButtonDown(0, POINT{50, 11});
    EXPECT_EQ(paths[0]->doneMark, 1u);
    EXPECT_EQ(paths[1]->doneMark, 0u);
    EXPECT_FALSE(view->BandActive());
    view->OnLButtonUp(0, POINT{50, 11});
    view->m_KeyCtrl = 1;
    view->OnLButtonDown(0, POINT{250, 250});
    ASSERT_TRUE(view->BandActive());
    view->OnLButtonUp(0, POINT{350, 350});
    EXPECT_EQ(paths[2]->doneMark, 1u);
    view->OnKeyUp(VK_CONTROL);
    Click(50, 10);
    EXPECT_EQ(paths[0]->doneMark, 0u);

    // Clearing strokes, 5 mil wide for the click.
    CClearStroke& s = *AddClearStroke(*AddClearRegion(doc->m_ClearRegionList), 0, 500, 100, 500);
    view->m_SubMode = 3;
    view->m_PickFlags[3] = 1;
    view->m_KeyShift = 1;
    view->OnLButtonDown(0, POINT{50, 502});
    EXPECT_EQ(s.doneMark, 1);
    view->OnLButtonUp(0, POINT{50, 502});
}
