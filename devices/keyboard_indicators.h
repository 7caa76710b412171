#pragma once
// The lock indicators of a keyboard, in the fixed LED order that both keyboard
// devices use: LED i is output bit i.

#include <cstdint>

struct keyboard_indicator {
    const char* name;
    uint16_t flag;      // KEYBOARD_SCROLL_LOCK_ON and its siblings, as the driver takes them
    int virtual_key;    // VK_SCROLL and its siblings, for GetKeyState
};

inline constexpr keyboard_indicator kKeyboardIndicators[] = {
    {"Scroll Lock", 0x1, 0x91},
    {"Caps Lock", 0x4, 0x14},
    {"Num Lock", 0x2, 0x90},
    {"Kana Lock", 0x8, 0x15},
};
