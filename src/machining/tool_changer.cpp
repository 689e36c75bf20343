// The automatic tool changer's moves and table.
#include "machining/tool_changer.h"

#include "link/link_state.h"
#include "machining/homing.h"
#include "machining/plunge_speed.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "records/planner_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// The approach to a slot keeps this far (pulses) in front of it in Y.
constexpr float kApproachY = 6000.0f;
// Above the slot (pulses) where the spindle slows down for the last part.
constexpr float kSlotClearance = 1000.0f;

void SendNow() { g_MachineLink.Send(); }

// A move of X and Y, its settling pause and the wait; false on STOP.
bool MoveXY(float x, float y)
{
    g_MachineLink.CmdMA2(x, y);
    SendNow();
    Host().Sleep(20);
    return AwaitReady() && !g_AbortFlag;
}

bool MoveZ(float z)
{
    g_MachineLink.CmdMA1(z);
    SendNow();
    return AwaitReady() && !g_AbortFlag;
}

void ZSpeed(float pulsesPerSecond, unsigned pauseMs)
{
    g_MachineLink.CmdSP1(pulsesPerSecond);
    SendNow();
    Host().Sleep(pauseMs);
}

// Waits until the controller reads Z at `z`, reading the position; ends
// on STOP, on silence or on the move deadline.
bool WaitForZ(std::int32_t z)
{
    const EWaitEnd end = WaitMachine(
        [z] {
            if (!ReadPositionReply(20))
                return EPoll::NoAnswer;
            return g_MachineZ == z ? EPoll::Done : EPoll::Waiting;
        },
        CWaitLimits{kMoveDeadlineMs, 2000, 10});
    if (end == EWaitEnd::Silent)
        g_MachineLink.ControllerLost();
    else if (end == EWaitEnd::Deadline)
        g_AbortFlag = 1;
    return end == EWaitEnd::Done;
}

// The clamp of the spindle (output 1: open while on) and the record of the
// spindle's slot, with nothing between them.
void SwitchClamp(bool open, int slotAfter)
{
    g_MachineLink.CmdOutput(1, open ? 1 : 0);
    SendNow();
    RegSetInt("toolnum", slotAfter);
}

void Stop(unsigned message, const std::string& argument = {})
{
    std::string text = LoadResString(message);
    if (!argument.empty()) {
        char buffer[300];
        std::snprintf(buffer, sizeof buffer, text.c_str(), argument.c_str());
        text = buffer;
    }
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
    g_AbortFlag = 1;
}

bool ValidSlot(int slot) { return slot >= 1 && slot <= CAtcToolTable::kRows; }

}  // namespace

bool ReadToolSlot(int* slot)
{
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) != ERROR_SUCCESS)
        return false;
    std::int32_t value = 0;
    const bool found = key.ReadInt("toolnum", value) == ERROR_SUCCESS;
    key.Close();
    if (found)
        *slot = value;
    return found;
}

int FindToolSlotBySize(CAtcToolTable& table, int number)
{
    for (int row = 1; row <= CAtcToolTable::kRows; ++row) {
        const std::string& text = table.Number(row);
        if (text.find_first_not_of(' ') != std::string::npos && std::atoi(text.c_str()) == number)
            return row;
    }
    return 0;
}

int FindToolSlotByName(CAtcToolTable& table, const std::string& text)
{
    for (int row = 1; row <= CAtcToolTable::kRows; ++row) {
        const std::string& name = table.Name(row);
        // A blank row names nothing.
        if (name.find_first_not_of(' ') == std::string::npos)
            continue;
        const std::size_t at = text.find(name);
        if (at != std::string::npos && at > 0)
            return row;
    }
    return 0;
}

int AtcReturnTool()
{
    if (g_AbortFlag)
        return 0;
    int slot = 0;
    if (!ReadToolSlot(&slot)) {
        AfxMessageBox(LoadResString(IDS_TOOL_SLOTS_LOST));
        slot = 1;
    }
    if (slot == 0)
        return 1;
    if (!ValidSlot(slot)) {
        Stop(IDS_SPINDLE_SLOT_UNKNOWN);
        return 0;
    }
    const CToolSlot& at = g_ToolChangerPositions[static_cast<std::size_t>(slot)];
    if (!MoveXY(at.x, at.y - kApproachY) || !MoveXY(at.x, at.y))
        return 0;
    g_MachineLink.CmdDL3();
    SendNow();
    ZSpeed(2000.0f, 30);
    if (!MoveZ(at.z - kSlotClearance))
        return 0;
    ZSpeed(600.0f, 30);
    // The clamp may open only with the tool seated in its slot.
    if (!MoveZ(at.z))
        return 0;
    SwitchClamp(true, 0);
    Host().Sleep(100);
    ZSpeed(2000.0f, 30);
    g_MachineLink.CmdMA1(0.0f);
    SendNow();
    Host().Sleep(20);
    if (!WaitForZ(0) || !AwaitReady() || g_AbortFlag)
        return 0;
    return MoveXY(at.x, at.y - kApproachY) ? 1 : 0;
}

