// Program uploads to the third controller: the packets on the wire, the
// record streams of the drill and path bodies, and the refusals.
#include "link_fixture.h"

#include "geometry/board_orientation.h"
#include "link/program_upload.h"
#include "machining/machining_cond_dlg.h"
#include "machining/upload_commands.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "sim_upload.h"
#include "ui/edit_wnd.h"
#include "view/hole_text_walk.h"
#include "view/velm_view.h"
#include "settings/machine_param_dlg.h"

#include <cstring>

#include <fstream>
#include <memory>

namespace {

std::vector<std::uint8_t> Kinds(const CUplProgram& program)
{
    std::vector<std::uint8_t> kinds;
    for (const CUplRecord& r : program.Records())
        kinds.push_back(r.kind);
    return kinds;
}

std::unique_ptr<CPathSegment> Line(double x1, double y1, double x2, double y2)
{
    auto s = std::make_unique<CPathSegment>();
    s->x1 = x1, s->y1 = y1, s->x2 = x2, s->y2 = y2;
    return s;
}

COwnedList<CLayoutBlock> OneCopy()
{
    COwnedList<CLayoutBlock> blocks;
    blocks.push_back(std::make_unique<CLayoutBlock>(0, 0, 1000, 1000));
    // Centred where it was made: board points stay where they are.
    return blocks;
}

}  // namespace

TEST(UploadPackets, TheEndAndCirclePacketsAreGolden)
{
    CUplRecord end;
    end.kind = UPL_END;
    const auto record = UplRecordBytes(end);
    const auto body = UplPacketBody(1, record.data());
    std::array<unsigned char, 20> expected{};
    expected[0] = 0xAA;
    expected[1] = 0x01;
    expected[2] = 0x00;
    expected[18] = 0x0B;
    expected[19] = 0x0C;
    EXPECT_EQ(body, expected);
    // A record number past 255 goes low byte first, and counts in the sum.
    const auto high = UplPacketBody(0x1234, record.data());
    EXPECT_EQ(high[1], 0x34);
    EXPECT_EQ(high[2], 0x12);
    EXPECT_EQ(high[19], (0x34 + 0x12 + 0x0B) & 0xFF);

    // A full circle about the origin, 5.08 mm across: the diameter in
    // hundredths in bytes 12 and 13 of the record.
    CUplProgram program;
    program.Circle(0.0, 0.0, 508);
    const auto circle = UplRecordBytes(program.Records().front());
    const auto packet = UplPacketBody(7, circle.data());
    EXPECT_EQ(packet, (std::array<unsigned char, 20>{0xAA, 0x07, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                     0, 0, 0, 0xFC, 0x01, 0x00, 0x25, 0x29}));
}

TEST(UploadBodies, AChainOfThreeLinesStartsCutsAndEnds)
{
    CPathRecord layer;
    layer.size = 8.0f;
    layer.items.push_back(Line(0, 0, 100, 0));
    layer.items.push_back(Line(100, 0, 100, 100));
    layer.items.push_back(Line(100.5, 100, 0, 100));  // within 1 mil: still the chain
    CUplProgram program;
    program.Height(-1.5f, 2.0f);
    BuildPathBody(program, {&layer}, OneCopy());
    EXPECT_EQ(Kinds(program), (std::vector<std::uint8_t>{UPL_HEIGHT, UPL_TOOL, UPL_CHAIN_START,
                                                         UPL_CUT_TO, UPL_CUT_TO, UPL_CHAIN_END}));
    const auto& r = program.Records();
    EXPECT_FLOAT_EQ(r[0].first, -3.5f);
    EXPECT_EQ(r[0].flag, 1);
    EXPECT_FLOAT_EQ(r[1].second, 8.0f * 0.0254f);
    EXPECT_FLOAT_EQ(r[3].first, 100 * 0.0254f);  // the first end
    EXPECT_FLOAT_EQ(r[5].second, 100 * 0.0254f); // the last end, lifted
    EXPECT_FLOAT_EQ(r[5].height, -1.5f);         // motion carries the working height
}

