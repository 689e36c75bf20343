// The work-order dialog: the dialect list, the file choosers, OK, Clear and
// Cancel.
#include "settings/work_order_dlg.h"

#include "resource_ids.h"
#include "support/scripted_host.h"
#include "ui/edit_wnd.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

void SettingsText(std::initializer_list<const char*> lines)
{
    for (const char* line : lines)
        g_SettingsTextWnd.Edit().WriteLine(line);
}

int RunWorkOrder(std::function<void(CDialog&)> script)
{
    TestHost().QueueDialog(std::move(script), IDD_WORK_ORDER);
    return g_WorkOrderDlg.DoModal();
}

std::vector<std::string> Entries(const CDialog& d, unsigned id)
{
    std::vector<std::string> items;
    for (int i = 0; i < d.GetCount(id); ++i)
        items.push_back(d.GetLBText(id, i));
    return items;
}

}  // namespace

TEST(WorkOrderDlg, TheDialectListFollowsTheFiletypeBlocks)
{
    SettingsText({"LANGUAGE $ENGLISH", "FILETYPE $PROTEL", "MIL", "", "FILETYPE", "  FILETYPE $PADS"});
    g_ApertureFormat = 2;
    g_ComponentGerberFile = "/jobs/a.gtl";
    RunWorkOrder([](CDialog& d) {
        EXPECT_EQ(Entries(d, IDC_WO_APERTURE_SOURCE),
                  (std::vector<std::string>{"PROTEL", "FILETYPE", "PADS"}));
        EXPECT_EQ(d.GetCurSel(IDC_WO_APERTURE_SOURCE), 2);
        EXPECT_EQ(d.GetDlgItemText(IDC_WO_COMPONENT_GERBER), "/jobs/a.gtl");
        d.SetCurSel(IDC_WO_APERTURE_SOURCE, 0);
        d.PressButton(IDOK);
    });
    EXPECT_EQ(g_ApertureFormat, 0);
    EXPECT_EQ(g_CadDialect, "PROTEL");

    // Without FILETYPE lines the list is empty and OK keeps the dialect.
    g_SettingsTextWnd.Edit().ClearAll();
    SettingsText({"XLIMIT 3"});
    RunWorkOrder([](CDialog& d) {
        EXPECT_EQ(d.GetCount(IDC_WO_APERTURE_SOURCE), 0);
        d.PressButton(IDOK);
    });
    EXPECT_EQ(g_ApertureFormat, 0);
    EXPECT_EQ(g_CadDialect, "PROTEL");
}

TEST(WorkOrderDlg, OkSetsTheGerberFactorFromTheStoredUnit)
{
    struct Case {
        int p7;
        float factor;
    } cases[] = {{0, 1.0f}, {1, 10.0f}, {2, 100.0f}, {5, 3.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.p7);
        g_WorkOrderP7 = c.p7;
        g_GerberUnitFactor = 3.0f;
        EXPECT_EQ(RunWorkOrder([](CDialog& d) { d.PressButton(IDOK); }), IDOK);
        EXPECT_EQ(g_GerberUnitFactor, c.factor);
    }
}

TEST(WorkOrderDlg, BrowseButtonsFillTheirFiles)
{
    struct Case {
        unsigned button;
        std::string* member;
        bool multiple;
        const char* filter;
    } cases[] = {
        {IDC_WO_BROWSE_COMPONENT_GERBER, &g_ComponentGerberFile, true,
         "Component Side|*.*|PROTEL   *.GTL|*.GTL|PADS   *.PHO|*.PHO|P-CAD   *.GBR|*.GBR|"},
        {IDC_WO_BROWSE_SOLDER_GERBER, &g_SolderGerberFile, true,
         "Solder Side|*.*|PROTEL   *.GBL|*.GBL|PADS   *.PHO|*.PHO|P-CAD   *.GBR|*.GBR|"},
        {IDC_WO_BROWSE_COMPONENT_APERTURE, &g_ComponentApertureFile, false,
         "Aperture File|*.*|PROTEL   *.A*|*.A*|PADS   *.REP|*.REP|P-CAD   *.APR|*.APR|"},
        {IDC_WO_BROWSE_SOLDER_APERTURE, &g_SolderApertureFile, false,
         "Aperture File|*.*|PROTEL   *.A*|*.A*|PADS   *.REP|*.REP|P-CAD   *.APR|*.APR|"},
        {IDC_WO_BROWSE_DRILL, &g_DrillFile, false,
         "Drill|*.*|PROTEL   *.TXT|*.TXT|PADS   *.DRL|*.DRL|P-CAD   *.DRL|*.DRL|"},
        {IDC_WO_BROWSE_ROUTE, &g_RouteFile, false,
         "Route|*.*|PROTEL   *.GKO|*.GKO|HPGL  *.PLT|*.PLT|GM-CODE   *.NC|*.NC|"},
    };
    // The first chooser opens at home (the order names no folder yet), each
    // later one where the last file was chosen.
    const char* home = std::getenv("HOME");
    const std::string userHome = home ? home : "";
    ::setenv("HOME", "/home/operator", 1);
    std::string start = "/home/operator/*.*";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        *c.member = "old";
        if (c.multiple)
            TestHost().QueueFileChoice({"/j/A.gtl", "/j/B.gtl", "/j/C.gtl"});
        else
            TestHost().QueueFileChoice({"/j/one"});
        RunWorkOrder([&](CDialog& d) {
            d.PressButton(c.button);
            EXPECT_EQ(d.GetDlgItemText(IDC_WO_DRILL), g_DrillFile);  // the controls follow
            d.PressButton(IDOK);
        });
        EXPECT_EQ(*c.member, c.multiple ? "/j/A.gtl;/j/B.gtl;/j/C.gtl" : "/j/one");
        const auto& request = TestHost().FileRequests().back();
        EXPECT_EQ(request.filter, c.filter);
        EXPECT_EQ(request.multiple, c.multiple);
        EXPECT_EQ(request.initialPath, start);
        start = "/j/*.*";
    }
    // A cancelled chooser leaves the file.
    TestHost().QueueFileCancel();
    RunWorkOrder([](CDialog& d) {
        d.PressButton(IDC_WO_BROWSE_DRILL);
        d.PressButton(IDOK);
    });
    EXPECT_EQ(g_DrillFile, "/j/one");

    // After a restart the order's own files show where the job lies.
    g_WorkOrderDlg = CWorkOrderDlg();
    g_SolderGerberFile = "/jobs/k/B.gbl;/jobs/k/B2.gbl";
    TestHost().QueueFileCancel();
    RunWorkOrder([](CDialog& d) {
        d.PressButton(IDC_WO_BROWSE_DRILL);
        d.PressButton(IDOK);
    });
    EXPECT_EQ(TestHost().FileRequests().back().initialPath, "/jobs/k/*.*");
    ::setenv("HOME", userHome.c_str(), 1);
}

