// The tool dialogs: the unit conversions they share, the path-calculation
// dialog's widths, T1 list, defaults and preview, the drill tool-size
// dialog's two edits kept in step, the tool-change table and the
// path-method dialog's exchange, each driven as the operator would.
#include "planning/path_calc_dlg.h"
#include "planning/tool_dialogs.h"

#include "document/velm_doc.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"
#include "view/velm_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

// What the operator does to an edit: new text, then the change is told.
void Type(CDialog& d, unsigned id, const std::string& text)
{
    d.SetDlgItemText(id, text);
    d.TextEdited(id);
}

void Pick(CDialog& d, unsigned id, int index)
{
    d.SetCurSel(id, index);
    d.SelectionChanged(id);
}

std::vector<std::string> Entries(const CDialog& d, unsigned id)
{
    std::vector<std::string> items;
    for (int i = 0; i < d.GetCount(id); ++i)
        items.push_back(d.GetLBText(id, i));
    return items;
}

int RunDialog(CDialog& dialog, std::function<void(CDialog&)> script)
{
    TestHost().QueueDialog(std::move(script), dialog.TemplateId());
    return dialog.DoModal();
}

}  // namespace

// ---- Units ----

TEST(ToolDialogUnits, MilAndMillimetreAndZPulses)
{
    struct Case {
        double mil, mm;
    } sizes[] = {{7.874016, 0.2}, {19.685040, 0.5}, {59.055119, 1.5}, {100.0, 2.54},
                 {40.0, 1.016},   {0.0, 0.0},       {-10.0, -0.254}};
    for (const Case& c : sizes) {
        SCOPED_TRACE(c.mil);
        EXPECT_NEAR(MilToMm(c.mil), c.mm, 1e-6);
        EXPECT_NEAR(MmToMil(c.mm), c.mil, 1e-5);
    }
    EXPECT_DOUBLE_EQ(MmToMil(1.0), 100.0 / 2.54);

    struct Depth {
        float pulses, perMM, mm;
    } depths[] = {{20.0f, 200.0f, 0.1f}, {16.0f, 200.0f, 0.08f}, {24.0f, 400.0f, 0.06f}};
    for (const Depth& d : depths) {
        SCOPED_TRACE(d.pulses);
        EXPECT_FLOAT_EQ(PulsesToMm(d.pulses, d.perMM), d.mm);
        EXPECT_FLOAT_EQ(MmToPulses(d.mm, d.perMM), d.pulses);
    }
    // A broken Z scale shows depths as 0, never as an infinity.
    for (float broken : {0.0f, -200.0f, NAN, INFINITY}) {
        EXPECT_EQ(PulsesToMm(20.0f, broken), 0.0f);
        EXPECT_EQ(MmToPulses(0.1f, broken), 0.0f);
    }
}

TEST(ToolDialogUnits, LeadingNumberOfATextIsItsWidth)
{
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"0.5/BLUE", 0.5}, {"1.5/RED", 1.5}, {"0.6", 0.6},  {"0.15/60'", 0.15},
                 {"  0.2/90'", 0.2}, {"RED", 0.0},    {"", 0.0},     {"/0.5", 0.0},
                 {"nan", 0.0},      {"inf", 0.0},    {"1e999", 0.0}, {"-0.1mm", -0.1}};
    for (const Case& c : cases)
        EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
}

// ---- The path-calculation dialog ----

class PathCalcDlgTest : public testing::Test {
protected:
    // The values the command fills in before the run.
    void SetUp() override
    {
        dlg.m_T1Size = 0.2f;
        dlg.m_T2Size = 0.5f;
        dlg.m_T3Size = 1.5f;
        dlg.m_T1Depth = 0.1f;
        dlg.m_T2Depth = 0.12f;
        dlg.m_T3Depth = 0.12f;
        dlg.m_Overlap = 0.2f;
    }
    CPathCalcDlg dlg;
};

