// The document as JSON, for developers and tests: the work order, the
// extents, both sides' copper (from their side files), the holes by tool, the
// named layers and the path layers. Keys come in a fixed order; floats are
// printed with enough digits to read back the same value.
#pragma once

#include <ostream>

class CVelmDoc;

// Writes the document; the side files "top.tmp" and "bot.tmp" of the system
// directory are read for the two sides, and the document then holds the side
// it held before (when that side's file could be read).
void WriteDocumentJson(CVelmDoc& doc, std::ostream& out);
