// A font as the operator chooses it in the font chooser, and the kinds of the
// points of a drawing path that an outline of text is read back as.
#pragma once

#include <string>

struct CFontChoice {
    std::string face;
    int height = 0;          // character height in pixels
    int weight = 400;        // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// Kinds of path points; a figure's last point may carry PT_CLOSEFIGURE too.
constexpr unsigned char PT_CLOSEFIGURE = 0x01;
constexpr unsigned char PT_LINETO = 0x02;
constexpr unsigned char PT_BEZIERTO = 0x04;
constexpr unsigned char PT_MOVETO = 0x06;