TEST_F(PathCalcDlgTest, OpensWithTheNamedWidthsTheDepthsAndTheChosenTip)
{
    struct Case {
        float size;
        const char* text;
    } cases[] = {{0.5f, "0.5/BLUE"}, {1.5f, "1.5/RED"}, {0.6f, "0.6"}, {0.49999991f, "0.5"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dlg.m_T2Size = dlg.m_T3Size = c.size;
        dlg.T1Select = 2;
        RunDialog(dlg, [&](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_T2_WIDTH), c.text);
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_T3_WIDTH), c.text);
            EXPECT_EQ(Entries(d, IDC_PC_T1_TOOL),
                      (std::vector<std::string>{"0.2/90'", "0.15/90'", "0.15/60'", "0.1/60'"}));
            EXPECT_EQ(d.GetCurSel(IDC_PC_T1_TOOL), 2);
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_T1_TOOL), "0.15/60'");
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_T1_DEPTH), "0.1");
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_T2_DEPTH), "0.12");
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_OVERLAP), "0.2");
            for (unsigned box : {IDC_PC_T1_ISO, IDC_PC_T1_CLEAR, IDC_PC_T2_ISO, IDC_PC_T2_CLEAR,
                                 IDC_PC_T3_CLEAR})
                EXPECT_EQ(d.IsDlgButtonChecked(box), 1) << box;
            d.PressButton(IDOK);
        });
        // An unchanged dialog gives T1 the chosen tip's width, not the
        // width it was filled with.
        EXPECT_FLOAT_EQ(dlg.m_T1Size, 0.15f);
        EXPECT_FLOAT_EQ(dlg.m_T2Size, c.size);
    }
}

TEST_F(PathCalcDlgTest, TypedWidthsAreTheNumbersTheTextsBeginWith)
{
    struct Case {
        const char* text;
        float width;
    } cases[] = {{"1.5/RED", 1.5f}, {"0.5/BLUE", 0.5f}, {"0.6", 0.6f}, {"RED", 0.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(RunDialog(dlg,
                      [&](CDialog& d) {
                          Type(d, IDC_PC_T2_WIDTH, c.text);
                          Type(d, IDC_PC_T3_WIDTH, c.text);
                          Type(d, IDC_PC_T1_TOOL, c.text);
                          d.PressButton(IDOK);
                      }),
                  IDOK);
        EXPECT_FLOAT_EQ(dlg.m_T1Size, c.width);
        EXPECT_FLOAT_EQ(dlg.m_T2Size, c.width);
        EXPECT_FLOAT_EQ(dlg.m_T3Size, c.width);
        EXPECT_EQ(dlg.m_T2WidthText, c.text);
    }
}

TEST_F(PathCalcDlgTest, TypedDepthsAndOverlapReachTheMembersAsTyped)
{
    RunDialog(dlg, [](CDialog& d) {
        Type(d, IDC_PC_T1_DEPTH, "0.07");
        Type(d, IDC_PC_T2_DEPTH, "0.09");
        Type(d, IDC_PC_T3_DEPTH, "0.2");
        Type(d, IDC_PC_OVERLAP, "0.3");
        d.PressButton(IDCANCEL);
    });
    EXPECT_FLOAT_EQ(dlg.m_T1Depth, 0.07f);
    EXPECT_FLOAT_EQ(dlg.m_T2Depth, 0.09f);
    EXPECT_FLOAT_EQ(dlg.m_T3Depth, 0.2f);
    EXPECT_FLOAT_EQ(dlg.m_Overlap, 0.3f);
}

TEST_F(PathCalcDlgTest, TextThatIsNoNumberIsRefusedOnlyByOk)
{
    bool stayedOpen = false;
    EXPECT_EQ(RunDialog(dlg,
                  [&](CDialog& d) {
                      // While typing, nothing nags and the member keeps its value.
                      Type(d, IDC_PC_T1_DEPTH, "");
                      Type(d, IDC_PC_T1_DEPTH, "x");
                      Type(d, IDC_PC_T2_WIDTH, "0.7");
                      EXPECT_TRUE(TestHost().Boxes().empty());
                      d.PressButton(IDOK);
                      stayedOpen = d.IsWindow();
                      Type(d, IDC_PC_T1_DEPTH, "0.05");
                      d.PressButton(IDOK);
                  }),
              IDOK);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
    EXPECT_FLOAT_EQ(dlg.m_T1Depth, 0.05f);
    EXPECT_FLOAT_EQ(dlg.m_T2Size, 0.7f);
}

TEST_F(PathCalcDlgTest, EachTipSetsItsWidthAndDepthAndKeepsTheOtherFields)
{
    struct Case {
        int entry;
        float width, depth;
        const char* depthText;
    } cases[] = {{0, 0.2f, 0.08f, "0.08"},
                 {1, 0.15f, 0.055f, "0.055"},
                 {2, 0.15f, 0.08f, "0.08"},
                 {3, 0.1f, 0.055f, "0.055"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        dlg.T1Select = c.entry == 0 ? 3 : 0;
        RunDialog(dlg, [&](CDialog& d) {
            // What the operator set before picking stays as set.
            Type(d, IDC_PC_T2_WIDTH, "0.8");
            d.CheckDlgButton(IDC_PC_T2_CLEAR, 0);
            Pick(d, IDC_PC_T1_TOOL, c.entry);
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_T1_DEPTH), c.depthText);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_PC_T2_CLEAR), 0);
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_T2_WIDTH), "0.8");
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_T2_DEPTH), "0.12");
            d.PressButton(IDOK);
        });
        EXPECT_EQ(dlg.T1Select, c.entry);
        EXPECT_EQ(dlg.m_T1Text, CPathCalcDlg::T1_TOOL_TEXTS[c.entry]);
        EXPECT_FLOAT_EQ(dlg.m_T1Size, c.width);
        EXPECT_FLOAT_EQ(dlg.m_T1Depth, c.depth);
        EXPECT_FLOAT_EQ(dlg.m_T1DepthField, c.depth);
        EXPECT_EQ(dlg.m_T2Clear, 0);
        dlg.m_T2Clear = 1;
    }
}

