// The view's entries to the automatic tool changer (machining/
// tool_changer.h): the tool-change table dialog handed in as the rack's
// table, the job's clearing regions and drill tools.
#include "view/velm_view.h"

#include "machining/tool_changer.h"
#include "planning/tool_dialogs.h"
#include "records/board_records.h"

namespace {

class CToolChangeTable : public CAtcToolTable {
public:
    std::string& Number(int row) override { return g_ToolChangeDlg.m_Number[Index(row)]; }
    std::string& Name(int row) override { return g_ToolChangeDlg.m_Name[Index(row)]; }
    float& Speed(int row) override { return g_ToolChangeDlg.m_Speed[Index(row)]; }
    float& Depth(int row) override { return g_ToolChangeDlg.m_Depth[Index(row)]; }
    void ClearRows() override { g_ToolChangeDlg.ClearRows(); }
    void SetUnits(const char* size, const char* depth, const char* speed) override
    {
        g_ToolChangeDlg.m_SizeUnit = size;
        g_ToolChangeDlg.m_DepthUnit = depth;
        g_ToolChangeDlg.m_SpeedUnit = speed;
    }
    int DoModal() override { return g_ToolChangeDlg.DoModal(); }

private:
    static std::size_t Index(int row) { return static_cast<std::size_t>(row); }
};

}  // namespace

void CVelmView::AtcReturnTool() { ::AtcReturnTool(); }

void CVelmView::AtcFetchTool(int slot) { ::AtcFetchTool(slot); }

void CVelmView::ShowToolTable()
{
    CToolChangeTable table;
    ::ShowToolTable(table, m_Doc.m_ClearRegionList);
}

void CVelmView::AtcDrillTool(const std::string& prompt)
{
    CToolChangeTable table;
    ::AtcDrillTool(table, prompt, g_HoleList);
}

void CVelmView::AtcExchangeTool(const std::string& prompt)
{
    CToolChangeTable table;
    ::AtcExchangeTool(table, prompt);
}

void CVelmView::AtcManualExchange(const std::string&)
{
    CToolChangeTable table;
    ::AtcManualExchange(table);
}
