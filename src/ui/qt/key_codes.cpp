// The key translation of the board window and the dialog windows.
#include "ui/qt/key_codes.h"

#include "platform/win_types.h"

#include <Qt>

namespace {

constexpr unsigned kNumpad0 = 0x60;

}  // namespace

unsigned VirtualKeyOf(int qtKey, bool keypad)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + unsigned(qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (keypad ? kNumpad0 : unsigned('0')) + unsigned(qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return VK_F1 + unsigned(qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Tab: return VK_TAB;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    // The main keyboard's plus shares its key with "=".
    case Qt::Key_Plus: return keypad ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Minus: return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Underscore: return VK_OEM_MINUS;
    default: return 0;
    }
}
