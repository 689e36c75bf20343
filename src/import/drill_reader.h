// The drill-program interpreter. It reads Excellon drill programs, their
// Allegro variant and the program's own drill-style texts (registration
// holes, route and measurement data) in two ways:
//  - block by block over the lines of a text window: Attach, ReadHeader, then
//    ReadNextBlock until DRILL_END; with Excellon pattern repetition;
//  - line by line from a file with ParseLine (no repetition, but the Allegro
//    tool lines and the R repeat word).
// Numbers are decoded with the drill format of g_DrillFormatDlg, except for
// what the file declares itself in ParseLine ("METRIC"/"INCH" lines with
// their zero format and digits, M71/M72); positions and sizes come out in mil.
#pragma once

#include "geometry/point.h"
#include "platform/win_types.h"
#include "ui/line_store.h"

#include <string>
#include <vector>

class CEditWnd;

// What a line turned out to be.
constexpr int DRILL_END = 255;          // end of the text (or no window)
constexpr int DRILL_NOTHING = 254;
constexpr int DRILL_HEADER_END = 253;   // "%"
constexpr int DRILL_TOOL = 252;         // tool number and size set
constexpr int DRILL_M_CODE = 251;       // "M48" or any M word
constexpr int DRILL_POSITION = 250;     // output point set, or an arc word
constexpr int DRILL_REPEAT = 249;       // R line (ParseLine only)
constexpr int DRILL_ORIGIN = 93;        // G93
constexpr int DRILL_ABSOLUTE = 90;      // G90
constexpr int DRILL_INCREMENTAL = 91;   // G91

// Longest number field a word may hold; longer ones are read cut to it.
constexpr std::size_t DRILL_NUMBER_FIELD = 19;

// What a drill file says of its own number format; -1 where it says nothing.
// A unit brings the digits usual for it (inch 2.4, metric 3.3) unless the
// file gives a digit format too: a file naming its unit was written for
// readers that assume those digits.
struct CDrillDeclaration {
    int inchMM = -1;    // 0 inch, 1 metric (coordinates and tool sizes)
    int zeroSup = -1;   // as CDrillFormatDlg::dZeroSup
    int unitInt = -1;
    int unitDec = -1;

    // Takes a "METRIC"/"INCH" header line ("INCH,TZ", "METRIC,LZ,000.000");
    // false for any other line.
    bool ReadUnitLine(const std::string& line);
    // M71 (metric) or M72 (inch) without a digit format.
    void SetUnit(int metric);
};

// The store base is kept for the callers that treat a reader as a line store;
// the reader itself reads the store of the window it is attached to.
class CDrillReader : public CLineEdit {
public:
    CDrillReader();

    // Remembers the window; its line store becomes the source once the
    // window has been created.
    void Attach(CEditWnd* wnd);
    // Resets the walk and scans the text for the header end and the pattern
    // ends. Does nothing for a window that has not been created.
    void ReadHeader();
    // Interprets the next line of the attached text.
    int ReadNextBlock();
    // Interprets one line of a drill file (its line feed already cut off).
    int ParseLine(const std::string& line);

    // Word readers: `word` points at the word's letter (null: no word). Each
    // reads the characters after the letter and returns 0 only for no word.
    static int ParseIntWord(const char* word, int* value);
    static int ParseFloatWord(const char* word, float* value);
    int ParseCoordWord(const char* word, float* value);
    int ParseSizeWord(const char* word, float* value);
    int ParseCoordF(const char* word, double* value);

    // The last block drew (G01, G02, G03) rather than moved (G00).
    bool DrawFlag() const { return m_Code >= 1 && m_Code <= 3; }
    // A number field of the last ParseLine was longer than DRILL_NUMBER_FIELD.
    bool NumberTooLong() const { return m_NumberTooLong; }
    // What the lines read so far declared of the number format.
    const CDrillDeclaration& Declaration() const { return m_Declared; }

    int m_Swap = 0;                 // axis exchange of the current repetition
    POINT m_MirrorSign{1, 1};       // X and Y sign of the current repetition
    CEditWnd* m_Window = nullptr;
    int m_ToolNumber = 0;
    float m_ToolSize = 0.0f;        // mil
    float m_HValue = 0.0f;
    float m_Feed = 0.0f;
    float m_OutX = 0.0f, m_OutY = 0.0f, m_OutZ = 0.0f;     // what a 250 reports
    float m_CurX = 0.0f, m_CurY = 0.0f, m_CurZ = 0.0f;     // modal coordinates
    float m_PrevX = 0.0f, m_PrevY = 0.0f, m_PrevZ = 0.0f;
    float m_OriginX = 0.0f, m_OriginY = 0.0f;              // from G93
    int m_RepeatCount = 0;          // from an R line
    float m_RepeatStepX = 0.0f, m_RepeatStepY = 0.0f;
    CDPoint m_ExtentMax{0.0, 0.0};
    CDPoint m_ExtentMin{0.0, 0.0};
    float m_A = 0.0f;
    double m_I = 0.0, m_J = 0.0;
    int m_Code = 0;                 // the last G or M number
    float m_Scale = 0.01f;
    int m_CurrentLine = 0;          // the line the next ReadNextBlock reads
    int m_Absolute = 1;
    CLineEdit* m_Source = nullptr;
    std::string m_LineText;
    int m_PatternStart = -1;
    int m_HeaderEndLine = 0;
    float m_PatternOffsetX = 0.0f, m_PatternOffsetY = 0.0f;
    // The line after each pattern end ("M01", "M24") of the text. The table
    // and the set of open repetitions have no fixed size.
    std::vector<int> m_PatternEnds;
    int m_CurrentPatternEnd = -1;   // position in m_PatternEnds, -1 none
    std::vector<int> m_ActivePatternEnds;
    int m_NegateY = 0;              // toggled by G71 and G72

private:
    int ParseNumber(const char* word, double* value, int metric);
    void ApplyMCode(int code);
    void StartRepeat(bool restoreOffset);
    void ReadAxes(bool negate, bool* moved);
    void TakeLine(const std::string& raw);
    void ReadOrigin();
    void ReadToolWords();

    bool m_NumberTooLong = false;
    CDrillDeclaration m_Declared;
    // The repeat lines whose repetition is open, and the jumps back left in
    // this walk: a text can never send the reader round without end.
    std::vector<int> m_OpenRepeatLines;
    int m_JumpsLeft = 0;
};

extern CDrillReader g_DrillReader;
