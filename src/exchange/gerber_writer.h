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

// The plain hairline RS-274X text of role `base`, which no command writes:
// format 2.4 (a mil is 10 units), one aperture D11 of 0.002 inch; the role
// layer's lines and wide segments as strokes, the closed-outline edges of
// every layer whose name holds `base`, and the role layer's circles as
// polygons of 0.03 radian chords. Takes nothing out of the layers.
std::string RenderGerberRs274xHairline(CDocumentLists& model, const std::string& base);

// Each writes its text to `path`, replacing the file whole, and gives 1.
// 0, with nothing written, after the box "Disk Error !" when the file
// cannot be written, or after a message naming the layer when one of the
// items it would write has a size or position its format cannot hold.
int WriteGerberRs274x(CDocumentLists& model, const std::string& path, const std::string& base);
int WriteExcellonDrill(CDocumentLists& model, const std::string& path, const std::string& base);
int WriteGerberRs274xHairline(CDocumentLists& model, const std::string& path,
                              const std::string& base);

// The Gerber coordinate unit: 1e-6 inch, so a mil is 1000 units.
constexpr double GERBER_UNITS_PER_MIL = 1000.0;
// How far from the origin the RS-274X and Excellon files reach: the 3.6
// format's 999.999999 inch, in mil. Sizes of flashes and wide strokes stay
// below it too.
constexpr double GERBER_REACH_MIL = 999999.999;
// The hairline file's 2.4 format: 99.9999 inch.
constexpr double GERBER_HAIRLINE_REACH_MIL = 99999.99;

struct CPathSegment;
// Whether an item's positions are numbers within `reachMil` of the origin
// (an arc's centre from its start too) and, for a flash or a wide stroke,
// its size a number from 0 to `reachMil`.
bool GerberCanHold(const CPathSegment& item, double reachMil);
