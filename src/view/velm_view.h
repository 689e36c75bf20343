// The board view: shows the document's board in mil, owns the interaction
// state of the mouse and keyboard modes, the zoom state and the right-button
// menus, and receives most menu commands. It draws through a CDrawSurface
// (the window's backing image), so everything here is free of any toolkit.
// Its member functions are spread by concern:
//   velm_view.cpp          construction, lists, invalidation and redraw, commands
//   view_zoom.cpp          board/pixel transforms, zooms and the zoom history
//   view_status.cpp        the status panes
//   clipped_primitives.cpp the clipped shapes every drawer goes through
//   stage_drawing.cpp      OnDraw: what each work stage shows
//   copper_drawing.cpp, route_drawing.cpp, clear_area_drawing.cpp,
//   hole_drawing.cpp, selection_drawing.cpp, path_layer_drawing.cpp,
//   iso_path_drawing.cpp, block_frame_drawing.cpp, trim_drawing.cpp,
//   feedback_drawing.cpp (rubber bands and the ruler), immediate_drawing.cpp,
//   clearing_area_commands.cpp, tool_dialog_commands.cpp (the drill
//   tool-size dialog)
//   mouse_dispatch.cpp (the mouse messages and the cursor), hit_picks.cpp
//   (hit tests and the two-point picks), keyboard.cpp, work_stages.cpp (the
//   stage and display commands), ruler_commands.cpp
#pragma once

#include "document/velm_doc.h"
#include "machining/view_hooks.h"
#include "geometry/point.h"
#include "machining/work_range.h"
#include "platform/win_types.h"
#include "ui/command_router.h"
#include "ui/edit_wnd.h"
#include "ui/menu_resource.h"
#include "view/draw_surface.h"
#include "view/width_group.h"

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <initializer_list>
#include <limits>
#include <string>

class CCmdUI;
class CViewWindow;
class CProbingView;
struct CBandRect;

// Colours of the stage drawing.
constexpr COLORREF VIEW_GREEN = RGB(0, 255, 0);
constexpr COLORREF VIEW_TEAL = RGB(0, 196, 196);
constexpr COLORREF VIEW_CYAN = RGB(0, 255, 255);
constexpr COLORREF VIEW_WHITE = RGB(255, 255, 255);
constexpr COLORREF VIEW_LIGHT_GREEN = RGB(169, 233, 105);
constexpr COLORREF VIEW_MAGENTA = RGB(255, 0, 255);
constexpr COLORREF VIEW_GREY = RGB(128, 128, 128);
constexpr COLORREF VIEW_YELLOW = RGB(255, 255, 0);
constexpr COLORREF VIEW_SILVER = RGB(192, 192, 192);
constexpr COLORREF PAD_FILL = RGB(100, 80, 100);

constexpr int ZOOM_HISTORY = 20;

class CVelmView {
public:
    explicit CVelmView(CVelmDoc& doc);
    ~CVelmView();
    CVelmView(const CVelmView&) = delete;
    CVelmView& operator=(const CVelmView&) = delete;

    CVelmDoc* GetDocument() const { return &m_Doc; }
    // The window that shows the view (not owned); nullptr detaches it.
    void SetWindow(CViewWindow* window);
    CViewWindow* Window() const { return m_Window; }

    // Lifecycle (velm_view.cpp).
    void OnInitialUpdate();
    // hint: a rectangle to repaint, or nullptr for the whole client area.
    void OnUpdate(const RECT* hint = nullptr);
    void UpdateScrollSizes();
    // Asks for a full redraw.
    void Invalidate();
    // Runs OnDraw on the window's surface; a redraw asked for while it runs
    // (through the message pumping of the layout stages) starts it again.
    void Redraw();
    int InvalidateCount() const { return m_InvalidateCount; }
    bool IsDrawing() const { return m_Drawing; }
    RECT GetClientRect() const;

    // Lists (velm_view.cpp).
    static RECT CalcPointListBounds(const COwnedList<POINT>& points);
    void ClearLists();
    int IsInSelListA(const CTrackRecord* item) const;
    int IsInSelListB(const void* item) const;
    int IsInSelListC(const CFlashRecord* item) const;
    int IsInSelListD(const CClearRegion* item) const;
    int IsInEditList(const void* item) const;
    int RemoveFromSelListA(const CTrackRecord* item);
    int RemoveFromSelListB(const void* item);
    int RemoveFromSelListC(const CFlashRecord* item);
    int RemoveFromSelListD(const CClearRegion* item);
    int HitTestPointMarkers(int x, int y) const;
    // The right-button menu of the current work stage.
    const CMenuNode& PopupMenuForStage() const;

