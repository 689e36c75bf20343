// Hole texts read with the drill-program interpreter.
#include "view/hole_text_walk.h"

#include "settings/drill_format_dlg.h"
#include "ui/edit_wnd.h"

bool CDrillTextWalk::Available() const { return m_Window.m_Created != 0; }

void CDrillTextWalk::Restart()
{
    CMetricDrillUnits metric(CMetricDrillUnits::EScope::CoordinatesAndSizes,
                             m_Unit == EUnit::Millimetres);
    m_Reader.Attach(&m_Window);
    m_Reader.ReadHeader();
}

EHoleBlock CDrillTextWalk::Next()
{
    CMetricDrillUnits metric(CMetricDrillUnits::EScope::CoordinatesAndSizes,
                             m_Unit == EUnit::Millimetres);
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
