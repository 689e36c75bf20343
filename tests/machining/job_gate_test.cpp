// The job gate: which commands start, what they store for Continue, what
// Continue resumes, and the menu rules of the job commands.
#include "link/job_codes.h"
#include "link/link_state.h"
#include "machining/job_gate.h"
#include "machining/number_input_dlg.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "support/scripted_host.h"
#include "ui/cmd_ui.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A view stand-in that records the runners it is asked to run.
class CRecordingContext : public CJobContext {
public:
    bool ready = true;
    EWaitEnd waitEnd = EWaitEnd::Done;
    int probeAnswer = IDOK;
    int surfaceOk = 1;
    int resumeCount = 0;
    struct Run {
        int code;
        unsigned start;
        int resumeCount;
        int jobCode;
    };
    std::vector<Run> runs;

    bool IsReady() override { return ready; }
    EWaitEnd WaitReady() override { return waitEnd; }
    void RunRunner(int code, unsigned start) override
    {
        runs.push_back({code, start, resumeCount, g_JobCode});
    }
    int RunProbeTest() override
    {
        ++probeTests;
        return probeAnswer;
    }
    int SurfaceDataOk() override { return surfaceOk; }
    int& ResumeCount() override { return resumeCount; }
    int probeTests = 0;
};

std::string StoredWork()
{
    std::string work = "(none)";
    RegGetString("WORK", work);
    return work;
}

class JobGateTest : public ::testing::Test {
protected:
    void SetUp() override { g_PortState = 0; }
    CRecordingContext context;
};

// Every refusal leaves the job code, the stored name and the runners alone;
// in particular a command refused while a job runs does not overwrite that
// job's resume name.
TEST_F(JobGateTest, RefusedCommandsChangeNothing)
{
    struct Case {
        const char* why;
        int jobCode;
        bool ready;
        unsigned char abort;
    };
    const Case cases[] = {
        {"busy", JOB_ISOLATE, true, 0},
        {"aborted", 0, true, 1},
        {"not ready", 0, false, 0},
    };
    for (const Case& c : cases)
        for (unsigned id : {ID_MACHINE_DRILL, ID_MACHINE_MILL, ID_MACHINE_ENGRAVE,
                            ID_MACHINE_ENGRAVE_SELECTION, ID_MACHINE_ROUTE}) {
            SCOPED_TRACE(std::string(c.why) + " " + std::to_string(id));
            RegSetString("WORK", "ISOLATE");
            g_JobCode = c.jobCode;
            g_AbortFlag = c.abort;
            context.ready = c.ready;
            EXPECT_EQ(RunJobCommand(id, context), 0);
            EXPECT_EQ(g_JobCode, c.jobCode);
            EXPECT_EQ(StoredWork(), "ISOLATE");
            EXPECT_TRUE(context.runs.empty());
        }
}

