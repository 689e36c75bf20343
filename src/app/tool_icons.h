// The tool-bar button pictures, drawn by the program itself.
#pragma once

#include <QIcon>

// The picture of command `id`'s button (a plain tile for unknown ids).
QIcon CommandIcon(unsigned id);
