// The mouse dispatch: which family's worker each of the four messages goes
// to, the ruler handles, the pan drag, the rubber band, the right-button
// menus of the stages, the cursor table and the surface readout's tone.
#include "view_fixture.h"

#include "link/working_depth.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "support/scripted_host.h"
#include "ui/menu_resource.h"

#include <vector>

namespace {

using Flag = int CVelmView::*;
using F = EMouseFamily;

struct CFamilyCase {
    const char* what;
    std::vector<Flag> flags;
    bool blockPick;          // m_BlockPicking with pick flag 0
    F down, move, up, right;
};

const CFamilyCase kFamilyCases[] = {
    {"nothing armed", {}, false, F::None, F::None, F::None, F::None},
    {"copper select", {&CVelmView::m_CopperSelectMode}, false, F::Edit, F::Edit, F::Edit, F::Edit},
    // Listed in A and B: A is asked first.
    {"isolation pick", {&CVelmView::m_IsoPickMode}, false, F::Edit, F::Edit, F::Edit, F::Edit},
    // Listed in A, B, S and T (the last for three messages): A wins.
    {"route setup", {&CVelmView::m_RouteSetupMode}, false, F::Edit, F::Edit, F::Edit, F::Edit},
    {"route line", {&CVelmView::m_RouteLineMode}, false, F::Route, F::Route, F::Route, F::Route},
    // In B and T: B wins.
    {"drill move", {&CVelmView::m_DrillMoveMode}, false, F::Route, F::Route, F::Route, F::Route},
    // B leaves it out of the release.
    {"copper to route", {&CVelmView::m_CopperToRouteMode}, false, F::Route, F::Route, F::None,
     F::Route},
    {"block copy", {&CVelmView::m_BlockCopyMode}, false, F::Select, F::Select, F::Select,
     F::Select},
    {"registration hole pick", {&CVelmView::m_RegHolePickMode}, false, F::Select, F::Select,
     F::Select, F::Select},
    // Family K has press and right-click workers only.
    {"partial pick", {}, true, F::Block, F::None, F::None, F::Block},
    {"drill find", {&CVelmView::m_DrillFindMode}, false, F::TwoPoint, F::TwoPoint, F::None,
     F::TwoPoint},
    // Overlaps: the first family tested takes every message it has.
    {"drill add and block copy", {&CVelmView::m_DrillAddMode, &CVelmView::m_BlockCopyMode}, false,
     F::Select, F::Select, F::Select, F::Select},
    {"partial pick and drill align", {&CVelmView::m_DrillAlignMode}, true, F::Block, F::TwoPoint,
     F::None, F::Block},
    {"text and trim", {&CVelmView::m_TextMode, &CVelmView::m_TrimMode}, false, F::Edit, F::Edit,
     F::Edit, F::Edit},
};

class MouseTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc->m_WorkStage = 1;
    }
    void Arm(const CFamilyCase& c)
    {
        for (Flag f : c.flags)
            (*view).*f = 1;
        if (c.blockPick) {
            view->m_BlockPicking = 1;
            view->m_PickFlags[0] = 1;
        }
    }
    int CountRop(int rop)
    {
        int n = 0;
        for (const CDrawCall& c : Calls())
            n += c.rop == rop ? 1 : 0;
        return n;
    }
};

// A window that records the right-button menus it is asked to show.
class CMenuWindow : public CRecordingWindow {
public:
    void ShowPopupMenu(const CMenuNode& menu, POINT client) override
    {
        shown.push_back(menu.items.empty() ? std::string() : menu.items.front().text);
        at = client;
    }
    std::vector<std::string> shown;
    POINT at{};
};

}  // namespace

TEST_F(MouseTest, EachMessageGoesToTheFirstArmedFamily)
{
    for (const CFamilyCase& c : kFamilyCases) {
        SCOPED_TRACE(c.what);
        view = std::make_unique<CVelmView>(*doc);
        Arm(c);
        EXPECT_EQ(MouseFamily(*view, EMouseEvent::Down), c.down);
        EXPECT_EQ(MouseFamily(*view, EMouseEvent::Move), c.move);
        EXPECT_EQ(MouseFamily(*view, EMouseEvent::Up), c.up);
        EXPECT_EQ(MouseFamily(*view, EMouseEvent::Right), c.right);
    }
}