TEST(UploadBodies, AFullCircleIsOneCircleRecordAndAnArcItsMidPoint)
{
    CPathRecord layer;
    auto circle = Line(100, 0, 100, 0);
    circle->type = 1;
    circle->cx = 0, circle->cy = 0;
    layer.items.push_back(std::move(circle));
    auto arc = Line(500, 0, 400, 100);  // a quarter, counter-clockwise about (400, 0)
    arc->type = 1;
    arc->cx = 400, arc->cy = 0;
    layer.items.push_back(std::move(arc));
    CUplProgram program;
    BuildPathBody(program, {&layer}, OneCopy());
    EXPECT_EQ(Kinds(program), (std::vector<std::uint8_t>{UPL_TOOL, UPL_CIRCLE, UPL_CHAIN_START,
                                                         UPL_ARC_MID, UPL_CHAIN_END}));
    const auto& r = program.Records();
    EXPECT_EQ(r[1].value16, 508);  // 200 mil across: 5.08 mm
    // The mid point lies on the quarter the segment runs (type 1: the angle
    // grows from the start to the end), not on the other three quarters.
    EXPECT_NEAR(r[3].first, (400 + 100 * std::cos(M_PI / 4)) * 0.0254, 1e-3);
    EXPECT_NEAR(r[3].second, 100 * std::sin(M_PI / 4) * 0.0254, 1e-3);
}

TEST(UploadBodies, ArcMidpointsTurnTheWayAsked)
{
    const CDPoint c(0, 0), p1(10, 0), p2(0, 10);
    // As the screen shows it, y down: clockwise is the growing angle.
    const CDPoint cw = ArcMidpointCW(c, p1, p2);
    const CDPoint ccw = ArcMidpointCCW(c, p1, p2);
    EXPECT_NEAR(cw.x, 7.0711, 1e-3);
    EXPECT_NEAR(cw.y, 7.0711, 1e-3);
    EXPECT_NEAR(ccw.x, -7.0711, 1e-3);
    EXPECT_NEAR(ccw.y, -7.0711, 1e-3);
    // Across the negative x axis the long way round is not taken either.
    const CDPoint across = ArcMidpointCW(c, CDPoint(-10, -1), CDPoint(-10, 1));
    EXPECT_NEAR(across.x, 10.0499, 1e-3);
    EXPECT_EQ(SafeSqrt(-4.0), 0.0);
}

TEST(UploadBodies, DrillBodyGivesEachToolItsFeedOnce)
{
    COwnedList<CDrillTool> tools;
    for (int n : {1, 2, 3}) {
        auto t = std::make_unique<CDrillTool>();
        t->toolNumber = n;
        t->diameter = 40.0f * n;
        t->mode = n == 3 ? 0 : 1;
        t->holes.push_back(std::make_unique<CDPoint>(100.0 * n, 50.0));
        tools.push_back(std::move(t));
    }
    std::vector<float> feeds(100, 0.0f);
    feeds[1] = 3.0f;
    feeds[2] = 5.0f;
    CUplProgram program;
    BuildDrillBody(program, tools, OneCopy(), feeds);
    // Tool 3 is not drilled: no tool, no holes.
    EXPECT_EQ(Kinds(program), (std::vector<std::uint8_t>{UPL_TOOL, UPL_FEED, UPL_DRILL, UPL_TOOL,
                                                         UPL_FEED, UPL_DRILL}));
    EXPECT_FLOAT_EQ(program.Records()[1].first, 3.0f);
    EXPECT_FLOAT_EQ(program.Records()[5].first, 200 * 0.0254f);
    EXPECT_EQ(DrillToolText(tools, feeds),
              "T1 C1.02 F3\r\nT2 C2.03 F5\r\nT3 C3.05 F0\r\n");
    EXPECT_FLOAT_EQ(UplGetToolFeed("T1 C1.02 F3\r\nT12 C2.03 F7.5\r\n", 12), 7.5f);
    EXPECT_FLOAT_EQ(UplGetToolFeed("T1 C1.02 F3\r\n", 4), 1.0f);
}

TEST(UploadBodies, DrillIniIsReadToItsBound)
{
    {
        std::ofstream ini("DRILL.INI");
        ini << "; size feed\n0.8 3\n1.0 0\nnonsense\n";
        for (int i = 0; i < 120; ++i)
            ini << 1.0 + i * 0.1 << " " << 4 << "\n";
    }
    const auto table = ReadDrillFeedTable("DRILL.INI");
    ASSERT_EQ(table.size(), kMaxDrillFeedPairs);
    EXPECT_FLOAT_EQ(table[0].first, 0.8f);
    EXPECT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_TRUE(ReadDrillFeedTable("missing.ini").empty());
}

