// An independent judge of an isolation layer ("T1ISO" and the like): the
// working side's copper and the cutter's sweep along the layer are drawn on
// a fine raster of their own, and two checks are made of them. Nothing here
// uses the planner's code or its geometry helpers, so a fault of the planner
// cannot hide in a helper both share.
//
// The copper as the oracle reads it: tracks of type 0 and 2 are strokes with
// round ends of their width, type 1 are bars with square ends (no cap past
// the end points), arc records (type 8) are skipped because the chords that
// follow them in the list are ordinary tracks; flashes are discs of their
// radius. A pixel is copper (or swept) when its centre lies in the shape.
//
// The path as the machine cuts it: a segment of type 0 or 10 is a straight
// cut; type 1 an arc from start to end turning anticlockwise (the angle about
// the centre rising), any other type the other way; an arc whose start and
// end lie at the same angle is a full turn, as the isolation job cuts it.
// When start and end lie at different distances from the centre the radius
// changes evenly along the turn, so the cut still joins both points.
// Segments with a non-zero flag are not cut and are skipped.
//
// Nets are 8-connected pieces of the copper raster: copper that touches only
// at a pixel corner is one net, as it would be on the board at this
// resolution. What remains after the sweep is joined 4-connected, so a sweep
// needs no more than a diagonal line of pixels to part two regions, and a
// leak between two nets is never found through a corner alone.
#pragma once

#include "geometry/point.h"
#include "records/board_records.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

class CBoardModel;

struct COracleOptions {
    double pixel = 0.25;       // mil per pixel
    double margin = 10.0;      // mil of blank round the copper and the sweep
    double toolRadius = -1.0;  // mil; below 0: half the layer's tool size
};

// One copper shape as the oracle reads it.
struct COracleShape {
    enum class Kind { Disc, Stroke, Bar };
    Kind kind = Kind::Disc;
    CDPoint a, b;              // centre (disc) or the two ends
    double half = 0.0;         // radius or half the width
    bool flash = false;        // from the flash list, else the track list
    std::size_t index = 0;     // in that list
    std::int32_t recordNo = 0;
    std::int32_t groupNo = 0;  // the planner's net number of the record

    // Distance of p from the shape's edge, below 0 inside.
    double SignedDistance(const CDPoint& p) const;
    std::string Describe() const;
};

// A net of the design: a connected piece of copper.
struct COracleNet {
    int id = 0;                // 1..NetCount(), in scan order from the lowest row
    CDPoint at;                // a copper point of the net
    int shape = -1;            // index in Shapes() of a shape in the net, -1 when none
    std::size_t pixels = 0;
};

// A run of pixels x0..x1 of one row; for copper, with its net.
struct COracleRun {
    std::int32_t x0 = 0;
    std::int32_t x1 = 0;
    std::uint32_t net = 0;
};

// A raster kept as runs, row by row: a board of a metre and more stays a
// few hundred MB where a bit per pixel would take gigabytes.
struct COracleRows {
    std::vector<COracleRun> runs;
    std::vector<std::size_t> rowStart;  // one per row and one past the last

    const COracleRun* Row(int j, std::size_t& count) const;
    // The run of row j holding pixel i, or null.
    const COracleRun* RunAt(int i, int j) const;
    std::size_t Bytes() const;
};

// The copper of the model's working side (m_TrackList, m_FlashList) on a
// raster of its own, with its nets: drawn once and shared by the judging of
// every layer of the side. The raster covers the copper and the sweep of
// each layer given (each with its own tool) with a margin; a sweep judged
// later that reaches past it is clipped there.
class COracleCopper {
public:
    COracleCopper(const CBoardModel& model, const std::vector<const CPathRecord*>& layers,
                  const COracleOptions& options = {});

    // Empty unless the raster could not be made (it would be too large).
    const std::string& Error() const { return m_Error; }
    double Pixel() const { return m_Pixel; }
    const std::vector<COracleShape>& Shapes() const { return m_Shapes; }

    int NetCount() const { return int(m_Nets.size()); }
    const COracleNet& Net(int id) const { return m_Nets[std::size_t(id - 1)]; }
    // The net of the copper pixel at a board point, 0 off copper.
    int NetAt(double x, double y) const;
    bool CopperAt(double x, double y) const;

