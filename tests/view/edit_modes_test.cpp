// The copper and path editor driven through its commands and its press,
// move and release workers with synthetic points (one pixel is one mil):
// adding copper, selecting, copying, moving and deleting it, the number
// questions, the popup's cancel, the isolation lines with their undo ring,
// the side alignment, the data range, the route set-up and the drill points.
#include "view_fixture.h"

#include "editing/copper_edit.h"
#include "exchange/dxf_dialogs.h"
#include "machining/number_input_dlg.h"
#include "platform/host.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/system_settings_dlg.h"
#include "support/scripted_host.h"
#include "ui/edit_wnd.h"

#include <filesystem>
#include <string>

namespace {

class EditModes : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        g_ShowLayerCopper = 1;
        g_ShowLayerRoute = 1;
        g_ShowLayerT1Iso = 1;
    }

    void Press(int x, int y) { view->OnLButtonDownEdit(0, POINT{x, y}); }
    // Moves and releases go through the view's mouse messages: a rubber
    // band the press started is the view's, not the editor's.
    void Move(int x, int y) { view->OnMouseMove(0, POINT{x, y}); }
    void Release(int x, int y) { view->OnLButtonUp(0, POINT{x, y}); }
    void Click(int x, int y)
    {
        Press(x, y);
        Release(x, y);
    }
    void Drag(int x1, int y1, int x2, int y2)
    {
        Press(x1, y1);
        Move((x1 + x2) / 2, (y1 + y2) / 2);
        Move(x2, y2);
        Release(x2, y2);
    }
    // The next number question answered with `text` (OK) or cancelled.
    static void Answer(const char* text, bool ok = true) { AnswerNumber(text, ok); }
    CPathRecord* IsoLayer(int segments, int side = 0)
    {
        CPathRecord* layer = doc->AddPathLayer("T1ISO", 8, 1, side, RGB(170, 170, 220));
        for (int i = 0; i < segments; ++i)
            AddSegment(*layer, 0, 10.0 * i, 0, 10.0 * i + 5, 0);
        return layer;
    }
};

}  // namespace

TEST_F(EditModes, RectangleByDragIsOneFlatTrackAcrossItsMiddle)
{
    view->OnAddCopperRect();
    ASSERT_EQ(view->m_CopperRectMode, 1);
    EXPECT_EQ(g_StatusText, "方型 !");
    Drag(0, 0, 100, 40);
    ASSERT_EQ(doc->m_TrackList.size(), 1u);
    const CTrackRecord& t = *doc->m_TrackList[0];
    EXPECT_EQ(t.type, 1);
    EXPECT_FLOAT_EQ(t.x1, 50);
    EXPECT_FLOAT_EQ(t.y1, 0);
    EXPECT_FLOAT_EQ(t.x2, 50);
    EXPECT_FLOAT_EQ(t.y2, 40);
    EXPECT_FLOAT_EQ(t.width, 100);
    EXPECT_EQ(view->m_CopperRectMode, 0);
    EXPECT_EQ(view->m_PressState, 0);
    // The rubber rectangle was drawn inverting while the mouse moved.
    int inverted = 0;
    for (const CDrawCall& c : Calls())
        inverted += c.rop != R2_COPYPEN;
    EXPECT_GT(inverted, 0);
}

TEST_F(EditModes, CircleAndLineChain)
{
    view->OnAddCopperCircle();
    Click(200, 200);     // the centre
    Click(200, 230);     // the second press makes it
    ASSERT_EQ(doc->m_FlashList.size(), 1u);
    EXPECT_FLOAT_EQ(doc->m_FlashList[0]->radius, 30);
    EXPECT_EQ(view->m_CopperCircleMode, 0);

    doc->m_FlashList.clear();
    view->OnAddCopperLine();
    view->m_CopperLineWidth = 14;
    Click(0, 0);
    view->m_KeyCtrl = 1;          // the next point kept on the horizontal
    Click(100, 3);
    view->m_KeyCtrl = 0;
    Click(100, 80);
    ASSERT_EQ(doc->m_TrackList.size(), 2u);
    ASSERT_EQ(doc->m_FlashList.size(), 3u);
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->y2, 0);
    EXPECT_FLOAT_EQ(doc->m_TrackList[1]->x1, 100);
    EXPECT_FLOAT_EQ(doc->m_TrackList[1]->width, 14);
    for (const auto& f : doc->m_FlashList) {
        EXPECT_EQ(f->type, 3);
        EXPECT_FLOAT_EQ(f->radius, 7);
    }
    EXPECT_EQ(view->m_CopperLineMode, 1);   // stays armed
    EXPECT_EQ(g_StatusText, "位置: (100,0) - (100,80) : 14");
}

