// The aperture-size table and the entity-name counter.
#include "exchange/aperture_sizes.h"

#include <cmath>

namespace {

constexpr int kFirstCode = 11;

template <class Match>
int FindOrAppend(CApertureSizeList& table, float size, Match match, double sign)
{
    int code = kFirstCode;
    for (const CApertureSize& entry : table) {
        if (match(entry.size, double(size)))
            return code;
        ++code;
    }
    table.push_back({double(size), sign * code});
    return code;
}

std::map<std::string, int>& EntityNames()
{
    static std::map<std::string, int> names;
    return names;
}

}  // namespace

int ApertureSizeCode(CApertureSizeList& table, float size)
{
    return FindOrAppend(table, size, [](double a, double b) { return std::fabs(a - b) < 0.01; },
                        1.0);
}

int ApertureSizeCodeExact(CApertureSizeList& table, float size)
{
    return FindOrAppend(table, size, [](double a, double b) { return a == b; }, -1.0);
}

void FreeApertureSizeList(CApertureSizeList& table) { table.clear(); }

int CountEntityName(const std::string& name)
{
    auto& names = EntityNames();
    if (name == "Reset") {
        names.clear();
        return 0;
    }
    auto [it, added] = names.try_emplace(name, 0);
    return added ? 0 : ++it->second;
}