    // Commands (velm_view.cpp, view_zoom.cpp).
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomWindow();
    void OnZoomPrevious();
    void OnWindowAll();
    void OnLayerControl();
    void OnDisplayStyle();
    // Clearing-area commands (clearing_area_commands.cpp): the board inset
    // by 80 mil cleared of its short gaps (33072), and every clearing
    // stroke's done mark cleared (33071).
    void OnAddFullClearArea();
    void OnResetClearDone();
    // Ranges, trims and resets of the path editing (range_commands.cpp).
    // A range command arms the range mode on its layer and shows only that
    // tool layer, or disarms it when it already targets that layer; the two
    // trim commands share the trim mode, which excludes the range mode.
    void OnAddT1ClearRange();
    void OnAddT2ClearRange();
    void OnAddT3ClearRange();
    void OnAddT1IsoRange();
    void OnAddT2IsoRange();
    void OnAddT4IsoRange();
    void OnTrimSinglePath();
    void OnTrimBlockPath();
    void OnPathStageHideRoute();
    void OnResetIsoDone();
    // Enabled in the edit stage; checked while the mode they arm is on.
    void OnUpdateAddT1ClearRange(CCmdUI& ui) const;
    void OnUpdateAddT2ClearRange(CCmdUI& ui) const;
    void OnUpdateAddT3ClearRange(CCmdUI& ui) const;
    void OnUpdateAddT1IsoRange(CCmdUI& ui) const;
    void OnUpdateAddT2IsoRange(CCmdUI& ui) const;
    void OnUpdateAddT4IsoRange(CCmdUI& ui) const;
    void OnUpdateTrimSinglePath(CCmdUI& ui) const;
    void OnUpdateTrimBlockPath(CCmdUI& ui) const;
    void RegisterRangeCommands();
    void ArmRange(const char* layer);
    void ArmTrim(int blockVariant);
    void UpdateRangeItem(CCmdUI& ui, const char* layer) const;
    // The edit stage with a zoom to fit, unless the view is in it already.
    void EnterEditStageForRange();
    // Drill point / tool size: the tool-size dialog marks the tool it edits
    // on this view; the hole list is sorted again afterwards
    // (tool_dialog_commands.cpp).
    void OnDrillToolSize();
    // The Window zoom with a finished rubber band (client pixels, any corner
    // order); what the left press does while m_ZoomWindowMode is set.
    void ZoomToBand(const RECT& band);

    // Mouse and keys, as the window forwards them (client pixels).
    void OnMouseMove(POINT point);
    void OnLButtonDown(POINT point);
    void OnLButtonUp(POINT point);
    void OnKeyDown(unsigned key);

    // Transforms (view_zoom.cpp; the mappings below the class).
    void DocToScreenD(CDPoint* p) const;
    void DocToScreen(POINT* p) const;
    void ScreenToDocD(CDPoint* p) const;
    void ScreenToDoc(POINT* p) const;
    // Board point to pixel with an offset, trunc((v + d) / scale + origin).
    // Inline: every record of a redraw goes through them.
    int MapX(double x, double dx = 0.0) const;
    int MapY(double y, double dy = 0.0) const;

    // Status panes (view_status.cpp).
    void OnUpdateCursorPos(CCmdUI& cmdUI);
    void OnUpdateStatusText(CCmdUI& cmdUI);

    // Whether the working layers show the layer of that name (the test is
    // layer_dlg.cpp's, shared with the exports).
    int IsLayerVisible(const char* name) const;

    // Clipped primitives (clipped_primitives.cpp).
    static void ClippedArc(CDrawSurface& dc, int left, int top, int right, int bottom, int xs, int ys,
                           int xe, int ye);
    static void ClippedEllipse(CDrawSurface& dc, int left, int top, int right, int bottom);
    static void ClippedRectangle(CDrawSurface& dc, int left, int top, int right, int bottom);
    static void ClippedMoveTo(CDrawSurface& dc, int x, int y);
    static void ClippedLineTo(CDrawSurface& dc, int x, int y);
    // The two rules of the clipped primitives: whether a shape with these
    // coordinates is drawn at all, and a line end clamped.
    static bool InShapeWindow(std::initializer_list<int> values)
    {
        for (int v : values)
            if (v < -1000 || v > 2000)
                return false;
        return true;
    }
    static POINT ClampedEnd(int x, int y)
    {
        return POINT{std::clamp(x, -2000, 2000), std::clamp(y, -2000, 2000)};
    }
    void DrawLine(int x1, int y1, int x2, int y2, COLORREF colour);

