// The outline of a text on the image surface, as the engraved text reads it:
// the text's cell first, then the glyphs' figures, within the point limit.
#include "platform/font_choice.h"
#include "view/qt/image_surface.h"

#include "../app/qt_test_app.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TextPath, CellFirstThenGlyphFiguresWithinTheLimit)
{
    TestQtApp();
    CQtImageSurface surface(QSize(100, 100));
    std::vector<POINT> points;
    std::vector<unsigned char> kinds;
    const CFontChoice font{"Sans", 40};
    surface.TextPath(font, "LO", 20000, points, kinds);
    ASSERT_GT(points.size(), 8u);
    ASSERT_EQ(kinds.size(), points.size());
    EXPECT_EQ(points[0].x, 0);
    EXPECT_EQ(points[0].y, 0);
    EXPECT_GT(points[2].x, 20);      // two glyphs wide
    EXPECT_GE(points[2].y, 40);      // a line high
    EXPECT_EQ(kinds[0], PT_MOVETO);
    EXPECT_EQ(kinds[4], PT_MOVETO);  // the first glyph's figure begins
    for (std::size_t i = 4; i < points.size(); ++i) {
        EXPECT_GE(points[i].x, -2);
        EXPECT_LE(points[i].x, points[2].x + 2);
        EXPECT_GE(points[i].y, -2);
        EXPECT_LE(points[i].y, points[2].y + 2);
    }
    surface.TextPath(font, "LO", 6, points, kinds);
    EXPECT_EQ(points.size(), 6u);
    surface.TextPath(font, "", 20000, points, kinds);
    EXPECT_EQ(points.size(), 4u);
}
