// The path jobs, written in the runner vocabulary. Every job keeps where the
// tool last stopped cutting as an optional point: a new panel copy (and a
// resumed job) starts with none, so its first segment is always reached by a
// lifted travel and a plunge, wherever that segment starts. Progress and
// resume count the same items in the same order, so Continue starts with the
// item that was interrupted.
#include "machining/path_jobs.h"

#include "geometry/plane_geometry.h"
#include "geometry/registration.h"
#include "link/job_codes.h"
#include "link/link_state.h"
#include "link/machine_wait.h"
#include "link/working_depth.h"
#include "machining/position_dlg.h"
#include "machining/probe_test_dlg.h"
#include "machining/tool_change.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "platform/program_objects.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "records/planner_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

int g_IsoMillPhase = 0;

namespace {

// The route tool in the spindle, kept from one outline run to the next.
float s_LastRouteTool = 0.0f;

const CProgramObjectReset s_Reset([] {
    g_IsoMillPhase = 0;
    s_LastRouteTool = 0.0f;
});

constexpr double kPi = 3.1415926;  // the angles the controllers were given

using LastEnd = std::optional<CDPoint>;

float F(double v) { return static_cast<float>(v); }
bool AsciiLinkInUse() { return g_ControllerKind == 0; }

bool ChineseLanguage()
{
    std::string language;
    RegGetString("Language", language);
    return language == "CHINESE";
}

// The tool continues its cut from `last` when the next segment starts there.
bool Continues(const LastEnd& last, const CDPoint& start) { return last && *last == start; }

// The depth of a layer reached in the walk waits for the layer's tool. The
// last layer's tool stays down until the next travel or tool change, and
// meanwhile every pump lets the view timer send Z to the working depth
// again: that depth stays the last layer's until the new layer's tool
// prompt is over or the tool has been lifted.
class CLayerDepth {
public:
    void Reached(float depthValue)
    {
        m_Depth = static_cast<int>(depthValue);
        m_Pending = true;
    }
    void Apply()
    {
        if (m_Pending)
            g_PlungeOffsetPulses = m_Depth;
        m_Pending = false;
    }

private:
    int m_Depth = 0;
    bool m_Pending = false;
};

void ShowCount(long count, double total)
{
    char text[80];
    std::snprintf(text, sizeof text, "Count: %ld  Ratio: %.2f", count,
                  total > 0.0 ? static_cast<double>(count) / total * 100.0 : 0.0);
    ShowRunnerCaption(text);
}

// Seconds of the host's clock, for the working time of a tool.
long NowSeconds() { return static_cast<long>(GetTickCount() / 1000u); }

// Waits until the controller answers the connection check: the hand-shake
// after each cutting move. Ends on STOP and on its deadline (which stops the
// job as STOP does).
bool AwaitConnected()
{
    CWaitLimits limits;
    limits.deadlineMs = kMoveDeadlineMs;
    limits.pollMs = 0;
    const EWaitEnd end =
        WaitMachine([] { return g_MachineLink.CheckConnected() ? EPoll::Done : EPoll::Waiting; },
                    limits);
    if (end == EWaitEnd::Deadline)
        g_AbortFlag = 1;
    return end == EWaitEnd::Done;
}

// One panel copy as the cutting moves see it (none for the selection, which
// is cut where it lies on the board).
struct CCopy {
    const CLayoutBlock* block = nullptr;
    EAlign align = EAlign::None;

