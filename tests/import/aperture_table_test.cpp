// The aperture table: FILETYPE templates of the shipped settings file read
// against a sample of each dialect, the aperture-wheel order, the look-ups
// and the question for a missing D code.
#include "import/aperture_dialogs.h"
#include "import_fixture.h"
#include "resource_ids.h"
#include "ui/edit_wnd.h"

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
        for (std::size_t k = 0; k < 4; ++k) {
            const CApertureRecord& a = *doc->m_ApertureList[k];
            EXPECT_EQ(a.dCode, expected[k].code);
            EXPECT_EQ(a.shape, expected[k].shape);
            EXPECT_FLOAT_EQ(a.width, expected[k].w);
            EXPECT_FLOAT_EQ(a.height, expected[k].h);
        }
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

TEST_F(ApertureTable, FailuresAndUnits)
{
    OneTemplate({"FILETYPE $MM", "MIL", "ROUND", "RECT", "OVAL", "$D", "$", "$0", "$0", "$1",
                 "$2", "$3"});
    g_CurrentApertureFile = WriteFile("mm.apt", "10 ROUND 0.254\n");
    g_GerberFormatDlg.InchMM2 = 1;
    doc->LoadApertureFile();
    ASSERT_EQ(doc->m_ApertureList.size(), 1u);
    EXPECT_NEAR(doc->m_ApertureList[0]->width, 10.0f, 1e-3);
    EXPECT_NEAR(doc->m_ApertureList[0]->height, 10.0f, 1e-3);

    // A missing block leaves the table; a missing file empties it.
    g_ApertureFormat = 3;
    doc->LoadApertureFile();
    EXPECT_EQ(doc->m_ApertureList.size(), 1u);
    g_ApertureFormat = 0;
    g_CurrentApertureFile = JoinPath(TestDir(), "absent.apt");
    doc->LoadApertureFile();
    EXPECT_TRUE(doc->m_ApertureList.empty());
    EXPECT_EQ(TestHost().BoxTexts(),
              (std::vector<std::string>{"Aperture 設定錯誤  !", "開啟檔案 APERTURE錯誤  !"}));
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