int AtcFetchTool(int slot)
{
    if (g_AbortFlag)
        return 0;
    if (!ValidSlot(slot)) {
        Stop(IDS_SPINDLE_SLOT_UNKNOWN);
        return 0;
    }
    int recorded = 0;
    const bool known = ReadToolSlot(&recorded);
    g_MachineLink.CmdOutput(1, 1);
    SendNow();
    if (known && recorded != 0)
        AfxMessageBox(LoadResString(IDS_TOOL_IN_SPINDLE));
    const CToolSlot& at = g_ToolChangerPositions[static_cast<std::size_t>(slot)];
    if (!MoveXY(at.x, at.y - kApproachY) || !MoveXY(at.x, at.y))
        return 0;
    g_MachineLink.CmdDL3();
    SendNow();
    ZSpeed(10.0f * g_ZPulsesPerMM, 30);
    if (!MoveZ(at.z))
        return 0;
    SwitchClamp(false, slot);
    Host().Sleep(100);
    g_MachineLink.CmdSP1(2000.0f);
    SendNow();
    const float above = at.z - kSlotClearance;
    g_MachineLink.CmdMA1(above);
    SendNow();
    if (!WaitForZ(static_cast<std::int32_t>(above)) || !AwaitReady() || g_AbortFlag)
        return 0;
    Host().Sleep(30);
    if (!MoveZ(0.0f))
        return 0;
    if (!MoveXY(at.x, at.y - kApproachY))
        return 0;
    RegSetInt("toolnum", slot);
    return 1;
}

void ShowToolTable(CAtcToolTable& table, const COwnedList<CClearRegion>& regions)
{
    table.ClearRows();
    table.SetUnits("mil", "mm", "mm/s");
    int row = 1;
    const auto fill = [&](const std::string& name, float speed, float depth) {
        if (row > CAtcToolTable::kRows)
            return;
        table.Number(row) = std::to_string(row);
        table.Name(row) = name;
        table.Speed(row) = speed;
        table.Depth(row) = depth;
        ++row;
    };
    fill(LoadResString(IDS_ENGRAVING_CUTTER), g_EngraveSpeed, g_EngraveDepth);
    // The routing cutter keeps the last row, however many steps there are.
    std::int32_t previous = 0;
    for (const auto& region : regions) {
        if (region->step == previous)
            continue;
        previous = region->step;
        if (row >= CAtcToolTable::kRows)
            break;
        char name[64];
        std::snprintf(name, sizeof name, LoadResString(IDS_MILLING_CUTTER).c_str(),
                      static_cast<int>(region->step));
        fill(name, g_ParamM19, g_EngraveDepth);
    }
    fill(LoadResString(IDS_ROUTING_CUTTER), g_RouteSpeed, g_RouteDepth);
    table.DoModal();
}

int AtcDrillTool(CAtcToolTable& table, const std::string& prompt,
                 const COwnedList<CDrillTool>& tools)
{
    const std::size_t t = prompt.find('T');
    if (t == std::string::npos) {
        Stop(IDS_TOOL_NOT_IN_TABLE, prompt);
        return 0;
    }
    const int number = std::atoi(prompt.c_str() + t + 1);
    const bool found = FindToolSlotBySize(table, number) != 0;
    if (!AtcReturnTool())
        return 0;
    if (!found) {
        // The rack is offered the job's drill tools, the wanted one first.
        std::vector<int> offered{number};
        for (const auto& tool : tools)
            if (!tool->holes.empty() && tool->toolNumber != number)
                offered.push_back(tool->toolNumber);
        table.ClearRows();
        table.SetUnits("mm", "mm", "mm/s");
        for (int row = 1; row <= CAtcToolTable::kRows && row <= static_cast<int>(offered.size());
             ++row) {
            const int tool = offered[static_cast<std::size_t>(row - 1)];
            table.Number(row) = std::to_string(tool);
            const float size =
                tool >= 0 && tool < DRILL_TOOL_SIZES ? g_ToolSizes[static_cast<std::size_t>(tool)] : 0.0f;
            const float mm = size * 0.0254f;
            if (size != 0.0f) {
                char name[32];
                std::snprintf(name, sizeof name, "%g", mm);
                table.Name(row) = name;
            }
            table.Speed(row) = DrillPlungeSpeed(mm);
            table.Depth(row) = g_DrillDepth;
        }
        table.DoModal();
    }
    if (g_AbortFlag)
        return 0;
    const int slot = FindToolSlotBySize(table, number);
    if (slot == 0) {
        Stop(IDS_TOOL_NOT_IN_TABLE, prompt);
        return 0;
    }
    if (!AtcFetchTool(slot))
        return 0;
    g_PlungeSpeed = table.Speed(slot);
    g_DrillDepth = table.Depth(slot);
    return 1;
}

int AtcExchangeTool(CAtcToolTable& table, const std::string& prompt)
{
    // Nothing is put back when nothing can be fetched.
    const int slot = FindToolSlotByName(table, prompt);
    if (slot == 0) {
        Stop(IDS_TOOL_NOT_IN_TABLE, prompt);
        return 0;
    }
    if (!AtcReturnTool() || !AtcFetchTool(slot))
        return 0;
    const std::size_t engraving = prompt.find(LoadResString(IDS_ENGRAVING_CUTTER));
    if (engraving != std::string::npos && engraving > 0)
        g_EngraveSpeed = table.Speed(slot);
    else
        g_ParamM19 = table.Speed(slot);
    g_EngraveDepth = table.Depth(slot);
    return 1;
}

int AtcManualExchange(CAtcToolTable& table)
{
    int slot = 0;
    if (!ReadToolSlot(&slot)) {
        Stop(IDS_SPINDLE_SLOT_UNKNOWN);
        return 0;
    }
    if (!AtcReturnTool())
        return 0;
    g_MachineLink.CmdHM2();
    SendNow();
    table.DoModal();
    if (slot == 0)
        return 1;
    return AtcFetchTool(slot);
}
