// Calculated paths as a DXF R14 drawing and back. The export copies the
// template "template.dx_" of the system directory line by line and writes
// the entities in place of its marker line (one holding "////////"): the
// tool layers of both sides as TOPT1ISO .. BOTT3MIL, the DXF-CAM layers
// under their own names and the offset engine's elements on layers of
// their own, never on a tool layer. Numbers go out with three decimals;
// each entity has a handle counted from 1000 (3e8). The import reads LINE,
// ARC and CIRCLE entities back into path layers found by their DXF layer
// names, closing the small gaps the three decimals leave.
#pragma once

#include "records/document_lists.h"

#include <string>

// The layers the offset engine's elements go to: its copper and its
// pieces. Neither names a tool layer, so a drawing read back never turns
// copper centre lines into isolation paths.
extern const char* const kDxfEngineCopperLayer;
extern const char* const kDxfEnginePieceLayer;

// The marker line of the template that the entities replace.
extern const char* const kDxfTemplateMarker;

class CDxfEntityWriter {
public:
    explicit CDxfEntityWriter(std::string& out) : m_Out(out) {}

    void Line(const std::string& layer, double x1, double y1, double x2, double y2);
    void Circle(const std::string& layer, double cx, double cy, double r);
    // Counter-clockwise from `start` to `end` (degrees).
    void Arc(const std::string& layer, double cx, double cy, double r, double start, double end);
    // The handle the next entity gets.
    unsigned NextHandle() const { return m_Handle; }

private:
    void Head(const char* type, const std::string& layer, const char* subclass);
    void Number(const char* code, double value);

    std::string& m_Out;
    unsigned m_Handle = 1000;
};

// The items of one path layer on DXF layer `dxfLayer`: lines (types 0 and
// 10), circles (an arc whose ends coincide), arcs (type 1 as it runs,
// type 2 turned round); other types are left out.
void WriteDxfLayerItems(CDxfEntityWriter& out, const CPathRecord& layer,
                        const std::string& dxfLayer);
// Every tool layer of that name on the board sides, on "TOP<name>" or
// "BOT<name>".
void WriteDxfToolEntity(CDxfEntityWriter& out, const COwnedList<CPathRecord>& layers,
                        const std::string& toolName);
// The offset engine's lines and arcs, its copper and its pieces apart.
void WriteDxfTopIsoEntity(CDxfEntityWriter& out, const CIsoElementPool& elements);

// The whole drawing from the template's lines: 1, or 0 when the template
// holds no marker line.
int BuildCalcPathsDxf(const std::vector<std::string>& templateLines, const CDocumentLists& lists,
                      std::string& text);

// The LINE, ARC and CIRCLE entities of the drawing into `into`'s path
// layers, through its tool-path layer look-up (which may add names to its
// layer list). 0 after a message when the file cannot be read or is
// broken; `items` counts what was read.
int ReadCalcPathsDxf(const std::string& path, CDocumentLists& into, int& items);
