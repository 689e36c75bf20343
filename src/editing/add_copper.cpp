// Records of hand-drawn copper and the side-wide shifts of the alignment.
#include "editing/add_copper.h"

#include "geometry/plane_geometry.h"
#include "platform/font_choice.h"
#include "records/board_model.h"

#include <cmath>
#include <memory>

namespace {

template <class T>
T* Append(COwnedList<T>& list, std::unique_ptr<T> record, CBoardModel& model)
{
    record->recordNo = model.m_ReaderState++;
    return AddTail(list, std::move(record));
}

void ShiftFlashList(COwnedList<CFlashRecord>& flashes, CDPoint d)
{
    for (auto& f : flashes) {
        f->x = static_cast<float>(f->x + d.x);
        f->y = static_cast<float>(f->y + d.y);
    }
}

}  // namespace

CTrackRecord* AddCopperLine(CBoardModel& model, CDPoint a, CDPoint b, float width)
{
    auto t = std::make_unique<CTrackRecord>();
    t->x1 = static_cast<float>(a.x);
    t->y1 = static_cast<float>(a.y);
    t->x2 = static_cast<float>(b.x);
    t->y2 = static_cast<float>(b.y);
    t->width = width;
    t->type = 0;
    return Append(model.m_TrackList, std::move(t), model);
}

CFlashRecord* AddCopperJoint(CBoardModel& model, CDPoint p, float size, std::uint8_t aperture)
{
    auto f = std::make_unique<CFlashRecord>();
    f->x = static_cast<float>(p.x);
    f->y = static_cast<float>(p.y);
    f->radius = size;
    f->type = 3;
    f->aperture = aperture;
    f->arcMark = 1;
    return AddHead(model.m_FlashList, std::move(f));
}

CTrackRecord* AddCopperRect(CBoardModel& model, CDPoint corner1, CDPoint corner2)
{
    auto t = std::make_unique<CTrackRecord>();
    const float middle = static_cast<float>((corner1.x + corner2.x) / 2);
    t->x1 = middle;
    t->x2 = middle;
    t->y1 = static_cast<float>(corner1.y);
    t->y2 = static_cast<float>(corner2.y);
    t->width = static_cast<float>(static_cast<int>(std::fabs(corner2.x - corner1.x)));
    t->type = 1;
    return Append(model.m_TrackList, std::move(t), model);
}

CFlashRecord* AddCopperCircle(CBoardModel& model, CDPoint centre, CDPoint edge)
{
    auto f = std::make_unique<CFlashRecord>();
    f->x = static_cast<float>(centre.x);
    f->y = static_cast<float>(centre.y);
    f->radius = static_cast<float>(Distance(centre.x, centre.y, edge.x, edge.y));
    f->type = 0;
    return Append(model.m_FlashList, std::move(f), model);
}

int AddEngravedText(CBoardModel& model, const std::vector<POINT>& path,
                    const std::vector<unsigned char>& kinds, POINT at, bool mirrored)
{
    // The text's cell takes the first four points; a path without glyphs
    // makes nothing.
    constexpr std::size_t firstGlyphPoint = 4;
    if (path.size() <= firstGlyphPoint || kinds.size() != path.size())
        return 0;
    const POINT corner = path[2];
    auto place = [&](POINT p) {
        return CDPoint(mirrored ? at.x + corner.x - p.x : at.x + p.x, at.y + corner.y - p.y);
    };
    int strokes = 0;
    CDPoint previous = place(POINT{0, 0});
    for (std::size_t i = firstGlyphPoint; i < path.size(); ++i) {
        const CDPoint p = place(path[i]);
        if (kinds[i] != PT_MOVETO) {
            auto t = std::make_unique<CTrackRecord>();
            t->x1 = static_cast<float>(previous.x);
            t->y1 = static_cast<float>(previous.y);
            t->x2 = static_cast<float>(p.x);
            t->y2 = static_cast<float>(p.y);
            t->width = 6.0f;
            t->type = 0;
            t->groupNo = 0;
            Append(model.m_TrackList, std::move(t), model);
            ++strokes;
        }
        CFlashRecord* dot = AddCopperJoint(model, p, 2.6f, 0);
        dot->recordNo = model.m_ReaderState;
        previous = p;
    }
    return strokes;
}

void SetTrackWidth(const CRefList<CTrackRecord>& tracks, const CRefList<CFlashRecord>& flashes,
                   float width)
{
    for (CTrackRecord* t : tracks)
        t->width = width;
    for (CFlashRecord* f : flashes)
        if (f->type == 3)
            f->radius = width / 2;
}

void ShiftSideCopper(CBoardModel& model, CDPoint offset)
{
    ShiftFlashList(model.m_FlashList, offset);
    ShiftFlashList(model.m_PadList2, offset);
    for (auto& t : model.m_TrackList) {
        t->x1 = static_cast<float>(t->x1 + offset.x);
        t->y1 = static_cast<float>(t->y1 + offset.y);
        if (t->type < 3) {
            t->x2 = static_cast<float>(t->x2 + offset.x);
            t->y2 = static_cast<float>(t->y2 + offset.y);
        }
    }
}