TEST_F(EditModes, PopupCancelClearsEveryModeTheCopyFlagIncluded)
{
    BuildBoard();
    view->m_SelTracks.push_back(doc->m_TrackList[0].get());
    view->OnCopyPicked();
    ASSERT_EQ(view->m_CopyMode, 1);
    view->OnAddCopperLine();
    view->OnIsoSelectArea();
    view->OnRouteMachiningSetup();
    view->m_MoveMode = 1;
    view->m_DrillAlignMode = 1;
    view->m_EditList.push_back(doc->m_TrackList[0].get());
    view->OnPopupCancel();
    EXPECT_EQ(g_StatusText, "Cancel !");
    for (int flag : {view->m_CopyMode, view->m_CopperLineMode, view->m_IsoPickMode,
                     view->m_IsoAreaMode, view->m_RouteSetupMode, view->m_MoveMode,
                     view->m_DrillAlignMode, view->m_PressState})
        EXPECT_EQ(flag, 0);
    EXPECT_TRUE(view->m_EditList.empty());
    // A press afterwards places no copy.
    Click(300, 300);
    EXPECT_EQ(doc->m_TrackList.size(), 3u);
}

TEST_F(EditModes, NumberQuestionsApplyOnlyAPositiveValueAfterOk)
{
    BuildBoard();
    CTrackRecord* track = doc->m_TrackList[0].get();
    struct Case {
        const char* what;
        const char* typed;
        bool ok;
        float width;      // the track's width afterwards
        int boxes;        // messages shown
    } cases[] = {
        {"cancel", "20", false, 10, 0},
        {"empty", "", true, 10, 0},
        {"blanks", "  ", true, 10, 0},
        {"zero", "0", true, 10, 1},
        {"negative", "-3", true, 10, 1},
        {"not a number", "abc", true, 10, 1},
        {"positive", "20", true, 20, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        track->width = 10;
        view->m_SelTracks = {track};
        const std::size_t boxes = TestHost().Boxes().size();
        Answer(c.typed, c.ok);
        view->OnCopperLineWidth();
        EXPECT_FLOAT_EQ(track->width, c.width);
        EXPECT_EQ(TestHost().Boxes().size() - boxes, std::size_t(c.boxes));
    }

    // With nothing selected the command arms the click: the first track
    // under the point takes the width, and the mode stays.
    view->m_SelTracks.clear();
    view->OnCopperLineWidth();
    ASSERT_EQ(view->m_LineWidthMode, 1);
    Answer("0");
    Click(100, 100);
    EXPECT_FLOAT_EQ(track->width, 20);
    Answer("25");
    Click(100, 100);
    EXPECT_FLOAT_EQ(track->width, 25);
    EXPECT_EQ(view->m_LineWidthMode, 1);
    view->OnPopupCancel();

    // The diameter of new drill holes: Cancel arms nothing.
    view->m_NewDrillDiameter = 39.37f;
    Answer("2", false);
    view->OnDrillAdd();
    EXPECT_EQ(view->m_DrillAddMode, 0);
    EXPECT_FLOAT_EQ(view->m_NewDrillDiameter, 39.37f);
    Answer("0.8");
    view->OnDrillAdd();
    EXPECT_EQ(view->m_DrillAddMode, 1);
    EXPECT_NEAR(view->m_NewDrillDiameter, 31.496, 1e-3);

    // Offsets may be negative; a cancelled second question moves nothing.
    view->m_SelTracks = {track};
    Answer("1");
    Answer("", false);
    view->OnCopperOffset();
    EXPECT_FLOAT_EQ(track->x1, 100);
    Answer("1");
    Answer("-0.5");
    view->OnCopperOffset();
    EXPECT_NEAR(track->x1, 139.37, 1e-3);
    EXPECT_NEAR(track->y1, 50 - 19.685, 1e-3);
}

TEST_F(EditModes, ElevenDeletesThenElevenUndosRestoreTheLastTen)
{
    IsoLayer(11);
    for (int i = 0; i < 11; ++i) {
        doc->m_PathLayerList.front()->items.front()->flag = 1;
        view->OnIsoDelete();
    }
    EXPECT_TRUE(doc->m_PathLayerList.front()->items.empty());
    // A pick's list points into the layers an undo replaces.
    view->m_EditList = {doc->m_PathLayerList.front().get()};
    for (int i = 1; i <= 10; ++i) {
        view->OnIsoUndoDelete();
        EXPECT_TRUE(view->m_EditList.empty());
        ASSERT_EQ(doc->m_PathLayerList.front()->items.size(), std::size_t(i));
    }
    EXPECT_TRUE(TestHost().Boxes().empty());
    view->m_EditList = {doc->m_PathLayerList.front()->items.front().get()};
    view->OnIsoUndoDelete();
    EXPECT_EQ(view->m_EditList.size(), 1u);   // nothing restored, nothing freed
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_EQ(TestHost().Boxes()[0].text, "No Undo Data !");
    EXPECT_EQ(doc->m_PathLayerList.front()->items.size(), 10u);
    // The restored segments are the selected one of that delete and the rest.
    EXPECT_EQ(doc->m_PathLayerList.front()->items.front()->flag, 1);
}

TEST_F(EditModes, IsolationEditsSpareTheOtherSideAndHiddenLayers)
{
    CPathRecord* mine = IsoLayer(3);
    CPathRecord* other = IsoLayer(3, 1);
    CPathRecord* hidden = doc->AddPathLayer("T2ISO", 8, 1, 0, 0);
    AddSegment(*hidden, 0, 0, 0, 5, 0);
    g_ShowLayerT2Iso = 0;
    for (CPathRecord* l : {mine, other, hidden})
        for (auto& s : l->items)
            s->flag = 1;
    mine->items[0]->flag = 0;
    view->OnIsoLock();
    EXPECT_EQ(mine->items[1]->flag, 2);
    view->OnIsoDelete();
    EXPECT_EQ(mine->items.size(), 3u);      // locked: survives
    view->OnIsoUnlock();
    EXPECT_EQ(mine->items[1]->flag, 0);
    EXPECT_EQ(other->items[0]->flag, 1);
    EXPECT_EQ(hidden->items[0]->flag, 1);

    // A pick on a line selects its chain and counts it.
    view->OnIsoSelectLine();
    g_StatusText.clear();
    Click(1, 0);
    EXPECT_EQ(mine->items[0]->flag, 1);
    EXPECT_EQ(g_StatusText, "選擇數目: 1");
    view->OnIsoUnselect();
    EXPECT_EQ(mine->items[0]->flag, 0);
    EXPECT_EQ(other->items[0]->flag, 1);
}

TEST_F(EditModes, SelectByClickAndBandThenCopy)
{
    AddTrack(doc->m_TrackList, 0, 0, 100, 100, 100, 10);
    AddTrack(doc->m_TrackList, 0, 100, 100, 100, 200, 10);
    AddTrack(doc->m_TrackList, 0, 300, 300, 400, 300, 10);
    AddFlash(doc->m_FlashList, 0, 100, 8);
    AddFlash(doc->m_FlashList, 400, 300, 8);
    view->OnCopperSelect();
    Click(50, 100);                           // on the first track
    ASSERT_EQ(view->m_SelTracks.size(), 2u);  // with the one joined to it
    Click(50, 100);
    EXPECT_EQ(view->m_SelTracks.size(), 2u);  // picked once only
    view->m_KeyShift = 1;
    Click(50, 100);
    view->m_KeyShift = 0;
    EXPECT_EQ(view->m_SelTracks.size(), 1u);
    view->OnCopperUnselect();
    EXPECT_TRUE(view->m_SelTracks.empty());

    // A band from bottom right to top left over the last pad and one end
    // of the last track.
    view->OnCopperSelect();
    Drag(420, 320, 350, 280);
    EXPECT_EQ(view->m_SelTracks.size(), 1u);
    EXPECT_EQ(view->m_SelFlashes.size(), 1u);
    EXPECT_EQ(g_StatusText, "選擇數目: 2");

    view->OnCopyPicked();
    EXPECT_EQ(view->m_CopperSelectMode, 0);
    Click(10, 10);
    Move(200, 30);
    EXPECT_EQ(g_StatusText, "相對位移: (190,20) mil");
    Click(210, 30);
    ASSERT_EQ(doc->m_TrackList.size(), 4u);
    EXPECT_FLOAT_EQ(doc->m_TrackList[3]->x1, 500);
    EXPECT_FLOAT_EQ(doc->m_TrackList[3]->y1, 320);
    ASSERT_EQ(doc->m_FlashList.size(), 3u);
    EXPECT_FLOAT_EQ(doc->m_FlashList[2]->x, 600);
    EXPECT_EQ(view->m_CopyMode, 0);
    EXPECT_EQ(view->m_SelTracks[0], doc->m_TrackList[2].get());
}

TEST_F(EditModes, DeleteAsksFirstAndFreesTheSelectionOnce)
{
    BuildBoard();
    CNamedLayer* route = doc->FindNamedLayer("route");
    view->m_SelTracks = {doc->m_TrackList[0].get(), route->tracks[0].get()};
    view->m_SelFlashes = {doc->m_FlashList[1].get()};
    TestHost().QueueAnswer(IDNO);
    view->OnCopperDelete();
    EXPECT_EQ(doc->m_TrackList.size(), 3u);

    // The route selection must not keep the freed route track.
    view->m_SelRouteItems = {route->tracks[0].get()};
    TestHost().QueueAnswer(IDYES);
    view->OnCopperDelete();
    EXPECT_TRUE(view->m_SelRouteItems.empty());
    EXPECT_EQ(doc->m_TrackList.size(), 2u);
    EXPECT_EQ(doc->m_FlashList.size(), 1u);
    EXPECT_TRUE(route->tracks.empty());
    EXPECT_TRUE(view->m_SelTracks.empty());

    // Nothing selected: asked, then told.
    TestHost().QueueAnswer(IDYES);
    view->OnCopperDelete();
    ASSERT_EQ(TestHost().Boxes().size(), 4u);
    EXPECT_EQ(TestHost().Boxes()[2].caption, "Are You Sure ?");
    EXPECT_EQ(TestHost().Boxes()[3].text, "你未選擇資料項，指令無效 !");
    EXPECT_EQ(TestHost().Boxes()[3].caption, "Try Again !");
}

TEST_F(EditModes, MoveModeSplitsATrackAndDragsTheNewJoint)
{
    AddTrack(doc->m_TrackList, 0, 0, 0, 100, 0, 10);
    view->OnMoveCopper();
    view->m_KeyShift = 1;
    Press(40, 0);
    view->m_KeyShift = 0;
    EXPECT_EQ(g_MoveDragKind, 2);
    ASSERT_EQ(doc->m_TrackList.size(), 2u);
    ASSERT_EQ(doc->m_FlashList.size(), 1u);
    Move(45, 20);
    Release(40, 30);
    EXPECT_EQ(g_MoveDragKind, -1);
    // Both halves now meet at the dragged joint (40, 30).
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->x1, 40);
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->y1, 30);
    EXPECT_FLOAT_EQ(doc->m_TrackList[1]->x2, 40);
    EXPECT_FLOAT_EQ(doc->m_TrackList[1]->y2, 30);
    EXPECT_FLOAT_EQ(doc->m_FlashList[0]->y, 30);
    EXPECT_EQ(view->m_MoveMode, 1);   // armed for the next drag

    // A press on nothing ends the mode.
    Press(500, 500);
    EXPECT_EQ(view->m_MoveMode, 0);
}

