// Processing macros: the macro text (the file "Ordune.mac" of the system
// directory, held in the macro text window's line store) names processing
// methods, each a block of lines from a line containing "DESCRIPTION" to a
// line "}". Every keyword a line contains runs one planning step, in the
// order of the keyword table; a line may hold several. Method n is the n-th
// block of the text; method 0, the plain calculation, runs no block.
//
// A block is read whole before any of it runs, so a block that is not well
// formed (no closing line, a calculation keyword without its numbers)
// computes nothing and is reported with the file and the line.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CBoardModel;
class CLineEdit;
struct CClearRegion;

// The macro file's name in the system directory (matched without regard
// to case), seeded there from the defaults like the settings file.
extern const char* const g_MacroFileName;

// Reads the system directory's macro file into the macro text window's
// store when the store needs it: when it is empty, or when it holds the
// file's text as last read here, unchanged, so edits to the file count from
// the next use. A text the operator or a test put there stays. A missing
// file leaves no methods.
void LoadMacroText();
// The name messages give the macro text: the file it came from.
std::string MacroTextSource();

// The methods of the macro text in text order (loaded when needed): the
// text after the first "$" of each DESCRIPTION line, the line itself when it
// has none.
std::vector<std::string> MacroMethodNames();
// The line of method `method`'s DESCRIPTION line; -1 when the text has no
// such block (or `method` is negative).
int FindMacroMethod(int method);

// The keywords, in the order a line's steps run.
enum class MacroKeyword {
    Separate,   // raster and isolation paths
    CalMill,    // the raster only, for clearing
    MillPad,    // pad milling
    AutoMill,   // pad milling as well
    Sort,       // ordering of the isolation paths
    MillSmall,  // the board region's short gaps
    MillAll,    // the board region by rows
    MillAllY,   // the board region by columns
    MillAllX,   // the board region by rows
};

struct CMacroStep {
    MacroKeyword keyword = MacroKeyword::Separate;
    // "SEPARATE" and "CALMILL" only: offset (mil), pitch (mil) and, when the
    // line gives it, the plunge offset (Z pulses).
    float offset = 0.0f;
    int pitch = 0;
    int hasPlunge = 0;
    int plunge = 0;
};

struct CMacroBlock {
    // The steps of each line of the block, its DESCRIPTION line first and
    // its "}" line last.
    std::vector<std::vector<CMacroStep>> lines;
    // Set when the block cannot run: the message (string id) and the line
    // it names (from 0); `lines` is empty then.
    unsigned faultId = 0;
    int faultLine = -1;
};

// The block whose DESCRIPTION line is `line`. Reading stops at the end of
// the text or at the next block's DESCRIPTION line: either means the block
// has no "}" line, and the fault names its DESCRIPTION line.
CMacroBlock ReadMacroBlock(const CLineEdit& text, int line);
// Tells the operator what is wrong with a faulty block.
void ReportMacroFault(const CMacroBlock& block);

// How the steps reach the document and the planner. The calculation and
// the ordering need the document; the rest default to the planner's own.
using CRegionClearer = std::function<int(CBoardModel&, CClearRegion&)>;
struct CMacroActions {
    // The scan-line run at that offset and pitch; it walks paths as the
    // calculation settings' m_GenerateLines says.
    std::function<void(float offset, int pitch)> calcIsolation;
    std::function<void()> sortPaths;
    std::function<void(CBoardModel&)> millPads;
    CRegionClearer clearRows;
    CRegionClearer clearColumns;
    CRegionClearer clearSmall;
    CMacroActions();
};

// Runs a well-formed block's lines on the working side, the message queue
// drained before each line: every step first sets the work stage its
// keyword names. A step that produces nothing does not stop the block.
void RunMacroLines(CBoardModel& model, const CMacroBlock& block, const CMacroActions& actions);
