// The aperture table of a board model and the macros its apertures use: the
// aperture file read through a FILETYPE block of the settings text, the
// look-ups by D code (the operator is asked for a code the table lacks) and
// the apertures and macros an RS-274X file defines.
#pragma once

#include "platform/object_lists.h"
#include "records/aperture_records.h"

#include <string>

class CBoardModel;

// A view of the model's table; it owns nothing and is made where needed.
class CApertureTable {
public:
    explicit CApertureTable(CBoardModel& model);

    // Replaces the table with the aperture file g_CurrentApertureFile read
    // through FILETYPE block g_ApertureFormat (an empty name leaves it
    // empty). A block that is missing, a file that cannot be read (left
    // empty) or one that gives no aperture is reported with the file's name
    // when `report` is set; a pre-scan that reads the same file again right
    // after passes false, so each failure is told once.
    void Load(bool report = true);

    CApertureRecord* Find(const std::string& code) const;
    // The width answers 1.0 while the plain layer reader is inside a region.
    float Width(const std::string& code);
    float Height(const std::string& code) const;
    std::string Shape(const std::string& code) const;
    // The table position of a code (asked from the operator and added when
    // missing); wide, so more than 256 apertures stay apart.
    int Index(const std::string& code);
    // The operator is asked for a missing code unless it is empty or one of
    // the codes never asked ("D02M", "G01D"); the answer is appended.
    static bool MayAsk(const std::string& code);
    CApertureRecord* Ask(const std::string& code);

    // An aperture definition ("ADD10C,0.01*"): the aperture is added, or
    // rewritten when its D code is in the table already.
    void Define(const std::string& param);
    // An aperture macro ("AMNAME*body"); one without a '*' is ignored.
    void DefineMacro(const std::string& param);

private:
    CApertureList& m_Apertures;
    COwnedList<CApertureMacro>& m_Macros;
    const int& m_AreaFillFlag;
};

// The width of table position `index` (0 outside the table), 1.0 while
// `areaFill` is set, as the view draws a record's aperture.
float ApertureWidthAt(const CApertureList& apertures, int index, bool areaFill);
