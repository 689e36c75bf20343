// The RS-274X and Excellon files of the DXF to Gerber conversion, written
// from the path layers of one role: the role layer B, its sub-layers B_1 to
// B_10 and the closed outlines B-0, B-1, ... (and B_i-0, ...), all in mil.
// Item kinds as the conversion makes them: 0 line, 1 counter-clockwise arc
// about the centre, 3 circle (radius in `radius`), 4 wide segment (width in
// `radius`), 5 edge of a closed outline.
#pragma once

#include <string>

class CDocumentLists;

// The Gerber text of role `base`. The line and arc items it draws as
// hairlines are taken out of their layers, as the original writer did.
std::string RenderGerberRs274x(CDocumentLists& model, const std::string& base);
// The Excellon text of the circles of layer `base`.
std::string RenderExcellonDrill(CDocumentLists& model, const std::string& base);

// Each writes its text to `path`, replacing the file whole; 0 after the box
// "Disk Error !" when it cannot be written, else 1.
int WriteGerberRs274x(CDocumentLists& model, const std::string& path, const std::string& base);
int WriteExcellonDrill(CDocumentLists& model, const std::string& path, const std::string& base);

// The Gerber coordinate unit: 1e-6 inch, so a mil is 1000 units.
constexpr double GERBER_UNITS_PER_MIL = 1000.0;
