// The route file reader: the board outline, a Gerber photoplot, into the
// named layer "route" (strokes with round end pads, arcs cut into chords).
#include "document/file_messages.h"
#include "document/velm_doc.h"
#include "geometry/plane_geometry.h"
#include "import/gerber_blocks.h"
#include "import/gerber_number.h"
#include "import/gerber_reader_state.h"
#include "import/work_order_dlg.h"
#include "platform/host.h"

#include <cmath>

namespace {

bool Has(const std::string& s, const char* p) { return s.find(p) != std::string::npos; }

bool IsOperation(const std::string& d)
{
    return d == "D01" || d == "D02" || d == "D03" || d == "D1" || d == "D2" || d == "D3";
}

class CRouteReader {
public:
    explicit CRouteReader(CVelmDoc& doc) : m_Doc(doc) {}

    void Run(const std::string& paths)
    {
        CGerberReadBackup backup(m_Doc, false);
        m_Doc.LoadApertureFile();
        std::string rest = paths;
        std::string name;
        while (NextGerberPath(rest, name)) {
            CGerberSource in;
            if (!in.Open(name)) {
                ReportCannotReadFile(name);
                Commit();
                backup.Keep();
                return;
            }
            ReadFile(in);
            std::string problem = in.TruncationMessage(false);
            if (!problem.empty()) {
                backup.Restore();
                AfxMessageBox(problem, MB_OK | MB_ICONSTOP);
                return;
            }
        }
        backup.Keep();
        ShiftToDataOrigin(m_Tracks, m_Tails);
        ShiftPadsToDataOrigin(m_Heads);
        Commit();
        if (m_Doc.m_ViewHooks.zoomToFit)
            m_Doc.m_ViewHooks.zoomToFit();
    }

private:
    // The layer is emptied (or made) only once the read has something to
    // give it, so a refused file leaves the old outline in place.
    void Commit()
    {
        CNamedLayer* layer = m_Doc.FindNamedLayer("route");
        if (!layer) {
            auto made = std::make_unique<CNamedLayer>();
            made->name = "route";
            layer = AddTail(m_Doc.m_NamedLayerList, std::move(made));
        }
        layer->tracks = std::move(m_Tracks);
        layer->flashes.clear();
        for (auto it = m_Heads.rbegin(); it != m_Heads.rend(); ++it)
            layer->flashes.push_back(std::move(*it));
        for (auto& f : m_Tails)
            layer->flashes.push_back(std::move(f));
        m_Tracks.clear();
        m_Heads.clear();
        m_Tails.clear();
    }

    CTrackRecord* Track(double x1, double y1, double x2, double y2, float width, bool keepAny)
    {
        if (width <= 0.0f && !keepAny)
            return nullptr;
        auto t = std::make_unique<CTrackRecord>();
        t->groupNo = m_Group;
        t->recordNo = m_Doc.m_ReaderState;
        t->x1 = float(x1);
        t->y1 = float(y1);
        t->x2 = float(x2);
        t->y2 = float(y2);
        t->width = width;
        t->type = std::uint8_t(Shape());
        t->apertureNo = m_ApertureIndex;
        t->aperture = std::uint8_t(std::min(m_ApertureIndex, 255));
        return AddTail(m_Tracks, std::move(t));
    }

    void Pad(double x, double y, float radius, int type, bool head, bool keepAny = false)
    {
        if (radius <= 0.0f && !keepAny)
            return;
        auto f = std::make_unique<CFlashRecord>();
        f->x = float(x);
        f->y = float(y);
        f->radius = radius;
        f->type = std::uint8_t(type);
        f->recordNo = m_Doc.m_ReaderState;
        f->groupNo = m_Group;
        f->apertureNo = m_ApertureIndex;
        f->aperture = std::uint8_t(std::min(m_ApertureIndex, 255));
        (head ? m_Heads : m_Tails).push_back(std::move(f));
    }

    static int& Shape() { return g_GerberShapeCodes.route; }

