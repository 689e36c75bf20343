// The registration (locating) holes of double-sided boards: the text of the
// hole window in drill-program form (standard pairs across the table's
// centre line, a square of four holes, the header), and the manual search
// that drives the machine over each hole in turn so the operator can check
// it. Positions are table mils from the machine's zero; the text holds them
// in millimetres ("X%.4fY%.4f"), as it is read back.
#pragma once

#include "geometry/point.h"
#include "machining/view_hooks.h"

class CHoleTextWalk;
class CLineEdit;

constexpr int kRegistrationPairs = 5;

// Writes "%" and "T30C1.25" at the insertion point unless a line of the text
// already holds a "%".
void EnsureHoleHeader(CLineEdit& text);

// Pair `pair` (1 to 5): its marker line and two holes on the table's middle
// row, pair * W / 12 left and right of the centre.
// 0 (and nothing written) when the pair's marker is already in the text or
// the pair number is out of range; 1 when written.
int WriteHolePair(CLineEdit& text, int pair, double tableWidth, double tableHeight);

// The four corners of an a x b mil rectangle centred on the table, each cut
// to a whole mil: lower left, lower right, upper left, upper right.
void WriteSquareHoles(CLineEdit& text, double a, double b, double tableWidth,
                      double tableHeight);

// A hole added with the mouse at (x, y) table mils: its line and the line
// of its partner mirrored across the table's width (cut to a whole mil).
void AddHolePair(CLineEdit& text, int x, int y, double tableWidth);
// The first hole of the text within 40 mil of `point` (mil); false when
// none is.
bool FindHoleNear(CHoleTextWalk& holes, const CDPoint& point, CDPoint* found);

// The manual locating-hole search over the hole text `holes`: homes, then
// moves to each hole and holds there until the operator answers "Next
// Hole". Not aborted, the machine returns to zero. The job code is given
// back on every way out, so the machine commands are offered again.
void RunLocatingHoleSearch(CHoleTextWalk& holes, const CMachineViewHooks& view);
