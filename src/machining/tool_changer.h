// The automatic tool changer of the ZELTA6 machine: a rack of eight slots at
// fixed machine positions (g_ToolChangerPositions, slots 1 to 8). The tool
// change puts the spindle's tool back into its slot and fetches the next
// one; which slot holds which tool is the tool-change table. The slot of the
// tool in the spindle is the registry value "toolnum" (0: no tool), written
// the moment the clamp opens in the rack or closes on a tool, so it follows
// the machine whenever STOP comes.
#pragma once

#include "platform/object_lists.h"

#include <string>

struct CClearRegion;
struct CDrillTool;

// The tool-change table's rows 1 to 8 as the changer reads and fills them;
// the view hands in the table dialog.
class CAtcToolTable {
public:
    static constexpr int kRows = 8;
    virtual ~CAtcToolTable() = default;
    virtual std::string& Number(int row) = 0;
    virtual std::string& Name(int row) = 0;
    virtual float& Speed(int row) = 0;
    virtual float& Depth(int row) = 0;
    // Number and name of every row blanked; speeds and depths stay.
    virtual void ClearRows() = 0;
    virtual void SetUnits(const char* size, const char* depth, const char* speed) = 0;
    // The table shown for the operator to edit.
    virtual int DoModal() = 0;
};

// The slot recorded in "toolnum"; false when the value is missing.
bool ReadToolSlot(int* slot);

// The row (1 to 8) whose number is `number` or whose name the text holds
// after its first character; 0 when no row does.
int FindToolSlotBySize(CAtcToolTable& table, int number);
int FindToolSlotByName(CAtcToolTable& table, const std::string& text);

// Each returns 1 when it ended as asked, 0 when STOP or a fault stopped it
// (the machine then stays where it is and the abort flag is set).
int AtcReturnTool();
int AtcFetchTool(int slot);
// The table filled from the job: the engraving cutter, a milling cutter
// per clearing step, the routing cutter; then shown.
void ShowToolTable(CAtcToolTable& table, const COwnedList<CClearRegion>& regions);
// Drill change by the tool number after the prompt's first "T". Without a
// row of that number the table is filled with the job's drill tools and
// shown first.
int AtcDrillTool(CAtcToolTable& table, const std::string& prompt,
                 const COwnedList<CDrillTool>& tools);
// Cutter change by the cutter the prompt names.
int AtcExchangeTool(CAtcToolTable& table, const std::string& prompt);
// The tool put back, X and Y homed, the table shown, the same slot fetched.
int AtcManualExchange(CAtcToolTable& table);
