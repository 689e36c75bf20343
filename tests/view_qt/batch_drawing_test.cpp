// Batches on the QImage surface: drawn in runs they give the pixels that
// painting each shape alone gives, but for rounded lines, whose edge pixels
// may differ; shapes below a pixel become one pixel.
#include "view/qt/image_surface.h"

#include "../app/qt_test_app.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr QSize kSize(200, 150);
constexpr COLORREF kPen = RGB(250, 200, 10), kBrush = RGB(20, 90, 240);

enum class Kind { Lines, Rectangles, Ellipses };

struct Batch {
    std::string name;
    Kind kind;
    CPen pen;
    CBrush brush;
    int rop;
    std::vector<POINT> points;   // line ends
    std::vector<RECT> boxes;
};

// Lines from a centre to points all round at several lengths (steep, flat,
// diagonal, a single point), and lines along and across the image's edges.
std::vector<POINT> LineFan()
{
    std::vector<POINT> ends;
    for (int i = 0; i < 48; ++i) {
        double a = i * 2 * M_PI / 48;
        for (double length : {0.0, 1.0, 2.5, 9.0, 37.0}) {
            ends.push_back(POINT{100, 75});
            ends.push_back(POINT{100 + int(std::lround(length * std::cos(a))),
                                 75 + int(std::lround(length * std::sin(a)))});
        }
    }
    for (POINT a : {POINT{0, 0}, POINT{199, 149}, POINT{-30, 40}, POINT{120, 170}}) {
        for (POINT b : {POINT{199, 0}, POINT{0, 149}, POINT{60, 60}, POINT{260, -20}}) {
            ends.push_back(a);
            ends.push_back(b);
        }
    }
    return ends;
}

// Overlapping boxes of every size from nothing to larger than a stamp, so a
// later shape's brush covers an earlier one's pen.
std::vector<RECT> Boxes(int largest, int step)
{
    std::vector<RECT> boxes;
    int x = -3, y = -2;
    for (int w = 0; w <= largest; w += step)
        for (int h : {w, w + 1, w / 2}) {
            if (w <= 1 && h <= 1)
                continue;  // below a pixel: a test of its own
            boxes.push_back(RECT{x, y, x + w, y + h});
            x += w / 2 + 3;
            if (x > 190) {
                x = -3;
                y += 17;
            }
        }
    return boxes;
}

QImage Drawn(CQtImageSurface::BatchDrawing how, const std::vector<Batch>& batches)
{
    CQtImageSurface surface(kSize, how);
    surface.BeginDraw();
    // Something under the shapes for the inverting operations to work on.
    surface.FillSolidRect(RECT{20, 10, 160, 120}, RGB(70, 130, 30));
    for (const Batch& b : batches) {
        surface.SelectPen(b.pen);
        surface.SelectBrush(b.brush);
        surface.SetROP2(b.rop);
        switch (b.kind) {
        case Kind::Lines: surface.Lines(b.points); break;
        case Kind::Rectangles: surface.Rectangles(b.boxes); break;
        case Kind::Ellipses: surface.Ellipses(b.boxes); break;
        }
    }
    surface.EndDraw();
    return surface.Image().copy();
}

int Differing(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

}  // namespace

TEST(BatchDrawing, RunsPaintWhatShapeByShapePaints)
{
    TestQtApp();
    const std::vector<POINT> fan = LineFan();
    const std::vector<RECT> small = Boxes(12, 1), large = Boxes(80, 7);
    const CBrush none{0, true};
    const std::vector<Batch> cases = {
        {"thin lines", Kind::Lines, SolidPen(1, kPen), none, R2_COPYPEN, fan, {}},
        {"thin lines, pen 0", Kind::Lines, SolidPen(0, kPen), none, R2_COPYPEN, fan, {}},
        {"thin flat lines", Kind::Lines, FlatPen(1, kPen), none, R2_COPYPEN, fan, {}},
        {"wide flat lines", Kind::Lines, FlatPen(5, kPen), none, R2_COPYPEN, fan, {}},
        {"rounded lines wider than drawn directly", Kind::Lines,
         SolidPen(CQtImageSurface::kLargestRoundPen + 3, kPen), none, R2_COPYPEN, fan, {}},
        {"no pen", Kind::Lines, CPen{3, kPen, false, true}, none, R2_COPYPEN, fan, {}},
        {"inverted lines", Kind::Lines, SolidPen(4, kPen), none, R2_NOT, fan, {}},
        {"rectangles", Kind::Rectangles, SolidPen(1, kPen), SolidBrush(kBrush), R2_COPYPEN, {}, small},
        {"rectangle frames", Kind::Rectangles, SolidPen(1, kPen), none, R2_COPYPEN, {}, small},
        {"wide-pen rectangles", Kind::Rectangles, SolidPen(3, kPen), SolidBrush(kBrush), R2_COPYPEN, {}, small},
        {"ellipses", Kind::Ellipses, SolidPen(1, kPen), SolidBrush(kBrush), R2_COPYPEN, {}, small},
        {"large ellipses", Kind::Ellipses, SolidPen(1, kPen), SolidBrush(kBrush), R2_COPYPEN, {}, large},
        {"ellipse rims", Kind::Ellipses, SolidPen(1, kPen), none, R2_COPYPEN, {}, small},
        {"wide-pen ellipses", Kind::Ellipses, SolidPen(2, kPen), SolidBrush(kBrush), R2_COPYPEN, {}, small},
        {"ellipses without pen", Kind::Ellipses, CPen{1, kPen, false, true}, SolidBrush(kBrush), R2_COPYPEN, {}, small},
        {"inverted ellipses", Kind::Ellipses, SolidPen(1, kPen), SolidBrush(kBrush), R2_XORPEN, {}, small},
    };
    for (const Batch& c : cases) {
        SCOPED_TRACE(c.name);
        QImage runs = Drawn(CQtImageSurface::BatchDrawing::InRuns, {c});
        QImage alone = Drawn(CQtImageSurface::BatchDrawing::ShapeByShape, {c});
        EXPECT_EQ(Differing(runs, alone), 0);
        if (!c.pen.null) {
            EXPECT_NE(runs, Drawn(CQtImageSurface::BatchDrawing::ShapeByShape, {}));
        }
    }
    // A stamp made for one pen and brush serves another pair of colours.
    Batch first = cases[10], second = cases[10];
    second.pen.colour = RGB(1, 2, 3);
    second.brush.colour = RGB(200, 0, 100);
    EXPECT_EQ(Drawn(CQtImageSurface::BatchDrawing::InRuns, {first, second}),
              Drawn(CQtImageSurface::BatchDrawing::ShapeByShape, {first, second}));
}

