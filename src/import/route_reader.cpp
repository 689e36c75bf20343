// The route file reader: the board outline, a Gerber photoplot, into the
// named layer "route" (strokes with round end pads, arcs cut into chords).
#include "platform/file_messages.h"
#include "document/velm_doc.h"
#include "geometry/plane_geometry.h"
#include "import/gerber_blocks.h"
#include "import/gerber_number.h"
#include "import/gerber_reader_state.h"
#include "settings/work_order_dlg.h"
#include "platform/host.h"

#include <cmath>

namespace {

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
        Commit();
        CNamedLayer* layer = m_Doc.FindNamedLayer("route");
        ShiftToDataOrigin(layer->tracks, layer->flashes);
        CDocumentViewHooks::Run(m_Doc.m_ViewHooks.zoomToFit);
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
        m_Tracks.clear();
        m_Pads.MoveInto(layer->flashes);
    }

    CTrackRecord* Track(double x1, double y1, double x2, double y2, float width, bool keepAny)
    {
        if (width <= 0.0f && !keepAny)
            return nullptr;
        auto t = NewGerberTrack(x1, y1, x2, y2, width, Shape(), m_Group, m_Doc.m_ReaderState);
        SetApertureIndex(t.get(), m_ApertureIndex);
        return AddTail(m_Tracks, std::move(t));
    }

    void Pad(double x, double y, float radius, int type, bool head, bool keepAny = false)
    {
        if (radius <= 0.0f && !keepAny)
            return;
        auto f = NewGerberPad(x, y, radius, type, m_Doc.m_ReaderState);
        f->groupNo = m_Group;
        SetApertureIndex(f.get(), m_ApertureIndex);
        m_Pads.Add(std::move(f), head);
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
        if (dWord != m_Modal && IsGerberOperation(dWord))
            m_Modal = dWord;
        if (m_ExchangeAxes)
            m_Cur = CDPoint(m_Cur.y, std::trunc(m_Cur.x));
        if (Contains(block, "G94"))
            m_ExchangeAxes = true;
        if (block == "D01")
            m_Cur = m_LastMove;
        if (Contains(block, "G36"))
            Shape() = 0;
        if (Contains(block, "G75"))
            m_MultiQuadrant = true;
        if (Contains(block, "G74"))
            m_MultiQuadrant = false;
        const bool region = Contains(block, "G36") || Contains(block, "G37");
        if ((Contains(block, "G03") || Contains(block, "G3")) && !region)
            Arc(in, block, dWord, true);
        else if ((Contains(block, "G02") || Contains(block, "G2")) && !region)
            Arc(in, block, dWord, false);
        else if (kind >= 1 && kind <= 4)
            Linear(dWord);
    }

    void Arc(CGerberSource& in, std::string& block, std::string& dWord, bool ccw)
    {
        const CDPoint start = m_Prev;
        double i = 0.0, j = 0.0;
        if (Contains(block, "I") || Contains(block, "J")) {
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
        if (!IsGerberOperation(dWord)) {
            m_Modal = "D02";
            m_Aperture = dWord;
            const std::string shape = m_Doc.GetApertureShape(m_Aperture);
            Shape() = Contains(shape, "ROUND") ? 0 : Contains(shape, "RECT") ? 1 : 2;
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
                CDPoint s, e;
                LengthenSquareEnds(m_Prev, m_Cur, h, s, e);
                Track(s.x, s.y, e.x, e.y, w, false);
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
    CPadCollector m_Pads;
};

}  // namespace

void CVelmDoc::LoadRouteGerber(const std::string& paths)
{
    CRouteReader(*this).Run(paths);
}
