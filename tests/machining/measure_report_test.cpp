// The measurement report of three points: distances, circle, angle and the
// point-to-line distance in each unit.
#include "machining/camera_offset_dlg.h"

#include "resource_ids.h"
#include "settings/registry.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The report's line that starts with `head`.
std::string Line(const std::string& report, const std::string& head)
{
    const std::size_t at = report.find(head);
    if (at == std::string::npos)
        return "";
    const std::size_t end = report.find("\r\n", at);
    return report.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

CMeasurePoints Points(float ax, float ay, float bx, float by, float cx, float cy)
{
    CMeasurePoints p;
    p.ax = ax, p.ay = ay, p.bx = bx, p.by = by, p.cx = cx, p.cy = cy;
    return p;
}

}  // namespace

TEST(MeasureReport, TheAngleAtBIsTheTurnBetweenItsRaysUpTo360Degrees)
{
    const struct {
        CMeasurePoints points;
        const char* angle;
    } cases[] = {
        {Points(0, 0, 100, 0, 100, 100), "Angle ( 90 )"},
        // The right angle on the other side is reported as the reflex one.
        {Points(0, 0, 100, 0, 100, -100), "Angle ( 270 )"},
        // A narrow angle across the negative x axis: nearly a whole turn.
        {Points(-100, 1, 0, 0, -100, -1), "Angle ( 358.854 )"},
        // The same narrow angle across the positive x axis.
        {Points(100, 1, 0, 0, 100, -1), "Angle ( 1.14588 )"},
        {Points(0, 0, 100, 0, 200, 0), "Angle ( 180 )"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Line(MeasureReport(c.points, EMeasureUnit::Pulse), "Angle"), c.angle);
}

TEST(MeasureReport, TheWholeTextInPulsesAndLengthsInEachUnit)
{
    const CMeasurePoints p = Points(0, 0, 301.6f, 0, 301.6f, 200);
    EXPECT_EQ(MeasureReport(p, EMeasureUnit::Pulse),
              "Point A (0,0)\r\nPoint B (301.6,0)\r\nPoint C (301.6,200)\r\n"
              "---------------------\r\n"
              "Length AB( 301 )\r\nLength BC( 200 )\r\nDiameter ( 361 )\r\n"
              "Angle ( 90 )\r\nPoint to line ( 200 )\r\n"
              "---------------------\r\nUnit: pulse");
    const std::string mm = MeasureReport(p, EMeasureUnit::MM);
    EXPECT_EQ(Line(mm, "Point B"), "Point B (1.505,0)");
    EXPECT_EQ(Line(mm, "Length AB"), "Length AB( 1.505 )");
    EXPECT_EQ(mm.substr(mm.size() - 8), "Unit: mm");
    const std::string mil = MeasureReport(p, EMeasureUnit::Mil);
    EXPECT_EQ(Line(mil, "Length BC"), "Length BC( 39.3701 )");
    EXPECT_NE(mil.find("Unit: Mil (1/1000 Inch)"), std::string::npos);
}

TEST(MeasureReport, PointsOnOneLineOrOneSpotGiveNoCircleButNoFault)
{
    const std::string line = MeasureReport(Points(0, 0, 100, 0, 200, 0), EMeasureUnit::MM);
    EXPECT_EQ(Line(line, "Diameter"), "Diameter ( --- )");
    EXPECT_EQ(Line(line, "Point to line"), "Point to line ( 0 )");
    // A and B on one spot: C's distance from it stands for the line's.
    const std::string spot = MeasureReport(Points(5, 5, 5, 5, 5, 105), EMeasureUnit::Pulse);
    EXPECT_EQ(Line(spot, "Point to line"), "Point to line ( 100 )");
}

TEST(MeasureDlg, OpensInTheUnitLastShownAndRemembersTheButtonsChoice)
{
    RegSetString("Measure", "MM");
    CMeasureDlg dialog;
    dialog.m_Points = Points(0, 0, 200, 0, 200, 200);
    TestHost().QueueDialog([](CDialog& d) {
        EXPECT_NE(d.GetDlgItemText(IDC_MS_REPORT).find("Unit: mm"), std::string::npos);
        d.PressButton(IDC_MS_INCH);
        EXPECT_NE(d.GetDlgItemText(IDC_MS_REPORT).find("Length AB( 39.3701 )"),
                  std::string::npos);
        d.PressButton(IDOK);
    }, IDD_MEASURE);
    dialog.DoModal();
    std::string unit;
    RegGetString("Measure", unit);
    EXPECT_EQ(unit, "INCH");
}