TEST_F(EditModes, SideAlignmentPutsBothSidesOnOnePadOrAbortsUntouched)
{
    g_HasComponentSide = 1;
    g_HasSolderSide = 1;
    // The solder side, kept in its side file, has the pad at (260, 240).
    g_CurrentSide = 1;
    AddFlash(doc->m_FlashList, 260, 240, 20);
    AddTrack(doc->m_TrackList, 0, 260, 240, 400, 240, 10);
    ASSERT_EQ(doc->SaveTempFile("bot.tmp"), 1);
    doc->m_FlashList.clear();
    doc->m_TrackList.clear();
    g_CurrentSide = 0;
    AddFlash(doc->m_FlashList, 250, 250, 20);

    view->OnCopperAlign();
    Click(0, 0);                                   // beside every pad
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_EQ(TestHost().Boxes()[0].text, "您必須選擇一個圓型焊點 !");
    Click(250, 250);
    ASSERT_EQ(g_CurrentSide, 1);
    ASSERT_EQ(doc->m_FlashList.size(), 1u);
    Click(260, 240);
    EXPECT_EQ(g_CurrentSide, 0);
    EXPECT_EQ(view->m_CopperAlignMode, 0);
    // The component pad moved onto (260, 240); then both sides so that the
    // pads' extent (the pad's edge, 20 mil out) begins at 100 mil.
    ASSERT_EQ(doc->m_FlashList.size(), 1u);
    EXPECT_FLOAT_EQ(doc->m_FlashList[0]->x, 120);
    EXPECT_FLOAT_EQ(doc->m_FlashList[0]->y, 120);
    ASSERT_EQ(doc->LoadTempFile("bot.tmp"), 1);
    EXPECT_FLOAT_EQ(doc->m_FlashList[0]->x, 120);
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->x2, 260);
    // The far corner: the track's end at 400 measured with its width.
    EXPECT_EQ(g_BoardMaxX, 270);

    // The other side's file gone: the alignment ends with this side as it
    // was, and nothing overwrites the other side.
    std::filesystem::remove(std::filesystem::path(g_SystemDir) / "bot.tmp");
    doc->m_FlashList.clear();
    g_CurrentSide = 0;
    AddFlash(doc->m_FlashList, 250, 250, 20);
    view->OnCopperAlign();
    Click(250, 250);
    EXPECT_EQ(view->m_CopperAlignMode, 0);
    EXPECT_EQ(view->m_PressState, 0);
    EXPECT_EQ(g_CurrentSide, 0);
    ASSERT_EQ(doc->m_FlashList.size(), 1u);
    EXPECT_FLOAT_EQ(doc->m_FlashList[0]->x, 250);
    EXPECT_EQ(TestHost().Boxes().back().text, "Can't load temp file !");
}