    // Drawing (stage_drawing.cpp and the drawer files).
    void OnDraw(CDrawSurface& dc);
    void DrawCopper(COLORREF colour);
    void DrawCopperPlaced(const CLayoutBlock* block, COLORREF colour);
    void DrawElement(const CTrackRecord* record, COLORREF colour);
    void DrawRoute(COLORREF colour);
    void DrawRoutePlaced(const CLayoutBlock* block, COLORREF colour);
    void DrawClearArea(const CClearRegion* region, COLORREF colour);
    void DrawClearAreaPlaced(const CLayoutBlock* block, const CClearRegion* region, COLORREF colour);
    void DrawClearAreaXor(const CLayoutBlock* block, const CClearStroke* stroke, COLORREF colour);
    void DrawDrillHoles(COLORREF colour);
    void DrawDrillHolesPlaced(const CLayoutBlock* block, COLORREF colour);
    void DrawPositioningHoles(COLORREF colour);
    void DrawPointMarker(double x, double y, double r, COLORREF colour, CDPoint offset);
    void DrawOriginMarkXor(double x, double y, double r, COLORREF colour, CDPoint offset);
    void DrawSelection(COLORREF colour);
    void DrawLayers(const CLayoutBlock* block);
    void DrawLayerElements();
    void DrawLayersXor();
    void DrawIsoPaths(COLORREF colour);
    void DrawIsoPathsPlaced(const CLayoutBlock* block, COLORREF colour);
    void DrawIsoPathsXor(const CLayoutBlock* block, const CGridPathSegment* segment, COLORREF colour);
    void DrawConnectedPaths(const CPathSegment* segment, float toolSize, COLORREF colour);
    void DrawBlockFrame(const CLayoutBlock* block, COLORREF colour);
    void DrawBlockFrameXor(const CLayoutBlock* block, COLORREF colour, CDPoint offset);
    void DrawBlockFrameXor2(const CLayoutBlock* block, COLORREF colour, CDPoint offset);
    void DrawBlockMarkXor(COLORREF colour, int dx, int dy);
    void DrawTrimList(COLORREF colour);
    void DrawRouteRubberXor(const CWidthGroup* group, COLORREF colour);
    void DrawSelectionXor(const CTrackRecord* record, COLORREF colour);
    void DrawMouseMoveXor(const CTrackRecord* record, COLORREF colour);
    void DrawEditDragXor(const CTrackRecord* record, double dx, double dy, COLORREF colour);
    void DrawPickEllipse(const CFlashRecord* flash, COLORREF colour);
    void DrawHoverEllipseXor(const CFlashRecord* flash, COLORREF colour);
    void DrawEditEllipseXor(const CFlashRecord* flash, double dx, double dy, COLORREF colour);
    void DrawRouteEllipseXor(const CFlashRecord* flash, float width, COLORREF colour);
    void DrawBlockArc(float left, float top, float right, float bottom, float xs, float ys, float xe,
                      float ye, float width, COLORREF colour);
    void DrawRouteArcXor(float left, float top, float right, float bottom, float xs, float ys,
                         float xe, float ye, float width, COLORREF colour);
    void DrawRuler(int invert);
    void DrawSegmentNow(float x, float y, COLORREF colour);
    void DrawDotNow(float x, float y);
    // The machine table of the layout and machining stages; the machining
    // operations draw it, nothing is drawn until they do.
    void DrawMachineTable();

    // Machine commands of the view. Job commands through the job gate, Continue
    // and the job message (job_commands.cpp); the timer, the position readout
    // and monitoring (machine_timer_commands.cpp); tool change, spindle speed,
    // machine inputs, fixed plunge, air pressure and the position window
    // (machine_commands.cpp).
    using JobRunner = std::function<void(unsigned start)>;
    // The runner of job `code` (the whole job, started with `start`); the
    // jobs' own code installs them. A job without one ends at once.
    void SetJobRunner(int code, JobRunner runner);
    void RunJobRunner(int code, unsigned start);
    void OnMachineContinue();
    // Engraves layers of drawing data, one layer a run, until the machining
    // data dialog is cancelled.
    void OnEngraveCamData();
    // The private message 0x809B: re-enters the runner of the running job.
    int OnJobMessage();
    void OnTimer();
    void UpdatePositionDisplay();
    void OnToggleMonitor();
    void OnToggleJoystick();
    // Timer 1: a second start returns the running timer's id and starts
    // nothing; a stop of a stopped timer does nothing and returns 0.
    unsigned StartTimer(unsigned id, unsigned milliseconds);
    int StopTimer();
    void OnToolChange();
    void OnSpindleSpeed();
    void OnShowMachineInputs();
    void OnFixedPlungeSetup();
    void OnShowMachineCoords();
    // 0 (after telling the operator) when the controller reports an
    // air-pressure fault.
    int CheckAirPressure();
    std::map<int, JobRunner> m_JobRunners;
    // Homing, connection and manual moves (homing_commands.cpp): the entries
    // into the machining floor's homing and moves, and their commands.
    void MachineHome();
    int ConnectMachine();
    void OnMachineHome();
    void OnHomeReturn();
    void OnWorkAreaLowerLeft();
    void OnWorkAreaUpperLeft();
    void OnWorkAreaLowerRight();
    void OnWorkAreaUpperRight();
    void OnMachineJog();
    void OnCommandConsole();
    void OnMachineTravelTest();
    void RegisterHomingCommands();

