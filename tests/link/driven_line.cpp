#include "driven_line.h"

#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

// How long in real time the ends may take to pass bytes on before the test
// gives up on them: far above anything a loaded machine needs.
constexpr auto kRealLimit = std::chrono::seconds(60);

}  // namespace

void CDrivenLine::Attach(CSimLineEnd& end)
{
    Detach(end);
    m_Lines.push_back({&end, end.PortPath()});
}

void CDrivenLine::Detach(CSimLineEnd& end)
{
    m_Lines.erase(std::remove_if(m_Lines.begin(), m_Lines.end(),
                                 [&end](const Line& line) { return line.end == &end; }),
                  m_Lines.end());
}

CDrivenLine::Line* CDrivenLine::Find(const std::string& path)
{
    for (Line& line : m_Lines) {
        if (line.path == path)
            return &line;
    }
    return nullptr;
}

void CDrivenLine::Wrote(const CSerialPort& port, std::size_t n)
{
    if (Line* line = Find(port.DevicePath()))
        line->wrote += n;
}

void CDrivenLine::Took(const CSerialPort& port, std::size_t n)
{
    if (Line* line = Find(port.DevicePath()))
        line->took += n;
}

CSimLineEnd::Account CDrivenLine::SettleLine(Line& line)
{
    const auto giveUp = std::chrono::steady_clock::now() + kRealLimit;
    for (int waitMs = 0;; waitMs = 1) {
        CSimLineEnd::Account account = line.end->Serve(waitMs);
        if (account.gone)
            return account;
        const bool heard = account.heard >= line.wrote;
        const bool arrived = account.said == line.took + account.waiting;
        if (heard && arrived)
            return account;
        if (std::chrono::steady_clock::now() > giveUp) {
            ADD_FAILURE() << line.path << ": the line did not settle (heard " << account.heard
                          << " of " << line.wrote << ", said " << account.said << ", arrived "
                          << line.took + account.waiting << ")";
            account.gone = true;  // taken for gone: nothing more is waited for
            return account;
        }
    }
}

void CDrivenLine::Settle()
{
    for (Line& line : m_Lines)
        SettleLine(line);
}

void CDrivenLine::BeforePurge(CSerialPort& port)
{
    Line* line = Find(port.DevicePath());
    if (!line)
        return;
    // What the end said by now arrives before the purge throws it away.
    CSimLineEnd::Account account = SettleLine(*line);
    if (!account.gone)
        line->took += account.waiting;
}

bool CDrivenLine::WaitForInput(CSerialPort& port, unsigned timeoutMs)
{
    Line* line = Find(port.DevicePath());
    if (!line) {
        ADD_FAILURE() << port.DevicePath() << " has no simulated end on the line";
        return false;
    }
    const std::uint32_t start = m_Host.GetTickCount();
    const auto giveUp = std::chrono::steady_clock::now() + kRealLimit;
    for (;;) {
        switch (port.PollInput(0)) {
        case ELineEvent::Input: return true;
        case ELineEvent::Gone: return false;
        case ELineEvent::Nothing: break;
        }
        const CSimLineEnd::Account account = SettleLine(*line);
        if (account.gone) {
            // The end closed the line: the hang-up shows on the port.
            if (port.PollInput(1) == ELineEvent::Gone)
                return false;
            if (std::chrono::steady_clock::now() > giveUp) {
                ADD_FAILURE() << line->path << ": the end went away but the line stays up";
                return false;
            }
            continue;
        }
        if (account.waiting > 0)
            continue;
        // The end has nothing more to say by now: the clock goes on to its
        // next reply, or to the deadline.
        const std::uint32_t spent = m_Host.GetTickCount() - start;
        const double due = account.nextDueMs - static_cast<double>(m_Host.GetTickCount());
        if (due <= static_cast<double>(timeoutMs - spent)) {
            m_Host.Advance(static_cast<unsigned>(std::max(0.0, std::ceil(due))));
            continue;
        }
        if (spent < timeoutMs)
            m_Host.Advance(timeoutMs - spent);
        return false;
    }
}
