// The first LINE and the first CIRCLE of a drawing as route text, whatever
// its line ends.
#include "exchange/dxf_fixture.h"
#include "exchange/dxf_reader.h"
#include "exchange/route_text.h"
#include "ui/line_store.h"

#include <gtest/gtest.h>

#include <regex>

TEST(RouteText, FirstLineAndCircleAsMoves)
{
    const std::string drawing = DxfDrawing({
        DxfEntity("TEXT", {{8, "0"}, {1, "note"}}),
        DxfEntity("LINE", {{8, "R"}, {10, "1.5"}, {20, "2"}, {30, "0"}, {11, "10"}, {21, "20.25"},
                           {31, "-1"}}),
        DxfCircle("R", 100, 50, 20),
        DxfLine("R", 7, 7, 8, 8),
    });
    for (const std::string& text : {drawing, std::regex_replace(drawing, std::regex("\n"), "\r\n")}) {
        CDxfReader reader;
        ASSERT_TRUE(reader.Open(WriteTestFile("route.dxf", text)));
        CLineEdit out;
        EXPECT_TRUE(DxfLineToRouteText(reader, out));
        EXPECT_TRUE(DxfCircleToRouteText(reader, out));
        ASSERT_EQ(out.GetLineCount(), 4);
        EXPECT_EQ(out.GetLineText(0), "G00X1.5Y2Z0");
        EXPECT_EQ(out.GetLineText(1), "G01X10Y20.25Z-1");
        EXPECT_EQ(out.GetLineText(2), "G00X80.0Y50.0");
        EXPECT_EQ(out.GetLineText(3), "G02X80.0Y50.0I20.0J0.");
        EXPECT_FALSE(DxfCircleToRouteText(reader, out));
    }
}
