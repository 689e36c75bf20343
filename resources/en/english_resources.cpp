// The English language library ("ENGLISH.DLL").
#include "platform/resources.h"

namespace {
const OrduneStringEntry kStrings[] = {
#include "en/string_table.inc"
};
const OrduneMenuItem kMenus[] = {
#include "en/menus.inc"
};
const OrduneToolBarButton kToolBars[] = {
#include "toolbars.inc"
};
const OrduneDialogItem kDialogs[] = {
#include "en/dialogs.inc"
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

extern "C" __attribute__((visibility("default"))) const OrduneResourceModule*
OrduneGetResources()
{
    return &kModule;
}
