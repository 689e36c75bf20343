// The document's lists of board records and the operations on them that need
// nothing else of the document: marking source copper and the layer table.
// The document class derives from this holder, so these members and
// operations are the document's own (CVelmDoc::GetToolPathLayer and so on).
// The offset-path engine's lists come with it.
#pragma once

#include "platform/object_lists.h"
#include "platform/win_types.h"
#include "records/board_records.h"
#include "records/copper_records.h"
#include "records/offset_records.h"
#include "records/planner_records.h"

#include <string>

class CDocumentLists : public COffsetEngineLists {
public:
    COwnedList<CClearRegion> m_ClearRegionList;   // clearing regions of the working side
    std::string m_LayerName;                      // created layer names, each followed by ";"
    COwnedList<CNamedLayer> m_NamedLayerList;     // named data layers ("route" among them)
    COwnedList<CTrackRecord> m_TrackList;         // copper strokes of the working side
    COwnedList<CFlashRecord> m_PadList2;          // second pad list of the working side
    COwnedList<CFlashRecord> m_FlashList;         // pads of the working side
    COwnedList<CSubList> m_RowList;               // scan-line rows of the isolation grid
    COwnedList<CSubList> m_ColumnList;            // scan-line columns
    COwnedList<CGridPathSegment> m_GridPathList;  // isolation segments from the grid
    CRefList<CTrackRecord> m_TrackRefList;        // tracks kept by the Gerber readers
    COwnedList<CPathRecord> m_PathLayerList;      // tool-path layers with their segments

    // Cutter widths of tools 1 to 3 (mil: 0.2, 0.5 and 1.5 mm) and the second
    // value of each tool, given to the layers the layer table creates.
    float m_ToolWidth1 = 7.874016f;
    float m_ToolWidth2 = 19.685040f;
    float m_ToolWidth3 = 59.055119f;
    float m_ToolValue1 = 20.0f;
    float m_ToolValue2 = 24.0f;
    float m_ToolValue3 = 24.0f;

    // Sets the used flag of every track and pad whose record number is id.
    void MarkItemsWithId(int id);

    // The layer table. Each returns the layer or null and deletes nothing;
    // their matching rules differ on purpose (see layer_table.cpp).
    CPathRecord* AddPathLayer(const std::string& name, float size, float depth, int side,
                              COLORREF colour);
    CPathRecord* FindPathLayerOnSide(const std::string& name, int side);
    CNamedLayer* FindNamedLayer(const std::string& name);
    CPathRecord* FindOrAddPathLayer(const std::string& name);
    CPathRecord* GetToolPathLayer(const std::string& name);
};