    // Members, in the order the view is described.
    COwnedList<CViewTracker> m_MarkerList;
    CRefList<CTrackRecord>& m_SelTracks;
    CRefList<void>& m_SelRouteItems;
    CRefList<CFlashRecord>& m_SelFlashes;
    CRefList<void> m_EditList;
    CDPoint m_ManualPointA, m_ManualPointB, m_ManualPointC;
    int m_ZoomWindowMode = 0;
    int m_ResumeCount = 0;
    int m_SubMode = 0;
    std::array<int, 5> m_PickFlags{};
    int m_RouteStep = 0;
    int m_ToolChangeState = 0;
    int m_CurrentDrillTool = -1;
    CDPoint m_Origin{10.0, 10.0};
    int m_TimerRunning = 0;
    int m_ToolChanged = 0;
    int m_HideRoute = 0;
    int m_ShowCopper = 0, m_ShowDrill = 0, m_ShowRoute = 0, m_ShowClear = 0, m_ShowIso = 0,
        m_ShowItemOne = 0, m_ShowItemTwo = 0;
    int m_TrimBlockMode = 0, m_DataRangeMode = 0, m_SampleDrillMode = 0, m_ToolDetectMode = 0;
    COwnedList<CWidthGroup> m_TrimList;
    unsigned m_TimerId = 0;
    int m_Monitoring = 0;
    int m_RangeMode = 0, m_TrimMode = 0, m_ResetClearMode = 0;
    int m_KeyCtrl = 0, m_KeyTab = 0, m_KeyShift = 0;
    int m_TextMode = 0, m_CopperAlignMode = 0;
    int m_DrillFindMode = 0, m_DrillMoveMode = 0, m_DrillAlignMode = 0, m_DrillAddMode = 0;
    int m_RegHoleAddMode = 0, m_RegHolePickMode = 0;
    int m_JoystickOn = 0;
    int m_LineWidthMode = 0, m_RouteSetupMode = 0, m_DxfCamMode = 0;
    int m_DrillCoordMode = 0, m_BlockRotateMode = 0, m_BlockMirrorXMode = 0,
        m_BlockMirrorYMode = 0, m_BlockMoveMode = 0, m_BlockDeleteMode = 0, m_BlockCopyMode = 0,
        m_BlockCoordsMode = 0, m_SelectDataMode = 0, m_BlockPicking = 0, m_SelectBlockMode = 0;
    int m_MarkerShown = 0;
    COwnedList<CLayoutBlock>& m_BlockList;
    POINT m_LastPoint;
    COwnedList<POINT>& m_OutlinePoints;
    CRefList<CClearRegion> m_SelClearRegions;
    int m_RouteAutoClose = 1;
    int m_ButtonDown = 0;
    int m_MoveMode = 0, m_CopyMode = 0, m_CopperSelectMode = 0, m_IsoPickMode = 0,
        m_IsoAreaMode = 0, m_RouteDrawMode = 0, m_Dragging = 0;
    CDPoint m_DragStart, m_DragEnd;
    POINT m_RouteStart;
    int m_PressState = 0;
    int m_RouteDrawStep = 0;
    int m_CopperLineMode = 0, m_CopperCircleMode = 0, m_CopperRectMode = 0;
    int m_RouteLineMode = 0, m_RouteCircleMode = 0, m_RouteDraw2Mode = 0,
        m_RouteRectMode = 0;
    int m_RulerActive = 0;
    int m_CopperHighlight = 0;
    int m_ManualEngraveMode = 0, m_ManualDrillMode = 0;
    std::array<CDPoint, ZOOM_HISTORY> m_ZoomHistOrigin;   // origin per history slot
    std::array<float, ZOOM_HISTORY> m_ZoomHistScale{};
    int m_ZoomHistIndex = 0;
    RECT m_ClientRect;
    int m_CopperLineWidth = 12;
    float m_Scale = 0.4f;
    float m_NewDrillDiameter = 0.0f;
    float m_SimToolSize = 0.0f;
    int m_SurfaceDataPlausible = 1;
    int m_DisplayStyle = 0;
    CDPoint m_CursorPos;
    CDPoint m_RulerA, m_RulerB;
    std::array<CMenuNode, 7> m_PopupMenus;
    // The positioning hole last drawn: its name "T%d", kind and size (mil).
    struct CHoleText {
        std::string name;
        std::string kind;
        float size = 0.0f;
    };
    CHoleText m_PositioningHole;
    const std::string* m_HoleNameText = nullptr;
    int m_Mark1Checked = 0, m_Mark2Checked = 0;
    // Surface probing, the surface map and the time estimate
    // (surface_commands.cpp).
    void OnMachinePlaneDetect();
    void OnUpdateMachinePlaneDetect(CCmdUI& ui);
    void OnToggleSurfaceMap();
    // The probed surface over the probed rectangle, shaded by height; a grid
    // point that stands out of its neighbours is marked red and clears
    // m_SurfaceDataPlausible.
    void DrawSurfaceMap();
    void OnEstimateTime();
    void RegisterSurfaceCommands();
    // The view as the probing run's host, made on first use.
    CProbingView& ProbingHost();
    std::shared_ptr<CProbingView> m_ProbingHost;
    // Drilling, the drill preview, the tool change and the drill selection
    // (drill_job_commands.cpp; the work is the machining floor's
    // drill_job.h and tool_change.h).
    void RunDrillJob(unsigned start);
    void RunDrillPreview(unsigned start);
    void ChangeTool(const std::string& prompt, int detect);
    void ChangeToolConfirm(const std::string& prompt);
    void ProbeToolHeight();
    void OnDrillSelect();
    void RegisterDrillJobs();
    int m_ToolChangeRequest = 0;
    int m_LargeHoleMode = 0;
    // Registration holes (registration_hole_commands.cpp): the hole window,
    // the standard pairs, the square, the add and find modes and the manual
    // locating-hole search.
    void OnHoleData();
    void OnHolePair(int pair);
    void OnSquareHoles();
    void OnAddRegistrationHole();
    void OnFindRegistrationHole();
    void FindLocatingHoles(int unused);
    // What a left press does in the add and find modes: a hole and its
    // mirrored partner added at the point (mil), or the hole there marked.
    void AddRegistrationHoleAt(POINT point);
    int PickRegistrationHoleAt(const CDPoint& point);
    void RegisterRegistrationHoleCommands();
    // Camera and measuring (vision_commands.cpp): the vision tool bar, the
    // teach and measure keys and the three measured points (pulses).
    CMachineViewHooks MachineHooks();
    void OnJogKey(unsigned code, int* speedIndex);
    void OnVisionMeasure();
    void OnAdjustOrigin();
    void RegisterVisionCommands();
    CDPoint m_MeasurePointA, m_MeasurePointB, m_MeasurePointC;
    // Program uploads to the third controller (upload_commands.cpp): the
    // path layers an upload takes, of the working side or the outline.
    std::vector<const CPathRecord*> UploadLayers(bool outline) const;
    void RegisterUploadCommands();
    // The automatic tool changer (tool_changer_commands.cpp).
    void AtcReturnTool();
    void AtcFetchTool(int slot);
    void ShowToolTable();
    void AtcDrillTool(const std::string& prompt);
    void AtcExchangeTool(const std::string& prompt);
    void AtcManualExchange(const std::string& prompt);
    // Isolation, milling, outline and engraving jobs (path_job_commands.cpp;
    // the work is the machining floor's path_jobs.h).
    void RegisterPathJobs();
    // Manual drilling and engraving, jogging and the partial machining
    // ranges (manual_run_commands.cpp, partial_commands.cpp; the work is
    // the machining floor's manual_runs.h, manual_moves.h, work_range.h).
    void ManualDrill();
    void ManualEngrave();
    // A key let go: the manual runs' request it held is dropped.
    void OnManualKeyUp(unsigned key);
    // The jog commands: one step of g_JogStep at the rapid speed on an
    // axis (0 X, 1 Y) in a direction, limited on the fresh position; and
    // the Z jog of the keyboard, one step up.
    void OnJog(int axis, int direction);
    void OnJogZUp();
    void OnSetJogStep();
    void OnPartialClearingPick();
    void OnPartialOutlinePick();
    void OnPartialUnselectAll();
    void OnPartialSelectAll();
    void OnClearingRangeResume();
    void OnOutlineRangeResume();
    void RegisterManualCommands();
    void RegisterPartialCommands();
    CWorkRangeDlg m_MillRangeDlg;
    CWorkRangeDlg m_OutlineRangeDlg;
    // The sub-mode each partial-selection command set last (a zoom to fit
    // follows only a change).
    std::array<int, 6> m_PartialSubModes{};


