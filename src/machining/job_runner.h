// What every machine job runner is made of: the words the runners drive the
// controller with (send, prepare, wait, pause), the coordinate pipeline that
// takes a point of the board (mil) through the copy's orientation and place
// on the panel to machine pulses and through the registration alignment, the
// progress kept for Continue, and the steps of a runner's start and end. The
// drilling job, the drill preview, the registration-hole jobs and the path
// jobs are all written in these words, so a change of how the program waits
// or places a point is made here once.
//
// The runner reaches its view (timer, homing, tool change, the panel copies)
// only through CRunnerView, so the runners live here with no window.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"
#include "records/panel_layout.h"
#include "ui/line_store.h"  // FormatResText, which the runners use for their prompts

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

// ---- The runner vocabulary ----
//
// "Send X" builds command X on g_MachineLink and transmits it; on the binary
// controller the builder acts at once and the transmit does nothing.
// "Prepare X" only builds it: on the binary controller it acts, on the ASCII
// controller the frame is overwritten by the next command and never reaches
// the machine. Where a job only prepares, that is what it means to do.

// Z speed in mm/s (times g_ZPulsesPerMM), and in pulses per second.
void SendZSpeed(float mmPerSecond);
void PrepareZSpeed(float mmPerSecond);
void SendZSpeedPulses(float pulsesPerSecond);
// XY speed in mm/s, and the rapid speed; both always transmit.
void SendXYSpeed(float mmPerSecond);
void SendDefaultSpeed();
// Absolute moves in machine pulses.
void SendZTo(double z);
void PrepareZTo(double z);
void SendXYTo(double x, double y);
inline void SendXYTo(const CDPoint& p) { SendXYTo(p.x, p.y); }
// An output of the controller on (1) or off (0); output 7 is the spindle.
void SendOutput(int output, int state);
void PrepareOutput(int output, int state);
// The drives on (1) or off (0).
void SendDrives(int on);
// A full circle around `centre` from where the tool stands, in pulses. On the
// binary controller the circle goes out as its line-move command from the
// centre and the start point (whole pulses, truncated); the ASCII controller
// takes the arc command.
void SendFullCircle(const CDPoint& centre, const CDPoint& start);

// "Wait": until the controller reports ready. Through the one wait of the
// machining side, so it also ends on STOP, on its deadline (which stops the
// job as STOP does) and on a silent controller (which is handled as a lost
// one). True only when the controller became ready; the machine position
// is then read, so the depths of the next plunge and lift are taken where
// the tool stands.
bool RunnerWait();
// "Wait (n ms)" of the tool change: the same, reading the position every
// poll with a pause of `pollPauseMs` and showing it through `show`.
template <class Show>
bool RunnerWaitFollowing(unsigned pollPauseMs, Show show);
bool RunnerWaitShowing(unsigned pollPauseMs, void (*show)(void*), void* context);
// A pause that keeps the window alive; false when STOP came meanwhile.
bool RunnerPause(unsigned milliseconds);
// STOP was pressed (in the position window) or the abort flag is set.
bool RunnerStopped();
// Reads the machine position into g_MachineX, g_MachineY and g_MachineZ (the
// query, a pause of `pauseMs`, the reply). False when no reply came.
bool RunnerReadPosition(unsigned pauseMs);

// ---- The coordinate pipeline ----

// Whether the registration alignment applies: the drilling, the drill
// preview, the outline and the engraving jobs align their points; the
// isolation and milling jobs do not.
enum class EAlign { None, Registration };

// A board point (mil) of panel copy `block` in machine pulses: made relative
// to the copy's reference centre, turned and mirrored with the copy (and the
// camera's board offset added), moved to the copy's place on the table,
// scaled by g_PulsesPerMil and, with EAlign::Registration, mapped into the
// measured frame of the registration targets.
CDPoint BoardToMachine(const CLayoutBlock& block, const CDPoint& board, EAlign align);

// ---- Progress ----

// The registry's progress: "count" is the number of work items done before
// the one about to be worked, so Continue redoes the interrupted item.
void StoreProgress(long itemsDone);
// The name of the job Continue resumes ("WORK"); empty once a job finished.
void StoreWorkName(const std::string& name);
// The position window's caption.
void ShowRunnerCaption(const std::string& text);

