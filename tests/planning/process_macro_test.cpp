// Processing macros and the calculation settings: how a block reads (its
// steps, their numbers, the faults that stop it), what its steps do, the
// macro file of the system directory, the runner through the document, the
// dialog's data exchange and the calculation command with its density rule.
#include "import/import_fixture.h"
#include "planning/calc_settings_dlg.h"
#include "planning/process_macro.h"
#include "planning/scan_isolation.h"
#include "platform/file_messages.h"
#include "platform/paths.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/record_makers.h"
#include "ui/edit_wnd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* KeywordName(MacroKeyword k)
{
    switch (k) {
    case MacroKeyword::Separate: return "SEPARATE";
    case MacroKeyword::CalMill: return "CALMILL";
    case MacroKeyword::MillPad: return "MILLPAD";
    case MacroKeyword::AutoMill: return "AUTOMILL";
    case MacroKeyword::Sort: return "SORT";
    case MacroKeyword::MillSmall: return "MILLSMALL";
    case MacroKeyword::MillAll: return "MILLALL";
    case MacroKeyword::MillAllY: return "MILLALLY";
    case MacroKeyword::MillAllX: return "MILLALLX";
    }
    return "?";
}

// One word per line of the block: "-" for a line without steps, else its
// steps joined by "+", numbers after a calculation keyword.
std::string Describe(const CMacroBlock& block)
{
    std::ostringstream out;
    for (const auto& steps : block.lines) {
        out << (&steps == &block.lines.front() ? "" : " | ");
        if (steps.empty())
            out << "-";
        for (const CMacroStep& s : steps) {
            out << (&s == &steps.front() ? "" : "+") << KeywordName(s.keyword);
            if (s.keyword == MacroKeyword::Separate || s.keyword == MacroKeyword::CalMill) {
                out << " " << s.offset << " " << s.pitch << " ";
                if (s.hasPlunge)
                    out << s.plunge;
                else
                    out << "_";
            }
        }
    }
    return out.str();
}

void SetMacroText(const std::string& text) { g_MacroTextWnd.Edit().SetTextByUser(text); }

class MacroTest : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        g_SystemDir = TestDir();
        g_BoardMinX = 0;
        g_BoardMinY = 0;
        g_BoardMaxX = 1000;
        g_BoardMaxY = 800;
    }

    // Two pads joined by a track: the scan-line runs find paths round it.
    void AddCopper()
    {
        AddFlash(doc->m_FlashList, 300, 400, 30);
        AddFlash(doc->m_FlashList, 700, 400, 30);
        AddTrack(doc->m_TrackList, 0, 300, 400, 700, 400, 12);
        int id = 1;
        for (auto& t : doc->m_TrackList)
            t->recordNo = id++;
        for (auto& f : doc->m_FlashList)
            f->recordNo = id++;
    }

    // A region the runs must free (or keep) so a test can tell.
    void AddOldRegion() { doc->m_ClearRegionList.push_back(std::make_unique<CClearRegion>()); }

    static std::string MacroFilePath() { return JoinPath(TestDir(), g_MacroFileName); }
};

}  // namespace

