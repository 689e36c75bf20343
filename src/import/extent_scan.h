// Extent pre-scans: the extent of the copper files and of the route file is
// measured before they are read, so that every reader shifts its data to one
// common origin (g_DataOriginX/Y) and the board extent (g_Board*) holds them
// all.
#pragma once

#include <string>

class CBoardModel;

// The copper files joined by ";": the origin lowered to them, their size into
// model.m_GerberExtent. A file that cannot be read is reported and ends the
// scan with nothing measured.
void ScanGerberExtent(CBoardModel& model, const std::string& paths);
// The route file (Gerber or HPGL by g_RouteFormat) with a 100 mil margin,
// into model.m_DataExtent.
void ScanRouteExtent(CBoardModel& model, const std::string& path);
