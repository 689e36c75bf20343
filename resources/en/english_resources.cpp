// The English language library ("ENGLISH.DLL").
#include "platform/resources.h"

namespace {
const OrduneStringEntry kStrings[] = {
#include "en/string_table.inc"
};
const OrduneResourceModule kModule = {ORDUNE_RESOURCE_ABI, kStrings,
                                      sizeof kStrings / sizeof kStrings[0]};
}  // namespace

extern "C" __attribute__((visibility("default"))) const OrduneResourceModule*
OrduneGetResources()
{
    return &kModule;
}
