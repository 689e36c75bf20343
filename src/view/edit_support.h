// What the view's editing files share: a string-table text with its
// placeholders filled, the asking of one number and a rubber band in mil.
#pragma once

#include "platform/win_types.h"
#include "ui/line_store.h"  // FormatResText

#include <optional>
#include <string>

#include "geometry/point.h"

class CVelmView;

// A client pixel as a board point in mil, unrounded.
CDPoint ToMil(const CVelmView& view, POINT pixel);
// Whether (x, y) lies in `r` or on its border.
bool InRect(const RECT& r, double x, double y);

// Asks one number in the number-input dialog with `prompt`, starting at
// `start`. None when the operator cancels, leaves the field empty or types
// something that is not a number; with `positive` only a value above zero
// counts, and anything else is refused with a message.
std::optional<double> AskNumber(const std::string& prompt, const std::string& start, bool positive);

// A finished rubber band (client pixels, any corner order) as a rectangle in
// whole mil with its corners in order.
RECT BandInMil(const CVelmView& view, const RECT& band);