    CDPoint Machine(const CDPoint& board) const
    {
        if (block)
            return BoardToMachine(*block, board, align);
        CDPoint p(board.x * g_PulsesPerMil, board.y * g_PulsesPerMil);
        if (align == EAlign::Registration)
            AlignTransformPoint(&p);
        return p;
    }
    // Where the position read back should come to: without the alignment.
    CDPoint Unaligned(const CDPoint& board) const
    {
        if (block)
            return BoardToMachine(*block, board, EAlign::None);
        return CDPoint(F(board.x * g_PulsesPerMil), F(board.y * g_PulsesPerMil));
    }
    bool Mirrors() const { return block && CopyMirrors(*block); }
};

// A segment in board mil: a line (type 0 or 10) or an arc about `centre`.
struct CCutSegment {
    CDPoint start, end, centre;
    int type = 0;
    bool IsLine() const { return type == 0 || type == 10; }
    double Length() const { return Distance(start.x, start.y, end.x, end.y); }
};

// How a job cuts its moves.
struct CCutRules {
    float feed = 0.0f;           // XY speed while cutting (mm/s)
    const char* nowName = "OUTLINE_NOW";  // where the progress is kept (nullptr: kept by the job)
    bool arcProgress = false;    // the progress value is also written after arcs
    bool followBothLinks = false;
    double followLimit = 1000.0; // pulses from the end at which a long line counts as done
    float arcLimit = 0.0f;       // arcs slower when the feed is above this (0: never)
    float arcSpeed = 8.0f;
    bool mirrorArcs = true;      // the copy's mirroring turns the arcs round
};

// The tool lifted at the lift speed to the lift height.
bool LiftTool()
{
    RunnerWait();
    g_ToolDown = 0;
    SendZSpeed(g_LiftSpeed);
    SendZTo(GetZUpPulses());
    return RunnerWait();
}

// The table to `at` at the rapid speed.
bool TravelTo(const CDPoint& at)
{
    SendDefaultSpeed();
    SendXYTo(at);
    return RunnerWait();
}

// The tool plunged at the plunge speed to the working depth, then the feed.
bool PlungeTool(float feed)
{
    g_ToolDown = 1;
    SendZSpeed(g_PlungeSpeed);
    SendZTo(GetZDownPulses());
    const bool ok = RunnerWait();
    SendXYSpeed(feed);
    return ok;
}

// A long line on the controller is followed until the machine position
// (which the view timer keeps current) is near its end, or the controller
// says it is done; a short one is taken as done and shown at its end.
void FollowLine(CRunnerView& view, const CDPoint& q, double length, double limit)
{
    if (length <= 30.0) {
        g_MachineX = WholePulses(q.x);
        g_MachineY = WholePulses(q.y);
        view.UpdatePositionDisplay();
        return;
    }
    CWaitLimits limits;
    limits.deadlineMs = kMoveDeadlineMs;
    limits.pollMs = 1;
    WaitMachine(
        [&] {
            if (DistanceDF(q.x, q.y, static_cast<float>(g_MachineX), static_cast<float>(g_MachineY)) <=
                limit)
                return EPoll::Done;
            const int ready = g_MachineLink.ReadyState();
            return ready == 1 ? EPoll::Done : ready == 0 ? EPoll::Waiting : EPoll::NoAnswer;
        },
        limits);
}

// The cutting move of one segment from where the tool stands down.
void CutSegment(CRunnerView& view, const CCopy& copy, const CCutSegment& seg, const CCutRules& rules,
                long count)
{
    if (seg.IsLine()) {
        const CDPoint end = copy.Machine(seg.end);
        g_MachineLink.CmdVA2(F(end.x), F(end.y));
        g_MachineLink.Send();
        if (rules.nowName)
            RegSetLongValue(rules.nowName, static_cast<std::int32_t>(count));
        if (rules.followBothLinks || AsciiLinkInUse())
            FollowLine(view, copy.Unaligned(seg.end), seg.Length(), rules.followLimit);
        AwaitConnected();
        return;
    }
    const double a = ArcAngle(seg.start.x, seg.start.y, seg.centre.x, seg.centre.y);
    const double b = ArcAngle(seg.end.x, seg.end.y, seg.centre.x, seg.centre.y);
    if (rules.arcLimit > 0.0f && rules.feed > rules.arcLimit)
        SendXYSpeed(rules.arcSpeed);
    const bool mirrored = rules.mirrorArcs && copy.Mirrors();
    const CDPoint centre = copy.Machine(seg.centre);
    if (!AsciiLinkInUse()) {
        int direction = seg.type == 1 ? 1 : -1;
        if (mirrored)
            direction = -direction;
        const CDPoint end = copy.Machine(seg.end);
        if (direction == -1)
            g_BinLink.LineMove82(WholePulses(centre.x), WholePulses(centre.y), WholePulses(end.x),
                                 WholePulses(end.y));
        else
            g_BinLink.LineMove80(WholePulses(centre.x), WholePulses(centre.y), WholePulses(end.x),
                                 WholePulses(end.y));
    }
    double sweep = ArcSweep(seg.type, a, b);
    if (mirrored)
        sweep = -sweep;
    g_MachineLink.CmdCA(F(centre.x), F(centre.y), F(sweep));
    g_MachineLink.Send();
    if (rules.arcProgress && rules.nowName)
        RegSetLongValue(rules.nowName, static_cast<std::int32_t>(count));
    RunnerWait();
    SendXYSpeed(rules.feed);
    AwaitConnected();
}

CCutSegment FromPath(const CPathSegment& s)
{
    return {CDPoint(s.x1, s.y1), CDPoint(s.x2, s.y2), CDPoint(s.cx, s.cy), s.type};
}

// The Z lift that closes every path job, also after STOP.
void CloseLift(bool speed)
{
    RunnerWait();
    g_ToolDown = 0;
    if (speed)
        SendZSpeed(g_LiftSpeed);
    SendZTo(GetZUpPulses());
    RunnerWait();
    g_PlungeOffsetPulses = 0;
}

// The end of a finished isolation or milling: the spindle off, the machine
// homed, the timer stopped, the position window hidden, the drives off.
void StopAtHome(CRunnerView& view)
{
    g_JobCode = JOB_IDLE;
    g_JobRunning = 0;
    SendOutput(7, 0);
    view.MachineHome();
    view.StopTimer();
    g_PositionDlg.ShowWindow(false);
    SendDrives(0);
}

// The signal output pulsed for 100 ms at the end of a job (prepared: the
// binary controller has it, the ASCII one is never sent it).
void PulseSignalOutput()
{
    PrepareOutput(5, 1);
    RunnerPause(100);
    PrepareOutput(5, 0);
}

// The end of a finished outline or engraving: the signal pulse and the
// machine home, then the message. "WORK" keeps what it held, as the outline
// stores none.
void FinishPathJob(CRunnerView& view, unsigned messageId, bool keepWork)
{
    std::string work;
    RegGetString("WORK", work);
    PulseSignalOutput();
    g_JobCode = JOB_IDLE;
    g_JobRunning = 0;
    SendOutput(7, 0);
    RunnerReturnHome(view, false);
    if (keepWork)
        StoreWorkName(work);
    if (messageId)
        AfxMessageBox(LoadResString(messageId));
}

// One segment visit of a layer job: which layer, copy and segment, and the
// segment's number among the segments of all the job's layers (from 1; the
// copies of a segment share it).
struct CLayerVisit {
    const CPathRecord* layer;
    const CLayoutBlock* block;  // null: cut where it lies
    const CPathSegment* segment;
    long record;
};

std::vector<CLayerVisit> LayerOrder(const std::vector<const CPathRecord*>& layers,
                                    const COwnedList<CLayoutBlock>* blocks)
{
    std::vector<CLayerVisit> order;
    long first = 1;
    for (const CPathRecord* layer : layers) {
        auto visitAll = [&](const CLayoutBlock* block) {
            long record = first;
            for (const auto& s : layer->items)
                order.push_back({layer, block, s.get(), record++});
        };
        if (!blocks) {
            visitAll(nullptr);
        } else {
            for (const auto& b : *blocks)
                visitAll(b.get());
        }
        first += static_cast<long>(layer->items.size());
    }
    return order;
}


// The start the outline and engraving jobs share: the position window, the
// machine homed, the lift speed prepared, the job claimed with the plunge
// speed they cut with, and the view timer polling the position.
void ClaimLayerJob(CRunnerView& view)
{
    RunnerShowAndHome(view);
    PrepareZSpeed(g_LiftSpeed);
    RunnerClaim();
    g_PlungeSpeed = 3.0f;
    RunnerStartTimer(view);
}

// The table to the machining area's corner; false (the position window
// hidden) when STOP came meanwhile.
bool ReachAreaCorner(CRunnerView& view, bool stopTimer)
{
    RunnerMoveToAreaCorner();
    RunnerWait();
    if (!g_AbortFlag)
        return true;
    RunnerAbandon(view, stopTimer);
    return false;
}

// The tool prompt of the engraving jobs.
enum class EEngraveKind { Board, Selection, CamData };

// What the three engraving jobs share: their layer walk, the tool prompts by
// size, time and distance, the pen-up travel and the cut.
struct CEngraveRun {
    CEngraveRun(CRunnerView& runnerView, EEngraveKind jobKind) : view(runnerView), kind(jobKind) {}

