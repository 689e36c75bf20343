// Small DXF drawings written by the tests: entities from (code, value)
// pairs, wrapped in an ENTITIES section and the EOF marker.
#pragma once

#include "support/test_paths.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

using DxfPairs = std::vector<std::pair<int, std::string>>;

// Codes right-aligned in three columns, as most writers put them.
inline std::string DxfEntity(const std::string& type, const DxfPairs& pairs)
{
    std::string text = "  0\n" + type + "\n";
    for (const auto& [code, value] : pairs) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%3d\n", code);
        text += buffer + value + "\n";
    }
    return text;
}

inline std::string DxfDrawing(const std::vector<std::string>& entities)
{
    std::string text = "  0\nSECTION\n  2\nENTITIES\n";
    for (const std::string& e : entities)
        text += e;
    return text + "  0\nENDSEC\n  0\nEOF\n";
}

inline std::string DxfLine(const std::string& layer, double x1, double y1, double x2, double y2)
{
    return DxfEntity("LINE", {{8, layer}, {10, std::to_string(x1)}, {20, std::to_string(y1)},
                              {30, "0"}, {11, std::to_string(x2)}, {21, std::to_string(y2)},
                              {31, "0"}});
}

inline std::string DxfCircle(const std::string& layer, double cx, double cy, double r)
{
    return DxfEntity("CIRCLE", {{8, layer}, {10, std::to_string(cx)}, {20, std::to_string(cy)},
                                {30, "0"}, {40, std::to_string(r)}});
}

inline std::string DxfArc(const std::string& layer, double cx, double cy, double r, double a1,
                          double a2)
{
    return DxfEntity("ARC", {{8, layer}, {10, std::to_string(cx)}, {20, std::to_string(cy)},
                             {30, "0"}, {40, std::to_string(r)}, {50, std::to_string(a1)},
                             {51, std::to_string(a2)}});
}

// Vertices as x, y, bulge.
struct DxfVertexSpec {
    double x, y, bulge;
};

inline std::string DxfLwPolyline(const std::string& layer, int flags,
                                 const std::vector<DxfVertexSpec>& vertices,
                                 const std::string& width = "")
{
    DxfPairs pairs{{8, layer}, {90, std::to_string(vertices.size())}, {70, std::to_string(flags)}};
    if (!width.empty())
        pairs.push_back({43, width});
    for (const DxfVertexSpec& v : vertices) {
        pairs.push_back({10, std::to_string(v.x)});
        pairs.push_back({20, std::to_string(v.y)});
        if (v.bulge != 0.0)
            pairs.push_back({42, std::to_string(v.bulge)});
    }
    return DxfEntity("LWPOLYLINE", pairs);
}

inline std::string DxfPolyline(const std::string& layer, int flags,
                               const std::vector<DxfVertexSpec>& vertices, double width = 0.0)
{
    std::string text = DxfEntity("POLYLINE", {{8, layer}, {66, "1"}, {10, "0"}, {20, "0"},
                                              {40, std::to_string(width)},
                                              {70, std::to_string(flags)}});
    for (const DxfVertexSpec& v : vertices)
        text += DxfEntity("VERTEX", {{8, layer}, {10, std::to_string(v.x)},
                                     {20, std::to_string(v.y)}, {42, std::to_string(v.bulge)}});
    return text + DxfEntity("SEQEND", {{8, layer}});
}

// Writes `text` into the test's folder; returns the path.
inline std::string WriteTestFile(const std::string& name, const std::string& text)
{
    const std::string path = TestDir() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}
