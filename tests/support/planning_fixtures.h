// What the planner's tests set and look up on a board: the board extent the
// raster spans and the path layers a run made.
#pragma once

#include "records/board_extent.h"
#include "records/board_model.h"

#include <string>
#include <vector>

inline void SetExtent(int minX, int minY, int maxX, int maxY)
{
    g_BoardMinX = minX;
    g_BoardMinY = minY;
    g_BoardMaxX = maxX;
    g_BoardMaxY = maxY;
}

// The readers give every record an id of its own, which the cut ends carry.
inline void NumberRecords(CBoardModel& model)
{
    int id = 1;
    for (auto& t : model.m_TrackList)
        t->recordNo = id++;
    for (auto& f : model.m_FlashList)
        f->recordNo = id++;
}

// The first path layer of that name, or null.
inline const CPathRecord* Layer(const CBoardModel& model, const std::string& name)
{
    for (const auto& layer : model.m_PathLayerList)
        if (layer->name == name)
            return layer.get();
    return nullptr;
}

// The names of the path layers in list order.
inline std::vector<std::string> LayerNames(const CBoardModel& model)
{
    std::vector<std::string> names;
    for (const auto& layer : model.m_PathLayerList)
        names.push_back(layer->name);
    return names;
}
