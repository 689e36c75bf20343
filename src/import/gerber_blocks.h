// Reading a Gerber file block by block, and the small routines the layer
// readers share: aperture parameters, aperture-macro fields and operands,
// the arc sweep and the dominant pad statistic.
#pragma once

#include "geometry/point.h"
#include "platform/line_reader.h"
#include "platform/win_types.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CApertureTable;
class CGerberTape;

// A Gerber file as a stream of characters (line ends of any kind come as one
// '\n'), with what the block readers noticed about the file's end.
class CGerberSource {
public:
    bool Open(const std::string& path);
    // The next character, or EOF. Asked for every character of a file: the
    // common case, a character of the line at hand, is answered inline.
    int Get()
    {
        if (m_HaveLine && m_Pos < m_Line.size())
            return static_cast<unsigned char>(m_Line[m_Pos++]);
        return GetAtLineEnd();
    }
    // The characters of the line at hand not read yet (none at its end),
    // for a reader that takes a run of them at once, and passing over them.
    std::string_view LineRest() const
    {
        return m_HaveLine ? m_Line.substr(m_Pos) : std::string_view();
    }
    void Pass(std::size_t count) { m_Pos += count; }
    bool AtEnd() const { return m_AtEnd; }
    const std::string& Path() const { return m_Path; }
    // Line of the character read last, from 1.
    long Line() const { return m_LineNo; }

    // Set by the block readers: a parameter ran to the end of the file, a
    // last block had no terminator, an end-of-program code was read.
    long m_UnclosedParameterLine = 0;
    long m_UnterminatedBlockLine = 0;
    bool m_EndCodeSeen = false;
    // Set where the reading stopped on a number no board can hold, or on a
    // step and repeat of more than one copy (which the readers cannot lay
    // out, and one copy alone would be a wrong board).
    long m_RefusedNumberLine = 0;
    long m_StepRepeatLine = 0;
    // Where the reading stopped on a D code past any aperture table, and
    // the code as written.
    long m_RefusedDCodeLine = 0;
    std::string m_RefusedDCode;

    // Notes at the line read last the first refusal the conversions met
    // since the last call (a number or a D code); true once the file is
    // refused or holds a step and repeat, when nothing of it is used.
    bool NoteRefusals();

    // A message naming the file and line when the file cannot be taken: a
    // refused number or step and repeat, or it ended early (cut off inside a
    // parameter or a block, or without its end-of-program code when
    // `needEndCode`); empty when the file is complete.
    std::string ProblemMessage(bool needEndCode) const;

private:
    friend class CGerberTape;
    friend void ReadGerberBlock(CGerberSource& in, std::string& block, CApertureTable& apertures);

    int GetAtLineEnd();
    bool OpenLines();

    // A file whose blocks were kept (CKeptGerberBlocks) is read from them by
    // ReadGerberBlock; its text is opened only if something reads it by the
    // character instead, which then reads it all that way.
    std::shared_ptr<const CGerberTape> m_Tape;
    std::size_t m_TapeAt = 0;
    bool m_TapeNewline = false;
    bool m_TapeLast = false;   // the tape's last reading, which gives it back as it goes
    bool m_LinesPending = false;

    CTextLineReader m_Lines;
    std::string m_Path;
    // The lines show the reader's text: no line is copied.
    std::string_view m_Line;
    std::size_t m_Pos = 0;
    bool m_HaveLine = false;
    // The line after m_Line, read ahead to know whether m_Line is the last.
    // A last line without a line end gets none: a file cut inside a block
    // then ends without the block's terminator.
    std::string_view m_Next;
    bool m_HaveNext = false;
    bool m_AtEnd = false;
    long m_LineNo = 0;
};

// While one of these lives, the Gerber files it keeps are cut into blocks
// once: every later reading of such a file by ReadGerberBlock (the format
// detection, the extent pre-scan and the read of a job's load) replays the
// same blocks, parameters and line numbers instead of reading its text
// again. The parameters are applied anew by each reading, as they would be.
class CKeptGerberBlocks {
public:
    CKeptGerberBlocks();
    ~CKeptGerberBlocks();
    CKeptGerberBlocks(const CKeptGerberBlocks&) = delete;
    CKeptGerberBlocks& operator=(const CKeptGerberBlocks&) = delete;

