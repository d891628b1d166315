#pragma once
#include <cstdint>

// DirectInput keyboard codes of the keys the game reads.
enum DikCode : uint8_t {
    DIK_ESCAPE = 0x01,
    DIK_1 = 0x02,
    DIK_2 = 0x03,
    DIK_3 = 0x04,
    DIK_4 = 0x05,
    DIK_BACK = 0x0E,
    DIK_TAB = 0x0F,
    DIK_RETURN = 0x1C,
    DIK_LCONTROL = 0x1D,
    DIK_S = 0x1F,
    DIK_LSHIFT = 0x2A,
    DIK_RSHIFT = 0x36,
    DIK_LMENU = 0x38,
    DIK_SPACE = 0x39,
    DIK_F1 = 0x3B,
    DIK_NUMPAD9 = 0x49,
    DIK_NUMPAD3 = 0x51,
    DIK_NUMPADENTER = 0x9C,
    DIK_RCONTROL = 0x9D,
    DIK_RMENU = 0xB8,
    DIK_UP = 0xC8,
    DIK_PRIOR = 0xC9,
    DIK_LEFT = 0xCB,
    DIK_RIGHT = 0xCD,
    DIK_DOWN = 0xD0,
    DIK_NEXT = 0xD1,
};