TEST_F(MouseTest, APressWithNoModeArmedPansTheBoard)
{
    view->m_Scale = 2.0f;
    view->OnLButtonDown(0, POINT{100, 100});
    EXPECT_EQ(view->m_PanMode, 1);
    EXPECT_EQ(view->m_PressState, 1);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_PAN));

    // The drag line follows the cursor, each one erased by the next.
    view->OnMouseMove(MK_LBUTTON, POINT{120, 90});
    view->OnMouseMove(MK_LBUTTON, POINT{130, 80});
    const auto lines = window.surface.Of("line");
    ASSERT_EQ(lines.size(), 3u);
    for (const CDrawCall& c : lines) {
        EXPECT_EQ(c.rop, R2_NOTXORPEN);
        EXPECT_EQ(c.pen.colour, VIEW_SILVER);
    }
    EXPECT_EQ(lines[1].v, lines[0].v);   // the first line drawn again: erased
    EXPECT_EQ(lines[2].v, (std::vector<int>{100, 100, 130, 80}));
    // The readout gives the drag in mil: 30 px right, 20 px up at 2 mil/px.
    EXPECT_EQ(g_StatusText, FormatText(LoadResString(IDS_RELATIVE_POSITION).c_str(), 60.0, -40.0));

    const int slot = view->m_ZoomHistIndex;
    view->OnLButtonUp(0, POINT{130, 80});
    EXPECT_EQ(view->m_Origin.x, 30.0);
    EXPECT_EQ(view->m_Origin.y, -20.0);
    EXPECT_EQ(view->m_ZoomHistIndex, (slot + 1) % ZOOM_HISTORY);
    EXPECT_EQ(view->m_PanMode, 0);
    EXPECT_EQ(view->m_PressState, 0);
    EXPECT_TRUE(g_StatusText.empty());

    // A press while a drag is still marked (its release was lost) only ends it.
    view->OnLButtonDown(0, POINT{10, 10});
    view->OnLButtonDown(0, POINT{50, 50});
    EXPECT_EQ(view->m_PanMode, 0);
    EXPECT_EQ(view->m_PressState, 0);
    EXPECT_EQ(view->m_Origin.x, 30.0);
}

TEST_F(MouseTest, ARulerHandleIsGrabbedCloserThanFivePixelsEndAFirst)
{
    struct Case {
        CDPoint a, b;
        POINT click;
        int state;   // 3 end A, 2 end B, 0 not grabbed
    } cases[] = {
        {CDPoint(100.1, 100), CDPoint(300, 100), POINT{105, 100}, 3},   // 4.9 px
        {CDPoint(100.0, 100), CDPoint(300, 100), POINT{105, 100}, 0},   // 5.0 px
        {CDPoint(10, 10), CDPoint(200.1, 50), POINT{205, 50}, 2},
        {CDPoint(100, 100), CDPoint(102, 100), POINT{101, 100}, 3},      // both near
    };
    for (const Case& c : cases) {
        view = std::make_unique<CVelmView>(*doc);
        view->SetWindow(&window);
        view->m_RulerActive = 1;
        view->m_RulerA = c.a;
        view->m_RulerB = c.b;
        view->OnLButtonDown(0, c.click);
        EXPECT_EQ(view->m_PressState == 1 ? 0 : view->m_PressState, c.state);
        // Not grabbed: the press starts a pan instead.
        EXPECT_EQ(view->m_PanMode, c.state == 0 ? 1 : 0);
    }
}

TEST_F(MouseTest, DraggingARulerEndMeasuresAndLeavesNoTrace)
{
    view->m_Scale = 2.0f;
    view->OnRuler();
    ASSERT_EQ(view->m_RulerActive, 1);
    view->OnLButtonDown(0, POINT{50, 10});   // end B
    ASSERT_EQ(view->m_PressState, 2);
    Calls().clear();
    view->OnMouseMove(MK_LBUTTON, POINT{60, 10});
    view->OnMouseMove(MK_LBUTTON, POINT{70, 10});
    EXPECT_EQ(view->m_RulerB.x, 70.0);
    EXPECT_EQ(view->m_RulerA.x, 10.0);
    // 60 px at 2 mil per pixel is 120 mil.
    EXPECT_EQ(g_StatusText, FormatText("Length: %g mm", 120.0 / 39.37));
    // Every part drawn inverted, the old ruler erased before the new one.
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(CountRop(R2_NOT), int(Calls().size()));
    // Two moves, each erasing the ruler and drawing it again.
    ASSERT_EQ(Calls().size() % 4, 0u);
    const std::size_t n = Calls().size() / 4;
    for (std::size_t i = 0; i < n; ++i)
        EXPECT_EQ(Calls()[2 * n + i].v, Calls()[n + i].v);
    view->OnLButtonUp(0, POINT{70, 10});
    EXPECT_EQ(view->m_PressState, 0);
    EXPECT_EQ(view->m_PanMode, 0);
}

