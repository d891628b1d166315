// The keys a player presses on an SDL keyboard come out as the DirectInput codes the
// screens read.
#include "input/KeyCodes.h"
#include "platform/Input.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>
#include <map>
#include <set>

using platform::dikFromSdlScancode;

TEST(KeyMap, KeysTheGameReadsComeOutAsItsCodes)
{
    const std::pair<SDL_Scancode, uint8_t> keys[] = {
        {SDL_SCANCODE_ESCAPE, DIK_ESCAPE},      {SDL_SCANCODE_RETURN, DIK_RETURN},
        {SDL_SCANCODE_KP_ENTER, DIK_NUMPADENTER}, {SDL_SCANCODE_SPACE, DIK_SPACE},
        {SDL_SCANCODE_LALT, DIK_LMENU},         {SDL_SCANCODE_RALT, DIK_RMENU},
        {SDL_SCANCODE_LCTRL, DIK_LCONTROL},     {SDL_SCANCODE_RCTRL, DIK_RCONTROL},
        {SDL_SCANCODE_TAB, DIK_TAB},            {SDL_SCANCODE_LSHIFT, DIK_LSHIFT},
        {SDL_SCANCODE_RSHIFT, DIK_RSHIFT},      {SDL_SCANCODE_1, DIK_1},
        {SDL_SCANCODE_2, DIK_2},                {SDL_SCANCODE_3, DIK_3},
        {SDL_SCANCODE_4, DIK_4},                {SDL_SCANCODE_BACKSPACE, DIK_BACK},
        {SDL_SCANCODE_PAGEUP, DIK_PRIOR},       {SDL_SCANCODE_PAGEDOWN, DIK_NEXT},
        {SDL_SCANCODE_KP_9, DIK_NUMPAD9},       {SDL_SCANCODE_KP_3, DIK_NUMPAD3},
        {SDL_SCANCODE_UP, DIK_UP},              {SDL_SCANCODE_DOWN, DIK_DOWN},
        {SDL_SCANCODE_LEFT, DIK_LEFT},          {SDL_SCANCODE_RIGHT, DIK_RIGHT},
        {SDL_SCANCODE_F1, DIK_F1},              {SDL_SCANCODE_S, DIK_S},
    };
    for (auto [sdl, dik] : keys)
        EXPECT_EQ(dikFromSdlScancode(sdl), dik) << "scancode " << int(sdl);
}

TEST(KeyMap, ExtendedKeysAreTheirPlainKeysWithTheHighBit)
{
    // The E0-prefixed keys of the PC keyboard: each is 0x80 above the key it duplicates.
    const std::pair<SDL_Scancode, SDL_Scancode> pairs[] = {
        {SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_RETURN}, {SDL_SCANCODE_RCTRL, SDL_SCANCODE_LCTRL},
        {SDL_SCANCODE_RALT, SDL_SCANCODE_LALT},       {SDL_SCANCODE_UP, SDL_SCANCODE_KP_8},
        {SDL_SCANCODE_DOWN, SDL_SCANCODE_KP_2},       {SDL_SCANCODE_LEFT, SDL_SCANCODE_KP_4},
        {SDL_SCANCODE_RIGHT, SDL_SCANCODE_KP_6},      {SDL_SCANCODE_PAGEUP, SDL_SCANCODE_KP_9},
        {SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_KP_3},   {SDL_SCANCODE_HOME, SDL_SCANCODE_KP_7},
        {SDL_SCANCODE_END, SDL_SCANCODE_KP_1},        {SDL_SCANCODE_INSERT, SDL_SCANCODE_KP_0},
        {SDL_SCANCODE_DELETE, SDL_SCANCODE_KP_PERIOD}, {SDL_SCANCODE_KP_DIVIDE, SDL_SCANCODE_SLASH},
    };
    for (auto [extended, plain] : pairs)
        EXPECT_EQ(dikFromSdlScancode(extended), dikFromSdlScancode(plain) | 0x80) << int(extended);
}

TEST(KeyMap, JapaneseKeyboardKeys)
{
    EXPECT_EQ(dikFromSdlScancode(SDL_SCANCODE_INTERNATIONAL1), 0x73); // ろ
    EXPECT_EQ(dikFromSdlScancode(SDL_SCANCODE_INTERNATIONAL2), 0x70); // カタカナ/ひらがな
    EXPECT_EQ(dikFromSdlScancode(SDL_SCANCODE_INTERNATIONAL3), 0x7D); // ¥
    EXPECT_EQ(dikFromSdlScancode(SDL_SCANCODE_INTERNATIONAL4), 0x79); // 変換
    EXPECT_EQ(dikFromSdlScancode(SDL_SCANCODE_INTERNATIONAL5), 0x7B); // 無変換
    EXPECT_EQ(dikFromSdlScancode(SDL_SCANCODE_GRAVE), 0x29);          // 半角/全角
    EXPECT_EQ(dikFromSdlScancode(SDL_SCANCODE_LANG5), 0x29);
}

TEST(KeyMap, EveryKeyOfAFullKeyboardHasItsOwnCode)
{
    // The 104-key US board plus the Japanese extras; no two physical keys may share a code
    // (the ISO/US backslash pair is the one key in two places).
    std::map<uint8_t, int> seen;
    int mapped = 0;
    for (int sc = SDL_SCANCODE_A; sc <= SDL_SCANCODE_RGUI; ++sc) {
        if (sc == SDL_SCANCODE_NONUSHASH || sc == SDL_SCANCODE_LANG3 || sc == SDL_SCANCODE_LANG4 ||
            sc == SDL_SCANCODE_LANG5 || sc == SDL_SCANCODE_SYSREQ)
            continue;
        uint8_t dik = dikFromSdlScancode(sc);
        if (dik == 0)
            continue;
        ++mapped;
        auto [it, fresh] = seen.emplace(dik, sc);
        EXPECT_TRUE(fresh) << "scancodes " << it->second << " and " << sc << " both give " << int(dik);
    }
    EXPECT_GE(mapped, 104 + 5);
    // Every letter and digit.
    for (int sc = SDL_SCANCODE_A; sc <= SDL_SCANCODE_0; ++sc)
        EXPECT_NE(dikFromSdlScancode(sc), 0) << sc;
    for (int sc = SDL_SCANCODE_F1; sc <= SDL_SCANCODE_F12; ++sc)
        EXPECT_NE(dikFromSdlScancode(sc), 0) << sc;
}

TEST(KeyMap, UnknownAndOutOfRangeScancodesGiveNothing)
{
    EXPECT_EQ(dikFromSdlScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(dikFromSdlScancode(-1), 0);
    EXPECT_EQ(dikFromSdlScancode(SDL_NUM_SCANCODES), 0);
    EXPECT_EQ(dikFromSdlScancode(100000), 0);
}
