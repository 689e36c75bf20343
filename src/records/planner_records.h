// Records of the tool-path planner that the document owns: the free intervals
// of the scan lines (held in CSubList rows and columns), the isolation path
// segments built from them and the clearing regions with their strokes. Only
// their data lives here; the planner fills and reads them.
#pragma once

#include "platform/object_lists.h"
#include "platform/win_types.h"

#include <cstdint>

// One free interval of a scan line, mil. On a row the start is the left end,
// on a column the lower end.
struct CScanInterval {
    // Tag of an end that the raster layout made: the board edge.
    static constexpr std::uint8_t kBoardEdge = 0x40;

    float x1 = 0.0f;
    float y1 = 0.0f;
    float x2 = 0.0f;
    float y2 = 0.0f;
    std::uint8_t startTag = 0;
    std::uint8_t endTag = 0;
    std::uint32_t startNet = 0;     // 0 board edge, else cutting shape, net or plunge
    std::uint32_t endNet = 0;
    void* startSource = nullptr;    // shape that cut the start (track, flash, arc)
    void* endSource = nullptr;
};

// One scan line (a row or a column of the raster): its free intervals, owned.
struct CSubList {
    COwnedList<CScanInterval> intervals;
};

// One isolation path segment built from the scan lines, mil.
struct CGridPathSegment {
    float x1 = 0.0f;
    float y1 = 0.0f;
    float x2 = 0.0f;
    float y2 = 0.0f;
    float cx = 0.0f;                // arc centre (1.0 / 0 marks on lines)
    float cy = 0.0f;
    std::uint8_t type = 0;          // 0 straight, 1 and 2 arcs around (cx, cy)
    std::uint8_t flags = 0;         // 0x01 not first of its walk, 0x10 final end
    std::uint32_t doneMark = 0;     // machining jobs and the view's reset
    std::uint32_t value = 0;        // net of the walk, later the plunge offset
    void* source = nullptr;         // shape beside the segment
};

// One clearing stroke of a region, mil.
struct CClearStroke {
    float x1 = 0.0f;
    float y1 = 0.0f;
    float x2 = 0.0f;
    float y2 = 0.0f;
    std::uint8_t pen = 1;           // 1 cut, 0 move with the tool lifted
    std::int32_t doneMark = 0;      // non-zero: passed over by the milling job
    std::int32_t plungeValue = 0;   // Z pulses
};

// A clearing region: the grid step it was made under (also its cutter size),
// its bounds and its ordered strokes, owned.
struct CClearRegion {
    std::int32_t step = 0;          // mil
    RECT rect;                      // mil
    COwnedList<CClearStroke> strokes;
};
