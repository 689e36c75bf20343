// The binary framed controller link: every command is one short frame
// (0xFF, checksum, command byte, big-endian payload) answered by 0xF0, and
// queries then send a fixed-length answer. The object also owns the serial
// port that the ASCII link shares.
#pragma once

#include "link/serial_port.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// The accepting answer to a frame; any other byte asks for it again.
constexpr unsigned char BIN_ACK = 0xF0;

// A frame as it goes on the wire. `argSum` is the byte sum of every argument
// taken as a 32-bit value, which the checksum adds to the command byte.
std::vector<unsigned char> BuildBinFrame(unsigned char command, const unsigned char* payload,
                                         std::size_t payloadLength, std::uint32_t argSum);
// The frames of the command widths.
std::vector<unsigned char> BinFrameNone(unsigned char command);
std::vector<unsigned char> BinFrame8(unsigned char command, std::int32_t value);
std::vector<unsigned char> BinFrame16(unsigned char command, std::int32_t value);
std::vector<unsigned char> BinFrame24(unsigned char command, std::int32_t value);
std::vector<unsigned char> BinFrame32(unsigned char command, const std::int32_t* values,
                                      int count);
std::vector<unsigned char> BinFrame4x16(unsigned char command, const std::int32_t values[4]);
// The 24-bit rate value of a frequency: truncate(8,000,000 / f).
std::int32_t BinRateValue(float frequency);

class CBinLink {
public:
    std::uint32_t m_LastError = 0;
    CSerialPort m_Port;
    int m_AbsoluteMode = 0;
    std::uint16_t m_OutputWord = 0x1111;
    std::int32_t m_PosX = 0;
    std::int32_t m_PosY = 0;
    std::int32_t m_PosZ = 0;
    std::int32_t m_Pos4 = 0;

    // How long an acknowledgement or an answer may take to arrive.
    unsigned m_ReadTimeoutMs = 300;
    // How long a wait for the axes to come to rest may last, and how long the
    // controller may stay silent during it, before the wait fails.
    unsigned m_IdleTimeoutMs = 600000;
    unsigned m_SilenceTimeoutMs = 2000;
    // Attempts of the spindle check before the spindle is given up.
    int m_SpindleCheckLimit = 5;

    CBinLink() = default;
    ~CBinLink() = default;
    CBinLink(CBinLink&&) = default;
    CBinLink& operator=(CBinLink&&) = default;

    // Port level.
    int Open(const char* portName);
    int OpenAndProbe(const char* portName);
    unsigned Read(unsigned char* buf, unsigned n);
    unsigned Write(const void* buf, unsigned n);
    unsigned WriteByte(unsigned char b);

    // The frame senders of every width; 1 when the frame was accepted.
    int CommandNone(unsigned char command);
    int Command8(unsigned char command, std::int32_t value);
    int Command16(unsigned char command, std::int32_t value);
    int Command24Rate(unsigned char command, float frequency);
    int Command32(unsigned char command, std::int32_t value);
    // A one-byte query; the byte or 0 on failure, `ok` says which.
    unsigned char QueryByte(unsigned char command, bool* ok = nullptr);

    // Per-axis settings.
    int SetSpeedX(int v) { return Command16(0x1B, v); }
    int SetSpeedY(int v) { return Command16(0x1C, v); }
    int SetSpeedZ(int v) { return Command16(0x1D, v); }
    int SetRateX(float f) { return Command24Rate(0x0C, f); }
    int SetRateY(float f) { return Command24Rate(0x0D, f); }
    int SetRateZ(float f) { return Command24Rate(0x0E, f); }
    int Cmd02(int v) { return Command16(0x02, v); }
    int Cmd03(int v) { return Command16(0x03, v); }
    int Cmd04(int v) { return Command16(0x04, v); }
    int Cmd05(int v) { return Command16(0x05, v); }
    int Cmd12(int v) { return Command16(0x12, v); }
    int Cmd13(int v) { return Command16(0x13, v); }
    int Cmd14(int v) { return Command16(0x14, v); }
    int Cmd18(int v) { return Command16(0x18, v); }
    int Cmd19(int v) { return Command16(0x19, v); }
    int Cmd1A(int v) { return Command16(0x1A, v); }
    int Cmd1F(int v) { return Command16(0x1F, v); }
    int Cmd20(int v) { return Command8(0x20, v); }
    int CmdLess() { return CommandNone('<'); }
    int CmdSeven() { return CommandNone('7'); }
    int CmdEquals(std::int32_t v) { return Command32('=', v); }
    int Reset() { return CommandNone('?'); }
    int HomeStartX() { return CommandNone(0x27); }
    int HomeStartY() { return CommandNone('('); }
    int HomeStartZ() { return CommandNone(')'); }
    // The homing profile: four 16-bit values.
    int CmdColon(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d);
    void SetAbsoluteMode(int on) { m_AbsoluteMode = on; }

