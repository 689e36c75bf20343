// Real photoplots from other CAD tools, read by our Gerber import and
// compared pixel by pixel with the reference renderer gerbv: our copper is
// rasterised at gerbv's resolution and origin, and the share of pixels
// where the two disagree (of the pixels either one covers) must stay small.
// Skips when the corpus or gerbv is absent.
#include "document/velm_doc.h"
#include "platform/paths.h"
#include "settings/default_files.h"
#include "settings/gerber_format_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// 300 dpi, less for boards that would pass gerbv's largest window.
constexpr double kDpi = 300.0;
constexpr int kMaxPixels = 2000;
// Pixels where one rendering has copper and the other none within one
// pixel (so rounding at the edges does not count), as a share of the copper.
constexpr double kMismatchBudget = 0.01;

// A one-bit picture of the board, row 0 at the top (largest y).
struct Raster {
    int width = 0, height = 0;
    double originX = 0, originY = 0;  // mil, lower left corner
    double kMilPerPixel = 1000.0 / kDpi;
    std::vector<std::uint8_t> on;

    Raster(double ox, double oy, int w, int h, double milPerPixel)
        : width(w), height(h), originX(ox), originY(oy), kMilPerPixel(milPerPixel),
          on(std::size_t(w) * h) {}

    double X(int i) const { return originX + (i + 0.5) * kMilPerPixel; }
    double Y(int j) const { return originY + (height - j - 0.5) * kMilPerPixel; }

    // Every pixel of the box whose centre passes `inside`.
    template <class Inside>
    void Fill(double minX, double minY, double maxX, double maxY, Inside inside)
    {
        const int i0 = std::max(0, int(std::floor((minX - originX) / kMilPerPixel)));
        const int i1 = std::min(width - 1, int(std::ceil((maxX - originX) / kMilPerPixel)));
        const int j0 = std::max(0, int(std::floor(height - (maxY - originY) / kMilPerPixel)) - 1);
        const int j1 = std::min(height - 1, int(std::ceil(height - (minY - originY) / kMilPerPixel)));
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i)
                if (!on[std::size_t(j) * width + i] && inside(X(i), Y(j)))
                    on[std::size_t(j) * width + i] = 1;
    }

    // Like the reference renderer, nothing is thinner than one pixel.
    double Visible(double r) const { return std::max(r, kMilPerPixel / 2); }

    void Disc(double x, double y, double r)
    {
        r = Visible(r);
        Fill(x - r, y - r, x + r, y + r, [&](double px, double py) { return std::hypot(px - x, py - y) <= r; });
    }

    // A stroke of width 2r: round ends, or square ends at the end points.
    void Stroke(double x1, double y1, double x2, double y2, double r, bool squareEnds)
    {
        r = Visible(r);
        const double dx = x2 - x1, dy = y2 - y1, len2 = dx * dx + dy * dy;
        Fill(std::min(x1, x2) - r, std::min(y1, y2) - r, std::max(x1, x2) + r, std::max(y1, y2) + r,
             [&](double px, double py) {
                 double t = len2 > 0 ? ((px - x1) * dx + (py - y1) * dy) / len2 : 0.0;
                 if (squareEnds) {
                     if (t < 0 || t > 1)
                         return false;
                     const double len = std::sqrt(len2);
                     return len == 0 ? std::fabs(px - x1) <= r && std::fabs(py - y1) <= r
                                     : std::fabs((px - x1) * dy - (py - y1) * dx) / len <= r;
                 }
                 t = std::clamp(t, 0.0, 1.0);
                 return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy)) <= r;
             });
    }
};

struct Box {
    double minX = 1e18, minY = 1e18, maxX = -1e18, maxY = -1e18;
    void Add(double x, double y, double r)
    {
        minX = std::min(minX, x - r);
        minY = std::min(minY, y - r);
        maxX = std::max(maxX, x + r);
        maxY = std::max(maxY, y + r);
    }
};

Box CopperBox(const CVelmDoc& doc)
{
    Box box;
    for (auto& t : doc.m_TrackList) {
        if (t->type == 8)
            continue;
        box.Add(t->x1, t->y1, t->width / 2);
        box.Add(t->x2, t->y2, t->width / 2);
    }
    for (auto& f : doc.m_FlashList)
        box.Add(f->x, f->y, f->radius);
    return box;
}

