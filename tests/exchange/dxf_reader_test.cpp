// The DXF pair reader: entities whatever the line ends, padding and group
// order; block definitions passed over; polylines; and broken files stopped
// with a message that names the line, never a crash.
#include "exchange/dxf_reader.h"
#include "resource_ids.h"
#include "exchange/dxf_fixture.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

namespace {

std::vector<CDxfEntity> ReadAll(const std::string& text, CDxfReader* out = nullptr)
{
    CDxfReader local;
    CDxfReader& reader = out ? *out : local;
    EXPECT_TRUE(reader.Open(WriteTestFile("drawing.dxf", text)));
    std::vector<CDxfEntity> entities;
    CDxfEntity e;
    while (reader.Next(e))
        entities.push_back(e);
    return entities;
}

std::string Crlf(const std::string& text) { return std::regex_replace(text, std::regex("\n"), "\r\n"); }
// Codes without their leading blanks, values with blanks after them.
std::string Unpadded(const std::string& text)
{
    return std::regex_replace(text, std::regex("(^|\n) +"), "$1");
}
std::string TrailingBlanks(const std::string& text)
{
    return std::regex_replace(text, std::regex("\n"), " \t\n");
}

const std::string kTwoLines =
    DxfDrawing({DxfLine("TOP", 1, 2, 3, 4), DxfLine("BOT", 5, 6, 7, 8)});

}  // namespace

TEST(DxfReader, LineEndsAndPaddingDoNotChangeTheEntities)
{
    struct Case {
        const char* name;
        std::string text;
    } const cases[] = {
        {"LF", kTwoLines},
        {"CRLF", Crlf(kTwoLines)},
        {"unpadded", Unpadded(kTwoLines)},
        {"unpadded CRLF", Crlf(Unpadded(kTwoLines))},
        {"trailing blanks", TrailingBlanks(kTwoLines)},
    };
    for (const Case& c : cases) {
        CDxfReader reader;
        const auto entities = ReadAll(c.text, &reader);
        EXPECT_FALSE(reader.Failed()) << c.name;
        ASSERT_EQ(entities.size(), 4u) << c.name;   // SECTION, LINE, LINE, ENDSEC
        EXPECT_EQ(entities[1].type, "LINE") << c.name;
        EXPECT_EQ(entities[1].Layer(), "TOP") << c.name;
        EXPECT_DOUBLE_EQ(entities[2].Number(21), 8.0) << c.name;
        EXPECT_EQ(entities[2].Layer(), "BOT") << c.name;
    }
}

TEST(DxfReader, ValuesArePickedByCodeWhateverTheirOrder)
{
    // The layer after the points, and a layer whose name is an entity name.
    const std::string text = DxfDrawing({
        DxfEntity("LINE", {{10, "1"}, {20, "2"}, {11, "3"}, {21, "4"}, {8, "LATE"}}),
        DxfEntity("LINE", {{8, "LINE"}, {10, "5"}, {20, "6"}, {11, "7"}, {21, "8"}}),
    });
    const auto entities = ReadAll(text);
    ASSERT_EQ(entities.size(), 4u);
    EXPECT_EQ(entities[1].Layer(), "LATE");
    EXPECT_DOUBLE_EQ(entities[1].Number(10), 1.0);
    EXPECT_DOUBLE_EQ(entities[1].Number(20), 2.0);
    EXPECT_EQ(entities[2].Layer(), "LINE");
    EXPECT_DOUBLE_EQ(entities[2].Number(21), 8.0);
    EXPECT_DOUBLE_EQ(entities[2].Number(40, -1.0), -1.0);
}

TEST(DxfReader, BlockDefinitionsArePassedOver)
{
    const std::string text =
        "  0\nSECTION\n  2\nBLOCKS\n" + DxfEntity("BLOCK", {{8, "0"}, {2, "PAD"}}) +
        DxfCircle("TOP", 0, 0, 5) + DxfEntity("ENDBLK", {{8, "0"}}) +
        "  0\nENDSEC\n" +
        DxfDrawing({DxfEntity("INSERT", {{8, "TOP"}, {2, "PAD"}, {10, "100"}, {20, "0"}}),
                    DxfLine("TOP", 0, 0, 1, 1)});
    std::vector<std::string> types;
    for (const CDxfEntity& e : ReadAll(text))
        types.push_back(e.type);
    EXPECT_EQ(types, (std::vector<std::string>{"SECTION", "ENDSEC", "SECTION", "INSERT", "LINE",
                                               "ENDSEC"}));
}