TEST(WorkOrderDlg, ClearEmptiesTheOrder)
{
    g_DrillFile = "/j/d.drl";
    g_RouteFile = "/j/r.gko";
    g_CalcMethod = 3;
    g_WorkOrderP7 = 2;
    g_GerberMetric = 1;
    g_ApertureFormat = 1;
    RunWorkOrder([](CDialog& d) {
        d.PressButton(IDC_WO_CLEAR);
        EXPECT_EQ(d.GetDlgItemText(IDC_WO_DRILL), "");
        d.PressButton(IDOK);
    });
    EXPECT_EQ(g_DrillFile, "");
    EXPECT_EQ(g_RouteFile, "");
    EXPECT_EQ(g_CalcMethod, 0);  // no processing macro after the next load
    EXPECT_EQ(g_GerberMetric, 0);
    EXPECT_EQ(g_GerberUnitFactor, 1.0f);
}

TEST(WorkOrderDlg, CancelLeavesTheOrderAsItWas)
{
    SettingsText({"FILETYPE $PROTEL", "FILETYPE $PADS"});
    g_ComponentGerberFile = "/j/top.gtl";
    g_DrillFile = "/j/d.drl";
    g_CalcMethod = 2;
    g_ApertureFormat = 1;
    g_CadDialect = "PADS";
    g_GerberUnitFactor = 10.0f;
    g_WorkOrderP7 = 1;
    TestHost().QueueFileChoice({"/j/new.gbl"});
    EXPECT_EQ(RunWorkOrder([](CDialog& d) {
                  d.SetDlgItemText(IDC_WO_COMPONENT_GERBER, "/typed.gtl");
                  d.KillFocus(IDC_WO_COMPONENT_GERBER);
                  EXPECT_EQ(g_ComponentGerberFile, "/typed.gtl");  // copied on leaving
                  d.PressButton(IDC_WO_BROWSE_SOLDER_GERBER);
                  d.PressButton(IDC_WO_CLEAR);
                  d.SetCurSel(IDC_WO_APERTURE_SOURCE, 0);
                  d.PressButton(IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_EQ(g_ComponentGerberFile, "/j/top.gtl");
    EXPECT_EQ(g_SolderGerberFile, "");
    EXPECT_EQ(g_DrillFile, "/j/d.drl");
    EXPECT_EQ(g_CalcMethod, 2);
    EXPECT_EQ(g_ApertureFormat, 1);
    EXPECT_EQ(g_CadDialect, "PADS");
    EXPECT_EQ(g_WorkOrderP7, 1);
    EXPECT_EQ(g_GerberUnitFactor, 10.0f);
}

TEST(WorkOrderDlg, TypedPathsSurviveABrowse)
{
    TestHost().QueueFileChoice({"/j/route.gko"});
    RunWorkOrder([](CDialog& d) {
        d.SetDlgItemText(IDC_WO_DRILL, "/typed.drl");
        d.PressButton(IDC_WO_BROWSE_ROUTE);
        EXPECT_EQ(d.GetDlgItemText(IDC_WO_DRILL), "/typed.drl");
        d.PressButton(IDOK);
    });
    EXPECT_EQ(g_DrillFile, "/typed.drl");
    EXPECT_EQ(g_RouteFile, "/j/route.gko");
}

TEST(WorkOrderDlg, MadeModelesslyOnce)
{
    EXPECT_EQ(g_WorkOrderDlg.Create(), 1);
    EXPECT_EQ(g_WorkOrderDlg.Create(), 0);
    EXPECT_EQ(g_WorkOrderDlg.m_Created, 1);
    g_WorkOrderDlg.DestroyWindow();
    EXPECT_EQ(g_WorkOrderDlg.Create(), 0);  // the created flag stays
}
