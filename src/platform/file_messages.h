// Messages with a name in them, for every floor: the string-table text with a
// file or port name filled in, and the notice that a file cannot be read.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The string-table text with its one "%s" replaced by `name`, shown as
// PrintableText.
std::string WithName(unsigned id, const std::string& name);

// Text from a file or a file name as a message may show it: control bytes
// and bytes that are not UTF-8 text become "\xNN"; other text, Chinese
// included, stays as it is.
std::string PrintableText(std::string_view text);

// The string-table text with its "%s" replaced by `name`, shown as
// PrintableText, and then its "%ld" by the line number `line`: a message
// about one line of a file.
std::string FileLineMessage(unsigned id, const std::string& name, long line);

// The string-table text with its "%s" and "%ld" replaced, in the order they
// come, by `values` shown as PrintableText (a value never takes part in the
// later replacements).
std::string WithValues(unsigned id, std::initializer_list<std::string> values);

// String 61488 with the file name: the file cannot be read.
void ReportCannotReadFile(const std::string& name);

// Whether `path` (its name matched without regard to case) is a file that
// can be read and holds something. When not, one message names it and says
// why: it is a folder, is empty, or it is missing or cannot be opened (said
// by `openErrorId`, the reader's own text with "%s").
bool CheckReadableFile(const std::string& path, unsigned openErrorId);
