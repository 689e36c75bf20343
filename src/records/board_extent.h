// The board extent that zoom to fit shows and the scan-line raster spans, and
// the colour the working side's copper is drawn in.
#pragma once

#include "platform/win_types.h"

// mil
extern int g_BoardMinX;
extern int g_BoardMinY;
extern int g_BoardMaxX;
extern int g_BoardMaxY;

// Copper colours of the two sides.
constexpr COLORREF COMPONENT_COPPER_COLOR = 0x5BBCF7;
constexpr COLORREF SOLDER_COPPER_COLOR = 0x808000;
extern COLORREF g_CopperColor;
