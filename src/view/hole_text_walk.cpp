// Hole texts read with the drill-program interpreter.
#include "view/hole_text_walk.h"

#include "settings/drill_format_dlg.h"
#include "ui/edit_wnd.h"

namespace {

// The reader takes its units from the drill format: for a text in
// millimetres that says millimetres while it reads.
class CMetricReading {
public:
    explicit CMetricReading(CDrillTextWalk::EUnit unit)
        : m_Coord(g_DrillFormatDlg.dInchMM), m_Size(g_DrillFormatDlg.dInchMMSize)
    {
        if (unit == CDrillTextWalk::EUnit::Millimetres)
            g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = 1;
    }
    ~CMetricReading()
    {
        g_DrillFormatDlg.dInchMM = m_Coord;
        g_DrillFormatDlg.dInchMMSize = m_Size;
    }
    CMetricReading(const CMetricReading&) = delete;
    CMetricReading& operator=(const CMetricReading&) = delete;

private:
    int m_Coord, m_Size;
};

}  // namespace

bool CDrillTextWalk::Available() const { return m_Window.m_Created != 0; }

void CDrillTextWalk::Restart()
{
    CMetricReading metric(m_Unit);
    m_Reader.Attach(&m_Window);
    m_Reader.ReadHeader();
}

EHoleBlock CDrillTextWalk::Next()
{
    CMetricReading metric(m_Unit);
    const int code = m_Reader.ReadNextBlock();
    if (code == DRILL_END)
        return EHoleBlock::End;
    // The line just read is shown to the operator.
    m_Window.Edit().SelectLine(m_Reader.m_CurrentLine - 1);
    switch (code) {
    case DRILL_POSITION: return EHoleBlock::Position;
    case DRILL_TOOL: return EHoleBlock::Tool;
    default: return EHoleBlock::Other;
    }
}

void CDrillTextWalk::SetReadOnly(bool readOnly) { m_Window.Edit().SetReadOnly(readOnly); }