    // Cuts a file into blocks now; a file that cannot be read is left to
    // the readers, which say so.
    void Keep(const std::string& path);

private:
    bool m_Outer = false;
};
// The next reading of a file's blocks is their last: it takes them over
// and gives back their memory as it passes them.
void HandOverKeptGerberBlocks(const std::string& path);
// True when `path` declares its whole number format before anything in the
// file can read, refuse or define by it: a format (FS, with the X digits)
// and a unit (MO) come before any aperture, macro or step and repeat, and
// before any block that may hold a number. A reading of such a file
// overwrites whatever format it starts with before it uses it. The file is
// read only as far as it takes to know; false when it cannot be read.
bool GerberFormatDeclaredFirst(const std::string& path);

// Opens `path` into `in`, telling the operator when it cannot be read.
bool OpenGerberFile(CGerberSource& in, const std::string& path);

// One block of a Gerber file; the RS-274X parameters met on the way (text
// between two '%' signs) are applied at once.
void ReadGerberBlock(CGerberSource& in, std::string& block, CApertureTable& apertures);
// Blocks read (their parameters applied) until a parameter turns the format
// detection off (an aperture is defined: the file declares its format) or
// the file ends.
void ReadGerberHeader(CGerberSource& in, CApertureTable& apertures);
// One block without parameter handling ('%' is an ordinary character).
void ReadGerberBlockPlain(CGerberSource& in, std::string& block);

// One RS-274X parameter: %AD and %AM go to the aperture table, %FS and %MO
// to the number format (g_GerberFormatDlg) and the unit factor; an aperture
// definition turns the format detection off. False, with nothing defined,
// for an aperture whose size no board can have; a D number past any table
// defines nothing either and is noted as a refused D code.
bool ApplyGerberParameter(const std::string& param, CApertureTable& apertures);

// True for a step and repeat parameter that asks for more than one copy.
bool IsGerberStepRepeat(const std::string& param);

// Reads the text of an aperture definition ("ADD10C,0.01*"): the D number,
// the template name and the values (inches). Returns the number of values
// read after the name.
int ParseApertureParams(const std::string& text, int& dNumber, std::string& name,
                        std::vector<float>& values);

// Copies text from `pos` up to ',' or '*' or the end into `field`; returns
// the position one past the separator.
std::size_t CopyGerberField(const std::string& text, std::size_t pos, std::string& field);

// One aperture-macro operand ("$1+$1", "0.5", "-$2") in mil against the
// aperture's parameter values (inches).
// A value no board can hold is marked refused (RefuseGerberNumber); a
// division by zero gives 0 and is noted for TakeMacroDivisionByZero.
double EvalMacroOperand(const std::string& operand, const std::vector<float>& params);
// True once a macro divided by zero since the last call; asking clears it.
bool TakeMacroDivisionByZero();
// A macro variable assignment ("$4=$1-$3") sets that parameter (inches),
// growing the list as needed; false, with nothing set, for any other
// primitive.
bool ApplyMacroAssignment(const std::string& primitive, std::vector<float>& params);

// The counter-clockwise sweep from start to end about the centre, 0 to 2 pi.
double ArcSweep(const CDPoint& start, const CDPoint& end, const CDPoint& centre);
double ArcSweepInt(const POINT& start, const POINT& end, const CDPoint& centre);

// Feeds one round flash radius to the dominant pad statistic.
void KeepLongestRunValue(float value);

// The pad radius of the longest run of equal round flashes; 0 restarts the
// statistic.
extern float g_DominantPadRadius;
struct CPadRunStatistic {
    float current = 0.0f;
    int run = 0;
    int longest = 0;
};
extern CPadRunStatistic g_PadRunStatistic;
