// Project files: a byte-identical round trip of a filled job, projects of
// older versions built here field by field, files that must be refused with
// the open job left as it was, and save failures that must be told.
#include "doc_fixture.h"

#include "document/project_file.h"
#include "link/link_state.h"
#include "machining/plane_data.h"
#include "platform/file_messages.h"
#include "platform/paths.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/gerber_format_dlg.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/registry.h"
#include "settings/vision_targets.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "ui/edit_wnd.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class ProjectFile : public DocumentTest {
protected:
    // A job with something in every block.
    void FillJob()
    {
        doc->m_DataExtent = {1, 2, 3000, 2000};
        g_BoardMinX = -100;
        g_BoardMinY = -50;
        g_BoardMaxX = 3100;
        g_BoardMaxY = 2100;
        g_SolderGerberFile = "/boards/b.gbr";
        g_ComponentGerberFile = "/boards/f.gbr";
        g_DrillFile = "/boards/pth.drl";
        g_CadDialect = "PROTEL";
        g_HasComponentSide = g_HasSolderSide = 1;
        g_WorkOrderSpare2 = 7;
        g_GerberUnitFactor = 10.0f;
        g_CurrentSide = 1;
        g_DataOriginX = 1234;
        g_DataOriginY = -5;

        auto aperture = std::make_unique<CApertureRecord>();
        aperture->dCode = "D10";
        aperture->shape = "ROUND";
        aperture->width = aperture->height = 12.5f;
        aperture->userValue = 1.0f;
        aperture->comment = ";User Define";
        doc->m_ApertureList.push_back(std::move(aperture));

        auto& layout = doc->m_PanelLayout;
        layout.m_OutlinePoints.push_back(std::make_unique<POINT>(POINT{10, 20}));
        auto block = std::make_unique<CLayoutBlock>(0, 0, 3000, 2000);
        block->m_Centre = CDPoint(2000.5, 1500.25);
        block->m_Sign = {-1, 1};
        block->m_Swap = 1;
        block->m_Outline = &layout.m_OutlinePoints;
        layout.m_BlockList.push_back(std::move(block));

        g_MeasureDataWnd.Edit().WriteLine("M48");
        g_MeasureDataWnd.Edit().WriteLine(std::string(150, '1'));  // longer than any old buffer
        g_RouteDataWnd.Edit().WriteLine("G00X0Y0");
        g_HoleDataWnd.Edit().WriteLine("\x80T01");
        g_ToolSizes[0] = 1.0f;
        g_ToolSizes[99] = 99.0f;
        doc->m_WorkDataLoaded = 1;
        doc->m_WorkStage = 3;
        doc->m_LayoutDone = 1;
        doc->m_GridStep = 2;
        AddLayer("T1ISO", 2)->side = 1;
        AddLayer("ROUTE", 1)->side = 5;
        doc->m_ToolWidth2 = 11.0f;
        g_DrillFormatDlg.dUnitDec = 3;
        g_GerberFormatDlg.UnitInt = 3;
        g_PlaneDetectDlg.m_GridSpacing = 7;
        g_PlaneDetectDlg.m_Points = {CProbePoint{1200, 10, 20}, CProbePoint{1300, 2010, 20}};
        g_PlaneDetectDlg.m_AverageZ = 1250;
        doc->m_LayerName = "T1ISO;ROUTE;";
        g_ShowLayerT2Mil = 0;
        auto tool = std::make_unique<CDrillTool>();
        tool->diameter = 31.5f;
        tool->toolNumber = 3;
        tool->mode = 2;
        tool->holes.push_back(std::make_unique<CDPoint>(100.0, 200.0));
        g_HoleList.push_back(std::move(tool));
        auto route = std::make_unique<CNamedLayer>();
        route->name = "route";
        auto edge = std::make_unique<CTrackRecord>();
        edge->x2 = 3000.0f;
        edge->width = 5.0f;
        route->tracks.push_back(std::move(edge));
        doc->m_NamedLayerList.push_back(std::move(route));
        g_RouteSpeed = 3.5f;
        AddTrack(1, 0, 0, 10, 0);
        AddFlash(doc->m_FlashList, 5, 5, 3);
    }

    std::string ProjectPath(const std::string& name = "job.prj") const
    {
        return JoinPath(TestDir(), name);
    }

    // A loaded job the failed opens must not touch.
    void ExpectJobUntouched()
    {
        EXPECT_EQ(doc->m_ApertureList.size(), 1u);
        EXPECT_EQ(doc->m_PathLayerList.size(), 2u);
        EXPECT_EQ(g_HoleList.size(), 1u);
        EXPECT_EQ(g_SolderGerberFile, "/boards/b.gbr");
        EXPECT_EQ(g_DataOriginX, 1234);
    }
};