// Per-model behaviour: the model name contains `part`, or the name of one of
// the string-table entries `nameIds`.
bool ModelContains(const char* part);
bool ModelContainsAnyOf(std::initializer_list<unsigned> nameIds);
// The models that park the table beyond the far end of its Y travel for a
// tool change, when the system settings ask for the change position; and
// that Y (pulses), 50 or 25 mm past the travel by model.
bool ToolChangeAtFront();
float ToolChangeFrontY();

// Truncation toward zero into whole pulses, as the binary line move takes them.
std::int32_t WholePulses(double v);
class CRunnerView;
// Where a resumed job starts among `items` work items: the view's resume
// count, none when it is 0 or less, all of them at most.
std::size_t ResumeStart(CRunnerView& view, std::size_t items);

// ---- What a runner needs of its view ----

class CRunnerView {
public:
    virtual ~CRunnerView() = default;
    // Homes the machine (the view's homing with the document's reset).
    virtual void MachineHome() = 0;
    // The view timer 1 at 30 ms, and stopped.
    virtual void StartTimer() = 0;
    virtual void StopTimer() = 0;
    // Shows the last machine position in the position window.
    virtual void UpdatePositionDisplay() {}
    // The tool change of the view with its prompt; `detect` asks for the
    // tool-height detection. Callers look at the abort flag afterwards.
    virtual void ChangeTool(const std::string& prompt, int detect) = 0;
    // The panel copies, in machining order.
    virtual const COwnedList<CLayoutBlock>& Blocks() const = 0;
    // Work items to skip at the start (Continue), 0 for a fresh start.
    virtual int& ResumeCount() = 0;
    // The operator asked for a tool change while the job runs.
    virtual int& ToolChangeRequest() = 0;
    // The current drill size is milled as circles by a router.
    virtual int& LargeHoleMode() = 0;
    // Saves the resume project "temp.prj", once per document.
    virtual void SaveResumeProject() {}
    // The tool-height detection point chosen by the operator (mil); both 0
    // when none is set.
    virtual CDPoint DetectPoint() const { return CDPoint(0.0, 0.0); }
    // The automatic tool changer's exchanges on the machine that has one:
    // the tool back into the rack and the same slot fetched after the
    // operator's edit, a drill by the number in the prompt, a cutter by the
    // name in the prompt. Without a view that has the changer the operator
    // is asked to change the tool by hand.
    virtual void AtcManualExchange(const std::string& prompt);
    virtual void AtcDrillTool(const std::string& prompt);
    virtual void AtcExchangeTool(const std::string& prompt);
};

// ---- The steps every runner starts and ends with ----

// The position window created once and shown; the machine homed; the rapid
// speed sent.
void RunnerShowAndHome(CRunnerView& view);
// The run state of a started job: abort flag clear, tool up, spindle wanted.
void RunnerClaim();
// The start of the hole jobs after the homing: "CO" sent, the run state
// claimed and the view timer started (its position poll left as it is).
void RunnerBegin(CRunnerView& view);
// Position polling of the view timer on (it follows the machine in the
// position window) and the timer started.
void RunnerStartTimer(CRunnerView& view);
// XY to the left-top corner of the machining area (g_LayoutExtent).
void RunnerMoveToAreaCorner();
// The same, then 100 ms and the wait; after a STOP the run is abandoned
// (the position window hidden, the timer stopped) and false returned.
bool RunnerGoToAreaCorner(CRunnerView& view);
// A tool change the operator asked for while the job ran, with `prompt`;
// false when the change was stopped.
bool RunnerServeToolChangeRequest(CRunnerView& view, const std::string& prompt, int detect);
// After an abort: the position window hidden and, when asked, the timer
// stopped. "count" and "WORK" keep their values for Continue.
void RunnerAbandon(CRunnerView& view, bool stopTimer);
// The common end of a finished job: the rapid speed, Z to 0 (sent, or with
// `sendZ` false only prepared, as the drilling job and the preview do), XY
// back to 0, 0, the timer stopped, the position window hidden, the drives
// released and "WORK" cleared.
void RunnerReturnHome(CRunnerView& view, bool sendZ);

template <class Show>
bool RunnerWaitFollowing(unsigned pollPauseMs, Show show)
{
    return RunnerWaitShowing(
        pollPauseMs, [](void* context) { (*static_cast<Show*>(context))(); }, &show);
}