    CCommandTable m_Commands;

    // ---- Mouse dispatch, picks, ruler, keys and work stages ----
    // The mouse messages with their key flags (MK_*) and client point
    // (mouse_dispatch.cpp). Every other mouse tool is a worker of the mode
    // family whose flag is armed (MouseFamily).
    void OnLButtonDown(unsigned flags, POINT point);
    void OnMouseMove(unsigned flags, POINT point);
    void OnLButtonUp(unsigned flags, POINT point);
    void OnRButtonDown(unsigned flags, POINT point);
    // The cursor the current mode asks for (CURSOR_* below).
    int OnSetCursor() const;
    // Family A's right-click cancel.
    void OnRButtonDownEdit(unsigned flags, POINT point);
    // A rubber band from `start`: the moves draw it, the left release ends
    // it and hands `done` the band (client pixels, as dragged); Escape or the
    // right button abandons it and `done` is not called.
    using BandDone = std::function<void(const RECT& band)>;
    void TrackRubberBand(POINT start, BandDone done);
    bool BandActive() const { return m_BandActive; }
    void AbandonRubberBand();
    // The surface readout's warning tone: no more than one a half second.
    void SurfaceWarningBeep(double relief);
    // The popup of the current work stage with the state its items open
    // with, as the right button shows it (nothing in the path stage).
    struct CPopupItemState {
        int enabled = -1;   // -1 left to the command's own update handler
        int checked = -1;
    };
    std::map<unsigned, CPopupItemState> m_PopupStates;

    // Picks of the two-point family and the hit tests (hit_picks.cpp; the
    // searches are editing/hit_tests.h).
    CDPoint FindDrillNear(POINT point, int* tolerance) const;
    CDPoint FindPanelHoleAt(CDPoint point) const;
    const CFlashRecord* HitItemAt(POINT point) const;
    CLayoutBlock* FindBlockAt(CDPoint point) const;
    int AddCopperPickToSel(const CTrackRecord* track);
    int PickConnectedItem(const CTrackRecord* track);
    void RemoveRoutePoint(const CPathSegment* item);
    void SnapToRoutePoint(CDPoint* p1, CDPoint* p2) const;
    // The point (mil) moved onto the flash under it (1), else onto the
    // nearest track end or visible path-line end of the working side (0).
    int SnapToNearestPoint(CDPoint& point);
    // The isolation pick at `point` (mil): the hit path segment, or its
    // chain unless Shift is held, state 1 (0 with Ctrl); in area mode also
    // what the chain's ring encloses. The changed segments go to the edit
    // list. 0.
    int SelectPathsInArea(CDPoint point);
    // Path-data picks by point and rubber band (path_picks.cpp); each band
    // routine starts a rubber band at `start` (mil) and returns 1; its work
    // is done when the band is released (nothing when it is abandoned). 0
    // while another isolation delete or trim runs.
    int DeletePathAt(CDPoint point);
    int SelectDataInBand(CDPoint start);
    int DeselectDataInBand(CDPoint start);
    int DeleteHolesInBand(CDPoint start);
    int CutPathsInBand(CDPoint start);
    int CutOtherPathsInBand(CDPoint start);
    // The band of those routines: `done` gets its rectangle in mil once it
    // is released with a width and a height. 1.
    int StartPathBand(CDPoint start, std::function<void(const CBandRect& band)> done);
    // The trim of the path layers by a band: the visible layers of the
    // working side (of every side while Ctrl is held), or with `otherSide`
    // the visible layers of side 5.
    void TrimPathLayers(const CBandRect& band, bool otherSide);
    void PickTwoPoints(unsigned flags, POINT point);
    void TrackHover(unsigned flags, POINT point);
    void OnLButtonUpOther(unsigned flags, POINT point);
    void CancelEditMode(unsigned flags, POINT point);
    void DrawHoleMarkerXor(CDPoint p, double radius, COLORREF colour);

