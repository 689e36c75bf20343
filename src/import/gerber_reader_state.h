// What the Gerber readers share beyond the block grammar: the file list, the
// shape codes kept from one read to the next, the backup that lets a refused
// file leave the document as it was, and their messages.
#pragma once

#include "document/copper_records.h"
#include "document/record_lists.h"
#include "import/aperture_records.h"
#include "import/gerber_format_dlg.h"
#include "import/gerber_blocks.h"

#include <string>

class CVelmDoc;

// Aperture shape codes (0 round, 1 rectangle, 2 other, 3 macro) that the
// layer reader and the route reader each keep between reads.
struct CGerberShapeCodes {
    int layer = 0;
    int route = 0;
};
extern CGerberShapeCodes g_GerberShapeCodes;

// Takes the next name of a ";"-separated list off `rest`; false when no
// name is left.
bool NextGerberPath(std::string& rest, std::string& name);

// The copper lists, the aperture table and the number format as they were
// before a read; Restore puts them back, Keep forgets them.
class CGerberReadBackup {
public:
    explicit CGerberReadBackup(CVelmDoc& doc);
    ~CGerberReadBackup();
    void Restore();
    void Keep() { m_Active = false; }

private:
    CVelmDoc& m_Doc;
    bool m_Active = true;
    COwnedList<CTrackRecord> m_Tracks;
    COwnedList<CFlashRecord> m_Flashes;
    CRefList<CTrackRecord> m_PadTracks;
    std::vector<CApertureRecord> m_Apertures;
    std::size_t m_MacroCount = 0;
    CGerberFormatDlg m_Format;
    float m_UnitFactor = 0.0f;
    int m_Metric = 0;
    float m_DominantPad = 0.0f;
    CPadRunStatistic m_PadRuns;
    int m_GridStep = 0;
    int m_AreaFillFlag = 0;
    CGerberShapeCodes m_Shapes;
};

// Subtracts the data origin from the tracks (arc records keep their angles)
// and the pads.
void ShiftToDataOrigin(COwnedList<CTrackRecord>& tracks, COwnedList<CFlashRecord>& pads);

// The messages of a file the readers cannot take as it is.
std::string TruncatedFileMessage(const std::string& path, long line);
void ReportUnsupportedPrimitive(const std::string& path, int code);
void ReportWideApertureTable(std::size_t count);