TEST(MacroBlock, ReadsEachLinesStepsAndStopsAtFaults)
{
    const std::string plain = "DESCRIPTION $plain\r\n}\r\n";
    const std::string longLine = std::string(99, ' ') + "SORT";
    struct Case {
        const char* name;
        std::string text;
        int method;
        std::string steps;      // when the block reads
        unsigned faultId;       // else its fault
        int faultLine;
    };
    const Case cases[] = {
        {"two steps with their numbers", plain + "DESCRIPTION $iso\r\nSEPARATE 4.5 6 20\r\nSORT\r\n}\r\n",
         1, "- | SEPARATE 4.5 6 20 | SORT | -", 0, -1},
        {"the plunge offset may be left out", plain + "DESCRIPTION $x\r\n  CALMILL 8 8\r\n}\r\n", 1,
         "- | CALMILL 8 8 _ | -", 0, -1},
        {"a keyword inside another runs both", "DESCRIPTION $m\r\nMILLALLY\r\nMILLALLX\r\n}\r\n", 0,
         "- | MILLALL+MILLALLY | MILLALL+MILLALLX | -", 0, -1},
        {"several keywords of a line in table order", "DESCRIPTION $m\r\nSORT MILLPAD AUTOMILL\r\n}\r\n",
         0, "- | MILLPAD+AUTOMILL+SORT | -", 0, -1},
        {"the heading's own text runs", "DESCRIPTION $RESORTED\r\n}\r\n", 0, "SORT | -", 0, -1},
        {"past the 99th character nothing counts", "DESCRIPTION $m\r\n" + longLine + "\r\n}\r\n", 0,
         "- | - | -", 0, -1},
        {"a closing line with blanks round it", "DESCRIPTION $m\r\nSORT\r\n  }\t\r\nSEPARATE\r\n", 0,
         "- | SORT | -", 0, -1},
        {"no closing line before the end", plain + "DESCRIPTION $a\r\nSEPARATE 4 6 20\r\n", 1, "",
         IDS_MACRO_NO_CLOSING_LINE, 2},
        {"no closing line before the next block", "DESCRIPTION $a\r\nSORT\r\n" + plain, 0, "",
         IDS_MACRO_NO_CLOSING_LINE, 0},
        {"no numbers", "DESCRIPTION $a\r\nSORT\r\nSEPARATE\r\n}\r\n", 0, "", IDS_MACRO_MISSING_NUMBERS, 2},
        {"no pitch", "DESCRIPTION $a\r\nSEPARATE 4\r\n}\r\n", 0, "", IDS_MACRO_MISSING_NUMBERS, 1},
        {"a pitch that is no int", "DESCRIPTION $a\r\nCALMILL 4 mil\r\n}\r\n", 0, "",
         IDS_MACRO_MISSING_NUMBERS, 1},
        {"the keyword not first", "DESCRIPTION $a\r\nthen SEPARATE 4 6\r\n}\r\n", 0, "",
         IDS_MACRO_MISSING_NUMBERS, 1},
        {"a calculation keyword in the heading", "DESCRIPTION $CALMILL\r\n}\r\n", 0, "",
         IDS_MACRO_MISSING_NUMBERS, 0},
        {"a pitch of 0", "DESCRIPTION $a\r\nSEPARATE 4 0 20\r\n}\r\n", 0, "", IDS_MACRO_MISSING_NUMBERS, 1},
        {"a negative offset", "DESCRIPTION $a\r\nSEPARATE -2 6\r\n}\r\n", 0, "",
         IDS_MACRO_MISSING_NUMBERS, 1},
        {"an offset that is no number", "DESCRIPTION $a\r\nSEPARATE nan 6\r\n}\r\n", 0, "",
         IDS_MACRO_MISSING_NUMBERS, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetMacroText(c.text);
        const int line = FindMacroMethod(c.method);
        ASSERT_GE(line, 0);
        const CMacroBlock block = ReadMacroBlock(g_MacroTextWnd.Edit(), line);
        EXPECT_EQ(block.faultId, c.faultId);
        EXPECT_EQ(block.faultLine, c.faultLine);
        EXPECT_EQ(Describe(block), c.steps);
    }
}

TEST(MacroBlock, MethodsAreTheHeadingsInTextOrder)
{
    SetMacroText("text before\r\nDESCRIPTION $plain\r\n}\r\n  DESCRIPTION without a name\r\n}\r\n");
    EXPECT_EQ(MacroMethodNames(), (std::vector<std::string>{"plain", "DESCRIPTION without a name"}));
    EXPECT_EQ(FindMacroMethod(0), 1);
    EXPECT_EQ(FindMacroMethod(1), 3);
    EXPECT_EQ(FindMacroMethod(2), -1);
    EXPECT_EQ(FindMacroMethod(-1), -1);
}

// The steps through recording actions: the work stage each sets, the
// numbers the calculation gets, the board regions kept or dropped.
TEST_F(MacroTest, StepsSetTheirStageAndRunInOrder)
{
    std::vector<std::string> log;
    CMacroActions actions;
    auto stage = [this] { return " stage" + std::to_string(doc->m_WorkStage); };
    actions.calcIsolation = [&](float offset, int pitch) {
        std::ostringstream out;
        out << "calc " << offset << " " << pitch << " lines" << g_CalcSettingsDlg.m_GenerateLines
            << " plunge" << g_PlungeOffsetPulses << stage();
        log.push_back(out.str());
        doc->m_GridStep = pitch;
    };
    actions.sortPaths = [&] { log.push_back("sort" + stage()); };
    actions.millPads = [&](CBoardModel&) { log.push_back("pads" + stage()); };
    auto clearer = [&](const char* name, int result) {
        return [&log, stage, name, result](CBoardModel&, CClearRegion& region) {
            std::ostringstream out;
            out << name << stage() << " step" << region.step << " (" << region.rect.left << ","
                << region.rect.top << "," << region.rect.right << "," << region.rect.bottom << ")";
            log.push_back(out.str());
            return result;
        };
    };
    actions.clearRows = clearer("rows", 1);
    actions.clearColumns = clearer("columns", 1);
    actions.clearSmall = clearer("small", 0);  // made nothing: its region is dropped

    SetMacroText("DESCRIPTION $m\r\nSEPARATE 4.5 6 20\r\nSORT\r\nCALMILL 8 10\r\nMILLPAD\r\n"
                 "MILLSMALL\r\nMILLALLY\r\nMILLALLX\r\n}\r\n");
    g_PlungeOffsetPulses = 7;
    const CMacroBlock block = ReadMacroBlock(g_MacroTextWnd.Edit(), 0);
    ASSERT_EQ(block.faultId, 0u);
    const int pumpsBefore = TestHost().Pumps();
    RunMacroLines(*doc, block, actions);

    const std::vector<std::string> expected = {
        "calc 4.5 6 lines1 plunge20 stage1",
        "sort stage2",
        "calc 8 10 lines0 plunge20 stage1",
        "pads stage2",
        "small stage3 step10 (80,80,920,720)",
        "rows stage3 step10 (80,80,920,720)",
        "columns stage3 step10 (80,80,920,720)",
        "rows stage3 step10 (80,80,920,720)",
        "rows stage2 step10 (80,80,920,720)",
    };
    EXPECT_EQ(log, expected);
    // The raster-only step gives path walking back; three regions made strokes.
    EXPECT_EQ(g_CalcSettingsDlg.m_GenerateLines, 1);
    ASSERT_EQ(doc->m_ClearRegionList.size(), 4u);
    EXPECT_EQ(doc->m_ClearRegionList.back()->step, 10);
    EXPECT_EQ(TestHost().Pumps() - pumpsBefore, 9);  // once before each line
}

TEST_F(MacroTest, TheShippedMacroFileIsSeededAndItsMethodsRead)
{
    ASSERT_TRUE(std::filesystem::exists(MacroFilePath()));
    const std::vector<std::string> names = MacroMethodNames();
    ASSERT_GE(names.size(), 2u);
    EXPECT_EQ(names[0], "Plain calculation (the values above)");
    for (int method = 0; method < static_cast<int>(names.size()); ++method) {
        SCOPED_TRACE(names[static_cast<std::size_t>(method)]);
        const CMacroBlock block = ReadMacroBlock(g_MacroTextWnd.Edit(), FindMacroMethod(method));
        EXPECT_EQ(block.faultId, 0u);
        EXPECT_FALSE(block.lines.empty());
    }
    EXPECT_EQ(MacroTextSource(), MacroFilePath());

    // The file is read afresh while the store holds its text unchanged...
    std::ofstream(MacroFilePath(), std::ios::binary) << "DESCRIPTION $only\n}\n";
    EXPECT_EQ(MacroMethodNames(), std::vector<std::string>{"only"});
    // ...a text of the operator's own stays...
    SetMacroText("DESCRIPTION $typed\r\n}\r\n");
    std::ofstream(MacroFilePath(), std::ios::binary) << "DESCRIPTION $changed\n}\n";
    EXPECT_EQ(MacroMethodNames(), std::vector<std::string>{"typed"});
    // ...and without the file and a text there are no methods.
    g_MacroTextWnd = CEditWnd();
    std::filesystem::remove(MacroFilePath());
    EXPECT_TRUE(MacroMethodNames().empty());
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(MacroTest, TheRunnerComputesTheChosenMethodOnTheWorkingSide)
{
    AddCopper();
    AddOldRegion();
    g_CurrentSide = 0;
    g_HasComponentSide = 1;
    g_HasSolderSide = 0;
    int zooms = 0, layouts = 0;
    doc->m_ViewHooks.zoomToFit = [&] { ++zooms; };
    doc->m_ViewHooks.blockLayout = [&] { ++layouts; };
    SetMacroText("DESCRIPTION $plain\r\nSORT\r\n}\r\nDESCRIPTION $iso\r\nSEPARATE 5 8 15\r\nSORT\r\n}\r\n");
    g_CalcMethod = 1;
    doc->RunProcessMacro();

    EXPECT_TRUE(TestHost().Boxes().empty()) << TestHost().BoxTexts()[0];
    EXPECT_EQ(doc->m_GridStep, 8);
    EXPECT_EQ(g_PlungeOffsetPulses, 15);
    EXPECT_EQ(doc->m_IsolationDone, 1);
    EXPECT_TRUE(doc->m_ClearRegionList.empty());  // the block freed the side's results
    EXPECT_FALSE(doc->m_GridPathList.empty());
    // The ordering renumbers the paths; the raster keeps the plunge offset.
    ASSERT_FALSE(doc->m_RowList.empty());
    for (const auto& row : doc->m_RowList)
        for (const auto& interval : row->intervals)
            EXPECT_EQ(interval->startNet, 15u);
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(layouts, 1);
    EXPECT_TRUE(g_MacroTextWnd.Edit().GetReadOnly());
}

// What cannot run computes nothing: the job stays as it was and one message
// names the file and the line, or says the method has no block.
TEST_F(MacroTest, AFaultyOrMissingBlockLeavesTheJobAsItWas)
{
    struct Case {
        const char* name;
        std::string text;
        int method;
        std::string message;
    };
    const Case cases[] = {
        {"no closing line", "DESCRIPTION $plain\r\n}\r\nDESCRIPTION $iso\r\nSEPARATE 5 8 15\r\n", 1,
         FileLineMessage(IDS_MACRO_NO_CLOSING_LINE, "Ordune.mac", 3)},
        {"no numbers", "DESCRIPTION $plain\r\n}\r\nDESCRIPTION $iso\r\nSORT\r\nSEPARATE 5\r\n}\r\n", 1,
         FileLineMessage(IDS_MACRO_MISSING_NUMBERS, "Ordune.mac", 5)},
        {"no such method", "DESCRIPTION $plain\r\n}\r\n", 1, LoadResString(IDS_MACRO_FILE_ERROR)},
    };
    g_CurrentSide = 0;
    g_HasComponentSide = 1;
    int zooms = 0;
    doc->m_ViewHooks.zoomToFit = [&] { ++zooms; };
    AddOldRegion();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_MacroTextWnd = CEditWnd();
        SetMacroText(c.text);
        g_CalcMethod = c.method;
        const std::size_t boxes = TestHost().Boxes().size();
        doc->m_WorkStage = 5;
        doc->RunProcessMacro();
        ASSERT_EQ(TestHost().Boxes().size(), boxes + 1);
        EXPECT_EQ(TestHost().Boxes().back().text, c.message);
        EXPECT_EQ(doc->m_ClearRegionList.size(), 1u);
        EXPECT_EQ(doc->m_WorkStage, 5);
        EXPECT_EQ(zooms, 0);
    }
}

// A side whose file cannot be read is told about and skipped; its block is
// not computed on the other side's copper.
TEST_F(MacroTest, ASideThatCannotBeOpenedIsNotComputed)
{
    AddCopper();
    g_CurrentSide = 0;
    g_HasComponentSide = 1;
    g_HasSolderSide = 1;  // but no solder side file
    int zooms = 0;
    doc->m_ViewHooks.zoomToFit = [&] { ++zooms; };
    SetMacroText("DESCRIPTION $plain\r\n}\r\nDESCRIPTION $iso\r\nSEPARATE 5 8 15\r\n}\r\n");
    g_CalcMethod = 1;
    doc->RunProcessMacro();
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(g_CurrentSide, 0);
    EXPECT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_FALSE(doc->m_GridPathList.empty());
}

// The dialog shows the members (keeping the earlier data always offered),
// lists the methods and takes back what the operator set.
TEST_F(MacroTest, TheDialogExchangesItsSettings)
{
    SetMacroText("DESCRIPTION $plain\r\n}\r\nDESCRIPTION $second\r\n}\r\n");
    g_CalcSettingsDlg.m_KeepData = 0;
    g_CalcSettingsDlg.m_GenerateLines = 0;
    g_CalcSettingsDlg.m_IsoOffset = 4.5f;
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_CALC_ISO_OFFSET), "4.5");
            EXPECT_EQ(d.GetDlgItemText(IDC_CALC_DATA_DENSITY), "6");
            EXPECT_EQ(d.GetDlgItemText(IDC_CALC_PLUNGE_OFFSET), "20");
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_CALC_KEEP_DATA), 1);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_CALC_GENERATE_LINES), 0);
            ASSERT_EQ(d.GetCount(IDC_CALC_METHOD), 2);
            EXPECT_EQ(d.GetLBText(IDC_CALC_METHOD, 1), "second");
            EXPECT_EQ(d.GetCurSel(IDC_CALC_METHOD), 0);
            d.SetDlgItemText(IDC_CALC_ISO_OFFSET, "5.5");
            d.SetDlgItemText(IDC_CALC_DATA_DENSITY, "8");
            d.SetDlgItemText(IDC_CALC_PLUNGE_OFFSET, "-30");
            d.CheckDlgButton(IDC_CALC_KEEP_DATA, 0);
            d.CheckDlgButton(IDC_CALC_GENERATE_LINES, 1);
            d.SetCurSel(IDC_CALC_METHOD, 1);
            d.PressButton(IDOK);
        },
        IDD_CALC_SETTINGS);
    EXPECT_EQ(g_CalcSettingsDlg.DoModal(), IDOK);
    EXPECT_FLOAT_EQ(g_CalcSettingsDlg.m_IsoOffset, 5.5f);
    EXPECT_EQ(g_CalcSettingsDlg.m_DataDensity, 8);
    EXPECT_EQ(g_CalcSettingsDlg.m_PlungeOffset, -30);
    EXPECT_EQ(g_CalcSettingsDlg.m_KeepData, 0);
    EXPECT_EQ(g_CalcSettingsDlg.m_GenerateLines, 1);
    EXPECT_EQ(g_CalcMethod, 1);
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
}

