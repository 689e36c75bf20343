// The registration-hole texts: the standard pairs across the table, the
// square of four holes, the header, and the hole commands of the view.
#include "machining/locating_holes.h"

#include "editing/coord_input_dlg.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/machine_settings.h"
#include "support/scripted_host.h"
#include "ui/edit_wnd.h"
#include "ui/line_store.h"
#include "view/hole_text_walk.h"
#include "view/velm_view.h"
#include "view/view_runner.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A 310 x 200 mm table.
constexpr double kW = 12204.0, kH = 7874.0;

std::vector<std::string> Lines(const CLineEdit& text)
{
    std::vector<std::string> lines;
    for (int n = 0; n < text.GetLineCount(); ++n)
        lines.push_back(text.GetLineText(n));
    return lines;
}

}  // namespace

TEST(RegistrationHoles, PairsAreWrittenOnceEachAfterOneHeader)
{
    CLineEdit text;
    EnsureHoleHeader(text);
    ASSERT_EQ(WriteHolePair(text, 1, kW, kH), 1);
    EXPECT_EQ(Lines(text), (std::vector<std::string>{"%", "T30C1.25", ";Set First position",
                                                      "X129.1590Y99.9998", "X180.8226Y99.9998"}));
    // The second pair lies twice as far out; the header is not repeated.
    EnsureHoleHeader(text);
    ASSERT_EQ(WriteHolePair(text, 2, kW, kH), 1);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], ";Set Second position");
    EXPECT_EQ(lines[6], "X103.3272Y99.9998");
    EXPECT_EQ(lines[7], "X206.6544Y99.9998");
    // A pair already there, or one that does not exist, writes nothing.
    EXPECT_EQ(WriteHolePair(text, 1, kW, kH), 0);
    EXPECT_EQ(WriteHolePair(text, 6, kW, kH), 0);
    EXPECT_EQ(WriteHolePair(text, 0, kW, kH), 0);
    EXPECT_EQ(Lines(text), lines);
}

TEST(RegistrationHoles, SquareHolesAreTheCornersAroundTheTableCentreCutToWholeMils)
{
    CLineEdit text;
    WriteSquareHoles(text, 1000.0, 1000.0, kW, kH);
    // 5602, 6602 and 3437, 4437 mil.
    EXPECT_EQ(Lines(text), (std::vector<std::string>{"X142.2908Y87.2998", "X167.6908Y87.2998",
                                                      "X142.2908Y112.6998",
                                                      "X167.6908Y112.6998"}));
}

TEST(RegistrationHoles, ViewCommandsWriteShowAndArmTheModes)
{
    CVelmDoc doc;
    CVelmView view(doc);
    view.OnHolePair(1);
    EXPECT_TRUE(g_HoleDataWnd.IsVisible());
    EXPECT_EQ(g_HoleDataWnd.Caption(), "定位孔資料編輯視窗");
    EXPECT_EQ(g_HoleDataWnd.Edit().GetLineCount(), 5);
    EXPECT_TRUE(TestHost().BoxTexts().empty());
    view.OnHolePair(1);
    EXPECT_EQ(TestHost().BoxTexts(), (std::vector<std::string>{"重覆定義定位孔 !"}));
    EXPECT_EQ(g_HoleDataWnd.Edit().GetLineCount(), 5);

    view.OnAddRegistrationHole();
    EXPECT_FALSE(g_HoleDataWnd.IsVisible());
    EXPECT_EQ(view.m_RegHoleAddMode, 1);
    view.OnFindRegistrationHole();
    EXPECT_TRUE(g_HoleDataWnd.IsVisible());
    EXPECT_EQ(view.m_RegHolePickMode, 1);

    // The square asks its size; Cancel writes nothing.
    TestHost().QueueDialog([](CDialog& d) { d.EndDialog(IDCANCEL); });
    view.OnSquareHoles();
    EXPECT_EQ(g_HoleDataWnd.Edit().GetLineCount(), 5);
    TestHost().QueueDialog([](CDialog& d) {
        auto& coords = dynamic_cast<CCoordInputDlg&>(d);
        coords.m_CoordX = 1000.0f;
        coords.m_CoordY = 1000.0f;
        d.EndDialog(IDOK);
    });
    view.OnSquareHoles();
    EXPECT_EQ(g_HoleDataWnd.Edit().GetLineCount(), 9);
    EXPECT_EQ(g_HoleDataWnd.Edit().GetLineText(8), "X167.6908Y112.6998");
}

