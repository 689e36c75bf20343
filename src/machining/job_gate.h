// The job gate: how every machine job command starts. A command checks that
// no job runs, the controller answers ready and STOP is not pending; only
// then it records the job for a later Continue, claims the job code, waits
// for the controller, runs the probe-device test and calls the job's runner,
// and releases the code afterwards. Also Continue (resume the last job a
// number of records back) and the enable rules of the job commands' menu
// items. The view supplies what is its own through CJobContext.
#pragma once

#include "link/machine_wait.h"
#include "settings/machine_param_dlg.h"

#include <string>

class CCmdUI;

// g_JobRunning is 1 while a job that runs the spindle is in progress: STOP
// clears it, the tool change switches the spindle on again after a change
// while it is set.
inline int& g_JobSpindle = g_JobRunning;

// When a command stores its "WORK" name: never, as soon as the gate has
// passed, or after the wait for the controller.
enum class EWorkStore { None, AtGate, AfterWait };

// One job command: its command id, job code, the name Continue knows it by,
// the runner's start argument and how the probe-device test is handled.
struct CJobCommand {
    unsigned id;
    int code;
    const char* work;
    EWorkStore store;
    unsigned runnerArg;
    bool probeTest;
    // The command clears g_SkipProbeTest first, so the test always runs.
    bool clearSkipProbe;
    // The combined isolation-and-milling command also starts after STOP
    // (and clears the flag before its runner).
    bool startsAfterAbort;
    // The view's resume count is set to 0 before the runner as well.
    bool resetResumeBefore;
};

// The job commands of the machine menu and tool bars; null for other ids.
const CJobCommand* FindJobCommand(unsigned id);

// What a job command needs of the view that runs it.
class CJobContext {
public:
    virtual ~CJobContext() = default;
    // One readiness poll of the controller.
    virtual bool IsReady();
    // Waits until the controller is ready, with a deadline and STOP.
    virtual EWaitEnd WaitReady();
    // Runs the runner of job `code` with its start argument (the whole job).
    virtual void RunRunner(int code, unsigned start) = 0;
    // The probe-device test dialog, run modally; IDOK lets the job run.
    virtual int RunProbeTest();
    // 0 when the last drawing of the surface map found a bad probed point.
    virtual int SurfaceDataOk() { return 1; }
    virtual int& ResumeCount() = 0;
    virtual void Repaint() {}
};

// Runs the job command `id` through the gate. Returns 1 when its runner ran;
// 0 when the gate refused, the controller never became ready, or the probe
// test or the operator declined (then nothing is stored and the job code is
// 0 again).
int RunJobCommand(unsigned id, CJobContext& context);

// Machine/Process/Continue: asks how many records to go back from the stored
// progress and runs the job named by "WORK" from there. Cancel and a text
// that is not a whole number start nothing; the count is kept between 0 and
// the stored progress. Returns 1 when a job command was started.
int Continue(CJobContext& context);

// What the menu rules of the job commands look at besides the link state.
struct CJobMenuState {
    int drillTools = 0;         // drill tools in g_HoleList
    int isoSegments = 0;        // isolation path segments of the document
    int clearAreas = 0;         // clearing areas of the document
    bool holeWindowReady = false;  // hole window shown with more than 2 lines
};

// The enable and check rules of the job commands and of Continue. Returns
// false for an id that has no rule here (ui untouched).
bool UpdateJobCommandUI(CCmdUI& ui, const CJobMenuState& state);

// The model whose controller takes uploaded programs: the job commands, the
// tool change and the fixed plunge mode are not offered for it.
bool IsUploadModel();

// The job commands' share of the idle condition: a port is open, no job
// runs and STOP is not pending.
bool MachineIdleAndConnected();
