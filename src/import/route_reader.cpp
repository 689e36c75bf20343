// The route file reader: the board outline, a Gerber photoplot, into the
// named layer "route" (strokes with round end pads, arcs cut into chords). It
// is a sink of the Gerber interpreter.
#include "import/route_reader.h"

#include "geometry/plane_geometry.h"
#include "import/aperture_table.h"
#include "import/gerber_blocks.h"
#include "import/gerber_interpreter.h"
#include "import/gerber_reader_state.h"
#include "platform/host.h"
#include "records/board_model.h"

#include <cmath>

namespace {

class CRouteReader : public CGerberSink {
public:
    explicit CRouteReader(CBoardModel& model) : m_Model(model), m_Apertures(model) {}

    bool Run(const std::string& paths, const std::function<void()>& loaded)
    {
        CGerberReadBackup backup(m_Model, false);
        // The aperture file is the copper side's, whose reading has told
        // of any failure already.
        m_Apertures.Load(false);
        CGerberInterpreter interpreter(m_Apertures, *this, {.explicitArcs = true});
        std::string rest = paths;
        std::string name;
        while (NextGerberPath(rest, name)) {
            CGerberSource in;
            if (!OpenGerberFile(in, name)) {
                Commit();
                backup.Keep();
                return false;
            }
            interpreter.Read(in);
            std::string problem = in.ProblemMessage(false);
            if (!problem.empty()) {
                backup.Restore();
                AfxMessageBox(problem, MB_OK | MB_ICONSTOP);
                return false;
            }
        }
        backup.Keep();
        Commit();
        CNamedLayer* layer = m_Model.FindNamedLayer("route");
        ShiftToDataOrigin(layer->tracks, layer->flashes);
        if (loaded)
            loaded();
        return true;
    }

private:
    // The layer is emptied (or made) only once the read has something to
    // give it, so a refused file leaves the old outline in place.
    void Commit()
    {
        CNamedLayer* layer = m_Model.FindNamedLayer("route");
        if (!layer) {
            auto made = std::make_unique<CNamedLayer>();
            made->name = "route";
            layer = AddTail(m_Model.m_NamedLayerList, std::move(made));
        }
        layer->tracks = std::move(m_Tracks);
        m_Tracks.clear();
        m_Pads.MoveInto(layer->flashes);
    }

    CTrackRecord* Track(double x1, double y1, double x2, double y2, float width, bool keepAny)
    {
        if (width <= 0.0f && !keepAny)
            return nullptr;
        auto t = NewGerberTrack(x1, y1, x2, y2, width, Shape(), m_Group, m_Model.m_ReaderState);
        SetApertureIndex(t.get(), m_ApertureIndex);
        return AddTail(m_Tracks, std::move(t));
    }

    void Pad(double x, double y, float radius, int type, bool head, bool keepAny = false)
    {
        if (radius <= 0.0f && !keepAny)
            return;
        auto f = NewGerberPad(x, y, radius, type, m_Model.m_ReaderState);
        f->groupNo = m_Group;
        SetApertureIndex(f.get(), m_ApertureIndex);
        m_Pads.Add(std::move(f), head);
    }

    static int& Shape() { return g_GerberShapeCodes.route; }

    // ---- the interpreter's events ----
    void BeginFile(const std::string&) override
    {
        m_Model.m_ReaderState = 1;
        m_Aperture.clear();
        m_Prev = CDPoint(0, 0);
        m_PenValid = m_StartPadPending = false;
    }

    void RegionBegin() override { Shape() = 0; }

