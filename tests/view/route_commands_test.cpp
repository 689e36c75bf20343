// The route commands through the command router: the router diameter of the
// drawing tools, the arc preview and the route origin with its update
// handler, ending, deleting and cancelling route work, and the document's
// clearing-area bands.
#include "view_fixture.h"

#include "machining/number_input_dlg.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "support/scripted_host.h"
#include "ui/cmd_ui.h"
#include "ui/command_router.h"
#include "ui/edit_wnd.h"

#include <string>
#include <vector>

namespace {

class RouteCommands : public ViewTest {
protected:
    static void Answer(const char* text, bool ok)
    {
        TestHost().QueueDialog(
            [text, ok](CDialog& d) {
                d.SetDlgItemText(IDC_NI_VALUE, text);
                d.PressButton(ok ? IDOK : IDCANCEL);
            },
            IDD_NUMBER_INPUT);
    }
    int DrawingTools() const
    {
        return view->m_RouteLineMode + view->m_RouteRectMode + view->m_RouteCircleMode +
               view->m_RouteDraw2Mode;
    }
};

TEST_F(RouteCommands, DrawingToolsAskTheDiameterAndArmOneTool)
{
    struct Case {
        unsigned id;
        int CVelmView::*mode;
    } tools[] = {{ID_ROUTE_LINE, &CVelmView::m_RouteLineMode},
                 {ID_ROUTE_RECT, &CVelmView::m_RouteRectMode},
                 {ID_ROUTE_CIRCLE, &CVelmView::m_RouteCircleMode}};
    struct Answered {
        const char* text;
        bool ok;
        float diameter;
        std::size_t boxes;
    } answers[] = {
        {"2.5", true, 2.5f, 0},
        // Cancelled: the tool is armed with the diameter it had.
        {"9", false, 1.5f, 0},
        // Not a diameter: refused with a word, the old one kept.
        {"abc", true, 1.5f, 1},
        {"-3", true, 1.5f, 1},
    };
    for (const Case& tool : tools)
        for (const Answered& a : answers) {
            const std::size_t boxes = TestHost().Boxes().size();
            view->m_SimToolSize = 1.5f;
            view->m_RouteDraw2Mode = 1;
            view->m_RouteLineMode = view->m_RouteRectMode = view->m_RouteCircleMode = 1;
            view->m_PressState = 1;
            Answer(a.text, a.ok);
            ASSERT_TRUE(CommandRouter().Dispatch(tool.id));
            EXPECT_EQ(view->m_SimToolSize, a.diameter) << a.text;
            EXPECT_EQ((*view).*tool.mode, 1) << a.text;
            EXPECT_EQ(DrawingTools(), 1) << a.text;
            EXPECT_EQ(view->m_PressState, 0);
            EXPECT_EQ(TestHost().Boxes().size() - boxes, a.boxes) << a.text;
        }
}

TEST_F(RouteCommands, ArcPreviewAndOriginLeaveOneTool)
{
    view->m_RouteLineMode = view->m_RouteRectMode = 1;
    view->m_PressState = view->m_RouteStep = 1;
    ASSERT_TRUE(CommandRouter().Dispatch(ID_ROUTE_DRAW2));
    EXPECT_EQ(view->m_RouteDraw2Mode, 1);
    EXPECT_EQ(DrawingTools(), 1);
    EXPECT_EQ(view->m_PressState + view->m_RouteStep, 0);

    // The origin tool is there only while the route text is shown.
    CCmdUI ui(ID_ROUTE_POINT_MODE);
    CommandRouter().UpdateCommandUI(ui);
    EXPECT_FALSE(ui.m_Enabled);
    EXPECT_FALSE(CommandRouter().Dispatch(ID_ROUTE_POINT_MODE));
    g_RouteDataWnd.CreateOnce("route");
    g_RouteDataWnd.ShowWindow(true);
    CommandRouter().UpdateCommandUI(ui);
    EXPECT_TRUE(ui.m_Enabled);
    view->m_PressState = 1;
    ASSERT_TRUE(CommandRouter().Dispatch(ID_ROUTE_POINT_MODE));
    EXPECT_EQ(view->m_RouteOriginMode, 1);
    EXPECT_EQ(DrawingTools() + view->m_PressState, 0);
    g_RouteDataWnd.ShowWindow(false);
}

TEST_F(RouteCommands, DeleteAsksThenTakesThePickedRouteAndRegions)
{
    BuildBoard();
    CNamedLayer* route = doc->FindNamedLayer("route");
    AddFlash(route->flashes, 10, 10, 5);
    auto pick = [&] {
        view->m_SelRouteItems = {route->tracks[0].get(), route->flashes[0].get()};
        view->m_SelClearRegions = {doc->m_ClearRegionList[0].get()};
    };
    pick();
    view->m_RouteDrawMode = 1;
    TestHost().QueueAnswer(IDNO);
    ASSERT_TRUE(CommandRouter().Dispatch(ID_ROUTE_DELETE));
    EXPECT_EQ(view->m_SelRouteItems.size(), 2u);
    EXPECT_EQ(view->m_SelClearRegions.size(), 1u);
    EXPECT_EQ(route->tracks.size(), 1u);
    EXPECT_EQ(view->m_RouteDrawMode, 1);

    TestHost().QueueAnswer(IDYES);
    CommandRouter().Dispatch(ID_ROUTE_DELETE);
    EXPECT_TRUE(route->tracks.empty());
    EXPECT_TRUE(route->flashes.empty());
    EXPECT_TRUE(doc->m_ClearRegionList.empty());
    EXPECT_TRUE(view->m_SelRouteItems.empty());
    EXPECT_TRUE(view->m_SelClearRegions.empty());
    EXPECT_EQ(view->m_RouteDrawMode, 0);
    EXPECT_EQ(TestHost().Boxes().size(), 2u);

    // Nothing picked (or nothing of the route): said so.
    view->m_SelRouteItems = {doc->m_TrackList[0].get()};
    TestHost().QueueAnswer(IDYES);
    CommandRouter().Dispatch(ID_ROUTE_DELETE);
    EXPECT_EQ(doc->m_TrackList.size(), 3u);
    ASSERT_EQ(TestHost().Boxes().size(), 4u);
    EXPECT_EQ(TestHost().Boxes()[3].caption, "Try Again !");
    EXPECT_EQ(TestHost().Boxes()[3].text, LoadResString(IDS_COMMAND_NEEDS_SELECTION));
}

TEST_F(RouteCommands, EndAndCancelClearTheRouteWork)
{
    BuildBoard();
    view->m_SelRouteItems = {doc->FindNamedLayer("route")->tracks[0].get()};
    view->m_SelClearRegions = {doc->m_ClearRegionList[0].get()};
    view->m_RouteDrawMode = view->m_PressState = view->m_RouteStep = 1;
    view->m_RouteLineMode = 1;
    ASSERT_TRUE(CommandRouter().Dispatch(ID_END_ROUTE_DRAW));
    EXPECT_EQ(view->m_RouteDrawMode + view->m_PressState + view->m_RouteStep, 0);
    EXPECT_TRUE(view->m_SelRouteItems.empty());
    EXPECT_TRUE(view->m_SelClearRegions.empty());
    EXPECT_EQ(doc->m_ClearRegionList.size(), 1u);
    EXPECT_EQ(view->m_RouteLineMode, 1);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_CANCELLED));

    // Cancel ends every route and range mode, and an offset-ring pick with
    // the side data it replaced.
    ASSERT_EQ(doc->SaveTempFile("ordune.tmp"), 1);
    doc->m_TrackList.clear();
    doc->m_WorkStage = 2;
    view->m_TrimList.push_back(std::make_unique<CWidthGroup>());
    g_StatusText.clear();
    std::vector<int*> flags = {&view->m_DrillMoveMode,  &view->m_RouteOriginMode,
                               &view->m_RangeMode,      &view->m_TrimMode,
                               &view->m_ResetClearMode, &view->m_HideRoute,
                               &view->m_RouteLineMode,  &view->m_RouteCircleMode,
                               &view->m_RouteRectMode,  &view->m_RouteDraw2Mode,
                               &view->m_PressState,     &view->m_RouteStep,
                               &view->m_RouteDrawMode,  &view->m_CopperToRouteMode};
    for (int* flag : flags)
        *flag = 1;
    ASSERT_TRUE(CommandRouter().Dispatch(ID_ROUTE_CANCEL));
    for (int* flag : flags)
        EXPECT_EQ(*flag, 0);
    EXPECT_TRUE(view->m_TrimList.empty());
    EXPECT_EQ(doc->m_TrackList.size(), 3u);
    EXPECT_EQ(doc->m_WorkStage, 1);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_CANCELLED));
}

TEST_F(RouteCommands, ClearingAreaCommandsArmTheDocumentsBands)
{
    ASSERT_TRUE(CommandRouter().Dispatch(ID_SET_CLEAR_AREA));
    EXPECT_EQ(doc->m_ClearAreaFlag, 1);
    ASSERT_TRUE(CommandRouter().Dispatch(ID_ADD_RECT_RECORD));
    EXPECT_EQ(doc->m_RectRecordFlag, 1);
    ASSERT_TRUE(CommandRouter().Dispatch(ID_ROUTE_DRAW));
    EXPECT_EQ(view->m_RouteDrawMode, 1);
}

}  // namespace
