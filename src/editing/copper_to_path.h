// Picked copper turned straight into an engraving path of tool 1: the
// centre line of each track, two rings round each round pad.
#pragma once

#include "platform/object_lists.h"

struct CFlashRecord;
struct CPathRecord;
struct CTrackRecord;
class CBoardModel;

// The colour of tool 1's isolation layers.
constexpr unsigned T1_ISO_COLOUR = 0xAAAADC;

// A new "T1ISO" layer of side `side` at the head of the model's path-layer
// list, with tool 1's size and depth: a line for each track (tracks drawn
// end to end share a chain number) and, for each round pad, a ring at
// half the tool inside its edge and one a whole tool inside. Pads smaller
// than the tool get no ring that would turn inside out. Returns the layer.
CPathRecord* CopperToT1Path(CBoardModel& model, const CRefList<CTrackRecord>& tracks,
                            const CRefList<CFlashRecord>& flashes, int side, float toolSize,
                            float depth);
