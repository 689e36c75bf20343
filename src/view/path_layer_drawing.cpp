// The document's path layers: with their editing states at the board's own
// place (edit and path stages), once per panel copy (layout and machining
// stages), and the partial-selection copies ("-S") of the working side.
#include "view/segment_shapes.h"

#include "settings/work_order_dlg.h"
#include "settings/layer_dlg.h"

#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr float kPi = 3.1415925f;
constexpr COLORREF kDim = RGB(30, 30, 30);
constexpr COLORREF kMarkGreen = RGB(100, 200, 50);
constexpr COLORREF kGrey150 = RGB(150, 150, 150);
constexpr COLORREF kGrey124 = RGB(124, 124, 124);
constexpr COLORREF kLightRed = RGB(255, 124, 124);

enum class Pass { A, B, C };

bool HasRoute(const std::string& name) { return name.find("ROUTE") != std::string::npos; }

bool InPass(const CVelmView& view, const CPathRecord& layer, Pass pass)
{
    switch (pass) {
    case Pass::A:
        return (layer.side == g_CurrentSide || layer.side == 5) &&
               view.IsLayerVisible(layer.name.c_str());
    case Pass::B:
        return layer.side == 5 && !HasRoute(layer.name) && (layer.kind & 2) != 0;
    case Pass::C:
        return layer.side == 5 && !HasRoute(layer.name) && (layer.kind & 2) == 0;
    }
    return false;
}

int PenWidth(const CVelmView& view, const CPathRecord& layer, bool toolWidth)
{
    if (toolWidth || g_SolidLineView)
        return PenPixels(layer.size, view.m_Scale);
    return 1;
}

void SegmentLine(CVelmView& view, CShapeBatch& batch, const CPathSegment& s,
                 const CLayoutBlock* block)
{
    batch.ClippedLine(MapPoint(view, block, s.x1, s.y1), MapPoint(view, block, s.x2, s.y2));
}

// A whole arc through the clipped arc, as the later passes draw it.
void WholeArc(CVelmView& view, CShapeBatch& batch, const CPathSegment& s, const CLayoutBlock* block)
{
    double r = std::hypot(s.x1 - s.cx, s.y1 - s.cy);
    POINT lo = MapPoint(view, block, s.cx - r, s.cy - r);
    POINT hi = MapPoint(view, block, s.cx + r, s.cy + r);
    POINT start = MapPoint(view, block, s.x1, s.y1);
    POINT end = MapPoint(view, block, s.x2, s.y2);
    if (s.type == 1)
        std::swap(start, end);
    if (block && BlockMirrors(*block))
        std::swap(start, end);
    batch.ClippedArc(lo.x, lo.y, hi.x, hi.y, start.x, start.y, end.x, end.y);
}

}  // namespace

void DrawChordArc(CVelmView& view, CShapeBatch& batch, const CPathSegment& s, float step,
                  const CLayoutBlock* block)
{
    double r = std::hypot(s.x1 - s.cx, s.y1 - s.cy);
    bool increasing = s.type == 1;
    double px = increasing ? s.x1 : s.x2, py = increasing ? s.y1 : s.y2;
    double qx = increasing ? s.x2 : s.x1, qy = increasing ? s.y2 : s.y1;
    float aP = static_cast<float>(std::atan2(py - s.cy, px - s.cx));
    float aQ = static_cast<float>(std::atan2(qy - s.cy, qx - s.cx));
    if (aP < 0)
        aP += 2 * kPi;
    if (aQ < 0)
        aQ += 2 * kPi;
    if (aQ - aP <= 0.0001f)
        aQ += 2 * kPi;
    auto chord = [&](float a, float b) {
        POINT u = MapPoint(view, block, s.cx + r * std::cos(a), s.cy + r * std::sin(a));
        POINT w = MapPoint(view, block, s.cx + r * std::cos(b), s.cy + r * std::sin(b));
        batch.ClippedLine(u, w);
    };
    if (increasing) {
        while (aP < aQ - step) {
            chord(aQ, aQ - step);
            aQ -= step;
        }
    } else {
        while (aP + step < aQ) {
            chord(aP, aP + step);
            aP += step;
        }
    }
    chord(aP, aQ);
}

