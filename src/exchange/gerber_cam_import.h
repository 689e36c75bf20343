// RS-274D photoplots taken straight into path layers ("GERBER to CAM"):
// every aperture select opens a new DXF-CAM layer named after its D code,
// and the draws that follow become its straight pieces, as machining paths
// that stand as drawn. The caller reads and parses the blocks (comments and
// parameter blocks never reach here) and hands each data block over; the
// result is a model of its own that the document takes only when the file
// was read whole.
#pragma once

#include "exchange/dxf_import.h"

#include <string>

// The number of the D code in a D word ("D01" 1, "D2" 2, "G54D10" 10), read
// as a whole token so that D10 is never taken for D1; -1 when there is none.
int DCodeNumber(const std::string& dWord);

class CGerberToCam {
public:
    explicit CGerberToCam(CDxfCamImport& out) : m_Out(out) {}

    // One parsed block: `kind` 1, 2 or 3 for a block with coordinates (the
    // point is the modal position after it, `dWord` its own D word or the
    // last one), 4 for a block with a D word only. D01 draws, D02 moves,
    // a D code from 10 on alone in its block selects an aperture.
    void Block(int kind, double x, double y, const std::string& dWord);

private:
    void Draw(double x, double y);

    CDxfCamImport& m_Out;
    int m_Colour = 0;
    CPathRecord* m_Layer = nullptr;
    // A draw before any move starts at the origin, where the parser's
    // modal position starts.
    double m_X = 0.0, m_Y = 0.0;
};