    void ReadFile(CGerberSource& in)
    {
        m_Doc.m_ReaderState = 1;
        m_Modal.clear();
        m_Aperture.clear();
        m_Cur = m_Prev = CDPoint(0, 0);
        m_PenValid = m_StartPadPending = m_ExchangeAxes = m_MultiQuadrant = false;
        std::string block, dWord;
        m_Doc.ReadGerberBlock(in, block);
        ParseGerberBlock2(block, m_Cur, dWord, 1);
        while (!in.AtEnd()) {
            int kind = ParseGerberBlock2(block, m_Cur, dWord, 0);
            Block(in, block, dWord, kind);
            m_Doc.ReadGerberBlock(in, block);
        }
    }

    void Block(CGerberSource& in, std::string& block, std::string& dWord, int kind)
    {
        if (dWord != m_Modal && IsOperation(dWord))
            m_Modal = dWord;
        if (m_ExchangeAxes)
            m_Cur = CDPoint(m_Cur.y, std::trunc(m_Cur.x));
        if (Has(block, "G94"))
            m_ExchangeAxes = true;
        if (block == "D01")
            m_Cur = m_LastMove;
        if (Has(block, "G36"))
            Shape() = 0;
        if (Has(block, "G75"))
            m_MultiQuadrant = true;
        if (Has(block, "G74"))
            m_MultiQuadrant = false;
        const bool region = Has(block, "G36") || Has(block, "G37");
        if ((Has(block, "G03") || Has(block, "G3")) && !region)
            Arc(in, block, dWord, true);
        else if ((Has(block, "G02") || Has(block, "G2")) && !region)
            Arc(in, block, dWord, false);
        else if (kind >= 1 && kind <= 4)
            Linear(dWord);
    }

    void Arc(CGerberSource& in, std::string& block, std::string& dWord, bool ccw)
    {
        const CDPoint start = m_Prev;
        double i = 0.0, j = 0.0;
        if (Has(block, "I") || Has(block, "J")) {
            ParseGerberIJ(block, i, j);
        } else {
            m_Doc.ReadGerberBlock(in, block);
            if (!block.empty() && block[0] == '\n')
                m_Doc.ReadGerberBlock(in, block);
            ParseGerberBlock2(block, m_Cur, dWord, 0);
            ParseGerberIJ(block, i, j);
        }
        const CDPoint end = m_Cur;
        const CDPoint c = GerberArcCentre(start, end, i, j, m_MultiQuadrant);
        const double r = DistanceF(float(c.x), float(c.y), float(end.x), float(end.y));
        const double step = r > 1000 ? 0.02 : r > 200 ? 0.05 : r > 100 ? 0.1 : 0.2;
        float a1 = float(std::atan2(start.y - c.y, start.x - c.x));
        float a2 = float(std::atan2(end.y - c.y, end.x - c.x));
        // Start = end is a full circle in both directions.
        if (ccw) {
            const float twoPi = float(2 * 3.1415925);
            if (a1 < 0)
                a1 += twoPi;
            if (a2 < 0)
                a2 += twoPi;
            if (a1 >= a2)
                a2 += twoPi;
        } else {
            const float twoPi = float(2 * 3.1415927);
            if (a1 > 0)
                a1 -= twoPi;
            if (a2 > 0)
                a2 -= twoPi;
            if (a2 >= a1)
                a2 -= twoPi;
        }
        const float w = m_Doc.GetApertureWidth(m_Aperture);
        m_ApertureIndex = m_Doc.GetApertureIndex(m_Aperture);
        auto at = [&](double a) { return CDPoint(c.x + r * std::cos(a), c.y + r * std::sin(a)); };
        double a = a1;
        while (ccw ? a + step < a2 : a2 < a - step) {
            const double b = ccw ? a + step : a - step;
            const CDPoint p = at(a), q = at(b);
            Track(p.x, p.y, q.x, q.y, w, true);
            ++m_Doc.m_ReaderState;
            Pad(p.x, p.y, w / 2, 3, true, true);
            a = b;
        }
        const CDPoint p = at(a), q = at(a2);
        Track(p.x, p.y, q.x, q.y, w, true);
        ++m_Doc.m_ReaderState;
        Pad(p.x, p.y, w / 2, 3, true, true);
        Pad(q.x, q.y, w / 2, 3, true, true);
        m_Prev = m_Cur;
    }