TEST(DxfReader, LwPolylineVerticesWidthsAndBulges)
{
    // 38 (elevation) and 39 (thickness) before the vertices, 40 and 41 on a
    // vertex, 42 after the vertex it belongs to.
    const std::string text = DxfDrawing({
        DxfEntity("LWPOLYLINE", {{8, "A"}, {90, "3"}, {70, "129"}, {43, "2.5"}, {38, "1"},
                                 {39, "3"}, {10, "0"}, {20, "0"}, {40, "4"}, {41, "6"},
                                 {42, "0.5"}, {10, "10"}, {20, "0"}, {10, "10"}, {20, "10"}}),
        DxfLwPolyline("B", 0, {{0, 0, 0}, {1, 1, 0}}),
    });
    const auto entities = ReadAll(text);
    ASSERT_EQ(entities.size(), 4u);
    const CDxfPolyline a = ReadLwPolyline(entities[1]);
    EXPECT_EQ(a.layer, "A");
    EXPECT_TRUE(a.Closed());
    EXPECT_DOUBLE_EQ(a.width, 2.5);
    ASSERT_EQ(a.vertices.size(), 3u);
    EXPECT_DOUBLE_EQ(a.vertices[0].bulge, 0.5);
    EXPECT_DOUBLE_EQ(a.vertices[0].startWidth, 4.0);
    EXPECT_DOUBLE_EQ(a.vertices[1].x, 10.0);
    EXPECT_DOUBLE_EQ(a.vertices[2].y, 10.0);
    // Without 43 the stroke is 0.1 wide.
    const CDxfPolyline b = ReadLwPolyline(entities[2]);
    EXPECT_FALSE(b.hasWidth);
    EXPECT_DOUBLE_EQ(b.width, 0.1);
    EXPECT_FALSE(b.Closed());
}

TEST(DxfReader, ClosedOnlyByTheFirstFlagBit)
{
    for (auto [flags, closed] : {std::pair{0, false}, {1, true}, {128, false}, {129, true}}) {
        CDxfPolyline p;
        p.flags = flags;
        EXPECT_EQ(p.Closed(), closed) << flags;
    }
}

TEST(DxfReader, PolylineTakesItsVerticesUpToSeqend)
{
    const std::string text = DxfDrawing({
        DxfPolyline("P", 1, {{0, 0, 0.5}, {10, 0, -1}, {10, 10, 2}}, 3.0),
        DxfLine("L", 0, 0, 1, 1),
    });
    CDxfReader reader;
    ASSERT_TRUE(reader.Open(WriteTestFile("p.dxf", text)));
    CDxfEntity e;
    ASSERT_TRUE(reader.Next(e) && reader.Next(e));
    ASSERT_EQ(e.type, "POLYLINE");
    const CDxfPolyline p = ReadPolyline(reader, e);
    EXPECT_DOUBLE_EQ(p.width, 3.0);
    ASSERT_EQ(p.vertices.size(), 3u);
    EXPECT_DOUBLE_EQ(p.vertices[0].bulge, 0.5);
    EXPECT_DOUBLE_EQ(p.vertices[1].bulge, -1.0);
    EXPECT_DOUBLE_EQ(p.vertices[2].bulge, 2.0);
    ASSERT_TRUE(reader.Next(e));
    EXPECT_EQ(e.type, "LINE");
}

