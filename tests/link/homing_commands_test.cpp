// The view's homing and manual-move commands: when their items are enabled,
// and Machine/Home against the simulated controller.
#include "link_fixture.h"

#include "machining/homing.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "ui/command_router.h"
#include "view/velm_view.h"

#include <memory>

namespace {

using Kind = CControllerSimulator::Kind;

class HomingCommandsTest : public LinkTest {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        doc = std::make_unique<CVelmDoc>();
        view = std::make_unique<CVelmView>(*doc);
    }
    void TearDown() override
    {
        view.reset();
        doc.reset();
        LinkTest::TearDown();
    }
    std::unique_ptr<CVelmDoc> doc;
    std::unique_ptr<CVelmView> view;
};

bool Enabled(unsigned id)
{
    CCmdUI ui(id);
    return CommandRouter().UpdateCommandUI(ui);
}

TEST_F(HomingCommandsTest, ItemsAreEnabledByPortJobStageAndStop)
{
    struct State {
        const char* name;
        int port, job, stage, abort;
        const char* model;
        // Home, tool-bar home, corner, move control, console, travel test.
        std::array<bool, 6> enabled;
    };
    const State states[] = {
        {"no port", -1, 0, 3, 0, "KX4100", {false, true, false, false, false, false}},
        {"connected, laid out", 0, 0, 3, 0, "KX4100", {true, true, true, true, true, true}},
        {"a job runs", 0, 2, 3, 0, "KX4100", {true, false, true, false, true, true}},
        {"editing, after STOP", 0, 0, 1, 1, "KX4100", {true, false, false, false, true, false}},
        {"the upload model", 0, 0, 3, 0, "TQ615", {true, true, true, false, true, true}},
    };
    const unsigned ids[] = {ID_MACHINE_HOME,  ID_HOME_RETURN,     ID_WORK_AREA_LOWER_LEFT,
                            ID_MACHINE_JOG,   ID_COMMAND_CONSOLE, ID_MACHINE_TRAVEL_TEST};
    for (const State& s : states) {
        SCOPED_TRACE(s.name);
        g_PortState = s.port;
        g_JobCode = s.job;
        doc->m_WorkStage = static_cast<std::uint8_t>(s.stage);
        g_AbortFlag = static_cast<unsigned char>(s.abort);
        g_MachineModel = s.model;
        for (std::size_t i = 0; i < std::size(ids); ++i)
            EXPECT_EQ(Enabled(ids[i]), s.enabled[i]) << ids[i];
    }
    // The other three corners follow the same rule.
    g_PortState = 0;
    g_JobCode = 0;
    g_AbortFlag = 0;
    doc->m_WorkStage = 3;
    for (unsigned id : {ID_WORK_AREA_UPPER_LEFT, ID_WORK_AREA_LOWER_RIGHT, ID_WORK_AREA_UPPER_RIGHT})
        EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(HomingCommandsTest, MachineHomeStopsAJobButTheCombinedOne)
{
    Connect(Kind::Ascii);
    for (auto [job, after] : {std::pair{2, 0}, {5, 5}}) {
        SCOPED_TRACE(job);
        g_JobCode = job;
        g_PositionLost = 0;
        m_Sim.SetPosition(0, 400);
        ASSERT_TRUE(CommandRouter().Dispatch(ID_MACHINE_HOME));
        EXPECT_EQ(g_JobCode, after);
        // The full homing ran: the position counted as lost, no quick return.
        EXPECT_TRUE(LogLines("33 MA").empty());
        EXPECT_EQ(m_Sim.GetState().position[0], 0);
        EXPECT_EQ(g_PositionLost, 0);
        g_MachineLink.IsReady();  // everything sent has been heard
        EXPECT_EQ(LogLines("00 EB").back(), "00 EB0");  // the drives off at the end
        m_Sim.ClearLog();
    }
}

// Straight from File/New the machining stage finds no panel copy: it puts
// the board on the table as the layout stage would, so the board shows and
// the jobs have a copy to machine. A layout that was made keeps its copies,
// none included.
TEST_F(HomingCommandsTest, TheMachiningStageStraightAfterFileNewPutsTheBoardOnTheTable)
{
    g_BoardMinX = 0;
    g_BoardMinY = 0;
    g_BoardMaxX = 400;
    g_BoardMaxY = 300;
    g_TableWidth = 10000;
    g_TableHeight = 8000;
    StartController(Kind::Ascii);
    doc->m_WorkStage = 1;
    view->OnStageMachining();
    EXPECT_EQ(doc->m_WorkStage, 5);
    ASSERT_EQ(view->m_BlockList.size(), 1u);
    EXPECT_EQ(view->m_BlockList.front()->m_Centre.x, 5000.0);
    EXPECT_EQ(view->m_BlockList.front()->m_Centre.y, 4000.0);
    EXPECT_EQ(doc->m_LayoutDone, 1);

    view->m_BlockList.clear();
    doc->m_WorkStage = 3;
    view->OnStageMachining();
    EXPECT_EQ(doc->m_WorkStage, 5);
    EXPECT_TRUE(view->m_BlockList.empty());
}

}  // namespace
