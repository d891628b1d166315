#pragma once
// A headless engine with its display device up, on the game screen, reading a small archive
// of test pictures built here.
#include "../app/EngineFixture.h"
#include "../resources/PngWrite.h"

#include "input/KeyCodes.h"
#include "scene/SceneCommands.h"
#include "script/Interpreter.h"
#include "tools/pkd/PackWriter.h"

#include <cstring>
#include <filesystem>
#include <functional>

namespace scenetest {

// An opaque w x h picture in one colour (0xRRGGBB), or with a per-pixel colour function.
inline std::vector<uint8_t> solidPng(uint32_t w, uint32_t h, uint32_t rgb)
{
    std::vector<uint8_t> raw(size_t(w) * h * 3);
    for (size_t i = 0; i < raw.size(); i += 3) {
        raw[i] = uint8_t(rgb >> 16);
        raw[i + 1] = uint8_t(rgb >> 8);
        raw[i + 2] = uint8_t(rgb);
    }
    return testpng::encode(w, h, raw);
}

// A character picture: 512x608 RGBA in one colour; the left 16 columns are transparent.
inline std::vector<uint8_t> characterPng(uint32_t rgb)
{
    const uint32_t w = 512, h = 608;
    std::vector<uint8_t> raw(size_t(w) * h * 4);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = raw.data() + (size_t(y) * w + x) * 4;
            p[0] = uint8_t(rgb >> 16);
            p[1] = uint8_t(rgb >> 8);
            p[2] = uint8_t(rgb);
            p[3] = x < 16 ? 0 : 255;
        }
    testpng::Options o;
    o.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    return testpng::encode(w, h, raw, o);
}

} // namespace scenetest

class SceneTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        oldCwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        ASSERT_TRUE(dx->input.create(backend.services.input));
        ASSERT_TRUE(backend.window.create(dx->title, 0, 0, 800, 600, false));
        ASSERT_TRUE(dx->Create(&backend.window, true));
        dx->windowActive = true;
        dx->applyDefaultConfig();
        pointTo(400, 300);

        PackWriter w;
        w.addBytes("BG\\red.png", scenetest::solidPng(800, 600, 0xFF0000));
        w.addBytes("BG\\blue.png", scenetest::solidPng(800, 600, 0x0000FF));
        w.addBytes("BG\\broken.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13});
        w.addBytes("CHR\\green.png", scenetest::characterPng(0x00FF00));
        w.addBytes("CHR\\white.png", scenetest::characterPng(0xFFFFFF));
        w.addBytes("CUT\\cut.png", scenetest::solidPng(200, 100, 0xFFFF00));
        std::string error;
        const std::string pkd = (dir.path() / "system.pkd").string();
        ASSERT_TRUE(w.write(pkd, error)) << error;
        ASSERT_TRUE(dx->archive.Open(pkd));
        onGameScreen();
        runLog().clear();
    }
    void TearDown() override
    {
        std::filesystem::current_path(oldCwd_);
        EngineTest::TearDown();
    }

    // Lines end in CR LF as in the game's scripts.
    void script(const std::string& text)
    {
        std::string crlf;
        for (char c : text)
            crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        ASSERT_TRUE(dx->script.loadFromBytes("test.scp", crlf));
    }
    // Runs frames until the script has run one more command (the blocking one), then until
    // its effect is over; returns how long that took in headless milliseconds from the frame
    // that started it (-1 if it never ended). An effect that ends in its own frame took 0.
    int measureBusy(int commands = 1, int limit = 400)
    {
        const uint64_t before = dx->scriptState.commandsRun;
        int i = 0;
        while (dx->scriptState.commandsRun < before + uint64_t(commands) && i++ < limit)
            frame();
        const uint32_t start = now_;
        while (dx->scene.presentationBusy && i++ < limit)
            frame();
        return dx->scene.presentationBusy ? -1 : int(now_ - start);
    }
    // Runs frames while an effect that has already started is busy; the milliseconds taken.
    int untilIdle(int limit = 400)
    {
        const uint32_t start = now_;
        for (int i = 0; dx->scene.presentationBusy && i < limit; ++i)
            frame();
        return dx->scene.presentationBusy ? -1 : int(now_ - start);
    }
    void holdCtrl() { backend.input.keyDown(DIK_LCONTROL); }
    // The back buffer's pixel at picture (x, y) as 0xRRGGBB.
    uint32_t pixel(int x, int y)
    {
        const platform::Surface& bb = *dx->display.directDraw()->backBuffer();
        uint32_t v;
        std::memcpy(&v, bb.data() + size_t(y) * size_t(bb.pitch()) + size_t(x) * 4, 4);
        return v & 0xFFFFFF;
    }
    std::filesystem::path oldCwd_;
};
