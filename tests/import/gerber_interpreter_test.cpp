// The Gerber interpreter on its own: short files against the calls a
// recording sink receives, on a bare board model (no document).
#include "import/aperture_table.h"
#include "import/gerber_blocks.h"
#include "import/gerber_interpreter.h"
#include "platform/paths.h"
#include "records/board_model.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string Pt(const CDPoint& p)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g,%g", p.x, p.y);
    return text;
}

// Writes every call it receives as one line of text.
class RecordingSink : public CGerberSink {
public:
    bool recordBlocks = false;
    // Stops the file once the aperture table holds something.
    const CBoardModel* stopOnApertures = nullptr;
    std::vector<std::string> calls;

    void BeginFile(const std::string&) override { calls.push_back("file"); }
    bool Stopped() const override
    {
        return stopOnApertures && !stopOnApertures->m_ApertureList.empty();
    }
    void Block(const CGerberBlock& b) override
    {
        if (recordBlocks)
            calls.push_back("block " + std::to_string(b.kind) + " [" +
                            (b.text == "\n" ? std::string("\\n") : b.text) + "]");
    }
    bool InRegion() const override { return m_InRegion; }
    void RegionBegin() override
    {
        m_InRegion = true;
        calls.push_back("region begin");
    }
    void RegionEnd() override
    {
        m_InRegion = false;
        calls.push_back("region end");
    }
    void SelectAperture(const std::string& code) override { calls.push_back("aperture " + code); }
    void Move(const CDPoint& to) override { calls.push_back("move " + Pt(to)); }
    void Draw(const CDPoint& from, const CDPoint& to) override
    {
        calls.push_back("draw " + Pt(from) + " " + Pt(to));
    }
    void Flash(const CDPoint& at) override { calls.push_back("flash " + Pt(at)); }
    CDPoint Arc(const CDPoint& from, const CGerberArc& arc) override
    {
        calls.push_back(std::string(arc.ccw ? "ccw " : "cw ") + Pt(from) + " " + Pt(arc.end) +
                        " ij " + Pt(CDPoint(arc.i, arc.j)) + (arc.multiQuadrant ? " multi" : ""));
        return arc.end;
    }

private:
    bool m_InRegion = false;
};

// Reads each text as one file of a list (mil, leading zeros left out) with
// one interpreter.
std::vector<std::string> Interpret(CBoardModel& model, RecordingSink& sink,
                                   const std::vector<std::string>& files,
                                   CGerberInterpreter::Options options = {})
{
    CApertureTable apertures(model);
    CGerberInterpreter interpreter(apertures, sink, options);
    int n = 0;
    for (const std::string& body : files) {
        const std::string path = JoinPath(TestDir(), "f" + std::to_string(++n) + ".gbr");
        std::ofstream(path, std::ios::binary) << "%FSLAX23Y23*%\n%MOIN*%\n" << body << "M02*\n";
        CGerberSource in;
        EXPECT_TRUE(in.Open(path));
        interpreter.Read(in);
    }
    return sink.calls;
}

struct Case {
    const char* name;
    std::vector<std::string> files;
    std::vector<std::string> calls;
    CGerberInterpreter::Options options = {};
    bool blocks = false;
};

