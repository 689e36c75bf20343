// ordune-simulator: a controller on a pseudo-terminal. Prints the device to
// point the program at and how to do it (ORDUNE_COM1=<device>), then logs
// every command it decodes until interrupted or until its standard input
// closes.
#include "controller_simulator.h"
#include "sim_upload.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_Interrupted = 0;

void OnSignal(int) { g_Interrupted = 1; }

void Usage()
{
    std::fprintf(stderr,
                 "usage: ordune-simulator [--binary | --ascii] [--baud N] [--time-scale X]\n"
                 "  --binary       answer as the binary controller (default, 115200 baud)\n"
                 "  --ascii        answer as the ASCII controller (9600 baud)\n"
                 "  --upload       take program uploads as the TQ615 controller does\n"
                 "  --baud N       the rate the controller listens at\n"
                 "  --time-scale X move time factor: 1 real time, 0 moves complete at once\n"
                 "  --surface Z0,SX,SY[,WARP,SPANX,SPANY]  a board under the probe: Z at 0,0,\n"
                 "                 Z per pulse along X and Y, a dome WARP pulses high over SPANX x SPANY\n");
}

// Waits until interrupted or until standard input closes.
void WaitForTheEnd()
{
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    bool watchStdin = !isatty(STDIN_FILENO);
    while (!g_Interrupted) {
        pollfd p{STDIN_FILENO, POLLIN, 0};
        if (watchStdin && ::poll(&p, 1, 200) > 0) {
            char buf[256];
            if (::read(STDIN_FILENO, buf, sizeof buf) <= 0)
                break;
        } else if (!watchStdin) {
            ::usleep(200000);
        }
    }
}

int RunUploadController()
{
    CUploadControllerSim controller;
    controller.SetPacketSink([](const CUploadControllerSim::Packet& packet) {
        const bool run = packet.command == 0xEC;
        std::printf("%s\n", run ? "run" : CUploadControllerSim::Describe(packet).c_str());
        std::fflush(stdout);
    });
    if (!controller.Start()) {
        std::fprintf(stderr, "ordune-simulator: cannot open a pseudo-terminal\n");
        return 1;
    }
    const char* device = controller.PortPath().c_str();
    std::printf("%s\n", device);
    std::printf("# Point the program at it: start it with ORDUNE_COM1=%s, choose the\n"
                "# machine model TQ615 and send a program with Machining centre > Upload.\n"
                "# Every packet taken is listed below.\n",
                device);
    std::fflush(stdout);
    WaitForTheEnd();
    controller.Stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    CControllerSimulator::Kind kind = CControllerSimulator::Kind::Binary;
    unsigned baud = 0;
    double scale = 1.0;
    CSimSurface surface;
    bool hasSurface = false;
    bool upload = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--upload")) {
            upload = true;
        } else if (!std::strcmp(argv[i], "--binary")) {
            kind = CControllerSimulator::Kind::Binary;
        } else if (!std::strcmp(argv[i], "--ascii")) {
            kind = CControllerSimulator::Kind::Ascii;
        } else if (!std::strcmp(argv[i], "--baud") && i + 1 < argc) {
            baud = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (!std::strcmp(argv[i], "--time-scale") && i + 1 < argc) {
            scale = std::strtod(argv[++i], nullptr);
        } else if (!std::strcmp(argv[i], "--surface") && i + 1 < argc &&
                   ParseSurface(argv[i + 1], surface)) {
            hasSurface = true;
            ++i;
        } else {
            Usage();
            return 2;
        }
    }
    if (upload)
        return RunUploadController();
    CControllerSimulator simulator;
    simulator.SetTimeScale(scale);
    if (hasSurface)
        simulator.SetSurfaceShape(surface);
    simulator.SetLogSink([](const std::string& line) {
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    });
    if (!simulator.Start(kind, baud)) {
        std::fprintf(stderr, "ordune-simulator: cannot open a pseudo-terminal\n");
        return 1;
    }
    // The device comes first and alone on its line, for scripts that read it.
    const char* device = simulator.PortPath().c_str();
    std::printf("%s\n", device);
    std::printf("# Point the program at it: start it with ORDUNE_COM1=%s (for example\n"
                "#   ORDUNE_COM1=%s scripts/run) and keep COM1 in File > System settings.\n"
                "# The machining tool bar's Home button connects and homes; Machine >\n"
                "# Move control then jogs. Every command heard is listed below.\n",
                device, device);
    std::fflush(stdout);
    WaitForTheEnd();
    simulator.Stop();
    return 0;
}