    // Raster geometry: pixel (i, j) has its centre at PixelCentre(i, j).
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    CDPoint Origin() const { return m_Origin; }
    CDPoint PixelCentre(int i, int j) const;
    bool PixelOf(double x, double y, int& i, int& j) const;
    // Copper runs carry their nets.
    const COracleRows& Copper() const { return m_Copper; }

    std::size_t MemoryBytes() const;

private:
    void ReadCopper(const CBoardModel& model);
    void LayOutRaster(const std::vector<const CPathRecord*>& layers, const COracleOptions& options);
    void DrawCopper();
    void LabelNets();

    std::string m_Error;
    double m_Pixel = 0.25;
    CDPoint m_Origin;           // lower-left corner of pixel (0, 0)
    int m_Width = 0;
    int m_Height = 0;
    std::vector<COracleShape> m_Shapes;
    COracleRows m_Copper;
    std::vector<COracleNet> m_Nets;
};

// The sweep of one path layer over a side's copper. The layer must outlive
// the oracle.
class CIsolationOracle {
public:
    // Copper of its own, laid out round this layer.
    CIsolationOracle(const CBoardModel& model, const CPathRecord& layer,
                     const COracleOptions& options = {});
    // Shared copper; toolRadius below 0: half the layer's tool size.
    CIsolationOracle(std::shared_ptr<const COracleCopper> copper, const CPathRecord& layer,
                     double toolRadius = -1.0);

    const std::string& Error() const { return m_Copper->Error(); }
    double ToolRadius() const { return m_ToolRadius; }
    double Pixel() const { return m_Copper->Pixel(); }
    const std::vector<COracleShape>& Shapes() const { return m_Copper->Shapes(); }
    const CPathRecord& Layer() const { return m_Layer; }
    const COracleCopper& Board() const { return *m_Copper; }

    int NetCount() const { return m_Copper->NetCount(); }
    const COracleNet& Net(int id) const { return m_Copper->Net(id); }
    int NetAt(double x, double y) const { return m_Copper->NetAt(x, y); }
    bool CopperAt(double x, double y) const { return m_Copper->CopperAt(x, y); }
    bool SweptAt(double x, double y) const;

    int Width() const { return m_Copper->Width(); }
    int Height() const { return m_Copper->Height(); }
    CDPoint PixelCentre(int i, int j) const { return m_Copper->PixelCentre(i, j); }
    bool PixelOf(double x, double y, int& i, int& j) const { return m_Copper->PixelOf(x, y, i, j); }
    // Copper runs carry their nets; swept runs do not.
    const COracleRows& Copper() const { return m_Copper->Copper(); }
    const COracleRows& Swept() const { return m_Swept; }

    // The cut of one segment as points along it (arcs in pieces no longer
    // than `step` mil and no farther than `sag` from the true arc); an empty
    // list for a segment that is not cut.
    static std::vector<CDPoint> CutPolyline(const CPathSegment& segment, double step, double sag);

    // The shared copper's and this sweep's.
    std::size_t MemoryBytes() const;

private:
    void DrawSweep();

    std::shared_ptr<const COracleCopper> m_Copper;
    const CPathRecord& m_Layer;
    double m_ToolRadius = 0.0;
    COracleRows m_Swept;
};

// (a) Clearance: the cutter's centre line must keep `required` mil from the
// copper (for the finest tool with no extra offset, the tool radius: its
// edge may touch the copper, not cut it), less `tolerance`. The centre line
// is followed in steps of at most one pixel and measured against the exact
// shapes; equivalently, no swept pixel comes nearer the copper than
// required - tool radius - tolerance.
struct CClearanceViolation {
    std::size_t segment = 0;   // index in the layer
    CDPoint at;                // the worst point of the segment's centre line
    double distance = 0.0;     // from there to the copper's edge, below 0 inside
    double depth = 0.0;        // required - distance, more than the tolerance
    int shape = -1;            // the nearest copper shape (index in Shapes())
};

