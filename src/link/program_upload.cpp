// The third controller's program uploads: records, packets, the line, the
// drill and path bodies.
#include "link/program_upload.h"

#include "geometry/board_orientation.h"
#include "geometry/plane_geometry.h"
#include "geometry/registration.h"
#include "link/link_state.h"
#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/system_settings_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void PutFloat(unsigned char* at, float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(bits >> (8 * i));
}

constexpr double kMilToMM = 0.0254;

}  // namespace

std::array<unsigned char, 16> UplRecordBytes(const CUplRecord& record)
{
    std::array<unsigned char, 16> bytes{};
    PutFloat(&bytes[0], record.first);
    PutFloat(&bytes[4], record.second);
    PutFloat(&bytes[8], record.height);
    bytes[12] = static_cast<unsigned char>(record.value16 & 0xFF);
    bytes[13] = static_cast<unsigned char>(record.value16 >> 8);
    bytes[14] = record.flag;
    bytes[15] = record.kind;
    return bytes;
}

std::array<unsigned char, 20> UplPacketBody(unsigned recordNumber, const unsigned char* record)
{
    std::array<unsigned char, 20> body{};
    body[0] = 0xAA;
    body[1] = static_cast<unsigned char>(recordNumber & 0xFF);
    body[2] = static_cast<unsigned char>((recordNumber >> 8) & 0xFF);
    std::memcpy(&body[3], record, 16);
    unsigned sum = 0;
    for (int i = 1; i < 19; ++i)
        sum += body[i];
    body[19] = static_cast<unsigned char>(sum & 0xFF);
    return body;
}

// ---- The program ----

void CUplProgram::Address(float address)
{
    CUplRecord r;
    r.first = address;
    r.kind = UPL_ADDRESS;
    Add(r);
}

void CUplProgram::Feed(float feed)
{
    CUplRecord r;
    r.first = feed;
    r.kind = UPL_FEED;
    Add(r);
}

void CUplProgram::Height(float down, float up)
{
    CUplRecord r;
    r.first = down - up;
    r.flag = 1;
    r.kind = UPL_HEIGHT;
    Add(r);
    m_Height = down;
}

void CUplProgram::Tool(float number, float diameterMM)
{
    CUplRecord r;
    r.first = number;
    r.second = diameterMM;
    r.kind = UPL_TOOL;
    Add(r);
}

void CUplProgram::Point(std::uint8_t kind, double xMil, double yMil)
{
    CUplRecord r;
    r.first = static_cast<float>(xMil * kMilToMM);
    r.second = static_cast<float>(yMil * kMilToMM);
    r.height = m_Height;
    r.kind = kind;
    Add(r);
}

void CUplProgram::Circle(double cxMil, double cyMil, std::uint16_t diameterHundredths)
{
    CUplRecord r;
    r.first = static_cast<float>(cxMil * kMilToMM);
    r.second = static_cast<float>(cyMil * kMilToMM);
    r.height = m_Height;
    r.value16 = diameterHundredths;
    r.kind = UPL_CIRCLE;
    Add(r);
}

void CUplProgram::End()
{
    CUplRecord r;
    r.kind = UPL_END;
    Add(r);
}

// ---- The line ----

namespace {

bool ReadAnswer(unsigned char* answer) { return g_BinLink.Read(answer, 1) == 1; }

void WaitMs(unsigned milliseconds) { Host().Sleep(milliseconds); }

}  // namespace

bool UplConnect()
{
    if (!g_BinLink.Open(ComPortName(g_ComPortIndex))) {
        // Only a failed open stops work that runs; nothing runs here.
        g_AbortFlag = 0;
        AfxMessageBox("Teach Mode ! or RS232 not connected !");
        return false;
    }
    const unsigned char wake[2] = {0xF0, 0xF0};
    unsigned char answer = 0;
    if (g_BinLink.Write(wake, 2) != 2 || !ReadAnswer(&answer)) {
        AfxMessageBox("Teach Mode ! or RS232 not connected !");
        return false;
    }
    WaitMs(1);
    return true;
}

