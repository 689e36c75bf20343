// Isolation-line editing on the path layers: the state word of each segment
// (0 normal, 1 selected, 2 locked) changed, selected segments removed, and
// the segments of a closed ring taken at once. Which layers take part (the
// working side's visible ones) is the caller's choice, passed as a test.
#pragma once

#include "platform/object_lists.h"

#include <functional>

class CContour;
struct CPathRecord;
struct CPathSegment;

constexpr int SEGMENT_NORMAL = 0;
constexpr int SEGMENT_SELECTED = 1;
constexpr int SEGMENT_LOCKED = 2;

using PathLayerTest = std::function<bool(const CPathRecord&)>;

// Every segment in state `from` of the layers that pass `takes` goes to
// state `to`; returns how many did.
int ChangeSegmentStates(COwnedList<CPathRecord>& layers, const PathLayerTest& takes, int from,
                        int to);
// Removes and frees every selected segment of those layers; returns how many.
int DeleteSelectedSegments(COwnedList<CPathRecord>& layers, const PathLayerTest& takes);
// Every segment in state 0 or 1 of those layers whose two ends lie inside
// `contour` takes `state`; returns how many did.
int SetSegmentStatesInContour(COwnedList<CPathRecord>& layers, const PathLayerTest& takes,
                              const CContour& contour, int state);

// 1 while an isolation delete or pick runs: one started meanwhile from the
// message pump does nothing.
extern int g_IsoDeleteBusy;

// Holds g_IsoDeleteBusy for its lifetime when it was clear on entry; a
// delete or pick started from the message pump of another is refused.
class CIsoBusy {
public:
    CIsoBusy() : m_Entered(g_IsoDeleteBusy == 0) { g_IsoDeleteBusy = 1; }
    ~CIsoBusy()
    {
        if (m_Entered)
            g_IsoDeleteBusy = 0;
    }
    CIsoBusy(const CIsoBusy&) = delete;
    CIsoBusy& operator=(const CIsoBusy&) = delete;
    bool Entered() const { return m_Entered; }

private:
    bool m_Entered;
};
