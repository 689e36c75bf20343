// The small value types the program shares with the framework it was
// designed around: integer points, sizes, rectangles and colours.
#pragma once

#include <cstdint>

struct POINT {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct SIZE {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
};

struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// 0x00bbggrr, as the colour fields of the program's files store it.
using COLORREF = std::uint32_t;
constexpr COLORREF RGB(unsigned r, unsigned g, unsigned b)
{
    return (r & 0xff) | ((g & 0xff) << 8) | ((b & 0xff) << 16);
}
constexpr unsigned GetRValue(COLORREF c) { return c & 0xff; }
constexpr unsigned GetGValue(COLORREF c) { return (c >> 8) & 0xff; }
constexpr unsigned GetBValue(COLORREF c) { return (c >> 16) & 0xff; }

// The virtual-key codes of the keys the windows act on.
constexpr unsigned VK_PRIOR = 0x21;  // Page Up
constexpr unsigned VK_NEXT = 0x22;   // Page Down
constexpr unsigned VK_LEFT = 0x25;
constexpr unsigned VK_UP = 0x26;
constexpr unsigned VK_RIGHT = 0x27;
constexpr unsigned VK_DOWN = 0x28;

// The rest of the keys the board view acts on (letters and digits are their
// upper-case character codes), and the key flags of a mouse message.
constexpr unsigned VK_TAB = 0x09;
constexpr unsigned VK_SHIFT = 0x10;
constexpr unsigned VK_CONTROL = 0x11;
constexpr unsigned VK_ESCAPE = 0x1B;
constexpr unsigned VK_HOME = 0x24;
constexpr unsigned VK_INSERT = 0x2D;
constexpr unsigned VK_ADD = 0x6B;        // the numeric pad's plus
constexpr unsigned VK_SUBTRACT = 0x6D;   // the numeric pad's minus
constexpr unsigned VK_F1 = 0x70;         // F1 .. F12 follow in order
constexpr unsigned VK_OEM_PLUS = 0xBB;   // the main keyboard's plus (=) key
constexpr unsigned VK_OEM_MINUS = 0xBD;  // the main keyboard's minus key
constexpr unsigned MK_LBUTTON = 0x01;
constexpr unsigned MK_RBUTTON = 0x02;
constexpr unsigned MK_SHIFT = 0x04;
constexpr unsigned MK_CONTROL = 0x08;
