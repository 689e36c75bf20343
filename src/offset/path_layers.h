// Between the offset pieces of the engine and the path layers: grid
// segments of a grid pass become pieces, pieces become grid segments again
// (arcs of little sweep as their chords) and the ordered segments fill a
// pass's path layer, named and styled after the pass's tool.
#pragma once

#include "platform/object_lists.h"
#include "platform/win_types.h"
#include "records/board_records.h"
#include "records/offset_records.h"
#include "records/planner_records.h"

#include <string>

// The tool settings of the offset-path calculation (sizes in mil, depths in
// Z pulses), as the document keeps them under their registry names.
struct CIsoToolSettings {
    float tool1Size = 7.874016f;
    float tool2Size = 19.68504f;
    float tool3Size = 59.05512f;
    float tool1Size2 = 7.874016f;
    float tool1Depth = 20.0f;
    float tool2Depth = 24.0f;
    float tool3Depth = 24.0f;
    float tool1Depth2 = 20.0f;
    int tool1Check = 0;
    int isoLayer = 6;
    int keepDuplicates = 1;   // 0: duplicate paths between passes are removed
};

// Every grid segment as a piece (Class '8', group slot 0 = 0) of `group`
// and the pool; the segments are freed and the list left empty.
void GridSegmentsToPieces(CIsoElementPool& pool, COwnedList<CGridPathSegment>& segments,
                          CIsoGroup& group);

// How pieces become grid segments. A pass layer drops what a cutter cannot
// follow (lines of 1.0 mil or less, arcs of radius 1.0 or less) and cuts
// short arcs (2.0 mil or less) as chords; the duplicate deletion keeps every
// piece. Both cut arcs of 5 degrees or less as chords.
enum class CPieceCut { PassLayer, Everything };
void AppendPieceSegment(const CIsoElement& piece, CPieceCut cut,
                        COwnedList<CGridPathSegment>& segments);

// The name, kind, tool and colour of the layer of pass `pass`, whose tool
// name in the pass table is `toolName`.
struct CPassLayerStyle {
    std::string name;
    int kind = 0;             // 0 isolation, 1 clearing
    float size = 0.0f;
    float depth = 0.0f;
    COLORREF colour = 0;
};
CPassLayerStyle PassLayerStyle(const std::string& toolName, int pass,
                               const CIsoToolSettings& tools);

// A new layer of the style on `side`, visible, holding the grid segments in
// their order (the list is emptied).
std::unique_ptr<CPathRecord> LayerFromSegments(const CPassLayerStyle& style, int side,
                                               COwnedList<CGridPathSegment>& segments);