class UploadLineTest : public LinkTest {
protected:
    void StartUploadController()
    {
        ASSERT_TRUE(m_Upload.Start());
        Attach(m_Upload);
        MapPort(1, m_Upload.PortPath());
        g_ComPortIndex = 0;
    }
    void TearDown() override
    {
        g_BinLink.m_Port.Close();
        m_Upload.Stop();
        LinkTest::TearDown();
    }
    CUploadControllerSim m_Upload;
};

TEST_F(UploadLineTest, AProgramGoesRecordByRecordAndRunsOnlyWhenAsked)
{
    StartUploadController();
    CUplProgram program;
    program.Feed(4.0f);
    program.Height(-1.0f, 1.0f);
    ASSERT_TRUE(UplSendProgram(program, false));
    auto packets = m_Upload.Packets();
    ASSERT_EQ(packets.size(), 3u);
    EXPECT_EQ(packets[0].number, 1u);
    EXPECT_EQ(packets[0].command, UPL_RECORD_COMMAND);
    EXPECT_EQ(packets[2].wire, (std::vector<unsigned char>{0xE8, 0xAA, 0x03, 0x00, 0, 0, 0, 0, 0, 0,
                                                           0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0B,
                                                           0x0E}));
    EXPECT_EQ(m_Upload.RunBytes(), 0);
    EXPECT_EQ(TestHost().BoxTexts().back(), "Upload Ok!");

    ASSERT_TRUE(UplSendProgram(program, true));
    Settle();  // the run byte goes without an answer
    EXPECT_EQ(m_Upload.RunBytes(), 1);
}

TEST_F(UploadLineTest, OneRefusalIsSentAgainTwoStopTheUpload)
{
    StartUploadController();
    CUplProgram program;
    program.Feed(4.0f);
    program.Feed(5.0f);
    m_Upload.RefuseNext(1);
    ASSERT_TRUE(UplSendProgram(program, false));
    EXPECT_EQ(m_Upload.Packets().size(), 3u);

    m_Upload.RefuseNext(2);
    EXPECT_FALSE(UplSendProgram(program, true));
    EXPECT_EQ(TestHost().BoxTexts().back(), "Upload Fail !");
    // Nothing after the failed packet: the second one never went.
    EXPECT_EQ(m_Upload.Packets().size(), 3u);
    EXPECT_EQ(m_Upload.RunBytes(), 0);
}

TEST_F(UploadLineTest, AsleepOrOverlongNothingIsSent)
{
    StartUploadController();
    m_Upload.StayAsleep(true);
    CUplProgram small;
    small.Feed(1.0f);
    EXPECT_FALSE(UplSendProgram(small, false));
    EXPECT_EQ(TestHost().BoxTexts().back(), "Teach Mode ! or RS232 not connected !");
    m_Upload.StayAsleep(false);

    CUplProgram huge;
    for (std::size_t i = 0; i < kMaxUploadRecords; ++i)
        huge.Feed(1.0f);
    const int wakes = m_Upload.Wakes();
    EXPECT_FALSE(UplSendProgram(huge, false));
    EXPECT_NE(TestHost().BoxTexts().back().find("65536"), std::string::npos);
    EXPECT_EQ(m_Upload.Wakes(), wakes);
    EXPECT_TRUE(m_Upload.Packets().empty());
}

TEST_F(UploadLineTest, TheCamUploadWorksTheChosenLayerAtThisUploadsHeight)
{
    StartUploadController();
    COwnedList<CPathRecord> layers;
    for (const char* name : {"OUTLINE", "TEXT"}) {
        auto layer = std::make_unique<CPathRecord>();
        layer->name = name;
        layer->side = 5;
        layer->items.push_back(Line(0, 0, 100, 0));
        layers.push_back(std::move(layer));
    }
    CCamUploadSettings settings;
    settings.layer = "TEXT";
    settings.feedText = "6,12";
    settings.startAddress = 40;  // the feed text's address wins
    settings.upHeight = 2.0f;
    settings.downHeight = -0.3f;
    settings.diameter = 0.254f;
    ASSERT_EQ(UploadCamPaths(layers, OneCopy(), settings), 1);
    const auto packets = m_Upload.Packets();
    // Feed, address, height, tool, start, end of the one line, end.
    ASSERT_EQ(packets.size(), 7u);
    EXPECT_EQ(packets[1].record[15], UPL_ADDRESS);
    EXPECT_FLOAT_EQ(layers[1]->depth, -0.3f);
    EXPECT_FLOAT_EQ(layers[1]->size, 10.0f);
    EXPECT_EQ(layers[0]->side, 5);  // every layer back as it was
    EXPECT_EQ(layers[1]->side, 5);
}

