// The board model: every list of board data (through CDocumentLists), the
// aperture table, the working side's extents and flags, and the panel layout
// the view shows. The document owns one; the readers, planners and editors
// work on it without knowing the document or its commands.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"
#include "platform/win_types.h"
#include "records/aperture_records.h"
#include "records/document_lists.h"
#include "records/panel_layout.h"
#include "ui/view_tracker.h"

#include <cstdint>

// Four int32 extents: min x, min y, max x, max y (mil).
struct CExtent {
    std::int32_t minX = 0;
    std::int32_t minY = 0;
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;
};

// An extent nothing has widened yet.
constexpr CExtent EMPTY_EXTENT{10000000, 10000000, -10000000, -10000000};

// The work stages, by the values m_WorkStage keeps (a byte in the project
// and side files).
enum class WorkStage : std::uint8_t { Edit = 1, Paths = 2, Layout = 3, Partial = 4, Machining = 5 };

class CBoardModel : public CDocumentLists {
public:
    CBoardModel() = default;
    CBoardModel(const CBoardModel&) = delete;
    CBoardModel& operator=(const CBoardModel&) = delete;

    int m_DataChanged = 1;
    CApertureList m_ApertureList;
    COwnedList<CApertureMacro> m_MacroList;
    CExtent m_ViewExtent;
    CExtent m_DrillExtent = EMPTY_EXTENT;
    CExtent m_DataExtent = EMPTY_EXTENT;
    CExtent m_GerberExtent = EMPTY_EXTENT;
    CViewTracker m_Tracker;
    int m_RectRecordFlag = 0;
    int m_ClearAreaFlag = 0;
    int m_WorkDataLoaded = 0;
    int m_IsolationDone = 0;
    int m_LayoutDone = 0;           // only its low byte is kept in a side file
    // Working lists of the Gerber layer reader, which fills and empties them.
    CRefList<CTrackRecord> m_JoinList;
    CRefList<CFlashRecord> m_EndPadList;
    // 1 while the layer reader is inside a G36..G37 region: the width
    // look-ups then answer 1.0.
    int m_AreaFillFlag = 0;
    // Owns the tracks the track joining takes out of the track list, in the
    // order of m_JoinList, until the grouping pass puts them back.
    COwnedList<CTrackRecord> m_JoinedTracks;
    CRefList<CDPoint> m_PointList;
    float m_ClearOverlap = 0.2f;
    float m_DxfScale = 1.0f;
    int m_GridStep = 4;             // mil, pitch of the scan-line raster
    int m_T1Step = 4;
    int m_UndoCount = 0;            // snapshots available, at most CVelmDoc::UNDO_RING_SIZE
    int m_UndoIndex = 0;            // ring index of the newest snapshot
    int m_ReaderState = 0;
    std::uint8_t m_WorkStage = 1;   // a WorkStage: 1 edit, 2 paths, 3 layout, 4 partial, 5 machining
    int m_GroupOff = 0;
    POINT m_DataOffset;
    int m_JobFlag = 0;              // set by the machine jobs, cleared by the side commands

    // --- Board view ---
    // The work-area rectangle is drawn while this is set (1 from construction).
    int m_ShowWorkArea = 1;
    // The board's origin (mil); the layout and machining stages mark it when
    // it is not (0, 0).
    CDPoint m_BoardOrigin{0.0, 0.0};
    // --- end of board view ---

    // What the view shows and edits of the panel; the view reaches it here.
    CPanelLayout m_PanelLayout;
};
