// The working file and the laser file: the exact bytes of a small job and of
// an empty one, hidden layers left out, long names cut, and the commands'
// dialogs.
#include "doc_fixture.h"

#include "geometry/board_orientation.h"
#include "platform/paths.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"

#include <filesystem>

namespace {

class ExportFiles : public DocumentTest {
protected:
    void SmallJob()
    {
        g_XYPulsesPerMM = 200.0f;
        g_PulsesPerMil = 5.0f;
        g_CurrentSide = 1;
        g_BoardMinX = g_BoardMinY = 0;
        g_BoardMaxX = 1000;
        g_BoardMaxY = 500;
        doc->m_PanelLayout.m_BlockList.push_back(std::make_unique<CLayoutBlock>(0, 0, 1000, 500));
        auto tool = std::make_unique<CDrillTool>();
        tool->toolNumber = 3;
        tool->diameter = 31.5f;
        tool->holes.push_back(std::make_unique<CDPoint>(100.0, 200.0));
        g_HoleList.push_back(std::move(tool));
        CPathRecord* iso = AddLayer("T1ISO", 0);
        iso->size = 8.0f;
        iso->side = 1;
        auto arc = std::make_unique<CPathSegment>();
        arc->x2 = 20.0;
        arc->cx = 10.0;
        arc->radius = 10.0;
        arc->type = 1;
        iso->items.push_back(std::move(arc));
        AddLayer("T2MIL", 3);
        g_ShowLayerT2Mil = 0;
    }

    std::string OutPath(const std::string& name) const { return JoinPath(TestDir(), name); }
};

TEST_F(ExportFiles, SmallJobMatchesItsHandCheckedBytes)
{
    SmallJob();
    ASSERT_EQ(doc->WriteKxqFile(OutPath("job.kxq")), 1);
    const auto expected = Fixture("kxq_small_job.hex");
    EXPECT_EQ(FileBytes(OutPath("job.kxq")), expected);

    // The laser file is the visible layers alone: the last 50 bytes.
    ASSERT_EQ(doc->WriteLaserFile(OutPath("job.las")), 1);
    EXPECT_EQ(FileBytes(OutPath("job.las")),
              std::vector<std::uint8_t>(expected.end() - 50, expected.end()));
}

TEST_F(ExportFiles, EmptyJobAndHiddenLayers)
{
    ASSERT_EQ(doc->WriteKxqFile(OutPath("empty.kxq")), 1);
    EXPECT_EQ(FileBytes(OutPath("empty.kxq")).size(), 56u);

    // Hidden layers are neither counted nor written.
    AddLayer("T1ISO", 2);
    AddLayer("ROUTE1.5", 1);
    g_ShowLayerT1Iso = 0;
    g_ShowLayerRoute = 0;
    ASSERT_EQ(doc->WriteKxqFile(OutPath("hidden.kxq")), 1);
    const auto hidden = FileBytes(OutPath("hidden.kxq"));
    ASSERT_EQ(hidden.size(), 56u);
    EXPECT_EQ(hidden[52], 0);
    ASSERT_EQ(doc->WriteLaserFile(OutPath("hidden.las")), 1);
    EXPECT_TRUE(FileBytes(OutPath("hidden.las")).empty());
}

TEST_F(ExportFiles, LongNamesKeepTheirFirstTenBytes)
{
    AddLayer("ROUTE12.3456", 0);
    ASSERT_EQ(doc->WriteLaserFile(OutPath("long.las")), 1);
    const auto bytes = FileBytes(OutPath("long.las"));
    ASSERT_EQ(bytes.size(), 20u);
    EXPECT_EQ(std::string(bytes.begin() + 4, bytes.begin() + 14), "ROUTE12.34");
}

TEST_F(ExportFiles, CommandsNameTheFileAndTellFailures)
{
    // Without a tool path to export (none, then only an empty layer) the
    // commands say so and ask for no file.
    AddLayer("T3MIL", 0);
    for (unsigned command : {ID_EXPORT_KXQ, ID_EXPORT_LASER, ID_EXPORT_KXQ}) {
        const std::size_t boxes = TestHost().Boxes().size();
        doc->OnCmdMsg(command);
        ASSERT_EQ(TestHost().Boxes().size(), boxes + 1);
        EXPECT_EQ(TestHost().Boxes().back().text, LoadResString(IDS_NOTHING_TO_EXPORT));
    }
    EXPECT_TRUE(TestHost().FileRequests().empty());
    const std::size_t boxes = TestHost().Boxes().size();

    SmallJob();
    TestHost().QueueFileChoice({OutPath("typed")});
    doc->OnCmdMsg(ID_EXPORT_KXQ);
    EXPECT_TRUE(std::filesystem::exists(OutPath("typed.kxq")));

    TestHost().QueueFileChoice({OutPath("laser")});
    doc->OnCmdMsg(ID_EXPORT_LASER);
    EXPECT_TRUE(std::filesystem::exists(OutPath("laser.las")));

    // A cancel is not a failure.
    TestHost().QueueFileCancel();
    doc->OnCmdMsg(ID_EXPORT_KXQ);
    EXPECT_EQ(TestHost().Boxes().size(), boxes);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_CANCELLED));

    TestHost().QueueFileChoice({OutPath("no/such/dir/x.las")});
    doc->OnCmdMsg(ID_EXPORT_LASER);
    ASSERT_EQ(TestHost().Boxes().size(), boxes + 1);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_FILE_WRITE_ERROR));
}

}  // namespace