TEST_F(UploadLineTest, TheDrillUploadTakesTheFeedsEditedInTheToolText)
{
    StartUploadController();
    for (int n : {1, 2}) {
        auto tool = std::make_unique<CDrillTool>();
        tool->toolNumber = n;
        tool->diameter = 31.5f * n;
        tool->mode = 1;
        tool->holes.push_back(std::make_unique<CDPoint>(100.0 * n, 100.0));
        g_HoleList.push_back(std::move(tool));
    }
    std::string offered;
    TestHost().QueueDialog([&](CDialog& d) {
        auto& conditions = dynamic_cast<CMachiningCondDlg&>(d);
        offered = conditions.m_Memo;
        conditions.m_Memo = "T1 C0.80 F3\r\nT2 C1.60 F6.5\r\n";
        d.EndDialog(IDOK);
    });
    ASSERT_EQ(UploadDrillCoordinates(OneCopy()), 1);
    EXPECT_EQ(offered, "T1 C0.80 F0\r\nT2 C1.60 F0\r\n");
    EXPECT_FLOAT_EQ(UploadDrillFeeds()[2], 6.5f);
    const auto packets = m_Upload.Packets();
    // Feed, height, then per tool its tool, feed and hole; the end.
    ASSERT_EQ(packets.size(), 9u);
    float feed = 0.0f;
    std::memcpy(&feed, packets[6].record.data(), 4);
    EXPECT_FLOAT_EQ(feed, 6.5f);
    EXPECT_EQ(packets[7].record[15], UPL_DRILL);
}

TEST_F(UploadLineTest, TheLocatingHolesGoAsDrillRecordsWithTheirTool)
{
    StartUploadController();
    g_HoleDataWnd.CreateOnce("holes");
    for (const char* line : {"%", "T30C1.25", "X1.000Y2.000", "X3.000Y2.000"})
        g_HoleDataWnd.Edit().WriteLine(line);
    // The hole text is in millimetres, whatever the drill files are read in.
    g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = 0;
    TestHost().QueueDialog([](CDialog& d) { d.EndDialog(IDOK); });
    CDrillTextWalk holes(g_HoleDataWnd, CDrillTextWalk::EUnit::Millimetres);
    ASSERT_EQ(UploadLocatingHoles(holes), 1);
    const auto packets = m_Upload.Packets();
    ASSERT_EQ(packets.size(), 6u);
    EXPECT_EQ(packets[2].record[15], UPL_TOOL);
    float x = 0.0f, size = 0.0f;
    std::memcpy(&size, packets[2].record.data() + 4, 4);
    std::memcpy(&x, packets[4].record.data(), 4);
    EXPECT_NEAR(size, 1.25f, 1e-3);
    EXPECT_NEAR(x, 3.0f, 1e-3);
}

TEST_F(UploadLineTest, TheUploadModelHomesAndMovesByItsOwnBytesAndPackets)
{
    StartUploadController();
    g_MachineModel = "TQ615";
    CVelmDoc doc;
    CVelmView view(doc);
    view.OnHomeReturn();
    Settle();  // the home byte goes without an answer
    EXPECT_EQ(m_Upload.HomeBytes(), 1);
    EXPECT_EQ(g_PortState, 0);

    // A work-area corner goes as one move packet, numbered 100.
    ASSERT_TRUE(UplSendMoveXY(2.54f, 5.08f));
    const auto packets = m_Upload.Packets();
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0].command, UPL_MOVE_COMMAND);
    EXPECT_EQ(packets[0].number, 100u);
    EXPECT_EQ(packets[0].record[15], 0);
}