TEST_F(ProjectFile, SavedJobOpensAndSavesAgainByteIdentical)
{
    FillJob();
    ASSERT_EQ(doc->SaveProject(ProjectPath()), 1);
    const auto first = FileBytes(ProjectPath());
    EXPECT_EQ(g_ProjectFileName, ProjectPath());

    ResetProgramObjects();
    doc = std::make_unique<CVelmDoc>();
    ASSERT_EQ(doc->LoadProject(ProjectPath()), 1);
    ASSERT_EQ(doc->LoadTempFile("bot.tmp"), 1);

    EXPECT_EQ(g_SolderGerberFile, "/boards/b.gbr");
    EXPECT_EQ(g_CadDialect, "PROTEL");
    EXPECT_EQ(g_WorkOrderSpare2, 7);
    EXPECT_FLOAT_EQ(g_GerberUnitFactor, 10.0f);
    EXPECT_EQ(g_DataOriginY, -5);
    EXPECT_EQ(g_ProjectLoadedFlag, 1);
    EXPECT_EQ(g_BoardMaxX, 3100);
    EXPECT_FLOAT_EQ(g_ToolSizes[99], 99.0f);
    EXPECT_FLOAT_EQ(g_ToolSizes[0], 1.0f);
    ASSERT_EQ(doc->m_PanelLayout.m_BlockList.size(), 1u);
    const CLayoutBlock& block = *doc->m_PanelLayout.m_BlockList.front();
    EXPECT_EQ(block.m_Outline, &doc->m_PanelLayout.m_OutlinePoints);
    EXPECT_DOUBLE_EQ(block.m_Centre.y, 1500.25);
    EXPECT_EQ(block.m_Sign.x, -1);
    EXPECT_EQ(g_MeasureDataWnd.Edit().GetLineText(1), std::string(150, '1'));
    EXPECT_EQ(g_HoleDataWnd.Edit().GetLineText(0), "T01");
    EXPECT_EQ(doc->m_WorkStage, 3);
    EXPECT_EQ(g_ShowLayerT2Mil, 0);
    ASSERT_EQ(g_HoleList.size(), 1u);
    EXPECT_EQ(g_HoleList.front()->mode, 2);
    EXPECT_DOUBLE_EQ(g_HoleList.front()->holes.front()->y, 200.0);
    ASSERT_NE(doc->FindNamedLayer("route"), nullptr);
    EXPECT_EQ(doc->FindNamedLayer("route")->tracks.size(), 1u);
    EXPECT_FLOAT_EQ(g_RouteSpeed, 3.5f);
    EXPECT_EQ(g_PlaneDetectDlg.m_GridSpacing, 7);
    ASSERT_EQ(g_PlaneDetectDlg.m_Points.size(), 2u);
    EXPECT_EQ(g_PlaneDetectDlg.m_Points[1].z, 1300);
    EXPECT_EQ(g_PlaneDetectDlg.m_AverageZ, 1250);
    EXPECT_EQ(doc->m_TrackList.size(), 1u);

    // The one value a read changes: the project-loaded flag at 876.
    ASSERT_EQ(doc->SaveProject(ProjectPath()), 1);
    auto again = FileBytes(ProjectPath());
    ASSERT_EQ(again.size(), first.size());
    EXPECT_EQ(again[876], 1);
    again[876] = 0;
    EXPECT_EQ(again, first);
}

TEST_F(ProjectFile, JobWithoutRouteLayerGetsAnEmptyOneAndKeepsMachineValues)
{
    g_LiftSpeed = 7.25f;
    ASSERT_EQ(doc->SaveProject(ProjectPath()), 1);
    g_LiftSpeed = 1.0f;
    ASSERT_EQ(doc->LoadProject(ProjectPath()), 1);
    ASSERT_EQ(doc->m_NamedLayerList.size(), 1u);
    EXPECT_EQ(doc->m_NamedLayerList.front()->name, "");
    EXPECT_TRUE(doc->m_NamedLayerList.front()->tracks.empty());
    EXPECT_FLOAT_EQ(g_LiftSpeed, 7.25f);
}

// Projects of older versions, built field by field as those versions wrote
// them.
class OldProject {
public:
    explicit OldProject(int version) : m_Version(version) {}