void CVelmView::DrawLayers(const CLayoutBlock* block)
{
    if (!block)
        return;
    CViewDC v(*this);
    v.dc.SetROP2(R2_COPYPEN);
    CShapeBatch batch(v.dc);
    for (Pass pass : {Pass::A, Pass::B, Pass::C}) {
        for (const auto& layer : m_Doc.m_PathLayerList) {
            if (!InPass(*this, *layer, pass))
                continue;
            for (const auto& s : layer->items) {
                if (s->type == 10) {
                    batch.SelectPen(SolidPen(PenWidth(*this, *layer, true), VIEW_YELLOW));
                    SegmentLine(*this, batch, *s, block);
                    continue;
                }
                COLORREF c = pass == Pass::B ? kDim : s->flag == 0 ? layer->colour : VIEW_SILVER;
                batch.SelectPen(SolidPen(PenWidth(*this, *layer, false), c));
                if (s->type == 0)
                    SegmentLine(*this, batch, *s, block);
                else if (pass == Pass::A)
                    DrawChordArc(*this, batch, *s, 0.4f, block);
                else
                    WholeArc(*this, batch, *s, block);
            }
        }
    }
}

void CVelmView::DrawLayerElements()
{
    CViewDC v(*this);
    v.dc.SetROP2(R2_COPYPEN);
    CShapeBatch batch(v.dc);
    for (const auto& layer : m_Doc.m_PathLayerList) {
        if (layer->name.find("-S") == std::string::npos || layer->side != g_CurrentSide)
            continue;
        std::string source = layer->name.substr(0, layer->name.find('-'));
        if (!IsLayerVisible(source.c_str()))
            continue;
        for (const auto& s : layer->items) {
            if (s->type == 10) {
                batch.SelectPen(SolidPen(PenWidth(*this, *layer, true), VIEW_YELLOW));
                SegmentLine(*this, batch, *s, nullptr);
                continue;
            }
            batch.SelectPen(SolidPen(PenWidth(*this, *layer, false), layer->colour));
            if (s->type == 0)
                SegmentLine(*this, batch, *s, nullptr);
            else
                DrawChordArc(*this, batch, *s, 0.4f, nullptr);
        }
    }
}

void CVelmView::DrawLayersXor()
{
    if (m_Doc.m_PathLayerList.empty())
        return;
    CViewDC v(*this);
    v.dc.SetROP2(R2_COPYPEN);
    CShapeBatch batch(v.dc);
    CDPoint previousEnd(0.0, 0.0);  // for the chain-start circles of pass C
    for (Pass pass : {Pass::A, Pass::B, Pass::C}) {
        for (const auto& layer : m_Doc.m_PathLayerList) {
            if (!InPass(*this, *layer, pass))
                continue;
            bool sideFive = layer->side == 5;
            for (const auto& s : layer->items) {
                if (pass == Pass::C && sideFive && !g_SolidLineView) {
                    if (std::hypot(s->x1 - previousEnd.x, s->y1 - previousEnd.y) > 2.0) {
                        POINT c = MapPoint(*this, nullptr, s->x1, s->y1);
                        batch.ClippedEllipse(c.x - 3, c.y - 3, c.x + 3, c.y + 3);
                    }
                    previousEnd = CDPoint(s->x2, s->y2);
                }
                if (s->type == 10) {
                    batch.SelectPen(SolidPen(PenWidth(*this, *layer, true), kMarkGreen));
                    SegmentLine(*this, batch, *s, nullptr);
                    continue;
                }
                COLORREF c;
                if (pass == Pass::B)
                    c = kDim;
                else if (s->flag == 0)
                    c = m_CopperHighlight ? kGrey150 : layer->colour;
                else if (s->flag == 2)
                    c = m_CopperHighlight ? kLightRed : kGrey124;
                else
                    c = VIEW_WHITE;
                batch.SelectPen(SolidPen(PenWidth(*this, *layer, false), c));
                if (s->type == 0) {
                    SegmentLine(*this, batch, *s, nullptr);
                    if (sideFive && !g_SolidLineView && pass != Pass::B) {
                        // The direction the tool runs: an arrow head at the end.
                        double t = std::atan2(s->y1 - s->y2, s->x1 - s->x2);
                        POINT e = MapPoint(*this, nullptr, s->x2, s->y2);
                        for (double side : {0.5, -0.5})
                            batch.ClippedLine(e.x, e.y, TruncToInt(e.x + 10 * std::cos(t + side)),
                                              TruncToInt(e.y + 10 * std::sin(t + side)));
                    }
                } else if (pass == Pass::A) {
                    DrawChordArc(*this, batch, *s, 0.1f, nullptr);
                } else {
                    WholeArc(*this, batch, *s, nullptr);
                }
            }
        }
    }
}
