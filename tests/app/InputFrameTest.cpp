// The input steps of the frame: polling, clicks, Alt+Enter with the ignored frames after
// it, activation, the failure at start-up and the S key at the end of the run.
#include "EngineFixture.h"

#include "app/Application.h"
#include "platform/Text.h"

#include <filesystem>

class InputFrameTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ASSERT_TRUE(dx->input.create(backend.services.input));
        ASSERT_TRUE(backend.window.create(dx->title, 0, 0, 800, 600, false));
        ASSERT_TRUE(dx->Create(&backend.window, true));
        dx->windowActive = true;
        dx->applyDefaultConfig();
        ASSERT_EQ(dx->screenState, ScreenState::Title); // where start-up leaves the game
        dx->registerScreen(
            ScreenState::Title,
            [this](CDirectX& d) {
                seen.push_back(Seen{d.input.takeKeyPress(DIK_RETURN) || d.input.takeKeyPress(DIK_SPACE), d.frameInput.leftClicked() != 0,
                                    d.frameInput.rightClicked() != 0});
            },
            nullptr);
        pointTo(400, 300);
    }

    struct Seen {
        bool key, left, right;
    };
    std::vector<Seen> seen;
};

TEST_F(InputFrameTest, AClickReachesTheScreenAsLeftOrRightClickedForOneFrame)
{
    tapButton(0);
    frame();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].left);
    EXPECT_FALSE(seen[0].right);
    EXPECT_EQ(dx->frameInput.leftClicked(), 0); // cleared after the frame is drawn
    tapButton(1);
    frame();
    EXPECT_TRUE(seen[1].right);
    frame();
    frame();
    EXPECT_FALSE(seen[2].left || seen[2].right || seen[3].left || seen[3].right);
}

TEST_F(InputFrameTest, AnInactiveWindowTakesNoClicks)
{
    dx->windowActive = false;
    tapButton(0);
    frame();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_FALSE(seen[0].left);
}

TEST_F(InputFrameTest, AltEnterTogglesAtTheEndOfTheFrameAndItsEnterIsNotAConfirm)
{
    backend.input.keyDown(DIK_LMENU);
    frame();
    backend.input.keyDown(DIK_RETURN);
    frame();
    EXPECT_FALSE(dx->display.windowed());
    EXPECT_TRUE(backend.window.fullscreen);
    EXPECT_TRUE(dx->inputIgnoreActive);
    backend.input.keyUp(DIK_RETURN);
    backend.input.keyUp(DIK_LMENU);
    for (int i = 0; i < 10; ++i)
        frame();
    for (const Seen& s : seen)
        EXPECT_FALSE(s.key);
    EXPECT_FALSE(dx->display.windowed()); // toggled once, not back
    EXPECT_FALSE(dx->inputIgnoreActive);
}

TEST_F(InputFrameTest, RightAltWithEnterTogglesToo)
{
    backend.input.keyDown(DIK_RMENU);
    backend.input.keyDown(DIK_RETURN);
    frame();
    EXPECT_FALSE(dx->display.windowed());
}

TEST_F(InputFrameTest, NothingLeaksThroughTheIgnoredFramesAfterAltEnter)
{
    backend.input.keyDown(DIK_LMENU);
    backend.input.keyDown(DIK_RETURN);
    frame();
    backend.input.keyUp(DIK_RETURN);
    backend.input.keyUp(DIK_LMENU);
    ASSERT_TRUE(dx->inputIgnoreActive);
    // Space and the left button go down and up on alternate frames all through the
    // ignored period.
    int ignoredFrames = 0;
    while (dx->inputIgnoreActive && ignoredFrames < 20) {
        seen.clear();
        if (ignoredFrames % 2 == 0) {
            backend.input.keyDown(DIK_SPACE);
            backend.input.buttonDown(0);
        } else {
            backend.input.keyUp(DIK_SPACE);
            backend.input.buttonUp(0);
        }
        frame();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_FALSE(seen[0].key) << "frame " << ignoredFrames;
        EXPECT_FALSE(seen[0].left) << "frame " << ignoredFrames;
        ++ignoredFrames;
    }
    EXPECT_GE(ignoredFrames, 5);
    // Once everything is up, both go through again.
    backend.input.keyUp(DIK_SPACE);
    backend.input.buttonUp(0);
    frame();
    EXPECT_FALSE(seen.back().key || seen.back().left);
    EXPECT_FALSE(dx->input.mouseIgnored());
    seen.clear();
    tapKey(DIK_SPACE);
    tapButton(0);
    frame();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].key);
    EXPECT_TRUE(seen[0].left);
}

