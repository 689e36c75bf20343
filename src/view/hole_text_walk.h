// A text window's drill program walked with the drill-program interpreter,
// as the machining operations take hole texts.
#pragma once

#include "import/drill_reader.h"
#include "machining/hole_text.h"

class CEditWnd;

class CDrillTextWalk : public CHoleTextWalk {
public:
    // The units the text is read in: the drill format's, or millimetres
    // (positions and sizes) whatever the drill format says, as the
    // registration-hole text is written.
    enum class EUnit { DrillFormat, Millimetres };

    explicit CDrillTextWalk(CEditWnd& window, EUnit unit = EUnit::DrillFormat)
        : m_Window(window), m_Unit(unit)
    {
    }

    bool Available() const override;
    void Restart() override;
    EHoleBlock Next() override;
    CDPoint Point() const override { return CDPoint(m_Reader.m_OutX, m_Reader.m_OutY); }
    int ToolNumber() const override { return m_Reader.m_ToolNumber; }
    float ToolSize() const override { return m_Reader.m_ToolSize; }
    int NextLine() const override { return m_Reader.m_CurrentLine; }
    void SeekLine(int line) override { m_Reader.m_CurrentLine = line; }
    void SetReadOnly(bool readOnly) override;

private:
    CEditWnd& m_Window;
    EUnit m_Unit;
    CDrillReader m_Reader;
};
