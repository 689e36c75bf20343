// Single moves per second through the link against the simulated controller,
// beside the limit the wire itself sets (frame bytes x 10 bits / baud). The
// pseudo-terminal has no wire time, so the measured time is the link's and the
// simulator's own cost.
#include "controller_simulator.h"
#include "link/link_state.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

void Attach(CControllerSimulator& sim, CControllerSimulator::Kind kind)
{
    sim.Start(kind);
    sim.SetTimeScale(0.0);
    ::setenv("ORDUNE_COM1", sim.PortPath().c_str(), 1);
    g_ControllerKind = kind == CControllerSimulator::Kind::Ascii ? 0 : -1;
    g_BinLink.m_ReadTimeoutMs = 300;
}

void BM_BinarySingleMoves(benchmark::State& state)
{
    CControllerSimulator sim;
    Attach(sim, CControllerSimulator::Kind::Binary);
    if (!g_MachineLink.OpenPort()) {
        state.SkipWithError("no controller");
        return;
    }
    std::int32_t target = 0;
    for (auto _ : state) {
        target = target == 0 ? 500 : 0;
        if (!g_BinLink.MoveXTo(target))
            state.SkipWithError("move refused");
    }
    // A step move is 7 bytes out and one acknowledgement byte back.
    constexpr double kWireBytes = 7 + 1;
    state.counters["frames_per_s"] = benchmark::Counter(double(state.iterations()),
                                                        benchmark::Counter::kIsRate);
    state.counters["wire_limit_per_s"] = g_BaudRate / (kWireBytes * 10.0);
    g_MachineLink.ClosePort();
    sim.Stop();
}
BENCHMARK(BM_BinarySingleMoves)->UseRealTime()->MinTime(1.0);

void BM_AsciiSingleMoves(benchmark::State& state)
{
    CControllerSimulator sim;
    Attach(sim, CControllerSimulator::Kind::Ascii);
    if (!g_MachineLink.OpenPort()) {
        state.SkipWithError("no controller");
        return;
    }
    float target = 0.0f;
    std::size_t bytes = 0;
    for (auto _ : state) {
        target = target == 0.0f ? 500.0f : 0.0f;
        g_MachineLink.CmdMA2(target, 1000.0f);
        bytes = g_MachineLink.m_Frame.size() + 1;
        if (!g_MachineLink.Send())
            state.SkipWithError("send failed");
    }
    // The frame and the ACK byte, at the ASCII controller's 9600 baud.
    state.counters["frames_per_s"] = benchmark::Counter(double(state.iterations()),
                                                        benchmark::Counter::kIsRate);
    state.counters["wire_limit_per_s"] = 9600.0 / ((double(bytes) + 1) * 10.0);
    g_MachineLink.ClosePort();
    g_ControllerKind = -1;
    sim.Stop();
}
BENCHMARK(BM_AsciiSingleMoves)->UseRealTime()->MinTime(1.0);

}  // namespace
