// The plane-data file: its bytes as written, a round trip, the average
// worked out again on loading, a short last record, and files that are no
// plane data (missing, too short, a spacing below 1 mm) refused without
// touching the surface in memory; the probing window's Save, Load and OK.
#include "machining/plane_data.h"

#include "link/working_depth.h"
#include "platform/binary_io.h"
#include "platform/paths.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/system_settings_dlg.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Words(std::initializer_list<std::int32_t> values)
{
    CBinaryWriter out;
    for (std::int32_t v : values)
        out.I32(v);
    return out.Data();
}

std::string Told(unsigned id, const std::string& path)
{
    char text[1024];
    std::snprintf(text, sizeof text, LoadResString(id).c_str(), path.c_str());
    return text;
}

class PlaneDataTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_SystemDir = TestDir();
        m_Path = JoinPath(TestDir(), "board.pos");
    }
    // A surface of two points over a known extent.
    static void Surface()
    {
        CPlaneDetectDlg& dlg = g_PlaneDetectDlg;
        dlg.m_GridSpacing = 5;
        dlg.m_AverageZ = 999;  // stale: loading works it out again
        g_LayoutExtent = RECT{10, 20, 2010, 1020};
        dlg.m_GridStartX = 10;
        dlg.m_GridStartY = 20;
        dlg.m_Points = {CProbePoint{1000, 10, 20}, CProbePoint{1101, 2010, 20}};
    }
    static Bytes FileBytes(const std::string& path)
    {
        Bytes bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes));
        return bytes;
    }
    std::string m_Path;
};

