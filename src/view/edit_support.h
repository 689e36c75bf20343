// What the view's editing files share: a string-table text with its
// placeholders filled, and the asking of one number.
#pragma once

#include "platform/win_types.h"
#include "ui/line_store.h"  // FormatResText

#include <optional>
#include <string>

// Asks one number in the number-input dialog with `prompt`, starting at
// `start`. None when the operator cancels, leaves the field empty or types
// something that is not a number; with `positive` only a value above zero
// counts, and anything else is refused with a message.
std::optional<double> AskNumber(const std::string& prompt, const std::string& start, bool positive);

class CVelmView;
// A rubber band (client pixels, any corner order) as a mil rectangle with
// its corners in order.
RECT BandInMil(const CVelmView& view, const RECT& band);