bool UplSendPacket(unsigned char command, unsigned recordNumber, const void* record)
{
    const std::array<unsigned char, 20> body =
        UplPacketBody(recordNumber, static_cast<const unsigned char*>(record));
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Stale input goes before the command byte; the packet's own bytes
        // follow it unpurged, or a purge would drop the byte still queued.
        if (g_BinLink.Write(&command, 1) != 1 || g_BinLink.m_Port.Write(body.data(), 20) != 20)
            return false;
        unsigned char answer = 0;
        if (!ReadAnswer(&answer)) {
            WaitMs(20);
            continue;
        }
        if (answer == body[19])
            return true;
    }
    return false;
}

void UplSendCommandByte(unsigned char b) { g_BinLink.Write(&b, 1); }

bool UplSendWake()
{
    const unsigned char wake[2] = {0xF0, 0xF0};
    return g_BinLink.Write(wake, 2) == 2;
}

bool UplSendWakeHome()
{
    const unsigned char bytes[3] = {0xF0, 0xF0, 0xEB};
    unsigned char answer = 0;
    return g_BinLink.Write(bytes, 3) == 3 && ReadAnswer(&answer);
}

void UplSendRunByte()
{
    UplSendCommandByte(UPL_RUN_BYTE);
    WaitMs(1);
}

bool UplSendMoveXY(float value1, float value2)
{
    if (!UplConnect())
        return false;
    CUplRecord r;
    r.first = value1;
    r.second = value2;
    const std::array<unsigned char, 16> bytes = UplRecordBytes(r);
    return UplSendPacket(UPL_MOVE_COMMAND, 100, bytes.data());
}

int UplRecvPacket(unsigned char* record)
{
    unsigned char packet[20];
    if (g_BinLink.Read(packet, 20) != 20)
        return -1;
    unsigned char check = 0;
    if (g_BinLink.Read(&check, 1) != 1)
        return -1;
    unsigned unsignedSum = 0;
    int signedSum = 0;
    for (int i = 1; i < 19; ++i) {
        unsignedSum += packet[i];
        signedSum += static_cast<signed char>(packet[i]);
    }
    if (check != (unsignedSum & 0xFF) && check != (static_cast<unsigned>(signedSum) & 0xFF))
        return -1;
    g_BinLink.Write(&check, 1);
    std::memcpy(record, &packet[3], 16);
    return packet[1] | (packet[2] << 8);
}

bool UplSendProgram(const CUplProgram& program, bool run)
{
    // The end record is numbered too.
    const std::size_t count = program.Records().size() + 1;
    if (count > kMaxUploadRecords) {
        char text[200];
        std::snprintf(text, sizeof text, LoadResString(IDS_UPLOAD_TOO_MANY_RECORDS).c_str(),
                      static_cast<long>(count));
        AfxMessageBox(text, MB_OK | MB_ICONSTOP);
        return false;
    }
    if (!UplConnect())
        return false;
    unsigned number = 1;
    for (const CUplRecord& record : program.Records()) {
        const std::array<unsigned char, 16> bytes = UplRecordBytes(record);
        if (!UplSendPacket(UPL_RECORD_COMMAND, number++, bytes.data())) {
            AfxMessageBox("Upload Fail !");
            return false;
        }
    }
    CUplRecord end;
    end.kind = UPL_END;
    const std::array<unsigned char, 16> bytes = UplRecordBytes(end);
    if (!UplSendPacket(UPL_RECORD_COMMAND, number, bytes.data())) {
        AfxMessageBox("Upload Fail !");
        return false;
    }
    if (run)
        UplSendRunByte();
    AfxMessageBox("Upload Ok!");
    return true;
}

// ---- Helpers ----

float UplGetToolFeed(const std::string& text, int toolNumber)
{
    const std::string key = "T" + std::to_string(toolNumber) + " ";
    const std::size_t at = text.find(key);
    if (at == std::string::npos)
        return 1.0f;
    const std::size_t f = text.find('F', at + key.size());
    if (f == std::string::npos)
        return 1.0f;
    return static_cast<float>(std::atof(text.c_str() + f + 1));
}

double SafeSqrt(double value) { return value < 0.0 ? 0.0 : std::sqrt(value); }

