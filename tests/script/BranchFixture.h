#pragma once
// The game screen with its display device up, for "@select" and "@clickable": scripts and
// click maps go into the archive, input goes through the frame dispatcher.
#include "../scene/SceneFixture.h"

#include "platform/Text.h"
#include "script/GameScreen.h"

#include <map>

namespace branchtest {

// An 800 x 600 click map, black but for the given rectangles painted in 0xRRGGBB.
struct Box {
    int x, y, w, h;
    uint32_t rgb;
};
inline std::vector<uint8_t> clickMapPng(std::initializer_list<Box> boxes, uint32_t w = 800, uint32_t h = 600)
{
    std::vector<uint8_t> raw(size_t(w) * h * 3, 0);
    for (const Box& b : boxes)
        for (int y = b.y; y < b.y + b.h && y < int(h); ++y)
            for (int x = b.x; x < b.x + b.w && x < int(w); ++x) {
                uint8_t* p = raw.data() + (size_t(y) * w + size_t(x)) * 3;
                p[0] = uint8_t(b.rgb >> 16);
                p[1] = uint8_t(b.rgb >> 8);
                p[2] = uint8_t(b.rgb);
            }
    return testpng::encode(w, h, raw);
}

} // namespace branchtest

class BranchTest : public SceneTest {
protected:
    // "system.pkd" with the given entries (scripts are written with CR LF line ends).
    void pack(const std::map<std::string, std::vector<uint8_t>>& entries)
    {
        PackWriter w;
        for (const auto& [name, bytes] : entries)
            w.addBytes(name, bytes);
        std::string error;
        const std::string pkd = (dir.path() / "system.pkd").string();
        ASSERT_TRUE(w.write(pkd, error)) << error;
        ASSERT_TRUE(dx->archive.Open(pkd));
    }
    static std::vector<uint8_t> text(const std::string& utf8)
    {
        std::string crlf;
        for (char c : platform::utf8ToSjis(utf8))
            crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        return {crlf.begin(), crlf.end()};
    }
    // Starts the game screen on "SCP\\" + name and runs frames until it waits for the player
    // in the given game state (or the limit runs out).
    void start(const std::string& name) { ASSERT_TRUE(startGameScreen(*dx, name)); }
    bool runUntilState(GameState state, int limit = 200)
    {
        for (int i = 0; i < limit && dx->gameState != state; ++i)
            frame();
        return dx->gameState == state;
    }
    void press(uint8_t key)
    {
        backend.input.keyDown(key);
        frame();
        backend.input.keyUp(key);
        frame();
    }
    void pointAt(int x, int y)
    {
        backend.window.pointerX = x;
        backend.window.pointerY = y;
    }
    void clickAt(int x, int y)
    {
        pointAt(x, y);
        backend.input.buttonDown(0);
        frame();
        backend.input.buttonUp(0);
        frame();
    }
    // The back buffer's pixel at picture (x, y) as 0xRRGGBB, rows top first as presented.
    uint32_t screen(int x, int y)
    {
        const platform::Surface& bb = *dx->display.directDraw()->backBuffer();
        uint32_t v;
        std::memcpy(&v, bb.data() + size_t(y) * size_t(bb.pitch()) + size_t(x) * 4, 4);
        return v & 0xFFFFFF;
    }
    // The test commands that record where the script went: "@test_title" keeps its word.
    const std::string& mark() const { return dx->scriptState.testTitle; }
};
