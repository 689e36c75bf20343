// The boards the benchmarks run on: a corpus side read as the job loader
// reads it, copied n x n times with the board extent round it; a dense
// synthetic side.
#pragma once

#include "document/velm_doc.h"
#include "records/board_extent.h"
#include "records/board_records.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <random>
#include <string>

inline const char* const kBoard = ORDUNE_CORPUS_DIR "/boards/project-controller/project-controller-B_Cu.gbr";
inline const char* const kDense = ORDUNE_CORPUS_DIR "/gerbv-examples/hellboard/hellboard.front.gbr";
inline const char* const kDenseBack = ORDUNE_CORPUS_DIR "/gerbv-examples/hellboard/hellboard.back.gbr";

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

// One side of a dense board, 3700 x 3000 mil, made like the sides the
// Gerber reader gives: 16,000 strokes of copper pours (1 to 3 mil wide, in
// stacks that fill their areas), 20,000 round-ended traces of 6 to 25 mil
// in short 0/45/90-degree runs, 3,600 flat-ended tracks (most of them
// axis-parallel) and 400 arcs; an end pad at both ends of every pour stroke
// and at the start of every trace segment, 70,000 flashes in all with the
// component pads in rows; 3,000 holes and the board outline. Each side has a
// pattern of its own.
inline void FillDenseSide(CVelmDoc& doc, int side)
{
    std::mt19937 rng(101 + side);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto pick = [&](std::initializer_list<float> values) {
        return *(values.begin() + std::uniform_int_distribution<int>(0, int(values.size()) - 1)(rng));
    };
    constexpr double kW = 3700, kH = 3000;
    constexpr std::size_t kFlashes = 70000;
    auto aperture = std::make_unique<CApertureRecord>();
    aperture->width = 8;
    doc.m_ApertureList.push_back(std::move(aperture));
    auto track = [&](std::uint8_t type, double x1, double y1, double x2, double y2, float width) {
        auto t = std::make_unique<CTrackRecord>();
        t->x1 = float(x1);
        t->y1 = float(y1);
        t->x2 = float(x2);
        t->y2 = float(y2);
        t->width = width;
        t->type = type;
        doc.m_TrackList.push_back(std::move(t));
    };
    auto flash = [&](double x, double y, float radius, std::uint8_t type) {
        if (doc.m_FlashList.size() >= kFlashes)
            return;
        auto f = std::make_unique<CFlashRecord>();
        f->x = float(x);
        f->y = float(y);
        f->radius = radius;
        f->type = type;
        doc.m_FlashList.push_back(std::move(f));
    };
    // Pours: areas filled by level strokes one stroke width apart.
    for (int strokes = 0; strokes < 16000;) {
        float width = pick({1, 2, 2, 3});
        double x = uniform(50, kW - 450), y = uniform(50, kH - 350);
        double w = uniform(60, 400);
        int count = std::uniform_int_distribution<int>(10, 120)(rng);
        for (int i = 0; i < count && strokes < 16000; ++i, ++strokes) {
            double sy = y + i * width, sx = x + uniform(0, 20), ex = x + w - uniform(0, 20);
            track(0, sx, sy, ex, sy, width);
            flash(sx, sy, width / 2, 3);
            flash(ex, sy, width / 2, 3);
        }
    }
    // Traces: runs of 1 to 6 segments turning by multiples of 45 degrees.
    for (int traces = 0; traces < 20000;) {
        float width = pick({6, 6, 8, 8, 10, 10, 12, 16, 25});
        double x = uniform(100, kW - 100), y = uniform(100, kH - 100);
        int direction = std::uniform_int_distribution<int>(0, 7)(rng);
        int segments = std::uniform_int_distribution<int>(1, 6)(rng);
        for (int s = 0; s < segments && traces < 20000; ++s, ++traces) {
            double length = uniform(15, 200);
            double a = direction * M_PI / 4;
            double nx = std::clamp(x + length * std::cos(a), 20.0, kW - 20);
            double ny = std::clamp(y + length * std::sin(a), 20.0, kH - 20);
            track(0, x, y, nx, ny, width);
            flash(x, y, width / 2, 3);
            x = nx;
            y = ny;
            direction = (direction + std::uniform_int_distribution<int>(-1, 1)(rng) + 8) % 8;
        }
    }
    for (int i = 0; i < 3600; ++i) {
        double x = uniform(50, kW - 150), y = uniform(50, kH - 150), l = uniform(20, 120);
        float width = pick({12, 20, 40, 60});
        if (i % 9 == 0)
            track(1, x, y, x + l, y + l * 0.5, width);
        else if (i % 2 == 0)
            track(1, x, y, x + l, y, width);
        else
            track(1, x, y, x, y + l, width);
    }
    for (int i = 0; i < 400; ++i) {
        double start = uniform(0, 2 * M_PI);
        track(3, uniform(150, kW - 150), uniform(150, kH - 150), start, start + uniform(0.5, 3),
              float(uniform(20, 100)));
    }
    // Component pads: rows of 4 to 40 at a 50 or 100 mil pitch.
    while (doc.m_FlashList.size() < kFlashes) {
        double x = uniform(100, kW - 2100), y = uniform(100, kH - 100);
        double pitch = pick({50, 100});
        float radius = pick({8, 10, 12, 15, 20, 30});
        std::uint8_t type = std::uint8_t(std::uniform_int_distribution<int>(0, 2)(rng));
        int count = std::uniform_int_distribution<int>(4, 40)(rng);
        for (int i = 0; i < count; ++i)
            flash(x + i * pitch, y, radius, type);
    }
    g_HoleList.clear();
    for (int t = 0; t < 3; ++t) {
        auto tool = std::make_unique<CDrillTool>();
        tool->toolNumber = t + 1;
        tool->diameter = float(24 + 8 * t);
        tool->mode = 1;
        for (int i = 0; i < 1000; ++i)
            tool->holes.push_back(std::make_unique<CDPoint>(uniform(50, kW - 50), uniform(50, kH - 50)));
        g_HoleList.push_back(std::move(tool));
    }
    auto route = std::make_unique<CNamedLayer>();
    route->name = "route";
    const double corners[5][2] = {{0, 0}, {kW, 0}, {kW, kH}, {0, kH}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
        auto t = std::make_unique<CTrackRecord>();
        t->x1 = float(corners[i][0]);
        t->y1 = float(corners[i][1]);
        t->x2 = float(corners[i + 1][0]);
        t->y2 = float(corners[i + 1][1]);
        t->width = 4;
        route->tracks.push_back(std::move(t));
    }
    doc.m_NamedLayerList.push_back(std::move(route));
    g_BoardMinX = -100;
    g_BoardMinY = -100;
    g_BoardMaxX = int(kW) + 100;
    g_BoardMaxY = int(kH) + 100;
}
