// DXF to Gerber: the layers of a drawing that the operator gave a role (top
// and bottom copper, outline, drill) turned into path layers of kinds the
// RS-274X and Excellon writers draw, in mil.
#pragma once

#include <string>

class CDocumentLists;

struct CDxfRoles {
    std::string top, bottom, drill, outline, machining;
    std::string unit;   // "mm", "mil" or "Inch"
};

// Mil per drawing unit for the unit text: "mm", "mil", anything else inch.
double DxfUnitFactor(const std::string& unit);

// The names offered for the roles: every layer of the drawing's converted
// entity kinds, cut at its first "_". 0 after a message when the file is
// unreadable or broken.
int CollectDxfRoleLayers(const std::string& path, std::string& list);

// Reads the drawing's entities into `model`: the four role layers (drill,
// top, bottom, outline, each added at the head), sub-layers "<role>_<n>",
// and one outline layer "<layer>-<n>" per closed zero-width polyline or
// SOLID. 0 after a message when the file is unreadable or broken.
int ConvertDxfRoles(const std::string& path, const CDxfRoles& roles, CDocumentLists& model);

// The output files beside the drawing: its path with the file name's
// extension (if any) replaced by `extension` (".top", ".bot", ...).
std::string DxfOutputPath(const std::string& dxfPath, const std::string& extension);
