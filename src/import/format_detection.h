// Number-format detection: the Gerber and drill number formats guessed from
// the data of a ";"-separated path list and written into g_GerberFormatDlg or
// g_DrillFormatDlg (in memory only).
#pragma once

#include "platform/object_lists.h"

#include <string>

class CBoardModel;
struct CDrillTool;
struct CFlashRecord;

// 1 when it ran to the end, 0 when AutoFormat is off or a file cannot be
// read. It leaves the flashes it found in the model's flash list (its
// tracks emptied): working data only.
// With `guess` false no format is guessed and the files are read only up to
// the aperture definition that turns the detection off: for a load whose
// next reading declares the whole format before it reads a number
// (GerberFormatDeclaredFirst), so that any guess would be overwritten unused.
int DetectGerberFormat(CBoardModel& model, const std::string& paths, bool guess = true);
// The first file of the list; the holes it found are left in `holes`.
void DetectDrillFormat(CBoardModel& model, const std::string& paths,
                       COwnedList<CDrillTool>& holes);
// Zero suppression, unit and digit counts from the digit strings and the
// steps between points; 1, or 0 when a file cannot be read.
int DetectGerberDigits(CBoardModel& model, const std::string& paths);
int DetectDrillDigits(CBoardModel& model, const std::string& paths);
// The decimal digits from the power-of-ten spacing of the round flashes or
// the holes.
void DetectGerberScale(const COwnedList<CFlashRecord>& flashes);
void DetectDrillScale(const COwnedList<CDrillTool>& tools);