    CRunnerView& view;
    EEngraveKind kind;
    CCutRules rules;
    bool chinese = false;
    std::optional<float> lastTool;  // none: the first segment prompts
    long toolStart = 0;
    int dwellMs = 0;
    long cutDistance = 0;
    bool toolChanges = true;        // CAM data: the dialog's tool change box
    CLayerDepth depth;

    // The start of the engraving of the side and of its selection: nothing
    // when there is nothing to engrave; the job claimed and the table at the
    // machining area's corner. False when the job ends here.
    bool Open(const std::vector<CLayerVisit>& order, bool stopTimerOnAbort)
    {
        if (order.empty())
            return false;
        ClaimLayerJob(view);
        if (!ReachAreaCorner(view, stopTimerOnAbort))
            return false;
        RunnerPause(50);
        ShowRunnerCaption(LoadResString(IDS_MACHINE_POSITION));
        rules.feed = g_EngraveSpeed;
        rules.arcLimit = 8.0f;
        return true;
    }

    bool Prompt(const CPathRecord& layer)
    {
        std::string text;
        if (kind == EEngraveKind::Board)
            text = EngraveToolPrompt(layer.size, layer.depth, chinese, dwellMs);
        else
            text = FormatResText(IDS_TOOL_SIZE, static_cast<double>(layer.size) * 2.54 / 100.0);
        lastTool = layer.size;
        if (kind == EEngraveKind::CamData)
            ShowRunnerCaption(text);
        view.ChangeTool(text, 1);
        depth.Apply();
        if (g_AbortFlag)
            return false;
        toolStart = NowSeconds();
        if (kind == EEngraveKind::CamData)
            RegSetInt("machineoffset", g_MachineOffset);
        if (kind != EEngraveKind::Selection) {
            cutDistance = 0;
            g_ToolDown = 1;
        }
        SendXYSpeed(rules.feed);
        return true;
    }