    // The route starts its arcs and strokes where its last move, stroke or
    // arc ended (a flash does not move it), not where the last block left
    // the interpreter's pen.
    CDPoint Arc(const CDPoint&, const CGerberArc& arc) override
    {
        const CDPoint start = m_Prev;
        const CDPoint end = arc.end;
        const bool ccw = arc.ccw;
        const CDPoint c = arc.Centre(start);
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
        const float w = m_Apertures.Width(m_Aperture);
        m_ApertureIndex = m_Apertures.Index(m_Aperture);
        auto at = [&](double a) { return CDPoint(c.x + r * std::cos(a), c.y + r * std::sin(a)); };
        double a = a1;
        while (ccw ? a + step < a2 : a2 < a - step) {
            const double b = ccw ? a + step : a - step;
            const CDPoint p = at(a), q = at(b);
            Track(p.x, p.y, q.x, q.y, w, true);
            ++m_Model.m_ReaderState;
            Pad(p.x, p.y, w / 2, 3, true, true);
            a = b;
        }
        const CDPoint p = at(a), q = at(a2);
        Track(p.x, p.y, q.x, q.y, w, true);
        ++m_Model.m_ReaderState;
        Pad(p.x, p.y, w / 2, 3, true, true);
        Pad(q.x, q.y, w / 2, 3, true, true);
        m_Prev = end;
        return end;
    }

    void SelectAperture(const std::string& code) override
    {
        m_Aperture = code;
        const std::string shape = m_Apertures.Shape(m_Aperture);
        Shape() = Contains(shape, "ROUND") ? 0 : Contains(shape, "RECT") ? 1 : 2;
        ++m_Group;
    }

    void LookUp(float& w, float& h)
    {
        w = m_Apertures.Width(m_Aperture);
        h = m_Apertures.Height(m_Aperture);
        m_ApertureIndex = m_Apertures.Index(m_Aperture);
    }

    void Move(const CDPoint& to) override
    {
        m_StartPadPending = m_PenValid = true;
        ++m_Group;
        m_Prev = to;
    }

    void Draw(const CDPoint&, const CDPoint& to) override
    {
        if (!m_PenValid) {
            m_PenValid = true;
            ++m_Group;
            m_Prev = to;
            return;
        }
        float w = 0.0f, h = 0.0f;
        LookUp(w, h);
        const double x = to.x, y = to.y;
        const int shape = Shape();
        if (to == m_Prev) {
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
            LengthenSquareEnds(m_Prev, to, h, s, e);
            Track(s.x, s.y, e.x, e.y, w, false);
            ++m_Model.m_ReaderState;
        } else {
            Track(m_Prev.x, m_Prev.y, x, y, w, false);
            ++m_Model.m_ReaderState;
            if (m_StartPadPending) {
                Pad(m_Prev.x, m_Prev.y, w / 2, 3, true);
                m_StartPadPending = false;
            }
            Pad(x, y, w / 2, 3, true);
        }
        m_Prev = to;
    }

    void Flash(const CDPoint& at) override
    {
        float w = 0.0f, h = 0.0f;
        LookUp(w, h);
        const double x = at.x, y = at.y;
        const int shape = Shape();
        const float d = w - h;
        if (shape == 1) {
            Track(x, y - h / 2, x, y + h / 2, w, false);
            ++m_Model.m_ReaderState;
        } else if (d == 0.0f) {
            const float r = w / 2;
            Pad(x, y, r, shape, false);
            ++m_Model.m_ReaderState;
            KeepLongestRunValue(r);
        } else {
            CTrackRecord* t = d > 0 ? Track(x - d / 2, y, x + d / 2, y, h, false)
                                    : Track(x, y + d / 2, x, y - d / 2, w, false);
            ++m_Model.m_ReaderState;
            if (t) {
                Pad(t->x1, t->y1, t->width / 2, 3, true);
                Pad(t->x2, t->y2, t->width / 2, 3, true);
            }
        }
        m_PenValid = m_StartPadPending = false;
    }

    CBoardModel& m_Model;
    CApertureTable m_Apertures;
    int m_Group = 0;
    std::string m_Aperture;
    int m_ApertureIndex = 0;
    // Where the next stroke starts: the end of the last move, stroke or arc.
    CDPoint m_Prev;
    bool m_PenValid = false, m_StartPadPending = false;
    COwnedList<CTrackRecord> m_Tracks;
    CPadCollector m_Pads;
};

}  // namespace

bool LoadRouteGerber(CBoardModel& model, const std::string& paths,
                     const std::function<void()>& loaded)
{
    return CRouteReader(model).Run(paths, loaded);
}
