// Qt's keys as the virtual-key codes the windows act on: letters and
// digits as their characters, the numeric pad's plus and minus apart from
// the main keyboard's. 0 for a key that has no code here.
#pragma once

unsigned VirtualKeyOf(int qtKey, bool keypad);
