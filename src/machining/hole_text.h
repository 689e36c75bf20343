// A drill-program text (the registration holes, the measurement data) as the
// machining operations walk it: block by block, each a hole position, a tool
// selection, the end or something else. The view hands one in, reading a
// text window with the drill-program interpreter.
#pragma once

#include "geometry/point.h"

enum class EHoleBlock { Position, Tool, End, Other };

class CHoleTextWalk {
public:
    virtual ~CHoleTextWalk() = default;
    // False when the text's window was never made: there is nothing to walk.
    virtual bool Available() const = 0;
    // From the text's start again.
    virtual void Restart() = 0;
    // Reads the next block and selects its line in the window.
    virtual EHoleBlock Next() = 0;
    // The last position read (mil) and the tool last selected.
    virtual CDPoint Point() const = 0;
    virtual int ToolNumber() const = 0;
    virtual float ToolSize() const = 0;  // mil
    // The line the next block is read from, and a jump to such a line.
    virtual int NextLine() const = 0;
    virtual void SeekLine(int line) = 0;
    // The operator may not edit the text while the machine works through it.
    virtual void SetReadOnly(bool readOnly) = 0;
};
