// A machine controller on a pseudo-terminal, for trying the machine link
// without a machine. It answers as the binary controller (frames of 0xFF,
// checksum, command byte and big-endian payload, accepted with 0xF0) or as
// the ASCII controller (EOT "00" code STX body ETX/ENQ with an XOR checksum,
// acknowledged with ACK or NAK), keeps the axis counters, outputs, drives and
// spindle, moves the axes in pulses at the set speeds, reports its home
// switches, the surface probe and its pause button, and logs every command
// it decodes. Faults can be asked for: refused, dropped, garbled, delayed or
// split replies, a line of noise, or a controller that goes away. It runs in
// a thread of its own.
#pragma once

#include "sim_pty.h"
#include "sim_surface.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

class CControllerSimulator : public CSimLineEnd {
public:
    enum class Kind { Binary, Ascii };

    struct Axis {
        std::int64_t from = 0;
        std::int64_t to = 0;
        double startMs = 0.0;
        double durationMs = 0.0;
    };

    struct State {
        std::array<std::int32_t, 4> position{};  // X, Y, Z, 4th in pulses
        std::array<bool, 4> moving{};
        std::array<bool, 4> homed{};             // reached its home switch
        std::uint16_t outputs = 0;               // binary output word
        std::array<int, 10> asciiOutputs{};      // ASCII outputs by number
        bool drivesEnabled = false;
        bool spindleOn = false;
        std::array<double, 4> speed{};           // pulses per second
        std::array<bool, 3> homeSwitch{};        // X, Y, Z switch pressed
        bool probeTouched = false;
        bool contactStop = false;                // Z stops where the probe touches
    };

    CControllerSimulator() = default;
    ~CControllerSimulator() override;
    CControllerSimulator(const CControllerSimulator&) = delete;
    CControllerSimulator& operator=(const CControllerSimulator&) = delete;

    // Opens a pseudo-terminal and starts answering as `kind` at `baud` (0:
    // 115200 for the binary controller, 9600 for the ASCII one). Bytes sent
    // while the line runs at another rate are noise to the controller.
    bool Start(Kind kind, unsigned baud = 0);
    void Stop();
    const std::string& PortPath() const override { return m_Pty.path; }
    Kind GetKind() const { return m_Kind; }
    Account Serve(int waitMs) override;

    // The clock that moves and delayed answers run by, in milliseconds: the
    // wall clock unless a test drives its own.
    void SetClock(std::function<double()> clock);
    // How long moves take: 1.0 the clock's time at the set speeds, 0 at once.
    void SetTimeScale(double scale);
    // While held, started moves stay in progress.
    void HoldMotion(bool hold);
    void SetInputs(std::uint8_t in4, std::uint8_t in5, std::uint8_t in6);
    // The probe input held touched by hand ("er3", input '6' bit 1).
    void SetProbe(bool touched);
    // The board surface under the probe: the probe touches while Z (which
    // grows downward) is at `z` or below it, and with the contact stop on
    // (ASCII "EL", binary 0x02 with a non-zero value) a Z move down stops
    // there. ClearSurface takes the board away.
    void SetSurface(std::int32_t z);
    void ClearSurface();
    // A shaped surface instead of a flat one (sim_surface.cpp), and every
    // Z move that ended below it since the start (X, Y, Z and the depth).
    void SetSurfaceShape(const CSimSurface& shape);
    std::vector<CSimCut> Cuts();
    // The machine's pause button: reported as busy (binary status bit 6)
    // and in the eleventh number of the ASCII position reply.
    void SetPauseButton(bool held);
    void SetPosition(int axis, std::int32_t value);

