// Extent pre-scans: before the copper sides and the route file are read,
// their extent is measured so that every reader can shift the data to one
// common origin; and the HPGL command reader the route pre-scan uses.
#include "records/board_extent.h"
#include "platform/file_messages.h"
#include "document/velm_doc.h"
#include "geometry/small_utils.h"
#include "import/gerber_blocks.h"
#include "import/gerber_number.h"
#include "import/gerber_reader_state.h"
#include "import/hpgl_reader.h"
#include "settings/work_order_dlg.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

// The corners of what a pre-scan has measured, mil.
struct CScanBox {
    int minX, minY, maxX, maxY;
    void Add(int x, int y, int hx, int hy)
    {
        minX = std::min(minX, x - hx);
        minY = std::min(minY, y - hy);
        maxX = std::max(maxX, x + hx);
        maxY = std::max(maxY, y + hy);
    }
};

// Measures one Gerber file into `box`. Every coordinate the file gives is
// measured, wherever it lies (a point at or left of the origin included).
void MeasureGerber(CVelmDoc& doc, CGerberSource& in, CScanBox& box, bool exchangeAxes)
{
    const bool copper = g_HasComponentSide || g_HasSolderSide;
    int hx = 0, hy = 0;
    bool exchange = false, pointSeen = false;
    std::string block, dWord;
    POINT p;
    doc.ReadGerberBlock(in, block);
    ParseGerberBlock(block, p, dWord, 1);
    while (!in.AtEnd()) {
        p = POINT();
        const int kind = ParseGerberBlock(block, p, dWord, 0);
        if (exchangeAxes) {
            if (exchange)
                std::swap(p.x, p.y);
            if (block.find("G94") != std::string::npos)
                exchange = true;
        }
        if (!dWord.empty() && (dWord[0] == 'D' || dWord[0] == 'd') && !IsGerberOperation(dWord) &&
            copper) {
            const float w = doc.GetApertureWidth(dWord);
            const float h = doc.GetApertureHeight(dWord);
            hx = int(std::max(w, h) / 2.0f);
            hy = int(std::min(w, h) / 2.0f);
        }
        if (kind >= 1 && kind <= 3)
            pointSeen = true;
        if (kind >= 1 && kind <= 4 && pointSeen)
            box.Add(p.x, p.y, hx, hy);
        doc.ReadGerberBlock(in, block);
    }
}

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

void CVelmDoc::ScanGerberExtent(const std::string& paths)
{
    if (g_HasComponentSide || g_HasSolderSide)
        LoadApertureFile();
    CScanBox box{1000000, 1000000, -1000000, -1000000};
    m_ReaderState = 1;
    std::string rest = paths, name;
    while (NextGerberPath(rest, name)) {
        CGerberSource in;
        if (!in.Open(name)) {
            ReportCannotReadFile(name);
            return;
        }
        MeasureGerber(*this, in, box, true);
    }
    const POINT size = TakeMeasure(box);
    m_DataChanged = 1;
    m_GerberExtent = CExtent{0, 0, size.x, size.y};
}

void CVelmDoc::ScanRouteExtent(const std::string& path)
{
    if (g_HasComponentSide || g_HasSolderSide)
        LoadApertureFile();
    CGerberSource in;
    if (!in.Open(path)) {
        ReportCannotReadFile(path);
        return;
    }
    CScanBox box{100000, 100000, -100000, -100000};
    if (g_RouteFormat == 0) {
        m_ReaderState = 1;
        MeasureGerber(*this, in, box, false);
    } else if (g_RouteFormat == 1) {
        std::string command;
        if (!in.AtEnd())
            ReadHpglCommand(in, command);
        while (!command.empty() || !in.AtEnd()) {
            long x = 0, y = 0;
            if (HpglPoint(command, x, y))
                box.Add(int(x), int(y), 0, 0);
            if (in.AtEnd())
                break;
            ReadHpglCommand(in, command);
        }
    }
    box.maxX += 100;
    box.maxY += 100;
    box.minX -= 100;
    box.minY -= 100;
    const POINT size = TakeMeasure(box);
    m_DataChanged = 1;
    m_DataExtent = CExtent{g_DataOriginX, g_DataOriginY, size.x, size.y};
}
