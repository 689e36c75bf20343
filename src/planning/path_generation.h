// Isolation paths from the cut raster: walks from each copper-side interval
// end to the nearest unused end of the same net on the neighbouring scan
// lines, tracing each net's outline at the isolation distance, and turns the
// walk into straight segments along track sides, arcs round flashes and the
// lines that join them (appended to the model's m_GridPathList).
#pragma once

#include <cstdint>
#include <functional>

class CBoardModel;
struct CScanInterval;

// Marks a walk's progress on the screen (a board point, mil); may be empty.
using CWalkStepHook = std::function<void(float x, float y)>;

// Walks starting from the ends on the rows, and from those on the columns.
// Ends a walk takes stay marked used, so a second call of the column walk
// starts only where the first left ends unused.
void GenerateRowPaths(CBoardModel& model, const CWalkStepHook& drawStep = {});
void GenerateColumnPaths(CBoardModel& model, const CWalkStepHook& drawStep = {});

// The next end of a walk: the nearest unused end of `*net` within reach of
// (*x, *y) on the four columns and four rows round the point (an end of
// `source` counts as 1.4 times nearer). On success writes the end's point,
// net, tag (| 0x20 on a row) and side (1 start, 2 end), marks it used and
// returns its interval; else null.
CScanInterval* FindNextRowInterval(CBoardModel& model, std::uint32_t* net, float* x, float* y,
                                   int* tag, int* side, const void* source);
// The same over three columns and three rows, for any unused end of any net.
CScanInterval* FindNextIntervalWide(CBoardModel& model, std::uint32_t* net, float* x, float* y,
                                    int* tag, int* side);

// Before the path-layer generators walk: column intervals shorter than 3 mil
// are marked used; row intervals shorter than 3 mil shrink to their midpoint.
void PruneShortIntervals(CBoardModel& model);