    // The ruler (ruler_commands.cpp); the point dialog of the commands is
    // editing/coord_input_dlg.h.
    void OnRuler();

    // Keys (keyboard.cpp).
    void OnKeyUp(unsigned key);
    // Key R of keyboard jogging: the drill list rebuilt from the measured
    // points of the measurement window, after the operator agrees.
    void ImportMeasuredHoles();

    // Work stages, display toggles, text windows (work_stages.cpp).
    void OnStageEdit();
    void OnStagePaths();
    void OnStageLayout();
    void OnStagePartial();
    void OnStageMachining();
    void OnToggleSolidLine();
    void OnShowTextWindow();
    void OnShowRouteWindow();
    void OnShowMeasureWindow();
    // The panel layout as far as the stages need it: one copy of the board
    // centred on the machine table when there is none yet.
    void OnBlockLayout();
    // That first copy alone, without the layout stage.
    void PlaceFirstCopyIfNone();
    void RegisterStageCommands();

    int m_PanMode = 0;
    int m_CopperToRouteMode = 0, m_RouteOriginMode = 0;
    // What the previous mouse move saw (the pan line is erased from it).
    POINT m_LastMovePoint{0, 0};
    int m_LastMovePressState = 0;
    // TrackHover's last marker and highlight.
    CDPoint m_HoverPoint, m_AddMarkerPoint;
    double m_HoverRadius = 0.0;
    int m_HoverShown = 0;
    const CFlashRecord* m_HoverFlash = nullptr;
    int m_HoverSide = 0;
    std::uint32_t m_LastWarningTick = 0;
    int m_WarningSounded = 0;
    BandDone m_BandDone;
    // ---- end of mouse dispatch, picks, ruler, keys and work stages ----
    // ---- Copper and path editor (edit_commands.cpp: the commands and the
    // popup's cancel; edit_workers.cpp: the press, move and release work of
    // the edit modes; drill_point_commands.cpp: the drill-point popup and
    // the double click; the record work in src/editing) ----
    void RegisterEditCommands();
    void OnAddCopperLine();
    void OnAddCopperCircle();
    void OnAddCopperRect();
    void OnCopperSelect();
    void OnCopperUnselect();
    void OnCopperDelete();
    void OnCopyPicked();
    void OnMoveCopper();
    void OnCopperAlign();
    void OnDataRange();
    void OnInputText();
    void OnCopperLineWidth();
    void OnCopperOffset();
    void OnRouteMachiningSetup();
    void OnDxfCamState();
    void OnDxfCamLayers();
    void OnCopperToT1Path();
    void OnIsoSelectLine();
    void OnIsoSelectArea();
    void OnIsoUnselect();
    void OnIsoDelete();
    void OnIsoUndoDelete();
    void OnIsoLock();
    void OnIsoUnlock();
    void OnPopupCancel();
    // Snapshot, then every normal or selected segment of the working side's
    // visible layers inside the document's pick contour takes `state`.
    void SetIsoStateInRegion(std::uint8_t state);
    // Drops what the editor's lists and drags hold of records about to be
    // freed (the picked copper, the picked and dragged path segments).
    void ForgetEditedRecords();
    // The path layers the isolation editor works on: the working side's
    // visible ones.
    bool IsEditablePathLayer(const CPathRecord& layer) const;
    // The workers of the edit family; `flags` are the message's key flags
    // (the held keys are read from m_KeyCtrl and m_KeyShift).
    void OnLButtonDownEdit(unsigned flags, POINT point);
    void OnMouseMoveEdit(unsigned flags, POINT point);
    void OnLButtonUpEdit(unsigned flags, POINT point);
    // The parts of the workers: the copper selection, the move mode's pick,
    // the side alignment's two pads, and the end of a drag and of a band
    // (`kind` the band's purpose, `mil` its rectangle).
    void SelectPress(POINT point);
    void TextPress(POINT point);
    void MovePress(CDPoint mil);
    void AlignPress(POINT point);
    void FinishMoveDrag(CDPoint release);
    void FinishEditBand(int kind, const RECT& mil);
    // Drill points.
    void OnDrillAdd();
    void OnDrillAutoAlignMode();
    void OnDrillAlign();
    void OnDrillFind();
    void OnDrillMove();
    void OnDrillAutoAlign();
    void OnDrillRotate();
    void OnDrillMirrorX();
    void OnDrillMirrorY();
    void OnAddDoubleSidedHoles();
    // The two clicks of the manual drill alignment (m_DrillAlignMode): a
    // hole, then the pad it belongs on; every hole then moves by the same
    // shift. A second click beside every pad aligns nothing.
    void DrillAlignPress(POINT point);
    void OnLButtonDblClk(unsigned flags, POINT point);
    // Editor state kept between the press, move and release messages.
    int m_SegmentAdded = 0;
    CDPoint m_MoveOffset;          // mil, of the drag in progress
    CDPoint m_DragPoint;           // mil, the joint or end being dragged
    CFlashRecord* m_DragJoint = nullptr;
    CRefList<CPathSegment> m_DragSegments;
    CDPoint m_AlignPadA;           // mil, the first pad of the side alignment
    CDPoint m_EditLastPoint;       // mil, the cursor of the last XOR shape
    int m_EditShapeShown = 0;      // that shape is on the screen
    CFontChoice m_TextFont;        // the font of the last engraved text
    // ---- end of the copper and path editor ----
    // ---- Route drawing by mouse and the route commands (route_workers.cpp:
    // the press, move, release and right-click work of the route family;
    // route_commands.cpp: the commands that arm, end and cancel it; the
    // geometry in editing/route_edit.h) ----
    void OnLButtonDownRoute(unsigned flags, POINT point);
    void OnMouseMoveRoute(unsigned flags, POINT point);
    void OnLButtonUpRoute(unsigned flags, POINT point);
    void OnRButtonDownRoute(unsigned flags, POINT point);
    // The first offset ring still to be taken (width 1 or more) with a
    // segment under `point` (client pixels), else null.
    CWidthGroup* FindOffsetRing(POINT point);
    // The first clearing stroke under `point` (client pixels; a 5-mil track
    // along each), else those with an end in a rubber band from there, are
    // excluded with Ctrl or Shift held and included otherwise.
    void PickClearStrokes(POINT point);
    // Ends the offset-ring pick: the rings go, the side data come back from
    // the snapshot taken before the conversion.
    void EndOffsetPick();
    void RegisterRouteCommands();
    void OnRouteLine();
    void OnRouteRect();
    void OnRouteCircle();
    // The router diameter asked, then `mode` the one drawing tool armed.
    void ArmRouteTool(int& mode);
    void OnRouteDraw2();
    void OnRouteOrigin();
    void OnUpdateRouteOrigin(CCmdUI& ui);
    void OnRouteDraw();
    void OnEndRouteDraw();
    void OnRouteDelete();
    void OnRouteCancel();
    void OnSetClearArea();
    void OnAddRectRecord();
    CWidthGroup* m_HoverRing = nullptr;
    // The rubber figure of the route tools is on the screen, drawn to
    // m_DragEnd (mil).
    int m_RouteShapeShown = 0;
    // ---- end of route drawing ----
    // ---- Copper to route conversion (copper_route_commands.cpp; the record
    // work in src/editing/copper_to_route.h) ----
    void RegisterCopperRouteCommands();
    void OnCopperToRouteOffset();
    void OnUpdateCopperToRouteOffset(CCmdUI& cmdUI);
    void OnCopperToRouteCentre();
    void OnRouteFromLayers();
    void OnUpdateRouteFromLayers(CCmdUI& cmdUI);
    void OnRouteFrame();
    // The rings of the planner's walk, `width` mil wide, into m_TrimList
    // (the old ones go), and the pick of rings armed.
    void BuildOffsetRings(int width);
    // ---- end of copper to route conversion ----

private:
    friend class CViewDC;
    CVelmDoc& m_Doc;
    CViewWindow* m_Window = nullptr;
    CNullSurface m_NullSurface;
    int m_InvalidateCount = 0;
    bool m_Drawing = false;
    bool m_RedrawPending = false;
    // The Window zoom's rubber band while the button is held.
    bool m_BandActive = false;
    RECT m_Band;