TEST_F(PathCalcDlgTest, DefaultsSetEveryToolAndTheOverlap)
{
    dlg.T1Select = 3;
    dlg.m_T2Size = 0.7f;
    dlg.m_T3Size = 2.0f;
    RunDialog(dlg, [](CDialog& d) {
        d.CheckDlgButton(IDC_PC_T3_CLEAR, 0);
        Type(d, IDC_PC_OVERLAP, "0.9");
        d.PressButton(IDC_PC_DEFAULTS);
        EXPECT_EQ(d.GetCurSel(IDC_PC_T1_TOOL), 0);
        EXPECT_EQ(d.GetDlgItemText(IDC_PC_T1_TOOL), "0.2/90'");
        EXPECT_EQ(d.GetDlgItemText(IDC_PC_T2_WIDTH), "0.5/BLUE");
        EXPECT_EQ(d.GetDlgItemText(IDC_PC_T3_WIDTH), "1.5/RED");
        for (unsigned depth : {IDC_PC_T1_DEPTH, IDC_PC_T2_DEPTH, IDC_PC_T3_DEPTH})
            EXPECT_EQ(d.GetDlgItemText(depth), "0.08") << depth;
        EXPECT_EQ(d.GetDlgItemText(IDC_PC_OVERLAP), "0.508");
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_PC_T3_CLEAR), 0);
        d.PressButton(IDOK);
    });
    EXPECT_EQ(dlg.T1Select, 0);
    EXPECT_FLOAT_EQ(dlg.m_T1Size, 0.2f);
    EXPECT_FLOAT_EQ(dlg.m_T2Size, 0.5f);
    EXPECT_FLOAT_EQ(dlg.m_T3Size, 1.5f);
    for (float depth : {dlg.m_T1Depth, dlg.m_T2Depth, dlg.m_T3Depth})
        EXPECT_FLOAT_EQ(depth, 0.08f);
    EXPECT_FLOAT_EQ(dlg.m_Overlap, 0.508f);
    EXPECT_EQ(dlg.m_T3Clear, 0);
}

