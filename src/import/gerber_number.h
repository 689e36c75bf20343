// Gerber coordinates: digit strings turned into mil by the current number
// format (g_GerberFormatDlg), and data blocks cut into a coordinate pair, a D
// word and arc-centre offsets, with the modal state the blocks rely on.
#pragma once

#include "geometry/point.h"
#include "platform/win_types.h"

#include <string>
#include <string_view>

// The least position (mil) no absolute coordinate can name: 100000 inches,
// the first with more whole digits than the readers take. A position stored
// past it is no board either.
constexpr double GERBER_MAX_POSITION_MIL = 1.0e8;

// The digits of one coordinate (sign allowed) in mil, whole and fractional.
// The text is the caller's work copy and may be changed.
int GerberDigitsToInt(std::string_view digits);
double GerberDigitsToNumber(std::string_view digits);

// Parses one block (the text up to its '*'). Result: 1 X and Y, 2 X only,
// 3 Y only, 4 D word only, 0 nothing (also for comments and the reset call).
// The block is cut at its terminator in place, a leading G54 is dropped and a
// comment is emptied. The point is the modal position after the block; the D
// word is the block's own or the last one seen. A non-zero `reset` clears the
// modal state (position, absolute mode, last D word) and reads nothing.
// ParseGerberBlock keeps whole mil, ParseGerberBlock2 float mil; each has its
// own state.
int ParseGerberBlock(std::string& block, POINT& point, std::string& dWord, int reset);
int ParseGerberBlock2(std::string& block, CDPoint& point, std::string& dWord, int reset);

// The I and J offsets of a block in mil: 1 both, 2 I only, 3 J only (the
// other 0), 0 neither (the output is left alone).
int ParseGerberIJ(const std::string& block, double& i, double& j);

// Both block parsers back to their state at program start.
void ResetGerberParsers();

// Set by a conversion that met digits no board can hold; read and cleared
// through TakeGerberNumberRefusal only.
inline bool g_GerberNumberRefused = false;

// True once a conversion since the last call met digits no board can hold
// (more whole digits than any table, or a fraction past the integer range);
// the conversion gave 0. Asking clears it. Inline: the interpreter asks
// after every block.
inline bool TakeGerberNumberRefusal()
{
    const bool refused = g_GerberNumberRefused;
    g_GerberNumberRefused = false;
    return refused;
}
// Marks a value computed elsewhere (a macro operand) as refused the same way.
void RefuseGerberNumber();

// A D code whose number no aperture table holds (a legal code, but past
// the table's codes): the first such code as written since the last ask,
// empty when none. Asking clears it.
inline std::string g_GerberRefusedDCode;
inline bool TakeGerberDCodeRefusal(std::string& code)
{
    code.swap(g_GerberRefusedDCode);
    g_GerberRefusedDCode.clear();
    return !code.empty();
}
void RefuseGerberDCode(std::string_view code);
// Both refusals forgotten, as a new reading starts.
void ClearGerberRefusals();
