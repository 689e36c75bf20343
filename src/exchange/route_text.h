// The first LINE or the first CIRCLE of a DXF drawing as route moves in a
// line store (the route-data window's text): a rapid move to the start and
// one cutting move.
#pragma once

#include <string>

class CDxfReader;
class CLineEdit;

// "G00X<x1>Y<y1>Z<z1>" and "G01X<x2>Y<y2>Z<z2>", the values as the file
// writes them. False when the drawing has no LINE (or cannot be read).
bool DxfLineToRouteText(CDxfReader& reader, CLineEdit& out);
// A rapid move to the circle's leftmost point and one clockwise full
// circle about its centre: "G00X%.1fY%.1f" and "G02X%.1fY%.1fI%.1fJ0.".
bool DxfCircleToRouteText(CDxfReader& reader, CLineEdit& out);
