// Messages with a name in them, for every floor: the string-table text with a
// file or port name filled in, and the notice that a file cannot be read.
#pragma once

#include <string>

// The string-table text with its one "%s" replaced by `name`.
std::string WithName(unsigned id, const std::string& name);

// String 61488 with the file name: the file cannot be read.
void ReportCannotReadFile(const std::string& name);