    // The checks before a segment: the working time of the tool, then the
    // prompt for a new size or an asked change. False: leave the job.
    bool BeforeSegment(const CPathRecord& layer)
    {
        if (kind != EEngraveKind::CamData && g_CheckTime > 0 &&
            NowSeconds() > toolStart + g_CheckTime) {
            view.ToolChangeRequest() = 1;
            if (kind == EEngraveKind::Selection)
                AfxMessageBox("Check Tool Again !");
        }
        bool prompt = view.ToolChangeRequest() != 0;
        if (kind == EEngraveKind::Board)
            prompt = prompt || !lastTool || std::fabs(*lastTool - layer.size) > 6.0f;
        else
            prompt = prompt || !lastTool || *lastTool != layer.size;
        if (kind == EEngraveKind::CamData && !toolChanges)
            prompt = false;
        if (prompt && !Prompt(layer))
            return false;
        return !g_AbortFlag;
    }

    // The travel with the tool lifted to the segment's start. False: leave.
    bool Travel(const CCopy& copy, const CDPoint& start)
    {
        LiftTool();
        depth.Apply();
        if (kind == EEngraveKind::Board && RunnerStopped())
            return false;
        if (!RunnerServeToolChangeRequest(view, LoadResString(IDS_CHANGE_CUTTING_TOOL), 1) &&
            g_AbortFlag)
            return false;
        if (g_ToolDistance > 0 && cutDistance > g_ToolDistance) {
            cutDistance = 0;
            if (kind == EEngraveKind::Board)
                view.ChangeTool("Re-Test Tool !", 1);
            else
                ProbeToolHeight(view);
        }
        if (kind == EEngraveKind::Board ? RunnerStopped() : g_AbortFlag != 0)
            return false;
        if (!TravelTo(copy.Machine(start)))
            return false;
        PlungeTool(rules.feed);
        if (kind == EEngraveKind::Board && dwellMs > 0)
            RunnerPause(static_cast<unsigned>(dwellMs));
        return !g_AbortFlag;
    }

    // A check line: the tool up and the table before the area's corner for
    // the operator to look; the next segment travels afresh.
    void CheckLine(LastEnd& last)
    {
        RunnerWait();
        g_ToolDown = 0;
        SendZSpeed(g_LiftSpeed);
        SendZTo(GetZUpPulses());
        RunnerWait();
        SendXYTo(g_LayoutExtent.left - 508.0, g_LayoutExtent.top - 508.0);
        RunnerWait();
        AfxMessageBox("Check Line !");
        last.reset();
    }

    // Walks `order` from `next`: the prompts, the travels and the cuts.
    void Walk(const std::vector<CLayerVisit>& order, std::size_t next, double total)
    {
        LastEnd last;
        const CLayoutBlock* copyOf = next < order.size() ? order[next].block : nullptr;
        const CPathRecord* layerOf = nullptr;
        const CCopy noCopy{nullptr, EAlign::Registration};
        for (; next < order.size() && !g_AbortFlag && g_JobCode != JOB_IDLE; ++next) {
            const CLayerVisit& visit = order[next];
            if (visit.layer != layerOf) {
                if (layerOf && kind != EEngraveKind::Selection)
                    RunnerWait();
                layerOf = visit.layer;
                depth.Reached(visit.layer->depth);
                if (kind != EEngraveKind::Selection)
                    last.reset();
            }
            if (visit.block != copyOf) {
                copyOf = visit.block;
                last.reset();
            }
            if (kind != EEngraveKind::CamData) {
                StoreProgress(static_cast<long>(next));
                ShowCount(static_cast<long>(next), total);
            }
            PumpMessages();
            if (!BeforeSegment(*visit.layer))
                break;
            if (visit.segment->flag != 0 || (visit.block && visit.block->m_Selected))
                continue;
            const CCopy copy = visit.block ? CCopy{visit.block, EAlign::Registration} : noCopy;
            const CCutSegment seg = FromPath(*visit.segment);
            cutDistance = static_cast<long>(static_cast<double>(cutDistance) + seg.Length());
            const bool travel = kind == EEngraveKind::Board
                                    ? !last || DistanceD8(last->x, last->y, seg.start.x,
                                                          seg.start.y) > 1.0
                                    : !Continues(last, seg.start);
            if (travel && !Travel(copy, seg.start))
                break;
            depth.Apply();
            CutSegment(view, copy, seg, rules, static_cast<long>(next));
            last = seg.end;
            if (seg.type == 10)
                CheckLine(last);
        }
        RunnerWait();
    }
};

std::vector<const CPathRecord*> LayersWhere(const CPathJobData& data,
                                            const std::function<bool(const CPathRecord&)>& pick)
{
    std::vector<const CPathRecord*> layers;
    if (data.layers)
        for (const auto& layer : *data.layers)
            if (pick(*layer))
                layers.push_back(layer.get());
    return layers;
}

bool Visible(const CPathJobData& data, const std::string& name)
{
    return !data.layerVisible || data.layerVisible(name);
}

}  // namespace

double ArcAngle(double px, double py, double cx, double cy)
{
    return -std::atan2(py - cy, px - cx) * 180.0 / kPi;
}

double ArcSweep(int type, double start, double end)
{
    double sweep;
    if (start >= end)
        sweep = type == 1 ? start - end : start - end - 360.0;
    else
        sweep = type == 1 ? start - end + 360.0 : start - end;
    return sweep == 0.0 ? 360.0 : sweep;
}

