// What the File/New job loader offers beside the document's members.
#pragma once

#include "records/copper_records.h"

#include <memory>

// A line record (type 0, record number 1) of the given ends and width.
std::unique_ptr<CTrackRecord> NewTrackRecord(float x1, float y1, float x2, float y2, float width);