struct CClearanceReport {
    std::string error;
    double required = 0.0;
    double tolerance = 0.0;
    std::size_t samples = 0;
    std::size_t badSamples = 0;
    // The centre line's nearest approach to the copper, when it came within
    // `required` and a pixel of it (else infinity); below 0 inside.
    double nearest = std::numeric_limits<double>::infinity();
    // One per offending segment, deepest first.
    std::vector<CClearanceViolation> violations;

    bool Passed() const { return error.empty() && violations.empty(); }
};

CClearanceReport CheckClearance(const CIsolationOracle& oracle, double required, double tolerance);
// The same with a tolerance of each segment's own (the report's tolerance
// is then the largest given).
CClearanceReport CheckClearance(const CIsolationOracle& oracle, double required,
                                const std::function<double(const CPathSegment&)>& toleranceOf);

// (b) Isolation: the blank starts as copper everywhere and the sweep takes
// it away; what is left (the copper raster, or any pixel not swept) must
// not join two nets. A join is reported for each pair of nets whose copper
// touches one connected unswept region; the copper of a third net between
// them makes two joins, not three.
struct CJoinedNets {
    int netA = 0;              // netA < netB
    int netB = 0;
    CDPoint atA;               // a pixel of the joining region beside netA's copper
    CDPoint atB;               // and one beside netB's
    double area = 0.0;         // mil² of the smallest region that joins them
};

struct CIsolationReport {
    std::string error;
    int nets = 0;
    std::vector<CJoinedNets> joins;  // by netA, then netB

    bool Passed() const { return error.empty() && joins.empty(); }
};

CIsolationReport CheckIsolation(const CIsolationOracle& oracle);

// (c) The strokes of one clearing layer ("T1MIL" and the like), judged on
// their own: every point the cutter's centre passes (links included) lies
// inside the tool's clearing region, and two horizontal strokes of
// different rows lie at least `spacing` apart, less `tolerance`: the tool
// takes a row only where it has moved on by the spacing, so rows closer
// than that cut the same copper-free strip twice.
struct CClearingRegion {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;  // mil
};

struct COutsideStroke {
    std::size_t segment = 0;   // index in the layer
    CDPoint at;                // its point farthest outside
    double overshoot = 0.0;    // mil beyond the region there
};

struct CCrowdedStrokes {
    std::size_t segmentA = 0;  // the lower row's stroke
    std::size_t segmentB = 0;
    double distance = 0.0;     // between the two strokes, mil
};

struct CClearingReport {
    CClearingRegion region;
    double spacing = 0.0;
    double tolerance = 0.0;
    std::size_t rows = 0;                 // heights of horizontal strokes
    std::vector<COutsideStroke> outside;  // farthest out first
    std::vector<CCrowdedStrokes> crowded; // nearest first

    bool Passed() const { return outside.empty() && crowded.empty(); }
};

CClearingReport CheckClearingStrokes(const CPathRecord& layer, const CClearingRegion& region, double spacing,
                                     double tolerance);
std::string DescribeClearing(const CPathRecord& layer, const CClearingReport& report, std::size_t limit = 10);

// Text for a failing test: the first `limit` findings with the shapes
// involved.
std::string DescribeClearance(const CIsolationOracle& oracle, const CClearanceReport& report,
                              std::size_t limit = 10);
std::string DescribeIsolation(const CIsolationOracle& oracle, const CIsolationReport& report,
                              std::size_t limit = 10);

// A picture for a failing board, as a binary PPM (+y upward): white blank,
// grey swept, orange copper, red copper the sweep cut into, violet copper of
// nets left joined, the centre lines in black (when a picture pixel is no
// wider than the tool's radius), clearance violations as green crosses and
// joins as blue crosses. The window is a board rectangle (mil;
// the whole raster when empty), drawn at most `maxSide` pixels wide or high.
struct COracleWindow {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
    int maxSide = 2000;
    bool Empty() const { return maxX <= minX || maxY <= minY; }
};

bool WriteOracleImage(const CIsolationOracle& oracle, const std::string& path,
                      const CClearanceReport* clearance = nullptr,
                      const CIsolationReport* isolation = nullptr, const COracleWindow& window = {});
