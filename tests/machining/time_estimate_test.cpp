// The machining report's sums by name and the time estimate, against a
// fixture worked out by hand: a line, a full circle, a half arc and a line
// that joins it, on two copies of the board.
#include "machining/machining_report.h"

#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

std::string TimeLine(long h, long m, long s)
{
    char text[200];
    std::snprintf(text, sizeof text, LoadResString(IDS_ESTIMATED_TIME).c_str(), h, m, s);
    return text;
}

class TimeEstimateTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_PulsesPerMil = 5.0f;
        g_XYPulsesPerMM = 200.0f;
        g_EngraveSpeed = 10.0f;
        g_RapidSpeed = 50.0f;
        g_PlungeSpeed = 4.0f;
        g_CurrentSide = 0;
        // At 5 pulses a mil, with these speeds:
        // copy 1: a rapid of 100 mil to the line (500), the line 200 mil
        // (1000 + 200 x 10 / 15), the full circle of radius 100 mil
        // (6.28318 x 500 x 10 / 6 + 200 x 10 / 12), a rapid to the arc
        // (707.1), the half arc (180 degrees of it), and the line that
        // starts within 0.001 mil of the arc's end (no plunge).
        CPathRecord& t1 = Layer("T1ISO", 0);
        AddSegment(t1, 0, 100, 0, 300, 0);
        AddSegment(t1, 2, 300, 0, 300, 0, 300, 100);
        AddSegment(t1, 2, 400, 100, 400, -100, 400, 0);
        AddSegment(t1, 0, 400.0005, -100, 400, -300);
        AddSegment(t1, 0, 0, 0, 900, 900)->flag = 1;  // disabled: free
        // Another side and a hidden layer are not walked.
        AddSegment(Layer("T1MIL", 1), 0, 0, 0, 1000, 0);
        AddSegment(Layer("T2ISO", 0), 0, 0, 0, 1000, 0);
        m_Hidden = {"T2ISO"};
        // The second copy lies 1000 mil to the right: the same travel.
        for (double x : {0.0, 1000.0}) {
            auto block = std::make_unique<CLayoutBlock>(-100, -100, 100, 100);
            block->m_Centre = CDPoint(x, 0.0);
            m_Blocks.push_back(std::move(block));
        }
    }

    CPathRecord& Layer(const char* name, int side)
    {
        auto layer = std::make_unique<CPathRecord>();
        layer->name = name;
        layer->side = side;
        layer->depth = 3.9f;
        return *AddTail(m_Layers, std::move(layer));
    }

    std::vector<std::string> Estimate(int resume)
    {
        CEstimateInput input;
        input.pathLayers = &m_Layers;
        input.blocks = &m_Blocks;
        input.resumeCount = resume;
        input.layerVisible = [this](const std::string& name) { return m_Hidden.count(name) == 0; };
        g_ReportDlg.m_ReportText.ClearAll();
        g_ReportDlg.Estimate(input);
        std::vector<std::string> lines;
        for (int i = 0; i < g_ReportDlg.m_ReportText.GetLineCount(); ++i)
            lines.push_back(g_ReportDlg.m_ReportText.GetLineText(i));
        return lines;
    }

    // The report of a T1ISO time and a total equal to it.
    static std::vector<std::string> Report(const std::string& t1Length, long seconds)
    {
        std::vector<std::string> lines = {"T1ISO : " + t1Length + " mm", TimeLine(0, 0, seconds)};
        for (const char* name : {"T1MIL", "T2ISO", "T2MIL", "T3MIL"}) {
            lines.push_back(std::string(name) + " : 0 mm");
            lines.push_back(TimeLine(0, 0, 0));
        }
        lines.push_back("-----------( TOTAL )-----------");
        lines.push_back(TimeLine(seconds / 3600, seconds % 3600 / 60, seconds % 60));
        return lines;
    }

    COwnedList<CPathRecord> m_Layers;
    COwnedList<CLayoutBlock> m_Blocks;
    std::set<std::string> m_Hidden;
};

