// The automatic tool changer's rack beside the simulated table: eight slots
// at fixed positions, and the spindle's clamp on output 1 (open while on).
// The rack follows what the ASCII controller was told, replaying its log:
// the clamp opening with the spindle seated in a slot leaves the tool
// there, closing it there takes the slot's tool.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CSimToolRack {
public:
    struct Slot {
        std::int32_t x = 0, y = 0, z = 0;
        bool holdsTool = false;
    };

    std::array<Slot, 9> slots{};  // 1 to 8 used
    // The slot the spindle's tool belongs in; 0 while the spindle is empty.
    int spindleTool = 0;
    // What happened, one line per clamp switch ("open at slot 3", "close at
    // slot 5", "open off the rack", "close off the rack").
    std::vector<std::string> events;

    // Follows the controller's log lines from where the last call stopped.
    void Replay(const std::vector<std::string>& log);

private:
    int SlotAt() const;
    std::size_t m_Done = 0;
    std::int32_t m_X = 0, m_Y = 0, m_Z = 0;
    bool m_ClampOpen = false;
};