    std::vector<std::uint8_t> Bytes() const
    {
        CBinaryWriter out;
        out.I32(m_Version);
        for (int v : {0, 0, 500, 400, 0, 0, 600, 500})
            out.I32(v);
        out.FixedText("old.prj", 100);
        for (const char* text : {"b.gbr", "f.gbr", "", "", "old.drl", "", "PADS"})
            out.FixedText(text, 100);
        for (int i = 0; i < 19; ++i) {
            if (i == 14)
                out.F32(1.0f);
            else
                out.I32(i == 15 ? 0 : 0);  // component side
        }
        out.I32(0);                         // apertures
        out.I32(0);                         // outline points
        out.I32(1);                         // one layout block
        if (m_Version >= 43) {
            out.U32(1);
            out.U32(0xDEADBEEF);
            for (double v : {250.0, 200.0, 240.0, 190.0})
                out.F64(v);
            for (int v : {0, 0, 500, 400, -1, 1, 1})
                out.I32(v);
            out.Zeros(4);
        } else {
            for (int v : {1, 0x1234, 250, 200, 240, 190, 0, 0, 500, 400, -1, 1, 1})
                out.I32(v);
        }
        Embed(out, m_DrillText);
        for (int i = 99; i >= 0; --i)
            out.F32(static_cast<float>(i));
        Embed(out, m_RouteText);
        out.I32(1);
        out.U8(2);
        out.U8(1);
        out.I32(4);
        Embed(out, "");                     // top.tmp
        Embed(out, "");                     // bot.tmp
        out.I32(0);                         // path layers
        for (int i = 0; i < 6; ++i)
            out.F32(10.0f + static_cast<float>(i));
        if (m_Version >= 34) {
            for (int i = 0; i < 10; ++i)
                out.I32(i % 3);
            Embed(out, "");                 // pdrill.tmp
            Embed(out, "");                 // plane data
            out.FixedText("T1ISO;", 200);
        }
        if (m_Version >= 35)
            for (int v : {0, 1, 1, 1, 1})
                out.I32(v);
        if (m_Version >= 36) {
            out.I32(1);
            out.I32(2);
            for (double v : {10.0, 20.0, 30.0, 40.0})
                out.F64(v);
            out.F32(35.0f);
            out.I32(7);
            if (m_Version >= 44)
                out.I32(3);
            out.FixedText("route", 40);
            out.I32(0);
            out.I32(0);
        }
        return out.Data();
    }

    std::string m_DrillText = "M48\nT01C0.0350\n%\nT01\nX001000Y002000\nM30\n";
    std::string m_RouteText = "%\nG00X000000Y000000\nG01X010000Y000000\nG02X020000Y000000I00500J000000\nM30\n";

private:
    static void Embed(CBinaryWriter& out, const std::string& text)
    {
        out.I32(static_cast<std::int32_t>(text.size()));
        out.Bytes(text.data(), text.size());
    }

    int m_Version;
};

