// Extent pre-scans: before the copper sides and the route file are read,
// their extent is measured so that every reader can shift the data to one
// common origin; and the HPGL command reader the route pre-scan uses.
#include "import/extent_scan.h"

#include "geometry/small_utils.h"
#include "import/aperture_table.h"
#include "import/gerber_blocks.h"
#include "import/gerber_interpreter.h"
#include "import/gerber_reader_state.h"
#include "import/hpgl_reader.h"
#include "records/board_extent.h"
#include "records/board_model.h"
#include "settings/work_order_dlg.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

// The corners of what a pre-scan has measured, mil.
struct CScanBox {
    int minX, minY, maxX, maxY;
    // Summed in double and held to the int range: a huge aperture or point
    // must not wrap around to a small box.
    void Add(double x, double y, double hx, double hy)
    {
        minX = std::min(minX, TruncToInt32(x - hx));
        minY = std::min(minY, TruncToInt32(y - hy));
        maxX = std::max(maxX, TruncToInt32(x + hx));
        maxY = std::max(maxY, TruncToInt32(y + hy));
    }
    void Grow(int margin)
    {
        *this = CScanBox{TruncToInt32(double(minX) - margin), TruncToInt32(double(minY) - margin),
                         TruncToInt32(double(maxX) + margin), TruncToInt32(double(maxY) + margin)};
    }
    void Widen(const CScanBox& other)
    {
        minX = std::min(minX, other.minX);
        minY = std::min(minY, other.minY);
        maxX = std::max(maxX, other.maxX);
        maxY = std::max(maxY, other.maxY);
    }
    // Larger than any machine table.
    bool BeyondTable() const
    {
        constexpr double kTableMil = 100000.0;
        return minX <= maxX &&
               (double(maxX) - minX > kTableMil || double(maxY) - minY > kTableMil);
    }
};

// Measures Gerber files into `box`, block by block in whole mil: every
// coordinate a file gives, wherever it lies (a point at or left of the
// origin included), widened by half the last aperture's size.
class CExtentMeasure : public CGerberSink {
public:
    CExtentMeasure(CApertureTable& apertures, CScanBox& box, bool exchangeAxes)
        : m_Apertures(apertures), m_Box(box), m_ExchangeAxes(exchangeAxes)
    {
    }

    void BeginFile(const std::string&) override
    {
        m_HalfX = m_HalfY = 0;
        m_Exchange = m_PointSeen = false;
    }

    void Block(const CGerberBlock& b) override
    {
        POINT p{};
        if (b.kind)
            p = POINT{int(b.point.x), int(b.point.y)};
        // After a G94 the axes come exchanged (the copper pre-scan only). The
        // scan measures each block as the file gives it, those an arc reads
        // included, so it notes G94 itself rather than follow the pen.
        if (m_ExchangeAxes) {
            if (m_Exchange)
                std::swap(p.x, p.y);
            if (b.text.find("G94") != std::string::npos)
                m_Exchange = true;
        }
        const std::string& d = b.dWord;
        if (!d.empty() && (d[0] == 'D' || d[0] == 'd') && !IsGerberOperation(d) && m_Copper) {
            const float w = m_Apertures.Width(d);
            const float h = m_Apertures.Height(d);
            m_HalfX = TruncToInt32(std::max(w, h) / 2.0);
            m_HalfY = TruncToInt32(std::min(w, h) / 2.0);
        }
        if (b.kind >= 1 && b.kind <= 3)
            m_PointSeen = true;
        if (b.kind >= 1 && b.kind <= 4 && m_PointSeen)
            m_Box.Add(p.x, p.y, m_HalfX, m_HalfY);
    }

private:
    CApertureTable& m_Apertures;
    CScanBox& m_Box;
    const bool m_ExchangeAxes;
    const bool m_Copper = g_HasComponentSide || g_HasSolderSide;
    int m_HalfX = 0, m_HalfY = 0;
    bool m_Exchange = false, m_PointSeen = false;
};

// What a file with no coordinate measures: widening by it changes nothing.
constexpr CScanBox kEmptyBox{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};

constexpr CGerberInterpreter::Options kWholeMil{.wholeMil = true};

// The leading whole number of a text as atol reads it.
long LeadingNumber(const std::string& text) { return std::atol(text.c_str()); }

