// HPGL plots taken straight into path layers ("HPGL to CAM"): every pen
// selection opens a new DXF-CAM layer named "T<pen>", and what that pen
// draws (pen-down moves as straight pieces, circles) goes into it.
// Plotter coordinates are taken as mil as they stand. The caller reads the
// plot command by command and hands each one here; the result is a model of
// its own that the document takes only when the plot was read whole.
#pragma once

#include "exchange/dxf_import.h"

#include <string>
#include <vector>

// The pen colour counter: it grows by 60 with every pen selection of every
// import and is never reset, so each import's pens differ in colour from
// the last one's.
extern int g_HpglPenColour;

class CHpglToCam {
public:
    // `colourCounter`: the pen colour counter before this plot.
    CHpglToCam(CDxfCamImport& out, int colourCounter);

    // One command as the command reader delivers it (up to its ';' or line
    // end); several instructions run together ("PU0,0PD10,0") are taken one
    // by one. Mnemonics are read without regard to case.
    void Command(const std::string& text);

    // The pen colour counter after the selections read so far.
    int ColourCounter() const { return m_Colour; }

private:
    void Instruction(const std::string& mnemonic, const std::string& parameters);
    // Every pair of `values`, absolute or relative as the plot mode says;
    // drawn when `draw`, the extent widened when `widen`.
    void MoveThrough(const std::vector<double>& values, bool relative, bool draw, bool widen);

    CDxfCamImport& m_Out;
    int m_Colour;
    double m_X = 0.0, m_Y = 0.0;
    bool m_PenDown = false;
    bool m_Relative = false;    // PR seen last, not PA: PU and PD pairs are relative
    CPathRecord* m_Layer = nullptr;
};