TEST_F(MouseTest, TheWindowZoomBandIsKeptWhenTheRightButtonAbandonsIt)
{
    view->OnZoomWindow();
    view->OnLButtonDown(0, POINT{100, 100});
    ASSERT_TRUE(view->BandActive());
    view->OnMouseMove(MK_LBUTTON, POINT{200, 150});
    view->OnRButtonDown(0, POINT{200, 150});
    EXPECT_FALSE(view->BandActive());
    EXPECT_EQ(view->m_ZoomWindowMode, 1);
    EXPECT_FLOAT_EQ(view->m_Scale, 1.0f);
    // Every band outline drawn was erased again.
    EXPECT_EQ(window.surface.Of("rect").size() % 2, 0u);
    // Escape drops a band as well.
    view->OnLButtonDown(0, POINT{100, 100});
    view->OnKeyDown(VK_ESCAPE);
    EXPECT_FALSE(view->BandActive());
    EXPECT_EQ(view->m_ZoomWindowMode, 1);
    // The next press starts a new band and its release zooms.
    view->OnLButtonDown(0, POINT{0, 0});
    view->OnLButtonUp(0, POINT{400, 300});
    EXPECT_EQ(view->m_ZoomWindowMode, 0);
    EXPECT_FLOAT_EQ(view->m_Scale, 0.5f);
}

TEST_F(MouseTest, TheRightButtonOpensTheStagesMenuOrCancels)
{
    CMenuWindow menus;
    view->SetWindow(&menus);

    doc->m_WorkStage = 2;
    view->OnRButtonDown(0, POINT{5, 6});
    EXPECT_TRUE(menus.shown.empty());   // the path stage has no menu

    doc->m_WorkStage = 1;
    g_CurrentSide = 1;
    g_HasComponentSide = 1;
    g_HasSolderSide = 0;
    view->OnRButtonDown(0, POINT{5, 6});
    ASSERT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(menus.shown[0], "POPUP");
    EXPECT_EQ(view->m_PopupStates[ID_COMPONENT_SIDE].checked, 0);
    EXPECT_EQ(view->m_PopupStates[ID_SOLDER_SIDE].checked, 1);
    EXPECT_EQ(view->m_PopupStates[ID_COPPER_DELETE].enabled, 0);   // nothing selected
    EXPECT_EQ(view->m_PopupStates[ID_COPPER_ALIGN].enabled, 0);    // one side only

    // Copper selection armed: the right button cancels instead.
    view->m_CopperSelectMode = 1;
    view->OnRButtonDown(0, POINT{5, 6});
    EXPECT_EQ(menus.shown.size(), 1u);
    EXPECT_EQ(view->m_CopperSelectMode, 0);

    doc->m_WorkStage = 5;
    view->m_ShowDrill = 1;
    view->OnRButtonDown(0, POINT{5, 6});
    ASSERT_EQ(menus.shown.size(), 2u);
    EXPECT_EQ(view->m_PopupStates[ID_SHOW_DRILLS].checked, 1);
    EXPECT_EQ(view->m_PopupStates[ID_SHOW_COPPER].checked, 0);

    doc->m_WorkStage = 4;
    view->m_PickFlags[2] = 1;
    view->OnRButtonDown(0, POINT{5, 6});
    EXPECT_EQ(view->m_PopupStates[ID_PARTIAL_OUTLINE_PICK].checked, 1);
    EXPECT_EQ(view->m_PopupStates[ID_PARTIAL_OUTLINE_RESUME].checked, 0);
    EXPECT_EQ(view->m_PopupStates[ID_PARTIAL_SELECT_ALL].checked, 0);
    view->SetWindow(&window);
}

TEST_F(MouseTest, TheRightButtonDuringAPickCancelsItsFamily)
{
    // Family A: the edit modes and the ruler go, "取消 !" shows.
    view->m_MoveMode = view->m_RulerActive = view->m_PressState = 1;
    view->m_TrimMode = 1;
    view->OnRButtonDown(0, POINT{1, 1});
    EXPECT_EQ(view->m_MoveMode, 0);
    EXPECT_EQ(view->m_RulerActive, 0);
    EXPECT_EQ(view->m_TrimMode, 0);
    EXPECT_EQ(view->m_PressState, 0);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_CANCELLED));

    // Family T in drill adding only leaves the adding.
    view->m_DrillAddMode = view->m_BlockPicking = view->m_PressState = 1;
    view->m_DrillFindMode = 1;
    view->OnRButtonDown(0, POINT{1, 1});
    EXPECT_EQ(view->m_DrillAddMode, 0);
    EXPECT_EQ(view->m_BlockPicking, 0);
    EXPECT_EQ(view->m_DrillFindMode, 1);
}

