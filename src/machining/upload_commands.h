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

// The settings of the CAM-path upload.
class CCamUploadDlg : public CDialog {
public:
    std::string m_Layer;
    std::string m_Feed;  // the feed, optionally "," and a start address
    float m_UpHeight = 0.0f;
    float m_DownHeight = 0.0f;
    float m_Diameter = 0.0f;  // mm
    std::string m_Memo;
    int m_Address = 0;
    int m_Run = 0;
    int m_Select = 0;

    CCamUploadDlg();
    void DoDataExchange(CDataExchange* pDX) override;
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
int UploadCamPaths(COwnedList<CPathRecord>& pathLayers, const COwnedList<CLayoutBlock>& blocks);