TEST(GerberInterpreter, TellsTheSinkWhatEachBlockDoes)
{
    const Case cases[] = {
        {"operations, their modal repeat, and the move that follows a D code",
         {"D10*X0Y0D02*X100Y0D01*Y100*X50Y50D03*X60*"},
         {"file", "aperture D10", "move 0,0", "move 0,0", "draw 0,0 100,0", "draw 100,0 100,100",
          "flash 50,50", "flash 60,50"}},
        {"short operation codes, and a coordinate block before any D code",
         {"X5Y5*D11*X0Y0D2*X5Y5D1*X9Y9D3*"},
         {"file", "aperture ", "move 5,5", "aperture D11", "move 5,5", "move 0,0",
          "draw 0,0 5,5", "flash 9,9"}},
        {"incremental coordinates",
         {"G91*X10Y10D02*X10Y0D01*"},
         {"file", "move 10,10", "draw 10,10 20,10"}},
        {"a lone D01 goes back to the last move; in a region it stays",
         {"X0Y0D02*X100Y0D01*D01*G36*X0Y0D02*X100Y0D01*D01*G37*"},
         {"file", "move 0,0", "draw 0,0 100,0", "draw 100,0 0,0", "region begin", "move 0,0",
          "draw 0,0 100,0", "draw 100,0 100,0", "region end"}},
        {"axes exchanged from the block after G94",
         {"X1Y2D02*G94*X100Y300D02*"},
         {"file", "move 1,2", "move 300,100"}},
        {"arcs with signed offsets after G75, one quadrant again after G74",
         {"X50Y0D02*G75*G03X0Y50I-50J0D01*G74*G02X50Y0I0J50D01*"},
         {"file", "move 50,0", "ccw 50,0 0,50 ij -50,0 multi", "cw 0,50 50,0 ij 0,50"}},
        {"the short arc words, and G words after the coordinates",
         {"X50Y0D02*G3X0Y50I-50J0D01*X0Y0D02*G2X50Y0I25J0D01*X0Y0D02*X50Y0I25J0G03D01*"},
         {"file", "move 50,0", "ccw 50,0 0,50 ij -50,0", "move 0,0", "cw 0,0 50,0 ij 25,0",
          "move 0,0", "ccw 0,0 50,0 ij 25,0"}},
        {"G36 and G37 with words of their own begin and end a region, never an arc",
         {"G36X0Y0D02*X100Y0D01*X100Y100G37D01*X0Y0D01*"},
         {"file", "region begin", "move 0,0", "draw 0,0 100,0", "region end",
          "draw 100,0 100,100", "draw 100,100 0,0"}},
        {"an arc word takes its end and offsets from the next block",
         {"X50Y0D02*G03*\nX0Y50I-50J0D01*X10Y10D01*"},
         {"file", "move 50,0", "ccw 50,0 0,50 ij -50,0", "draw 0,50 10,10"}},
        {"a J offset continues the last arc for the copper readers",
         {"X50Y0D02*G03X0Y50I-50J0D01*X-50Y0J-50D01*X0Y0D01*"},
         {"file", "move 50,0", "ccw 50,0 0,50 ij -50,0", "ccw 0,50 -50,0 ij 0,-50",
          "draw -50,0 0,0"}},
        {"... and is a straight draw for the route reader",
         {"X50Y0D02*G03X0Y50I-50J0D01*X-50Y0J-50D01*"},
         {"file", "move 50,0", "ccw 50,0 0,50 ij -50,0", "draw 0,50 -50,0"},
         {.explicitArcs = true}},
        {"float mil",
         {"%FSLAX24Y24*%X12345Y-12345D03*"},
         {"file", "flash 1234.5,-1234.5"}},
        {"... or whole mil",
         {"%FSLAX24Y24*%X12345Y-12345D03*"},
         {"file", "flash 1234,-1234"},
         {.wholeMil = true}},
        {"every parsed block in file order, those an arc reads included",
         {"G04 note*D10*G03*\nX0Y50I-50J0D01*"},
         {"file", "block 0 [\\n]", "block 0 [\\n]", "block 0 []", "block 4 [D10]", "aperture D10",
          "move 0,0", "block 0 [G03]", "block 0 [\\n]", "block 1 [X0Y50I-50J0D01]",
          "ccw 0,0 0,50 ij -50,0", "block 0 [M02]", "block 0 [\\n]"},
         {},
         true},
        {"each file starts afresh; the last move carries over",
         {"G94*X30Y40D02*", "X1Y2D01*D01*"},
         {"file", "move 40,30", "file", "draw 0,0 1,2", "draw 1,2 40,30"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CBoardModel model;
        RecordingSink sink;
        sink.recordBlocks = c.blocks;
        EXPECT_EQ(Interpret(model, sink, c.files, c.options), c.calls);
    }
}

TEST(GerberInterpreter, ParametersGoToTheTableAsTheyAreMet)
{
    CBoardModel model;
    RecordingSink sink;
    Interpret(model, sink, {"%AMBOX*21,1,$1,$2,0,0,0*%%ADD15BOX,0.1X0.05*%D15*X0Y0D03*%ADD16C,0.02*%"});
    ASSERT_EQ(model.m_ApertureList.size(), 2u);
    EXPECT_EQ(model.m_ApertureList[0]->shape, "MACRO");
    EXPECT_FLOAT_EQ(model.m_ApertureList[1]->width, 20.0f);
    ASSERT_EQ(model.m_MacroList.size(), 1u);
}

TEST(GerberInterpreter, AStoppedFileIsReadNoFurther)
{
    // The sink stops at the first aperture definition, as the format
    // detection does: the block behind the definition is not reported, the
    // next definition never read, and a later file stops at once. An arc
    // whose end block comes after the stop is not reported either.
    struct StopCase {
        const char* name;
        std::vector<std::string> files;
        std::vector<std::string> calls;
    };
    const StopCase cases[] = {
        {"between blocks",
         {"X1Y1D03*%ADD20C,0.01*%X2Y2D03*%ADD21C,0.02*%X3Y3D03*", "X4Y4D03*"},
         {"file", "flash 1,1", "file"}},
        {"inside an arc",
         {"X1Y1D02*G03*%ADD20C,0.01*%\n%ADD21C,0.02*%X0Y50I-50J0D01*"},
         {"file", "move 1,1"}},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        CBoardModel model;
        RecordingSink sink;
        sink.stopOnApertures = &model;
        EXPECT_EQ(Interpret(model, sink, c.files), c.calls);
        ASSERT_EQ(model.m_ApertureList.size(), 1u);
        EXPECT_EQ(model.m_ApertureList[0]->dCode, "D20");
    }
}

}  // namespace