void Paint(const CVelmDoc& doc, Raster& raster)
{
    for (auto& t : doc.m_TrackList)
        if (t->type != 8)
            raster.Stroke(t->x1, t->y1, t->x2, t->y2, t->width / 2.0, t->type == 1);
    for (auto& f : doc.m_FlashList)
        raster.Disc(f->x, f->y, f->radius);
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

class GerbvComparison : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v gerbv >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "gerbv is not installed";
        doc = std::make_unique<CVelmDoc>();
        ASSERT_TRUE(SeedSystemDir(TestDir()));
        ASSERT_EQ(doc->LoadSettings(JoinPath(TestDir(), "ORDUNE.INI")), 1);
        g_DataOriginX = 0;
        g_DataOriginY = 0;
        g_CurrentApertureFile.clear();
    }

    // Reads `ours` with our import, renders `reference` with gerbv over the
    // same window and returns the mismatch share.
    double Compare(const std::string& ours, const std::string& reference)
    {
        EXPECT_EQ(doc->LoadGerber(ours), 1);
        EXPECT_TRUE(TestHost().BoxTexts().empty()) << TestHost().BoxTexts().front();
        if (doc->m_TrackList.empty() && doc->m_FlashList.empty())
            return 1.0;
        Box box = CopperBox(*doc);
        const double margin = 20.0;
        const double ox = box.minX - margin, oy = box.minY - margin;
        const double spanX = box.maxX - box.minX + 2 * margin, spanY = box.maxY - box.minY + 2 * margin;
        const double dpi = std::min(kDpi, kMaxPixels * 1000.0 / std::max(spanX, spanY));
        const double milPerPixel = 1000.0 / dpi;
        const int w = int(std::ceil(spanX / milPerPixel));
        const int h = int(std::ceil(spanY / milPerPixel));
        Raster raster(ox, oy, w, h, milPerPixel);
        Paint(*doc, raster);

        const std::string png = JoinPath(TestDir(), "gerbv.png");
        char args[256];
        std::snprintf(args, sizeof args, " -x png -D %g -B 0 -O %.6fx%.6f -w %dx%d -b '#000000' -f '#FFFFFF' ",
                      dpi, ox / 1000.0, oy / 1000.0, w, h);
        const std::string command = "gerbv" + std::string(args) + "-o " + Quote(png) + " " +
                                    Quote(reference) + " >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        QImage image(QString::fromStdString(png));
        EXPECT_FALSE(image.isNull()) << command;
        if (image.isNull())
            return 1.0;
        // gerbv rounds its pixel origin its own way: the two pictures are
        // registered at the best whole-pixel shift of at most one pixel.
        auto theirsAt = [&](int i, int j) {
            return i >= 0 && j >= 0 && i < image.width() && j < image.height() &&
                   qGray(image.pixel(i, j)) > 127;
        };
        long both = 0, either = 0;
        int shiftX = 0, shiftY = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                long differ = 0, any = 0;
                for (int j = 0; j < h; ++j)
                    for (int i = 0; i < w; ++i) {
                        const bool theirs = theirsAt(i + dx, j + dy);
                        const bool mine = raster.on[std::size_t(j) * w + i] != 0;
                        any += (theirs || mine);
                        differ += (theirs != mine);
                    }
                if (either == 0 || differ * either < both * any) {
                    both = differ;
                    either = any;
                    shiftX = dx;
                    shiftY = dy;
                }
            }
        const double raw = either ? double(both) / double(either) : 0.0;
        auto mineAt = [&](int i, int j) {
            return i >= 0 && j >= 0 && i < w && j < h && raster.on[std::size_t(j) * w + i] != 0;
        };
        auto near = [](auto at, int i, int j) {
            for (int dj = -1; dj <= 1; ++dj)
                for (int di = -1; di <= 1; ++di)
                    if (at(i + di, j + dj))
                        return true;
            return false;
        };
        long far = 0;
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const bool theirs = theirsAt(i + shiftX, j + shiftY), mine = mineAt(i, j);
                if (theirs != mine &&
                    !(theirs ? near(mineAt, i, j)
                             : near([&](int a, int b) { return theirsAt(a + shiftX, b + shiftY); }, i, j))) {
                    if (std::getenv("ORDUNE_GERBV_DIFF_DIR") && far % 50 == 0)
                        std::printf("    %s only at (%.0f, %.0f) mil\n", theirs ? "gerbv" : "ours",
                                    raster.X(i), raster.Y(j));
                    ++far;
                }
            }
        const double share = either ? double(far) / double(either) : 0.0;
        // ORDUNE_GERBV_DIFF_DIR keeps a picture of the differences: white
        // both, red gerbv only, green ours only.
        if (const char* dir = std::getenv("ORDUNE_GERBV_DIFF_DIR")) {
            QImage diff(w, h, QImage::Format_RGB32);
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i) {
                    const bool theirs = theirsAt(i + shiftX, j + shiftY);
                    const bool mine = raster.on[std::size_t(j) * w + i] != 0;
                    diff.setPixel(i, j, theirs && mine ? qRgb(128, 128, 128)
                                        : theirs       ? qRgb(255, 0, 0)
                                        : mine         ? qRgb(0, 255, 0)
                                                       : qRgb(0, 0, 0));
                }
            std::string name = reference.substr(reference.find_last_of('/') + 1);
            diff.save(QString::fromStdString(std::string(dir) + "/" + name + ".png"));
        }
        std::printf("  mismatch %-30s %6.3f %% beyond one pixel, %6.3f %% in all, of %ld copper pixels at %.0f dpi\n",
                    reference.substr(reference.find_last_of('/') + 1).c_str(), share * 100, raw * 100,
                    either, dpi);
        return share;
    }

    std::unique_ptr<CVelmDoc> doc;
};

