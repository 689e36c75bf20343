// The view's registration-hole commands: the hole window, the five standard
// pairs, the square of four holes, the add and find modes (whose clicks the
// mouse dispatch handles) and the manual locating-hole search, whose logic
// is the machining floor's (locating_holes.h).
#include "view/velm_view.h"

#include "view/hole_text_walk.h"

#include "editing/coord_input_dlg.h"
#include "link/job_codes.h"
#include "machining/locating_holes.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "ui/edit_wnd.h"

void CVelmView::OnHoleData()
{
    g_HoleDataWnd.CreateOnce(LoadResString(IDS_HOLE_WND));
    g_HoleDataWnd.ShowWindow(true);
    EnsureHoleHeader(g_HoleDataWnd.Edit());
}

void CVelmView::OnHolePair(int pair)
{
    OnHoleData();
    if (!WriteHolePair(g_HoleDataWnd.Edit(), pair, g_TableWidth, g_TableHeight))
        AfxMessageBox(LoadResString(IDS_HOLES_DEFINED_TWICE));
    DrawPositioningHoles(VIEW_WHITE);
}

// The hole window made but kept hidden, with its header: the start of the
// commands that write holes without showing the text.
static void PrepareHiddenHoleText()
{
    g_HoleDataWnd.CreateOnce(LoadResString(IDS_HOLE_WND));
    g_HoleDataWnd.ShowWindow(false);
    EnsureHoleHeader(g_HoleDataWnd.Edit());
}

void CVelmView::OnSquareHoles()
{
    PrepareHiddenHoleText();
    CCoordInputDlg dialog;
    if (dialog.DoModal() != IDOK)
        return;
    WriteSquareHoles(g_HoleDataWnd.Edit(), dialog.m_CoordX, dialog.m_CoordY, g_TableWidth,
                     g_TableHeight);
    Invalidate();
}

void CVelmView::OnAddRegistrationHole()
{
    PrepareHiddenHoleText();
    m_RegHoleAddMode = 1;
}

void CVelmView::OnFindRegistrationHole()
{
    OnHoleData();
    m_RegHolePickMode = 1;
}

void CVelmView::AddRegistrationHoleAt(POINT point)
{
    constexpr COLORREF kHoleMarker = 0x69E9A9;
    DrawPointMarker(point.x, point.y, 70.0, kHoleMarker, CDPoint(0.0, 0.0));
    const int x = point.x - g_HoleDataWnd.m_OriginX;
    const int y = point.y - g_HoleDataWnd.m_OriginY;
    AddHolePair(g_HoleDataWnd.Edit(), x, y, g_TableWidth);
    m_PressState = 1;
}

int CVelmView::PickRegistrationHoleAt(const CDPoint& point)
{
    constexpr COLORREF kHoleMarker = 0x69E9A9;
    CDrillTextWalk holes(g_HoleDataWnd, CDrillTextWalk::EUnit::Millimetres);
    CDPoint hole;
    const bool found = FindHoleNear(holes, point, &hole);
    if (found)
        DrawPointMarker(hole.x, hole.y, 70.0, kHoleMarker, CDPoint(0.0, 0.0));
    m_PressState = 1;
    return found ? 1 : 0;
}

void CVelmView::FindLocatingHoles(int)
{
    CDrillTextWalk holes(g_HoleDataWnd, CDrillTextWalk::EUnit::Millimetres);
    RunLocatingHoleSearch(holes, MachineHooks());
}

void CVelmView::RegisterRegistrationHoleCommands()
{
    m_Commands.OnCommand(ID_WINDOW_LOCATING_HOLES, [this] { OnHoleData(); });
    const std::pair<unsigned, int> pairs[] = {
        {ID_LOCATING_PAIR_ONE, 1},   {ID_LOCATING_PAIR_TWO, 2},  {ID_LOCATING_PAIR_THREE, 3},
        {ID_LOCATING_PAIR_FOUR, 4},  {ID_LOCATING_PAIR_FIVE, 5},
    };
    for (const auto& [id, pair] : pairs)
        m_Commands.OnCommand(id, [this, n = pair] { OnHolePair(n); });
    m_Commands.OnCommand(ID_LOCATING_SQUARE_HOLES, [this] { OnSquareHoles(); });
    m_Commands.OnCommand(ID_LOCATING_HOLE_ADD, [this] { OnAddRegistrationHole(); });
    m_Commands.OnCommand(ID_LOCATING_HOLE_FIND, [this] { OnFindRegistrationHole(); });
    SetJobRunner(JOB_FIND_LOCATING_HOLES, [this](unsigned) { FindLocatingHoles(0); });
}
