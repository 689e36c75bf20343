#include "sim_upload.h"

#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

CUploadControllerSim::~CUploadControllerSim() { Stop(); }

bool CUploadControllerSim::Start()
{
    Stop();
    if (!m_Pty.Open())
        return false;
    m_Heard = m_Said = 0;
    m_Stop = false;
    m_Thread = std::thread([this] { Run(); });
    return true;
}

void CUploadControllerSim::Stop()
{
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stop = true;
    }
    if (m_Thread.joinable())
        m_Thread.join();
    m_Pty.Close();
}

void CUploadControllerSim::RefuseNext(int n)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Refuse = n;
}

void CUploadControllerSim::IgnoreNext(int n)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Ignore = n;
}

void CUploadControllerSim::StayAsleep(bool asleep)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Asleep = asleep;
}

void CUploadControllerSim::SetPacketSink(std::function<void(const Packet&)> sink)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Sink = std::move(sink);
}

std::string CUploadControllerSim::Describe(const Packet& packet)
{
    float values[3];
    std::memcpy(values, packet.record.data(), sizeof values);
    char text[160];
    std::snprintf(text, sizeof text, "%s #%u kind 0x%02X %g %g %g", 
                  packet.command == 0x6C ? "move" : "record", packet.number, packet.record[15],
                  values[0], values[1], values[2]);
    return text;
}

std::vector<CUploadControllerSim::Packet> CUploadControllerSim::Packets()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Packets;
}

int CUploadControllerSim::Wakes()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Wakes;
}

int CUploadControllerSim::HomeBytes()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_HomeBytes;
}

int CUploadControllerSim::RunBytes()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_RunBytes;
}

void CUploadControllerSim::Run()
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            if (m_Stop)
                return;
        }
        Serve(5);
    }
}

CSimLineEnd::Account CUploadControllerSim::Serve(int waitMs)
{
    if (waitMs > 0) {
        pollfd p{m_Pty.master, POLLIN, 0};
        ::poll(&p, 1, waitMs);
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    unsigned char buf[256];
    for (;;) {
        const ssize_t got = ::read(m_Pty.master, buf, sizeof buf);
        if (got <= 0)
            break;
        m_Heard += static_cast<std::size_t>(got);
        for (ssize_t i = 0; i < got; ++i)
            Handle(buf[i]);
    }
    Account account;
    account.heard = m_Heard;
    account.said = m_Said;
    account.waiting = m_Pty.Waiting();
    return account;
}

void CUploadControllerSim::Answer(unsigned char b)
{
    if (::write(m_Pty.master, &b, 1) == 1)
        ++m_Said;
    // Otherwise the program side went away; nothing to answer.
}

void CUploadControllerSim::Handle(unsigned char b)
{
    if (!m_Pending.empty()) {
        m_Pending.push_back(b);
        if (m_Pending.size() < 21)
            return;
        Packet packet;
        packet.wire = m_Pending;
        packet.command = m_Pending[0];
        packet.number = m_Pending[2] | (m_Pending[3] << 8);
        std::memcpy(packet.record.data(), &m_Pending[4], 16);
        packet.checksum = m_Pending[20];
        m_Pending.clear();
        unsigned sum = 0;
        for (int i = 2; i < 20; ++i)
            sum += packet.wire[static_cast<std::size_t>(i)];
        const auto expected = static_cast<unsigned char>(sum & 0xFF);
        if (m_Ignore > 0) {
            --m_Ignore;
            return;
        }
        if (m_Refuse > 0) {
            --m_Refuse;
            Answer(static_cast<unsigned char>(expected + 1));
            return;
        }
        if (packet.wire[1] != 0xAA || packet.checksum != expected) {
            Answer(static_cast<unsigned char>(expected + 1));
            return;
        }
        m_Packets.push_back(packet);
        Answer(expected);
        if (m_Sink)
            m_Sink(packet);
        return;
    }
    switch (b) {
    case 0xE8:
    case 0x6C:
        m_PrevWake = false;
        m_Pending.push_back(b);
        return;
    case 0xF0:
        if (m_PrevWake) {
            m_PrevWake = false;
            ++m_Wakes;
            if (!m_Asleep)
                Answer(0xF0);
        } else {
            m_PrevWake = true;
        }
        return;
    case 0xEC:
        ++m_RunBytes;
        if (m_Sink)
            m_Sink(Packet{0xEC, 0, {}, 0, {0xEC}});
        break;
    case 0xEB:
        ++m_HomeBytes;
        break;
    default:
        break;
    }
    m_PrevWake = false;
}
