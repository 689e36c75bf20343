// The isolation job of the largest corpus board sent to the simulated
// binary controller at 115200 baud: the board's isolation lines are computed
// once, then the job runs on one panel copy. Reported are the cutting moves
// (the isolation segments) and all commands per second, beside the limit the
// wire sets for the bytes the job sent (bytes x 10 bits / baud). The
// pseudo-terminal has no wire time and the simulator moves at once, so the
// measured rate is the runner's, the link's and the simulator's own cost.
//   ordune_bench --benchmark_filter=IsolationJob
#include "bench_boards.h"
#include "controller_simulator.h"
#include "link/job_codes.h"
#include "link/link_state.h"
#include "machining/path_jobs.h"
#include "machining/position_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

// A view that homes nowhere and changes no tool: only the cutting is timed.
class CBenchView : public CRunnerView {
public:
    COwnedList<CLayoutBlock> blocks;
    int resume = 0, request = 0, large = 0;
    void MachineHome() override {}
    void StartTimer() override {}
    void StopTimer() override {}
    void ChangeTool(const std::string&, int) override {}
    const COwnedList<CLayoutBlock>& Blocks() const override { return blocks; }
    int& ResumeCount() override { return resume; }
    int& ToolChangeRequest() override { return request; }
    int& LargeHoleMode() override { return large; }
};

void BM_IsolationJobMoves(benchmark::State& state)
{
    auto doc = std::make_unique<CVelmDoc>();
    if (!LoadTiled(*doc, kBoard, 1)) {
        state.SkipWithError("the corpus is absent");
        return;
    }
    doc->m_T1Step = 2;
    if (!doc->CalcIsolationT1(0) || doc->m_GridPathList.empty()) {
        state.SkipWithError("no isolation lines");
        return;
    }
    CControllerSimulator sim;
    sim.Start(CControllerSimulator::Kind::Binary, 115200);
    sim.SetTimeScale(0.0);
    ::setenv("ORDUNE_COM1", sim.PortPath().c_str(), 1);
    g_ControllerKind = -1;
    g_BaudRate = 115200;
    g_BinLink.m_ReadTimeoutMs = 300;
    if (!g_MachineLink.OpenPort()) {
        state.SkipWithError("no controller");
        return;
    }
    CBenchView view;
    auto block = std::make_unique<CLayoutBlock>();
    block->m_Centre = CDPoint(3000, 3000);
    block->m_RefCentre = CDPoint((g_BoardMinX + g_BoardMaxX) / 2.0, (g_BoardMinY + g_BoardMaxY) / 2.0);
    AddTail(view.blocks, std::move(block));
    CPathJobData data;
    data.isoSegments = &doc->m_GridPathList;
    g_SkipProbeTest = 1;
    g_EngraveSpeed = 10.0f;
    std::size_t received = 0, commands = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        sim.ClearLog();
        const std::size_t before = sim.Received().size();
        g_AbortFlag = 0;
        g_JobCode = JOB_ISOLATE;
        const auto start = std::chrono::steady_clock::now();
        RunIsolationJob(view, data);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        received += sim.Received().size() - before;
        commands += sim.Log().size();
        if (g_AbortFlag)
            state.SkipWithError("the job stopped");
    }
    const double runs = double(state.iterations());
    const double moves = double(doc->m_GridPathList.size()) * runs;
    state.counters["segments"] = double(doc->m_GridPathList.size());
    state.counters["moves_per_s"] = moves / seconds;
    state.counters["commands_per_s"] = double(commands) / seconds;
    state.counters["bytes_per_move"] = double(received) / moves;
    state.counters["wire_limit_moves_per_s"] = moves / (double(received) * 10.0 / 115200.0);
    g_MachineLink.ClosePort();
    g_ControllerKind = -1;
    sim.Stop();
}
BENCHMARK(BM_IsolationJobMoves)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