// A refused entry keeps the dialog open; Cancel after it changes nothing,
// not even the edits before the refused one.
TEST_F(MacroTest, ARefusedEntryThenCancelChangesNothing)
{
    struct Case {
        unsigned id;
        const char* text;
    };
    const Case cases[] = {{IDC_CALC_DATA_DENSITY, "abc"}, {IDC_CALC_DATA_DENSITY, "0"},
                          {IDC_CALC_ISO_OFFSET, "-1"}, {IDC_CALC_PLUNGE_OFFSET, "1.5"}};
    SetMacroText("DESCRIPTION $plain\r\n}\r\nDESCRIPTION $second\r\n}\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TestHost().QueueDialog(
            [&c](CDialog& d) {
                d.SetDlgItemText(IDC_CALC_ISO_OFFSET, "9");
                d.SetDlgItemText(IDC_CALC_DATA_DENSITY, "7");
                d.SetDlgItemText(IDC_CALC_PLUNGE_OFFSET, "3");
                d.SetDlgItemText(c.id, c.text);
                d.CheckDlgButton(IDC_CALC_GENERATE_LINES, 0);
                d.SetCurSel(IDC_CALC_METHOD, 1);
                d.PressButton(IDOK);
                EXPECT_TRUE(d.IsWindow());
                EXPECT_EQ(d.FailedControl(), c.id);
                d.PressButton(IDCANCEL);
            },
            IDD_CALC_SETTINGS);
        doc->OnCmdMsg(ID_CALC_ISOLATION_LINES);
        EXPECT_FLOAT_EQ(g_CalcSettingsDlg.m_IsoOffset, 4.0f);
        EXPECT_EQ(g_CalcSettingsDlg.m_DataDensity, 6);
        EXPECT_EQ(g_CalcSettingsDlg.m_PlungeOffset, 20);
        EXPECT_EQ(g_CalcSettingsDlg.m_GenerateLines, 1);
        EXPECT_EQ(g_CalcMethod, 0);
        EXPECT_EQ(doc->m_IsolationDone, 0);
    }
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
}

