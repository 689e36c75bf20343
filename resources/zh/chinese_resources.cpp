// The program's own resources, compiled in.
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"

namespace {
const OrduneStringEntry kStrings[] = {
#include "zh/string_table.inc"
};
const OrduneMenuItem kMenus[] = {
#include "zh/menus.inc"
};
const OrduneDialogItem kDialogs[] = {
#include "zh/dialogs.inc"
};
const OrduneToolBarButton kToolBars[] = {
#include "toolbars.inc"
};
const OrduneResourceModule kModule = MakeResourceModule(kStrings, kMenus, kToolBars, kDialogs);
}  // namespace

const OrduneResourceModule& ProgramResources() { return kModule; }
