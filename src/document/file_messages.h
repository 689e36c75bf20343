// The messages the side files and the undo ring give when a file fails.
#pragma once

#include <string>

// The string-table text with its one "%s" replaced by `name`.
std::string WithName(unsigned id, const std::string& name);

// "Can't save temp file !"
void ReportCannotSaveTempFile();
// "Can't load temp file !"
void ReportCannotLoadTempFile();
// IDS_NOT_VALID_TEMP_FILE with the file name: not a file of the program's.
void ReportNotValidTempFile(const std::string& name);
// IDS_CANNOT_READ_FILE with the file name: the file cannot be read.
void ReportCannotReadFile(const std::string& name);
