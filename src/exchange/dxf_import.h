// DXF drawings taken straight into path layers: "DXF to CAM" (every layer
// of the drawing becomes a path layer of side 5, its circles on HOLE layers
// drill holes too) and the machining layer of a DXF to Gerber conversion.
// Both read into records of their own; the caller puts them into the
// document only when the whole file was read.
#pragma once

#include "platform/object_lists.h"
#include "records/board_records.h"

#include <string>

// What DXF to CAM read from a drawing, in drawing units taken as mil; HPGL
// and RS-274D to CAM fill it too.
struct CDxfCamImport {
    std::string layerList;          // the names before the import and the new ones
    COwnedList<CPathRecord> layers; // one per name, the last name first
    COwnedList<CDrillTool> holes;   // tools numbered 1, 2, ... in order of first use
    float minX = 1000000.0f, minY = 1000000.0f;
    float maxX = -100000.0f, maxY = -100000.0f;
    int items = 0;                  // items and holes made

    // Takes a point into the extent.
    void Widen(double x, double y);
};

// 1 when the file was read whole (`out` holds it), else 0 after a message.
// `layerList` is the document's list of DXF layer names so far; every name
// of it gets a layer too.
int ReadDxfToPathLayers(const std::string& path, const std::string& layerList,
                        CDxfCamImport& out);

// Where a converted drawing lies on the board: mil per drawing unit and the
// data origin the job loader subtracted.
struct CDxfPlacement {
    double factor = 1.0;
    double originX = 0.0;
    double originY = 0.0;
};

// The entities of DXF layer `name` as one path layer of side 5 (tool size 2,
// colour by the name's place in `layerList`, to which the drawing's layer
// names are added), chained for machining. 1 when the file was read whole,
// else 0 after a message with `layerList` and `layer` unchanged.
int ReadDxfMachiningLayer(const std::string& path, const std::string& name,
                          const CDxfPlacement& placement, std::string& layerList,
                          std::unique_ptr<CPathRecord>& layer);