TEST(DxfReader, BrokenFilesStopWithTheLine)
{
    struct Case {
        const char* name;
        std::string text;
        unsigned id;
        long line;
    } const cases[] = {
        {"code not a number", "  0\nSECTION\nX2\nENTITIES\n", IDS_DXF_BAD_GROUP, 3},
        {"coordinate not a number", DxfDrawing({DxfEntity("LINE", {{8, "A"}, {10, "1,5"}})}),
         IDS_DXF_BAD_GROUP, 10},
        {"value missing", "  0\nSECTION\n  2\n", IDS_DXF_TRUNCATED, 3},
        {"no EOF marker", "  0\nSECTION\n  2\nENTITIES\n", IDS_DXF_TRUNCATED, 4},
        {"inside a block", "  0\nBLOCK\n  0\nLINE\n  0\nEOF\n", IDS_DXF_TRUNCATED, 6},
        {"empty file", "", IDS_DXF_TRUNCATED, 0},
    };
    for (const Case& c : cases) {
        CDxfReader reader;
        ReadAll(c.text, &reader);
        EXPECT_EQ(reader.ErrorId(), c.id) << c.name;
        EXPECT_EQ(reader.ErrorLine(), c.line) << c.name;
        EXPECT_NE(DxfErrorMessage(reader, "x.dxf").find("x.dxf"), std::string::npos) << c.name;
    }
}

// The names in a refusal come from the file: its bytes that are no text
// are shown escaped, the rest as written.
TEST(DxfReader, ARefusalShowsControlBytesOfItsNamesEscaped)
{
    const std::string text = DxfDrawing({DxfEntity(
        "ARC", {{8, "TI\x01LT"}, {10, "0"}, {20, "0"}, {40, "5"}, {50, "0"}, {51, "90"},
                {210, "1"}, {220, "0"}, {230, "0"}})});
    const std::string path = WriteTestFile("tab\there.dxf", text);
    CDxfReader reader;
    ASSERT_TRUE(reader.Open(path));
    CDxfEntity e;
    while (reader.Next(e) && TakeFlatEntity(reader, e)) {
    }
    ASSERT_EQ(reader.ErrorId(), IDS_DXF_TILTED);
    const std::string message = DxfErrorMessage(reader, path);
    EXPECT_EQ(message.find(TestDir() + "/tab\\x09here.dxf"), 0u) << message;
    EXPECT_NE(message.find("TI\\x01LT"), std::string::npos) << message;
    EXPECT_EQ(message.find_first_of("\x01\t"), std::string::npos) << message;
}

// Every cut of a drawing and many garbled copies: the reader always ends,
// a cut before the EOF marker is always reported, and nothing crashes.
TEST(DxfReader, TruncatedAndGarbledInputNeverCrashes)
{
    const std::string text = DxfDrawing({
        DxfLine("TOP", 1, 2, 3, 4),
        DxfLwPolyline("TOP", 1, {{0, 0, 0.5}, {5, 0, 0}, {5, 5, -1}}, "1"),
        DxfPolyline("BOT", 1, {{0, 0, 1}, {3, 0, 0}}),
        DxfArc("A", 0, 0, 5, 350, 10),
    });
    const std::size_t eof = text.rfind("EOF");
    for (std::size_t cut = 0; cut < eof + 3; ++cut) {
        CDxfReader reader;
        const auto entities = ReadAll(text.substr(0, cut), &reader);
        EXPECT_TRUE(reader.Failed()) << "cut at " << cut;
        EXPECT_LE(entities.size(), 9u);
    }
    std::mt19937 random(7);
    const char garbage[] = "0123456789 -.\n\r\tEOFLINEBLOCKENDBLKSEQENDxyz\xff";
    for (int round = 0; round < 500; ++round) {
        std::string copy = text;
        const int changes = 1 + int(random() % 8);
        for (int k = 0; k < changes; ++k)
            copy[random() % copy.size()] = garbage[random() % (sizeof garbage - 1)];
        CDxfReader reader;
        ASSERT_TRUE(reader.Open(WriteTestFile("g.dxf", copy)));
        CDxfEntity e;
        int count = 0;
        while (reader.Next(e)) {
            if (e.type == "POLYLINE")
                ReadPolyline(reader, e);
            else if (e.type == "LWPOLYLINE")
                ReadLwPolyline(e);
            ASSERT_LT(++count, 100);
        }
    }
}
