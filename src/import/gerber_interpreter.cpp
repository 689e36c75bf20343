// The Gerber block loop every reader shares.
#include "import/gerber_interpreter.h"

#include "import/aperture_table.h"
#include "import/gerber_blocks.h"
#include "import/gerber_number.h"
#include "import/gerber_reader_state.h"

#include <cmath>
#include <cstring>

namespace {

// The G words the interpreter acts on, each found anywhere in a block as
// a part of its text would be, and whether the block holds a J offset: one
// look at each 'G' of the block instead of a search of the whole block for
// each word.
struct CGWords {
    bool g94 = false, g75 = false, g74 = false, g36 = false, g37 = false;
    bool g03 = false, g3 = false, g02 = false, g2 = false;
    bool j = false;

    explicit CGWords(const std::string& block)
    {
        const std::size_t n = block.size();
        const char* text = block.data();
        j = std::memchr(text, 'J', n) != nullptr;
        for (const char* g = static_cast<const char*>(std::memchr(text, 'G', n)); g;
             g = static_cast<const char*>(std::memchr(g + 1, 'G', std::size_t(text + n - g - 1)))) {
            const std::size_t at = std::size_t(g - text);
            const char c1 = at + 1 < n ? text[at + 1] : '\0';
            const char c2 = at + 2 < n ? text[at + 2] : '\0';
            g94 |= c1 == '9' && c2 == '4';
            g75 |= c1 == '7' && c2 == '5';
            g74 |= c1 == '7' && c2 == '4';
            g36 |= c1 == '3' && c2 == '6';
            g37 |= c1 == '3' && c2 == '7';
            g03 |= c1 == '0' && c2 == '3';
            g3 |= c1 == '3';
            g02 |= c1 == '0' && c2 == '2';
            g2 |= c1 == '2';
        }
    }
};

// The operation a D word names: 1 to 3 for D01 to D03 and their short
// forms, 0 for any other.
int OperationOf(const std::string& dWord)
{
    return IsGerberOperation(dWord) ? dWord.back() - '0' : 0;
}

}  // namespace

CDPoint CGerberArc::Centre(const CDPoint& start) const
{
    return GerberArcCentre(start, end, i, j, multiQuadrant);
}

CGerberInterpreter::CGerberInterpreter(CApertureTable& apertures, CGerberSink& sink)
    : CGerberInterpreter(apertures, sink, Options())
{
}

CGerberInterpreter::CGerberInterpreter(CApertureTable& apertures, CGerberSink& sink,
                                       Options options)
    : m_Apertures(apertures), m_Sink(sink), m_Options(options)
{
}

void CGerberInterpreter::Read(CGerberSource& in)
{
    m_In = &in;
    m_Ended = m_Stopped = false;
    m_Block.clear();
    m_DWord.clear();
    m_Modal = 0;
    m_Cur = m_Prev = CDPoint(0.0, 0.0);
    m_ExchangeAxes = m_MultiQuadrant = false;
    m_Sink.BeginFile(in.Path());
    ClearGerberRefusals();
    TakeMacroDivisionByZero();
    POINT unused{};
    if (m_Options.wholeMil)
        ParseGerberBlock(m_Block, unused, m_DWord, 1);
    else
        ParseGerberBlock2(m_Block, m_Cur, m_DWord, 1);
    while (NextBlock()) {
        Interpret();
        m_Prev = m_Cur;
        // A macro flash may have computed a value no board can hold.
        if (Refused())
            break;
    }
    if (TakeMacroDivisionByZero())
        ReportMacroDivisionByZero(in.Path());
    m_In = nullptr;
}

