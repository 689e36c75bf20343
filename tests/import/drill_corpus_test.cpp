// Real drill files of the shared corpus: each loads with the right number of
// holes per tool, and the holes land on the flashed pads of the same board
// (read here with a small flash reader of our own) or, where the copper has
// no flash for them, inside the board outline.
#include "document/velm_doc.h"
#include "platform/binary_io.h"
#include "records/board_records.h"
#include "import/drill_fixture.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

// Every coordinate pair of a Gerber file in mil, with the flashes apart. The
// file's own format statement and unit are used; coordinates are modal.
struct GerberPoints {
    std::vector<CDPoint> flashes;
    std::vector<CDPoint> all;
};

GerberPoints ReadGerberPoints(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    const std::string text(bytes.begin(), bytes.end());
    const std::size_t fs = text.find("%FS");
    EXPECT_NE(fs, std::string::npos) << path;
    const std::size_t x = text.find('X', fs);
    const int decimals = text[x + 2] - '0';
    double scale = 1000.0 / std::pow(10.0, decimals);
    if (text.find("%MOMM") != std::string::npos)
        scale /= 25.4;

    // Parameters (between "%" pairs) hold X too, as in aperture sizes.
    std::string blocks;
    bool inParameter = false;
    for (char c : text) {
        if (c == '%')
            inParameter = !inParameter;
        else if (!inParameter)
            blocks += c;
    }
    GerberPoints points;
    long cx = 0, cy = 0;
    std::size_t start = 0;
    for (std::size_t end = blocks.find('*'); end != std::string::npos;
         start = end + 1, end = blocks.find('*', start)) {
        const std::string block = blocks.substr(start, end - start);
        if (block.find("G04") != std::string::npos)
            continue;
        const std::size_t bx = block.find('X');
        const std::size_t by = block.find('Y');
        if (bx == std::string::npos && by == std::string::npos)
            continue;
        if (bx != std::string::npos)
            cx = std::strtol(block.c_str() + bx + 1, nullptr, 10);
        if (by != std::string::npos)
            cy = std::strtol(block.c_str() + by + 1, nullptr, 10);
        const CDPoint point(cx * scale, cy * scale);
        points.all.push_back(point);
        if (block.find("D03") != std::string::npos)
            points.flashes.push_back(point);
    }
    return points;
}

double DistanceToNearest(const CDPoint& p, const std::vector<CDPoint>& points)
{
    double best = std::numeric_limits<double>::max();
    for (const CDPoint& q : points)
        best = std::min(best, std::hypot(p.x - q.x, p.y - q.y));
    return best;
}

struct ToolCount {
    int number;
    float diameter;
    std::size_t holes;
};

struct CorpusCase {
    const char* drill;
    const char* copper;
    const char* outline;   // "" when the holes are all on flashes
    std::vector<ToolCount> tools;
    std::size_t onPad;     // holes within 1 mil of a flash centre
    double padReach;       // every hole lies this close to a flash (0: not checked)
};

}  // namespace

TEST(DrillCorpus, RealDrillFilesLoadOntoTheirBoards)
{
    const CorpusCase cases[] = {
        {"boards/D1MiniGSR/D1MiniGSR-PTH.drl", "boards/D1MiniGSR/D1MiniGSR-F_Cu.gbr", "",
         {{1, 31.496f, 4}, {2, 39.37f, 16}}, 20, 1.0},
        {"boards/example_board_new_default/example_board-PTH.drl",
         "boards/example_board_new_default/example_board-F.Cu.gbr", "", {{1, 15.7f, 3}}, 3,
         1.0},
        // Three slots (G85) come in as holes at their start, one slot
        // half-length (1 mm) off the oval pad's centre.
        {"boards/multivibrator/multivibrator.drl", "boards/multivibrator/multivibrator-B.Cu.gbr",
         "boards/multivibrator/multivibrator-Edge.Cuts.gbr",
         {{1, 31.496f, 10}, {2, 39.41f, 15}}, 22, 40.0},
        // Vias and most pads of this board are not flashed on its copper.
        {"boards/project-controller/project-controller.drl",
         "boards/project-controller/project-controller-B_Cu.gbr",
         "boards/project-controller/project-controller-Edge_Cuts.gbr",
         {{1, 23.622f, 36}, {2, 31.496f, 22}, {3, 39.37f, 20}, {4, 39.37f, 39}}, 11, 0.0},
        {"gerbv-examples/hellboard/hellboard.plated-drill.cnc",
         "gerbv-examples/hellboard/hellboard.front.gbr", "", {{13, 28.0f, 360}}, 360, 1.0},
        {"gerbv-examples/orcad/thruhole.tap", "gerbv-examples/orcad/rs232_cm.top", "",
         {{1, 28.0f, 9}, {2, 34.0f, 3}, {3, 39.0f, 1}}, 13, 1.0},
    };
    if (CorpusPath(cases[0].drill).empty())
        GTEST_SKIP() << "the corpus of real boards is not here";

    // The drill format of a fresh settings file, with and without the
    // automatic format: the files that declare their format are read by it.
    for (int autoFormat : {0, 1}) {
        for (const CorpusCase& c : cases) {
            SCOPED_TRACE(std::string(c.drill) + (autoFormat ? ", automatic format" : ""));
            const std::string drill = CorpusPath(c.drill);
            ASSERT_FALSE(drill.empty());
            SetFreshDrillFormat(autoFormat);
            g_CadDialect = "";
            g_ToolSizes.fill(0.0f);
            auto doc = std::make_unique<CVelmDoc>();
            doc->DetectDrillFormat(drill);
            doc->LoadDrillFile(drill);
            EXPECT_TRUE(TestHost().BoxTexts().empty());

            ASSERT_EQ(g_HoleList.size(), c.tools.size());
            for (std::size_t i = 0; i < c.tools.size(); ++i) {
                EXPECT_EQ(g_HoleList[i]->toolNumber, c.tools[i].number);
                EXPECT_NEAR(g_HoleList[i]->diameter, c.tools[i].diameter, 0.01);
                EXPECT_EQ(g_HoleList[i]->holes.size(), c.tools[i].holes);
            }

            const GerberPoints copper = ReadGerberPoints(CorpusPath(c.copper));
            std::size_t onPad = 0;
            for (const auto& tool : g_HoleList)
                for (const auto& hole : tool->holes) {
                    const double distance = DistanceToNearest(*hole, copper.flashes);
                    if (distance < 1.0)
                        ++onPad;
                    if (c.padReach > 0.0) {
                        EXPECT_LT(distance, c.padReach) << hole->x << ", " << hole->y;
                    }
                }
            EXPECT_EQ(onPad, c.onPad);

            if (*c.outline) {
                const GerberPoints outline = ReadGerberPoints(CorpusPath(c.outline));
                ASSERT_FALSE(outline.all.empty());
                CDPoint low = outline.all[0], high = outline.all[0];
                for (const CDPoint& p : outline.all) {
                    low = CDPoint(std::min(low.x, p.x), std::min(low.y, p.y));
                    high = CDPoint(std::max(high.x, p.x), std::max(high.y, p.y));
                }
                for (const auto& tool : g_HoleList)
                    for (const auto& hole : tool->holes) {
                        EXPECT_GT(hole->x, low.x);
                        EXPECT_LT(hole->x, high.x);
                        EXPECT_GT(hole->y, low.y);
                        EXPECT_LT(hole->y, high.y);
                    }
            }
        }
    }
}
