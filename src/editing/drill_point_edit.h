// Hand editing of the drill holes as a whole: turning them a quarter by
// exchanging x and y about their centroid, mirroring them about it, moving
// them all by one shift, and finding the hole near a point.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"

#include <optional>

struct CDrillTool;

// The mean of every hole of every tool; none when there are no holes.
std::optional<CDPoint> HoleCentroid(const COwnedList<CDrillTool>& tools);
// x and y of every hole exchanged, then the holes moved so that their
// centroid stays; twice gives the holes back. Nothing without holes.
void RotateHoles(COwnedList<CDrillTool>& tools);
// Every hole's x (MirrorHolesX) or y (MirrorHolesY) mirrored about the
// centroid. Nothing without holes.
void MirrorHolesX(COwnedList<CDrillTool>& tools);
void MirrorHolesY(COwnedList<CDrillTool>& tools);
// Every hole of every tool moved by `shift`.
void ShiftHoles(COwnedList<CDrillTool>& tools, CDPoint shift);
// The last hole, in tool order then hole order, lying closer than `reach`
// (mil, distance truncated to whole mil) to `p`; none when no hole does.
std::optional<CDPoint> LastHoleNear(const COwnedList<CDrillTool>& tools, CDPoint p, double reach);
