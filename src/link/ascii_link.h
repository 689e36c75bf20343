// The ASCII command link, through which every machine command of the program
// goes. For the ASCII controller each builder makes a text frame (EOT, "00",
// a two-digit code, STX, two letters, parameters, ETX or ENQ, XOR checksum)
// that Send or SendQuery then writes; for the binary controller the builder
// carries out the matching binary commands on g_BinLink itself.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr char ASCII_EOT = 0x04;
constexpr char ASCII_STX = 0x02;
constexpr char ASCII_ETX = 0x03;
constexpr char ASCII_ENQ = 0x05;
constexpr char ASCII_ACK = 0x06;
constexpr char ASCII_NAK = 0x15;

// The longest frame with its checksum that the controller takes.
constexpr std::size_t ASCII_MAX_FRAME = 63;
constexpr int REPLY_FIELD_COUNT = 30;
constexpr std::size_t REPLY_BUFFER_SIZE = 256;

// The XOR of the bytes of `body`.
unsigned char AsciiChecksum(const std::string& body);

// Sets the spindle speed (rpm) through the machine parameters: the machine-
// parameter dialog installs it; without one the speed code stays as it is.
extern void (*g_SpindleSpeedSetter)(float rpm);

class CAsciiLink {
public:
    std::array<int, 3> m_HomingStarted{};  // X, Y, Z binary homing sent
    std::string m_Frame;
    std::string m_Body;
    unsigned char m_Checksum = 0;
    int m_PortOpen = 0;
    int m_DefaultSpeed = 0;
    int m_JobCode = 0;
    // g_MachineX, Y, Z, then the binary road's idle flags (3 to 5) and busy
    // flag (10); a "zz" reply fills them in order.
    std::array<std::int32_t, REPLY_FIELD_COUNT> m_ReplyFields{};
    int m_PortState = -1;
    std::array<std::string, 2> m_SavedFrames;
    std::array<unsigned char, 2> m_SavedChecksums{};
    int m_CurrentSlot = 0;
    int m_ToolDown = 0;
    int m_PositionPollOff = 0;
    int m_ZZReceived = 0;
    std::array<int, 3> m_PSReceived{};
    int m_AwaitedPSAxis = 0;
    int m_MPReceived = 0;
    int m_IDReceived = 0;
    int m_AckFlag = 0;
    std::string m_ReplyCode = "  ";
    std::string m_ZZText;  // at most 20 characters kept
    std::array<float, 3> m_PSValues{};
    std::string m_MPText;  // at most 9 characters kept
    std::string m_IDText;  // at most 9 characters kept
    // An unfinished reply frame kept between reads, and the reads spent on it.
    std::string m_ReplyBuffer;
    int m_ReplyAttempts = 0;
    // Binary homing in progress (a second request meanwhile does nothing).
    int m_ZHomingRunning = 0;
    int m_XYHomingRunning = 0;
    // How long a query reply may take to complete after the fixed pause.
    unsigned m_ReplyTimeoutMs = 100;

    // ---- Port level (ASCII road only; 0 on the binary road) ----
    int WriteBytes(const void* buf, unsigned n);
    unsigned ReadBytes(void* buf, unsigned n);
    // Reads the queued bytes, at most size - 1, and ends them with a 0.
    unsigned ReadAvailable(char* buf, unsigned size);
    void Drain();

    // ---- Sending ----
    int Send();
    int SendQuery();
    int SendText(int digit, const char* text);
    static unsigned char Checksum(const char* body);

    // ---- Builders ----
    // Any command of the language: `code` is the two-digit frame code,
    // `letters` and `params` the body before its terminator.
    const char* BuildCommand(const char* code, const char* letters, const std::string& params,
                             bool query);
    const char* CmdHS1(float z);
    const char* CmdHS2(float x, float y);
    const char* CmdHS3(float x, float y, float z);
    const char* CmdSP1(float z);
    const char* CmdSP2(float x, float y);
    const char* CmdSP3(float x, float y, float z);
    const char* CmdOutput(int output, int state);
    const char* CmdVA2(float x, float y);
    const char* CmdVA3(float x, float y, float z);
    const char* CmdMA1(float z);
    const char* CmdMA2(float x, float y);
    const char* CmdMA3(float x, float y, float z);
    const char* CmdMR2(float x, float y);
    const char* CmdMR3(float x, float y, float z);
    const char* CmdST3();
    const char* CmdHM1();
    const char* CmdHM2();
    const char* CmdDL3();
    const char* CmdEL3();
    const char* CmdCO();
    const char* CmdCT();
    const char* CmdCA(float centreX, float centreY, float angle);
    const char* CmdAC1(float value);
    const char* CmdAC2(float value);
    const char* CmdEB(int on);
    const char* CmdLM(int digit);
    const char* CmdER(int digit);
    const char* CmdZZ();
    int CmdMP();
    int CmdPS(int digit);
    int CmdID();
    void SetDefaultSpeed();
    void SetSpeed(float mmPerSecond);

    // ---- Replies and readiness ----
    int ReadReply();
    bool IsReady();
    // 1 ready, 0 busy, -1 when the controller gave no answer at all.
    int ReadyState();
    bool CheckConnected();
    bool WaitAck();
    int ParseZZReply(const char* text);
    int SaveFrame();
    int ResendSaved();

    // ---- Detection ----
    // Opens the port of g_ComPortIndex and finds which controller answers.
    int OpenPort();
    // Tries the configured port, then every other one; on success the port
    // that answered becomes g_ComPortIndex, on failure it is kept.
    int OpenAnyPort();
    // Closes the port and forgets the controller's port.
    void ClosePort();
    // The controller is gone: its line hung up, a write could not go out, a
    // wait heard nothing from it, or it refused or garbled a frame past the
    // resend limit. The abort flag stops the running work, the port is closed
    // so that nothing more is sent until detection finds the controller
    // again, and the operator is told once. Does nothing during detection,
    // whose probes fail as a matter of course.
    void ControllerLost();
    // 1 while OpenPort probes the line.
    int m_Detecting = 0;

private:
    bool AsciiRoad() const;
    const char* Build(const char* code, const std::string& body, bool query);
    const char* BuildMove(const char* code, const char* letters, const std::string& params);
    // ControllerLost when the port reported that its line hung up.
    void NoticeHangUp();
    std::string ReadQueuedText(std::size_t limit);
    std::string AwaitReplyText(unsigned pauseMs);
    int ReadReplyStep();
    int ReadReplyBinary();
    void OutputBinary(int output, int state);
    void SpindleOnBinary();
    void SpindleOffBinary();
    void HomeZBinary();
    void HomeXYBinary();
    bool WaitIdleForMove(unsigned char axisMask);
    // Sets the line up for one detection attempt; on failure the port is
    // closed and the operator told why.
    bool SetUpLine(const char* name, int index, unsigned baud);
};

// The port names the program offers, "COM1" to "COM10".
const char* ComPortName(int index);