std::vector<const CPathRecord*> OutlineRouteLayers(
    const COwnedList<CPathRecord>& layers, const std::function<bool(const std::string&)>& visible)
{
    std::vector<const CPathRecord*> route;
    for (const auto& layer : layers)
        if (layer->side == 5 && (!visible || visible(layer->name)))
            route.push_back(layer.get());
    return route;
}

bool CopyMirrors(const CLayoutBlock& block)
{
    const bool mixedSigns = block.m_Sign.x * block.m_Sign.y < 0;
    return (block.m_Swap != 0) != mixedSigns;
}

std::vector<float> RoutePassDepths(float total, bool stepped)
{
    std::vector<float> passes;
    float depth = 0.0f;
    while (total > depth) {
        depth += 0.6f;
        if (depth > total || !stepped)
            depth = total;
        passes.push_back(depth);
    }
    return passes;
}

std::string RouteToolPrompt(float sizeMil, bool chinese)
{
    const double mm = static_cast<double>(sizeMil) * 2.54 / 100.0;
    if (chinese && std::fabs(mm - 1.5) < 0.01)
        return "成型刀直徑 1.5 mm (白)";
    return FormatResText(IDS_TOOL_SIZE, mm);
}

std::string EngraveToolPrompt(float sizeMil, float depthValue, bool chinese, int& dwellMs)
{
    const double mm = static_cast<double>(sizeMil) * 2.54 / 100.0;
    std::string text = FormatResText(IDS_TOOL_SIZE, mm);
    auto near = [mm](double v) { return std::fabs(mm - v) < 0.01; };
    const char* word = nullptr;
    if (near(0.15)) {
        const bool shallow = depthValue / g_ZPulsesPerMM - 0.055 < 0.01;
        word = shallow ? (chinese ? " (黃)" : " ( yellow )") : (chinese ? " (綠)" : " ( green )");
        dwellMs = 0;
    } else if (near(0.2)) {
        word = chinese ? " (黃)" : " ( yellow )";
        dwellMs = 0;
    } else if (near(0.5)) {
        word = chinese ? " (藍)" : " ( blue )";
        dwellMs = 100;
    } else if (near(1.5)) {
        word = chinese ? " (紅)" : " ( red )";
        dwellMs = 250;
    }
    if (word)
        text += word;
    return text;
}

// ---- Isolation ----

void RunIsolationJob(CRunnerView& view, CPathJobData& data)
{
    g_PlungeOffsetPulses = 0;
    RunnerShowAndHome(view);
    RunnerClaim();
    RunnerStartTimer(view);
    if (g_SkipProbeTest == 0)
        RunnerMoveToAreaCorner();
    RunnerPause(50);
    ShowRunnerCaption(LoadResString(IDS_MACHINE_POSITION));
    const COwnedList<CLayoutBlock>& blocks = view.Blocks();
    if (blocks.empty() || !data.isoSegments)
        return;

    const COwnedList<CGridPathSegment>& segments = *data.isoSegments;
    const std::size_t items = blocks.size() * segments.size();
    const double total = static_cast<double>(items) + 1.0;
    CCutRules rules;
    rules.feed = g_EngraveSpeed;
    rules.arcProgress = true;
    rules.arcLimit = 8.0f;
    rules.arcSpeed = 8.0f;
    bool firstTravel = true;
    const std::string requestPrompt = LoadResString(IDS_CHANGE_CUTTING_TOOL);
    LastEnd last;
    std::size_t next = ResumeStart(view, items);
    const CLayoutBlock* copyOf = nullptr;
    for (; next < items && !g_AbortFlag && g_JobCode != JOB_IDLE; ++next) {
        const CLayoutBlock& block = *blocks[next / segments.size()];
        const CGridPathSegment& s = *segments[next % segments.size()];
        if (&block != copyOf) {
            copyOf = &block;
            last.reset();
        }
        StoreProgress(static_cast<long>(next));
        ShowCount(static_cast<long>(next), total);
        // STOP is served between items also when no wait had to pump.
        PumpMessages();
        if (view.ToolChangeRequest()) {
            view.ChangeTool(requestPrompt, 1);
            PlungeTool(g_EngraveSpeed);
        }
        if (g_AbortFlag)
            break;
        if (data.markIso)
            data.markIso(block, s);
        g_PlungeOffsetPulses = static_cast<int>(s.value);
        if (s.doneMark == 0) {
            const CCopy copy{&block, EAlign::None};
            const CCutSegment seg{CDPoint(s.x1, s.y1), CDPoint(s.x2, s.y2), CDPoint(s.cx, s.cy),
                                  s.type};
            if (!Continues(last, seg.start)) {
                LiftTool();
                if (!RunnerServeToolChangeRequest(view, requestPrompt, 1))
                    break;
                if (!TravelTo(copy.Machine(seg.start)))
                    break;
                if (firstTravel) {
                    g_PlungeSpeed = 3.0f;
                    view.ChangeTool(LoadResString(IDS_CHANGE_TO_ENGRAVING_CUTTER), 1);
                    firstTravel = false;
                }
                if (g_AbortFlag)
                    break;
                PlungeTool(g_EngraveSpeed);
            }
            CutSegment(view, copy, seg, rules, static_cast<long>(next));
            last = seg.end;
        }
        if (data.markIso)
            data.markIso(block, s);
    }

    CloseLift(false);
    if (g_AbortFlag) {
        RunnerAbandon(view, false);
        return;
    }
    if (g_JobCode != JOB_ISOLATE_MILL) {
        StopAtHome(view);
    }
    StoreProgress(0);
    RegSetLongValue("OUTLINE_NOW", 0);
    StoreWorkName("");
}

