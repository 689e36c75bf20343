// The work-stage commands, the display toggles, the ruler command and the
// enable and check rules of the view's menu items.
#include "view_fixture.h"

#include "link/link_state.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/layer_dlg.h"
#include "support/scripted_host.h"
#include "ui/cmd_ui.h"

namespace {

class StageTest : public ViewTest {
protected:
    CCmdUI Update(unsigned id)
    {
        CCmdUI ui(id);
        view->m_Commands.Update(ui);
        return ui;
    }
};

}  // namespace

TEST_F(StageTest, TheEnableRulesOfTheViewsItems)
{
    struct Case {
        const char* what;
        unsigned id;
        int stage, port;
        const char* model;
        int components, solders, moveMode;
        bool enabled;
        int checked;
    } cases[] = {
        {"vision, no port", ID_VISION_SYSTEM, 1, -1, "KX-V", 1, 1, 0, false, 0},
        {"vision, model without V", ID_VISION_SYSTEM, 1, 0, "KX1100", 1, 1, 0, false, 0},
        {"vision", ID_VISION_SYSTEM, 1, 0, "KX-V", 1, 1, 0, true, 0},
        {"drill preview", ID_PREVIEW_DRILLS, 1, 0, "KX-V", 1, 1, 0, true, 0},
        {"move copper, edit stage", ID_MOVE_COPPER, 1, -1, "", 1, 1, 1, true, 1},
        {"move copper, layout stage", ID_MOVE_COPPER, 3, -1, "", 1, 1, 0, false, 0},
        {"copper select", ID_COPPER_SELECT, 2, -1, "", 1, 1, 0, false, 0},
        {"locating hole add", ID_LOCATING_HOLE_ADD, 3, -1, "", 1, 1, 0, true, 0},
        {"double-sided holes, one side", ID_ADD_LOCATING_HOLES, 3, -1, "", 1, 0, 0, false, 0},
        {"double-sided holes", ID_ADD_LOCATING_HOLES, 3, -1, "", 1, 1, 0, true, 0},
        {"text window", ID_SHOW_TEXT_WND, 5, -1, "", 0, 0, 0, true, 0},
        {"board flip", ID_BOARD_FLIP, 4, -1, "", 0, 0, 0, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        doc->m_WorkStage = std::uint8_t(c.stage);
        g_PortState = c.port;
        g_MachineModel = c.model;
        g_HasComponentSide = c.components;
        g_HasSolderSide = c.solders;
        view->m_MoveMode = c.moveMode;
        const CCmdUI ui = Update(c.id);
        EXPECT_EQ(ui.m_Enabled, c.enabled);
        EXPECT_EQ(ui.m_Check, c.checked);
    }
    // Single lines are checked while the solid view is off.
    g_SolidLineView = 0;
    EXPECT_EQ(Update(ID_SOLID_LINES).m_Check, 1);
    view->m_Commands.Run(ID_SOLID_LINES);
    EXPECT_EQ(Update(ID_SOLID_LINES).m_Check, 0);
}

TEST_F(StageTest, StageCommandsSetTheStageAndZoomToFit)
{
    BuildBoard();
    doc->m_WorkStage = 2;
    const int slot = view->m_ZoomHistIndex;
    // The edit stage is refused while a job runs: not even the zoom.
    g_JobCode = 3;
    view->OnStageEdit();
    EXPECT_EQ(doc->m_WorkStage, 2);
    EXPECT_EQ(view->m_ZoomHistIndex, slot);
    g_JobCode = 0;
    view->OnStageEdit();
    EXPECT_EQ(doc->m_WorkStage, 1);
    EXPECT_EQ(view->m_ZoomHistIndex, (slot + 1) % ZOOM_HISTORY);

    view->m_SubMode = 0;
    view->OnStagePartial();
    EXPECT_EQ(doc->m_WorkStage, 4);
    EXPECT_EQ(view->m_SubMode, 5);

    // The layout stage ends the range picks; a job running, the machining
    // stage needs no new connection.
    view->m_RangeMode = view->m_TrimMode = 1;
    view->OnStageLayout();
    EXPECT_EQ(doc->m_WorkStage, 3);
    EXPECT_EQ(view->m_RangeMode, 0);
    EXPECT_EQ(view->m_TrimMode, 0);
    g_JobCode = 3;
    view->OnStageMachining();
    EXPECT_EQ(doc->m_WorkStage, 5);
    g_JobCode = 0;
}

TEST_F(StageTest, TheFirstLayoutPutsOneCopyOnTheMiddleOfTheTable)
{
    g_BoardMinX = 0;
    g_BoardMinY = 0;
    g_BoardMaxX = 400;
    g_BoardMaxY = 300;
    g_TableWidth = 10000;
    g_TableHeight = 8000;
    view->OnBlockLayout();
    ASSERT_EQ(view->m_BlockList.size(), 1u);
    const CLayoutBlock& block = *view->m_BlockList.front();
    EXPECT_EQ(block.m_Centre.x, 5000.0);
    EXPECT_EQ(block.m_Centre.y, 4000.0);
    EXPECT_EQ(block.m_RefCentre.x, 200.0);
    EXPECT_EQ(doc->m_WorkStage, 3);
    EXPECT_EQ(doc->m_LayoutDone, 1);
    const RECT outline = CVelmView::CalcPointListBounds(view->m_OutlinePoints);
    EXPECT_EQ(outline.left, -200);
    EXPECT_EQ(outline.bottom, 250);   // the orientation mark reaches past the board
    // A second layout keeps the copies there are.
    view->OnBlockLayout();
    EXPECT_EQ(view->m_BlockList.size(), 1u);
}

TEST_F(StageTest, DisplayTogglesAndTheRuler)
{
    view->m_Commands.Run(ID_SHOW_DRILLS);
    EXPECT_EQ(view->m_ShowDrill, 1);
    view->m_Commands.Run(ID_SHOW_ITEM_TWO);
    view->m_Commands.Run(ID_SHOW_ITEM_TWO);
    EXPECT_EQ(view->m_ShowItemTwo, 0);

    // The layer dialog switches the highlight off.
    view->m_CopperHighlight = 1;
    view->OnLayerControl();
    EXPECT_EQ(view->m_CopperHighlight, 0);

    view->OnRuler();
    view->m_RulerB = CDPoint(300, 200);
    view->OnRuler();
    EXPECT_EQ(view->m_RulerActive, 0);
    EXPECT_EQ(view->m_RulerB.x, 300.0);   // hidden where it was
    view->OnRuler();
    EXPECT_EQ(view->m_RulerA.x, 10.0);
    EXPECT_EQ(view->m_RulerB.x, 50.0);
    EXPECT_EQ(view->m_RulerB.y, 10.0);

    auto layer = std::make_unique<CPathRecord>();
    layer->name = "DXF1";
    layer->kind = 1;
    doc->m_PathLayerList.push_back(std::move(layer));
    SetPathLayerBit(*doc, "DXF1", 1);
    EXPECT_EQ(doc->m_PathLayerList.back()->kind, 3);
    SetPathLayerBit(*doc, "DXF1", 0);
    EXPECT_EQ(doc->m_PathLayerList.back()->kind, 1);
}
