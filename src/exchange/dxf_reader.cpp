// The DXF pair reader and the polyline readers.
#include "exchange/dxf_reader.h"

#include "platform/file_messages.h"
#include "resource_ids.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

std::string Trimmed(const std::string& s)
{
    const char* blanks = " \t\r\n\f\v";
    const std::size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// The whole text is one number.
bool ParseWhole(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && errno != ERANGE;
}

bool ParseCode(const std::string& text, int& code)
{
    double value = 0.0;
    if (!ParseWhole(text, value) || text.find_first_of(".eE") != std::string::npos ||
        value < -32768.0 || value > 32767.0)
        return false;
    code = static_cast<int>(value);
    return true;
}

// Codes whose values are numbers in every DXF entity.
bool IsNumberCode(int code)
{
    return (code >= 10 && code <= 59) || (code >= 60 && code <= 79) ||
           (code >= 90 && code <= 99) || (code >= 110 && code <= 149) ||
           (code >= 210 && code <= 239) || (code >= 1010 && code <= 1071);
}

}  // namespace

std::string CDxfEntity::Text(int code) const
{
    for (const CDxfGroup& g : groups)
        if (g.code == code)
            return g.value;
    return {};
}

double CDxfEntity::Number(int code, double fallback) const
{
    for (const CDxfGroup& g : groups)
        if (g.code == code)
            return std::strtod(g.value.c_str(), nullptr);
    return fallback;
}

bool CDxfEntity::Has(int code) const
{
    for (const CDxfGroup& g : groups)
        if (g.code == code)
            return true;
    return false;
}

bool CDxfReader::Open(const std::string& path)
{
    m_Path = path;
    m_Refusal.clear();
    m_Start.reset();
    m_Pushed.reset();
    m_Ended = false;
    m_ErrorId = 0;
    m_ErrorLine = 0;
    return m_Lines.Open(path) && !m_Lines.Failed();
}

bool CDxfReader::Fail(unsigned id)
{
    if (!m_ErrorId) {
        m_ErrorId = id;
        m_ErrorLine = m_Lines.LineNumber();
    }
    m_Ended = true;
    return false;
}

void CDxfReader::Refuse(unsigned id, const CDxfEntity& entity)
{
    if (m_ErrorId)
        return;
    m_ErrorId = id;
    m_ErrorLine = entity.line;
    m_Ended = true;
    m_Refusal = WithValues(id, {m_Path, std::to_string(entity.line), entity.type, entity.Layer()});
}

bool CDxfReader::ReadPair(CDxfGroup& pair)
{
    std::string line;
    if (!m_Lines.ReadLine(line))
        return Fail(IDS_DXF_TRUNCATED);
    if (!ParseCode(Trimmed(line), pair.code))
        return Fail(IDS_DXF_BAD_GROUP);
    if (!m_Lines.ReadLine(line))
        return Fail(IDS_DXF_TRUNCATED);
    pair.value = Trimmed(line);
    double number = 0.0;
    if (IsNumberCode(pair.code) && !ParseWhole(pair.value, number))
        return Fail(IDS_DXF_BAD_GROUP);
    return true;
}

bool CDxfReader::ReadEntity(CDxfEntity& entity)
{
    if (m_Ended)
        return false;
    CDxfGroup pair;
    while (!m_Start) {
        // Whatever comes before the first group 0 belongs to no entity.
        if (!ReadPair(pair))
            return false;
        if (pair.code == 0)
            m_Start = pair;
    }
    entity = CDxfEntity();
    entity.type = m_Start->value;
    entity.line = m_Lines.LineNumber();
    m_Start.reset();
    if (entity.type == "EOF") {
        m_Ended = true;
        return false;
    }
    for (;;) {
        if (!ReadPair(pair))
            return false;
        if (pair.code == 0) {
            m_Start = pair;
            return true;
        }
        entity.groups.push_back(std::move(pair));
    }
}

bool CDxfReader::Next(CDxfEntity& entity)
{
    if (m_Pushed) {
        entity = std::move(*m_Pushed);
        m_Pushed.reset();
        return true;
    }
    if (!ReadEntity(entity))
        return false;
    if (entity.type != "BLOCK")
        return true;
    while (ReadEntity(entity))
        if (entity.type == "ENDBLK")
            return Next(entity);
    // The file ended inside a block definition.
    return m_ErrorId ? false : Fail(IDS_DXF_TRUNCATED);
}

namespace {

EDxfPlane PlaneOf(const CDxfEntity& entity)
{
    // 3-D polylines and meshes are in the drawing's coordinates.
    if (entity.type == "POLYLINE" && (static_cast<int>(entity.Number(70)) & (8 | 16 | 64)))
        return EDxfPlane::Drawing;
    const double nx = entity.Number(210), ny = entity.Number(220), nz = entity.Number(230, 1.0);
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    // The direction as written to a file's precision, of any length.
    constexpr double kAcross = 1e-9;
    if (!std::isfinite(length) || !(length > 0.0) || std::fabs(nx) > kAcross * length ||
        std::fabs(ny) > kAcross * length)
        return EDxfPlane::Tilted;
    return nz > 0.0 ? EDxfPlane::Drawing : EDxfPlane::Mirrored;
}

}  // namespace

EDxfPlane CDxfEntity::Plane() const
{
    if (!m_Plane)
        m_Plane = PlaneOf(*this);
    return *m_Plane;
}