// ---- Milling ----

namespace {

struct CStrokeVisit {
    const CClearRegion* region;
    const CLayoutBlock* block;
    std::size_t stroke;
};

// Regions outermost, then the copies, then the region's strokes.
std::vector<CStrokeVisit> StrokeOrder(const COwnedList<CClearRegion>& regions,
                                      const COwnedList<CLayoutBlock>& blocks)
{
    std::vector<CStrokeVisit> order;
    for (const auto& region : regions)
        for (const auto& block : blocks)
            for (std::size_t i = 0; i < region->strokes.size(); ++i)
                order.push_back({region.get(), block.get(), i});
    return order;
}

// A stroke is cut when it has a length and no range command set it aside;
// where its ends lie is no test of that.
bool StrokeToCut(const CClearStroke& s)
{
    return s.doneMark == 0 && CDPoint(s.x1, s.y1) != CDPoint(s.x2, s.y2);
}

}  // namespace

void RunMillJob(CRunnerView& view, CPathJobData& data, int argument)
{
    g_PlungeOffsetPulses = 0;
    if (g_JobCode != JOB_ISOLATE_MILL) {
        view.MachineHome();
        SendDefaultSpeed();
    }
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    if (g_AbortFlag)
        return;
    g_MachineLink.CmdCO();
    g_MachineLink.Send();
    RunnerClaim();
    g_PositionPollOff = 0;
    if (g_SkipProbeTest == 0 && argument == 0) {
        RunnerMoveToAreaCorner();
        RunnerWait();
    }
    RunnerPause(50);
    const COwnedList<CLayoutBlock>& blocks = view.Blocks();
    if (!data.regions || data.regions->empty() || blocks.empty())
        return;

    const std::vector<CStrokeVisit> order = StrokeOrder(*data.regions, blocks);
    const double total = static_cast<double>(order.size());
    CCutRules rules;
    rules.feed = g_ParamM19;
    rules.nowName = "MILL_NOW";
    rules.followBothLinks = true;
    rules.followLimit = 500.0;
    const std::string requestPrompt = LoadResString(IDS_CHANGE_CUTTING_TOOL);
    int cutter = 0;
    LastEnd last;
    const CLayoutBlock* copyOf = nullptr;
    const CClearRegion* regionOf = nullptr;
    std::size_t next = ResumeStart(view, order.size());
    for (; next < order.size() && !g_AbortFlag; ++next) {
        const CStrokeVisit& visit = order[next];
        if (visit.region != regionOf) {
            regionOf = visit.region;
            PumpMessages();
            if (visit.region->step != cutter && argument == 0) {
                SendDefaultSpeed();
                cutter = visit.region->step;
                g_PlungeSpeed = 3.0f;
                view.ChangeTool(FormatResText(IDS_CHANGE_TO_MILLING_CUTTER, cutter), 1);
                RunnerPause(100);
            }
            if (g_AbortFlag)
                break;
            copyOf = nullptr;
        }
        if (visit.block != copyOf) {
            copyOf = visit.block;
            last.reset();
        }
        ShowCount(static_cast<long>(next), total);
        StoreProgress(static_cast<long>(next));
        PumpMessages();
        if (g_AbortFlag)
            break;
        if (view.ToolChangeRequest()) {
            view.ChangeTool(requestPrompt, 1);
            PlungeTool(g_EngraveSpeed);
        }
        const COwnedList<CClearStroke>& strokes = visit.region->strokes;
        const CClearStroke& s = *strokes[visit.stroke];
        if (data.markStroke)
            data.markStroke(*visit.block, s);
        g_PlungeOffsetPulses = s.plungeValue;
        if (StrokeToCut(s)) {
            const CCopy copy{visit.block, EAlign::None};
            CCutSegment seg{CDPoint(s.x1, s.y1), CDPoint(s.x2, s.y2), CDPoint(), 0};
            if (Continues(last, seg.start)) {
            } else if (Continues(last, seg.end)) {
                // Cut backwards, from where the tool stands to the start.
                seg.end = seg.start;
                seg.start = *last;
            } else {
                LiftTool();
                RunnerServeToolChangeRequest(view, requestPrompt, 1);
                TravelTo(copy.Machine(seg.start));
                PlungeTool(g_ParamM19);
            }
            if (s.pen == 0) {
                if (visit.stroke + 1 < strokes.size()) {
                    LiftTool();
                    TravelTo(copy.Machine(seg.end));
                    PlungeTool(g_ParamM19);
                }
            } else {
                CutSegment(view, copy, seg, rules, static_cast<long>(next));
            }
            last = seg.end;
        }
        if (data.markStroke)
            data.markStroke(*visit.block, s);
    }

    CloseLift(false);
    if (g_AbortFlag) {
        RunnerAbandon(view, false);
        return;
    }
    StopAtHome(view);
    RegSetLongValue("MILL_NOW", 0);
    StoreWorkName("");
}