TEST_F(PathCalcDlgTest, PreviewIsOkWithT1IsolationAlone)
{
    EXPECT_EQ(RunDialog(dlg,
                  [](CDialog& d) {
                      Type(d, IDC_PC_T1_TOOL, "0.12");
                      d.PressButton(IDC_PC_PREVIEW);
                      EXPECT_FALSE(d.IsWindow());
                  }),
              IDOK);
    EXPECT_EQ(dlg.m_T1Iso, 1);
    EXPECT_EQ(dlg.m_T1Clear + dlg.m_T2Iso + dlg.m_T2Clear + dlg.m_T3Clear, 0);
    EXPECT_FLOAT_EQ(dlg.m_T1Size, 0.12f);
}

TEST_F(PathCalcDlgTest, AStoredTipBeyondTheListStandsForTheFirst)
{
    for (int stored : {-1, 4, 1000}) {
        SCOPED_TRACE(stored);
        dlg.T1Select = stored;
        RunDialog(dlg, [](CDialog& d) {
            EXPECT_EQ(d.GetCurSel(IDC_PC_T1_TOOL), 0);
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_T1_TOOL), "0.2/90'");
            // Nothing picked in the box: the selection change has no entry.
            d.SetCurSel(IDC_PC_T1_TOOL, -1);
            d.SelectionChanged(IDC_PC_T1_TOOL);
            d.PressButton(IDOK);
        });
        EXPECT_EQ(dlg.T1Select, 0);
        EXPECT_FLOAT_EQ(dlg.m_T1Size, 0.2f);
    }
}

TEST(PathCalcDlgTools, FillAndWriteBackConvertTheModelsToolSettings)
{
    CBoardModel model;
    g_ZPulsesPerMM = 200.0f;
    struct Case {
        float stored, shown;
    } overlaps[] = {{1.5f, 0.2f}, {1.0f, 1.0f}, {0.3f, 0.3f}};
    for (const Case& c : overlaps) {
        SCOPED_TRACE(c.stored);
        model.m_ClearOverlap = c.stored;
        CPathCalcDlg dlg;
        dlg.FillFromTools(model);
        EXPECT_FLOAT_EQ(dlg.m_Overlap, c.shown);
        EXPECT_FLOAT_EQ(model.m_ClearOverlap, c.shown);
        RunDialog(dlg, [&](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_PC_OVERLAP), FormatG(c.shown));
            d.PressButton(IDOK);
        });
    }

    CPathCalcDlg dlg;
    dlg.FillFromTools(model);
    EXPECT_NEAR(dlg.m_T1Size, 0.2f, 1e-6);
    EXPECT_NEAR(dlg.m_T2Size, 0.5f, 1e-6);
    EXPECT_NEAR(dlg.m_T3Size, 1.5f, 1e-6);
    EXPECT_FLOAT_EQ(dlg.m_T1Depth, 0.1f);
    EXPECT_FLOAT_EQ(dlg.m_T2Depth, 0.12f);
    // The widths and depths come back as they went; the overlap is left.
    model.m_ToolWidth1 = model.m_ToolValue1 = 0.0f;
    dlg.m_Overlap = 0.9f;
    dlg.WriteBackTools(model);
    EXPECT_NEAR(model.m_ToolWidth1, 7.874016f, 1e-5);
    EXPECT_NEAR(model.m_ToolWidth3, 59.055119f, 1e-4);
    EXPECT_FLOAT_EQ(model.m_ToolValue1, 20.0f);
    EXPECT_FLOAT_EQ(model.m_ToolValue3, 24.0f);
    EXPECT_FLOAT_EQ(model.m_ClearOverlap, 0.3f);
}

// ---- The drill tool-size dialog ----

namespace {

class CMarkerLog : public CDrillToolView {
public:
    std::vector<int> marked;
    int invalidated = 0;
    void SetHighlightedDrillTool(int tool) override { marked.push_back(tool); }
    void Invalidate() override { ++invalidated; }
};

}  // namespace