TEST_F(ProjectFile, OlderVersionsReadWithTheirConversions)
{
    struct Case {
        int version;
        bool oldBlocks;
        bool routeRebuilt;
        int toolMode;         // 0: tools come from the drill text
    } const cases[] = {
        {35, true, true, 0},
        {36, true, false, 1},
        {42, true, false, 1},
        {44, false, false, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        ResetProgramObjects();
        doc = std::make_unique<CVelmDoc>();
        PutFile(ProjectPath(), OldProject(c.version).Bytes());
        ASSERT_EQ(doc->LoadProject(ProjectPath()), 1);

        ASSERT_EQ(doc->m_PanelLayout.m_BlockList.size(), 1u);
        const CLayoutBlock& block = *doc->m_PanelLayout.m_BlockList.front();
        EXPECT_EQ(block.m_Swap, 1u);
        EXPECT_DOUBLE_EQ(block.m_Centre.x, 250.0);
        EXPECT_DOUBLE_EQ(block.m_RefCentre.y, 190.0);
        EXPECT_EQ(block.m_Extent.right, 500);
        EXPECT_EQ(block.m_Sign.x, -1);
        EXPECT_EQ(block.m_Selected, 1u);
        EXPECT_FLOAT_EQ(g_ToolSizes[99], 99.0f);
        EXPECT_FLOAT_EQ(g_ToolSizes[5], 5.0f);
        EXPECT_EQ(doc->m_WorkStage, 2);
        EXPECT_FLOAT_EQ(doc->m_ToolValue3, 15.0f);
        EXPECT_EQ(g_DrillFormatDlg.dUnitInt, 1);
        EXPECT_EQ(g_ShowLayerT1Iso, 0);
        EXPECT_EQ(doc->m_LayerName, c.routeRebuilt ? "T1ISO;ROUTE1.5;" : "T1ISO;");

        // The tools come once: from the drill text before 36, else from
        // their block.
        ASSERT_EQ(g_HoleList.size(), 1u);
        if (c.toolMode == 0) {
            EXPECT_EQ(g_HoleList.front()->toolNumber, 1);
        } else {
            EXPECT_EQ(g_HoleList.front()->toolNumber, 7);
            EXPECT_EQ(g_HoleList.front()->mode, c.toolMode);
            EXPECT_EQ(g_HoleList.front()->holes.size(), 2u);
        }
        ASSERT_EQ(doc->m_NamedLayerList.size(), 1u);
        EXPECT_EQ(doc->m_NamedLayerList.front()->name, c.version >= 36 ? "route" : "");

        const CPathRecord* route = nullptr;
        for (const auto& layer : doc->m_PathLayerList)
            if (layer->name == "ROUTE1.5")
                route = layer.get();
        ASSERT_EQ(route != nullptr, c.routeRebuilt);
        if (route) {
            EXPECT_NEAR(route->size, 59.055f, 1e-3);
            EXPECT_EQ(route->side, 5);
            ASSERT_EQ(route->items.size(), 2u);
            EXPECT_EQ(route->items[0]->type, 0);
            EXPECT_EQ(route->items[1]->type, 1);
            EXPECT_NEAR(route->items[1]->radius, std::hypot(route->items[1]->cx - route->items[1]->x1,
                                                            route->items[1]->cy - route->items[1]->y1),
                        1e-6);
        }
    }
}

TEST_F(ProjectFile, BadFilesAreRefusedAndTheOpenJobStays)
{
    FillJob();
    ASSERT_EQ(doc->SaveProject(ProjectPath("good.prj")), 1);
    const auto good = FileBytes(ProjectPath("good.prj"));

    auto withVersion = [&](int version) {
        auto bytes = good;
        bytes[0] = static_cast<std::uint8_t>(version);
        return bytes;
    };
    // An embedded length beyond the end: the drill text's length field
    // follows the fixed head and three empty-or-small lists.
    auto hugeEmbedded = good;
    const std::size_t drillLength = 912 + 4 + 72 + 4 + 8 + 4 + 72;
    hugeEmbedded[drillLength + 3] = 0x7F;

    // One flipped bit in the track count of the first embedded side file
    // (found by its magic number 1000 behind its length): the section no
    // longer reads whole.
    auto flippedSide = good;
    for (std::size_t i = 4; i + 8 < good.size(); ++i)
        if (good[i] == 0xE8 && good[i + 1] == 0x03 && good[i + 2] == 0 && good[i + 3] == 0) {
            flippedSide[i + 4] ^= 0x01;
            break;
        }
    ASSERT_NE(flippedSide, good);
    // Values the program never writes: a side flag of 7 in the work order
    // (behind the version, the extents and the eight texts), the first
    // track's start no number, a hole far past any board.
    auto badFlag = good;
    badFlag[4 + 32 + 800] = 7;
    auto nanTrack = flippedSide;
    for (std::size_t i = 4; i + 20 < good.size(); ++i)
        if (good[i] == 0xE8 && good[i + 1] == 0x03 && good[i + 2] == 0 && good[i + 3] == 0) {
            nanTrack = good;
            for (std::size_t k = 0; k < 4; ++k)
                nanTrack[i + 4 + 4 + 8 + k] = k == 3 ? 0x7F : 0xFF;
            break;
        }
    auto farHole = good;
    {
        // The hole (100, 200) as two doubles: its x made 1e300.
        std::uint8_t x[8], far[8];
        const double hundred = 100.0, huge = 1e300;
        std::memcpy(x, &hundred, 8);
        std::memcpy(far, &huge, 8);
        auto at = std::search(farHole.begin(), farHole.end(), std::begin(x), std::end(x));
        ASSERT_NE(at, farHole.end());
        std::copy(std::begin(far), std::end(far), at);
    }

    const struct {
        const char* name;
        std::vector<std::uint8_t> bytes;
        unsigned message;
    } cases[] = {
        {"a side that does not read whole", flippedSide, IDS_PROJECT_DAMAGED},
        {"a flag that is neither 0 nor 1", badFlag, IDS_PROJECT_DAMAGED},
        {"a track's end that is no number", nanTrack, IDS_PROJECT_DAMAGED},
        {"a hole past any board", farHole, IDS_PROJECT_DAMAGED},
        {"cut in the head", {good.begin(), good.begin() + 500}, IDS_PROJECT_DAMAGED},
        {"cut in the embedded sides", {good.begin(), good.begin() + good.size() / 2},
         IDS_PROJECT_DAMAGED},
        {"cut before the machine values", {good.begin(), good.end() - 4}, IDS_PROJECT_DAMAGED},
        {"embedded length too long", hugeEmbedded, IDS_PROJECT_DAMAGED},
        {"newer version", withVersion(47), IDS_PROJECT_TOO_NEW},
        {"older than 18", withVersion(17), IDS_NOT_A_PROJECT},
        // Text given as a project: its first word is no version of any.
        {"a Gerber file", {'%', 'F', 'S', 'L', 'A', 'X', '2', '4', '*', '%'}, IDS_NOT_A_PROJECT},
        {"too short for a version", {46, 0}, IDS_NOT_A_PROJECT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PutFile(ProjectPath("bad.prj"), c.bytes);
        const std::size_t boxes = TestHost().Boxes().size();
        EXPECT_EQ(doc->LoadProject(ProjectPath("bad.prj")), 0);
        ASSERT_EQ(TestHost().Boxes().size(), boxes + 1);
        std::string expected = LoadResString(c.message);
        expected.replace(expected.find("%s"), 2, ProjectPath("bad.prj"));
        if (expected.find("%d") != std::string::npos)
            expected.replace(expected.find("%d"), 2, "47");
        EXPECT_EQ(TestHost().Boxes().back().text, expected);
        ExpectJobUntouched();
        EXPECT_EQ(g_Calculating, 0);
    }
    // A file that cannot be opened is named, with what is wrong in words.
    std::filesystem::create_directory(ProjectPath("folder.prj"));
    const struct {
        const char* name;
        const char* reason;
    } unopened[] = {
        {"missing.prj", "there is no such file"},
        {"folder.prj", "it is a folder, not a file"},
    };
    for (const auto& c : unopened) {
        EXPECT_EQ(doc->LoadProject(ProjectPath(c.name)), 0);
        EXPECT_EQ(TestHost().Boxes().back().text,
                  std::string("Can't open project file !\n") + ProjectPath(c.name) + ": " + c.reason);
        ExpectJobUntouched();
    }
    // Bytes of a name that are no text are shown escaped.
    EXPECT_EQ(doc->LoadProject(ProjectPath("bad\x01\xFF.prj")), 0);
    EXPECT_NE(TestHost().Boxes().back().text.find("bad\\x01\\xFF.prj"), std::string::npos)
        << TestHost().Boxes().back().text;
}

TEST_F(ProjectFile, SaveFailuresAreToldAndLeaveTheOldFile)
{
    FillJob();
    const std::string path = ProjectPath();
    ASSERT_EQ(doc->SaveProject(path), 1);
    const auto before = FileBytes(path);

    EXPECT_EQ(doc->SaveProject(JoinPath(TestDir(), "no/such/dir/job.prj")), 0);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_FILE_WRITE_ERROR));
    ASSERT_FALSE(TestHost().Boxes().empty());
    EXPECT_NE(TestHost().Boxes().back().text.find(LoadResString(IDS_FILE_WRITE_ERROR)),
              std::string::npos);
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(g_Calculating, 0);
}

