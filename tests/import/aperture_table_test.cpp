// The aperture table: FILETYPE templates of the shipped settings file read
// against a sample of each dialect, the aperture-wheel order, the look-ups
// and the question for a missing D code.
#include "import/aperture_dialogs.h"
#include "import_fixture.h"
#include "resource_ids.h"
#include "ui/edit_wnd.h"

#include <fstream>
#include <iterator>

namespace {

class ApertureTable : public ImportTest {
protected:
    // Replaces the settings text with one template block.
    void OneTemplate(std::initializer_list<const char*> lines)
    {
        g_SettingsTextWnd.Edit().ClearAll();
        for (const char* line : lines)
            g_SettingsTextWnd.Edit().WriteLine(line);
        g_ApertureFormat = 0;
    }

    static void ExpectAperture(const CApertureRecord& a, const std::string& code,
                               const std::string& shape, float width, float height)
    {
        EXPECT_EQ(a.dCode, code);
        EXPECT_EQ(a.shape, shape);
        EXPECT_NEAR(a.width, width, 1e-3);
        EXPECT_NEAR(a.height, height, 1e-3);
    }

    std::vector<std::string> Codes() const
    {
        std::vector<std::string> codes;
        for (auto& a : doc->m_ApertureList)
            codes.push_back(a->dCode);
        return codes;
    }
};

TEST_F(ApertureTable, EveryShippedDialectReadsItsSample)
{
    struct Dialect { int block; const char* name; const char* sample; } dialects[] = {
        {0, "ALLEGRO", "allegro_art_aper.txt"}, {1, "POWERPCB", "powerpcb.rep"},
        {2, "PROTEL", "protel.apr"},           {3, "CSI", "csi.apt"},
        {4, "ORCAD", "orcad.app"},             {5, "PADS", "pads.rep"},
        {6, "WORKBENCH", "workbench.gap"},     {7, "P-CAD", "pcad.apr"},
    };
    struct Expect { const char* code; const char* shape; float w, h; };
    const Expect expected[] = {{"D10", "ROUND", 10, 10}, {"D11", "RECT", 60, 60},
                               {"D12", "RECT", 60, 30}, {"D13", "OVAL", 80, 40}};
    for (const Dialect& d : dialects) {
        SCOPED_TRACE(d.name);
        CLineEdit& settings = g_SettingsTextWnd.Edit();
        int line = settings.FindLine("FILETYPE");
        for (int n = 0; n < d.block; ++n)
            line = settings.FindNextLine();
        ASSERT_GE(line, 0);
        EXPECT_NE(settings.GetLineText(line).find(std::string("$") + d.name), std::string::npos);

        g_ApertureFormat = d.block;
        g_CurrentApertureFile = TestDataPath(std::string("apertures/") + d.sample);
        doc->LoadApertureFile();
        ASSERT_EQ(doc->m_ApertureList.size(), 4u);
        for (std::size_t k = 0; k < 4; ++k)
            ExpectAperture(*doc->m_ApertureList[k], expected[k].code, expected[k].shape,
                           expected[k].w, expected[k].h);
    }
    EXPECT_TRUE(TestHost().BoxTexts().empty());
}

TEST_F(ApertureTable, TheCorpusGapFileReadsWithTheWorkbenchBlock)
{
    const std::string gap = CorpusPath("gerbv-examples/ekf/ekf.gap");
    if (gap.empty())
        GTEST_SKIP() << "corpus absent";
    g_ApertureFormat = 6;
    g_CurrentApertureFile = gap;
    doc->LoadApertureFile();
    ASSERT_EQ(doc->m_ApertureList.size(), 199u);
    EXPECT_EQ(doc->GetApertureShape("D012"), "ROUND");
    EXPECT_FLOAT_EQ(doc->GetApertureWidth("D12"), 8.0f);
    EXPECT_EQ(doc->GetApertureShape("D71"), "RECT");
    EXPECT_FLOAT_EQ(doc->GetApertureWidth("D500"), 8.0f);
    EXPECT_FLOAT_EQ(doc->GetApertureHeight("D389"), 40.0f);
}

TEST_F(ApertureTable, WheelOrderNumbersRowsByPosition)
{
    OneTemplate({"FILETYPE $WHEEL", "MIL", "ROUND", "SQUARE", "OVAL", "$GAP", "$", "$0", "$0",
                 "$1", "$2", "$3"});
    std::string text;
    for (int row = 0; row < 14; ++row)
        text += (row == 1 ? "0" : "7") + std::string(" ROUND ") + std::to_string(row + 1) + "\n";
    text += "ab\n";  // shorter than 3 characters: takes no position
    text += "7 ROUND 99\n";
    g_CurrentApertureFile = WriteFile("wheel.gap", text);
    doc->LoadApertureFile();
    // Positions 10..23 with position 11 a "0" row, then the row after "ab"
    // at position 24.
    EXPECT_EQ(Codes(), (std::vector<std::string>{"D10", "D12", "D13", "D14", "D15", "D16",
                                                 "D17", "D18", "D19", "D70", "D71", "D20",
                                                 "D21", "D22"}));
    EXPECT_FLOAT_EQ(doc->m_ApertureList[9]->width, 11.0f);   // 11th row: D70
    EXPECT_FLOAT_EQ(doc->m_ApertureList[11]->width, 13.0f);  // 13th row: D20
    EXPECT_FLOAT_EQ(doc->m_ApertureList.back()->width, 99.0f);
    EXPECT_EQ(g_ApertureLoaded, 1);
}

TEST_F(ApertureTable, ReportLinesAsEachToolWritesThem)
{
    struct Aperture { const char* code; const char* shape; float w, h; };
    struct Case { int block; const char* name; const char* text; std::vector<Aperture> expected; };
    const Case cases[] = {
        // Bare D-code numbers, a rotation column, oblongs named by their axis.
        {0, "ALLEGRO",
         "FILM TOP\n"
         "    10  CIRCLE      10.000   0.000   0.000\n"
         "    11  SQUARE      60.000   0.000   0.000\n"
         "    12  RECTANGLE   60.000  30.000  90.000\n"
         "    13  OBLONG_X    80.000  40.000   0.000\n"
         "    14  OBLONG_Y    40.000  80.000   0.000\n",
         {{"D10", "ROUND", 10, 10}, {"D11", "RECT", 60, 60}, {"D12", "RECT", 30, 60},
          {"D13", "OVAL", 80, 40}, {"D14", "OVAL", 40, 80}}},
        {1, "POWERPCB",
         "Photo Plot Report\r\nAperture  Shape  X  Y\r\n"
         "D10  Round  10  10\r\nD11  Round  20  60\r\nD12  Rect  60  30\r\nD13  Oval  80  40\r\n",
         {{"D10", "ROUND", 10, 10}, {"D11", "OVAL", 20, 60}, {"D12", "RECT", 60, 30},
          {"D13", "OVAL", 80, 40}}},
        // Sizes with a decimal comma (or point), rotation before the use.
        {2, "PROTEL",
         "D10   ROUNDED            13,000      13,000       0,000 LINE\n"
         "D11   RECTANGULAR        24,000      80,000       0,000 FLASH\n"
         "D12   ROUNDED            24,000      80,000       0,000 FLASH\n"
         "D13   RECTANGULAR        39,370      70,866       0,000 FLASH\n"
         "D14   RECTANGULAR        24,000      80,000     270,000 FLASH\n"
         "D15   ROUNDED            10.000      10.000       0.000 LINE    0.00\n",
         {{"D10", "ROUND", 13, 13}, {"D11", "RECT", 24, 80}, {"D12", "OVAL", 24, 80},
          {"D13", "RECT", 39.37f, 70.866f}, {"D14", "RECT", 80, 24}, {"D15", "ROUND", 10, 10}}},
        {3, "CSI",
         "CSI aperture list\nCode Shape SizeX SizeY\n10 ROUND 10 10\n11 ROUND 20 40\n"
         "12 RECTANGLE 60 30\n",
         {{"D10", "ROUND", 10, 10}, {"D11", "OVAL", 20, 40}, {"D12", "RECT", 60, 30}}},
        {4, "ORCAD",
         "Aperture  Type       Width  Height\nD10       ROUND      10     10\n"
         "D11       SQUARE     60     60\nD12       OBLONG     40     80\n",
         {{"D10", "ROUND", 10, 10}, {"D11", "RECT", 60, 60}, {"D12", "OVAL", 40, 80}}},
        {5, "PADS",
         "PADS Photo Plot Report\nAperture  Shape   X    Y\nD10  Round   10   10\n"
         "D11  Rect    30   60\n",
         {{"D10", "ROUND", 10, 10}, {"D11", "RECT", 30, 60}}},
        // Sizes in mil and mm side by side; the Y size is the fifth field.
        {6, "WORKBENCH",
         "! GAPFile Version 1.0\n! Created by hand\nGAPFile   Version 1.0\n"
         "D10 ROUND       4.00 0.102  0.00 0.000   0   0.00  0.00  D10   0   0.00  0.00 D0\n"
         "D71 SQUARE     24.00 0.610  0.00 0.000   0   0.00  0.00  D71   0   0.00  0.00 D0\n"
         "D12 RECTANGLE  60.00 1.524 30.00 0.762   0\n",
         {{"D10", "ROUND", 4, 4}, {"D71", "RECT", 24, 24}, {"D12", "RECT", 60, 30}}},
        {7, "P-CAD",
         "P-CAD Photoplot Report\nApertures\nCode  Shape     Width   Height\n"
         "D10   Ellipse   10.0    10.0\nD11   Ellipse   20.0    50.0\n"
         "D12   Rectangle 60.0    30.0\n",
         {{"D10", "ROUND", 10, 10}, {"D11", "OVAL", 20, 50}, {"D12", "RECT", 60, 30}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_ApertureFormat = c.block;
        g_CurrentApertureFile = WriteFile("report.txt", c.text);
        doc->LoadApertureFile();
        ASSERT_EQ(doc->m_ApertureList.size(), c.expected.size());
        for (std::size_t k = 0; k < c.expected.size(); ++k)
            ExpectAperture(*doc->m_ApertureList[k], c.expected[k].code, c.expected[k].shape,
                           c.expected[k].w, c.expected[k].h);
    }
    EXPECT_TRUE(TestHost().BoxTexts().empty());
}

// A photoplot read as RS-274D with its tool's report gives the records the
// same photoplot gives as RS-274X with the apertures defined in it.
TEST_F(ApertureTable, AReportReadsLikeTheDefinitionsItStandsFor)
{
    const std::string definitions =
        "%ADD10C,0.013*%%ADD11R,0.024X0.080*%%ADD12O,0.024X0.080*%"
        "%ADD13R,0.03937X0.070866*%%ADD14C,0.060*%%ADD15R,0.060X0.060*%"
        "%ADD16O,0.080X0.024*%%ADD17R,0.080X0.024*%%ADD18C,0.008*%\n";
    std::ifstream in(TestDataPath("apertures/protel_comma.pho"), std::ios::binary);
    const std::string photoplot((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
    ASSERT_FALSE(photoplot.empty());
    const std::string extended =
        WriteFile("extended.gbr", "%FSLAX23Y23*%\n%MOIN*%\n" + definitions + photoplot);
    const std::string plain = WriteFile("plain.pho", photoplot);
    g_ApertureFormat = 2;
    for (bool fill : {false, true}) {
        SCOPED_TRACE(fill ? "area fill" : "plain");
        auto read = [&](const std::string& path, const std::string& apertures) {
            g_CurrentApertureFile = apertures;
            return fill ? doc->ReadGerberLayerFill(path) : doc->ReadGerberLayer(path);
        };
        ASSERT_EQ(read(extended, ""), 1);
        std::vector<CTrackRecord> tracks;
        std::vector<CFlashRecord> flashes;
        for (auto& t : doc->m_TrackList)
            tracks.push_back(*t);
        for (auto& f : doc->m_FlashList)
            flashes.push_back(*f);
        std::vector<CApertureRecord> defined;
        for (auto& a : doc->m_ApertureList)
            defined.push_back(*a);

        ASSERT_EQ(read(plain, TestDataPath("apertures/protel_comma.apr")), 1);
        ASSERT_EQ(doc->m_ApertureList.size(), defined.size());
        for (std::size_t k = 0; k < defined.size(); ++k)
            ExpectAperture(*doc->m_ApertureList[k], defined[k].dCode, defined[k].shape,
                           defined[k].width, defined[k].height);
        ASSERT_EQ(doc->m_TrackList.size(), tracks.size());
        ASSERT_EQ(doc->m_FlashList.size(), flashes.size());
        EXPECT_GT(tracks.size(), 8u);
        for (std::size_t k = 0; k < tracks.size(); ++k) {
            const CTrackRecord& t = *doc->m_TrackList[k];
            SCOPED_TRACE(k);
            EXPECT_NEAR(t.x1, tracks[k].x1, 1e-3);
            EXPECT_NEAR(t.y1, tracks[k].y1, 1e-3);
            EXPECT_NEAR(t.x2, tracks[k].x2, 1e-3);
            EXPECT_NEAR(t.y2, tracks[k].y2, 1e-3);
            EXPECT_NEAR(t.width, tracks[k].width, 1e-3);
            EXPECT_EQ(t.type, tracks[k].type);
            EXPECT_EQ(t.aperture, tracks[k].aperture);
        }
        for (std::size_t k = 0; k < flashes.size(); ++k) {
            const CFlashRecord& f = *doc->m_FlashList[k];
            SCOPED_TRACE(k);
            EXPECT_NEAR(f.x, flashes[k].x, 1e-3);
            EXPECT_NEAR(f.y, flashes[k].y, 1e-3);
            EXPECT_NEAR(f.radius, flashes[k].radius, 1e-3);
            EXPECT_EQ(f.type, flashes[k].type);
        }
    }
    EXPECT_TRUE(TestHost().BoxTexts().empty());
}

TEST_F(ApertureTable, FailuresAreToldOnceWithTheFileName)
{
    OneTemplate({"FILETYPE $MM", "MIL", "ROUND", "RECT", "OVAL", "$D", "$", "$0", "$0", "$1",
                 "$2", "$3"});
    g_CurrentApertureFile = WriteFile("mm.apt", "10 ROUND 0.254\n");
    g_GerberFormatDlg.InchMM2 = 1;
    doc->LoadApertureFile();
    ASSERT_EQ(doc->m_ApertureList.size(), 1u);
    EXPECT_NEAR(doc->m_ApertureList[0]->width, 10.0f, 1e-3);
    EXPECT_NEAR(doc->m_ApertureList[0]->height, 10.0f, 1e-3);
    g_GerberFormatDlg.InchMM2 = 0;

    // A missing block leaves the table.
    g_ApertureFormat = 3;
    doc->LoadApertureFile();
    EXPECT_EQ(doc->m_ApertureList.size(), 1u);
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{"Aperture 設定錯誤  !"});
    g_ApertureFormat = 0;

    // A file that cannot be read, or gives no aperture, empties the table
    // and is named; the copper pre-scan reads it too but tells nothing, so a
    // side's reading tells each failure once.
    const std::string absent = JoinPath(TestDir(), "absent.apt");
    const std::string empty = WriteFile("empty.apt", "");
    const std::string notes = WriteFile("notes.apt", "only a heading\nand a note\n");
    const struct { std::string path, message; } failures[] = {
        {absent, "開啟檔案 APERTURE " + absent + " 錯誤  !"},
        {TestDir(), "開啟檔案 APERTURE " + TestDir() + " 錯誤  !"},
        {empty, "APERTURE 檔案 " + empty + " 中讀不到任何 Aperture: 檔案是空的, 或不是所選的格式 !"},
        {notes, "APERTURE 檔案 " + notes + " 中讀不到任何 Aperture: 檔案是空的, 或不是所選的格式 !"},
    };
    const std::string layer = WriteFile("layer.pho", "X0Y0D02*X100Y0D02*M02*\n");
    g_HasComponentSide = 1;
    for (const auto& f : failures) {
        SCOPED_TRACE(f.path);
        g_CurrentApertureFile = WriteFile("mm.apt", "10 ROUND 10\n");
        doc->LoadApertureFile();
        ASSERT_EQ(doc->m_ApertureList.size(), 1u);
        const std::size_t told = TestHost().BoxTexts().size();
        g_CurrentApertureFile = f.path;
        doc->ScanGerberExtent(layer);
        EXPECT_EQ(TestHost().BoxTexts().size(), told);
        doc->ReadGerberLayer(layer);
        EXPECT_TRUE(doc->m_ApertureList.empty());
        ASSERT_EQ(TestHost().BoxTexts().size(), told + 1);
        EXPECT_EQ(TestHost().BoxTexts().back(), f.message);
    }
}

TEST_F(ApertureTable, RowsOfAnyLengthAndRepeatedCodes)
{
    OneTemplate({"FILETYPE $T", "MIL", "ROUND", "RECT", "OVAL", "$", "$", "$0", "$0", "$1",
                 "$2", "$3"});
    // A row far longer than any buffer is one row; a code given twice (as
    // "D010" and "D10") is found as its first row, as a search from the
    // head of the table finds it.
    g_CurrentApertureFile = WriteFile(
        "long.apt", "D010 RECT 20 40 " + std::string(5000, 'X') + "\nD10 ROUND 7\nD11 ROUND 9\n");
    doc->LoadApertureFile();
    ASSERT_EQ(doc->m_ApertureList.size(), 3u);
    EXPECT_EQ(doc->FindAperture("D10"), doc->m_ApertureList[0].get());
    EXPECT_EQ(doc->GetApertureShape("D0010"), "RECT");
    EXPECT_EQ(doc->GetApertureIndex("D11"), 2);
    // A definition matches a code as written: it rewrites the row "D10",
    // not "D010", and the look-ups still find the first row.
    doc->AddApertureFromParam("ADD10C,0.030*");
    doc->AddApertureFromParam("ADD10C,0.050*");
    ASSERT_EQ(doc->m_ApertureList.size(), 3u);
    EXPECT_FLOAT_EQ(doc->m_ApertureList[1]->width, 50.0f);
    EXPECT_EQ(doc->m_ApertureList[0]->shape, "RECT");
    EXPECT_EQ(doc->GetApertureIndex("D10"), 0);
    // A table taken whole (a project's) is keyed anew.
    COwnedList<CApertureRecord> stored;
    stored.push_back(std::make_unique<CApertureRecord>());
    stored.back()->dCode = "D11";
    doc->m_ApertureList = std::move(stored);
    EXPECT_EQ(doc->GetApertureIndex("D11"), 0);
    EXPECT_EQ(doc->FindAperture("D10"), nullptr);
}

TEST_F(ApertureTable, LookUpsAndTheQuestion)
{
    doc->AddApertureFromParam("ADD10C,0.010*");
    doc->AddApertureFromParam("ADD11R,0.02X0.01*");
    EXPECT_EQ(doc->FindAperture("D010"), doc->m_ApertureList[0].get());
    EXPECT_EQ(doc->GetApertureIndex("D11"), 1);
    EXPECT_FLOAT_EQ(doc->GetApertureHeight("D99"), 1.0f);
    EXPECT_EQ(doc->GetApertureShape("D99"), "ROUND");
    EXPECT_FLOAT_EQ(doc->GetApertureWidthByIndex(1), 20.0f);

    // Inside a region the widths answer 1.0 without the table.
    doc->m_AreaFillFlag = 1;
    EXPECT_FLOAT_EQ(doc->GetApertureWidth("D10"), 1.0f);
    EXPECT_FLOAT_EQ(doc->GetApertureWidthByIndex(1), 1.0f);
    doc->m_AreaFillFlag = 0;

    // Never asked: empty codes, "D02M" and "G01D".
    const std::size_t shown = TestHost().DialogsShown().size();
    EXPECT_FLOAT_EQ(doc->GetApertureWidth(""), 0.0f);
    EXPECT_EQ(doc->GetApertureIndex("G01D"), 0);
    EXPECT_FLOAT_EQ(doc->GetApertureWidth("D02M"), 0.0f);
    EXPECT_EQ(TestHost().DialogsShown().size(), shown);

    // A missing code is asked once; the answer stays in the table.
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_APERTURE_NAME), "D33");
            d.SetDlgItemText(IDC_APERTURE_WIDTH, "12.5");
            d.SetDlgItemText(IDC_APERTURE_LENGTH, "30");
            d.SetCurSel(IDC_APERTURE_TYPE, 1);
            d.PressButton(IDOK);
        },
        IDD_APERTURE_DEF);
    EXPECT_FLOAT_EQ(doc->GetApertureWidth("D33"), 12.5f);
    EXPECT_EQ(doc->GetApertureIndex("D33"), 2);
    const CApertureRecord& asked = *doc->m_ApertureList[2];
    EXPECT_EQ(asked.shape, "RECT");
    EXPECT_FLOAT_EQ(asked.height, 30.0f);
    EXPECT_FLOAT_EQ(asked.userValue, 1.0f);
    EXPECT_EQ(asked.comment, ";User Define");
    EXPECT_EQ(TestHost().DialogsShown().size(), shown + 1);

    // Closed without OK: a round aperture of the values as they were.
    EXPECT_EQ(doc->GetApertureIndex("D34"), 3);
    EXPECT_EQ(doc->m_ApertureList[3]->shape, "ROUND");
}

TEST_F(ApertureTable, IndexesStayApartBeyond256)
{
    for (int d = 10; d < 10 + 300; ++d)
        doc->AddApertureFromParam("ADD" + std::to_string(d) + "C,0.01*");
    EXPECT_EQ(doc->GetApertureIndex("D309"), 299);
    EXPECT_EQ(doc->GetApertureIndex("D266"), 256);
}

TEST(GerberRecordDlg, ExchangesTheRecordFields)
{
    CGerberRecordDlg dlg;
    dlg.m_Group = 3;
    dlg.m_X1 = 1.5f;
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_RECORD_GROUP), "3");
            d.SetDlgItemText(IDC_RECORD_Y2, "7.25");
            d.PressButton(IDOK);
        },
        IDD_GERBER_RECORD);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_FLOAT_EQ(dlg.m_Y2, 7.25f);
    EXPECT_FLOAT_EQ(dlg.m_X1, 1.5f);
}

}  // namespace
