// Program uploads to the third controller family (model "TQ615"), which runs
// whole drilling, engraving and routing programs from its own memory. A
// program is a numbered stream of 16-byte records, each sent in a packet of
// its own and answered with the packet's checksum; the work-area corner
// moves send single move packets.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CLayoutBlock;
struct CDrillTool;
struct CPathRecord;

constexpr unsigned char UPL_RECORD_COMMAND = 0xE8;
constexpr unsigned char UPL_MOVE_COMMAND = 0x6C;
constexpr unsigned char UPL_RUN_BYTE = 0xEC;
// Record numbers travel as 16 bits; a program never wraps them.
constexpr std::size_t kMaxUploadRecords = 65535;

// Record kinds.
enum : std::uint8_t {
    UPL_ADDRESS = 0x01,
    UPL_CUT_TO = 0x02,
    UPL_ARC_MID = 0x03,
    UPL_CHAIN_START = 0x04,
    UPL_DRILL = 0x05,
    UPL_END = 0x0B,
    UPL_CHAIN_END = 0x0C,
    UPL_TOOL = 0x14,
    UPL_FEED = 0x15,
    UPL_HEIGHT = 0x16,
    UPL_CIRCLE = 0x25,
};

struct CUplRecord {
    float first = 0.0f;
    float second = 0.0f;
    float height = 0.0f;
    std::uint16_t value16 = 0;
    std::uint8_t flag = 0;
    std::uint8_t kind = 0;
};

// The 16 record bytes, little-endian.
std::array<unsigned char, 16> UplRecordBytes(const CUplRecord& record);
// The 20 bytes that follow the command byte: 0xAA, the record number (low
// byte first), the record, the checksum (sum of the 18 bytes from the
// number on, mod 256).
std::array<unsigned char, 20> UplPacketBody(unsigned recordNumber, const unsigned char* record);

// A program as it will be sent, record by record. Motion records carry the
// working height that the height record set.
class CUplProgram {
public:
    void Add(const CUplRecord& record) { m_Records.push_back(record); }
    void Address(float address);
    void Feed(float feed);
    // Kind 0x16 with down - up; `down` becomes the height of what follows.
    void Height(float down, float up);
    void Tool(float number, float diameterMM);
    void Point(std::uint8_t kind, double xMil, double yMil);
    void Circle(double cxMil, double cyMil, std::uint16_t diameterHundredths);
    void End();
    const std::vector<CUplRecord>& Records() const { return m_Records; }

private:
    std::vector<CUplRecord> m_Records;
    float m_Height = 0.0f;
};

// ---- The line ----
// Opens the port of g_ComPortIndex and wakes the controller (F0 F0, one
// byte back). Without an answer the operator is told "Teach Mode ! or
// RS232 not connected !".
bool UplConnect();
// One packet, at most two attempts; true when answered with its checksum.
bool UplSendPacket(unsigned char command, unsigned recordNumber, const void* record);
void UplSendCommandByte(unsigned char b);
// F0 F0 alone; the write's result.
bool UplSendWake();
// F0 F0 EB; whether a byte came back.
bool UplSendWakeHome();
void UplSendRunByte();
bool UplSendMoveXY(float value1, float value2);
// Reads one packet from the controller (lead byte, header, record,
// checksum), echoing the checksum; the header, or -1.
int UplRecvPacket(unsigned char* record);

// Sends `program` numbered from 1, then runs it when `run`. A program of
// more records than the numbers reach is refused before anything is sent.
// Tells the operator "Upload Ok!" or "Upload Fail !"; true on success.
bool UplSendProgram(const CUplProgram& program, bool run);

// ---- Helpers ----
// The feed after "T<tool> " in the tool text: the number after the next
// "F"; 1.0 when the tool is not in the text.
float UplGetToolFeed(const std::string& text, int toolNumber);
double SafeSqrt(double value);
// The middle of the arc from P1 to P2 about C. "Clockwise" is as the
// screen shows it (y down): ArcMidpointCW takes the arc whose angle grows
// from P1 to P2, ArcMidpointCCW the one whose angle falls.
CDPoint ArcMidpointCW(const CDPoint& c, const CDPoint& p1, const CDPoint& p2);
CDPoint ArcMidpointCCW(const CDPoint& c, const CDPoint& p1, const CDPoint& p2);

// The drill feed table of "DRILL.INI": pairs whose two numbers are both
// above 0, lines with ";" skipped. At most kMaxDrillFeedPairs are kept;
// a longer table is told once. A missing file gives an empty table.
constexpr std::size_t kMaxDrillFeedPairs = 100;
std::vector<std::pair<float, float>> ReadDrillFeedTable(const std::string& path);

// ---- Program bodies ----
// A board point (mil) of a panel copy on the table: relative to the copy's
// reference centre, turned with the copy, moved to its current centre.
CDPoint PlaceOnCopy(const CLayoutBlock& block, const CDPoint& point);
// The drill coordinates: per drill tool with holes and per copy not
// selected, the tool and its feed (`feeds` by tool number) where it
// changes, then a drill record per hole.
void BuildDrillBody(CUplProgram& program, const COwnedList<CDrillTool>& tools,
                    const COwnedList<CLayoutBlock>& blocks, const std::vector<float>& feeds);
// The paths of `layers` on every copy not selected: chains of joined
// segments, arcs by their mid points, full circles as circle records.
void BuildPathBody(CUplProgram& program, const std::vector<const CPathRecord*>& layers,
                   const COwnedList<CLayoutBlock>& blocks);
// The tool text of the drill upload: "T%d C%.2f F%g" and CR LF for each
// drill tool with a size.
std::string DrillToolText(const COwnedList<CDrillTool>& tools, const std::vector<float>& feeds);
