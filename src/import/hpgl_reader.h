// Reading HPGL drawings one command at a time.
#pragma once

#include "import/gerber_blocks.h"

#include <string>

// One command up to and including its ';' or line feed; text between two
// '%' signs is dropped with the signs. At the end of the file the command
// holds what was read (no end-of-file character is stored).
void ReadHpglCommand(CGerberSource& in, std::string& command);