TEST_F(GerbvComparison, CopperOfTheCorpusBoards)
{
    const char* files[] = {
        "boards/D1MiniGSR/D1MiniGSR-F_Cu.gbr",
        "boards/D1MiniGSR/D1MiniGSR-B_Cu.gbr",
        "boards/example_board_new_default/example_board-F.Cu.gbr",
        "boards/example_board_new_default/example_board-B.Cu.gbr",
        "boards/multivibrator/multivibrator-B.Cu.gbr",
        "boards/project-controller/project-controller-B_Cu.gbr",
    };
    for (const char* file : files) {
        SCOPED_TRACE(file);
        const std::string path = CorpusPath(file);
        if (path.empty())
            GTEST_SKIP() << "corpus absent";
        EXPECT_LT(Compare(path, path), kMismatchBudget);
    }
}

TEST_F(GerbvComparison, OrcadSet)
{
    for (const char* ext : {"top", "bot", "smt", "smb", "sst", "ssb", "ast", "asb"}) {
        SCOPED_TRACE(ext);
        const std::string path = CorpusPath(std::string("gerbv-examples/orcad/rs232_cm.") + ext);
        if (path.empty())
            GTEST_SKIP() << "corpus absent";
        EXPECT_LT(Compare(path, path), kMismatchBudget);
    }
}

// The RS-274D photoplot with its aperture table: gerbv gets the same data
// as RS-274X, with the table written as aperture definitions.
TEST_F(GerbvComparison, Rs274dWithApertureTable)
{
    const std::string plot = CorpusPath("gerbv-examples/ekf/l1.off");
    const std::string gap = CorpusPath("gerbv-examples/ekf/ekf.gap");
    if (plot.empty() || gap.empty())
        GTEST_SKIP() << "corpus absent";
    std::ostringstream x;
    x << "%FSLAX23Y23*%\n%MOIN*%\n";
    std::ifstream table(gap);
    std::string line;
    while (std::getline(table, line)) {
        std::istringstream row(line);
        std::string code, shape;
        double size = 0;
        if (!(row >> code >> shape >> size) || code.size() < 2 || code[0] != 'D')
            continue;
        x << "%ADD" << code.substr(1) << (shape == "SQUARE" ? "R," : "C,") << size / 1000.0;
        if (shape == "SQUARE")
            x << "X" << size / 1000.0;
        x << "*%\n";
    }
    std::ifstream body(plot, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(body)), std::istreambuf_iterator<char>());
    data.erase(std::remove(data.begin(), data.end(), '\0'), data.end());
    x << data;
    const std::string reference = JoinPath(TestDir(), "l1_rs274x.gbr");
    std::ofstream(reference, std::ios::binary) << x.str();

    g_ApertureFormat = 6;  // the GAP-file block
    g_CurrentApertureFile = gap;
    EXPECT_LT(Compare(plot, reference), kMismatchBudget);
}

}  // namespace