TEST_F(ProjectFile, AReadOnlyProjectIsNotReplacedAndAnOwnerIsKept)
{
    namespace fs = std::filesystem;
    FillJob();
    const std::string path = ProjectPath();
    ASSERT_EQ(doc->SaveProject(path), 1);
    const auto before = FileBytes(path);
    g_RouteSpeed = 9.0f;

    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(doc->SaveProject(path), 0);
    EXPECT_EQ(TestHost().Boxes().back().text, WithName(IDS_PROJECT_READ_ONLY, path));
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    // A file another user owns, saved over where the system permits it,
    // stays theirs and keeps its mode.
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
        ASSERT_EQ(doc->SaveProject(path), 1);
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4322u);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        EXPECT_NE(FileBytes(path), before);
    }
}

TEST_F(ProjectFile, OverlongFieldsAreReported)
{
    g_DrillFile = "/" + std::string(120, 'd');
    ASSERT_EQ(doc->SaveProject(ProjectPath()), 1);
    ASSERT_FALSE(TestHost().Boxes().empty());
    EXPECT_NE(TestHost().Boxes().back().text.find("drill"), std::string::npos);
    ASSERT_EQ(doc->LoadProject(ProjectPath()), 1);
    EXPECT_EQ(g_DrillFile.size(), 99u);
}