    CDrawSurface& Surface();
    void RegisterCommands();
    void RegisterMachineCommands();
    void RegisterTimerCommands();
    void RegisterToolCommands();
    // Shared by the copper, route and selection drawers (copper_drawing.cpp).
    friend struct CTrackPainter;
    // Pumps messages between the blocks of a layout paint; true when a new
    // redraw was asked for meanwhile, so this one should stop.
    bool PumpDuringDraw();
    // What OnDraw draws in each work stage (stage_drawing.cpp). Those that
    // pump messages return false when a new redraw stopped them.
    void DrawWorkArea(WorkStage stage);
    void DrawEditStage();
    void DrawPathStage();
    bool DrawLayoutStage();
    bool DrawPartialStage();
    bool DrawMachiningStage();
    void DrawTableAndFrames();
    bool DrawPanelCopies();
    void DrawTrackerRect(CDrawSurface& dc);
    void DrawBand();

public:
    // Block menu of the layout stage (block_commands.cpp).
    void OnAutoLayout();
    void OnBlockCopy();
    void OnBlockDelete();
    void OnBlockMove();
    void OnBlockMirrorX();
    void OnBlockMirrorY();
    void OnBlockRotate();
    void OnSelectMachiningData();
    void OnSelectMachiningBlock();
    void OnBlockCoords();
    void OnDrillCoordPick();
    void OnToolDetectPick();
    void OnToolDetectInput();
    void OnToolDetectSave();
    void OnToolDetectLoad();
    void OnMachineRangeTest();
    void OnPopupCancel3();
    void OnEnterPartialStage();
    void RegisterBlockCommands();

