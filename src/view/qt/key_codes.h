// Qt's keys as the virtual-key codes the board view acts on: letters and
// digits as their characters, the numeric pad's plus and minus apart from
// the main keyboard's. 0 for a key the view has no code for.
#pragma once

unsigned VirtualKeyOf(int qtKey, bool keypad);
