#pragma once
// A headless engine on a created display device, on the game screen, with input devices:
// scripts run through the frame dispatcher on the headless clock.
#include "../app/EngineFixture.h"

#include "platform/Text.h"
#include "script/Interpreter.h"

#include <filesystem>

class TextTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        // "text.dat" lives in the current directory.
        oldCwd_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        ASSERT_TRUE(backend.window.create(dx->title, 0, 0, 800, 600, false));
        ASSERT_TRUE(dx->Create(&backend.window, true));
        ASSERT_TRUE(dx->input.create(backend.services.input));
        dx->windowActive = true;
        dx->screenState = ScreenState::Game;
        dx->config.textSpeed = 7;
        backend.window.pointerX = 400;
        backend.window.pointerY = 500;
        dx->lastFrameTime = now_;
        backend.clock.set(now_);
    }
    void TearDown() override
    {
        dx.reset();
        std::filesystem::current_path(oldCwd_);
        EngineTest::TearDown();
    }
    void script(const std::string& utf8) { ASSERT_TRUE(dx->script.loadFromBytes("test.scp", platform::utf8ToSjis(utf8))); }
    // One frame of 16 ms through the frame dispatcher.
    void frame(int ms = 16)
    {
        now_ += uint32_t(ms);
        backend.clock.set(now_);
        dx->runFrame();
    }
    void frames(int n)
    {
        for (int i = 0; i < n; ++i)
            frame();
    }
    void click()
    {
        backend.input.buttonDown(0);
        frame();
        backend.input.buttonUp(0);
        frame();
    }
    void key(uint8_t code)
    {
        backend.input.keyDown(code);
        frame();
        backend.input.keyUp(code);
        frame();
    }
    size_t logCount(std::string_view sjisText) const
    {
        size_t n = 0;
        for (const std::string& line : runLog().lines())
            n += line.find(sjisText) != std::string::npos;
        return n;
    }
    std::string line(int i) const { return platform::sjisToUtf8(dx->messageWindow.lines[size_t(i)]); }
    // 0xRRGGBB of a back-buffer pixel.
    uint32_t pixel(int x, int y)
    {
        const platform::Surface* bb = backend.video.backBuffer();
        const uint8_t* p = bb->data() + size_t(y) * size_t(bb->pitch()) + size_t(x) * 4;
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }

    uint32_t now_ = 1000;
    std::filesystem::path oldCwd_;
};
