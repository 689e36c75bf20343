// Number-format detection: the zero suppression, unit and digit counts
// guessed from small files of known format, the RS-274X stop, the spacing
// statistic, the failures, and what the real boards of the corpus come out
// as.
#include "document/file_messages.h"
#include "import/drill_reader.h"
#include "import/format_detection.h"
#include "import/gerber_blocks.h"
#include "import/gerber_number.h"
#include "import_fixture.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"

#include <iostream>
#include <sstream>

namespace {

class FormatDetectionTest : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        g_GerberFormatDlg.AutoFormat = 1;
        g_DrillFormatDlg.dAutoFormat = 1;
    }

    // Flashes on a grid: `columns` x 2 pads, `pitch` apart in file units,
    // starting one pitch from the origin, written with the digits as they
    // stand (leading zeros left out).
    static std::string FlashGrid(int pitch, int columns, const std::string& prefix = "",
                                 const std::string& suffix = "")
    {
        std::ostringstream text;
        for (int row = 1; row <= 2; ++row)
            for (int col = 1; col <= columns; ++col)
                text << "X" << prefix << col * pitch << suffix << "Y" << prefix << row * pitch
                     << suffix << "D03*\n";
        return text.str();
    }

    static void ExpectFormat(int unitInt, int unitDec, int inchMM, int zeroSup)
    {
        EXPECT_EQ(g_GerberFormatDlg.UnitInt, unitInt);
        EXPECT_EQ(g_GerberFormatDlg.UnitDec, unitDec);
        EXPECT_EQ(g_GerberFormatDlg.InchMM, inchMM);
        EXPECT_EQ(g_GerberFormatDlg.ZeroSup, zeroSup);
    }
};