// The name field holds ten bytes: drawing layers with longer names that
// share their first ten letters must still read back as separate layers.
TEST_F(ProjectFile, LongLayerNamesReadBackApart)
{
    for (const char* name : {"OUTLINE_TOP_LAYER", "OUTLINE_TOP_BOTTOM", "OUTLINE_~1", "T1ISO"})
        ASSERT_NE(doc->AddPathLayer(name, 1.0f, 0.0f, 5, 0), nullptr);
    ASSERT_EQ(doc->SaveProject(ProjectPath()), 1);
    ResetProgramObjects();
    doc = std::make_unique<CVelmDoc>();
    ASSERT_EQ(doc->LoadProject(ProjectPath()), 1);
    std::vector<std::string> names;
    for (const auto& layer : doc->m_PathLayerList)
        names.push_back(layer->name);
    // New layers go first; a cut name steps past one a layer already has.
    EXPECT_EQ(names, (std::vector<std::string>{"T1ISO", "OUTLINE_~1", "OUTLINE_~2", "OUTLINE_~3"}));
}

TEST_F(ProjectFile, CommandsFollowTheDialogs)
{
    FillJob();
    TestHost().QueueFileCancel();
    doc->OnCmdMsg(ID_FILE_SAVE);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_SAVE_FAILED));

    TestHost().QueueFileChoice({ProjectPath("typed")});
    doc->OnCmdMsg(ID_FILE_SAVE);
    EXPECT_TRUE(std::filesystem::exists(ProjectPath("typed.prj")));
    // The caption names the project saved.
    EXPECT_EQ(doc->GetTitle(), ProjectPath("typed.prj"));

    TestHost().QueueFileCancel();
    doc->OnCmdMsg(ID_FILE_OPEN_PROJECT);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_READ_FAILED));
    ExpectJobUntouched();

    ResetProgramObjects();
    doc = std::make_unique<CVelmDoc>();
    int zooms = 0;
    doc->m_ViewHooks.zoomToFit = [&] { ++zooms; };
    TestHost().QueueFileChoice({ProjectPath("typed.prj")});
    doc->OnCmdMsg(ID_FILE_OPEN_PROJECT);
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(g_CurrentSide, 1);
    EXPECT_EQ(g_CopperColor, SOLDER_COPPER_COLOR);
    EXPECT_EQ(doc->m_TrackList.size(), 1u);
    EXPECT_EQ(g_ProjectFileName, ProjectPath("typed.prj"));
    // The caption names the project opened.
    EXPECT_EQ(doc->GetTitle(), ProjectPath("typed.prj"));
}

TEST_F(ProjectFile, RunningJobsSaveTheirProjectInTheSystemDirectory)
{
    ASSERT_TRUE(SetCurrentDirectory("/"));
    ASSERT_EQ(doc->SaveProject("temp.prj"), 1);
    EXPECT_TRUE(std::filesystem::exists(SystemFile("temp.prj")));
    EXPECT_EQ(g_ProjectFileName, SystemFile("temp.prj"));
    // File/Save then starts where the operator last chose a file, not at
    // that resume project; after a save of the operator's it starts there.
    TestHost().QueueFileChoice({ProjectPath("mine.prj")});
    doc->OnCmdMsg(ID_FILE_SAVE);
    TestHost().QueueFileCancel();
    doc->OnCmdMsg(ID_FILE_SAVE);
    ASSERT_EQ(TestHost().FileRequests().size(), 2u);
    EXPECT_EQ(TestHost().FileRequests()[0].initialPath, "");
    EXPECT_EQ(TestHost().FileRequests()[1].initialPath, ProjectPath("mine.prj"));
}

TEST_F(ProjectFile, OpenIgnoredWhileAJobRuns)
{
    g_JobCode = 3;
    doc->OnCmdMsg(ID_FILE_OPEN_PROJECT);
    doc->OnCmdMsg(ID_FILE_SAVE);
    EXPECT_TRUE(TestHost().FileRequests().empty());
}

}  // namespace