namespace {

constexpr float kTwoPi = 6.28318f;

CDPoint MidpointAt(const CDPoint& c, const CDPoint& p1, float a1, float a2)
{
    const float m = (a1 + a2) / 2.0f;
    const double dx = p1.x - c.x, dy = p1.y - c.y;
    const auto r = static_cast<float>(SafeSqrt(dx * dx + dy * dy));
    return CDPoint(static_cast<float>(c.x + r * std::cos(m)), static_cast<float>(c.y + r * std::sin(m)));
}

}  // namespace

CDPoint ArcMidpointCW(const CDPoint& c, const CDPoint& p1, const CDPoint& p2)
{
    auto a2 = static_cast<float>(std::atan2(p2.y - c.y, p2.x - c.x));
    auto a1 = static_cast<float>(std::atan2(p1.y - c.y, p1.x - c.x));
    if (a2 > 0.0f)
        a2 -= kTwoPi;
    if (a1 > 0.0f)
        a1 -= kTwoPi;
    if (a2 < a1)
        a1 -= kTwoPi;
    return MidpointAt(c, p1, a1, a2);
}

CDPoint ArcMidpointCCW(const CDPoint& c, const CDPoint& p1, const CDPoint& p2)
{
    auto a2 = static_cast<float>(std::atan2(p2.y - c.y, p2.x - c.x));
    auto a1 = static_cast<float>(std::atan2(p1.y - c.y, p1.x - c.x));
    if (a2 <= 0.0f)
        a2 += kTwoPi;
    if (a1 <= 0.0f)
        a1 += kTwoPi;
    if (a1 <= a2)
        a1 += kTwoPi;
    return MidpointAt(c, p1, a1, a2);
}

std::vector<std::pair<float, float>> ReadDrillFeedTable(const std::string& path)
{
    std::vector<std::pair<float, float>> table;
    CTextLineReader reader;
    if (!reader.Open(path))
        return table;
    std::string piece;
    bool told = false;
    // Lines as a 100-character buffer takes them.
    while (reader.ReadPiece(piece, 100)) {
        if (piece.find(';') != std::string::npos)
            continue;
        float a = 0.0f, b = 0.0f;
        if (std::sscanf(piece.c_str(), "%f %f", &a, &b) != 2 || !(a > 0.0f) || !(b > 0.0f))
            continue;
        if (table.size() >= kMaxDrillFeedPairs) {
            if (!told) {
                char text[160];
                std::snprintf(text, sizeof text, LoadResString(IDS_DRILL_INI_TOO_LONG).c_str(),
                              static_cast<int>(kMaxDrillFeedPairs));
                AfxMessageBox(text);
                told = true;
            }
            continue;
        }
        table.emplace_back(a, b);
    }
    return table;
}

// ---- Bodies ----

CDPoint PlaceOnCopy(const CLayoutBlock& block, const CDPoint& point)
{
    CDPoint p(point.x - block.m_RefCentre.x, point.y - block.m_RefCentre.y);
    ApplyBoardOrientation(block, &p);
    p += block.m_Centre;
    return p;
}

void BuildDrillBody(CUplProgram& program, const COwnedList<CDrillTool>& tools,
                    const COwnedList<CLayoutBlock>& blocks, const std::vector<float>& feeds)
{
    int previous = -1;
    bool any = false;
    for (const auto& tool : tools) {
        if (tool->holes.empty())
            continue;
        for (const auto& block : blocks) {
            if (block->m_Selected)
                continue;
            g_CurrentToolNo = tool->toolNumber;
            const bool drills = tool->mode == 1 || (tool->mode & 0x0F) == 3;
            if ((!any || tool->toolNumber != previous) && drills) {
                const auto n = static_cast<std::size_t>(tool->toolNumber);
                program.Tool(static_cast<float>(tool->toolNumber),
                             static_cast<float>(tool->diameter * kMilToMM));
                program.Feed(n < feeds.size() ? feeds[n] : 0.0f);
                previous = tool->toolNumber;
                any = true;
            }
            if (tool->mode == 0)
                continue;
            for (const auto& hole : tool->holes) {
                const CDPoint p = PlaceOnCopy(*block, *hole);
                program.Point(UPL_DRILL, p.x, p.y);
            }
        }
    }
}

