// The records of the offset-path engine and the lists the document keeps of
// them. An element (CIsoElement) is a piece of source copper or of an offset
// outline; the element pool owns every element the engine makes and hands out
// stable addresses. Groups of touching copper and arc families only refer to
// elements; the document owns the groups.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// What an element stands for (Class).
constexpr std::uint8_t ISO_SOURCE = '7';   // copper of the document
constexpr std::uint8_t ISO_PIECE = '8';    // offset or path piece made by the engine

// The shape of an element (Kind).
constexpr std::uint8_t ISO_ARC = 1;
constexpr std::uint8_t ISO_LINE = 2;
constexpr std::uint8_t ISO_CIRCLE = 3;
constexpr std::uint8_t ISO_RECT = 4;

// A full circle as the engine stores it: from 0 round to -0.001 degree.
constexpr double ISO_CIRCLE_END_ANGLE = -0.001;

// Lengths in mil, angles in degrees; arcs run counter-clockwise from
// StartAngle to EndAngle and pass through 180/-180 when EndAngle is not
// greater than StartAngle.
//
//   kind       Pt0      Pt1                Pt2                Radius      StartAngle  EndAngle
//   arc        centre   start point        end point          radius      start       end
//   line       start    end                offset normal      width/dist  0           0
//   circle     centre   point at start     point at end       radius      0           -0.001
//   rectangle  centre   axis (see below)   (0, 0)             size along  size across 0
//
// A rectangle drawn along x or y keeps Pt1 = (0, 0) and its sizes are along x
// and y. One drawn at a slant keeps in Pt1 the unit vector of its long axis
// (the direction its stroke was drawn), its size along that axis in Radius
// and across it in StartAngle.
struct CIsoElement {
    std::uint8_t Class = 0;
    CDPoint Pt0, Pt1, Pt2, Pt3;
    double Radius = 0.0;
    double StartAngle = 0.0;
    double EndAngle = 0.0;
    double ArcSense = 0.0;      // +1 runs round copper, -1 inner arc of an arc track
    double HalfWidth = 0.0;     // half the copper width of an arc track
    int GroupNo[4] = {0, 0, 0, 0};
    int AreaMark = 0;
    int RemoveMark = 0;
    std::uint8_t Kind = 0;
    std::uint8_t Pass = 0;
    std::uint8_t Side = 0;
    CIsoElement* Source = nullptr;  // piece: its source; corner circle: its rectangle
    const void* Origin = nullptr;   // source: the document record it was made from
    // Position in the element pool; the pool sets it, copies carry the
    // source's until the pool gives them their own.
    std::size_t PoolIndex = 0;
};

// The owner of every element the engine makes, in order of making. Elements
// never move; deleting one frees it and leaves an empty slot, so no list is
// searched for it.
class CIsoElementPool {
public:
    // Adds a copy of `element` and returns the pool's own.
    CIsoElement* Add(const CIsoElement& element);
    // Frees an element of this pool. Lists that refer to it are the
    // caller's to update first.
    void Delete(CIsoElement* element);
    void Clear();

    std::size_t Count() const { return m_Live; }
    bool Holds(const CIsoElement* element) const;
    // The live elements in order of making.
    std::vector<CIsoElement*> Elements() const;

private:
    std::vector<std::unique_ptr<CIsoElement>> m_Slots;
    std::size_t m_Live = 0;
};

// Source elements of one group of touching copper, with the pieces that
// belong to it. The lists refer only.
struct CIsoGroup {
    int GroupNo = 0;                // every maker sets it at once
    CRefList<CIsoElement> Sources;
    CRefList<CIsoElement> Pieces;
    CRefList<CIsoElement> OtherPieces;
};

// Arc pieces on one circle; lives only while arcs are composed.
struct CArcFamily {
    CDPoint Centre{0.0, 0.0};
    double Radius = 0.0;
    CRefList<CIsoElement> Members;
};

// The document's lists of the offset-path engine.
class COffsetEngineLists {
public:
    CIsoElementPool m_IsoElements;            // owns every element
    CRefList<CIsoElement> m_IsoSources;       // source elements of the working side
    CRefList<CIsoElement> m_IsoSplitPieces;   // pieces of the split variants
    COwnedList<CIsoGroup> m_IsoGroups;        // groups of the current calculation
    int m_IsoGroupCount = 0;                  // groups made by the last grouping

    // Frees every element and group; the group counter stays.
    void ClearOffsetEngine();
    // A new group numbered `groupNo`, owned by m_IsoGroups (at its end).
    CIsoGroup* AddGroup(int groupNo);
};

// Length of an element's arc; equal angles count as a full turn.
double ElementArcLength(const CIsoElement& element);
// Sweep of an element's arc in degrees; equal angles give 360.
float ElementArcSweep(const CIsoElement& element);
// The same from the two angles: end - start, plus 360 when end is not above
// start.
float ArcSweepDegrees(float start, float end);
