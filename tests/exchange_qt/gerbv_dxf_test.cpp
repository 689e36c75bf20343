// The files DXF to Gerber writes, read by the reference renderer gerbv: it
// reports no error or warning, and its picture of the copper file is the
// drawing's own picture (strokes, pad, filled outlines with an arc,
// hairlines) to within a pixel. Skips when gerbv is absent.
#include "exchange/exchange_fixture.h"
#include "resource_ids.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

constexpr double kDpi = 500.0;
constexpr double kMilPerPixel = 1000.0 / kDpi;
// The window of both pictures, mil.
constexpr double kLeft = 0, kBottom = 0, kWidth = 1000, kHeight = 800;

double SegmentDistance(double px, double py, double x1, double y1, double x2, double y2)
{
    const double dx = x2 - x1, dy = y2 - y1, len2 = dx * dx + dy * dy;
    const double t = len2 > 0 ? std::clamp(((px - x1) * dx + (py - y1) * dy) / len2, 0.0, 1.0) : 0;
    return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy));
}

bool InsidePolygon(const std::vector<std::pair<double, double>>& p, double x, double y)
{
    bool inside = false;
    for (std::size_t i = 0, j = p.size() - 1; i < p.size(); j = i++)
        if ((p[i].second > y) != (p[j].second > y) &&
            x < (p[j].first - p[i].first) * (y - p[i].second) / (p[j].second - p[i].second) +
                    p[i].first)
            inside = !inside;
    return inside;
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

class GerbvDxfTest : public ExchangeTest {
protected:
    void SetUp() override
    {
        if (std::system("command -v gerbv >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "gerbv is not installed";
        ExchangeTest::SetUp();
    }

    // gerbv's messages on reading `file` (and its picture when `png`).
    std::string Gerbv(const std::string& file, const std::string& png)
    {
        const std::string log = TestDir() + "/gerbv.log";
        char window[160];
        std::snprintf(window, sizeof window,
                      " -x png -D %g -B 0 -O %.6fx%.6f -w %dx%d -b '#000000' -f '#FFFFFF' ", kDpi,
                      kLeft / 1000.0, kBottom / 1000.0, int(kWidth / kMilPerPixel),
                      int(kHeight / kMilPerPixel));
        const std::string command = "gerbv" + std::string(window) + "-o " + Quote(png) + " " +
                                    Quote(file) + " >" + Quote(log) + " 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::ifstream in(log);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

}  // namespace

TEST_F(GerbvDxfTest, WrittenFilesReadCleanAndLookLikeTheDrawing)
{
    const std::string dxf = WriteTestFile("board.dxf", DxfDrawing({
        DxfLwPolyline("TOP", 0, {{100, 100, 0}, {600, 100, 0}, {600, 400, 0}}, "20"),
        DxfCircle("TOP", 300, 300, 30),
        DxfLwPolyline("TOP", 1, {{700, 100, 0}, {900, 100, 0.5}, {900, 300, 0}, {700, 300, 0}},
                      "0"),
        DxfEntity("SOLID", {{8, "TOP"}, {10, "100"}, {20, "500"}, {11, "300"}, {21, "500"},
                            {12, "100"}, {22, "600"}, {13, "300"}, {23, "600"}}),
        DxfLine("TOP", 100, 700, 900, 700),
        DxfArc("TOP", 500, 500, 100, 0, 90),
        DxfCircle("DRILL", 200, 200, 16),
        DxfCircle("DRILL", 400, 200, 20),
    }));
    TestHost().QueueDialog(
        [](CDialog& d) {
            d.SetCurSel(IDC_DXF_TOP, d.FindStringExact(IDC_DXF_TOP, "TOP"));
            d.SetCurSel(IDC_DXF_DRILL, d.FindStringExact(IDC_DXF_DRILL, "DRILL"));
            d.SetCurSel(IDC_DXF_UNIT, d.FindStringExact(IDC_DXF_UNIT, "mil"));
            d.PressButton(IDOK);
        },
        IDD_DXF_SETTINGS);
    ASSERT_EQ(doc->ConvertDxfToGerber(dxf), 1);

    const std::string png = TestDir() + "/top.png";
    for (const char* file : {"/board.top", "/board.drl"}) {
        std::string messages = Gerbv(TestDir() + file, png);
        std::transform(messages.begin(), messages.end(), messages.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        EXPECT_EQ(messages.find("error"), std::string::npos) << file << ": " << messages;
        EXPECT_EQ(messages.find("warning"), std::string::npos) << file << ": " << messages;
        EXPECT_EQ(messages.find("critical"), std::string::npos) << file << ": " << messages;
    }
    Gerbv(TestDir() + "/board.top", png);
    QImage image(QString::fromStdString(png));
    ASSERT_FALSE(image.isNull());

    // The drawing's copper, straight from its geometry.
    std::vector<std::pair<double, double>> bulged{{700, 100}, {900, 100}};
    for (int k = 1; k < 200; ++k) {
        const double a = -std::atan2(100, 75) + k * 2 * std::atan2(100, 75) / 200;
        bulged.push_back({825 + 125 * std::cos(a), 200 + 125 * std::sin(a)});
    }
    bulged.insert(bulged.end(), {{900, 300}, {700, 300}});
    const std::vector<std::pair<double, double>> solid{{100, 500}, {300, 500}, {300, 600}, {100, 600}};
    const double hair = kMilPerPixel / 2;
    auto copper = [&](double x, double y) {
        return SegmentDistance(x, y, 100, 100, 600, 100) <= 10 ||
               SegmentDistance(x, y, 600, 100, 600, 400) <= 10 ||
               std::hypot(x - 300, y - 300) <= 30 || InsidePolygon(bulged, x, y) ||
               InsidePolygon(solid, x, y) || SegmentDistance(x, y, 100, 700, 900, 700) <= hair ||
               (std::fabs(std::hypot(x - 500, y - 500) - 100) <= hair && x >= 500 && y >= 500);
    };
    const int w = image.width(), h = image.height();
    auto theirs = [&](int i, int j) {
        return i >= 0 && j >= 0 && i < w && j < h && qGray(image.pixel(i, j)) > 127;
    };
    auto mine = [&](int i, int j) {
        return copper(kLeft + (i + 0.5) * kMilPerPixel, kBottom + kHeight - (j + 0.5) * kMilPerPixel);
    };
    auto near = [](const std::function<bool(int, int)>& at, int i, int j) {
        for (int dj = -1; dj <= 1; ++dj)
            for (int di = -1; di <= 1; ++di)
                if (at(i + di, j + dj))
                    return true;
        return false;
    };
    long either = 0, far = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const bool t = theirs(i, j), m = mine(i, j);
            either += t || m;
            if (t != m && !(t ? near(mine, i, j) : near(theirs, i, j)))
                ++far;
        }
    std::printf("  %ld of %ld copper pixels differ beyond one pixel\n", far, either);
    ASSERT_GT(either, 10000);
    EXPECT_LT(double(far) / double(either), 0.002) << far << " of " << either;
}
