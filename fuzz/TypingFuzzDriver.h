#pragma once
// Runs arbitrary bytes as a typing script through the typing screen's interpreter and state
// machine, typing keys taken from the same bytes, and matches every window of the bytes as
// keys against kana. Shared by the fuzz target and the test that replays kept inputs.
#include "app/CDirectX.h"
#include "typing/TypingDraw.h"
#include "typing/TypingScreen.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

inline void runTypingBytes(CDirectX& dx, const uint8_t* data, size_t size)
{
    auto code = [&](size_t i) -> KanaCode { return i + 1 < size ? KanaCode(data[i] << 8 | data[i + 1]) : 0; };
    for (size_t i = 0; i < size; ++i) {
        const std::string_view keys(reinterpret_cast<const char*>(data) + i, std::min<size_t>(6, size - i));
        MatchKana(keys, code(i), code(i + 2), code(i + 4));
    }

    dx.screenState = ScreenState::Typing;
    dx.frameDelta = 1000;
    dx.typing.TypingScriptName = "fuzz";
    dx.script.loadFromBytes("fuzz", data, size);
    startTypingMode(dx);

    size_t key = 0;
    for (int frames = 0; frames < 100000 && dx.screenState == ScreenState::Typing && !dx.typing.halted; ++frames) {
        TypingMode& t = dx.typing;
        // Whatever the screen waits for ends at once; lines time out after 20 frames.
        dx.scene.presentationBusy = false;
        t.WaitActive = false;
        if (t.state == TypingState::KeyWait)
            t.state = TypingState::RunningScript;
        if (t.state == TypingState::GameOver)
            t.state = TypingState::FadeOut;
        if (t.state == TypingState::Typing && !t.line.LineDone && size > 0) {
            const uint32_t pressed = uint32_t(data[key % size]) | uint32_t(data[(key + 1) % size]) << 8 |
                                     uint32_t(data[(key + 2) % size]) << 16 | uint32_t(data[(key + 3) % size]) << 24;
            key += 4;
            ProcessTypingKeys(t.line, pressed & ((1u << TypingKeyTable.size()) - 1));
            RenderRomajiLine(t);
        }
        TypingUpdate(dx);
        TypingDraw(dx);
    }
}
