// The program's own resources, compiled in.
#include "platform/resources.h"

namespace {
const OrduneStringEntry kStrings[] = {
#include "zh/string_table.inc"
};
const OrduneResourceModule kModule = {ORDUNE_RESOURCE_ABI, kStrings,
                                      sizeof kStrings / sizeof kStrings[0]};
}  // namespace

const OrduneResourceModule& ProgramResources() { return kModule; }
