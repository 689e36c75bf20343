// Straight segments clipped by a rubber band, and arc directions on panel
// copies.
#include "editing/band_cuts.h"

#include "geometry/board_orientation.h"
#include "records/board_records.h"

#include <algorithm>
#include <cmath>

namespace {

// Shorter stretches inside the band than this (mil) are a touch, not a cut.
constexpr double kTouchLength = 1e-6;

CDPoint At(const CDPoint& a, const CDPoint& b, double t)
{
    return CDPoint(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t);
}

}  // namespace

CBandRect::CBandRect(double x1, double y1, double x2, double y2)
    : left(std::min(x1, x2)), top(std::min(y1, y2)), right(std::max(x1, x2)), bottom(std::max(y1, y2))
{
}

CBandCut CutLineByBand(const CBandRect& band, CDPoint start, CDPoint end)
{
    CBandCut cut;
    cut.start = start;
    cut.end = end;
    const bool startIn = band.Holds(start), endIn = band.Holds(end);
    if (startIn && endIn) {
        cut.place = EBandPlace::Inside;
        return cut;
    }
    // The stretch [t0, t1] of the segment's parameter that lies in the band.
    const double dx = end.x - start.x, dy = end.y - start.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {start.x - band.left, band.right - start.x, start.y - band.top,
                         band.bottom - start.y};
    double t0 = 0.0, t1 = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return cut;   // parallel to this side and beyond it
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
    }
    const double length = std::hypot(dx, dy);
    if (t1 < t0 || (t1 - t0) * length < kTouchLength)
        return cut;
    if (startIn) {
        cut.place = EBandPlace::StartInside;
        cut.leave = At(start, end, t1);
    } else if (endIn) {
        cut.place = EBandPlace::EndInside;
        cut.enter = At(start, end, t0);
    } else {
        cut.place = EBandPlace::Through;
        cut.enter = At(start, end, t0);
        cut.leave = At(start, end, t1);
    }
    return cut;
}

std::optional<CBandPiece> InsidePiece(const CBandCut& cut)
{
    switch (cut.place) {
    case EBandPlace::Inside: return CBandPiece{cut.start, cut.end};
    case EBandPlace::StartInside: return CBandPiece{cut.start, cut.leave};
    case EBandPlace::EndInside: return CBandPiece{cut.end, cut.enter};
    case EBandPlace::Through: return CBandPiece{cut.enter, cut.leave};
    case EBandPlace::Outside: break;
    }
    return std::nullopt;
}

std::vector<CBandPiece> OutsidePieces(const CBandCut& cut)
{
    switch (cut.place) {
    case EBandPlace::Inside: return {};
    case EBandPlace::StartInside: return {{cut.end, cut.leave}};
    case EBandPlace::EndInside: return {{cut.enter, cut.start}};
    case EBandPlace::Through: return {{cut.start, cut.enter}, {cut.leave, cut.end}};
    case EBandPlace::Outside: break;
    }
    return {{cut.start, cut.end}};
}

int ArcTypeOnBlock(int type, const CLayoutBlock& block)
{
    if (IsStraightSegment(type))
        return 0;
    int direction = type == 1 ? 1 : -1;
    if (block.m_Swap)
        direction = -direction;
    const bool mirrorsOneAxis = block.m_Sign.x * block.m_Sign.y < 0;
    if (mirrorsOneAxis)
        direction = -direction;
    return direction == 1 ? 1 : 2;
}

int CutPathLayersByBand(COwnedList<CPathRecord>& layers,
                        const std::function<bool(const CPathRecord&)>& takes, const CBandRect& band,
                        const std::function<void()>& beforeFree)
{
    bool released = false;
    auto release = [&] {
        if (!released && beforeFree)
            beforeFree();
        released = true;
    };
    int changed = 0;
    std::vector<const CPathRecord*> emptied;
    for (auto& layer : layers) {
        if (!takes(*layer) || layer->items.empty())
            continue;
        COwnedList<CPathSegment> kept, added;
        kept.reserve(layer->items.size());
        for (auto& item : layer->items) {
            CPathSegment& s = *item;
            const CDPoint a(s.x1, s.y1), b(s.x2, s.y2);
            if (band.Holds(a) && band.Holds(b)) {
                ++changed;
                release();
                item.reset();
                continue;
            }
            const CBandCut cut = IsStraightSegment(s.type) ? CutLineByBand(band, a, b) : CBandCut{};
            if (cut.place != EBandPlace::Outside) {
                const std::vector<CBandPiece> pieces = OutsidePieces(cut);
                ++changed;
                for (std::size_t i = 0; i < pieces.size(); ++i) {
                    CPathSegment& piece = i == 0 ? s : *added.emplace_back(std::make_unique<CPathSegment>(s));
                    piece.x1 = pieces[i].start.x;
                    piece.y1 = pieces[i].start.y;
                    piece.x2 = pieces[i].end.x;
                    piece.y2 = pieces[i].end.y;
                }
            }
            kept.push_back(std::move(item));
        }
        for (auto& piece : added)
            kept.push_back(std::move(piece));
        layer->items = std::move(kept);
        if (layer->items.empty())
            emptied.push_back(layer.get());
    }
    if (!emptied.empty()) {
        release();
        std::erase_if(layers, [&](const std::unique_ptr<CPathRecord>& layer) {
            return std::find(emptied.begin(), emptied.end(), layer.get()) != emptied.end();
        });
    }
    return changed;
}