TEST_F(InputFrameTest, AKeyHeldThroughTheToggleIsNoFreshPressAfterwards)
{
    backend.input.keyDown(DIK_SPACE);
    frame();
    backend.input.keyDown(DIK_LMENU);
    backend.input.keyDown(DIK_RETURN);
    frame();
    backend.input.keyUp(DIK_RETURN);
    backend.input.keyUp(DIK_LMENU);
    for (int i = 0; i < 10; ++i)
        frame();
    ASSERT_FALSE(dx->inputIgnoreActive);
    EXPECT_TRUE(dx->input.keyHeld(DIK_SPACE));
    int presses = 0;
    for (const Seen& s : seen)
        presses += s.key;
    EXPECT_EQ(presses, 1); // the Space of the first frame only
}

TEST_F(InputFrameTest, ActivationAcquiresAndDeactivationReleasesTheDevices)
{
    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::Deactivate, 0});
    EXPECT_FALSE(backend.input.isAcquired(platform::InputDevice::Keyboard));
    EXPECT_FALSE(backend.input.isAcquired(platform::InputDevice::Mouse));
    backend.input.keyDown(DIK_ESCAPE); // still heard (the headless window keeps the focus) but not read
    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::Activate, 0});
    EXPECT_TRUE(backend.input.isAcquired(platform::InputDevice::Keyboard));
    EXPECT_TRUE(backend.input.isAcquired(platform::InputDevice::Mouse));
    frame();
    EXPECT_TRUE(dx->input.takeKeyPress(DIK_ESCAPE));
}

using InputStartupTest = GameFolderTest;

TEST_F(InputStartupTest, NoInputSystemStopsTheStartWithAMessageOwnedByTheWindow)
{
    backend.input.failCreate = true;
    Application app(*dx);
    EXPECT_EQ(app.run(), -1);
    ASSERT_EQ(backend.messageBoxes.shown.size(), 1u);
    const auto& box = backend.messageBoxes.shown[0];
    EXPECT_EQ(platform::sjisToUtf8(box.text), "DirectInputの初期化に失敗しました。\nゲームの起動を中止します。");
    EXPECT_EQ(platform::sjisToUtf8(box.caption), "星降る丘の鐘");
    EXPECT_TRUE(box.hadOwner);
    EXPECT_EQ(box.type, platform::MessageBoxType::Ok);
    EXPECT_TRUE(runLog().contains("DirectInput Create\n"));
}

TEST_F(InputStartupTest, HoldingSWhileTheGameEndsAppendsTheRunLog)
{
    testsupport::writeText(dir.file("system_log.txt"), "earlier run\r\n\r\n");
    Application app(*dx);
    ASSERT_TRUE(app.start());
    backend.input.keyDown(DIK_S);
    ASSERT_TRUE(dx->display.deviceReady());
    app.step();
    ASSERT_TRUE(app.frameRanInLastStep());
    dx->destroyMainWindow();
    app.finish();

    auto bytes = testsupport::readAll(dir.file("system_log.txt"));
    std::string utf8 = platform::sjisToUtf8(std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(utf8.rfind("earlier run\r\n\r\nStarting system... [星降る丘の鐘]\r\n", 0), 0u);
    EXPECT_NE(utf8.find("DirectInput Create\r\n"), std::string::npos);
    size_t runTime = utf8.find("起動時間 : ");
    ASSERT_NE(runTime, std::string::npos);
    EXPECT_EQ(utf8.substr(utf8.size() - 9), " msec\r\n\r\n");
    EXPECT_TRUE(runLog().lines().empty());
}

TEST_F(InputStartupTest, WithoutSNoLogFileIsWritten)
{
    Application app(*dx);
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(dx->display.deviceReady());
    app.step();
    dx->destroyMainWindow();
    app.finish();
    EXPECT_FALSE(std::filesystem::exists(dir.file("system_log.txt")));
    EXPECT_FALSE(runLog().lines().empty());
}