void RunIsolateAndMill(CRunnerView& view, CPathJobData& data, int fresh)
{
    if (fresh) {
        g_IsoMillPhase = 2;
        g_MachineOffset = 0;
    }
    StoreWorkName("ISOLATE");
    if (g_IsoMillPhase == 2) {
        RunIsolationJob(view, data);
        // The milling half counts its own strokes from its first.
        view.ResumeCount() = 0;
    }
    if (g_AbortFlag) {
        g_JobCode = JOB_IDLE;
        return;
    }
    g_JobCode = JOB_ISOLATE_MILL;
    g_IsoMillPhase = 1;
    StoreWorkName("MILL");
    RunMillJob(view, data, g_MachineModel == "ZELTA6" ? 0 : 1);
    g_JobCode = JOB_IDLE;
}

// ---- Outline ----

void RunOutlineJob(CRunnerView& view, CPathJobData& data)
{
    const bool chinese = ChineseLanguage();
    const COwnedList<CLayoutBlock>& blocks = view.Blocks();
    if (blocks.empty())
        return;
    view.SaveResumeProject();
    g_PlungeOffsetPulses = 0;
    std::vector<const CPathRecord*> layers;
    if (data.layers)
        layers = OutlineRouteLayers(*data.layers, data.layerVisible);
    const std::vector<CLayerVisit> order = LayerOrder(layers, &blocks);
    if (order.empty())
        return;
    ClaimLayerJob(view);
    if (g_SkipProbeTest == 1)
        SendOutput(7, 1);
    else
        s_LastRouteTool = -1.0f;
    if (!ReachAreaCorner(view, false))
        return;
    ShowRunnerCaption(LoadResString(IDS_MACHINE_POSITION));
    view.ResumeCount() = 0;

    CCutRules rules;
    rules.feed = g_RouteSpeed;
    rules.nowName = nullptr;  // the record reached is stored before each visit
    rules.arcLimit = 8.0f;
    rules.arcSpeed = 8.0f;
    const std::string requestPrompt = LoadResString(IDS_CHANGE_CUTTING_TOOL);
    const float totalDepth = g_RouteDepth;
    const double total = static_cast<double>(order.size());
    long counter = 0;
    long cutDistance = 0;
    CLayerDepth layerDepth;
    for (float depth : RoutePassDepths(totalDepth, g_RouteAutoFlag != 0)) {
        if (g_AbortFlag)
            break;
        g_RouteDepth = depth;
        LastEnd last;
        const CLayoutBlock* copyOf = nullptr;
        const CPathRecord* layerOf = nullptr;
        for (const CLayerVisit& visit : order) {
            if (g_AbortFlag || g_JobCode == JOB_IDLE)
                break;
            if (visit.layer != layerOf) {
                if (layerOf)
                    RunnerWait();
                layerOf = visit.layer;
                copyOf = nullptr;
            }
            if (visit.block != copyOf) {
                copyOf = visit.block;
                last.reset();
                layerDepth.Reached(visit.layer->depth);
            }
            StoreProgress(counter);
            // The record reached, numbered as the range resume numbers the
            // outline's records: after a STOP the range it proposes starts
            // with the record that was interrupted, or with the next one
            // when none was.
            RegSetLongValue("OUTLINE_NOW", static_cast<std::int32_t>(visit.record));
            ShowCount(counter, total);
            PumpMessages();
            if (view.ToolChangeRequest() || s_LastRouteTool != visit.layer->size) {
                const std::string prompt = RouteToolPrompt(visit.layer->size, chinese);
                s_LastRouteTool = visit.layer->size;
                view.ChangeTool(prompt, 1);
                layerDepth.Apply();
                cutDistance = 0;
                g_ToolDown = 1;
                SendXYSpeed(g_RouteSpeed);
            }
            if (g_AbortFlag)
                break;
            // A record outside the range of a resume is counted, not cut.
            if (visit.segment->flag == 0 && visit.segment->skip == 0 &&
                visit.block->m_Selected == 0) {
                const CCopy copy{visit.block, EAlign::Registration};
                const CCutSegment seg = FromPath(*visit.segment);
                cutDistance = static_cast<long>(static_cast<double>(cutDistance) + seg.Length());
                if (!Continues(last, seg.start)) {
                    LiftTool();
                    layerDepth.Apply();
                    RunnerServeToolChangeRequest(view, requestPrompt, 1);
                    if (g_ToolDistance > 0 && cutDistance > g_ToolDistance) {
                        cutDistance = 0;
                        ProbeToolHeight(view);
                    }
                    TravelTo(copy.Machine(seg.start));
                    PlungeTool(g_RouteSpeed);
                }
                layerDepth.Apply();
                CutSegment(view, copy, seg, rules, visit.record);
                last = seg.end;
            }
            ++counter;
        }
        RunnerWait();
    }
    CloseLift(false);
    g_RouteDepth = totalDepth;
    if (g_AbortFlag) {
        RunnerAbandon(view, false);
        return;
    }
    FinishPathJob(view, IDS_ROUTING_DONE, true);
}

