// The third controller family on a pseudo-terminal: it wakes on F0 F0 (one
// byte back), takes program records and moves as packets (a command byte,
// 0xAA, the record number, 16 record bytes, a checksum) and answers each
// with its checksum, and notes the run (0xEC) and home (0xEB) bytes. A test
// can make it refuse (a wrong answer) or ignore packets, or stay asleep.
#pragma once

#include "sim_pty.h"

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CUploadControllerSim : public CSimLineEnd {
public:
    struct Packet {
        unsigned char command = 0;
        unsigned number = 0;
        std::array<unsigned char, 16> record{};
        unsigned char checksum = 0;
        // The 21 bytes as they came.
        std::vector<unsigned char> wire;
    };

    CUploadControllerSim() = default;
    ~CUploadControllerSim() override;
    CUploadControllerSim(const CUploadControllerSim&) = delete;
    CUploadControllerSim& operator=(const CUploadControllerSim&) = delete;

    bool Start();
    void Stop();
    const std::string& PortPath() const override { return m_Pty.path; }
    Account Serve(int waitMs) override;

    // The next `n` packets answered with a wrong byte, or not at all.
    void RefuseNext(int n);
    void IgnoreNext(int n);
    // No answer to the wake bytes (the controller is in teach mode).
    void StayAsleep(bool asleep);

    // Called with every packet accepted (from the controller's thread).
    void SetPacketSink(std::function<void(const Packet&)> sink);
    // One line of text for a packet: its number, kind and three values.
    static std::string Describe(const Packet& packet);

    std::vector<Packet> Packets();
    int Wakes();
    int RunBytes();
    int HomeBytes();

private:
    void Run();
    void Handle(unsigned char b);
    void Answer(unsigned char b);

    CSimPty m_Pty;
    std::thread m_Thread;
    bool m_Stop = false;
    std::mutex m_Mutex;
    std::size_t m_Heard = 0;  // bytes read from the line since the start
    std::size_t m_Said = 0;   // bytes written to it
    std::vector<Packet> m_Packets;
    std::function<void(const Packet&)> m_Sink;
    std::vector<unsigned char> m_Pending;  // a packet being received
    bool m_PrevWake = false;
    int m_Wakes = 0;
    int m_RunBytes = 0;
    int m_HomeBytes = 0;
    int m_Refuse = 0;
    int m_Ignore = 0;
    bool m_Asleep = false;
};