// A passing command stores its name, claims its code for the runner with the
// runner's argument and gives the code back afterwards.
TEST_F(JobGateTest, PassingCommandsStoreTheirNameAndRunTheirRunner)
{
    struct Case {
        unsigned id;
        int code;
        unsigned start;
        const char* work;  // "(none)": the command stores nothing
    };
    const Case cases[] = {
        {ID_MACHINE_DRILL, JOB_DRILL, 1, "DRILL"},
        {ID_MACHINE_ISOLATE, JOB_ISOLATE, 0, "ISOLATE"},
        {ID_MACHINE_MILL, JOB_MILL, 0, "MILL"},
        {ID_MACHINE_ROUTE, JOB_ROUTE, 1, "(none)"},
        {ID_MACHINE_ENGRAVE, JOB_ENGRAVE, 0, "TP"},
        {ID_MACHINE_ENGRAVE_SELECTION, JOB_ENGRAVE_SELECTION, 0, "TPS"},
        {ID_MACHINE_DRILL_LOCATING_HOLES, JOB_DRILL_REG_HOLES, 1, "(none)"},
        {ID_PREVIEW_DRILLS, JOB_DRILL_PREVIEW, 1, "CHECKDRILL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        RegSetString("WORK", "(none)");
        context.runs.clear();
        context.resumeCount = 7;
        EXPECT_EQ(RunJobCommand(c.id, context), 1);
        ASSERT_EQ(context.runs.size(), 1u);
        EXPECT_EQ(context.runs[0].code, c.code);
        EXPECT_EQ(context.runs[0].jobCode, c.code);
        EXPECT_EQ(context.runs[0].start, c.start);
        EXPECT_EQ(StoredWork(), c.work);
        EXPECT_EQ(g_JobCode, 0);
        EXPECT_EQ(context.resumeCount, 0);
    }
}

TEST_F(JobGateTest, OutlineStartsFromItsFirstRecordAndOthersFromTheResumeCount)
{
    context.resumeCount = 40;
    RunJobCommand(ID_MACHINE_ROUTE, context);
    context.resumeCount = 40;
    RunJobCommand(ID_MACHINE_ENGRAVE, context);
    ASSERT_EQ(context.runs.size(), 2u);
    EXPECT_EQ(context.runs[0].resumeCount, 0);
    EXPECT_EQ(context.runs[1].resumeCount, 40);
}

// After the gate: a controller that never becomes ready, a declined probe
// test or a No to the surface question end the command with the code free.
TEST_F(JobGateTest, FailuresAfterTheGateGiveTheCodeBack)
{
    context.waitEnd = EWaitEnd::Deadline;
    EXPECT_EQ(RunJobCommand(ID_MACHINE_ISOLATE, context), 0);
    EXPECT_EQ(StoredWork(), "(none)");  // stored only after the wait

    context.waitEnd = EWaitEnd::Done;
    context.probeAnswer = IDCANCEL;
    EXPECT_EQ(RunJobCommand(ID_MACHINE_DRILL, context), 0);
    EXPECT_EQ(context.probeTests, 1);

    context.probeAnswer = IDOK;
    context.surfaceOk = 0;
    TestHost().QueueAnswer(IDNO);
    EXPECT_EQ(RunJobCommand(ID_MACHINE_ENGRAVE, context), 0);
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_EQ(TestHost().Boxes()[0].type & MB_TYPEMASK, MB_YESNO);

    EXPECT_EQ(g_JobCode, 0);
    EXPECT_TRUE(context.runs.empty());
}

TEST_F(JobGateTest, ProbeTestIsSkippedBySettingsAndForcedByRegistrationHoleJobs)
{
    g_SkipProbeTest = 1;
    RunJobCommand(ID_MACHINE_DRILL, context);
    EXPECT_EQ(context.probeTests, 0);
    // The registration-hole jobs clear the skip flag first.
    RunJobCommand(ID_MACHINE_DRILL_LOCATING_HOLES, context);
    EXPECT_EQ(context.probeTests, 1);
    EXPECT_EQ(g_SkipProbeTest, 0);
    g_FixedPlungeMode = 1;
    RunJobCommand(ID_MACHINE_ROUTE, context);
    EXPECT_EQ(context.probeTests, 1);
    g_FixedPlungeMode = 0;
    g_ModelSkipsProbeTest = 1;
    RunJobCommand(ID_MACHINE_ROUTE, context);
    EXPECT_EQ(context.probeTests, 1);
    EXPECT_EQ(context.runs.size(), 4u);
}

// The combined job starts after STOP (and clears it) but not while a job runs.
TEST_F(JobGateTest, CombinedJobStartsAfterStop)
{
    g_AbortFlag = 1;
    context.ready = false;
    EXPECT_EQ(RunJobCommand(ID_MACHINE_ISOLATE_MILL, context), 1);
    EXPECT_EQ(g_AbortFlag, 0);
    g_JobCode = JOB_DRILL;
    EXPECT_EQ(RunJobCommand(ID_MACHINE_ISOLATE_MILL, context), 0);
    EXPECT_EQ(context.runs.size(), 1u);
}

// The manual routines give their code back themselves.
TEST_F(JobGateTest, ManualCommandsLeaveTheCodeToTheirRoutine)
{
    EXPECT_EQ(RunJobCommand(ID_MANUAL_DRILL, context), 1);
    EXPECT_EQ(g_JobCode, JOB_MANUAL_DRILL);
}

// Continue: the stored name picks the command, the typed count goes back
// from the stored progress; Cancel, a non-number and a stored name that is
// not resumable start nothing, and the count never leaves 0..progress.
TEST_F(JobGateTest, ContinueResumesTheStoredJobFromTheTypedCount)
{
    struct Case {
        const char* work;
        std::int32_t stored;
        const char* typed;  // nullptr: Cancel
        int started;
        int resumeCount;    // -1: unchanged
        unsigned boxes;
    };
    const Case cases[] = {
        {"TP", 120, "20", 1, 100, 0},
        {"TP", 120, " 20 ", 1, 100, 0},
        {"TP", 120, "abc", 0, -1, 1},
        {"TP", 120, "2x", 0, -1, 1},
        {"TP", 120, nullptr, 0, -1, 0},
        {"TP", 120, "500", 1, 0, 0},    // back past the start: from the first record
        {"TP", 120, "-30", 1, 120, 0},  // forward past the progress: from where it stopped
        {"TP", 120, "-9223372036854775807", 1, 120, 0},
        {"CHECKDRILL", 120, "20", 0, 100, 0},
        {"DRILL", 5, "1", 1, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.work) + " " + (c.typed ? c.typed : "Cancel"));
        const std::size_t boxesBefore = TestHost().Boxes().size();
        RegSetString("WORK", c.work);
        RegSetLongValue("count", c.stored);
        context.runs.clear();
        context.resumeCount = -1;
        TestHost().QueueDialog([&c](CDialog& dlg) {
            auto& input = dynamic_cast<CNumberInputDlg&>(dlg);
            EXPECT_EQ(input.m_Value, "1");
            if (!c.typed) {
                dlg.PressButton(IDCANCEL);
                return;
            }
            dlg.Control(1046).text = c.typed;
            dlg.PressButton(IDOK);
        });
        EXPECT_EQ(Continue(context), c.started);
        EXPECT_EQ(static_cast<int>(context.runs.size()), c.started);
        if (c.started) {
            EXPECT_EQ(context.runs[0].resumeCount, c.resumeCount);
        } else if (c.resumeCount != -1) {
            EXPECT_EQ(context.resumeCount, c.resumeCount);
        }
        EXPECT_EQ(TestHost().Boxes().size() - boxesBefore, c.boxes);
    }
}