class ToolSizeDlgTest : public testing::Test {
protected:
    void SetUp() override
    {
        t3 = AddDrillTool(g_HoleList, 3, 50.0f, 1, {CDPoint(10, 10)});
        t12 = AddDrillTool(g_HoleList, 12, 40.0f, 1, {CDPoint(20, 20)});
        // Numbered past the size table, as a drill file may number it.
        t150 = AddDrillTool(g_HoleList, 150, 20.0f, 1, {CDPoint(30, 30)});
    }
    int RunSize(std::function<void(CDialog&)> script)
    {
        CToolSizeDlg dlg;
        dlg.m_pView = &log;
        return RunDialog(dlg, std::move(script));
    }
    CDrillTool *t3 = nullptr, *t12 = nullptr, *t150 = nullptr;
    CMarkerLog log;
};

TEST_F(ToolSizeDlgTest, OpensOnTheFirstToolItShowsAndMarks)
{
    RunSize([this](CDialog& d) {
        EXPECT_EQ(Entries(d, IDC_TS_TOOL), (std::vector<std::string>{"T3", "T12", "T150"}));
        EXPECT_EQ(d.GetCurSel(IDC_TS_TOOL), 0);
        EXPECT_EQ(d.GetDlgItemText(IDC_TS_MIL), "50");
        EXPECT_EQ(d.GetDlgItemText(IDC_TS_MM), "1.27");
        EXPECT_EQ(static_cast<CToolSizeDlg&>(d).m_Tool, 3);
        EXPECT_EQ(log.marked, (std::vector<int>{3}));
        // Typing in the mm edit changes the tool that is shown.
        d.SetFocus(IDC_TS_MM);
        Type(d, IDC_TS_MM, "1.0");
        EXPECT_FLOAT_EQ(t3->diameter, static_cast<float>(100.0 / 2.54));
        EXPECT_FLOAT_EQ(t150->diameter, 20.0f);
    });
    EXPECT_EQ(g_ToolSizes[3], static_cast<float>(100.0 / 2.54));
    EXPECT_EQ(g_ToolSizes[12], 40.0f);
    // Closing unmarks the tool.
    EXPECT_EQ(log.marked.back(), -1);
    EXPECT_GE(log.invalidated, 3);
}