    void Linear(const std::string& dWord)
    {
        if (!IsOperation(dWord)) {
            m_Modal = "D02";
            m_Aperture = dWord;
            const std::string shape = m_Doc.GetApertureShape(m_Aperture);
            Shape() = Has(shape, "ROUND") ? 0 : Has(shape, "RECT") ? 1 : 2;
            ++m_Group;
        }
        float w = 0.0f, h = 0.0f;
        auto lookUp = [&] {
            w = m_Doc.GetApertureWidth(m_Aperture);
            h = m_Doc.GetApertureHeight(m_Aperture);
            m_ApertureIndex = m_Doc.GetApertureIndex(m_Aperture);
        };
        const double x = m_Cur.x, y = m_Cur.y;
        const int shape = Shape();
        if (m_Modal == "D02" || m_Modal == "D2") {
            m_StartPadPending = m_PenValid = true;
            ++m_Group;
            m_Prev = m_LastMove = m_Cur;
        } else if (m_Modal == "D01" || m_Modal == "D1") {
            if (!m_PenValid) {
                m_PenValid = true;
                ++m_Group;
                m_Prev = m_Cur;
                return;
            }
            lookUp();
            if (m_Cur == m_Prev) {
                const float d = w - h;
                if (shape == 1)
                    Track(x, y - h / 2, x, y + h / 2, w, false);
                else if (d == 0.0f)
                    Pad(x, y, w / 2, shape, true);
                else if (d > 0.0f)
                    Track(x - d / 2, y, x + d / 2, y, h, false);
                else
                    Track(x, y + d / 2, x, y - d / 2, w, false);
            } else if (shape == 1) {
                const double a = std::atan2(m_Prev.y - y, m_Prev.x - x);
                const double ex = std::fabs(std::cos(a) * h / 2), ey = std::fabs(std::sin(a) * h / 2);
                double sx = m_Prev.x, sy = m_Prev.y, tx = x, ty = y;
                if (sx < tx) { sx -= ex; tx += ex; } else { sx += ex; tx -= ex; }
                if (sy < ty) { sy -= ey; ty += ey; } else { sy += ey; ty -= ey; }
                Track(sx, sy, tx, ty, w, false);
                ++m_Doc.m_ReaderState;
            } else {
                Track(m_Prev.x, m_Prev.y, x, y, w, false);
                ++m_Doc.m_ReaderState;
                if (m_StartPadPending) {
                    Pad(m_Prev.x, m_Prev.y, w / 2, 3, true);
                    m_StartPadPending = false;
                }
                Pad(x, y, w / 2, 3, true);
            }
            m_Prev = m_Cur;
        } else if (m_Modal == "D03" || m_Modal == "D3") {
            lookUp();
            const float d = w - h;
            if (shape == 1) {
                Track(x, y - h / 2, x, y + h / 2, w, false);
                ++m_Doc.m_ReaderState;
            } else if (d == 0.0f) {
                const float r = w / 2;
                Pad(x, y, r, shape, false);
                ++m_Doc.m_ReaderState;
                KeepLongestRunValue(r);
            } else {
                CTrackRecord* t = d > 0 ? Track(x - d / 2, y, x + d / 2, y, h, false)
                                        : Track(x, y + d / 2, x, y - d / 2, w, false);
                ++m_Doc.m_ReaderState;
                if (t) {
                    Pad(t->x1, t->y1, t->width / 2, 3, true);
                    Pad(t->x2, t->y2, t->width / 2, 3, true);
                }
            }
            m_Modal = "D03";
            m_PenValid = m_StartPadPending = false;
        }
    }

    CVelmDoc& m_Doc;
    int m_Group = 0;
    CDPoint m_LastMove;
    std::string m_Modal, m_Aperture;
    int m_ApertureIndex = 0;
    CDPoint m_Cur, m_Prev;
    bool m_PenValid = false, m_StartPadPending = false, m_ExchangeAxes = false;
    bool m_MultiQuadrant = false;
    COwnedList<CTrackRecord> m_Tracks;
    COwnedList<CFlashRecord> m_Heads, m_Tails;
};

}  // namespace

void CVelmDoc::LoadRouteGerber(const std::string& paths)
{
    CRouteReader(*this).Run(paths);
}