    // Faults for the next frames (each counts down per frame heard).
    void RefuseNext(int frames);   // binary: a refusing byte; ASCII: NAK
    void DropNext(int frames);     // not heard at all: no answer, no effect
    // The next position answer (binary: a wrong checksum) or reply frame
    // (ASCII: its text overwritten) is corrupt.
    void GarbleNextAnswer();
    void DelayNextReply(unsigned milliseconds);
    void SplitNextReply(unsigned gapMilliseconds);  // two parts, a gap between
    // From now on every burst of bytes heard is answered with 1 to 16 random
    // bytes (a generator seeded with `seed`) and nothing is decoded: a line
    // that only carries noise.
    void AnswerWithNoise(std::uint32_t seed);
    // The controller goes away when it next hears anything: its side of the
    // pseudo-terminal is closed, unanswered, as when its power is cut or its
    // USB adapter is pulled. Stop() does the same at once.
    void HangUpOnNextFrame();

    State GetState();
    std::vector<std::string> Log();
    // ClearLog also forgets the commanded moves below.
    void ClearLog();
    // Every move the controller was told to make, as absolute targets
    // (pulses) of the axes it drives, whether its frame named the target
    // or a distance from where the axes stood: the two protocols' jobs can
    // be compared move by move. A Z move that the contact stop ends at the
    // surface keeps the target it was given; homing is not a commanded move.
    struct CommandedMove {
        std::array<std::int64_t, 4> target{};
        std::array<bool, 4> axes{};
    };
    std::vector<CommandedMove> CommandedMoves();
    // Times the contact stop was switched on.
    int ContactStopArmings();
    // Every byte heard, in order, also those ignored.
    std::vector<unsigned char> Received();
    // Called with every log line as it is written (from the simulator thread).
    void SetLogSink(std::function<void(const std::string&)> sink);

    // Drilled holes (sim_drill.cpp): where X and Y stood each time Z went
    // down past `level` (pulses, growing downward) after the table had moved,
    // so the pecks of one hole count once. Nothing is recorded until a
    // level is set.
    void SetDrillLevel(std::int32_t level);
    std::vector<std::array<std::int32_t, 2>> DrilledPositions();
    void ClearDrilledPositions();

    // What was cut (sim_cut.cpp): the XY moves made while the spindle runs
    // and Z stands at or below `level` (pulses, growing downward), each with
    // the number of plunges past that level so far, so the moves of one
    // chain share a number. Nothing is recorded until a level is set.
    struct ToolPathMove {
        std::array<std::int32_t, 2> from{};
        std::array<std::int32_t, 2> to{};
        bool arc = false;                // an arc command ("CA") made it
        std::array<double, 2> centre{};  // the arc's centre and sweep (degrees)
        double sweep = 0.0;
        int plunge = 0;
    };
    void SetCutLevel(std::int32_t level);
    std::vector<ToolPathMove> ToolPath();
    int Plunges();
    void ClearToolPath();

private:
    struct Outgoing {
        double dueMs;
        std::vector<unsigned char> bytes;
    };

    void Run();
    double NowMs() const;
    void Advance(double now);
    bool LineAtOurRate();
    void HandleBytes(const unsigned char* data, std::size_t n);
    void HandleBinary();
    void HandleAscii();
    void ExecuteBinary(unsigned char command, const std::vector<unsigned char>& payload);
    void ExecuteAscii(const std::string& code, const std::string& body, bool query);
    void ReplyBinary(std::vector<unsigned char> bytes, bool isAnswerData = false);
    void ReplyAscii(std::vector<unsigned char> bytes, bool isFrame);
    void Queue(std::vector<unsigned char> bytes);
    void StartMove(int axis, std::int64_t target, double durationMs);
    void MoveAxes(const std::array<std::int64_t, 4>& target, std::array<bool, 4> axes,
                  bool commanded = true);
    void StopAxes();
    std::int32_t PositionOf(int axis, double now) const;
    bool AnyMoving() const;
    std::uint8_t StatusByte() const;
    std::uint8_t MovingBits() const;
    // A home switch is pressed while its axis stands beyond home (below 0):
    // homing drives up to the switch, backs off and counts 0 there.
    bool SwitchPressed(int axis, double now) const;
    bool ProbeTouched(double now) const;
    std::uint8_t InputByte(int index, double now) const;
    std::string PositionReport(double now) const;
    // A Z move down with the contact stop on ends at the surface.
    std::int64_t StopAtSurface(std::int64_t from, std::int64_t to) const;
    void AddLog(const std::string& line);
    double SurfaceAt(double x, double y) const;
    std::int32_t SurfaceZHere(double now) const;
    void RecordCut(double now, const std::array<std::int64_t, 4>& target,
                   const std::array<bool, 4>& axes);
    // A spinning tool is not sensed by the surface contact: drilling goes
    // into the board while the contact stop stays on.
    bool SpindleRunning() const;
    // A move is starting: a plunge past the drill level records a hole.
    void NoteDrilling(const std::array<std::int64_t, 4>& target, std::array<bool, 4> axes,
                      double now);

