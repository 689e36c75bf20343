// The conversions between pieces, grid segments and path layers.
#include "offset/path_layers.h"

#include "geometry/plane_geometry.h"
#include "offset/element_predicates.h"
#include "offset/offset_constants.h"

#include <cmath>

using namespace offset;

namespace {

// Lines and arc radii no longer than this are not cut.
constexpr double kShortestCut = 1.0;
// Arcs of no more sweep (degrees) or length (mil) are cut as chords.
constexpr float kChordSweep = 5.0f;
constexpr double kChordLength = 2.0;
// How far a layer's chord may run from its arc (mil): the exact pieces'
// own accuracy.
constexpr double kChordSag = 0.02;

double AngleOf(float cx, float cy, float x, float y)
{
    return Degrees(std::atan2(double(y) - cy, double(x) - cx), kPi);
}

}  // namespace

void GridSegmentsToPieces(CIsoElementPool& pool, COwnedList<CGridPathSegment>& segments,
                          CIsoGroup& group)
{
    for (const auto& seg : segments) {
        const CGridPathSegment& s = *seg;
        CIsoElement p;
        p.Class = ISO_PIECE;
        if (s.type == 0) {
            p.Kind = ISO_LINE;
            p.Pt0 = CDPoint(s.x1, s.y1);
            p.Pt1 = CDPoint(s.x2, s.y2);
        } else if (s.type == 1 || s.type == 2) {
            // Type 2 runs from its second point round to its first.
            const bool reversed = s.type == 2;
            const float sx = reversed ? s.x2 : s.x1, sy = reversed ? s.y2 : s.y1;
            const float ex = reversed ? s.x1 : s.x2, ey = reversed ? s.y1 : s.y2;
            p.Kind = ISO_ARC;
            p.Pt0 = CDPoint(s.cx, s.cy);
            p.Pt1 = CDPoint(sx, sy);
            p.Pt2 = CDPoint(ex, ey);
            p.Radius = Distance(double(s.cx), double(s.cy), double(sx), double(sy));
            p.StartAngle = AngleOf(s.cx, s.cy, sx, sy);
            p.EndAngle = AngleOf(s.cx, s.cy, ex, ey);
        } else {
            continue;
        }
        group.Pieces.push_back(pool.Add(p));
    }
    segments.clear();
}

void AppendPieceSegment(const CIsoElement& piece, CPieceCut cut,
                        COwnedList<CGridPathSegment>& segments)
{
    auto seg = std::make_unique<CGridPathSegment>();
    seg->value = static_cast<std::uint32_t>(piece.GroupNo[0]);
    if (piece.Kind == ISO_LINE) {
        if (cut == CPieceCut::PassLayer &&
            !(Distance(piece.Pt0.x, piece.Pt0.y, piece.Pt1.x, piece.Pt1.y) > kShortestCut))
            return;
        seg->x1 = float(piece.Pt0.x);
        seg->y1 = float(piece.Pt0.y);
        seg->x2 = float(piece.Pt1.x);
        seg->y2 = float(piece.Pt1.y);
    } else if (piece.Kind == ISO_ARC) {
        if (cut == CPieceCut::PassLayer && !(piece.Radius > kShortestCut))
            return;
        const CDPoint a = PointAtAngle(piece.Pt0, piece.Radius, piece.StartAngle, kPiLong);
        const CDPoint b = PointAtAngle(piece.Pt0, piece.Radius, piece.EndAngle, kPiLong);
        bool chord = ElementArcSweep(piece) <= kChordSweep;
        if (cut == CPieceCut::PassLayer && ElementArcLength(piece) <= kChordLength)
            chord = true;
        // A chord runs inside its arc by its sagitta: nearer the copper the
        // arc goes round, or farther from the copper inside it. A layer's
        // chord keeps the piece's distance as exactly as the piece does.
        if (cut == CPieceCut::PassLayer && chord &&
            piece.Radius * (1.0 - std::cos(ElementArcSweep(piece) * kPiLong / 360.0)) > kChordSag)
            chord = false;
        seg->x1 = float(a.x);
        seg->y1 = float(a.y);
        seg->x2 = float(b.x);
        seg->y2 = float(b.y);
        if (!chord) {
            seg->type = 1;
            seg->cx = float(piece.Pt0.x);
            seg->cy = float(piece.Pt0.y);
        }
    } else {
        return;
    }
    segments.push_back(std::move(seg));
}

CPassLayerStyle PassLayerStyle(const std::string& toolName, int pass,
                               const CIsoToolSettings& tools)
{
    if (toolName == "T1ISO")
        return {"T1ISO", 0, tools.tool1Size, tools.tool1Depth, 0xAAAADC};
    if (toolName == "T1MIL" && tools.tool1Check != 0 && pass == 2)
        return {"T4ISO", 1, tools.tool1Size2, tools.tool1Depth2, 0xAAAA6E};
    if (toolName == "T1MIL")
        return {"T1MIL", 1, tools.tool1Size, tools.tool1Depth, 0xAAAADC};
    if (toolName == "T2ISO")
        return {"T2ISO", 0, tools.tool2Size, tools.tool2Depth, 0xAADCAA};
    if (toolName == "T2MIL")
        return {"T2MIL", 1, tools.tool2Size, tools.tool2Depth, 0xAADCAA};
    // The tool-3 isolation pass goes under the only tool-3 name the rest of
    // the program knows, as an isolation layer.
    if (toolName == "T3ISO")
        return {"T3MIL", 0, tools.tool3Size, tools.tool3Depth, 0xDCAAAA};
    return {"T3MIL", 1, tools.tool3Size, tools.tool3Depth, 0xDCAAAA};
}

std::unique_ptr<CPathRecord> LayerFromSegments(const CPassLayerStyle& style, int side,
                                               COwnedList<CGridPathSegment>& segments)
{
    auto layer = std::make_unique<CPathRecord>();
    layer->name = style.name;
    layer->kind = style.kind;
    layer->size = style.size;
    layer->depth = style.depth;
    layer->colour = style.colour;
    layer->side = side;
    layer->visible = 1;
    for (const auto& seg : segments) {
        auto item = std::make_unique<CPathSegment>();
        item->x1 = seg->x1;
        item->y1 = seg->y1;
        item->x2 = seg->x2;
        item->y2 = seg->y2;
        item->cx = seg->cx;
        item->cy = seg->cy;
        item->type = seg->type;
        item->value = static_cast<std::int32_t>(seg->value);
        item->flag = 0;
        layer->items.push_back(std::move(item));
    }
    segments.clear();
    return layer;
}