TEST_F(JobGateTest, ContinueWhileAJobRunsStartsNothing)
{
    RegSetString("WORK", "TP");
    RegSetLongValue("count", 50);
    g_JobCode = JOB_ENGRAVE;
    TestHost().QueueDialog([](CDialog& dlg) { dlg.PressButton(IDOK); });
    EXPECT_EQ(Continue(context), 0);
    EXPECT_TRUE(context.runs.empty());
    EXPECT_EQ(g_JobCode, JOB_ENGRAVE);
}

// The menu rules, one row per situation and command: enabled, checked.
TEST_F(JobGateTest, MenuRulesFollowTheJobCodeAndTheData)
{
    struct Case {
        const char* what;
        unsigned id;
        int jobCode;
        CJobMenuState data;
        bool enabled;
        int checked;
    };
    const CJobMenuState none{};
    const CJobMenuState full{2, 10, 3, true};
    const Case cases[] = {
        {"drill idle with tools", ID_MACHINE_DRILL, 0, full, true, 0},
        {"drill idle without tools", ID_MACHINE_DRILL, 0, none, false, 0},
        {"drill while drilling", ID_MACHINE_DRILL, JOB_DRILL, full, false, 1},
        {"isolation needs segments", ID_MACHINE_ISOLATE, 0, none, false, 0},
        {"milling needs areas", ID_MACHINE_MILL, 0, {0, 5, 1, false}, true, 0},
        {"combined needs either", ID_MACHINE_ISOLATE_MILL, 0, {0, 0, 1, false}, true, 0},
        {"combined with neither", ID_MACHINE_ISOLATE_MILL, 0, none, false, 0},
        {"outline idle", ID_MACHINE_ROUTE, 0, none, true, 0},
        {"outline while routing", ID_MACHINE_ROUTE, JOB_ROUTE, none, false, 1},
        {"holes need the hole window", ID_MACHINE_DRILL_LOCATING_HOLES, 0, {1, 1, 1, false},
         false, 0},
        {"holes with the window", ID_MACHINE_ENGRAVE_LOCATING_HOLES, 0, full, true, 0},
        {"engrave while engraving", ID_MACHINE_ENGRAVE, JOB_ENGRAVE, none, false, 1},
        {"selection while engraving it", ID_MACHINE_ENGRAVE_SELECTION, JOB_ENGRAVE_SELECTION,
         none, false, 1},
        {"manual drill needs tools", ID_MANUAL_DRILL, 0, none, false, 0},
        {"manual engrave idle", ID_MANUAL_ENGRAVE, 0, none, true, 0},
        {"continue while a job runs", ID_MACHINE_CONTINUE, JOB_MILL, none, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_JobCode = c.jobCode;
        CCmdUI ui(c.id);
        ASSERT_TRUE(UpdateJobCommandUI(ui, c.data));
        EXPECT_EQ(ui.m_Enabled, c.enabled);
        EXPECT_EQ(ui.m_Check, c.checked);
    }
}

TEST_F(JobGateTest, MenuRulesOfTheLinkStateAndTheUploadModel)
{
    const CJobMenuState full{2, 10, 3, true};
    auto enabled = [&](unsigned id) {
        CCmdUI ui(id);
        UpdateJobCommandUI(ui, full);
        return ui.m_Enabled;
    };
    g_AbortFlag = 1;
    EXPECT_FALSE(enabled(ID_MACHINE_ROUTE));
    EXPECT_FALSE(enabled(ID_MACHINE_CONTINUE));
    EXPECT_FALSE(enabled(ID_MACHINE_EMPTY));
    EXPECT_TRUE(enabled(ID_MACHINE_SPARE));
    g_AbortFlag = 0;
    g_PortState = -1;
    EXPECT_FALSE(enabled(ID_MACHINE_ROUTE));
    EXPECT_FALSE(enabled(ID_MACHINE_SPARE));
    g_PortState = 0;
    g_MachineModel = "TQ615";
    for (unsigned id : {ID_MACHINE_DRILL, ID_MACHINE_ROUTE, ID_MACHINE_ENGRAVE, ID_MANUAL_ENGRAVE,
                        ID_ENGRAVE_CAM_DATA, ID_MACHINE_CONTINUE})
        EXPECT_FALSE(enabled(id)) << id;
    // The drill preview has no rule of its own.
    CCmdUI preview(ID_PREVIEW_DRILLS);
    EXPECT_FALSE(UpdateJobCommandUI(preview, full));
}

}  // namespace
