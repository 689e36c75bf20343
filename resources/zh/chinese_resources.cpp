// The program's own resources, compiled in.
#include "platform/resources.h"

namespace {
const OrduneStringEntry kStrings[] = {
#include "zh/string_table.inc"
};
const OrduneMenuItem kMenus[] = {
#include "zh/menus.inc"
};
const OrduneToolBarButton kToolBars[] = {
#include "toolbars.inc"
};
const OrduneDialogItem kDialogs[] = {
#include "zh/dialogs.inc"
};
template <class T, std::size_t N>
constexpr std::size_t Count(const T (&)[N])
{
    return N;
}
const OrduneResourceModule kModule = {ORDUNE_RESOURCE_ABI, kStrings, Count(kStrings),
                                      kMenus,              Count(kMenus),
                                      kToolBars,           Count(kToolBars),
                                      kDialogs,            Count(kDialogs)};
}  // namespace

const OrduneResourceModule& ProgramResources() { return kModule; }