TEST_F(EditModes, DataRangeIsTheBandInEitherDirection)
{
    view->m_Scale = 2.0f;
    for (RECT band : {RECT{10, 20, 110, 70}, RECT{110, 70, 10, 20}}) {
        view->OnDataRange();
        Drag(band.left, band.top, band.right, band.bottom);
        EXPECT_EQ(view->m_DataRangeMode, 0);
        EXPECT_EQ(g_BoardMinX, 20);
        EXPECT_EQ(g_BoardMinY, 40);
        EXPECT_EQ(g_BoardMaxX, 220);
        EXPECT_EQ(g_BoardMaxY, 140);
    }
    // A click without a band changes nothing and keeps the mode.
    view->OnDataRange();
    Click(5, 5);
    EXPECT_EQ(view->m_DataRangeMode, 1);
    EXPECT_EQ(g_BoardMaxX, 220);
}

TEST_F(EditModes, RouteSetupClicksToggleAndTurnChains)
{
    CPathRecord* route = doc->AddPathLayer("ROUTE1", 8, 1, 5, 0);
    AddSegment(*route, 0, 0, 0, 100, 0);
    AddSegment(*route, 0, 100, 0, 100, 100);
    AddSegment(*route, 0, 300, 300, 400, 300);
    view->OnRouteMachiningSetup();
    EXPECT_EQ(g_StatusText, "Ctrl(Enabel/Disable)   Shift(CW/CCW)");
    view->m_KeyCtrl = 1;
    Click(50, 2);
    EXPECT_EQ(route->items[0]->flag, 1);
    EXPECT_EQ(route->items[1]->flag, 1);
    EXPECT_EQ(route->items[2]->flag, 0);
    // A held key counts for one click: the release lets it go.
    EXPECT_EQ(view->m_KeyCtrl, 0);
    view->m_KeyCtrl = 1;
    Click(100, 50);
    EXPECT_EQ(route->items[0]->flag, 0);
    view->m_KeyShift = 1;
    Click(50, 2);
    EXPECT_DOUBLE_EQ(route->items[0]->x1, 100);
    EXPECT_DOUBLE_EQ(route->items[0]->y1, 100);
    view->m_KeyShift = 1;
    Click(50, 2);
    EXPECT_DOUBLE_EQ(route->items[0]->x1, 0);
    EXPECT_DOUBLE_EQ(route->items[1]->y2, 100);
    view->m_KeyShift = 0;
    // A band over the lone segment disables it.
    Drag(290, 290, 410, 310);
    EXPECT_EQ(route->items[2]->flag, 1);
    EXPECT_EQ(view->m_RouteSetupMode, 1);
}