// Reads and parses the next block and reports it; false, with nothing
// reported, once the file has ended or the sink has stopped it. At the end
// of the file the block read last is parsed all the same: an arc takes its
// end from it.
bool CGerberInterpreter::NextBlock()
{
    if (m_Ended)
        return false;
    ReadGerberBlock(*m_In, m_Block, m_Apertures);
    if (!m_In->AtEnd() && m_Sink.Stopped()) {
        m_Ended = m_Stopped = true;
        return false;
    }
    if (m_Options.wholeMil) {
        POINT p{};
        m_Kind = ParseGerberBlock(m_Block, p, m_DWord, 0);
        if (m_Kind)
            m_Cur = CDPoint(p.x, p.y);
    } else {
        m_Kind = ParseGerberBlock2(m_Block, m_Cur, m_DWord, 0);
    }
    if (Refused())
        return false;
    if (m_In->AtEnd()) {
        m_Ended = true;
        return false;
    }
    m_Sink.Block(CGerberBlock{m_Block, m_Kind, m_Cur, m_DWord});
    return true;
}

void CGerberInterpreter::Interpret()
{
    const std::string& block = m_Block;
    if (const int op = OperationOf(m_DWord))
        m_Modal = op;
    // After G94 every block's position comes with its axes exchanged.
    if (m_ExchangeAxes)
        m_Cur = CDPoint(m_Cur.y, std::trunc(m_Cur.x));
    // The length first: asked of every block, the comparison would measure
    // "D01" each time.
    if (block.size() == 3 && block == "D01" && !m_Sink.InRegion())
        m_Cur = m_LastMove;
    const CGWords g(block);
    if (g.g94)
        m_ExchangeAxes = true;
    if (g.g75)
        m_MultiQuadrant = true;
    if (g.g74)
        m_MultiQuadrant = false;
    if (g.g36)
        m_Sink.RegionBegin();
    if (g.g37)
        m_Sink.RegionEnd();

    // "G3" also stands in G36 and G37.
    const bool region = g.g36 || g.g37;
    const bool ccwWord = (g.g03 || g.g3) && !region;
    const bool cwWord = g.g02 || g.g2;
    const bool offsetJ = !m_Options.explicitArcs && g.j;
    if ((offsetJ && m_ArcMode == 3 && !g.g02) || ccwWord) {
        m_ArcMode = 3;
        Arc(true);
    } else if ((offsetJ && m_ArcMode == 2 && !g.g03) ||
               (cwWord && !(m_Options.explicitArcs && region))) {
        m_ArcMode = 2;
        Arc(false);
    } else if (m_Kind >= 1 && m_Kind <= 4) {
        m_ArcMode = 0;
        Operation();
    }
}

void CGerberInterpreter::Arc(bool ccw)
{
    const CDPoint from = m_Prev;
    // An arc word without offsets takes them, and its end, from the next
    // block (the one after a bare line end).
    if (!Contains(m_Block, "I") && !Contains(m_Block, "J")) {
        NextBlock();
        if (!m_Block.empty() && m_Block[0] == '\n')
            NextBlock();
        if (m_Stopped)
            return;
    }
    CGerberArc arc;
    ParseGerberIJ(m_Block, arc.i, arc.j);
    if (Refused())
        return;
    arc.end = m_Cur;
    arc.ccw = ccw;
    arc.multiQuadrant = m_MultiQuadrant;
    m_Cur = m_Sink.Arc(from, arc);
}

// True, with the file ended at this line, once a number no board can hold
// or a step and repeat has been met: nothing of such a file is used.
bool CGerberInterpreter::Refused()
{
    if (!m_In->NoteRefusals())
        return false;
    m_Ended = m_Stopped = true;
    return true;
}

void CGerberInterpreter::Operation()
{
    if (!IsGerberOperation(m_DWord)) {
        m_Modal = 2;
        m_Sink.SelectAperture(m_DWord);
    }
    if (m_Modal == 2) {
        m_LastMove = m_Cur;
        m_Sink.Move(m_Cur);
    } else if (m_Modal == 1) {
        m_Sink.Draw(m_Prev, m_Cur);
    } else if (m_Modal == 3) {
        m_Sink.Flash(m_Cur);
    }
}