TEST(RegistrationHoles, MouseAddsAMirroredPairAndPicksAHoleNearby)
{
    CVelmDoc doc;
    CVelmView view(doc);
    view.OnAddRegistrationHole();
    view.AddRegistrationHoleAt(POINT{1000, 2000});
    const auto lines = Lines(g_HoleDataWnd.Edit());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "X25.4000Y50.8000");
    EXPECT_EQ(lines[3], "X284.5816Y50.8000");
    EXPECT_EQ(view.m_PressState, 1);

    // The text is read back in millimetres, whatever the drill format says.
    g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = 0;
    EXPECT_EQ(view.PickRegistrationHoleAt(CDPoint(11230.0, 2010.0)), 1);
    EXPECT_EQ(view.PickRegistrationHoleAt(CDPoint(11250.0, 2000.0)), 0);
}

TEST(RegistrationHoles, EveryHoleWrittenIsReadBackWhereItWasPut)
{
    g_HoleDataWnd.CreateOnce("holes");
    CLineEdit& text = g_HoleDataWnd.Edit();
    EnsureHoleHeader(text);
    // Table mils of each hole as written: the five pairs of an odd table,
    // a square of odd sides, and pairs added at clicked points.
    constexpr double w = 12345.0, h = 7777.0;
    std::vector<CDPoint> written;
    for (int pair = 1; pair <= kRegistrationPairs; ++pair) {
        ASSERT_EQ(WriteHolePair(text, pair, w, h), 1);
        written.push_back(CDPoint(w / 2 - pair * w / 12, h / 2));
        written.push_back(CDPoint(w / 2 + pair * w / 12, h / 2));
    }
    WriteSquareHoles(text, 1001.0, 333.0, w, h);
    for (double y : {3722.0, 4055.0})
        for (double x : {5672.0, 6673.0})
            written.push_back(CDPoint(x, y));
    for (const POINT p : {POINT{1000, 2000}, POINT{7, 7000}, POINT{12000, 1}}) {
        AddHolePair(text, p.x, p.y, w);
        written.push_back(CDPoint(p.x, p.y));
        written.push_back(CDPoint(static_cast<int>(w - p.x), p.y));
    }

    // Whatever unit the drill files are read in, the hole text is read in
    // its own: by the walk of the search, the pick and the upload, and by
    // the drilling job's reader.
    for (int inchOrMm : {0, 1}) {
        g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = inchOrMm;
        CDrillTextWalk walk(g_HoleDataWnd, CDrillTextWalk::EUnit::Millimetres);
        walk.Restart();
        std::vector<CDPoint> walked;
        for (EHoleBlock b = walk.Next(); b != EHoleBlock::End; b = walk.Next()) {
            if (b == EHoleBlock::Position) {
                walked.push_back(walk.Point());
            } else if (b == EHoleBlock::Tool) {
                EXPECT_NEAR(walk.ToolSize(), 1.25 / 0.0254, 0.01);
            }
        }
        std::vector<CDPoint> drilled;
        for (const CRegistrationHole& hole : ReadRegistrationHoles())
            drilled.push_back(hole.at);
        for (const auto* read : {&walked, &drilled}) {
            ASSERT_EQ(read->size(), written.size()) << inchOrMm;
            for (std::size_t i = 0; i < written.size(); ++i) {
                EXPECT_NEAR((*read)[i].x, written[i].x, 0.01) << i;
                EXPECT_NEAR((*read)[i].y, written[i].y, 0.01) << i;
            }
        }
        EXPECT_EQ(g_DrillFormatDlg.dInchMM, inchOrMm);
    }
}
