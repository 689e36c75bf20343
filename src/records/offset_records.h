// The record of the offset-path engine that the document owns: a group of
// touching copper. Its lists only refer to the engine's elements, which the
// engine's own element list owns.
#pragma once

#include "platform/object_lists.h"

// An element of the offset-path engine: a piece of source copper or of an
// offset outline. Its geometry comes with the engine; the document only owns
// and frees the pieces of its piece list.
struct CIsoElement {
};

struct CIsoGroup {
    int GroupNo = 0;                // every maker sets it at once
    CRefList<CIsoElement> Sources;
    CRefList<CIsoElement> Pieces;
    CRefList<CIsoElement> OtherPieces;
};