namespace {

// A path point on the table: placed on its copy, then through the
// registration alignment, which works in machine pulses.
CDPoint PathPoint(const CLayoutBlock& block, double x, double y)
{
    CDPoint p = PlaceOnCopy(block, CDPoint(x, y));
    p *= g_PulsesPerMil;
    AlignTransformPoint(&p);
    return CDPoint(p.x / g_PulsesPerMil, p.y / g_PulsesPerMil);
}

bool SignsMixed(const CLayoutBlock& block)
{
    return (block.m_Sign.x == -1 && block.m_Sign.y == 1) ||
           (block.m_Sign.x == 1 && block.m_Sign.y == -1);
}

}  // namespace

void BuildPathBody(CUplProgram& program, const std::vector<const CPathRecord*>& layers,
                   const COwnedList<CLayoutBlock>& blocks)
{
    bool toolSent = false;
    float previousSize = 0.0f;
    for (const CPathRecord* layer : layers) {
        for (const auto& block : blocks) {
            if (block->m_Selected)
                continue;
            g_PlungeOffsetPulses = static_cast<int>(layer->depth);
            if (!toolSent || layer->size != previousSize) {
                program.Tool(0.0f, static_cast<float>(layer->size * kMilToMM));
                previousSize = layer->size;
                toolSent = true;
            }
            // Chains are followed within one layer on one copy.
            bool havePrevious = false, pending = false;
            CDPoint previousEnd, pendingPoint;
            for (const auto& seg : layer->items) {
                if (seg->flag != 0)
                    continue;
                const CDPoint s = PathPoint(*block, seg->x1, seg->y1);
                const CDPoint e = PathPoint(*block, seg->x2, seg->y2);
                const bool line = seg->type == 0 || seg->type == 10;
                const double span = Distance(s.x, s.y, e.x, e.y);
                if (havePrevious && Distance(s.x, s.y, previousEnd.x, previousEnd.y) <= 1.0) {
                    if (pending)
                        program.Point(UPL_CUT_TO, pendingPoint.x, pendingPoint.y);
                    pending = false;
                } else {
                    if (pending)
                        program.Point(UPL_CHAIN_END, pendingPoint.x, pendingPoint.y);
                    pending = false;
                    if (line || span >= 0.1)
                        program.Point(UPL_CHAIN_START, s.x, s.y);
                }
                if (line) {
                    pendingPoint = e;
                    pending = true;
                } else {
                    const CDPoint c = PathPoint(*block, seg->cx, seg->cy);
                    // +1: the angle grows from the start to the end, as
                    // type 1 runs; a mirroring copy turns it the other way.
                    int direction = seg->type == 1 ? 1 : -1;
                    if (block->m_Swap)
                        direction = -direction;
                    if (SignsMixed(*block))
                        direction = -direction;
                    if (span >= 0.1) {
                        // The mid point on the segment's own arc: ArcMidpointCW
                        // takes the angles growing from P1 to P2 (clockwise
                        // as the screen shows it, y down).
                        const CDPoint mid =
                            direction > 0 ? ArcMidpointCW(c, s, e) : ArcMidpointCCW(c, s, e);
                        program.Point(UPL_ARC_MID, mid.x, mid.y);
                        pendingPoint = e;
                        pending = true;
                    } else {
                        const double r = Distance(c.x, c.y, s.x, s.y);
                        // The diameter in hundredths of a millimetre, as far
                        // as the record's 16 bits reach.
                        const double hundredths = std::min(2.0 * 2.54 * r, 65535.0);
                        program.Circle(c.x, c.y, static_cast<std::uint16_t>(hundredths));
                    }
                }
                previousEnd = e;
                havePrevious = true;
            }
            if (pending)
                program.Point(UPL_CHAIN_END, pendingPoint.x, pendingPoint.y);
        }
    }
}

std::string DrillToolText(const COwnedList<CDrillTool>& tools, const std::vector<float>& feeds)
{
    std::string text;
    for (const auto& tool : tools) {
        if (tool->diameter <= 0.0f)
            continue;
        const auto n = static_cast<std::size_t>(tool->toolNumber);
        char line[96];
        std::snprintf(line, sizeof line, "T%d C%.2f F%g\r\n", tool->toolNumber,
                      tool->diameter * kMilToMM, n < feeds.size() ? feeds[n] : 0.0f);
        text += line;
    }
    return text;
}
