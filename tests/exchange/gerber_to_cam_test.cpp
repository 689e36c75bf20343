// GERBER to CAM: an RS-274D photoplot's draws as path layers, one per
// aperture select; comments and parameter blocks are no data, D codes are
// whole tokens; a file that cannot be used leaves the open job as it was.
#include "exchange/exchange_fixture.h"
#include "exchange/dxf_layers.h"
#include "exchange/gerber_cam_import.h"
#include "platform/file_messages.h"
#include "records/board_extent.h"
#include "resource_ids.h"

#include <cstdlib>
#include <fstream>

namespace {

using Items = std::vector<std::vector<double>>;

class GerberToCamTest : public ExchangeTest {
protected:
    // The layers' names and items, head first.
    std::vector<std::pair<std::string, Items>> Layers() const
    {
        std::vector<std::pair<std::string, Items>> out;
        for (auto& layer : doc->m_PathLayerList) {
            Items items;
            for (auto& i : layer->items)
                items.push_back({double(i->type), i->x1, i->y1, i->x2, i->y2});
            out.push_back({layer->name, items});
        }
        return out;
    }

    void HoldJob()
    {
        AddTail(doc->AddPathLayer("KEEP", 1.0f, 1.0f, 0, 0)->items,
                std::make_unique<CPathSegment>());
        doc->m_LayerName = "KEEP;";
    }
};

// Format 2.3 in inch: the digits are mil.
const char* const kPlot =
    "G04 Outline X100Y200D10 and D01 in a comment*\n"
    "%FSLAX23Y23*%\n%MOIN*%\n"
    "G54D10*\n"
    "X0Y0D02*\n"
    "X1000Y0D01*\n"
    "Y1000D01*\n"
    "G04 X500Y500D01*\n"
    "G54D11*\n"
    "X2000Y2000D02*\n"
    "X2500D01*\n"
    "X2500Y2600D03*\n"
    "X2600Y2600D10*\n"
    "D10*\n"
    "X3000Y3000D02*\n"
    "X3100Y3000D01*\n"
    "M02*\n";

}  // namespace

TEST(GerberToCam, DCodesAreWholeTokens)
{
    struct Case {
        const char* dWord;
        int number;
    } const cases[] = {{"D01", 1}, {"D1", 1}, {"D02", 2}, {"D10", 10}, {"D100", 100},
                       {"G54D11", 11}, {"X10Y20", -1}, {"D", -1}, {"D99999999999", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(DCodeNumber(c.dWord), c.number) << c.dWord;
}

TEST_F(GerberToCamTest, LayerPerApertureSelectWithItsChains)
{
    HoldJob();
    ASSERT_EQ(doc->ImportGerberToCam(WriteFile("plot.pho", kPlot)), 1);
    const std::vector<std::pair<std::string, Items>> expected = {
        {"D10", {{0, 3000, 3000, 3100, 3000}}},
        // The flash (D03) and the coordinates that carry D10 on draw nothing.
        {"D11", {{0, 2000, 2000, 2500, 2000}}},
        // A chain from the moved-to point; the comments drew nothing.
        {"D10", {{0, 0, 0, 1000, 0}, {0, 1000, 0, 1000, 1000}}},
    };
    EXPECT_EQ(Layers(), expected);
    EXPECT_EQ(doc->m_LayerName, "D10;D11;D10;");
    EXPECT_EQ(g_BoardMinX, -100);
    EXPECT_EQ(g_BoardMinY, -100);
    EXPECT_EQ(g_BoardMaxX, 3200);
    EXPECT_EQ(g_BoardMaxY, 3100);
    // Colours from the counter, raised by 50 at each select.
    EXPECT_EQ(doc->m_PathLayerList.back()->colour, CamLayerColour(50));
    EXPECT_EQ(doc->m_PathLayerList.front()->colour, CamLayerColour(150));
    EXPECT_EQ(doc->m_PathLayerList.front()->side, 5);
    EXPECT_EQ(doc->m_WorkStage, std::uint8_t(WorkStage::Layout));
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(GerberToCamTest, UnusableFileKeepsTheJob)
{
    struct Case {
        const char* what;
        std::string path;
    } const cases[] = {
        {"missing", JoinPath(TestDir(), "none.pho")},
        {"cut off inside a block", WriteFile("cut.pho", "G54D10*\nX0Y0D02*\nX100Y0D01")},
        {"cut off inside a parameter", WriteFile("param.pho", "G54D10*\nX0Y0D02*\nX9Y9D01*\n%FSLA")},
        {"no draw", WriteFile("moves.pho", "G54D10*\nX0Y0D02*\nM02*\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HoldJob();
        const std::size_t boxes = TestHost().Boxes().size();
        EXPECT_EQ(doc->ImportGerberToCam(c.path), 0);
        EXPECT_EQ(Layers().size(), 1u);
        EXPECT_EQ(doc->m_LayerName, "KEEP;");
        EXPECT_EQ(TestHost().Boxes().size(), boxes + 1);
        doc->ClearAll();
    }
}

TEST_F(GerberToCamTest, CommandReadsThroughFileChooser)
{
    TestHost().QueueFileChoice({WriteFile("chosen.pho", kPlot)});
    EXPECT_TRUE(doc->OnCmdMsg(ID_IMPORT_GERBER_TO_CAM));
    ASSERT_EQ(TestHost().FileRequests().size(), 1u);
    EXPECT_EQ(TestHost().FileRequests()[0].filter, "GERBER RS-274|*.*|All File|*.*|");
    EXPECT_EQ(Layers().size(), 3u);
}

namespace {

// The draws and aperture selects of an RS-274D file counted on their own:
// blocks split at '*', a D code from 10 on alone in its block a select, a
// coordinate block a draw when its D code (its own or the last one) is 1.
struct PlotCounts {
    int selects = 0;
    int draws = 0;
};

PlotCounts CountPlot(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    PlotCounts counts;
    int modal = 0;
    std::string block;
    for (char c; in.get(c);) {
        if (c != '*') {
            if (c != '\n' && c != '\r' && c != '\0')
                block += c;
            continue;
        }
        const std::size_t d = block.find('D');
        const int code = d == std::string::npos ? -1 : std::atoi(block.c_str() + d + 1);
        const bool coordinates = block.find_first_of("XY") != std::string::npos;
        if (block.rfind("G04", 0) == 0) {
        } else if (!coordinates && code >= 10) {
            ++counts.selects;
        } else if (coordinates) {
            if (code >= 0)
                modal = code;
            if (modal == 1 && counts.selects > 0)
                ++counts.draws;
        }
        block.clear();
    }
    return counts;
}

}  // namespace

TEST_F(GerberToCamTest, RealPhotoplotHasALayerPerSelectAndEveryDraw)
{
    const std::string path = CorpusPath("gerbv-examples/ekf/l1.off");
    if (path.empty())
        GTEST_SKIP() << "the corpus of real boards is absent";
    const PlotCounts counts = CountPlot(path);
    ASSERT_GT(counts.draws, 1000);
    ASSERT_EQ(doc->ImportGerberToCam(path), 1);
    EXPECT_TRUE(TestHost().Boxes().empty());
    EXPECT_EQ(doc->m_PathLayerList.size(), std::size_t(counts.selects));
    std::size_t items = 0;
    for (auto& layer : doc->m_PathLayerList) {
        EXPECT_GE(DCodeNumber(layer->name), 10) << layer->name;
        items += layer->items.size();
    }
    EXPECT_EQ(items, std::size_t(counts.draws));
}
