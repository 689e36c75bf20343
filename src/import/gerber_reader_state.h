// What the Gerber readers share beyond the block grammar: the file list, the
// shape codes kept from one read to the next, the backup that lets a refused
// file leave the model as it was, and their messages.
#pragma once

#include "import/gerber_blocks.h"
#include "platform/object_lists.h"
#include "records/aperture_records.h"
#include "records/copper_records.h"
#include "settings/gerber_format_dlg.h"

#include <memory>
#include <string>

class CBoardModel;

bool Contains(const std::string& text, const char* part);
// D01, D02, D03 and their short forms: operations, not aperture selections.
// Asked of every block: by its characters, not by six comparisons.
inline bool IsGerberOperation(const std::string& dWord)
{
    const std::size_t n = dWord.size();
    const char last = n ? dWord[n - 1] : '\0';
    return (n == 2 || (n == 3 && dWord[1] == '0')) && dWord[0] == 'D' && last >= '1' && last <= '3';
}

// A new stroke or pad with the fields every reader sets.
std::unique_ptr<CTrackRecord> NewGerberTrack(double x1, double y1, double x2, double y2,
                                             float width, int type, int group, int recordNo);
std::unique_ptr<CFlashRecord> NewGerberPad(double x, double y, float radius, int type,
                                           int recordNo);

// The aperture index of a record: in full, and in its byte up to 255.
template <class Record>
void SetApertureIndex(Record* record, int index)
{
    if (record) {
        record->apertureNo = index;
        record->aperture = static_cast<std::uint8_t>(index < 255 ? index : 255);
    }
}

// A draw with a rectangular aperture of height h is lengthened by half of it
// beyond both ends, along the draw.
void LengthenSquareEnds(const CDPoint& from, const CDPoint& to, float h, CDPoint& start,
                        CDPoint& end);

// Pads the readers put at the head or the tail of a flash list. Building
// the list once at the end keeps each insertion at the head cheap.
class CPadCollector {
public:
    CFlashRecord* Add(std::unique_ptr<CFlashRecord> pad, bool head);
    // Room for this many head pads: the list then never moves while it grows.
    void Reserve(std::size_t heads) { m_Heads.reserve(heads); }
    // Head pads newest first, then the tail pads in order, into `list`
    // (which is replaced).
    void MoveInto(COwnedList<CFlashRecord>& list);
    void Clear();

private:
    COwnedList<CFlashRecord> m_Heads, m_Tails;
};

// The room worth setting aside for the tracks a read of the files joined by
// ";" makes, from their size: a list that grows record by record is moved
// to fresh memory each time it doubles, and the memory that is set aside
// but never written costs nothing. Pads come two to a track.
std::size_t ExpectedGerberTracks(const std::string& paths);

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

// The aperture table, the macros, the number format and (with `copper`)
// the copper lists as they were before a read, which starts with empty
// copper lists; Restore puts them back, Keep forgets them.
class CGerberReadBackup {
public:
    CGerberReadBackup(CBoardModel& model, bool copper);
    ~CGerberReadBackup();
    void Restore();
    void Keep() { m_Active = false; }

private:
    CBoardModel& m_Model;
    bool m_Active = true;
    bool m_Copper;
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
void ShiftPadsToDataOrigin(COwnedList<CFlashRecord>& pads);

// The centre of an arc from its I and J offsets: signed offsets for the
// dialects that write them (and in multi-quadrant mode), else the one of
// the four sign choices whose radii to start and end agree.
CDPoint GerberArcCentre(const CDPoint& start, const CDPoint& end, double i, double j,
                        bool signedOffsets);

// The messages of a file the readers cannot take as it is.
std::string TruncatedFileMessage(const std::string& path, long line);
std::string RefusedNumberMessage(const std::string& path, long line);
// A D code past what the aperture table holds, at a line of a file.
std::string DCodeBeyondTableMessage(const std::string& path, long line, const std::string& code);
std::string StepRepeatMessage(const std::string& path, long line);
void ReportMacroDivisionByZero(const std::string& path);
void ReportBoardBeyondTable(const std::string& path);
void ReportUnsupportedPrimitive(const std::string& path, int code);
void ReportWideApertureTable(std::size_t count);
void ReportAreaTooLarge(const std::string& path);
void ReportAreaNotClosed(const std::string& path);
// A long area fill shows how far it is on the status line and keeps the
// window alive; a negative share clears the line once it is done.
void ShowFillProgress(const std::string& path, int percent);