    Kind m_Kind = Kind::Binary;
    unsigned m_Baud = 115200;
    CSimPty m_Pty;
    std::thread m_Thread;
    bool m_Stop = false;

    std::mutex m_Mutex;
    std::vector<unsigned char> m_Input;
    std::vector<unsigned char> m_Received;
    std::deque<Outgoing> m_Outgoing;
    std::vector<std::string> m_Log;
    std::function<void(const std::string&)> m_Sink;
    std::function<double()> m_Clock;
    std::size_t m_Heard = 0;  // bytes read from the line since the start
    std::size_t m_Said = 0;   // bytes written to it

    double m_TimeScale = 1.0;
    bool m_Hold = false;
    std::array<Axis, 4> m_Axes{};
    std::array<int, 4> m_Homing{};  // 1 while the axis homes
    std::array<bool, 4> m_Homed{};
    std::array<double, 4> m_Speed{{4000.0, 4000.0, 2000.0, 4000.0}};
    double m_HomeSpeed = 4000.0;
    std::uint16_t m_Outputs = 0;
    std::array<int, 10> m_AsciiOutputs{};
    bool m_DrivesEnabled = false;
    std::uint8_t m_Inputs[3] = {0, 0, 0};
    bool m_Probe = false;
    bool m_HasSurface = false;
    std::int32_t m_SurfaceZ = 0;
    bool m_ContactStop = false;
    int m_ContactStopArmings = 0;
    std::vector<CommandedMove> m_Commanded;
    bool m_PauseButton = false;
    std::int32_t m_LastLoad = 0;

    int m_Refuse = 0;
    int m_Drop = 0;
    bool m_Garble = false;
    unsigned m_Delay = 0;
    int m_SplitGap = -1;
    bool m_Noise = false;
    std::mt19937 m_NoiseSource;
    bool m_HangUpOnNext = false;
    bool m_HasShape = false;
    CSimSurface m_Shape;
    std::vector<CSimCut> m_Cuts;
    std::int32_t m_DrillLevel = 0;
    bool m_RecordDrilling = false;
    bool m_TableMovedSinceHole = true;
    std::vector<std::array<std::int32_t, 2>> m_Drilled;
    // The binary arc (sim_arc.cpp): `target` (holding the start) becomes
    // where the arc ends; the centre and end are relative to the start.
    void BinaryArc(bool counterClockwise, std::array<std::int64_t, 4>& target, std::int32_t centreX,
                   std::int32_t centreY, std::int32_t endX, std::int32_t endY);
    // The cut record.
    void NoteArc(double centreX, double centreY, double sweep);
    void NoteCutting(const std::array<std::int64_t, 4>& target, std::array<bool, 4> axes,
                     double now);
    std::int32_t m_CutLevel = 0;
    bool m_RecordCuts = false;
    bool m_PendingArc = false;
    std::array<double, 2> m_ArcCentre{};
    double m_ArcSweep = 0.0;
    int m_Plunges = 0;
    std::vector<ToolPathMove> m_ToolPath;
};
