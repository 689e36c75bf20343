#include "sim_tool_rack.h"

#include <cstdlib>

int CSimToolRack::SlotAt() const
{
    for (int s = 1; s <= 8; ++s) {
        const Slot& slot = slots[static_cast<std::size_t>(s)];
        if (slot.x == m_X && slot.y == m_Y && slot.z == m_Z)
            return s;
    }
    return 0;
}

void CSimToolRack::Replay(const std::vector<std::string>& log)
{
    for (; m_Done < log.size(); ++m_Done) {
        const std::string& line = log[m_Done];
        if (line.rfind("33 MA", 0) == 0) {
            const char* text = line.c_str() + 5;
            char* end = nullptr;
            m_X = static_cast<std::int32_t>(std::strtod(text, &end));
            if (*end == ',')
                m_Y = static_cast<std::int32_t>(std::strtod(end + 1, nullptr));
        } else if (line.rfind("22 MA", 0) == 0) {
            m_Z = static_cast<std::int32_t>(std::strtod(line.c_str() + 5, nullptr));
        } else if (line == "22 O11" || line == "22 O10") {
            const bool open = line == "22 O11";
            if (open == m_ClampOpen)
                continue;
            m_ClampOpen = open;
            const int s = SlotAt();
            std::string where = s ? "at slot " + std::to_string(s) : "off the rack";
            events.push_back((open ? "open " : "close ") + where);
            if (!s)
                continue;
            Slot& slot = slots[static_cast<std::size_t>(s)];
            if (open && spindleTool) {
                slot.holdsTool = true;
                spindleTool = 0;
            } else if (!open && slot.holdsTool && !spindleTool) {
                slot.holdsTool = false;
                spindleTool = s;
            }
        }
    }
}
