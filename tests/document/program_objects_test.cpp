// Every program-wide object comes back to its construction value when the
// program objects are reset, so no test can leak state into the next: each
// row changes one object away from that value, and after the reset the row's
// check must see the construction value again.
#include "geometry/board_orientation.h"
#include "geometry/registration.h"
#include "geometry/value_stacks.h"
#include "import/drill_reader.h"
#include "import/gerber_blocks.h"
#include "import/gerber_reader_state.h"
#include "link/link_state.h"
#include "machining/plane_data.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "platform/settings_store.h"
#include "records/board_extent.h"
#include "records/board_records.h"
#include "settings/drill_format_dlg.h"
#include "settings/gerber_format_dlg.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "ui/command_router.h"
#include "ui/edit_wnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

struct ObjectCase {
    const char* name;
    std::function<void()> change;
    std::function<bool()> fresh;
};

// A command table attached to the router, so the router's reset shows.
CCommandTable g_Table;

}  // namespace

TEST(ProgramObjects, ResetRestoresEachObject)
{
    const ObjectCase cases[] = {
        {"abort flag", [] { g_AbortFlag = 1; }, [] { return g_AbortFlag == 0; }},
        {"calculating", [] { g_Calculating = 1; }, [] { return g_Calculating == 0; }},
        {"status text", [] { g_StatusText.push_back('x'); }, [] { return g_StatusText.empty(); }},
        {"system settings", [] { g_ComPortIndex = 7; }, [] { return g_ComPortIndex == 0; }},
        {"machine settings", [] { g_TableWidth = 1.0; }, [] { return g_TableWidth == 12204.0; }},
        {"baud rate", [] { g_BaudRate = 9600; }, [] { return g_BaudRate == 115200u; }},
        {"machine parameters", [] { g_DrillDepth = 9.0f; }, [] { return g_DrillDepth == 2.8f; }},
        {"work order", [] { g_DrillFile = "a.drl"; }, [] { return g_DrillFile.empty(); }},
        {"Gerber format", [] { g_GerberFormatDlg.OverlapDelete = !CGerberFormatDlg().OverlapDelete; },
         [] { return g_GerberFormatDlg.OverlapDelete == CGerberFormatDlg().OverlapDelete; }},
        {"dominant pad radius", [] { g_DominantPadRadius = 3.0f; },
         [] { return g_DominantPadRadius == 0.0f; }},
        {"pad run statistic", [] { g_PadRunStatistic.longest = 4; },
         [] { return g_PadRunStatistic.longest == 0; }},
        {"shape codes", [] { g_GerberShapeCodes.route = 2; },
         [] { return g_GerberShapeCodes.route == 0; }},
        {"drill format", [] { g_DrillFormatDlg.dUnitInt = 3; },
         [] { return g_DrillFormatDlg.dUnitInt == 2; }},
        {"working layers", [] { g_ShowLayerDrill = 0; }, [] { return g_ShowLayerDrill == 1; }},
        {"plane detection", [] { g_PlaneDetectDlg.m_Valid = 1; },
         [] { return g_PlaneDetectDlg.m_Valid == 0; }},
        {"probe test", [] { g_ProbeTestDlg.m_Open = 1; }, [] { return g_ProbeTestDlg.m_Open == 0; }},
        {"drill reader", [] { g_DrillReader.WriteLine("T1"); },
         [] { return g_DrillReader.GetLineCount() == CDrillReader().GetLineCount(); }},
        {"text windows",
         [] {
             for (CEditWnd* w : {&g_RouteDataWnd, &g_MeasureDataWnd, &g_SettingsTextWnd,
                                 &g_MacroTextWnd, &g_HoleDataWnd, &g_SpareEditWnd})
                 w->Edit().WriteLine("line");
         },
         [] {
             for (CEditWnd* w : {&g_RouteDataWnd, &g_MeasureDataWnd, &g_SettingsTextWnd,
                                 &g_MacroTextWnd, &g_HoleDataWnd, &g_SpareEditWnd})
                 if (w->Edit().GetLineCount() != CEditWnd().Edit().GetLineCount())
                     return false;
             return true;
         }},
        {"links",
         [] {
             g_JobCode = 5;
             g_PortState = 1;
             g_MachineLink2.m_JobCode = 5;
             g_BinLink.m_PosX = 9;
         },
         [] {
             return g_JobCode == 0 && g_PortState == -1 && g_MachineLink2.m_JobCode == 0 &&
                    g_BinLink.m_PosX == 0;
         }},
        {"controller kind", [] { g_ControllerKind = 1; }, [] { return g_ControllerKind == -1; }},
        {"spindle", [] { g_SpindleOn = 1; }, [] { return g_SpindleOn == 0; }},
        {"registration targets",
         [] {
             g_TargetCount = 2;
             g_TargetPoints[3] = CDPoint(1.0, 2.0);
         },
         [] { return g_TargetCount == 0 && g_TargetPoints[3] == CDPoint(0.0, 0.0); }},
        {"holes", [] { g_HoleList.push_back(std::make_unique<CDrillTool>()); },
         [] { return g_HoleList.empty(); }},
        {"tool sizes", [] { g_ToolSizes[5] = 1.0f; }, [] { return g_ToolSizes[5] == 0.0f; }},
        {"board extent", [] { g_BoardMaxX = 100; }, [] { return g_BoardMaxX == 0; }},
        {"copper colour", [] { g_CopperColor = SOLDER_COPPER_COLOR; },
         [] { return g_CopperColor == COMPONENT_COPPER_COLOR; }},
        {"camera offset", [] { g_CameraOffsetY = 2.0f; }, [] { return g_CameraOffsetY == 0.0f; }},
        {"command router",
         [] {
             g_Table.OnCommand(1, [] {});
             CommandRouter().Attach(CommandLevel::Document, &g_Table);
             CommandRouter().EnterWork();
         },
         [] { return !CommandRouter().Dispatch(1) && CommandRouter().RunningDepth() == 0; }},
        {"reported settings problems", [] { ReportSettingsProblems({"line 1: bad"}); },
         [] { return TakeSettingsProblems().empty(); }},
        {"value stacks",
         [] {
             float v = 1.0f;
             FloatStack1(STACK_PUSH, &v);
         },
         [] { return FloatStack1Count() == 0; }},
    };

    for (const ObjectCase& c : cases) {
        ResetProgramObjects();
        ASSERT_TRUE(c.fresh()) << c.name << " is not at its construction value to begin with";
        c.change();
        ASSERT_FALSE(c.fresh()) << c.name << ": the change did not change it";
        ResetProgramObjects();
        EXPECT_TRUE(c.fresh()) << c.name << " was not reset";
    }

    // A reported problem is reported again after a reset (the set that keeps
    // each one to a single report is emptied too).
    ReportSettingsProblems({"line 2: bad"});
    ResetProgramObjects();
    ReportSettingsProblems({"line 2: bad"});
    EXPECT_EQ(TakeSettingsProblems().size(), 1u);
}

TEST(ProgramObjects, ResetUnloadsTheLanguageLibrary)
{
    std::string library = ORDUNE_BIN_DIR;
    library.append("/ENGLISH.DLL");
    ASSERT_TRUE(LoadLanguageLibrary(library));
    ResetProgramObjects();
    EXPECT_FALSE(LanguageLibraryLoaded());
}
