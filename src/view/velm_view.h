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
#pragma once

#include "document/velm_doc.h"
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
#include <initializer_list>
#include <limits>
#include <string>

class CCmdUI;
class CViewWindow;

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
    int m_RouteLineMode = 0, m_RoutePointMode = 0, m_RouteCircleMode = 0, m_RouteDraw2Mode = 0,
        m_RouteRectMode = 0, m_RouteOffsetMode = 0;
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