TEST_F(ToolSizeDlgTest, EachEditWritesTheOtherOnlyWhenTheyDisagree)
{
    struct Case {
        unsigned focus, typed;
        const char* text;
        float diameter;
        const char* mil;
        const char* mm;
    } cases[] = {
        // mm typed: a new diameter and its whole mil in the mil edit.
        {IDC_TS_MM, IDC_TS_MM, "1.0", static_cast<float>(100.0 / 2.54), "39", "1.0"},
        {IDC_TS_MM, IDC_TS_MM, "2.54", 100.0f, "100", "2.54"},
        // Within 0.01 mm of the mil edit: nothing changes.
        {IDC_TS_MM, IDC_TS_MM, "1.275", 50.0f, "50", "1.275"},
        // mil typed: the diameter always, the mm edit when it disagrees.
        {IDC_TS_MIL, IDC_TS_MIL, "40", 40.0f, "40", "1.016"},
        {IDC_TS_MIL, IDC_TS_MIL, "50.3", 50.3f, "50.3", "1.27"},
        {IDC_TS_MIL, IDC_TS_MIL, "wide", 0.0f, "wide", "0"},
        // A change in the edit without the focus is the dialog's own echo.
        {IDC_TS_MIL, IDC_TS_MM, "3.0", 50.0f, "50", "3.0"},
        {0, IDC_TS_MIL, "70", 50.0f, "70", "1.27"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        t3->diameter = 50.0f;
        RunSize([&](CDialog& d) {
            if (c.focus)
                d.SetFocus(c.focus);
            Type(d, c.typed, c.text);
            EXPECT_EQ(d.GetDlgItemText(IDC_TS_MIL), c.mil);
            EXPECT_EQ(d.GetDlgItemText(IDC_TS_MM), c.mm);
        });
        EXPECT_FLOAT_EQ(t3->diameter, c.diameter);
        EXPECT_FLOAT_EQ(g_ToolSizes[3], c.diameter);
    }
}

TEST_F(ToolSizeDlgTest, PickingAnEntryMakesThatToolCurrentAndMarked)
{
    RunSize([this](CDialog& d) {
        Pick(d, IDC_TS_TOOL, 1);
        EXPECT_EQ(static_cast<CToolSizeDlg&>(d).m_Tool, 12);
        EXPECT_EQ(log.marked.back(), 12);
        EXPECT_EQ(d.GetDlgItemText(IDC_TS_MIL), "40");
        EXPECT_EQ(d.GetDlgItemText(IDC_TS_MM), "1.016");

        // A tool past the table shows and takes its own diameter; the table
        // is not written past its end.
        const auto before = g_ToolSizes;
        Pick(d, IDC_TS_TOOL, 2);
        EXPECT_EQ(log.marked.back(), 150);
        EXPECT_EQ(d.GetDlgItemText(IDC_TS_MIL), "20");
        d.SetFocus(IDC_TS_MIL);
        Type(d, IDC_TS_MIL, "30");
        EXPECT_FLOAT_EQ(t150->diameter, 30.0f);
        EXPECT_EQ(d.GetDlgItemText(IDC_TS_MM), "0.762");
        EXPECT_EQ(g_ToolSizes, before);

        // No entry picked: nothing moves.
        d.SetCurSel(IDC_TS_TOOL, -1);
        d.SelectionChanged(IDC_TS_TOOL);
        EXPECT_EQ(static_cast<CToolSizeDlg&>(d).m_Tool, 150);
    });
    EXPECT_FLOAT_EQ(t12->diameter, 40.0f);
}

TEST(ToolSizeDlgEmpty, WithoutDrillToolsTheEditsChangeNothing)
{
    CMarkerLog log;
    CToolSizeDlg dlg;
    dlg.m_pView = &log;
    const auto before = g_ToolSizes;
    RunDialog(dlg, [](CDialog& d) {
        EXPECT_EQ(d.GetCount(IDC_TS_TOOL), 0);
        EXPECT_EQ(d.GetDlgItemText(IDC_TS_MIL), "");
        d.SetFocus(IDC_TS_MM);
        Type(d, IDC_TS_MM, "1.0");
        d.SetFocus(IDC_TS_MIL);
        Type(d, IDC_TS_MIL, "40");
        EXPECT_EQ(d.GetDlgItemText(IDC_TS_MM), "1.0");
    });
    EXPECT_EQ(dlg.m_Tool, -1);
    EXPECT_EQ(g_ToolSizes, before);
    EXPECT_TRUE(log.marked.empty());
}

TEST(ToolSizeCommand, TheViewMarksTheEditedToolThenTheHolesAreSorted)
{
    CVelmDoc doc;
    CVelmView view(doc);
    AddDrillTool(g_HoleList, 1, 60.0f, 1, {CDPoint(0, 0)});
    AddDrillTool(g_HoleList, 2, 30.0f, 1, {CDPoint(5, 5)});
    int markedWhileOpen = -2;
    TestHost().QueueDialog(
        [&](CDialog& d) {
            markedWhileOpen = view.m_CurrentDrillTool;
            d.SetFocus(IDC_TS_MM);
            Type(d, IDC_TS_MM, "2.54");
            d.PressButton(IDCANCEL);
        },
        IDD_TOOL_SIZE);
    EXPECT_TRUE(CommandRouter().Dispatch(ID_DRILL_TOOL_SIZES));
    EXPECT_EQ(markedWhileOpen, 1);
    EXPECT_EQ(view.m_CurrentDrillTool, -1);
    // Tool 1 grew to 100 mil and now sorts after tool 2.
    ASSERT_EQ(g_HoleList.size(), 2u);
    EXPECT_EQ(g_HoleList[0]->toolNumber, 2);
    EXPECT_EQ(g_HoleList[1]->toolNumber, 1);
    EXPECT_FLOAT_EQ(g_HoleList[1]->diameter, 100.0f);
}

// ---- The tool-change table and the path-method dialog ----

TEST(ToolChangeDlg, RowsShowInTheirColumnsAndClearingKeepsSpeedsAndDepths)
{
    CToolChangeDlg& dlg = g_ToolChangeDlg;
    EXPECT_EQ(dlg.m_Number[0], "0 ");
    EXPECT_EQ(dlg.m_Number[8], "8 ");
    EXPECT_EQ(dlg.m_Name[5], "   ");
    dlg.m_Name[1] = "0.8";
    dlg.m_Speed[1] = 2.5f;
    dlg.m_Depth[8] = 1.25f;
    RunDialog(dlg, [](CDialog& d) {
        EXPECT_EQ(d.GetDlgItemText(IDC_TC_NUMBER_1), "1 ");
        EXPECT_EQ(d.GetDlgItemText(IDC_TC_NAME_1), "0.8");
        EXPECT_EQ(d.GetDlgItemText(IDC_TC_SPEED_1), "2.5");
        EXPECT_EQ(d.GetDlgItemText(IDC_TC_DEPTH_8), "1.25");
        EXPECT_EQ(d.GetDlgItemText(IDC_TC_NUMBER_8), "8 ");
        EXPECT_EQ(d.GetDlgItemText(IDC_TC_SPEED_UNIT), "mm/s");
        EXPECT_EQ(d.GetDlgItemText(IDC_TC_DEPTH_UNIT), "mm");
        d.SetDlgItemText(IDC_TC_SPEED_4, "3.5");
        d.SetDlgItemText(IDC_TC_DEPTH_2, "0.4");
        d.PressButton(IDOK);
    });
    EXPECT_FLOAT_EQ(dlg.m_Speed[4], 3.5f);
    EXPECT_FLOAT_EQ(dlg.m_Depth[2], 0.4f);

    dlg.ClearRows();
    for (int i = 0; i < CToolChangeDlg::SLOTS; ++i) {
        EXPECT_EQ(dlg.m_Number[static_cast<std::size_t>(i)], "   ");
        EXPECT_EQ(dlg.m_Name[static_cast<std::size_t>(i)], "   ");
    }
    EXPECT_FLOAT_EQ(dlg.m_Speed[1], 2.5f);
    EXPECT_FLOAT_EQ(dlg.m_Depth[8], 1.25f);
}

TEST(PathMethodDlg, EachMemberHasItsControl)
{
    CPathMethodDlg dlg;
    struct Field {
        unsigned id;
        float* member;
    } fields[] = {{IDC_PM_T1_DEPTH, &dlg.m_EngraveDepth1}, {IDC_PM_T2_DEPTH, &dlg.m_EngraveDepth2},
                  {IDC_PM_T3_DEPTH, &dlg.m_EngraveDepth3}, {IDC_PM_T1_WIDTH, &dlg.m_EngraveWidth1},
                  {IDC_PM_T2_WIDTH, &dlg.m_EngraveWidth2}, {IDC_PM_T3_WIDTH, &dlg.m_EngraveWidth3},
                  {IDC_PM_T4_DEPTH, &dlg.m_EngraveDepth4}, {IDC_PM_T4_WIDTH, &dlg.m_EngraveWidth4}};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        EXPECT_EQ(*fields[i].member, 0.0f);
        *fields[i].member = static_cast<float>(i + 1) / 10.0f;
    }
    EXPECT_EQ(RunDialog(dlg,
                  [&](CDialog& d) {
                      for (std::size_t i = 0; i < std::size(fields); ++i) {
                          EXPECT_EQ(d.GetDlgItemText(fields[i].id), FormatG(*fields[i].member));
                          d.SetDlgItemText(fields[i].id, FormatD(static_cast<int>(i) + 10));
                      }
                      EXPECT_EQ(d.IsDlgButtonChecked(IDC_PM_USE_T4), 0);
                      d.CheckDlgButton(IDC_PM_USE_T4, 1);
                      d.PressButton(IDOK);
                  }),
              IDOK);
    for (std::size_t i = 0; i < std::size(fields); ++i)
        EXPECT_EQ(*fields[i].member, static_cast<float>(i + 10)) << fields[i].id;
    EXPECT_EQ(dlg.m_UseEngraver4, 1);
}
