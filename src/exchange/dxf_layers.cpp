// DXF layer lists, layer colours and the name-collecting pass.
#include "exchange/dxf_layers.h"

#include "exchange/dxf_reader.h"
#include "platform/file_messages.h"
#include "platform/host.h"

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

COLORREF DxfLayerColour(int place)
{
    const int c = 80 * place;
    const COLORREF red = COLORREF(c % 100);
    const COLORREF green = COLORREF(std::abs(255 - c) % 255);
    const COLORREF blue = COLORREF(std::abs(55 - c) % 205);
    return red | (green << 8) | (blue << 16);
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
