#pragma once
// A headless engine in a temporary program folder.
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessBackend.h"
#include "../TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string_view>

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldProgramDir_ = platform::files::programDir();
        platform::files::setProgramDir(dir.str());
        // "text.dat" is written to the current folder when the program ends.
        inDir_ = std::make_unique<testsupport::CurrentDir>(dir.path());
        dx = std::make_unique<CDirectX>(backend.services);
    }
    void TearDown() override
    {
        dx.reset();
        inDir_.reset();
        platform::files::setProgramDir(oldProgramDir_);
        runLog().clear();
    }

    // The engine driven as the platform and the player drive it: frames on a fixed step of
    // the headless clock, input through the headless input service and the window's pointer.

    // One frame, ms after the previous one (the frame's own sleeps do not move the step).
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
    // The pointer in picture coordinates, as the window reports it from the next frame on.
    void pointTo(int x, int y)
    {
        backend.window.pointerX = x;
        backend.window.pointerY = y;
    }
    void keyDown(uint8_t code) { backend.input.keyDown(code); }
    void keyUp(uint8_t code) { backend.input.keyUp(code); }
    // Pressed and released between two frames: the next frame sees one press.
    void tapKey(uint8_t code)
    {
        backend.input.keyDown(code);
        backend.input.keyUp(code);
    }
    void tapButton(int button = 0)
    {
        backend.input.buttonDown(button);
        backend.input.buttonUp(button);
    }
    // Held for one frame, then released for the next.
    void key(uint8_t code)
    {
        backend.input.keyDown(code);
        frame();
        backend.input.keyUp(code);
        frame();
    }
    void click(int button = 0)
    {
        backend.input.buttonDown(button);
        frame();
        backend.input.buttonUp(button);
        frame();
    }
    // The game screen, where the title's new game leads (the title screen is not built yet).
    void onGameScreen() { dx->screenState = ScreenState::Game; }
    // "system.dat" as a player who chose full screen leaves it (every other setting at its
    // default); start-up reads it (Application::start, or loadConfig for a bare engine).
    void writeFullScreenSettings()
    {
        SystemConfig c;
        c.applyDefaults();
        c.windowed = 0;
        const auto bytes = c.toBytes();
        testsupport::writeAll(dir.file("system.dat"), std::vector<uint8_t>(bytes.begin(), bytes.end()));
    }
    void startInFullScreen()
    {
        writeFullScreenSettings();
        ASSERT_TRUE(dx->loadConfig());
    }
    // How many run-log lines hold text.
    size_t logCount(std::string_view text) const
    {
        size_t n = 0;
        for (const std::string& line : runLog().lines())
            n += line.find(text) != std::string::npos;
        return n;
    }

    testsupport::TempDir dir;
    platform::HeadlessBackend backend;
    std::unique_ptr<CDirectX> dx;
    uint32_t now_ = 1000; // the time of the last frame run by frame()

private:
    std::string oldProgramDir_;
    std::unique_ptr<testsupport::CurrentDir> inDir_;
};

// The engine as started in its game folder: an empty but valid "system.pkd" there, and that
// folder as the current one, since start-up opens the archive from the current folder.
class GameFolderTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        testsupport::writeEmptyArchive(dir.file("system.pkd"));
        inFolder_ = std::make_unique<testsupport::CurrentDir>(dir.path());
    }
    void TearDown() override
    {
        inFolder_.reset();
        EngineTest::TearDown();
    }

private:
    std::unique_ptr<testsupport::CurrentDir> inFolder_;
};