TEST_F(EditModes, DxfLayerDialogHidesTheLayersMarkedWithASemicolon)
{
    doc->AddPathLayer("OUTLINE", 8, 1, 5, 0);
    doc->AddPathLayer("POCKET", 8, 1, 5, 0);
    TestHost().QueueDialog(
        [](CDialog& d) {
            auto& dlg = dynamic_cast<CDxfLayerDlg&>(d);
            EXPECT_EQ(dlg.m_strLayers, "POCKET\r\nOUTLINE\r\n");
            d.SetDlgItemText(IDC_DXF_LAYER_TEXT, "OUTLINE\r\n;POCKET\r\n");
            d.PressButton(IDOK);
        },
        IDD_DXF_LAYERS);
    view->OnDxfCamLayers();
    EXPECT_EQ(doc->m_PathLayerList[0]->kind & 2, 2);   // POCKET, the newer
    EXPECT_EQ(doc->m_PathLayerList[1]->kind & 2, 0);
}

TEST_F(EditModes, ManualDrillAlignmentMovesEveryHoleOntoThePickedPad)
{
    AddDrillTool(g_HoleList, 1, 30, 1, {CDPoint(100, 100), CDPoint(300, 100)});
    AddFlash(doc->m_FlashList, 150, 120, 15);
    AddFlash(doc->m_FlashList, 350, 120, 15);

    // A second click beside every pad aligns nothing.
    view->OnDrillAlign();
    EXPECT_EQ(g_StatusText, "選擇一個鑽孔點 !");
    view->DrillAlignPress(POINT{102, 101});
    EXPECT_EQ(g_StatusText, "選擇第二點 !");
    view->DrillAlignPress(POINT{600, 600});
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_EQ(TestHost().Boxes()[0].text, "選擇無效 !");
    EXPECT_EQ(view->m_DrillAlignMode, 0);
    EXPECT_DOUBLE_EQ(g_HoleList[0]->holes[0]->x, 100);

    view->OnDrillAlign();
    view->DrillAlignPress(POINT{102, 101});
    view->DrillAlignPress(POINT{152, 118});
    EXPECT_DOUBLE_EQ(g_HoleList[0]->holes[0]->x, 150);
    EXPECT_DOUBLE_EQ(g_HoleList[0]->holes[1]->x, 350);
    EXPECT_DOUBLE_EQ(g_HoleList[0]->holes[1]->y, 120);
    EXPECT_EQ(view->m_DrillAlignMode, 0);

    // Rotation and mirroring with no holes do nothing.
    g_HoleList.clear();
    view->OnDrillRotate();
    view->OnDrillMirrorX();
    view->OnDrillMirrorY();
    EXPECT_TRUE(g_HoleList.empty());
    view->OnDrillAlign();
    EXPECT_EQ(view->m_DrillAlignMode, 0);
}

