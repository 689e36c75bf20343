// The program-wide objects of the core, in construction order: the settings
// objects, the six text windows, the link objects and the registration
// targets. Keeping the definitions in one file fixes that order; C++ gives
// none across files. Each subsystem's header declares its own objects; one
// reset, registered with the platform's list, gives them all back their
// construction values.
#include "platform/program_objects.h"

#include "editing/drill_alignment.h"
#include "geometry/board_orientation.h"
#include "geometry/registration.h"
#include "import/drill_reader.h"
#include "import/gerber_number.h"
#include "import/gerber_reader_state.h"
#include "link/link_state.h"
#include "machining/machining_report.h"
#include "machining/plane_data.h"
#include "planning/calc_settings_dlg.h"
#include "records/board_extent.h"
#include "records/board_records.h"
#include "settings/drill_format_dlg.h"
#include "settings/gerber_format_dlg.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "settings/vision_targets.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

CSystemSettingsDlg g_SystemSettingsDlg;
CMachineSettings g_MachineSettings;
CMachineParamDlg g_MachineParamDlg;
CWorkOrderDlg g_WorkOrderDlg;
CGerberFormatDlg g_GerberFormatDlg;
float g_DominantPadRadius = 0.0f;
CPadRunStatistic g_PadRunStatistic;
CGerberShapeCodes g_GerberShapeCodes;
CDrillFormatDlg g_DrillFormatDlg;
CLayerDlg g_LayerDlg;
CPlaneDetectDlg g_PlaneDetectDlg;
CProbeTestDlg g_ProbeTestDlg;
CDrillReader g_DrillReader;
CEditWnd g_RouteDataWnd;
CEditWnd g_MeasureDataWnd;
CEditWnd g_SettingsTextWnd;
CEditWnd g_MacroTextWnd;
CEditWnd g_HoleDataWnd;
CEditWnd g_SpareEditWnd;
CCalcSettingsDlg g_CalcSettingsDlg;
CBinLink g_BinLink;
CAsciiLink g_MachineLink;
CAsciiLink g_MachineLink2;
int g_ControllerKind = -1;
int g_SpindleOn = 0;
std::array<CDPoint, VISION_TARGET_POINTS> g_TargetPoints;
int g_TargetCount = 0;
COwnedList<CDrillTool> g_HoleList;
std::array<float, DRILL_TOOL_SIZES> g_ToolSizes{};
int g_BoardMinX = 0;
int g_BoardMinY = 0;
int g_BoardMaxX = 0;
int g_BoardMaxY = 0;
COLORREF g_CopperColor = COMPONENT_COPPER_COLOR;
float g_CameraOffsetX = 0.0f;
float g_CameraOffsetY = 0.0f;
int g_AlignEnable = 0;
CProbeGrid& g_SurfaceGrid = g_PlaneDetectDlg;
CMachiningReportDlg g_ReportDlg;
float g_RouteOffsetDistance = 1.5f;

namespace {

void ResetCoreObjects()
{
    g_SystemSettingsDlg = CSystemSettingsDlg();
    g_MachineSettings = CMachineSettings();
    g_MachineParamDlg = CMachineParamDlg();
    g_WorkOrderDlg.DestroyWindow();
    g_WorkOrderDlg = CWorkOrderDlg();
    g_GerberFormatDlg = CGerberFormatDlg();
    g_DominantPadRadius = 0.0f;
    g_PadRunStatistic = CPadRunStatistic();
    g_GerberShapeCodes = CGerberShapeCodes();
    ResetGerberParsers();
    g_DrillFormatDlg.DestroyWindow();
    g_DrillFormatDlg = CDrillFormatDlg();
    g_LayerDlg = CLayerDlg();
    g_PlaneDetectDlg.DestroyWindow();
    g_PlaneDetectDlg = CPlaneDetectDlg();
    g_ProbeTestDlg = CProbeTestDlg();
    g_DrillReader = CDrillReader();
    for (CEditWnd* wnd : {&g_RouteDataWnd, &g_MeasureDataWnd, &g_SettingsTextWnd, &g_MacroTextWnd,
                          &g_HoleDataWnd, &g_SpareEditWnd}) {
        wnd->DestroyWindow();
        *wnd = CEditWnd();
    }
    g_CalcSettingsDlg = CCalcSettingsDlg();
    g_BinLink = CBinLink();
    g_MachineLink = CAsciiLink();
    g_MachineLink2 = CAsciiLink();
    g_ControllerKind = -1;
    g_SpindleOn = 0;
    g_TargetPoints.fill(CDPoint(0.0, 0.0));
    g_TargetCount = 0;
    g_HoleList.clear();
    g_ToolSizes.fill(0.0f);
    g_BoardMinX = g_BoardMinY = g_BoardMaxX = g_BoardMaxY = 0;
    g_CopperColor = COMPONENT_COPPER_COLOR;
    g_CameraOffsetX = 0.0f;
    g_CameraOffsetY = 0.0f;
    g_AlignEnable = 0;
    g_ReportDlg.DestroyWindow();
    g_ReportDlg = CMachiningReportDlg();
    g_RouteOffsetDistance = 1.5f;
}

const CProgramObjectReset s_CoreReset(ResetCoreObjects);

}  // namespace
