// The simulator's record of drilled holes, so a test can compare the holes
// a job drilled with the holes it was given.
#include "controller_simulator.h"

void CControllerSimulator::NoteDrilling(const std::array<std::int64_t, 4>& target,
                                        std::array<bool, 4> axes, double now)
{
    const std::int32_t x = PositionOf(0, now), y = PositionOf(1, now);
    if ((axes[0] && target[0] != x) || (axes[1] && target[1] != y))
        m_TableMovedSinceHole = true;
    if (!m_RecordDrilling || !axes[2] || !m_TableMovedSinceHole)
        return;
    if (PositionOf(2, now) < m_DrillLevel && target[2] >= m_DrillLevel) {
        m_Drilled.push_back({x, y});
        m_TableMovedSinceHole = false;
    }
}

bool CControllerSimulator::SpindleRunning() const
{
    return m_Kind == Kind::Binary ? (m_Outputs & 0x02) != 0 : m_AsciiOutputs[7] != 0;
}

void CControllerSimulator::SetDrillLevel(std::int32_t level)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_DrillLevel = level;
    m_RecordDrilling = true;
}

std::vector<std::array<std::int32_t, 2>> CControllerSimulator::DrilledPositions()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Drilled;
}

void CControllerSimulator::ClearDrilledPositions()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Drilled.clear();
    m_TableMovedSinceHole = true;
}
