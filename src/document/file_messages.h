// The messages the side files and the undo ring give when a file fails (and,
// through platform/file_messages.h, the ones any reader gives).
#pragma once

#include "platform/file_messages.h"

#include <string>

// "Can't save temp file !"
void ReportCannotSaveTempFile();
// "Can't load temp file !"
void ReportCannotLoadTempFile();
// String 61500 with the file name: the file is not one of the program's.
void ReportNotValidTempFile(const std::string& name);