TEST_F(EditModes, DoubleSidedRegistrationHolesWriteTheirHeaderOnce)
{
    view->OnAddDoubleSidedHoles();
    view->OnAddDoubleSidedHoles();
    EXPECT_EQ(view->m_RegHoleAddMode, 1);
    EXPECT_EQ(g_HoleDataWnd.Edit().GetText().find("T30C1.25"),
              g_HoleDataWnd.Edit().GetText().rfind("T30C1.25"));
    EXPECT_EQ(g_HoleDataWnd.Edit().GetLineCount() >= 2, true);
}

TEST_F(EditModes, CopperToT1PathUsesToolOneAndEmptiesTheSelection)
{
    BuildBoard();
    view->m_SelTracks = {doc->m_TrackList[0].get()};
    view->m_SelFlashes = {doc->m_FlashList[0].get()};
    doc->m_ToolWidth1 = 8.0f;
    view->OnCopperToT1Path();
    CPathRecord& layer = *doc->m_PathLayerList.front();
    EXPECT_EQ(layer.name, "T1ISO");
    EXPECT_FLOAT_EQ(layer.size, 8.0f);
    EXPECT_EQ(layer.items.size(), 3u);
    EXPECT_TRUE(view->m_SelTracks.empty());
    EXPECT_TRUE(view->m_SelFlashes.empty());
}

