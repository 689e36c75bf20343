// The walk of a removal or duplicate pass over one list of pieces: a grid of
// the pieces' boxes hands out, in list order, only the pieces that can lie
// near the shape being judged, so a group of thousands of pieces is not
// walked whole for every source. A deleted piece leaves an empty slot until
// the walk ends, so positions stay valid while it runs.
#pragma once

#include "offset/box_grid.h"
#include "records/offset_records.h"

#include <cstdint>
#include <vector>

// Where a piece can reach: a line's end points, an arc's (or circle's) whole
// circle, anything else its first point.
CBox PieceBox(const CIsoElement& piece);

class CPieceWalk {
public:
    CPieceWalk(CIsoElementPool& pool, CRefList<CIsoElement>& pieces);
    // Drops the empty slots of deleted pieces from the list.
    ~CPieceWalk();
    CPieceWalk(const CPieceWalk&) = delete;
    CPieceWalk& operator=(const CPieceWalk&) = delete;

    // Calls visit(piece) for each live piece whose box meets `box`, in list
    // order; a visit that returns true deletes the piece.
    template <class Visit>
    void ForNear(const CBox& box, Visit visit)
    {
        m_Grid.Find(box, 0, m_Found);
        for (std::uint32_t i : m_Found) {
            CIsoElement* piece = m_Pieces[i];
            if (piece && visit(*piece))
                Delete(i);
        }
    }

    // The same for every live piece, in list order.
    template <class Visit>
    void ForAll(Visit visit)
    {
        for (std::size_t i = 0; i < m_Pieces.size(); ++i) {
            CIsoElement* piece = m_Pieces[i];
            if (piece && visit(*piece))
                Delete(i);
        }
    }

    // Takes the piece at position i out of the list and frees it.
    void Delete(std::size_t i);

private:
    CIsoElementPool& m_Pool;
    CRefList<CIsoElement>& m_Pieces;
    CBoxGrid m_Grid;
    std::vector<std::uint32_t> m_Found;
    bool m_Deleted = false;
};
