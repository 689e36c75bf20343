// The T1 engraving path made from picked copper.
#include "editing/copper_to_path.h"

#include "editing/route_edit.h"
#include "records/board_model.h"

#include <memory>

namespace {

CPathSegment* AddItem(CPathRecord& layer, CDPoint a, CDPoint b, int type, int chain)
{
    CPathSegment* s = AddPathLine(layer, a, b, type);
    s->value = chain;
    return s;
}

void AddRing(CPathRecord& layer, const CFlashRecord& pad, double radius, int chain)
{
    AddPathCircle(layer, CDPoint(pad.x, pad.y), radius)->value = chain;
}

}  // namespace

CPathRecord* CopperToT1Path(CBoardModel& model, const CRefList<CTrackRecord>& tracks,
                            const CRefList<CFlashRecord>& flashes, int side, float toolSize,
                            float depth)
{
    auto made = std::make_unique<CPathRecord>();
    made->size = toolSize;
    made->depth = depth;
    made->side = side;
    made->name = "T1ISO";
    made->colour = T1_ISO_COLOUR;
    made->visible = 1;
    CPathRecord* layer = AddHead(model.m_PathLayerList, std::move(made));

    int chain = 0;
    CDPoint previousEnd(0.0, 0.0);
    for (const CTrackRecord* t : tracks) {
        const CDPoint start(t->x1, t->y1), end(t->x2, t->y2);
        if (start != previousEnd)
            ++chain;
        AddItem(*layer, start, end, 0, chain);
        previousEnd = end;
    }
    for (const CFlashRecord* f : flashes) {
        if (f->type != 0)
            continue;
        const double s = f->radius, t = toolSize;
        // A ring of no or negative radius would be cut as a point or drawn
        // turned inside out: the pad is too small for it.
        if (s - t / 2 > 0)
            AddRing(*layer, *f, s - t / 2, ++chain);
        if (s - t > 0)
            AddRing(*layer, *f, s - t, ++chain);
    }
    return layer;
}