bool TakeFlatEntity(CDxfReader& reader, const CDxfEntity& entity)
{
    const bool ownPlane = entity.type == "ARC" || entity.type == "CIRCLE" ||
                          entity.type == "LWPOLYLINE" || entity.type == "POLYLINE" ||
                          entity.type == "SOLID";
    if (!ownPlane || entity.Plane() != EDxfPlane::Tilted)
        return true;
    reader.Refuse(IDS_DXF_TILTED, entity);
    return false;
}

namespace {

bool Mirrored(const CDxfEntity& entity) { return entity.Plane() == EDxfPlane::Mirrored; }

// A polyline seen from below: every x mirrored, and so every bulge turns
// the other way.
void MirrorPolyline(const CDxfEntity& entity, CDxfPolyline& poly)
{
    if (!Mirrored(entity))
        return;
    for (CDxfVertex& v : poly.vertices) {
        v.x = -v.x;
        v.bulge = -v.bulge;
    }
}

}  // namespace

CDxfArc ReadArc(const CDxfEntity& entity)
{
    const bool mirrored = Mirrored(entity);
    const double x = entity.Number(10);
    CDxfArc arc;
    arc.cx = mirrored ? -x : x;
    arc.cy = entity.Number(20);
    arc.r = entity.Number(40);
    // Angles of any size (or none that is a number) come into one turn, so
    // an arc never sweeps more than a circle.
    auto turn = [](double degrees) {
        const double a = std::isfinite(degrees) ? std::fmod(degrees, 360.0) : 0.0;
        return a < 0.0 ? a + 360.0 : a;
    };
    double a1 = entity.Number(50), a2 = entity.Number(51);
    // Mirrored, the counter-clockwise sweep from a1 to a2 runs clockwise
    // from 180 - a1 to 180 - a2: counter-clockwise from 180 - a2 to 180 - a1.
    if (mirrored) {
        const double start = 180.0 - a2, end = 180.0 - a1;
        a1 = start;
        a2 = end;
    }
    const double start = turn(a1);
    double end = turn(a2);
    if (end < start)
        end += 360.0;
    arc.start = start * std::numbers::pi / 180.0;
    arc.end = end * std::numbers::pi / 180.0;
    return arc;
}

CDxfCircle ReadCircle(const CDxfEntity& entity)
{
    const double x = entity.Number(10);
    return {Mirrored(entity) ? -x : x, entity.Number(20), entity.Number(40)};
}

std::array<std::array<double, 2>, 4> ReadSolid(const CDxfEntity& entity)
{
    const bool mirrored = Mirrored(entity);
    std::array<std::array<double, 2>, 4> corners;
    for (int i = 0; i < 4; ++i) {
        const double x = entity.Number(10 + i);
        corners[std::size_t(i)] = {mirrored ? -x : x, entity.Number(20 + i)};
    }
    return corners;
}

void CDxfPolyline::ForEachSegment(
    double width,
    const std::function<void(const CDxfVertex&, const CDxfVertex&, double)>& visit) const
{
    const std::size_t n = vertices.size();
    const std::size_t segments = n == 0 ? 0 : Closed() ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        if (vertices[i].startWidth > 0.0)
            width = vertices[i].startWidth;
        visit(vertices[i], vertices[(i + 1) % n], width);
    }
}

CDxfPolyline ReadLwPolyline(const CDxfEntity& entity)
{
    CDxfPolyline poly;
    poly.layer = entity.Layer();
    poly.flags = static_cast<int>(entity.Number(70));
    poly.hasWidth = entity.Has(43);
    // An LWPOLYLINE without a constant width is a thin stroke of 0.1 units.
    poly.width = poly.hasWidth ? entity.Number(43) : 0.1;
    for (const CDxfGroup& g : entity.groups) {
        const double v = std::strtod(g.value.c_str(), nullptr);
        if (g.code == 10) {
            poly.vertices.push_back({});
            poly.vertices.back().x = v;
        } else if (!poly.vertices.empty()) {
            CDxfVertex& last = poly.vertices.back();
            if (g.code == 20)
                last.y = v;
            else if (g.code == 40)
                last.startWidth = v;
            else if (g.code == 42)
                last.bulge = v;
        }
    }
    MirrorPolyline(entity, poly);
    return poly;
}

CDxfPolyline ReadPolyline(CDxfReader& reader, const CDxfEntity& header)
{
    CDxfPolyline poly;
    poly.layer = header.Layer();
    poly.flags = static_cast<int>(header.Number(70));
    poly.hasWidth = header.Has(40);
    poly.width = header.Number(40);
    CDxfEntity e;
    while (reader.Next(e)) {
        if (e.type == "SEQEND")
            break;
        if (e.type != "VERTEX") {
            reader.PushBack(std::move(e));
            break;
        }
        CDxfVertex v;
        v.x = e.Number(10);
        v.y = e.Number(20);
        v.bulge = e.Number(42);
        v.startWidth = e.Number(40);
        poly.vertices.push_back(v);
    }
    MirrorPolyline(header, poly);
    return poly;
}

std::string DxfErrorMessage(const CDxfReader& reader, const std::string& path)
{
    if (!reader.Refusal().empty())
        return reader.Refusal();
    return FileLineMessage(reader.ErrorId(), path, reader.ErrorLine());
}