TEST_F(PlaneDataTest, TheFileByteForByteAndBackAgain)
{
    Surface();
    ASSERT_EQ(g_PlaneDetectDlg.SavePlaneData(m_Path), 1);
    const Bytes expected = Words({5, 999, 10, 20, 2010, 1020, 10, 20,  // spacing .. start
                                  1000, 10, 20, 1101, 2010, 20});       // Z, X, Y a point
    EXPECT_EQ(FileBytes(m_Path), expected);

    // A short record at the end is dropped; the average is the points'
    // truncated mean, whatever the file says.
    Bytes withTail = expected;
    withTail.insert(withTail.end(), {7, 0, 0});
    ASSERT_TRUE(WriteFileAtomically(m_Path, withTail));
    g_PlaneDetectDlg = CPlaneDetectDlg();
    g_LayoutExtent = RECT{0, 0, 0, 0};
    ASSERT_EQ(g_PlaneDetectDlg.LoadPlaneData(m_Path), 1);
    EXPECT_EQ(g_PlaneDetectDlg.m_Valid, 1);
    EXPECT_EQ(g_PlaneDetectDlg.m_AverageZ, 1050);
    EXPECT_EQ(g_LayoutExtent.right, 2010);
    EXPECT_EQ(g_PlaneDetectDlg.m_ResultText.GetLineText(1), "[X2010Y20Z1101]");
    // Loading leaves the probed rectangle to the run and the project.
    EXPECT_EQ(g_PlaneDetectDlg.m_AreaRect.right, RECT().right);

    // Saved again: the same bytes but the average worked out.
    const std::string again = JoinPath(TestDir(), "again.pos");
    ASSERT_EQ(g_PlaneDetectDlg.SavePlaneData(again), 1);
    Bytes expectedAgain = expected;
    expectedAgain[4] = 1050 & 0xFF;
    expectedAgain[5] = 1050 >> 8;
    EXPECT_EQ(FileBytes(again), expectedAgain);

    // A file of no points keeps the average it holds.
    ASSERT_TRUE(WriteFileAtomically(m_Path, Words({5, 777, 0, 0, 100, 100, 0, 0})));
    ASSERT_EQ(g_PlaneDetectDlg.LoadPlaneData(m_Path), 1);
    EXPECT_TRUE(g_PlaneDetectDlg.m_Points.empty());
    EXPECT_EQ(g_PlaneDetectDlg.m_AverageZ, 777);
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST_F(PlaneDataTest, WhatIsNoPlaneDataChangesNothing)
{
    struct Case {
        const char* what;
        Bytes bytes;      // empty: no file at all
        unsigned message;
    } cases[] = {
        {"missing", {}, IDS_PLANE_FILE_NOT_READ},
        {"too short", Words({5, 999, 10, 20, 2010, 1020, 10}), IDS_PLANE_FILE_BAD},
        {"spacing 0", Words({0, 999, 10, 20, 2010, 1020, 10, 20, 1, 2, 3}), IDS_PLANE_FILE_BAD},
        {"spacing below 0", Words({-10, 999, 10, 20, 2010, 1020, 10, 20}), IDS_PLANE_FILE_BAD},
    };
    for (const Case& c : cases) {
        Surface();
        g_PlaneDetectDlg.m_Valid = 0;
        std::filesystem::remove(m_Path);
        if (!c.bytes.empty()) {
            ASSERT_TRUE(WriteFileAtomically(m_Path, c.bytes));
        }
        const std::size_t boxes = TestHost().Boxes().size();
        EXPECT_EQ(g_PlaneDetectDlg.LoadPlaneData(m_Path), 0) << c.what;
        ASSERT_EQ(TestHost().Boxes().size(), boxes + 1) << c.what;
        EXPECT_EQ(TestHost().Boxes().back().text, Told(c.message, m_Path)) << c.what;
        EXPECT_EQ(g_PlaneDetectDlg.m_Points.size(), 2u) << c.what;
        EXPECT_EQ(g_PlaneDetectDlg.m_GridSpacing, 5) << c.what;
        EXPECT_EQ(g_LayoutExtent.right, 2010) << c.what;
        EXPECT_EQ(g_PlaneDetectDlg.m_Valid, 0) << c.what;
    }
}

TEST_F(PlaneDataTest, LoadAndSaveButtonsAndOk)
{
    Surface();
    g_PlaneDetectDlg.m_Valid = 1;
    ASSERT_EQ(g_PlaneDetectDlg.CreateModeless(), 1);
    g_PlaneDetectDlg.ShowWindow(true);

    // Cancelled choosers say nothing of a failure on loading.
    TestHost().QueueFileCancel();
    g_PlaneDetectDlg.PressButton(IDC_PD_LOAD);
    EXPECT_TRUE(TestHost().BoxTexts().empty());
    EXPECT_TRUE(g_StatusText.empty());
    EXPECT_EQ(g_PlaneDetectDlg.m_Points.size(), 2u);

    TestHost().QueueFileChoice({m_Path});
    g_PlaneDetectDlg.PressButton(IDC_PD_SAVE);
    EXPECT_EQ(FileBytes(m_Path).size(), 32u + 2 * 12);
    EXPECT_EQ(TestHost().FileRequests().back().filter, "Plane Data|*.pos|All File|*.*|");

    // OK commits the surface only when "temp.pos" could be written: a
    // system directory that is a file makes the write fail, and the
    // failure is told with compensation left off.
    const std::string notADir = JoinPath(TestDir(), "plain-file");
    ASSERT_TRUE(WriteFileAtomically(notADir, Bytes{1}));
    g_SystemDir = notADir;
    g_PlaneDetectDlg.PressButton(IDOK);
    EXPECT_EQ(g_SurfaceCompensation, 0);
    EXPECT_EQ(TestHost().BoxTexts(),
              std::vector<std::string>{Told(IDS_PLANE_FILE_NOT_WRITTEN, JoinPath(notADir, "temp.pos"))});
    EXPECT_FALSE(g_PlaneDetectDlg.IsVisible());

    g_SystemDir = TestDir();
    g_PlaneDetectDlg.ShowWindow(true);
    g_PlaneDetectDlg.PressButton(IDOK);
    EXPECT_EQ(g_SurfaceCompensation, 1);
    EXPECT_EQ(g_PlaneDetectDlg.m_AreaRect.right, 2010);
    EXPECT_EQ(FileBytes(JoinPath(TestDir(), "temp.pos")), FileBytes(m_Path));
}

}  // namespace
