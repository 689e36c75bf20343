// Copper and path records made in one line, for the tests of every folder.
#pragma once

#include "records/board_records.h"
#include "records/copper_records.h"
#include "records/planner_records.h"

#include <cstdint>
#include <initializer_list>
#include <memory>

inline CTrackRecord* AddTrack(COwnedList<CTrackRecord>& list, std::uint8_t type, float x1, float y1,
                              float x2, float y2, float width)
{
    auto t = std::make_unique<CTrackRecord>();
    t->type = type;
    t->x1 = x1;
    t->y1 = y1;
    t->x2 = x2;
    t->y2 = y2;
    t->width = width;
    return AddTail(list, std::move(t));
}

inline CFlashRecord* AddFlash(COwnedList<CFlashRecord>& list, float x, float y, float r)
{
    auto f = std::make_unique<CFlashRecord>();
    f->x = x;
    f->y = y;
    f->radius = r;
    return AddTail(list, std::move(f));
}

inline CPathSegment* AddSegment(CPathRecord& layer, int type, double x1, double y1, double x2,
                                double y2, double cx = 0, double cy = 0)
{
    auto s = std::make_unique<CPathSegment>();
    s->type = type;
    s->x1 = x1;
    s->y1 = y1;
    s->x2 = x2;
    s->y2 = y2;
    s->cx = cx;
    s->cy = cy;
    return AddTail(layer.items, std::move(s));
}

inline CDrillTool* AddDrillTool(COwnedList<CDrillTool>& list, int toolNumber, float diameter, int mode,
                                std::initializer_list<CDPoint> holes)
{
    auto tool = std::make_unique<CDrillTool>();
    tool->toolNumber = toolNumber;
    tool->diameter = diameter;
    tool->mode = mode;
    for (const CDPoint& h : holes)
        tool->holes.push_back(std::make_unique<CDPoint>(h));
    return AddTail(list, std::move(tool));
}

inline CGridPathSegment* AddGridSegment(COwnedList<CGridPathSegment>& list, std::uint8_t type,
                                        float x1, float y1, float x2, float y2, float cx = 0,
                                        float cy = 0)
{
    auto s = std::make_unique<CGridPathSegment>();
    s->type = type;
    s->x1 = x1;
    s->y1 = y1;
    s->x2 = x2;
    s->y2 = y2;
    s->cx = cx;
    s->cy = cy;
    return AddTail(list, std::move(s));
}

// A clearing region at the end of `list`.
inline CClearRegion* AddClearRegion(COwnedList<CClearRegion>& list)
{
    return AddTail(list, std::make_unique<CClearRegion>());
}

// A clearing stroke from (x1, y1) to (x2, y2) at the end of `region`.
inline CClearStroke* AddClearStroke(CClearRegion& region, float x1, float y1, float x2, float y2)
{
    auto s = std::make_unique<CClearStroke>();
    s->x1 = x1;
    s->y1 = y1;
    s->x2 = x2;
    s->y2 = y2;
    return AddTail(region.strokes, std::move(s));
}
