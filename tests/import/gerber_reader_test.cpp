// The Gerber layer readers: draws, flashes of every shape, arcs in chords,
// regions (outline or fill), grouping, file lists and refused files.
#include "import/aperture_dialogs.h"
#include "import/gerber_blocks.h"
#include "import_fixture.h"
#include "platform/binary_io.h"
#include "resource_ids.h"
#include "settings/model_defaults.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Stroke {
    float x1, y1, x2, y2, width;
    int type;
};

void ExpectStroke(const CTrackRecord& t, const Stroke& s)
{
    EXPECT_NEAR(t.x1, s.x1, 1e-3);
    EXPECT_NEAR(t.y1, s.y1, 1e-3);
    EXPECT_NEAR(t.x2, s.x2, 1e-3);
    EXPECT_NEAR(t.y2, s.y2, 1e-3);
    EXPECT_NEAR(t.width, s.width, 1e-3);
    EXPECT_EQ(t.type, s.type);
}

const char* kApertures =
    "%ADD10C,0.010*%\n%ADD11O,0.020X0.010*%\n%ADD12R,0.030X0.020*%\n%ADD13O,0.010X0.030*%\n";

using GerberLayer = ImportTest;

TEST_F(GerberLayer, ZeroLengthAndRectangleDraws)
{
    struct Case { const char* body; std::size_t tracks, pads; Stroke track; float padRadius;
                  std::size_t padTracks; };
    const Case cases[] = {
        // Round 10: a flash of radius 5, no track.
        {"D10*X50Y50D02*X50Y50D01*", 0, 1, {}, 5.0f, 0},
        // Oval 20 x 10: a horizontal track of length 10 and width 10.
        {"D11*X50Y50D02*X50Y50D01*", 1, 0, {45, 50, 55, 50, 10, 2}, 0, 1},
        // Oval 10 x 30: a vertical track of length 20 and width 10.
        {"D13*X50Y50D02*X50Y50D01*", 1, 0, {50, 40, 50, 60, 10, 2}, 0, 1},
        // Rectangle 30 x 20 at one point: vertical, width 30.
        {"D12*X50Y50D02*X50Y50D01*", 1, 0, {50, 40, 50, 60, 30, 1}, 0, 1},
        // Rectangle drawn along X: lengthened by half its height.
        {"D12*X0Y0D02*X100Y0D01*", 1, 0, {-10, 0, 110, 0, 30, 1}, 0, 0},
        // A D01 right after a flash draws from the flash point: the track's
        // end pad comes first, then the flash.
        {"D10*X0Y0D03*X100Y0D01*", 1, 2, {0, 0, 100, 0, 10, 0}, 4.97f, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        ASSERT_EQ(ReadLayer(Gerber(kApertures, c.body)), 1);
        ASSERT_EQ(doc->m_TrackList.size(), c.tracks);
        ASSERT_EQ(doc->m_FlashList.size(), c.pads);
        if (c.tracks)
            ExpectStroke(*doc->m_TrackList[0], c.track);
        if (c.pads) {
            EXPECT_FLOAT_EQ(doc->m_FlashList[0]->radius, c.padRadius);
        }
        EXPECT_EQ(doc->m_TrackRefList.size(), c.padTracks);
    }
}

TEST_F(GerberLayer, RoundStrokesGetEndPadsAndRecordNumbers)
{
    ASSERT_EQ(ReadLayer(Gerber(kApertures, "D10*X0Y0D02*X100Y0D01*X100Y100D01*")), 1);
    ASSERT_EQ(doc->m_TrackList.size(), 2u);
    ExpectStroke(*doc->m_TrackList[0], {0, 0, 100, 0, 10, 0});
    ExpectStroke(*doc->m_TrackList[1], {100, 0, 100, 100, 10, 0});
    EXPECT_EQ(doc->m_TrackList[0]->recordNo, 1);
    EXPECT_EQ(doc->m_TrackList[1]->recordNo, 2);
    // Pads at the head of the list, newest first: end of the second
    // stroke, end of the first, its start.
    ASSERT_EQ(doc->m_FlashList.size(), 3u);
    const float r = 5.0f - 0.03f;
    const float expected[3][3] = {{100, 100, 3}, {100, 0, 2}, {0, 0, 2}};
    for (int k = 0; k < 3; ++k) {
        const CFlashRecord& f = *doc->m_FlashList[std::size_t(k)];
        EXPECT_FLOAT_EQ(f.x, expected[k][0]);
        EXPECT_FLOAT_EQ(f.y, expected[k][1]);
        EXPECT_FLOAT_EQ(f.radius, r);
        EXPECT_EQ(f.type, 3);
        EXPECT_EQ(f.recordNo, int(expected[k][2]));
    }
}

TEST_F(GerberLayer, FlashesOfEveryShape)
{
    const std::string macros =
        "%AMCIRC*1,1,$1,0.1,0,90*%\n"            // circle 0.1 right of the origin, turned 90 deg
        "%AMLINE*20,1,0.01,0,0,0.1,0,90*%\n"      // vector line along X, turned to Y
        "%AMBAR*21,1,0.1,0.02,0,0,90*%\n"         // 100 x 20 centre line, turned upright
        "%AMSQ*4,1,4,0,0,0.1,0,0.1,0.1,0,0.1,0,0,0*%\n"
        "%AMHEX*5,1,6,0,0,0.1,0*%\n"
        "%AMODD*0 comment*7,0,0,0.1,0.08,0.01,0*%\n";
    const std::string apertures = std::string(kApertures) + macros +
                                  "%ADD20CIRC,0.05*%%ADD21LINE*%%ADD22BAR*%%ADD23SQ*%"
                                  "%ADD24HEX*%%ADD25ODD*%\n";
    struct Case { const char* body; std::size_t tracks, pads; };
    const Case cases[] = {
        {"D10*X100Y200D03*", 0, 1},  // round: one flash record
        {"D12*X100Y200D03*", 1, 0},  // rectangle: one square-ended track
        {"D11*X100Y200D03*", 1, 2},  // oval: a track with two pads
        {"D20*X100Y200D03*", 0, 1},
        {"D21*X100Y200D03*", 1, 0},
        {"D22*X100Y200D03*", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        ASSERT_EQ(ReadLayer(Gerber(apertures, c.body)), 1);
        EXPECT_EQ(doc->m_TrackList.size(), c.tracks);
        EXPECT_EQ(doc->m_FlashList.size(), c.pads);
    }
    ReadLayer(Gerber(apertures, "D12*X100Y200D03*"));
    ExpectStroke(*doc->m_TrackList[0], {100, 190, 100, 210, 30, 1});
    ReadLayer(Gerber(apertures, "D11*X100Y200D03*"));
    ExpectStroke(*doc->m_TrackList[0], {95, 200, 105, 200, 10, 0});
    EXPECT_FLOAT_EQ(doc->m_FlashList[0]->radius, 5.0f);

    // Macro rotations turn every primitive about the flash point.
    ReadLayer(Gerber(apertures, "D20*X100Y200D03*"));
    EXPECT_NEAR(doc->m_FlashList[0]->x, 100.0f, 1e-3);
    EXPECT_NEAR(doc->m_FlashList[0]->y, 300.0f, 1e-3);
    EXPECT_NEAR(doc->m_FlashList[0]->radius, 25.0f, 1e-3);
    ReadLayer(Gerber(apertures, "D21*X100Y200D03*"));
    ExpectStroke(*doc->m_TrackList[0], {100, 200, 100, 300, 10, 1});
    ReadLayer(Gerber(apertures, "D22*X100Y200D03*"));
    ExpectStroke(*doc->m_TrackList[0], {100, 150, 100, 250, 20, 1});

    // Outlines (primitive 4, and the polygon 5) are filled with strokes.
    for (const char* body : {"D23*X100Y200D03*", "D24*X100Y200D03*"}) {
        SCOPED_TRACE(body);
        ReadLayer(Gerber(apertures, body));
        ASSERT_GT(doc->m_TrackList.size(), 10u);
        float minX = 1e9f, maxX = -1e9f;
        for (auto& t : doc->m_TrackList) {
            minX = std::min({minX, t->x1, t->x2});
            maxX = std::max({maxX, t->x1, t->x2});
        }
        EXPECT_NEAR(maxX - minX, 100.0f, 2.0f);
        EXPECT_EQ(doc->m_FlashList.size(), 2 * doc->m_TrackList.size());
    }
    EXPECT_TRUE(TestHost().BoxTexts().empty());

    // An unsupported primitive is reported once per file.
    ReadLayer(Gerber(apertures, "D25*X100Y200D03*X300Y200D03*"));
    ASSERT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_NE(TestHost().BoxTexts()[0].find(" 7"), std::string::npos);
}

TEST_F(GerberLayer, ArcsBecomeChords)
{
    // Counter-clockwise quarter arc of radius 50 about the origin.
    ASSERT_EQ(ReadLayer(Gerber(kApertures, "G75*D10*X50Y0D02*G03X0Y50I-50J0D01*")), 1);
    ASSERT_FALSE(doc->m_TrackList.empty());
    const CTrackRecord& arc = *doc->m_TrackList[0];
    EXPECT_EQ(arc.type, 8);
    EXPECT_FLOAT_EQ(arc.width, 50.0f);
    EXPECT_NEAR(arc.x2, 0.0f, 1e-5);
    EXPECT_NEAR(arc.y2, M_PI / 2, 1e-5);
    // 0.2 rad steps: 7 full chords and the last one to the end point.
    EXPECT_EQ(doc->m_TrackList.size(), 1u + 8u);
    for (std::size_t k = 1; k < doc->m_TrackList.size(); ++k) {
        EXPECT_EQ(doc->m_TrackList[k]->chordMark, 100);
        EXPECT_NEAR(std::hypot(doc->m_TrackList[k]->x2, doc->m_TrackList[k]->y2), 50.0, 1e-3);
    }
    EXPECT_NEAR(doc->m_TrackList.back()->x2, 0.0f, 1e-3);
    EXPECT_NEAR(doc->m_TrackList.back()->y2, 50.0f, 1e-3);

    // Full circles (start = end) sweep all round in both directions, also
    // when they start away from angle 0.
    for (const char* body : {"D10*X50Y0D02*G03X50Y0I-50J0D01*", "D10*X0Y50D02*G03X0Y50I0J-50D01*",
                             "D10*X0Y50D02*G02X0Y50I0J-50D01*"}) {
        SCOPED_TRACE(body);
        ReadLayer(Gerber(kApertures, std::string("G75*") + body));
        double swept = 0;
        for (std::size_t k = 1; k < doc->m_TrackList.size(); ++k) {
            const CTrackRecord& t = *doc->m_TrackList[k];
            swept += std::hypot(t.x2 - t.x1, t.y2 - t.y1);
        }
        EXPECT_NEAR(swept, 2 * M_PI * 50, 2.0);
    }

    // Without G75 and outside the four signed dialects the centre is the
    // candidate whose radii agree.
    g_CadDialect = "ORCAD";
    ReadLayer(Gerber(kApertures, "D10*X0Y100D02*G02X100Y0I0J100D01*"));
    EXPECT_NEAR(doc->m_TrackList[0]->x1, 0.0f, 1e-3);
    EXPECT_NEAR(doc->m_TrackList[0]->y1, 0.0f, 1e-3);
}

TEST_F(GerberLayer, RegionsOutlinedOrFilled)
{
    const std::string square = "D10*G36*X0Y0D02*X100Y0D01*X100Y100D01*X0Y100D01*X0Y0D01*G37*";
    // The plain reader draws the outline with 1-mil round strokes.
    ASSERT_EQ(ReadLayer(Gerber(kApertures, square)), 1);
    ASSERT_EQ(doc->m_TrackList.size(), 4u);
    for (auto& t : doc->m_TrackList)
        EXPECT_FLOAT_EQ(t->width, 1.0f);
    EXPECT_EQ(doc->m_AreaFillFlag, 0);

    // The area-fill reader fills it: 4 edges of width 1, vertical strokes
    // of width 3, two pads per record, one group.
    ASSERT_EQ(ReadLayer(Gerber(kApertures, square), true), 1);
    std::size_t edges = 0, fills = 0;
    for (auto& t : doc->m_TrackList) {
        (t->width == 1.0f ? edges : fills) += 1;
        EXPECT_EQ(t->groupNo, doc->m_TrackList[0]->groupNo);
    }
    EXPECT_EQ(edges, 4u);
    EXPECT_GT(fills, 40u);
    EXPECT_EQ(doc->m_FlashList.size(), 2 * doc->m_TrackList.size());
    for (auto& f : doc->m_FlashList) {
        EXPECT_EQ(f->type, 3);
        EXPECT_EQ(f->spare40, 1);
    }

    // A G37 without its own G36 adds nothing (and owns nothing twice).
    const std::size_t once = doc->m_TrackList.size();
    ReadLayer(Gerber(kApertures, square + "G37*"), true);
    EXPECT_EQ(doc->m_TrackList.size(), once);
}

TEST_F(GerberLayer, ADamagedHugeRegionIsOutlinedReportedOnceAndReadQuickly)
{
    // Two regions spanning 999 inches: a damaged coordinate, no board. Each
    // is kept as its outline; the operator hears of it once.
    const std::string huge = "G36*X0Y0D02*X9990000Y0D01*X9990000Y100D01*X0Y100D01*X0Y0D01*G37*";
    ASSERT_EQ(ReadLayer(Gerber(kApertures, huge + huge), true), 1);
    EXPECT_EQ(doc->m_TrackList.size(), 8u);
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_NE(TestHost().Boxes()[0].text.find("layer.gbr"), std::string::npos);
}

TEST_F(GerberLayer, TheHugeRegionMessageShowsTheFileNameAsItIs)
{
    // A control byte in the name is shown escaped, and a "%s" in it is part
    // of the name, not a place for the table's width.
    const std::string huge = "G36*X0Y0D02*X9990000Y0D01*X9990000Y100D01*X0Y100D01*X0Y0D01*G37*";
    const std::string path = WriteFile("odd\x01%s.gbr", Gerber(kApertures, huge));
    ASSERT_EQ(doc->ReadGerberLayerFill(path), 1);
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    const std::string& text = TestHost().Boxes()[0].text;
    EXPECT_EQ(text.find(JoinPath(TestDir(), "odd\\x01%s.gbr")), 0u) << text;
    EXPECT_EQ(text.find('\x01'), std::string::npos) << text;
}

TEST_F(GerberLayer, OverlapDeletionCutsSharedColumns)
{
    const std::string big = "G36*X0Y0D02*X100Y0D01*X100Y300D01*X0Y300D01*X0Y0D01*G37*";
    const std::string small = "G36*X0Y100D02*X100Y100D01*X100Y200D01*X0Y200D01*X0Y100D01*G37*";
    auto covered = [&](float y) {
        int n = 0;
        for (auto& t : doc->m_TrackList)
            if (t->width == 3.0f && t->x1 > 40 && t->x1 < 60 &&
                std::min(t->y1, t->y2) < y && std::max(t->y1, t->y2) > y)
                ++n;
        return n;
    };
    g_GerberFormatDlg.OverlapDelete = 0;
    ReadLayer(Gerber(kApertures, "D10*" + big + small), true);
    EXPECT_GT(covered(150), 0);
    const int both = covered(150);
    g_GerberFormatDlg.OverlapDelete = 1;
    ReadLayer(Gerber(kApertures, "D10*" + big + small), true);
    EXPECT_LT(covered(150), both);
    EXPECT_GT(covered(50), 0);
    EXPECT_GT(covered(250), 0);
}

// An area with the corners `corners`, mil.
std::string Area(std::initializer_list<std::pair<int, int>> corners)
{
    auto at = [](std::pair<int, int> p) {
        return "X" + std::to_string(p.first) + "Y" + std::to_string(p.second);
    };
    std::string area = "G36*" + at(*corners.begin()) + "D02*";
    for (auto it = corners.begin() + 1; it != corners.end(); ++it)
        area += at(*it) + "D01*";
    return area + at(*corners.begin()) + "D01*G37*";
}

std::string Area(int x0, int y0, int x1, int y1) { return Area({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}); }

TEST_F(GerberLayer, OverlapDeletionIsAWalkOfTheWholeList)
{
    // Areas on shared columns: nested and again nested, across an inch
    // row, far apart, at negative coordinates, under a drawn column taller
    // than the index's rows reach, a step whose high columns alone lie within an earlier
    // area; and 3-mil strokes drawn upwards and downwards that areas then
    // cover.
    const std::string body =
        "D10*" + Area(0, 0, 100, 300) + Area(0, 100, 100, 200) + Area(20, 120, 80, 180) +
        Area(0, 100, 100, 200) + Area(500, -100, 540, 2100) + Area(500, 950, 540, 1050) +
        Area(4000, 5000, 4040, 5300) + Area(4001, 5100, 4041, 5200) + Area(-300, -300, -200, -100) +
        Area(-290, -250, -210, -150) + Area(9000, 1000, 9010, 17000) +
        Area(7022, 1400, 7040, 1700) +
        Area({{7000, 0}, {7020, 0}, {7020, 1500}, {7040, 1500}, {7040, 1600}, {7000, 1600}}) +
        "D14*X700Y100D02*X700Y500D01*X800Y500D02*X800Y100D01*" + Area(680, 200, 820, 300) +
        "X9005Y70000D02*X9005Y0D01*" + Area(9000, 2000, 9010, 16000);
    const std::string text = Gerber(std::string(kApertures) + "%ADD14C,0.003*%\n", body);

    // What the reader leaves without the deletion, and the areas' runs in
    // it: the strokes of one area share a group, its outline first.
    g_GerberFormatDlg.OverlapDelete = 0;
    ASSERT_EQ(ReadLayer(text, true), 1);
    struct Track {
        float x1, y1, x2, y2, width;
        int group;
    };
    std::vector<Track> walk;
    for (auto& t : doc->m_TrackList)
        walk.push_back({t->x1, t->y1, t->x2, t->y2, t->width, t->groupNo});

    // The rule, walked in full: each area's new vertical columns in list
    // order against every earlier vertical column of the fill's width, in
    // list order.
    auto topFirst = [](Track& t) {
        if (t.y1 < t.y2)
            std::swap(t.y1, t.y2);
    };
    int cuts = 0, drawnCuts = 0;
    std::vector<bool> cut(walk.size(), false);
    for (std::size_t a = 0; a < walk.size();) {
        std::size_t b = a;
        while (b < walk.size() && walk[b].group == walk[a].group)
            ++b;
        for (std::size_t i = 0; i < a && walk[a].width == 1.0f; ++i) {
            Track& e = walk[i];
            if (e.width != 3.0f || e.x1 != e.x2)
                continue;
            for (std::size_t k = a; k < b; ++k) {
                Track& n = walk[k];
                if (n.x1 != n.x2 || std::fabs(n.y1 - n.y2) <= 3.0f || std::fabs(n.x1 - e.x1) >= 3.0f ||
                    n.width != e.width || cut[k])
                    continue;
                topFirst(e);
                topFirst(n);
                if (!(e.y1 > n.y1 && e.y2 < n.y2))
                    continue;
                cut[k] = true;
                ++cuts;
                drawnCuts += e.x1 == 700.0f || e.x1 == 800.0f;
                std::swap(e.y2, n.y1);
                topFirst(e);
                topFirst(n);
            }
        }
        a = b;
    }
    EXPECT_GT(cuts, 100);
    EXPECT_EQ(drawnCuts, 2);

    g_GerberFormatDlg.OverlapDelete = 1;
    ASSERT_EQ(ReadLayer(text, true), 1);
    ASSERT_EQ(doc->m_TrackList.size(), walk.size());
    for (std::size_t i = 0; i < walk.size(); ++i) {
        const CTrackRecord& t = *doc->m_TrackList[i];
        const Track& w = walk[i];
        EXPECT_TRUE(t.x1 == w.x1 && t.y1 == w.y1 && t.x2 == w.x2 && t.y2 == w.y2)
            << i << ": " << t.x1 << "," << t.y1 << " " << t.x2 << "," << t.y2 << " against " << w.x1
            << "," << w.y1 << " " << w.x2 << "," << w.y2;
    }
}

// A comb `width` mil wide of `teeth` teeth 20 mil high: every column
// crosses two edges a tooth.
std::string Comb(int width, int teeth)
{
    std::string area = "G36*X0Y0D02*";
    for (int k = 0; k < teeth; ++k) {
        const std::string y0 = std::to_string(40 * k), y1 = std::to_string(40 * k + 20);
        area += "X" + std::to_string(width) + "Y" + y0 + "D01*X" + std::to_string(width) + "Y" + y1 + "D01*";
        if (k + 1 < teeth)
            area += "X10Y" + y1 + "D01*X10Y" + std::to_string(40 * k + 40) + "D01*";
    }
    return area + "X0Y" + std::to_string(40 * teeth - 20) + "D01*X0Y0D01*G37*";
}

TEST_F(GerberLayer, AnAreaNoMachineTakesIsOutlinedWithOneWarning)
{
    // Wider or taller than the largest table, or crossed so often that its
    // fill would be millions of strokes: outlined, said once per file, in
    // a time that grows with the corners, not with the strokes.
    const int table = int(LargestTableSide());
    struct Case { std::string areas; std::size_t outline; bool filled; } cases[] = {
        {Area(0, 0, table - 100, 100), 4, true},
        {Area(0, 0, 100, table - 100), 4, true},
        {Area(0, 0, table + 100, 100), 4, false},
        {Area(0, 0, 100, table + 100) + Area(0, 0, 200, table + 200), 8, false},
        {Comb(table - 100, 300), 4 * 300, false},
        {Comb(400, 300), 4 * 300, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.areas.substr(0, 60));
        const std::size_t before = TestHost().Boxes().size();
        ASSERT_EQ(ReadLayer(Gerber(kApertures, "D10*" + c.areas), true), 1);
        std::size_t edges = 0, fills = 0;
        for (auto& t : doc->m_TrackList)
            (t->width == 1.0f ? edges : fills) += 1;
        EXPECT_EQ(edges, c.outline);
        EXPECT_EQ(fills > 0, c.filled);
        ASSERT_EQ(TestHost().Boxes().size(), before + (c.filled ? 0 : 1));
        if (!c.filled) {
            const std::string& text = TestHost().Boxes().back().text;
            EXPECT_NE(text.find("layer.gbr"), std::string::npos);
            EXPECT_NE(text.find(std::to_string(table / 1000)), std::string::npos) << text;
        }
    }
}

TEST_F(GerberLayer, FillReaderPadsAndTypes)
{
    ReadLayer(Gerber(kApertures, "D10*X0Y0D02*X100Y0D01*"), true);
    ASSERT_EQ(doc->m_FlashList.size(), 2u);
    EXPECT_FLOAT_EQ(doc->m_FlashList[0]->radius, 4.5f);
    EXPECT_EQ(doc->m_TrackList[0]->joined, 1);
    ReadLayer(Gerber(kApertures, "D11*X0Y0D03*"), true);
    EXPECT_EQ(doc->m_TrackList[0]->type, 2);
}

TEST_F(GerberLayer, GroupingJoinsTouchingTracks)
{
    g_GerberFormatDlg.GroupFlag = 1;
    ReadLayer(Gerber(kApertures, "D10*X0Y0D02*X100Y0D01*X100Y100D01*X500Y500D02*X600Y500D01*"));
    ASSERT_EQ(doc->m_TrackList.size(), 3u);
    EXPECT_EQ(doc->m_TrackList[0]->groupNo, doc->m_TrackList[1]->groupNo);
    EXPECT_NE(doc->m_TrackList[0]->groupNo, doc->m_TrackList[2]->groupNo);
    for (auto& f : doc->m_FlashList)
        if (f->x == 100 && f->y == 0) {
            EXPECT_EQ(f->groupNo, doc->m_TrackList[0]->groupNo);
        }
}

TEST_F(GerberLayer, GroupsAreTheConnectedSetsOfTouchingTracks)
{
    g_GerberFormatDlg.GroupFlag = 1;
    struct Case {
        const char* what;
        std::string body;
        std::vector<int> groups;  // the same number: the same group, in list order
    };
    const Case cases[] = {
        // B joins t to A; C touches t at its start, after the nested join.
        {"a track after a nested join",
         "D10*X0Y0D02*X10Y0D01*X100Y0D02*X110Y0D01*X10Y0D02*X100Y0D01*X0Y0D02*X0Y10D01*",
         {0, 0, 0, 0}},
        // A rectangle and a stroke meet t's far end; x meets its near end.
        {"both ends of the first track",
         "D10*X0Y0D02*X40Y0D01*D12*X40Y-50D02*X40Y50D01*D10*X80Y0D02*X40Y0D01*X0Y0D02*X-50Y0D01*"
         "X0Y300D02*X50Y300D01*",
         {0, 0, 0, 0, 1}},
        // A rectangle first: the round track ending in it is its group.
        {"a rectangle met by a round end",
         "D12*X0Y0D02*X100Y0D01*D10*X100Y5D02*X200Y5D01*X300Y300D02*X400Y300D01*",
         {0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(ReadLayer(Gerber(kApertures, c.body)), 1);
        ASSERT_EQ(doc->m_TrackList.size(), c.groups.size());
        for (std::size_t i = 0; i < c.groups.size(); ++i)
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_EQ(doc->m_TrackList[i]->groupNo == doc->m_TrackList[j]->groupNo,
                          c.groups[i] == c.groups[j])
                    << i << " and " << j;
    }

    // A chain of 100,000 strokes is one group, joined without recursion.
    std::string chain = "D10*X0Y0D02*";
    for (int k = 1; k <= 100000; ++k)
        chain += "X" + std::to_string(k % 2 ? 0 : 10) + "Y" + std::to_string(k) + "D01*";
    ASSERT_EQ(ReadLayer(Gerber(kApertures, chain)), 1);
    ASSERT_EQ(doc->m_TrackList.size(), 100000u);
    for (auto& t : doc->m_TrackList)
        ASSERT_EQ(t->groupNo, doc->m_TrackList[0]->groupNo);
}

TEST_F(GerberLayer, AnAreaWithoutItsEndIsClosedAtTheEndOfTheFile)
{
    const std::string open = "D10*G36*X0Y0D02*X100Y0D01*X100Y100D01*X0Y100D01*X0Y0D01*";
    const std::string closed = "D10*G36*X0Y0D02*X100Y0D01*X100Y100D01*X0Y100D01*X0Y0D01*G37*";
    const std::string next = WriteFile("next.gbr", Gerber(kApertures, "D10*X0Y0D02*X0Y500D01*"));
    for (bool fill : {false, true}) {
        SCOPED_TRACE(fill ? "area fill" : "plain");
        auto read = [&](const std::string& paths) {
            return fill ? doc->ReadGerberLayerFill(paths) : doc->ReadGerberLayer(paths);
        };
        const std::size_t boxes = TestHost().Boxes().size();
        ASSERT_EQ(read(WriteFile("closed.gbr", Gerber(kApertures, closed)) + ";" + next), 1);
        const std::size_t whole = doc->m_TrackList.size();
        ASSERT_EQ(TestHost().Boxes().size(), boxes);

        // The same area without its G37 is kept as if it had one, and the
        // next file's stroke is not taken into it.
        ASSERT_EQ(read(WriteFile("open.gbr", Gerber(kApertures, open)) + ";" + next), 1);
        EXPECT_EQ(doc->m_TrackList.size(), whole);
        EXPECT_FLOAT_EQ(doc->m_TrackList.back()->y2, 500.0f);
        ASSERT_EQ(TestHost().BoxTexts().size(), boxes + 1);
        EXPECT_NE(TestHost().BoxTexts().back().find("open.gbr"), std::string::npos);
        EXPECT_EQ(doc->m_AreaFillFlag, 0);
    }
}

TEST_F(GerberLayer, FileListsOriginAndMissingFiles)
{
    const std::string a = WriteFile("a.gbr", Gerber(kApertures, "D10*X0Y0D02*X100Y0D01*"));
    const std::string b = WriteFile("b.gbr", Gerber(kApertures, "D10*X0Y0D02*X0Y100D01*"));
    g_DataOriginX = 10;
    g_DataOriginY = 20;
    int zooms = 0;
    doc->m_ViewHooks.zoomToFit = [&] { ++zooms; };
    ASSERT_EQ(doc->ReadGerberLayer(a + ";" + b), 1);
    ASSERT_EQ(doc->m_TrackList.size(), 2u);
    EXPECT_EQ(doc->m_TrackList[1]->recordNo, 1);  // restarts per file
    EXPECT_GT(doc->m_TrackList[1]->groupNo, doc->m_TrackList[0]->groupNo);
    ExpectStroke(*doc->m_TrackList[1], {-10, -20, -10, 80, 10, 0});
    EXPECT_EQ(zooms, 1);

    EXPECT_EQ(doc->ReadGerberLayer(a + ";" + JoinPath(TestDir(), "gone.gbr")), 0);
    EXPECT_EQ(doc->m_TrackList.size(), 1u);
    ASSERT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_NE(TestHost().BoxTexts()[0].find("gone.gbr"), std::string::npos);
    EXPECT_EQ(doc->ReadGerberLayer(""), 1);
    EXPECT_TRUE(doc->m_TrackList.empty());
}

// The byte images of every record, for comparing two reads.
std::vector<std::uint8_t> Images(const CVelmDoc& d)
{
    CBinaryWriter out;
    for (auto& t : d.m_TrackList)
        t->WriteImage(out);
    for (auto& f : d.m_FlashList)
        f->WriteImage(out);
    return out.Data();
}

TEST_F(GerberLayer, CrlfReadsTheSameAndCutFilesAreRefused)
{
    std::string text = Gerber(kApertures,
                              "G75*D10*X0Y0D02*X100Y0D01*G03X0Y100I-100J0D01*G36*X0Y0D02*X50Y0D01*"
                              "X50Y50D01*X0Y0D01*G37*D11*X300Y300D03*");
    for (bool fill : {false, true}) {
        SCOPED_TRACE(fill);
        ASSERT_EQ(ReadLayer(text, fill), 1);
        const auto lf = Images(*doc);
        std::string crlf;
        for (char c : text)
            crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        ASSERT_EQ(ReadLayer(crlf, fill), 1);
        EXPECT_EQ(Images(*doc), lf);

        // Cut in half: refused with a message naming the file and line, the
        // copper and the apertures as they were.
        const std::size_t apertures = doc->m_ApertureList.size();
        const int unitDec = g_GerberFormatDlg.UnitDec;
        g_GerberFormatDlg.UnitDec = 5;
        for (std::size_t cut : {text.size() / 2, std::size_t(20), text.size() - 5}) {
            SCOPED_TRACE(cut);
            TestHost().QueueAnswer(IDOK);
            EXPECT_EQ(ReadLayer(text.substr(0, cut), fill), 0);
            EXPECT_EQ(Images(*doc), lf);
            EXPECT_EQ(doc->m_ApertureList.size(), apertures);
            EXPECT_EQ(g_GerberFormatDlg.UnitDec, 5);
            ASSERT_FALSE(TestHost().BoxTexts().empty());
            EXPECT_NE(TestHost().BoxTexts().back().find("layer.gbr"), std::string::npos);
        }
        g_GerberFormatDlg.UnitDec = unitDec;
    }
}

TEST_F(GerberLayer, LoadGerberFollowsTheAreaFillOption)
{
    const std::string square = "D10*G36*X0Y0D02*X100Y0D01*X100Y100D01*X0Y100D01*X0Y0D01*G37*";
    const std::string path = WriteFile("s.gbr", Gerber(kApertures, square));
    g_GerberFormatDlg.AreaFill = 0;
    doc->LoadGerber(path);
    EXPECT_EQ(doc->m_TrackList.size(), 4u);
    g_GerberFormatDlg.AreaFill = 1;
    doc->LoadGerber(path);
    EXPECT_GT(doc->m_TrackList.size(), 4u);
}

}  // namespace

namespace {

TEST_F(GerberLayer, UnknownApertureIsAskedMidRead)
{
    TestHost().QueueDialog(
        [](CDialog& d) {
            d.SetDlgItemText(IDC_APERTURE_WIDTH, "20");
            d.PressButton(IDOK);
        },
        IDD_APERTURE_DEF);
    ASSERT_EQ(ReadLayer(Gerber("", "D77*X0Y0D02*X100Y0D01*")), 1);
    ASSERT_EQ(doc->m_TrackList.size(), 1u);
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->width, 20.0f);
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
}

TEST_F(GerberLayer, ApertureUnitsOfAnRs274dFile)
{
    // An aperture file in inches: a mean width of at most 0.1 is scaled by
    // 1000 at the first linear block.
    g_ApertureFormat = 2;  // the PROTEL block: D code, shape, X, Y
    g_CurrentApertureFile = WriteFile("inch.apr", "D10 ROUNDED 0.010 0.010\nD11 ROUNDED 0.020 0.020\n");
    g_GerberFormatDlg.AutoFormat = 1;
    ASSERT_EQ(ReadLayer("D10*X0Y0D02*X100Y0D01*M02*\n"), 1);
    ASSERT_EQ(doc->m_TrackList.size(), 1u);
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->width, 10.0f);
    EXPECT_FLOAT_EQ(doc->FindAperture("D11")->width, 20.0f);
    EXPECT_EQ(g_GerberFormatDlg.InchMM2, 0);
}

}  // namespace

namespace {

TEST_F(GerberLayer, WideApertureTablesAreReportedNotWrapped)
{
    std::string apertures;
    for (int d = 10; d < 310; ++d)
        apertures += "%ADD" + std::to_string(d) + "C,0.010*%\n";
    ASSERT_EQ(ReadLayer(Gerber(apertures, "D309*X0Y0D02*X100Y0D01*")), 1);
    ASSERT_EQ(doc->m_TrackList.size(), 1u);
    EXPECT_EQ(doc->m_TrackList[0]->apertureNo, 0);  // straight draws carry no index
    ASSERT_EQ(ReadLayer(Gerber(apertures, "G75*D309*X100Y0D02*G03X100Y0I-100J0D01*")), 1);
    const CTrackRecord& chord = *doc->m_TrackList[1];
    EXPECT_EQ(chord.apertureNo, 299);
    EXPECT_EQ(chord.aperture, 255);
    ASSERT_EQ(TestHost().BoxTexts().size(), 2u);  // once per read
    EXPECT_NE(TestHost().BoxTexts()[0].find("300"), std::string::npos);
}

}  // namespace
