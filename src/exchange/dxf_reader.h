// Reading an ASCII DXF drawing as a sequence of entities. The file is cut
// into (group code, value) pairs: a code line and a value line, blanks and
// carriage returns around either ignored. An entity starts at every group 0
// and holds all the pairs up to the next one, so its values are picked by
// code whatever order the writer put them in. Everything between BLOCK and
// ENDBLK (the block definitions) is passed over. A file that ends inside a
// pair or before its EOF marker, a code line that is not a number, or a
// number group whose value is not a number stops the reading with a message.
#pragma once

#include "platform/line_reader.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct CDxfGroup {
    int code = 0;
    std::string value;
};

// The plane of an entity that is drawn in coordinates of its own (ARC,
// CIRCLE, LWPOLYLINE, a 2-D POLYLINE, SOLID), by its extrusion direction
// (groups 210, 220, 230; (0, 0, 1) when the file gives none). Seen from
// below, (0, 0, -1), as CAD programs write mirrored entities, its x runs
// the other way in the drawing (the arbitrary-axis rule); the readers below
// give such entities in the drawing's coordinates. Any other direction
// tilts it out of the drawing's plane.
enum class EDxfPlane { Drawing, Mirrored, Tilted };

struct CDxfEntity {
    std::string type;               // the value of its group 0: "LINE", "ARC", ...
    std::vector<CDxfGroup> groups;  // the pairs after it, in file order
    long line = 0;                  // line of the file where it starts

    // The value of the first group `code`; empty when there is none.
    std::string Text(int code) const;
    // The number of the first group `code`; `fallback` when there is none.
    double Number(int code, double fallback = 0.0) const;
    bool Has(int code) const;
    // The layer name (group 8), whole.
    std::string Layer() const { return Text(8); }
    // Its plane (above), worked out from its groups when first asked: the
    // flatness check and the reader of the entity both ask.
    EDxfPlane Plane() const;

private:
    mutable std::optional<EDxfPlane> m_Plane;
};

class CDxfReader {
public:
    // False when the file cannot be opened.
    bool Open(const std::string& path);
    // The next entity outside the block definitions; false at the EOF marker
    // or when the file is broken (Error() then says where).
    bool Next(CDxfEntity& entity);
    // Hands an entity back: the next Next gives it again.
    void PushBack(CDxfEntity entity) { m_Pushed = std::move(entity); }
    // Empty while the file reads well, else the message id and line: the
    // file ended early (IDS_DXF_TRUNCATED), a pair is not DXF
    // (IDS_DXF_BAD_GROUP) or a reader of it refused an entity (below).
    unsigned ErrorId() const { return m_ErrorId; }
    long ErrorLine() const { return m_ErrorLine; }
    bool Failed() const { return m_ErrorId != 0; }
    // Stops the reading at `entity`, which the drawing cannot be taken
    // with: string `id` names the file, the entity's line, its kind and its
    // layer ("%s", "%ld", "%s", "%s" in that order).
    void Refuse(unsigned id, const CDxfEntity& entity);
    const std::string& Refusal() const { return m_Refusal; }

private:
    bool ReadPair(CDxfGroup& pair);
    bool ReadEntity(CDxfEntity& entity);
    bool Fail(unsigned id);

    CTextLineReader m_Lines;
    std::string m_Path;
    std::string m_Refusal;   // the message of Refuse
    std::optional<CDxfGroup> m_Start;   // the group 0 that starts the next entity
    std::optional<CDxfEntity> m_Pushed;
    bool m_Ended = false;
    unsigned m_ErrorId = 0;
    long m_ErrorLine = 0;
};

// One vertex of a polyline with the bulge of the segment that leaves it and
// its starting width (0 when the file gives none).
struct CDxfVertex {
    double x = 0.0, y = 0.0;
    double bulge = 0.0;
    double startWidth = 0.0;
};

struct CDxfPolyline {
    std::string layer;
    int flags = 0;          // bit 0: closed
    double width = 0.0;     // constant width (LWPOLYLINE 43, POLYLINE 40)
    bool hasWidth = false;  // the file gave that width
    std::vector<CDxfVertex> vertices;
    bool Closed() const { return (flags & 1) != 0; }
    // Each segment from a vertex to the next, and back to the first when
    // closed, with the width in force: `width` until a vertex with a starting
    // width above 0 replaces it. The segment's bulge is p's.
    void ForEachSegment(double width,
                        const std::function<void(const CDxfVertex& p, const CDxfVertex& q,
                                                 double width)>& visit) const;
};

// True for an entity in the drawing's plane, either way up, or of a kind
// drawn in the drawing's coordinates (LINE); a tilted one stops the reading
// with a message that names it (IDS_DXF_TILTED).
bool TakeFlatEntity(CDxfReader& reader, const CDxfEntity& entity);

// An ARC: centre, radius and its counter-clockwise sweep in radians from
// `start` to `end` (an end angle below the start one taken a turn later).
struct CDxfArc {
    double cx = 0.0, cy = 0.0, r = 0.0;
    double start = 0.0, end = 0.0;
};
CDxfArc ReadArc(const CDxfEntity& entity);

struct CDxfCircle {
    double cx = 0.0, cy = 0.0, r = 0.0;
};
CDxfCircle ReadCircle(const CDxfEntity& entity);

// The vertices of an LWPOLYLINE, each 10 starting a new one.
CDxfPolyline ReadLwPolyline(const CDxfEntity& entity);
// A POLYLINE and the VERTEX entities that follow it up to its SEQEND (which
// is consumed); another entity ends the vertices too and is handed back.
CDxfPolyline ReadPolyline(CDxfReader& reader, const CDxfEntity& header);
// The four corners of a SOLID (10/20 to 13/23), x and y.
std::array<std::array<double, 2>, 4> ReadSolid(const CDxfEntity& entity);

// The message for a broken file: its name and the line.
std::string DxfErrorMessage(const CDxfReader& reader, const std::string& path);