TEST(BatchDrawing, RoundedLinesDifferOnlyAtTheirEdge)
{
    // The pixels the painter and the direct drawing disagree about lie on
    // the line's edge, and they are very few.
    TestQtApp();
    const std::vector<POINT> fan = LineFan();
    for (int width = 2; width <= CQtImageSurface::kLargestRoundPen; ++width) {
        SCOPED_TRACE(width);
        Batch b{"", Kind::Lines, SolidPen(width, kPen), CBrush{0, true}, R2_COPYPEN, fan, {}};
        QImage runs = Drawn(CQtImageSurface::BatchDrawing::InRuns, {b});
        QImage alone = Drawn(CQtImageSurface::BatchDrawing::ShapeByShape, {b});
        const QImage background = Drawn(CQtImageSurface::BatchDrawing::InRuns, {});
        int painted = 0, differing = 0;
        for (int y = 0; y < runs.height(); ++y)
            for (int x = 0; x < runs.width(); ++x) {
                painted += alone.pixel(x, y) != background.pixel(x, y);
                if (runs.pixel(x, y) == alone.pixel(x, y))
                    continue;
                ++differing;
                // The distance of the pixel's centre from the nearest line.
                double nearest = 1e9;
                for (std::size_t i = 0; i + 1 < fan.size(); i += 2) {
                    double ax = fan[i].x, ay = fan[i].y, dx = fan[i + 1].x - ax, dy = fan[i + 1].y - ay;
                    double px = x + 0.5 - ax, py = y + 0.5 - ay, l2 = dx * dx + dy * dy;
                    if (l2 == 0)
                        continue;
                    double t = std::clamp((px * dx + py * dy) / l2, 0.0, 1.0);
                    nearest = std::min(nearest, std::hypot(px - t * dx, py - t * dy));
                }
                EXPECT_NEAR(nearest, width / 2.0, 0.1) << x << "," << y;
            }
        EXPECT_GT(painted, 1000);
        EXPECT_LT(differing, painted / 200) << differing << " of " << painted;
    }
}

TEST(BatchDrawing, ShapesBelowAPixelAreOnePixel)
{
    TestQtApp();
    struct Case {
        const char* name;
        Kind kind;
        RECT box;        // a line from (left, top) to (right, bottom)
    } cases[] = {
        {"point line", Kind::Lines, {30, 40, 30, 40}},
        {"rectangle without size", Kind::Rectangles, {30, 40, 30, 40}},
        {"rectangle of one pixel", Kind::Rectangles, {30, 40, 31, 41}},
        {"ellipse without size", Kind::Ellipses, {30, 40, 30, 40}},
        {"ellipse of one pixel", Kind::Ellipses, {30, 40, 31, 41}},
        {"ellipse turned round", Kind::Ellipses, {31, 41, 30, 40}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Batch b{c.name, c.kind, SolidPen(1, kPen), SolidBrush(kBrush), R2_COPYPEN,
                {POINT{c.box.left, c.box.top}, POINT{c.box.right, c.box.bottom}}, {c.box}};
        QImage image = Drawn(CQtImageSurface::BatchDrawing::InRuns, {b});
        QImage background = Drawn(CQtImageSurface::BatchDrawing::InRuns, {});
        EXPECT_EQ(Differing(image, background), 1);
        EXPECT_EQ(image.pixel(30, 40), qRgb(250, 200, 10));
    }
}