// With no method in the macro text OK chooses the plain calculation, which
// runs with the dialog's values; a density above 10 and above the offset
// becomes the offset, and the dialog shows it next time.
TEST_F(MacroTest, TheCommandRunsThePlainCalculationWithTheDensityRule)
{
    std::ofstream(MacroFilePath(), std::ios::binary) << "no methods here\n";
    AddCopper();
    struct Case {
        const char* density;
        const char* offset;
        int keep, generate;
        float offsetAfter;
    };
    const Case cases[] = {
        {"12", "4", 1, 1, 12.0f},
        {"10", "4", 0, 1, 4.0f},
        {"12", "15", 1, 0, 15.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.density) + " " + c.offset);
        AddOldRegion();
        doc->m_GridPathList.clear();
        g_CalcMethod = 3;
        TestHost().QueueDialog(
            [&c](CDialog& d) {
                EXPECT_EQ(d.GetCount(IDC_CALC_METHOD), 0);
                d.SetDlgItemText(IDC_CALC_DATA_DENSITY, c.density);
                d.SetDlgItemText(IDC_CALC_ISO_OFFSET, c.offset);
                d.SetDlgItemText(IDC_CALC_PLUNGE_OFFSET, "25");
                d.CheckDlgButton(IDC_CALC_KEEP_DATA, c.keep);
                d.CheckDlgButton(IDC_CALC_GENERATE_LINES, c.generate);
                d.PressButton(IDOK);
            },
            IDD_CALC_SETTINGS);
        doc->OnCmdMsg(ID_CALC_ISOLATION_LINES);
        EXPECT_EQ(g_CalcMethod, 0);
        EXPECT_FLOAT_EQ(g_CalcSettingsDlg.m_IsoOffset, c.offsetAfter);
        EXPECT_EQ(doc->m_GridStep, std::stoi(c.density));
        EXPECT_EQ(g_PlungeOffsetPulses, 25);
        EXPECT_EQ(doc->m_IsolationDone, 1);
        EXPECT_EQ(doc->m_ClearRegionList.empty(), c.keep == 0);
        EXPECT_EQ(doc->m_GridPathList.empty(), c.generate == 0);
        doc->m_ClearRegionList.clear();
    }
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_CALC_ISO_OFFSET), "15");
            d.PressButton(IDCANCEL);
        },
        IDD_CALC_SETTINGS);
    doc->OnCmdMsg(ID_CALC_ISOLATION_LINES);
    EXPECT_TRUE(TestHost().Boxes().empty()) << TestHost().BoxTexts()[0];
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
}