TEST_F(TimeEstimateTest, TheHandWorkedFixtureToTheSecond)
{
    g_PlungeOffsetPulses = 7;
    // Per copy: rapid 1207 pulses, cut 10452 pulses, 2 plunges; the sums
    // run on over both copies: rapid 2414, cut 20904, 4 plunges.
    // 4 / 4 x 2 + 20904 / 200 / 10 + 2414 / 200 / 50 = 12.69 s.
    EXPECT_EQ(Estimate(0), Report("116.59", 12));
    EXPECT_FLOAT_EQ(AddRapidLength("T1ISO", 0.0f), 2414.0f);
    EXPECT_FLOAT_EQ(AddCutLength("T1ISO", 0.0f), 20904.0f);
    EXPECT_EQ(AddPlungeCount("T1ISO", 0), 4);
    // The estimate leaves the machine settings as they were.
    EXPECT_EQ(g_PlungeOffsetPulses, 7);
}

TEST_F(TimeEstimateTest, ResumeSkipsTheMachinedSegmentsOfTheWalk)
{
    struct Case {
        int resume;
        std::vector<std::string> report;
    } cases[] = {
        // The first copy's five segments (the disabled one counts): the
        // second copy alone, 2 / 4 x 2 + 10452 / 2000 + 1207 / 10000 s.
        {5, Report("58.295", 6)},
        // Past every segment: nothing measured.
        {10, Report("0", 0)},
        {1000, Report("0", 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Estimate(c.resume), c.report) << c.resume;
}

TEST_F(TimeEstimateTest, AResumeAtSegment57MeasuresFromThere)
{
    // Sixty strokes of 100 mil, 100 mil apart, on one copy: resuming at
    // the 57th passes over the first 56. Measured: the rapid from the
    // copy's centre to the 57th (11200 mil) and three of 100 mil, four
    // strokes of 500 + 133.3 pulses, four plunges:
    // 2 + 2532 / 2000 + 57500 / 10000 = 9.02 s.
    m_Layers.clear();
    CPathRecord& t1 = Layer("T1ISO", 0);
    for (int i = 0; i < 60; ++i)
        AddSegment(t1, 0, i * 200, 0, i * 200 + 100, 0);
    m_Blocks.resize(1);
    EXPECT_EQ(Estimate(56), Report("300.16", 9));
    EXPECT_EQ(AddPlungeCount("T1ISO", 0), 4);
}

TEST_F(TimeEstimateTest, NoCopiesWriteNothingAndSpeedsOfZeroCostNoTime)
{
    m_Blocks.clear();
    EXPECT_TRUE(Estimate(0).empty());

    m_Blocks.push_back(std::make_unique<CLayoutBlock>(-100, -100, 100, 100));
    g_PlungeSpeed = 0.0f;
    g_EngraveSpeed = 0.0f;
    g_RapidSpeed = 0.0f;
    std::vector<std::string> report = Estimate(0);
    ASSERT_EQ(report.size(), 12u);
    EXPECT_EQ(report[1], TimeLine(0, 0, 0));
    EXPECT_EQ(report.back(), TimeLine(0, 0, 0));
}

TEST(MachiningReportSums, ResetAddAndExactNames)
{
    EXPECT_FLOAT_EQ(AddCutLength("T1ISO", 2.5f), 2.5f);
    EXPECT_FLOAT_EQ(AddCutLength("T1ISO", 1.0f), 3.5f);
    EXPECT_FLOAT_EQ(AddCutLength("t1iso", 1.0f), 1.0f);
    EXPECT_EQ(AddPlungeCount("T1ISO", 3), 3);
    // A reset of one table leaves the others.
    EXPECT_FLOAT_EQ(AddCutLength("Reset", 9.0f), 0.0f);
    EXPECT_FLOAT_EQ(AddCutLength("T1ISO", 0.0f), 0.0f);
    EXPECT_EQ(AddPlungeCount("T1ISO", 0), 3);
    // A name never given reads 0 mm and no time.
    g_XYPulsesPerMM = 200.0f;
    EXPECT_EQ(WriteToolTimeSummary("T3MIL"), 0);
    EXPECT_EQ(g_ReportDlg.m_ReportText.GetLineText(0), "T3MIL : 0 mm");
    // The table keeps 255 names; one more is given back but not kept.
    AddRapidLength("Reset", 0.0f);
    for (int i = 0; i < 300; ++i)
        AddRapidLength("n" + std::to_string(i), 1.0f);
    EXPECT_FLOAT_EQ(AddRapidLength("n254", 1.0f), 2.0f);
    EXPECT_FLOAT_EQ(AddRapidLength("n299", 1.0f), 1.0f);
}

}  // namespace
