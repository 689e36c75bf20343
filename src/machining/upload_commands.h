// The upload commands of the machining centre menu: each asks its settings
// (kept in the registry under "TQ615..."), builds the program from the
// board's drill data, registration holes or path layers and sends it to the
// third controller (link/program_upload.h).
#pragma once

#include "platform/object_lists.h"
#include "ui/dialog.h"

#include <string>
#include <vector>

class CHoleTextWalk;
class CLayoutBlock;
struct CPathRecord;

// The settings of the CAM-path upload, as its dialog gave them.
struct CCamUploadSettings {
    std::string layer;     // the drawing-data layer that goes
    std::string feedText;  // the feed, optionally "," and a start address
    int startAddress = 0;  // the address when the feed text names none
    float upHeight = 0.0f;
    float downHeight = 0.0f;
    float diameter = 0.0f;  // mm
    int run = 0;            // start the program when the upload ends
};

// The drill feeds by tool number that the drill upload offers and keeps.
std::vector<float>& UploadDrillFeeds();

// 1 when the program was uploaded.
int UploadDrillCoordinates(const COwnedList<CLayoutBlock>& blocks);
int UploadLocatingHoles(CHoleTextWalk& holes);
// The engraving upload (layers of the working side the view shows) and the
// routing upload (the outline layers it shows).
int UploadEngravePaths(const std::vector<const CPathRecord*>& layers,
                       const COwnedList<CLayoutBlock>& blocks);
int UploadRoutePaths(const std::vector<const CPathRecord*>& layers,
                     const COwnedList<CLayoutBlock>& blocks);
// The CAM upload: the drawing-data layer chosen in its dialog.
int UploadCamPaths(COwnedList<CPathRecord>& pathLayers, const COwnedList<CLayoutBlock>& blocks,
                   const CCamUploadSettings& settings);