TEST_F(FormatDetectionTest, WorkedCasesOfAHundredMilGrid)
{
    struct Case {
        const char* name;
        int pitch;            // 100 mil in the file's units
        int columns;
        int unitInt, unitDec;
    };
    // 2.4: fields of up to five digits, steps of 1000 -> 3.2, then spacings
    // of 10^4 mil (x1000: 10^7) -> 1.4. 2.3: spacings of 10^3 -> 2.3.
    const Case cases[] = {
        {"2.4 leading", 1000, 12, 1, 4},
        {"2.3 leading", 100, 12, 2, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_GerberFormatDlg.ZeroSup = 1;
        std::string path = WriteFile("grid.gbr", "G90*\n" + FlashGrid(c.pitch, c.columns) + "M02*\n");
        ASSERT_EQ(doc->DetectGerberFormat(path), 1);
        ExpectFormat(c.unitInt, c.unitDec, 0, 0);
        EXPECT_EQ(doc->m_FlashList.size(), std::size_t(2 * c.columns));
        // The detected format reads the grid right: the pads 100 mil apart.
        std::string one = std::to_string(c.pitch), two = std::to_string(2 * c.pitch);
        EXPECT_NEAR(GerberDigitsToNumber(two) - GerberDigitsToNumber(one), 100.0, 1e-3);
    }
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(FormatDetectionTest, MillimetreStepsSetMetric)
{
    // 2.54 mm pitch in a 3.3 metric file: steps of 2540.
    std::string path = WriteFile("mm.gbr", FlashGrid(2540, 6) + "M02*\n");
    ASSERT_EQ(doc->DetectGerberDigits(path), 1);
    EXPECT_EQ(g_GerberFormatDlg.InchMM, 1);
    EXPECT_EQ(g_GerberFormatDlg.ZeroSup, 0);
}

TEST_F(FormatDetectionTest, FieldsBeginningAndEndingWithZeroMeanNoSuppression)
{
    // Fields of five digits, 00100 = 0.1 inch in 2.3 with nothing left out.
    std::string path = WriteFile("none.gbr", FlashGrid(100, 9, "00", "") + "M02*\n");
    ASSERT_EQ(doc->DetectGerberDigits(path), 1);
    ExpectFormat(3, 2, 0, 2);
}

TEST_F(FormatDetectionTest, TrailingSuppressionFromLeadingZeros)
{
    std::string path = WriteFile("trail.gbr", "X0125Y0375D03*\nX025Y05D03*\nM02*\n");
    ASSERT_EQ(doc->DetectGerberDigits(path), 1);
    EXPECT_EQ(g_GerberFormatDlg.ZeroSup, 1);
}

TEST_F(FormatDetectionTest, ExtendedFileStopsAtItsFirstApertureDefinition)
{
    std::string path = WriteFile(
        "x.gbr", Gerber("%ADD10C,0.010*%\n", "D10*\n" + FlashGrid(1000, 4)));
    ASSERT_EQ(doc->DetectGerberFormat(path), 1);
    EXPECT_TRUE(doc->m_FlashList.empty());
    EXPECT_EQ(g_GerberFormatDlg.AutoFormat, 0);
    // The header (format statement included) is read before the first block
    // and so stands; the files whose first block comes before it keep what
    // the digit detection left.
    ExpectFormat(2, 3, 0, 0);
}

// A load's first reading of a file that declares its whole format first
// overwrites the guess unused: the load reads such files without guessing.
TEST_F(FormatDetectionTest, AFormatDeclaredFirstIsNotGuessed)
{
    const std::string grid = FlashGrid(254, 4);   // millimetre steps: a guess says metric
    struct Case {
        std::string text;
        bool declared;
    };
    const Case cases[] = {
        {"G04 c*\n%FSLAX24Y24*%\n%MOIN*%\n%ADD10C,0.010*%\nD10*\n" + grid + "M02*\n", true},
        {"%TF.Attr*%\n%MOMM*%\n%FSTAX33Y33*%\n%AMBOX*1,1,$1,0,0*%\n%ADD10BOX,0.5*%\nD10*\n" + grid, true},
        {"%FSLAX24Y24*%\nG04 no unit*\n%ADD10C,0.010*%\n" + grid, false},
        {"%MOIN*%\n%ADD10C,0.010*%\n%FSLAX24Y24*%\n" + grid, false},  // an aperture first
        {"%MOIN*%\nX100Y100D02*\n%FSLAX24Y24*%\n" + grid, false},     // a number first
        {"%MOIN*%\nG54D10*\n%FSLAX24Y24*%\n" + grid, false},          // a D code first
        {"%MOIN*%\n%FSLA*%\n" + grid, false},                         // no digit counts
        {grid, false},
    };
    g_HasSolderSide = 1;
    auto state = [] {
        const CGerberFormatDlg& f = g_GerberFormatDlg;
        std::ostringstream out;
        out << f.UnitInt << f.UnitDec << f.InchMM << f.ZeroSup << f.AbsRel << f.AutoFormat << " "
            << g_GerberUnitFactor << " " << g_GerberMetric << " " << g_DataOriginX << ","
            << g_DataOriginY;
        return out.str();
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        const std::string path = WriteFile("declared" + std::to_string(n++) + ".gbr", c.text);
        CKeptGerberBlocks kept;
        kept.Keep(path);
        EXPECT_EQ(GerberFormatDeclaredFirst(path), c.declared);
        if (!c.declared)
            continue;
        std::string after[2], guessed;
        for (bool guess : {true, false}) {
            g_GerberFormatDlg.AutoFormat = 1;
            g_GerberFormatDlg.UnitInt = g_GerberFormatDlg.UnitDec = 1;
            g_GerberFormatDlg.InchMM = g_GerberFormatDlg.ZeroSup = 0;
            g_GerberUnitFactor = 1.0f;
            g_DataOriginX = g_DataOriginY = 1000000;
            ASSERT_EQ(DetectGerberFormat(*doc, path, guess), 1);
            if (guess)
                guessed = state();
            doc->ClearAll();
            doc->ScanGerberExtent(path);
            after[guess] = state();
        }
        EXPECT_EQ(after[false], after[true]);
        EXPECT_NE(guessed, after[true]);   // the guess was made, and overwritten
    }
}

TEST_F(FormatDetectionTest, DetectionClearsEarlierCopper)
{
    doc->m_TrackList.push_back(std::make_unique<CTrackRecord>());
    auto pad = std::make_unique<CFlashRecord>();
    pad->type = 3;
    doc->m_FlashList.push_back(std::move(pad));
    std::string path = WriteFile("g.gbr", FlashGrid(1000, 2) + "M02*\n");
    ASSERT_EQ(doc->DetectGerberFormat(path), 1);
    EXPECT_TRUE(doc->m_TrackList.empty());
    ASSERT_EQ(doc->m_FlashList.size(), 4u);
    for (const auto& flash : doc->m_FlashList)
        EXPECT_EQ(flash->type, 0);
}

TEST_F(FormatDetectionTest, PointsCloserThanAThousandthCountNowhere)
{
    struct Case {
        const char* name;
        std::vector<CDPoint> points;
        int unitInt, unitDec;
    };
    const Case cases[] = {
        // 1000 from the origin (x1000: 10^6); the near twin would count
        // under 10^9 and win.
        {"near twin", {{1000.0, 0.0}, {1000.0004, 0.0}}, 2, 3},
        // Spacings divisible by no power of ten leave the digits alone.
        {"no power", {{0.0013, 0.0}, {0.0026, 0.0}}, 3, 2},
        // 10^7 wins over a handful of 10^6: more than a third of them.
        {"majority", {{10000, 0}, {20000, 0}, {21000, 0}, {22000, 0}, {23000, 0}}, 1, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_GerberFormatDlg.UnitInt = 3;
        g_GerberFormatDlg.UnitDec = 2;
        doc->m_FlashList.clear();
        for (const CDPoint& p : c.points) {
            auto flash = std::make_unique<CFlashRecord>();
            flash->x = float(p.x);
            flash->y = float(p.y);
            doc->m_FlashList.push_back(std::move(flash));
        }
        doc->DetectGerberScale();
        EXPECT_EQ(g_GerberFormatDlg.UnitInt, c.unitInt);
        EXPECT_EQ(g_GerberFormatDlg.UnitDec, c.unitDec);
    }
}

TEST_F(FormatDetectionTest, FileThatCannotBeReadIsReportedOnce)
{
    const std::string missing = JoinPath(TestDir(), "missing.gbr");
    const std::string good = WriteFile("good.gbr", FlashGrid(1000, 2) + "M02*\n");
    const std::string expected = WithName(IDS_CANNOT_READ_FILE, missing);
    EXPECT_EQ(doc->DetectGerberFormat(missing), 0);
    EXPECT_EQ(doc->DetectGerberFormat(good + ";" + missing), 0);
    doc->DetectDrillFormat(missing);
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>(3, expected));
}

TEST_F(FormatDetectionTest, OptionsOffDoNothing)
{
    g_GerberFormatDlg.AutoFormat = 0;
    g_DrillFormatDlg.dAutoFormat = 0;
    const CGerberFormatDlg gerberBefore = g_GerberFormatDlg;
    const CDrillFormatDlg drillBefore = g_DrillFormatDlg;
    doc->m_FlashList.push_back(std::make_unique<CFlashRecord>());
    auto tool = std::make_unique<CDrillTool>();
    tool->toolNumber = 7;
    g_HoleList.push_back(std::move(tool));

    std::string gerber = WriteFile("g.gbr", FlashGrid(1000, 3) + "M02*\n");
    std::string drill = WriteFile("d.drl", "T1C0.8\nX1000Y1000\nM30\n");
    EXPECT_EQ(doc->DetectGerberFormat(gerber), 0);
    doc->DetectDrillFormat(drill);
    EXPECT_EQ(doc->m_FlashList.size(), 1u);
    ASSERT_EQ(g_HoleList.size(), 1u);
    EXPECT_EQ(g_HoleList[0]->toolNumber, 7);
    EXPECT_EQ(g_GerberFormatDlg.UnitInt, gerberBefore.UnitInt);
    EXPECT_EQ(g_GerberFormatDlg.UnitDec, gerberBefore.UnitDec);
    EXPECT_EQ(g_GerberFormatDlg.ZeroSup, gerberBefore.ZeroSup);
    EXPECT_EQ(g_DrillFormatDlg.dUnitInt, drillBefore.dUnitInt);
    EXPECT_EQ(g_DrillFormatDlg.dUnitDec, drillBefore.dUnitDec);
    EXPECT_EQ(g_DrillFormatDlg.dZeroSup, drillBefore.dZeroSup);
}

TEST_F(FormatDetectionTest, DrillFileOnAHundredMilGrid)
{
    // Leading zeros left out, 2.4 inch, no format statement; the first hole
    // comes before any tool and makes tool 1.
    g_DrillFormatDlg.dZeroSup = 1;
    g_ToolSizes.fill(0.0f);
    g_ToolSizes[2] = 40.0f;
    std::ostringstream text;
    text << "X500Y500\nT1C0.032\nT2C0.040\n%\nT1\n";
    for (int i = 1; i <= 10; ++i)
        text << "X" << i * 1000 << "Y1000\n";
    text << "T2\nX12000Y2000\nX13000Y2000\nM30";   // no final line end
    std::string path = WriteFile("grid.drl", text.str());
    doc->DetectDrillFormat(path);

    EXPECT_EQ(g_DrillFormatDlg.dZeroSup, 0);
    EXPECT_EQ(g_DrillFormatDlg.dInchMM, 0);
    EXPECT_EQ(g_DrillFormatDlg.dUnitInt, 1);
    EXPECT_EQ(g_DrillFormatDlg.dUnitDec, 4);
    // The tool table takes the sizes (in mil) only where it was empty.
    EXPECT_NEAR(g_ToolSizes[1], 32.0f, 1e-3);
    EXPECT_EQ(g_ToolSizes[2], 40.0f);
    ASSERT_EQ(g_HoleList.size(), 2u);
    EXPECT_EQ(g_HoleList[0]->toolNumber, 1);
    EXPECT_EQ(g_HoleList[0]->holes.size(), 11u);
    EXPECT_EQ(g_HoleList[1]->toolNumber, 2);
    EXPECT_EQ(g_HoleList[1]->holes.size(), 2u);

    // Read with the detected format the holes are 100 mil apart.
    CDrillReader reader;
    float a = 0, b = 0;
    reader.ParseCoordWord("X1000", &a);
    reader.ParseCoordWord("X2000", &b);
    EXPECT_NEAR(b - a, 100.0f, 1e-3);
}

// The real boards: what each detects against what it declares. The
// extended files stop at their first aperture, so the declared format must
// come out again; the drill files of decimal numbers say nothing reliable,
// so they are only reported.
TEST_F(FormatDetectionTest, CorpusFiles)
{
    const char* gerbers[] = {
        "boards/D1MiniGSR/D1MiniGSR-F_Cu.gbr",
        "boards/D1MiniGSR/D1MiniGSR-B_Cu.gbr",
        "boards/multivibrator/multivibrator-B.Cu.gbr",
        "boards/project-controller/project-controller-B_Cu.gbr",
        "gerbv-examples/orcad/rs232_cm.top",
        "gerbv-examples/hellboard/hellboard.front.gbr",
        "gerbv-examples/ekf/l1.off",
    };
    bool any = false;
    for (const char* name : gerbers) {
        std::string path = CorpusPath(name);
        if (path.empty())
            continue;
        any = true;
        g_GerberFormatDlg = CGerberFormatDlg();
        g_GerberFormatDlg.AutoFormat = 1;
        EXPECT_EQ(doc->DetectGerberFormat(path), 1) << name;
        const CGerberFormatDlg& f = g_GerberFormatDlg;
        std::cout << "[detect] " << name << ": " << f.UnitInt << "." << f.UnitDec
                  << (f.InchMM ? " mm" : " inch") << " zero " << f.ZeroSup
                  << " flashes " << doc->m_FlashList.size() << " stopped "
                  << (f.AutoFormat ? "no" : "yes") << "\n";
    }
    const char* drills[] = {
        "boards/D1MiniGSR/D1MiniGSR-PTH.drl",
        "boards/multivibrator/multivibrator.drl",
        "gerbv-examples/hellboard/hellboard.plated-drill.cnc",
        "gerbv-examples/orcad/rs232_cm.drd",
    };
    for (const char* name : drills) {
        std::string path = CorpusPath(name);
        if (path.empty())
            continue;
        any = true;
        g_DrillFormatDlg = CDrillFormatDlg();
        g_DrillFormatDlg.dAutoFormat = 1;
        doc->DetectDrillFormat(path);
        std::size_t holes = 0;
        for (const auto& tool : g_HoleList)
            holes += tool->holes.size();
        EXPECT_GT(holes, 0u) << name;
        const CDrillFormatDlg& f = g_DrillFormatDlg;
        std::cout << "[detect] " << name << ": " << f.dUnitInt << "." << f.dUnitDec
                  << (f.dInchMM ? " mm" : " inch") << " zero " << f.dZeroSup << " holes "
                  << holes << "\n";
    }
    EXPECT_TRUE(TestHost().Boxes().empty());
    if (!any)
        GTEST_SKIP() << "no corpus";
}

}  // namespace
