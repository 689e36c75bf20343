// The grid walk over a list of pieces that the removal and duplicate passes
// share.
#include "offset/piece_walk.h"

#include <algorithm>

namespace {

std::vector<CBox> BoxesOf(const CRefList<CIsoElement>& pieces)
{
    std::vector<CBox> boxes;
    boxes.reserve(pieces.size());
    for (const CIsoElement* p : pieces)
        boxes.push_back(PieceBox(*p));
    return boxes;
}

}  // namespace

CBox PieceBox(const CIsoElement& p)
{
    if (p.Kind == ISO_LINE)
        return {std::min(p.Pt0.x, p.Pt1.x), std::min(p.Pt0.y, p.Pt1.y), std::max(p.Pt0.x, p.Pt1.x),
                std::max(p.Pt0.y, p.Pt1.y)};
    if (p.Kind == ISO_ARC || p.Kind == ISO_CIRCLE)
        return {p.Pt0.x - p.Radius, p.Pt0.y - p.Radius, p.Pt0.x + p.Radius, p.Pt0.y + p.Radius};
    return {p.Pt0.x, p.Pt0.y, p.Pt0.x, p.Pt0.y};
}

CPieceWalk::CPieceWalk(CIsoElementPool& pool, CRefList<CIsoElement>& pieces)
    : m_Pool(pool), m_Pieces(pieces), m_Grid(BoxesOf(pieces))
{
}

CPieceWalk::~CPieceWalk()
{
    if (m_Deleted)
        m_Pieces.erase(std::remove(m_Pieces.begin(), m_Pieces.end(), nullptr), m_Pieces.end());
}

void CPieceWalk::Delete(std::size_t i)
{
    CIsoElement* piece = m_Pieces[i];
    m_Pieces[i] = nullptr;
    m_Deleted = true;
    m_Pool.Delete(piece);
}