// File/New runs the chosen method of the shipped macro file after the load;
// with no method in the macro file a chosen method runs nothing and says
// nothing.
TEST_F(MacroTest, FileNewRunsTheChosenMethod)
{
    g_FileAuto = 1;
    g_ComponentGerberFile = WriteFile(
        "top.gbr", Gerber("%ADD10C,0.060*%\n%ADD12C,0.012*%\n",
                          "D10*X1000Y1000D03*X1600Y1000D03*D12*X1000Y1000D02*X1600Y1000D01*\n"));
    g_CalcMethod = 1;  // "Isolation 4 mil, in milling order": SEPARATE 4 6 20, SORT
    ASSERT_TRUE(doc->LoadWorkOrder());
    EXPECT_TRUE(TestHost().Boxes().empty()) << TestHost().BoxTexts()[0];
    EXPECT_EQ(doc->m_GridStep, 6);
    EXPECT_FALSE(doc->m_GridPathList.empty());
    ASSERT_FALSE(doc->m_RowList.empty());
    EXPECT_EQ(doc->m_RowList.front()->intervals.front()->startNet, 20u);

    // A macro file without methods (a missing one is seeded again).
    doc->ClearToolPaths();
    std::ofstream(MacroFilePath(), std::ios::binary) << "no methods here\n";
    g_CalcMethod = 2;
    ASSERT_TRUE(doc->LoadWorkOrder());
    EXPECT_TRUE(TestHost().Boxes().empty()) << TestHost().BoxTexts()[0];
    EXPECT_TRUE(doc->m_GridPathList.empty());
}
