// The heap records in which the document and the hole list keep board data:
// tool-path layers with their segments, drill tools with their holes and
// named data layers with their copper. Each record owns its inner list, so
// freeing a record frees what it holds.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"
#include "platform/win_types.h"
#include "records/copper_records.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

class CBinaryReader;
class CBinaryWriter;

// One item of a path layer: a line or an arc. Image: 72 bytes.
struct CPathSegment {
    static constexpr std::size_t kImageSize = 72;

    double x1 = 0.0;            // start
    double y1 = 0.0;
    double x2 = 0.0;            // end
    double y2 = 0.0;
    double cx = 0.0;            // arc centre, unused for lines
    double cy = 0.0;
    double radius = 0.0;        // arc radius
    std::int32_t type = 0;      // 0 line, 1 and 2 the two arc directions
    std::int32_t value = 0;     // plunge offset or chain number (planners)
    std::int32_t flag = 0;
    std::uint8_t pad68[4] = {};
    // In memory only: 1 while the outline's range resume leaves this record
    // of a route layer out.
    std::int32_t skip = 0;

    void WriteImage(CBinaryWriter& out) const;
    // Reads one image; on a short read the segment is left as it was.
    bool ReadImage(CBinaryReader& in);
};

// One tool-path layer or computed layer with its segments.
struct CPathRecord {
    // Longest name a file's name field holds (12 bytes with the closing
    // zero); the name in memory may be longer and is cut only when written.
    static constexpr std::size_t kNameField = 12;

    float size = 0.0f;          // tool size in mil (1.0 when no tool)
    float depth = 0.0f;         // cutting depth as the tool settings hold it
    std::int32_t side = 0;      // 0 component, 1 solder, 5 neither
    std::string name;
    std::int32_t kind = 0;      // set by the planners: 0 isolation, 1 clearing
    COLORREF colour = 0;
    std::int32_t visible = 1;
    COwnedList<CPathSegment> items;
};

// One drill size with its hole positions (mil).
struct CDrillTool {
    float diameter = 0.0f;      // mil
    std::int32_t toolNumber = 0;
    // 0 skip, 1 drill, 2 drill without tool change, (n << 4) | 3 repeat n times
    std::int32_t mode = 0;
    COwnedList<CDPoint> holes;
};

// A named data layer; the route file is read into the one named "route".
struct CNamedLayer {
    // Width of the name field in files (39 characters and the closing zero).
    static constexpr std::size_t kNameField = 40;

    std::string name;
    COwnedList<CFlashRecord> flashes;
    COwnedList<CTrackRecord> tracks;
};

// The drill tools of the job, each with its holes.
extern COwnedList<CDrillTool> g_HoleList;

// Drill diameters in mil by tool number; 0 where the size is unknown.
constexpr int DRILL_TOOL_SIZES = 100;
extern std::array<float, DRILL_TOOL_SIZES> g_ToolSizes;