// ---- Engraving ----

void RunEngraveJob(CRunnerView& view, CPathJobData& data)
{
    CEngraveRun run(view, EEngraveKind::Board);
    run.toolStart = NowSeconds();
    g_SkipProbeTest = 0;
    run.chinese = ChineseLanguage();
    view.SaveResumeProject();
    g_PlungeOffsetPulses = 0;
    const COwnedList<CLayoutBlock>& blocks = view.Blocks();
    const std::vector<const CPathRecord*> layers = LayersWhere(data, [&](const CPathRecord& l) {
        return l.side == g_CurrentSide && Visible(data, l.name);
    });
    const std::vector<CLayerVisit> order = LayerOrder(layers, &blocks);
    if (!run.Open(order, true))
        return;
    run.rules.arcSpeed = 6.0f;
    const std::size_t next = ResumeStart(view, order.size());
    run.toolStart = NowSeconds();
    view.ToolChangeRequest() = 1;
    run.Walk(order, next, static_cast<double>(order.size()));
    if (g_AbortFlag) {
        RunnerAbandon(view, true);
        return;
    }
    CloseLift(false);
    FinishPathJob(view, IDS_ENGRAVING_DONE, false);
}

namespace {

// A selection layer's name: the base layer's name with "-S"; the base name
// is the name up to its first "-".
bool SelectionOf(const CPathRecord& layer, std::string& base)
{
    if (layer.name.find("-S") == std::string::npos)
        return false;
    base = layer.name.substr(0, layer.name.find('-'));
    return true;
}

}  // namespace

void RunEngraveSelectionJob(CRunnerView& view, CPathJobData& data)
{
    CEngraveRun run(view, EEngraveKind::Selection);
    run.toolStart = NowSeconds();
    g_SkipProbeTest = 0;
    g_PlungeOffsetPulses = 0;
    const std::vector<const CPathRecord*> layers = LayersWhere(data, [&](const CPathRecord& l) {
        std::string base;
        return l.side == g_CurrentSide && SelectionOf(l, base) && Visible(data, base);
    });
    const std::vector<CLayerVisit> order = LayerOrder(layers, nullptr);
    if (!run.Open(order, false))
        return;
    run.rules.arcSpeed = 8.0f;
    run.rules.mirrorArcs = false;
    run.Walk(order, ResumeStart(view, order.size()), static_cast<double>(order.size()));
    CloseLift(false);
    if (g_AbortFlag) {
        RunnerAbandon(view, false);
        return;
    }
    FinishPathJob(view, IDS_ENGRAVING_DONE, false);
}

void RunCamEngraveJob(CRunnerView& view, CPathJobData& data, int spindleOn, bool toolChanges,
                      bool spindleStaysOn)
{
    CEngraveRun run(view, EEngraveKind::CamData);
    run.toolChanges = toolChanges;
    g_PlungeOffsetPulses = 0;
    g_SkipProbeTest = 0;
    RunnerShowAndHome(view);
    RunnerClaim();
    if (g_PlungeSpeed < 1.0f || g_PlungeSpeed > 30.0f)
        g_PlungeSpeed = 3.0f;
    RunnerStartTimer(view);
    RunnerMoveToAreaCorner();
    PumpMessages();
    RunnerWait();
    RunnerPause(50);
    if (spindleOn)
        SendOutput(7, 1);
    ShowRunnerCaption(LoadResString(IDS_MACHINE_POSITION));
    const COwnedList<CLayoutBlock>& blocks = view.Blocks();
    if (blocks.empty()) {
        view.StopTimer();
        return;
    }
    const std::vector<const CPathRecord*> layers =
        LayersWhere(data, [](const CPathRecord& l) { return l.side == 5; });
    const std::vector<CLayerVisit> order = LayerOrder(layers, &blocks);
    const std::size_t next = ResumeStart(view, order.size());
    if (!run.toolChanges) {
        if (g_SpindleOn != 1)
            SendOutput(7, 1);
        RegGetInt("machineoffset", g_MachineOffset);
    }
    run.rules.feed = g_ParamM7;
    run.Walk(order, next, 0.0);
    g_ToolDown = 0;
    SendZTo(GetZUpPulses());
    RunnerWait();
    g_JobCode = JOB_IDLE;
    g_PlungeOffsetPulses = 0;
    if (g_AbortFlag) {
        RunnerAbandon(view, true);
        return;
    }
    PulseSignalOutput();
    g_JobRunning = 0;
    if (!spindleStaysOn)
        SendOutput(7, 0);
    RunnerReturnHome(view, false);
}
