// The messages the side files and the undo ring give when a file fails (and,
// through platform/file_messages.h, the ones any reader gives).
#pragma once

#include "platform/file_messages.h"

#include <string>

// "Can't save temp file !"
void ReportCannotSaveTempFile();
// "Can't load temp file !"
void ReportCannotLoadTempFile();
// IDS_NOT_VALID_TEMP_FILE with the file name: not a file of the program's.
void ReportNotValidTempFile(const std::string& name);