bool HasDigit(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// The first coordinate pair of a PU, PD or PA command; false when the
// command carries none.
bool HpglPoint(std::string command, long& x, long& y)
{
    for (const char* word : {"PU", "PD", "PA"}) {
        const std::size_t at = command.find(word);
        if (at == std::string::npos)
            continue;
        const bool absolute = word[1] == 'A';
        std::string cmd = command;
        if (!absolute) {
            std::size_t semi = cmd.find(';');
            if (semi != std::string::npos)
                cmd.resize(semi);
            if (cmd.size() == 2)
                continue;
        }
        std::string xText = cmd.substr(cmd.find(word) + 2);
        std::size_t cut = xText.find(',');
        if (cut == std::string::npos)
            cut = xText.find(' ');
        if (cut != std::string::npos)
            xText.resize(cut);
        std::string yText;
        if (std::size_t comma = cmd.find(','); comma != std::string::npos)
            yText = cmd.substr(comma + 1);
        else if (std::size_t blank = cmd.find(' '); blank != std::string::npos)
            yText = cmd.substr(blank + 1);
        else
            yText = xText;
        if (absolute) {
            std::size_t semi = yText.find(';');
            if (semi != std::string::npos)
                yText.resize(semi);
        }
        if (!HasDigit(xText) && !HasDigit(yText))
            continue;
        x = LeadingNumber(xText);
        y = LeadingNumber(yText);
        return true;
    }
    return false;
}

// Lowers the data origin to the box, widens the board extent to its size
// and returns that size.
POINT TakeMeasure(const CScanBox& box)
{
    g_DataOriginX = std::min(g_DataOriginX, box.minX);
    g_DataOriginY = std::min(g_DataOriginY, box.minY);
    const POINT size{TruncToInt32(double(box.maxX) - box.minX),
                     TruncToInt32(double(box.maxY) - box.minY)};
    g_BoardMinX = 0;
    g_BoardMinY = 0;
    g_BoardMaxX = std::max(g_BoardMaxX, size.x);
    g_BoardMaxY = std::max(g_BoardMaxY, size.y);
    return size;
}

}  // namespace

void ReadHpglCommand(CGerberSource& in, std::string& command)
{
    command.clear();
    int c = 0;
    while (!in.AtEnd() && c != ';' && c != '\n') {
        c = in.Get();
        if (c == EOF)
            break;
        if (c == '%') {
            do
                c = in.Get();
            while (c != '%' && c != '\n' && c != EOF);
            if (c == EOF)
                break;
            continue;
        }
        command.push_back(char(c));
    }
}

void ScanGerberExtent(CBoardModel& model, const std::string& paths)
{
    CApertureTable apertures(model);
    if (g_HasComponentSide || g_HasSolderSide)
        apertures.Load(false);
    CScanBox box{1000000, 1000000, -1000000, -1000000};
    model.m_ReaderState = 1;
    CScanBox fileBox = kEmptyBox;
    CExtentMeasure measure(apertures, fileBox, true);
    CGerberInterpreter interpreter(apertures, measure, kWholeMil);
    std::string rest = paths, name;
    while (NextGerberPath(rest, name)) {
        CGerberSource in;
        if (!OpenGerberFile(in, name))
            return;
        fileBox = kEmptyBox;
        interpreter.Read(in);
        if (fileBox.BeyondTable())
            ReportBoardBeyondTable(name);
        box.Widen(fileBox);
    }
    const POINT size = TakeMeasure(box);
    model.m_DataChanged = 1;
    model.m_GerberExtent = CExtent{0, 0, size.x, size.y};
}

void ScanRouteExtent(CBoardModel& model, const std::string& path)
{
    CApertureTable apertures(model);
    if (g_HasComponentSide || g_HasSolderSide)
        apertures.Load(false);
    CGerberSource in;
    if (!OpenGerberFile(in, path))
        return;
    CScanBox box{100000, 100000, -100000, -100000};
    CScanBox fileBox = kEmptyBox;
    if (g_RouteFormat == 0) {
        model.m_ReaderState = 1;
        CExtentMeasure measure(apertures, fileBox, false);
        CGerberInterpreter(apertures, measure, kWholeMil).Read(in);
    } else if (g_RouteFormat == 1) {
        std::string command;
        if (!in.AtEnd())
            ReadHpglCommand(in, command);
        while (!command.empty() || !in.AtEnd()) {
            long x = 0, y = 0;
            if (HpglPoint(command, x, y))
                fileBox.Add(double(x), double(y), 0, 0);
            if (in.AtEnd())
                break;
            ReadHpglCommand(in, command);
        }
    }
    if (fileBox.BeyondTable())
        ReportBoardBeyondTable(path);
    box.Widen(fileBox);
    box.Grow(100);
    const POINT size = TakeMeasure(box);
    model.m_DataChanged = 1;
    model.m_DataExtent = CExtent{g_DataOriginX, g_DataOriginY, size.x, size.y};
}
