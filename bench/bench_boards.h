// The boards the planning benchmarks run on: a corpus side read as the
// job loader reads it, copied n x n times with the board extent round it.
#pragma once

#include "document/velm_doc.h"
#include "records/board_extent.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <sys/resource.h>

#include <algorithm>
#include <memory>
#include <string>

inline const char* const kBoard = ORDUNE_CORPUS_DIR "/boards/project-controller/project-controller-B_Cu.gbr";
inline const char* const kDense = ORDUNE_CORPUS_DIR "/gerbv-examples/hellboard/hellboard.front.gbr";

// Room between two copies of the board (mil).
inline constexpr float kTileGap = 100.0f;

inline long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The side read with the area-fill reader (or the plain one, which leaves
// regions out), then copied n x n times, with
// the board extent set round it as the job loader sets it.
inline bool LoadTiled(CVelmDoc& doc, const char* path, int n, bool fill = true)
{
    g_SettingsTextWnd.Edit().ClearAll();
    for (const char* line : {"FILETYPE $X", "MIL", "ROUND", "RECT", "OVAL", "$", "$", "$0", "$0",
                             "$1", "$2", "$3"})
        g_SettingsTextWnd.Edit().WriteLine(line);
    g_CurrentApertureFile.clear();
    g_DataOriginX = g_DataOriginY = 0;
    if (!(fill ? doc.ReadGerberLayerFill(path) : doc.ReadGerberLayer(path)) || doc.m_TrackList.empty())
        return false;
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (const auto& t : doc.m_TrackList)
        if (t->type < 3) {
            minX = std::min({minX, t->x1, t->x2});
            minY = std::min({minY, t->y1, t->y2});
            maxX = std::max({maxX, t->x1, t->x2});
            maxY = std::max({maxY, t->y1, t->y2});
        }
    for (const auto& f : doc.m_FlashList) {
        minX = std::min(minX, f->x - f->radius);
        minY = std::min(minY, f->y - f->radius);
        maxX = std::max(maxX, f->x + f->radius);
        maxY = std::max(maxY, f->y + f->radius);
    }
    const float stepX = maxX - minX + kTileGap, stepY = maxY - minY + kTileGap;
    const std::size_t tracks = doc.m_TrackList.size(), flashes = doc.m_FlashList.size();
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) {
            if (a == 0 && b == 0)
                continue;
            const float dx = float(a) * stepX, dy = float(b) * stepY;
            for (std::size_t i = 0; i < tracks; ++i) {
                auto t = std::make_unique<CTrackRecord>(*doc.m_TrackList[i]);
                t->x1 += dx;
                t->y1 += dy;
                if (t->type < 3) {
                    t->x2 += dx;
                    t->y2 += dy;
                }
                doc.m_TrackList.push_back(std::move(t));
            }
            for (std::size_t i = 0; i < flashes; ++i) {
                auto f = std::make_unique<CFlashRecord>(*doc.m_FlashList[i]);
                f->x += dx;
                f->y += dy;
                doc.m_FlashList.push_back(std::move(f));
            }
        }
    g_BoardMinX = int(minX) - 50;
    g_BoardMinY = int(minY) - 50;
    g_BoardMaxX = int(minX + float(n) * stepX) + 50;
    g_BoardMaxY = int(minY + float(n) * stepY) + 50;
    return true;
}
