// The jobs that cut the board along paths: the isolation lines, the clearing
// strokes, the two together, the board outline in depth passes, the engraving
// of the side's path layers, of their selection and of a drawing layer. Each
// walks its paths per panel copy through the runner vocabulary of
// job_runner.h: a travel with the tool lifted and one plunge where a chain of
// touching segments starts, then a line or arc move per segment.
#pragma once

#include "machining/job_runner.h"

#include <functional>
#include <string>
#include <vector>

struct CGridPathSegment;
struct CClearRegion;
struct CClearStroke;
struct CPathRecord;

// Which half of the combined isolation-and-milling job is next: 2 the
// isolation half, 1 the milling half (0 before any combined job ran).
extern int g_IsoMillPhase;

// The board data the path jobs cut and what they ask of the view about it.
struct CPathJobData {
    COwnedList<CGridPathSegment>* isoSegments = nullptr;
    COwnedList<CClearRegion>* regions = nullptr;
    COwnedList<CPathRecord>* layers = nullptr;
    // Whether the view shows the layer of that name.
    std::function<bool(const std::string&)> layerVisible;
    // Marks the item now being worked on the view (drawn twice: on, off).
    std::function<void(const CLayoutBlock&, const CGridPathSegment&)> markIso;
    std::function<void(const CLayoutBlock&, const CClearStroke&)> markStroke;
};

// ---- The geometry of an arc move ----

// The angle (degrees) of point p seen from centre c, counted clockwise as the
// controllers count it.
double ArcAngle(double px, double py, double cx, double cy);
// The controller's sweep (degrees) of an arc of `type` (1 one direction,
// otherwise the other) from angle `start` to angle `end`, before the copy's
// mirroring; start and end alike give a full circle.
double ArcSweep(int type, double start, double end);
// A copy whose orientation mirrors the board (x and y exchanged, or one axis
// mirrored, but not both) runs its arcs the other way round.
bool CopyMirrors(const CLayoutBlock& block);

// ---- Outline passes and tool prompts ----

// The depths (mm) of the outline passes for a total depth: passes of 0.6 mm
// and the last at the total when `stepped`, else one pass at the total; none
// for a total of 0 or less.
std::vector<float> RoutePassDepths(float total, bool stepped);
// The route tool's prompt for a size in mil.
std::string RouteToolPrompt(float sizeMil, bool chinese);
// The engraving tool's prompt for a size in mil with its colour word, and the
// pause after each plunge it asks for (left as it was for other sizes).
// `depthValue` is the layer's depth in Z pulses.
std::string EngraveToolPrompt(float sizeMil, float depthValue, bool chinese, int& dwellMs);

// The route layers the outline cuts: the shown path layers of side 5 (all of
// them when `visible` is empty), in list order. Their segments, layer after
// layer, are the outline's records, numbered from 1 by the range resume and
// in "OUTLINE_NOW".
std::vector<const CPathRecord*> OutlineRouteLayers(
    const COwnedList<CPathRecord>& layers, const std::function<bool(const std::string&)>& visible);

// ---- The jobs ----

// Isolation (job code 2, and the first half of code 5).
void RunIsolationJob(CRunnerView& view, CPathJobData& data);
// Milling (job code 3, and the second half of code 5): `argument` 1 moves to
// no area corner and prompts no cutter change.
void RunMillJob(CRunnerView& view, CPathJobData& data, int argument);
// Isolation then milling with one tool (job code 5); `fresh` non-zero starts
// with the isolation half, 0 resumes where the phase says.
void RunIsolateAndMill(CRunnerView& view, CPathJobData& data, int fresh);
// The outline (job code 4): the visible route layers (side 5) of every copy,
// in passes of growing depth.
void RunOutlineJob(CRunnerView& view, CPathJobData& data);
// Engraving (job code 12): the visible path layers of the current side.
void RunEngraveJob(CRunnerView& view, CPathJobData& data);
// Engraving the selection (job code 13): the "-S" layers of the current side,
// once, where they lie on the board.
void RunEngraveSelectionJob(CRunnerView& view, CPathJobData& data);
// Engraving the drawing layer chosen in the machining data dialog (job code
// 15, side 5) at its tool, depth and feed; `spindleOn` switches the spindle
// on after the first move. `toolChanges`: each tool is changed and its height
// detected (else the spindle runs with the stored offset); `spindleStaysOn`:
// the spindle keeps running after the job, for the dialog's next layer.
void RunCamEngraveJob(CRunnerView& view, CPathJobData& data, int spindleOn, bool toolChanges,
                      bool spindleStaysOn);