TEST_F(EditModes, TextIsPlacedAfterAFontAndATextOnlyThenTheModeEnds)
{
    window.surface.textPoints = {{0, 0}, {30, 0}, {30, 10}, {0, 10}, {5, 2}, {9, 2}};
    window.surface.textKinds = {PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO, PT_MOVETO, PT_LINETO};
    auto typeText = [](const char* text, bool ok) {
        TestHost().QueueDialog(
            [text, ok](CDialog& d) {
                d.SetDlgItemText(IDC_TI_TEXT, text);
                d.PressButton(ok ? IDOK : IDCANCEL);
            },
            IDD_TEXT_INPUT);
    };
    view->OnInputText();
    TestHost().QueueFontCancel();
    Click(100, 200);
    TestHost().QueueFont(CFontChoice{"Sans", 12});
    typeText("A", false);
    Click(100, 200);
    TestHost().QueueFont(CFontChoice{"Sans", 12});
    typeText("", true);
    Click(100, 200);
    EXPECT_TRUE(doc->m_TrackList.empty());
    EXPECT_EQ(view->m_TextMode, 1);

    TestHost().QueueFont(CFontChoice{"Sans", 12});
    typeText("A", true);
    Click(100, 200);
    ASSERT_EQ(doc->m_TrackList.size(), 1u);
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->x1, 105);
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->y1, 208);
    EXPECT_EQ(doc->m_FlashList.size(), 2u);
    EXPECT_EQ(view->m_TextMode, 0);
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
}

TEST_F(EditModes, EveryModeOnAnEmptyBoardMakesNothing)
{
    // The modes that pick or change existing data find nothing to work on.
    struct Case {
        const char* what;
        void (CVelmView::*arm)();
    } cases[] = {
        {"select", &CVelmView::OnCopperSelect},
        {"move", &CVelmView::OnMoveCopper},
        {"line width", &CVelmView::OnCopperLineWidth},
        {"isolation line", &CVelmView::OnIsoSelectLine},
        {"isolation area", &CVelmView::OnIsoSelectArea},
        {"route set-up", &CVelmView::OnRouteMachiningSetup},
        {"DXF-CAM set-up", &CVelmView::OnDxfCamState},
        {"copper align", &CVelmView::OnCopperAlign},
    };
    g_HasComponentSide = g_HasSolderSide = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        (view.get()->*c.arm)();
        Drag(10, 10, 60, 40);
        Click(30, 30);
        view->OnPopupCancel();
        EXPECT_TRUE(doc->m_TrackList.empty());
        EXPECT_TRUE(doc->m_FlashList.empty());
        EXPECT_TRUE(doc->m_PathLayerList.empty());
        EXPECT_TRUE(view->m_SelTracks.empty());
        EXPECT_EQ(g_MoveDragKind, -1);
    }
    // The commands that act on the selection at once.
    view->OnCopperToT1Path();
    EXPECT_TRUE(doc->m_PathLayerList.front()->items.empty());
    view->OnCopperOffset();
    view->OnCopyPicked();
    EXPECT_EQ(view->m_CopyMode, 0);
    view->OnIsoDelete();
    view->OnIsoLock();
    view->OnDrillAutoAlignMode();
    EXPECT_EQ(g_StatusText, "無法自動對齊鑽孔點位置 !");
}

TEST_F(EditModes, DoubleClickShowsTheRecordsUnderThePointAndTakesBackTheTracksOnly)
{
    CTrackRecord* track = AddTrack(doc->m_TrackList, 0, 0, 50, 100, 50, 20);
    CFlashRecord* pad = AddFlash(doc->m_FlashList, 50, 50, 15);
    view->OnLButtonDblClk(0, POINT{50, 50});
    EXPECT_TRUE(TestHost().DialogsShown().empty());   // copper selection off

    view->OnCopperSelect();
    auto widen = [](CDialog& d) {
        d.SetDlgItemText(IDC_RECORD_WIDTH, "33");
        d.PressButton(IDOK);
    };
    TestHost().QueueDialog(widen, IDD_GERBER_RECORD);
    TestHost().QueueDialog(widen, IDD_GERBER_RECORD);
    view->OnLButtonDblClk(0, POINT{50, 50});
    EXPECT_EQ(TestHost().DialogsShown().size(), 2u);
    EXPECT_FLOAT_EQ(track->width, 33);
    EXPECT_FLOAT_EQ(pad->radius, 15);

    TestHost().QueueDialog([](CDialog& d) {
        d.SetDlgItemText(IDC_RECORD_WIDTH, "5");
        d.PressButton(IDCANCEL);
    });
    view->OnLButtonDblClk(0, POINT{50, 50});
    EXPECT_FLOAT_EQ(track->width, 33);
}