TEST_F(MouseTest, TheCursorFollowsTheFirstMatchingMode)
{
    struct Case {
        std::vector<Flag> flags;
        int ctrl, shift;
        int cursor;
    } cases[] = {
        {{}, 0, 0, 0},
        {{&CVelmView::m_ZoomWindowMode, &CVelmView::m_CopperLineMode}, 0, 0, CURSOR_ZOOM},
        {{&CVelmView::m_CopperLineMode}, 1, 0, CURSOR_DRAW_CTRL},
        {{&CVelmView::m_CopperSelectMode}, 1, 0, CURSOR_PICK_CTRL},
        {{&CVelmView::m_CopperSelectMode, &CVelmView::m_BlockPicking}, 0, 0, 0},
        {{&CVelmView::m_IsoPickMode}, 0, 0, CURSOR_ISO},
        {{&CVelmView::m_TrimMode, &CVelmView::m_TrimBlockMode}, 0, 1, CURSOR_TRIM_BLOCK_SHIFT},
        {{&CVelmView::m_TrimMode}, 1, 0, CURSOR_TRIM_CTRL},
        {{&CVelmView::m_DrillFindMode}, 0, 0, CURSOR_CROSS},
        {{&CVelmView::m_TextMode}, 0, 0, CURSOR_IBEAM},
    };
    for (const Case& c : cases) {
        view = std::make_unique<CVelmView>(*doc);
        for (Flag f : c.flags)
            (*view).*f = 1;
        view->m_KeyCtrl = c.ctrl;
        view->m_KeyShift = c.shift;
        EXPECT_EQ(view->OnSetCursor(), c.cursor);
    }
}

TEST_F(MouseTest, TheSurfaceToneSoundsAtMostTwiceASecond)
{
    struct Step {
        unsigned advanceMs;
        double relief;
        int beeps;   // total so far
    } steps[] = {
        {0, 6.0, 0},      // not above the limit
        {0, 7.5, 1},
        {100, 9.0, 1},    // too soon after the last
        {400, -8.0, 2},   // half a second on; a dip sounds too
        {10, -8.0, 2},
    };
    for (const Step& s : steps) {
        TestHost().Advance(s.advanceMs);
        view->SurfaceWarningBeep(s.relief);
        EXPECT_EQ(TestHost().Beeps(), s.beeps);
    }
}

TEST_F(MouseTest, TheBoardIgnoresTheMouseWhileAPathCalculationRuns)
{
    CMenuWindow menus;
    view->SetWindow(&menus);
    g_Calculating = 1;
    view->OnLButtonDown(0, POINT{10, 10});
    view->OnMouseMove(0, POINT{20, 20});
    view->OnRButtonDown(0, POINT{20, 20});
    EXPECT_EQ(view->m_PanMode, 0);
    EXPECT_TRUE(menus.shown.empty());
    EXPECT_EQ(view->m_CursorPos.x, 0.0);
    EXPECT_EQ(view->OnSetCursor(), CURSOR_KEEP);
    g_Calculating = 0;
    view->SetWindow(&window);
}

TEST_F(MouseTest, AClearingBandMakesARegionAndDisarms)
{
    // Abandoned with the right button: still armed.
    doc->m_ClearAreaFlag = 1;
    view->OnLButtonDown(0, POINT{10, 10});
    ASSERT_TRUE(view->BandActive());
    EXPECT_EQ(view->OnSetCursor(), CURSOR_CROSS);
    view->OnRButtonDown(0, POINT{50, 50});
    EXPECT_EQ(doc->m_ClearAreaFlag, 1);
    EXPECT_EQ(TestHost().Beeps(), 0);
    // Drawn: the document is handed the band in mil and the flag goes.
    view->m_Scale = 2.0f;
    view->OnLButtonDown(0, POINT{10, 10});
    view->OnMouseMove(MK_LBUTTON, POINT{60, 40});
    view->OnLButtonUp(0, POINT{60, 40});
    EXPECT_FALSE(view->BandActive());
    EXPECT_EQ(doc->m_ClearAreaFlag, 0);
    EXPECT_EQ(TestHost().Beeps(), 1);
    EXPECT_EQ(view->m_PanMode, 0);
}
