// The simulator's record of what was cut: every XY move made while the
// spindle runs and Z stands at or below the cutting level, as the line or
// the arc the controller executed, numbered by the plunge that began its
// chain. A test compares it with the paths the job was given.
#include "controller_simulator.h"

void CControllerSimulator::NoteArc(double centreX, double centreY, double sweep)
{
    m_PendingArc = true;
    m_ArcCentre = {centreX, centreY};
    m_ArcSweep = sweep;
}

void CControllerSimulator::NoteCutting(const std::array<std::int64_t, 4>& target,
                                       std::array<bool, 4> axes, double now)
{
    const bool arc = m_PendingArc;
    m_PendingArc = false;
    if (!m_RecordCuts || !SpindleRunning())
        return;
    const std::int32_t x = PositionOf(0, now), y = PositionOf(1, now), z = PositionOf(2, now);
    if (axes[2] && z < m_CutLevel && target[2] >= m_CutLevel)
        ++m_Plunges;
    if (z < m_CutLevel || !(axes[0] || axes[1]))
        return;
    const auto toX = static_cast<std::int32_t>(axes[0] ? target[0] : x);
    const auto toY = static_cast<std::int32_t>(axes[1] ? target[1] : y);
    if (toX == x && toY == y && !arc)
        return;
    ToolPathMove cut;
    cut.from = {x, y};
    cut.to = {toX, toY};
    cut.arc = arc;
    cut.centre = m_ArcCentre;
    cut.sweep = arc ? m_ArcSweep : 0.0;
    cut.plunge = m_Plunges;
    m_ToolPath.push_back(cut);
}

void CControllerSimulator::SetCutLevel(std::int32_t level)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_CutLevel = level;
    m_RecordCuts = true;
}

std::vector<CControllerSimulator::ToolPathMove> CControllerSimulator::ToolPath()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_ToolPath;
}

int CControllerSimulator::Plunges()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Plunges;
}

void CControllerSimulator::ClearToolPath()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_ToolPath.clear();
    m_Plunges = 0;
}
