// The duplicate path deletion of existing tool-path layers.
#include "offset/duplicate_tool_paths.h"

#include "geometry/plane_geometry.h"
#include "offset/duplicate_paths.h"
#include "offset/offset_constants.h"
#include "records/board_model.h"
#include "resource_ids.h"
#include "ui/message_dlg.h"

#include <algorithm>
#include <cmath>
#include <map>

using namespace offset;

namespace {

double AngleOf(const CDPoint& c, double x, double y)
{
    return Degrees(std::atan2(y - c.y, x - c.x), kPi);
}

// One phase: `clearingName`'s pieces lose what runs along `isolationName`'s
// within `dist`; the rest goes, in milling order, to the grid segment list.
void DeletePhase(CBoardModel& model, const char* clearingName,
                                         const char* isolationName, float dist, int side,
                                         const std::function<void()>& sortSegments,
                                         CMessageDlg& notice)
{
    CRefList<CIsoElement> targets, references;
    GatherToolLayerSegments(model, clearingName, 1, side, targets, true);
    GatherToolLayerSegments(model, isolationName, 0, side, references, false);
    model.m_GridPathList.clear();

    // One group for each chain number met, whatever its value: a number
    // names a group, it does not index one.
    std::map<int, CIsoGroup*> groups;
    auto groupOf = [&](int number) {
        CIsoGroup*& group = groups[number];
        if (!group) {
            auto made = std::make_unique<CIsoGroup>();
            made->GroupNo = number;
            group = AddTail(model.m_IsoGroups, std::move(made));
        }
        return group;
    };
    for (CIsoElement* p : targets) {
        p->Origin = &targets;
        groupOf(p->GroupNo[0])->Pieces.push_back(p);
    }
    for (CIsoElement* p : references) {
        p->Origin = &references;
        groupOf(p->GroupNo[0])->OtherPieces.push_back(p);
    }

    notice.ShowId(IDS_REMOVING_DUPLICATES);
    auto& pool = model.m_IsoElements;
    for (auto& [number, group] : groups)
        DeleteDuplicatePaths(pool, group->Pieces, group->OtherPieces, dist, 0);
    DeleteDuplicatePaths(pool, targets, references, dist, 1);

    for (const CIsoElement* p : targets)
        AppendPieceSegment(*p, CPieceCut::Everything, model.m_GridPathList);
    notice.ShowF("Next 2");
    if (sortSegments)
        sortSegments();
}

}  // namespace

int GatherToolLayerSegments(CBoardModel& model, const std::string& name, int clearing, int side,
                            CRefList<CIsoElement>& out, bool take)
{
    int largest = 0;
    auto& layers = model.m_PathLayerList;
    for (auto it = layers.begin(); it != layers.end();) {
        CPathRecord& layer = **it;
        if (layer.name != name || (layer.kind & 1) != clearing || layer.side != side) {
            ++it;
            continue;
        }
        for (const auto& item : layer.items) {
            largest = std::max(largest, item->value);
            CIsoElement p;
            p.Class = ISO_PIECE;
            p.GroupNo[0] = item->value;
            const CDPoint start(item->x1, item->y1), end(item->x2, item->y2);
            if (item->type == 0) {
                p.Kind = ISO_LINE;
                p.Pt0 = start;
                p.Pt1 = end;
            } else if (item->type == 1 || item->type == 2) {
                const bool reversed = item->type == 2;
                p.Kind = ISO_ARC;
                p.Pt0 = CDPoint(item->cx, item->cy);
                p.Pt1 = reversed ? end : start;
                p.Pt2 = reversed ? start : end;
                p.Radius = Distance(p.Pt0.x, p.Pt0.y, p.Pt1.x, p.Pt1.y);
                p.StartAngle = AngleOf(p.Pt0, p.Pt1.x, p.Pt1.y);
                p.EndAngle = AngleOf(p.Pt0, p.Pt2.x, p.Pt2.y);
            } else {
                continue;
            }
            out.push_back(model.m_IsoElements.Add(p));
        }
        if (take)
            it = layers.erase(it);
        else
            ++it;
    }
    return largest;
}

void DeleteDuplicateToolPaths(CBoardModel& model, const CIsoToolSettings& tools, int side,
                              const std::function<void()>& sortSegments)
{
    const float d0 = tools.tool1Size, d3 = tools.tool2Size + 1.0f, d5 = tools.tool3Size + 1.0f;
    CMessageDlg notice;
    auto& layers = model.m_PathLayerList;

    DeletePhase(model, "T1MIL", "T2ISO", d3 - d0, side, sortSegments, notice);
    notice.ShowF("Next 3");
    const CPassLayerStyle t1{"T1MIL", 1, tools.tool1Size, tools.tool1Depth, 0xAAAADC};
    AddHead(layers, LayerFromSegments(t1, side, model.m_GridPathList));

    notice.ShowF("Next 4");
    DeletePhase(model, "T2MIL", "T3MIL", d5 - d3, side, sortSegments, notice);
    const CPassLayerStyle t2{"T2MIL", 1, tools.tool2Size, tools.tool2Depth, 0xAADCAA};
    auto layer = LayerFromSegments(t2, side, model.m_GridPathList);
    auto after = std::find_if(layers.begin(), layers.end(),
                              [](const auto& l) { return l->name == "T2ISO"; });
    if (after == layers.end() || after + 1 == layers.end())
        layers.insert(layers.begin(), std::move(layer));
    else
        layers.insert(after + 1, std::move(layer));
}
