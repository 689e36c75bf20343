// The English language library ("ENGLISH.DLL").
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"

namespace {
const OrduneStringEntry kStrings[] = {
#include "en/string_table.inc"
};
const OrduneMenuItem kMenus[] = {
#include "en/menus.inc"
};
const OrduneDialogItem kDialogs[] = {
#include "en/dialogs.inc"
};
const OrduneToolBarButton kToolBars[] = {
#include "toolbars.inc"
};
const OrduneResourceModule kModule = MakeResourceModule(kStrings, kMenus, kToolBars, kDialogs);
}  // namespace

extern "C" __attribute__((visibility("default"))) const OrduneResourceModule*
OrduneGetResources()
{
    return &kModule;
}
