// DXF layer lists, layer colours and the name-collecting pass.
#include "exchange/dxf_layers.h"

#include "exchange/dxf_reader.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "records/board_records.h"

#include <cstdlib>

std::vector<std::string> SplitLayerList(const std::string& list)
{
    std::vector<std::string> names;
    std::size_t start = 0, end;
    while ((end = list.find(';', start)) != std::string::npos) {
        names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

bool LayerListHas(const std::string& list, const std::string& name)
{
    for (const std::string& n : SplitLayerList(list))
        if (n == name)
            return true;
    return false;
}

void AddToLayerList(std::string& list, const std::string& name)
{
    if (!name.empty() && !LayerListHas(list, name))
        list += name + ";";
}

COLORREF DxfLayerColour(int place) { return CamLayerColour(80 * place); }

COLORREF CamLayerColour(int c)
{
    const COLORREF red = COLORREF(c % 100);
    const COLORREF green = COLORREF(std::abs(255 - c) % 255);
    const COLORREF blue = COLORREF(std::abs(55 - c) % 205);
    return red | (green << 8) | (blue << 16);
}

std::unique_ptr<CPathRecord> NewCamLayer(const std::string& name, COLORREF colour)
{
    auto layer = std::make_unique<CPathRecord>();
    layer->size = 2.0f;
    layer->depth = 0.0f;
    layer->side = 5;
    layer->visible = 1;
    layer->name = name;
    layer->colour = colour;
    return layer;
}

CPathSegment* AddCamItem(CPathRecord& layer, int type)
{
    auto item = std::make_unique<CPathSegment>();
    item->type = type;
    return AddTail(layer.items, std::move(item));
}

CPathSegment* AddCamLine(CPathRecord& layer, double x1, double y1, double x2, double y2,
                         double width)
{
    CPathSegment* item = AddCamItem(layer, 0);
    item->x1 = x1;
    item->y1 = y1;
    item->x2 = x2;
    item->y2 = y2;
    item->radius = width;
    return item;
}

CPathSegment* AddCamCircle(CPathRecord& layer, int type, double cx, double cy, double r)
{
    CPathSegment* item = AddCamItem(layer, type);
    item->x1 = item->x2 = cx + r;
    item->y1 = item->y2 = cy;
    item->cx = cx;
    item->cy = cy;
    item->radius = r;
    return item;
}

namespace {

int ReportDxfFailure(const CDxfReader& reader, const std::string& path)
{
    if (reader.Failed())
        AfxMessageBox(DxfErrorMessage(reader, path), MB_OK | MB_ICONEXCLAMATION);
    else
        ReportCannotReadFile(path);
    return 0;
}

}  // namespace

int ForEachDxfEntity(const std::string& path,
                     const std::function<void(CDxfReader&, const CDxfEntity&)>& visit)
{
    CDxfReader reader;
    if (!reader.Open(path))
        return ReportDxfFailure(reader, path);
    CDxfEntity entity;
    while (reader.Next(entity))
        visit(reader, entity);
    return reader.Failed() ? ReportDxfFailure(reader, path) : 1;
}

int ScanDxfLayerNames(const std::string& path, std::initializer_list<const char*> types,
                      bool cutAtUnderscore, std::string& list)
{
    std::string names = list;
    const int read = ForEachDxfEntity(path, [&](CDxfReader&, const CDxfEntity& entity) {
        for (const char* type : types)
            if (entity.type == type) {
                std::string layer = entity.Layer();
                if (cutAtUnderscore)
                    layer = layer.substr(0, layer.find('_'));
                AddToLayerList(names, layer);
                return;
            }
    });
    if (read)
        list = names;
    return read;
}