    // ---- Selection and block editing by mouse (select_workers.cpp) ----
    // Left clicks (or a band) pick copies into m_EditList; the right click
    // carries the armed edit out, or starts placing the copies of a copy or
    // move, which the next left press (copy) or release (move) ends.
    void OnLButtonDownSelect(unsigned flags, POINT point);
    void OnMouseMoveSelect(unsigned flags, POINT point);
    void OnLButtonUpSelect(unsigned flags, POINT point);
    void OnRButtonDownSelect(unsigned flags, POINT point);
    // The picks of the partial-machining stage, by m_SubMode.
    void OnLButtonDownBlock(unsigned flags, POINT point);
    void OnRButtonDownBlock(unsigned flags, POINT point);
    // Picks the copy under `point` (mil): 1 when it was added, 0 when it was
    // picked already. On empty board a band starts there instead (0); the
    // copies whose centres it holds are picked when it is released.
    int PickBlocksAt(CDPoint point);
    // The picked copies, which the list then lets go of: copied (a new copy
    // each, unmarked) or moved by (dx, dy) mil.
    void CopyEditListToBlocks(int dx, int dy);
    void MoveEditListBlocks(int dx, int dy);
    // The picked copies turned (x and y exchanged, the rectangle with them)
    // or mirrored (the x or the y sign negated).
    void RotateEditListBlocks();
    void FlipEditListBlocksX();
    void FlipEditListBlocksY();
    // The copies of m_EditList still on the panel.
    std::vector<CLayoutBlock*> EditListBlocks() const;
    // With Ctrl held and a copy picked, `point` (client pixels) put on the
    // horizontal or vertical through the last pick's centre, whichever is
    // nearer the way the pointer went.
    POINT ConstrainToAnchor(POINT point) const;
    // The left button is held since a press of this family.
    int m_SelectButtonHeld = 0;
    // The placing frames on the screen and their offset (mil).
    int m_PlaceShown = 0;
    CDPoint m_PlaceOffset;
    // The panel hole highlighted under the pointer (mil).
    int m_PanelHoleShown = 0;
    CDPoint m_PanelHolePoint;
    // ---- end of selection and block editing ----
};

// A drawer's use of the view's surface: taken at construction, the pen,
// brush and raster operation found are put back and the surface is given
// back (and shown) at destruction.
class CViewDC {
public:
    explicit CViewDC(CVelmView& view);
    ~CViewDC();
    CViewDC(const CViewDC&) = delete;
    CViewDC& operator=(const CViewDC&) = delete;
    CDrawSurface& dc;

private:
    CVelmView& m_View;
    CSurfaceStateSaver m_Saver;
};

// A block mirrors the board when exactly one of these holds: x and y are
// exchanged; the sign pair mixes +1 and -1. Arcs then turn the other way.
bool BlockMirrors(const CLayoutBlock& block);
// A board point of a panel copy: made relative to the copy's reference
// centre and turned with it (the current centre is added by the mapping).
CDPoint PlacePoint(const CLayoutBlock& block, double x, double y);

// Truncation toward zero of a double into an int, saturating far outside
// the range (coordinates that far away are dropped by the clipping anyway).
inline int TruncToInt(double v)
{
    // Far outside every window; keeps the conversion defined.
    constexpr double limit = 1.0e9;
    if (!(v == v))
        return std::numeric_limits<int>::min() / 2;
    if (v > limit)
        return static_cast<int>(limit);
    if (v < -limit)
        return static_cast<int>(-limit);
    return static_cast<int>(v);
}

inline int CVelmView::MapX(double x, double dx) const
{
    return TruncToInt((x + dx) / m_Scale + m_Origin.x);
}

inline int CVelmView::MapY(double y, double dy) const
{
    return TruncToInt((y + dy) / m_Scale + m_Origin.y);
}
// A pen width in pixels for a width in mil: the division is made in single
// precision, so 8 mil at 0.4 mil per pixel is 20 pixels, not 19.
inline int PenPixels(float mil, float scale) { return TruncToInt(mil / scale); }

// ---- Mouse dispatch ----
// The mode families of the mouse dispatch, in the order they are asked.
enum class EMouseFamily { None, Edit, Route, Select, Block, TwoPoint };
enum class EMouseEvent { Down, Move, Up, Right };
// The family whose worker gets `event`: the first, in the order A (Edit),
// B (Route), S (Select), K (Block), T (TwoPoint), with an armed flag for
// that event. A flag may belong to several families; the first wins.
EMouseFamily MouseFamily(const CVelmView& view, EMouseEvent event);
// The program's cursors; 0 is the window's own cursor, CURSOR_KEEP leaves
// whatever shows (a path calculation runs).
constexpr int CURSOR_PICK_CTRL = 214;
constexpr int CURSOR_DRAW_CTRL = 215;
constexpr int CURSOR_ZOOM = 219;
constexpr int CURSOR_SAMPLE = 234;
constexpr int CURSOR_TRIM_BLOCK_SHIFT = 242;
constexpr int CURSOR_TRIM_BLOCK_CTRL = 243;
constexpr int CURSOR_TRIM_CTRL = 244;
constexpr int CURSOR_CROSS = 245;
constexpr int CURSOR_TRIM_SHIFT = 248;
constexpr int CURSOR_ISO = 251;
constexpr int CURSOR_ISO_CTRL = 252;
constexpr int CURSOR_IBEAM = 1;
constexpr int CURSOR_KEEP = -1;
// A printf-formatted text for the status line and the prompts.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Sets (on non-zero) or clears the bit 2 of the kind word of every path
// layer named `name`: the mark of a hidden DXF-CAM layer.
void SetPathLayerBit(CVelmDoc& doc, const std::string& name, int on);
// ---- end of mouse dispatch ----
