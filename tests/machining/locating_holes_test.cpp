// The registration-hole texts: the standard pairs across the table, the
// square of four holes, the header, and the hole commands of the view.
#include "machining/locating_holes.h"

#include "editing/coord_input_dlg.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "support/scripted_host.h"
#include "ui/edit_wnd.h"
#include "ui/line_store.h"
#include "view/velm_view.h"

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
                                                      "X5.0850Y3.9370", "X7.1190Y3.9370"}));
    // The second pair lies twice as far out; the header is not repeated.
    EnsureHoleHeader(text);
    ASSERT_EQ(WriteHolePair(text, 2, kW, kH), 1);
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], ";Set Second position");
    EXPECT_EQ(lines[6], "X4.0680Y3.9370");
    EXPECT_EQ(lines[7], "X8.1360Y3.9370");
    // A pair already there, or one that does not exist, writes nothing.
    EXPECT_EQ(WriteHolePair(text, 1, kW, kH), 0);
    EXPECT_EQ(WriteHolePair(text, 6, kW, kH), 0);
    EXPECT_EQ(WriteHolePair(text, 0, kW, kH), 0);
    EXPECT_EQ(Lines(text), lines);
}

TEST(RegistrationHoles, SquareHolesAreTheCornersAroundTheTableCentreInWholeMils)
{
    CLineEdit text;
    WriteSquareHoles(text, 1000.0, 1000.0, kW, kH);
    EXPECT_EQ(Lines(text), (std::vector<std::string>{"X5602.Y3437.", "X6602.Y3437.",
                                                      "X5602.Y4437.", "X6602.Y4437."}));
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
    EXPECT_EQ(g_HoleDataWnd.Edit().GetLineText(8), "X6602.Y4437.");
}

TEST(RegistrationHoles, MouseAddsAMirroredPairAndPicksAHoleNearby)
{
    CVelmDoc doc;
    CVelmView view(doc);
    view.OnAddRegistrationHole();
    view.AddRegistrationHoleAt(POINT{1000, 2000});
    const auto lines = Lines(g_HoleDataWnd.Edit());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "X1.0000Y2.0000");
    EXPECT_EQ(lines[3], "X11.2040Y2.0000");
    EXPECT_EQ(view.m_PressState, 1);

    // The text is read with its own numbers: inch here.
    EXPECT_EQ(view.PickRegistrationHoleAt(CDPoint(11230.0, 2010.0)), 1);
    EXPECT_EQ(view.PickRegistrationHoleAt(CDPoint(11250.0, 2000.0)), 0);
}