    // Outputs.
    int WriteOutputs();
    int SetOutputBit(int group, int bit, bool on);
    int SpindleOnPulse();
    int SpindleOffPulse();

    // Position counters and moves.
    int SetPosX(std::int32_t v);
    int SetPosY(std::int32_t v);
    int SetPosZ(std::int32_t v);
    int MoveXTo(std::int32_t target);
    int MoveYTo(std::int32_t target);
    int MoveZTo(std::int32_t target);
    int Move4To(std::int32_t target);
    int MoveXBy(std::int32_t distance);
    int MoveYBy(std::int32_t distance);
    int MoveZBy(std::int32_t distance);
    int LineMoveXY(std::int32_t x, std::int32_t y);
    int LineMove80(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    int LineMove82(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
    int LoadAxisParam10(int mask, std::int32_t value) { return LoadAxisParam(mask, value, 10); }
    int LoadAxisParam11(int mask, std::int32_t value) { return LoadAxisParam(mask, value, 11); }
    int LoadAxisParam12(int mask, std::int32_t value) { return LoadAxisParam(mask, value, 12); }

    // Queries.
    unsigned char QueryStatus() { return QueryByte('2'); }
    int ReadPosition(std::int32_t* x, std::int32_t* y, std::int32_t* z);
    int ReadPosition4(std::int32_t* x, std::int32_t* y, std::int32_t* z, std::int32_t* a);
    int QueryGreater(std::int32_t* value);
    unsigned char ReadInputs4() { return QueryByte('4'); }
    unsigned char ReadInputs5() { return QueryByte('5'); }
    unsigned char ReadInputs6() { return QueryByte('6'); }
    // The axis-moving bits; 0xFF (all moving) when the query fails.
    unsigned char QueryDone(bool* answered = nullptr);
    bool IsXIdle() { return (QueryDone() & 0x01) == 0; }
    bool IsYIdle() { return (QueryDone() & 0x02) == 0; }
    bool IsZIdle() { return (QueryDone() & 0x04) == 0; }
    // Reads the status until it answers non-zero (at most 100 times) and
    // tests `mask`; a status that stays 0 or silent sets the abort flag.
    bool StatusBit(unsigned char mask) { return (StatusByte() & mask) != 0; }
    unsigned char StatusByte();
    int UpdatePositionIfIdle();
    int CheckCable();

    // Waits, pumping messages, until the axes of `axisMask` (bit 0 X, 1 Y,
    // 2 Z) rest. Ends false on STOP, on the deadline, or when the controller
    // stays silent.
    bool WaitAxesIdle(unsigned char axisMask);
    // Waits the same way until UpdatePositionIfIdle succeeds.
    bool WaitPositionIdle();
    // Polls `done` with messages pumped between polls until it returns true
    // (then true), or until STOP, the idle deadline, or a silence longer than
    // the silence limit (`done` reports whether the controller answered).
    bool WaitUntil(const std::function<bool(bool* answered)>& done) const;
    // Sleeps `milliseconds` with messages pumped; false when STOP ended it.
    static bool PumpedSleep(unsigned milliseconds);

private:
    int SendFrame(const std::vector<unsigned char>& frame, int limit, bool strictLimit = false);
    int SendFrames32(unsigned char command, const std::int32_t* values, int count);
    int StepMove(unsigned char positive, unsigned char negative, std::int32_t distance,
                 std::int32_t* stored);
    int LoadAxisParam(int mask, std::int32_t value, int subCode);
    int ReadBlock(unsigned char command, std::int32_t* values, int count);
    int TwoSegmentMove(unsigned char command, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                       std::int32_t y2);
};
