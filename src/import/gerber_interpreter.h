// The one Gerber interpreter. It reads a file block by block (the RS-274X
// parameters go to the aperture table and the number format on the way),
// keeps the modal state the blocks rely on (operation, position, exchanged
// axes, arc quadrant mode, the last move) and tells a sink what the file
// does. Every Gerber reader is a sink: the copper layer readers, the route
// reader, the extent pre-scans and the format detection.
#pragma once

#include "geometry/point.h"

#include <string>

class CApertureTable;
class CGerberSource;

// One block as it was parsed.
struct CGerberBlock {
    // Up to its terminator, a leading G54 dropped, a comment emptied.
    const std::string& text;
    // 1 X and Y, 2 X only, 3 Y only, 4 a D word only, 0 nothing.
    int kind;
    // The modal position after the block (whole mil when read so), for a
    // block of kind 1 to 4.
    CDPoint point;
    // The block's D word, or the last one met.
    const std::string& dWord;
};

// An arc to `end`. Its centre depends on where the reader's pen stood.
struct CGerberArc {
    CDPoint end;
    double i = 0.0;   // centre offsets, mil
    double j = 0.0;
    bool ccw = true;
    // From G75 on the offsets are signed.
    bool multiQuadrant = false;

    CDPoint Centre(const CDPoint& start) const;
};

// What a reader hears of a file. Every event does nothing unless the reader
// overrides it.
class CGerberSink {
public:
    virtual ~CGerberSink() = default;

    // A file begins: what a reader keeps for one file starts again.
    virtual void BeginFile(const std::string& /*path*/) {}
    // True ends the file: the block read next (and the parameters before
    // it) is read, but nothing more is reported or read.
    virtual bool Stopped() const { return false; }
    // Every block as it is parsed, in file order, the blocks an arc takes
    // its end from included.
    virtual void Block(const CGerberBlock& /*block*/) {}

    // Inside a region a lone "D01" block draws to where the file says;
    // elsewhere it goes back to the last move.
    virtual bool InRegion() const { return false; }
    // G36 and G37.
    virtual void RegionBegin() {}
    virtual void RegionEnd() {}

    // A D code other than D01 to D03: the aperture later operations use.
    // The move that follows it is reported too.
    virtual void SelectAperture(const std::string& /*code*/) {}
    // D02, D01 and D03 at the block's position; `from` is where the last
    // block left the pen.
    virtual void Move(const CDPoint& /*to*/) {}
    virtual void Draw(const CDPoint& /*from*/, const CDPoint& /*to*/) {}
    virtual void Flash(const CDPoint& /*at*/) {}
    // G02 or G03; returns where the pen stands after it (the reader may end
    // on its own last chord point).
    virtual CDPoint Arc(const CDPoint& /*from*/, const CGerberArc& arc) { return arc.end; }
};

class CGerberInterpreter {
public:
    struct Options {
        // Coordinates cut to whole mil, as the extent pre-scans measure,
        // rather than float mil (ParseGerberBlock against ParseGerberBlock2).
        bool wholeMil = false;
        // The route reader takes an arc only from a G02 or G03 of the block
        // itself, and never in a region block. The copper readers also
        // continue the last arc for a block that gives a J offset without a
        // G code, and take a G02 wherever it stands.
        bool explicitArcs = false;
    };

    CGerberInterpreter(CApertureTable& apertures, CGerberSink& sink);
    CGerberInterpreter(CApertureTable& apertures, CGerberSink& sink, Options options);

    // Reads the file `in` has open, to its end or until the sink stops it.
    // One interpreter reads the files of one list: the last move and the
    // arc direction carry over from file to file.
    void Read(CGerberSource& in);

private:
    bool NextBlock();
    void Interpret();
    void Arc(bool ccw);
    void Operation();
    bool Refused();

    CApertureTable& m_Apertures;
    CGerberSink& m_Sink;
    const Options m_Options;
    CGerberSource* m_In = nullptr;
    bool m_Ended = false;
    bool m_Stopped = false;
    std::string m_Block;
    std::string m_DWord;
    int m_Kind = 0;
    // The operation in force: 1 to 3 for D01 to D03, 0 for none yet.
    int m_Modal = 0;
    CDPoint m_Cur, m_Prev;
    bool m_ExchangeAxes = false;
    bool m_MultiQuadrant = false;
    // Across files.
    CDPoint m_LastMove;
    int m_ArcMode = 0;   // 3 after a counter-clockwise arc, 2 clockwise, 0 straight
};
