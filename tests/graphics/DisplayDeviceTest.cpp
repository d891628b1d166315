// The display device: creation and its fallbacks, present, reset and the release/restore walk.
#include "../app/EngineFixture.h"

#include "app/Application.h"
#include "graphics/Textures.h"
#include "platform/DebugOutput.h"
#include "platform/Text.h"
#include "graphics/CSprite.h"

#include <cstring>

namespace {

int countLines(const std::string& text)
{
    int n = 0;
    for (const auto& l : runLog().lines())
        if (l == text + "\n")
            ++n;
    return n;
}

class DeviceTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        ASSERT_TRUE(backend.window.create(dx->title, 0, 0, 800, 600, false));
        platform::setDebugOutputSink([this](std::string_view s) { debug.emplace_back(s); });
    }
    void TearDown() override
    {
        platform::setDebugOutputSink(nullptr);
        EngineTest::TearDown();
    }
    uint32_t backPixel(int x, int y)
    {
        const platform::Surface* bb = backend.video.backBuffer();
        uint32_t v;
        std::memcpy(&v, bb->data() + size_t(y) * bb->pitch() + size_t(x) * 4, 4);
        return v;
    }
    std::vector<std::string> debug;
};

template <class Tex>
std::vector<uint8_t> surfaceBytes(Tex& t)
{
    std::vector<uint8_t> out;
    int pitch = 0;
    uint8_t* p = t.surface->lock(pitch);
    if (!p)
        return out;
    const int bpp = platform::bytesPerPixel(t.surface->format());
    for (int y = 0; y < t.surface->height(); ++y)
        out.insert(out.end(), p + size_t(y) * pitch, p + size_t(y) * pitch + size_t(t.surface->width()) * bpp);
    t.surface->unlock();
    return out;
}

std::vector<uint8_t> pattern(size_t n, uint8_t seed)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = uint8_t(i * 31 + seed + (i >> 8));
    return v;
}

} // namespace

TEST_F(DeviceTest, WindowCreateSetsUpTheDeviceAndRunsTheEngineInitialisationOnce)
{
    ASSERT_TRUE(dx->Create(&backend.window, true));
    EXPECT_TRUE(dx->display.deviceReady());
    EXPECT_EQ(dx->display.directDraw(), &backend.video);
    EXPECT_FALSE(backend.video.fullscreen());
    EXPECT_TRUE(backend.video.accelerated());
    EXPECT_EQ(countLines("DirectX Create"), 1);
    EXPECT_EQ(dx->screenState, ScreenState::Title);
    EXPECT_FALSE(dx->firstInit);
    EXPECT_FLOAT_EQ(dx->sinTable[900], 1.0f);
    EXPECT_NEAR(dx->cosTable[600], 0.5f, 1e-5);
    EXPECT_TRUE(backend.window.visible);
    // The rasteriser centres pixels on integers, so the calibration keeps the shift.
    EXPECT_FLOAT_EQ(displayProcess().pixelCentreOffset, -0.5f);
    EXPECT_EQ(displayProcess().desktopDepthIndex, 4);
    EXPECT_EQ(dx->display.viewport().dwSize, 44u);
    EXPECT_FLOAT_EQ(dx->display.viewport().dvClipY, 0.75f);
    const auto& st = backend.video.renderStates();
    EXPECT_TRUE(st.alphaBlend);
    EXPECT_EQ(st.textureBlend, platform::TextureBlend::ModulateAlpha);
    EXPECT_EQ(st.srcBlend, platform::BlendFactor::SrcAlpha);
    EXPECT_EQ(st.dstBlend, platform::BlendFactor::InvSrcAlpha);
    EXPECT_EQ(backPixel(0, 0), 8u); // cleared with the fill value 8

    EXPECT_FALSE(dx->Create(&backend.window, true)); // already up

    onGameScreen();
    dx->Reset();
    EXPECT_TRUE(dx->display.deviceReady());
    EXPECT_EQ(dx->screenState, ScreenState::Game); // no second initialisation
    EXPECT_EQ(countLines("Device Reset"), 1);
    EXPECT_EQ(countLines("DirectX Destroy."), 1);
}

TEST_F(DeviceTest, DecliningSoftwareModeKeepsTheHardwareFlagAndFails)
{
    backend.video.acceleratedAvailable = false;
    backend.messageBoxes.answers.push_back(platform::MessageBoxResult::No);
    EXPECT_FALSE(dx->Create(&backend.window, true));
    EXPECT_FALSE(dx->display.deviceReady());
    EXPECT_TRUE(displayProcess().hardware);
    EXPECT_EQ(countLines("HAL: WindowMode Failed"), 1);
    ASSERT_EQ(backend.messageBoxes.shown.size(), 1u);
    const auto& box = backend.messageBoxes.shown[0];
    EXPECT_EQ(platform::sjisToUtf8(box.text),
              "ビデオカードのハードウェア３Ｄ支援機能が使用できません。\nソフトウェアモードの場合、動作が非常に遅い、"
              "不安定な場合があります。\nソフトウェアモードで続行しますか？");
    EXPECT_EQ(box.caption, dx->title);
    EXPECT_EQ(box.type, platform::MessageBoxType::YesNo);
    EXPECT_TRUE(box.hadOwner);
    ASSERT_FALSE(debug.empty());
    EXPECT_EQ(debug[0], "ADV_SYSTEM: (CDirectX::CreateWindowMode) : CreateD3DDevice(HAL) Failed\n");
}

TEST_F(DeviceTest, AcceptedSoftwareModeStaysThroughLaterResetsWithoutAsking)
{
    backend.video.acceleratedAvailable = false;
    ASSERT_TRUE(dx->Create(&backend.window, true));
    EXPECT_FALSE(displayProcess().hardware);
    EXPECT_FALSE(backend.video.accelerated());
    EXPECT_EQ(backend.messageBoxes.shown.size(), 1u);

    backend.video.acceleratedAvailable = true; // even when it would work again
    dx->Reset();
    EXPECT_TRUE(dx->display.deviceReady());
    EXPECT_FALSE(backend.video.accelerated());
    EXPECT_EQ(backend.messageBoxes.shown.size(), 1u);
}

TEST_F(DeviceTest, NoSoftwareEitherFailsWithTheSoftwareLogLine)
{
    backend.video.acceleratedAvailable = false;
    backend.video.softwareAvailable = false;
    EXPECT_FALSE(dx->Create(&backend.window, true));
    EXPECT_EQ(countLines("HAL: WindowMode Failed"), 1);
    EXPECT_EQ(countLines("HEL: WindowMode Failed"), 1);
    EXPECT_EQ(debug.back(), "ADV_SYSTEM: (CDirectX::CreateWindowMode) : CreateD3DDevice(HEL) Failed\n");
}

TEST_F(DeviceTest, FullScreenFallsBackToAWindowAndRemembersIt)
{
    startInFullScreen();
    backend.video.fullscreenAvailable = false;
    ASSERT_TRUE(dx->Create(&backend.window, false));
    EXPECT_TRUE(dx->display.windowed());
    EXPECT_FALSE(backend.video.fullscreen());
    EXPECT_EQ(countLines("HAL: FullScreenMode Failed"), 1);
    EXPECT_EQ(countLines("HEL: FullScreenMode Failed"), 1);
    EXPECT_EQ(countLines("ADV_SYSTEM: (CDirectX::CreateFullScreenMode) : SetDisplayMode Failed"), 2);
    ASSERT_EQ(backend.messageBoxes.shown.size(), 2u);
    EXPECT_EQ(platform::sjisToUtf8(backend.messageBoxes.shown[1].text),
              "フルスクリーンでの起動に失敗しました。\nウィンドウモードで起動しますか？");
    EXPECT_EQ(testsupport::readAll(dir.file("system.dat")).at(0), 1); // saved as a window
}

TEST_F(DeviceTest, DecliningTheWindowFallbackFails)
{
    startInFullScreen();
    backend.video.fullscreenAvailable = false;
    backend.messageBoxes.answers = {platform::MessageBoxResult::Yes, platform::MessageBoxResult::No};
    EXPECT_FALSE(dx->Create(&backend.window, false));
    EXPECT_FALSE(dx->display.windowed());
    EXPECT_FALSE(dx->display.deviceReady());
}

TEST_F(DeviceTest, FullScreenCreateUsesTheWholeDisplay)
{
    startInFullScreen();
    ASSERT_TRUE(dx->Create(&backend.window, false));
    EXPECT_TRUE(backend.video.fullscreen());
    EXPECT_TRUE(backend.window.fullscreen);
    EXPECT_TRUE(backend.video.renderStates().zEnable);
}

TEST_F(DeviceTest, ALostSurfaceAtPresentResetsOnceAndEveryPictureComesBack)
{
    ASSERT_TRUE(dx->Create(&backend.window, true));
    platform::Video* v = &backend.video;
    CTEXTURE t32;
    CTEXTURE_A4R4G4B4 t4444;
    CTEXTURE_R5G6B5 t565;
    CSystemSurface_R8G8B8 sys;
    CTEXTURE neverFilled;
    ASSERT_TRUE(t32.Create(v, 256, 256, false));
    ASSERT_TRUE(t4444.Create(v, 256, 256, false));
    ASSERT_TRUE(t565.Create(v, 64, 64, false));
    ASSERT_TRUE(sys.Create(v, 100, 60, false));
    auto p32 = pattern(256 * 256 * 4, 1), p16 = pattern(256 * 256 * 2, 2), p565 = pattern(64 * 64 * 2, 3),
         psys = pattern(100 * 60 * 4, 4);
    ASSERT_TRUE(t32.Update(p32.data()));
    ASSERT_TRUE(t4444.Update(p16.data()));
    ASSERT_TRUE(t4444.UpdateRect(p565.data(), 10, 20, 8, 4));
    ASSERT_TRUE(t565.Update(p565.data()));
    ASSERT_TRUE(sys.UpdateTexture(psys.data()));
    t32.AcquireHandle(v);
    t4444.AcquireHandle(v);
    auto before32 = surfaceBytes(t32), before4444 = surfaceBytes(t4444), before565 = surfaceBytes(t565),
         beforeSys = surfaceBytes(sys);
    ASSERT_EQ(before32, p32);

    v->loseDevice();
    EXPECT_TRUE(surfaceBytes(t32).empty()); // a lost surface cannot be locked
    dx->Present();
    EXPECT_EQ(countLines("Device Reset"), 1);
    EXPECT_TRUE(dx->display.deviceReady());
    dx->Present();
    EXPECT_EQ(countLines("Device Reset"), 1);

    EXPECT_EQ(surfaceBytes(t32), before32);
    EXPECT_EQ(surfaceBytes(t4444), before4444);
    EXPECT_EQ(surfaceBytes(t565), before565);
    EXPECT_EQ(surfaceBytes(sys), beforeSys);
    EXPECT_TRUE(t32.handle);
    EXPECT_TRUE(t4444.handle);  // it had one, so the walk asked again
    EXPECT_FALSE(t565.handle);  // never bound, stays unbound
    EXPECT_FALSE(neverFilled.surface);
}

// A picture is held once: the surface keeps it through the loss and is its own copy. What
// reaches the pictures between the loss and the reset still shows after it, as the copy took it.
TEST_F(DeviceTest, PicturesUploadedWhileTheDeviceIsLostShowAfterTheReset)
{
    ASSERT_TRUE(dx->Create(&backend.window, true));
    platform::Video* v = &backend.video;
    CTEXTURE t32;
    CSystemSurface_R8G8B8 sys;
    ASSERT_TRUE(t32.Create(v, 256, 256, false));
    ASSERT_TRUE(sys.Create(v, 100, 60, false));
    EXPECT_EQ(t32.shadow, t32.surface);
    EXPECT_EQ(sys.shadowSurface, sys.surface);
    EXPECT_TRUE(sys.shadow.empty());
    const uint64_t held = v->surfaceBytes();

    v->loseDevice();
    auto p32 = pattern(256 * 256 * 4, 7), psys = pattern(100 * 60 * 4, 8);
    EXPECT_FALSE(t32.Update(p32.data()));
    EXPECT_FALSE(sys.UpdateTexture(psys.data()));
    dx->Present();
    ASSERT_EQ(countLines("Device Reset"), 1);
    EXPECT_EQ(surfaceBytes(t32), p32);
    std::vector<uint8_t> want;
    for (size_t i = 0; i < psys.size(); i += 4)
        want.insert(want.end(), {psys[i], psys[i + 1], psys[i + 2], 0});
    EXPECT_EQ(surfaceBytes(sys), want);
    // The old surfaces went with the reset: the device holds what it held before.
    EXPECT_EQ(v->surfaceBytes(), held);
    EXPECT_EQ(t32.shadow, t32.surface);
}

// A system surface follows the desktop's depth through resets: 16 bits lose the low colour
// bits on the screen, and the way back to 32 bits shows the picture exactly again.
TEST_F(DeviceTest, SystemSurfaceComesBackExactAfterA16BitDesktop)
{
    ASSERT_TRUE(dx->Create(&backend.window, true));
    platform::Video* v = &backend.video;
    CSystemSurface_R8G8B8 sys;
    ASSERT_TRUE(sys.Create(v, 16, 4, false));
    auto pic = pattern(16 * 4 * 4, 5);
    ASSERT_TRUE(sys.UpdateTexture(pic.data()));
    const auto exact = surfaceBytes(sys);

    backend.window.desktopBpp = 16;
    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::DisplayChange, 16});
    ASSERT_EQ(countLines("Device Reset"), 1);
    ASSERT_EQ(sys.surface->format(), platform::PixelFormat::R5G6B5);
    EXPECT_FALSE(sys.shadowSurface);
    EXPECT_EQ(sys.shadow.size(), pic.size() + 1);
    uint8_t first[2];
    platform::fromArgb(platform::PixelFormat::R5G6B5, uint32_t(pic[0] | pic[1] << 8 | pic[2] << 16), first);
    EXPECT_EQ(surfaceBytes(sys)[0], first[0]);
    EXPECT_EQ(surfaceBytes(sys)[1], first[1]);

    backend.window.desktopBpp = 32;
    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::DisplayChange, 32});
    ASSERT_EQ(countLines("Device Reset"), 2);
    EXPECT_EQ(sys.surface->format(), platform::PixelFormat::X8R8G8B8);
    EXPECT_EQ(surfaceBytes(sys), exact);
    EXPECT_EQ(sys.shadowSurface, sys.surface);
    EXPECT_TRUE(sys.shadow.empty());
}

TEST_F(DeviceTest, A16BitTextureHasAHandleOnlyAfterAskingAgain)
{
    ASSERT_TRUE(dx->Create(&backend.window, true));
    platform::Video* v = &backend.video;
    CTEXTURE_A4R4G4B4 t;
    CTEXTURE t32;
    ASSERT_TRUE(t.Create(v, 256, 256, false));
    ASSERT_TRUE(t32.Create(v, 256, 256, false));
    t.AcquireHandle(v);
    t.Release();
    t32.Release();
    EXPECT_FALSE(t.handle);
    ASSERT_TRUE(t.Restore(v, v));
    ASSERT_TRUE(t32.Restore(v, v));
    EXPECT_FALSE(t.handle);
    EXPECT_TRUE(t32.handle);
    EXPECT_TRUE(t.AcquireHandle(v));
}

TEST_F(DeviceTest, ADeviceThatCannotComeBackEndsTheProgram)
{
    ASSERT_TRUE(dx->Create(&backend.window, true));
    backend.video.acceleratedAvailable = false;
    backend.video.softwareAvailable = false;
    backend.video.loseDevice();
    dx->Present();
    EXPECT_FALSE(dx->display.deviceReady());
    EXPECT_EQ(countLines("DirectX5 Create failed."), 1);
    ASSERT_FALSE(backend.messageBoxes.shown.empty());
    const auto& box = backend.messageBoxes.shown.back();
    EXPECT_EQ(platform::sjisToUtf8(box.text), "DirectXの初期化に失敗しました。\n");
    EXPECT_FALSE(box.hadOwner);
    EXPECT_EQ(box.type, platform::MessageBoxType::Ok);
    EXPECT_TRUE(dx->quitPosted);
    EXPECT_EQ(dx->quitCode, -255);
}

TEST_F(DeviceTest, PresentWithoutADeviceDoesNothing)
{
    dx->Present();
    EXPECT_EQ(backend.video.presentCount(), 0u);
    EXPECT_TRUE(dx->Destroy()); // nothing to destroy
    EXPECT_EQ(countLines("DirectX Destroy."), 0);
    dx->Reset(); // only when ready
    EXPECT_EQ(countLines("Device Reset"), 0);
}

TEST_F(DeviceTest, ToggleGoesToFullScreenAndBackThroughRestore)
{
    dx->applyDefaultConfig();
    ASSERT_TRUE(dx->Create(&backend.window, true));
    platform::Video* v = &backend.video;
    CTEXTURE t;
    ASSERT_TRUE(t.Create(v, 256, 256, false));
    auto pic = pattern(256 * 256 * 4, 9);
    for (size_t i = 3; i < pic.size(); i += 4)
        pic[i] = 255;
    ASSERT_TRUE(t.Update(pic.data()));
    t.AcquireHandle(v);
    CSprite s;
    s.Set(t, 0, 0, 256, 256);
    auto drawn = [&] {
        v->beginScene();
        s.Draw(*v, 100, 100, 256, 256);
        v->endScene();
        return backPixel(100 + 17, 100 + 33);
    };
    uint32_t want = drawn();
    uint32_t texel;
    std::memcpy(&texel, pic.data() + (33 * 256 + 17) * 4, 4);
    EXPECT_EQ(want, texel);

    dx->toggleDisplayMode();
    EXPECT_FALSE(dx->display.windowed());
    EXPECT_TRUE(backend.video.fullscreen());
    EXPECT_FALSE(dx->display.modeSwitching());
    EXPECT_EQ(testsupport::readAll(dir.file("system.dat")).at(0), 0);
    EXPECT_EQ(drawn(), want);

    dx->toggleDisplayMode();
    EXPECT_TRUE(dx->display.windowed());
    EXPECT_FALSE(backend.video.fullscreen());
    EXPECT_EQ(drawn(), want);
    EXPECT_EQ(countLines("Device Reset"), 2);
}

TEST_F(DeviceTest, DisplayChangeResetsOnlyForANewDepthInAWindow)
{
    ASSERT_TRUE(dx->Create(&backend.window, true));
    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::DisplayChange, 32});
    EXPECT_EQ(countLines("Device Reset"), 0);
    backend.window.desktopBpp = 16;
    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::DisplayChange, 16});
    EXPECT_EQ(countLines("Device Reset"), 1);
    EXPECT_EQ(displayProcess().desktopDepthIndex, 2);
    EXPECT_FALSE(dx->frameSuspended);
}

TEST_F(DeviceTest, LosingActivationInFullScreenFreesTheDeviceAndComingBackRestoresIt)
{
    startInFullScreen();
    ASSERT_TRUE(dx->Create(&backend.window, false));
    CTEXTURE t;
    ASSERT_TRUE(t.Create(&backend.video, 256, 256, false));
    auto pic = pattern(256 * 256 * 4, 5);
    ASSERT_TRUE(t.Update(pic.data()));

    ASSERT_EQ(dx->screenState, ScreenState::Title); // where start-up leaves the game
    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::Deactivate, 0});
    EXPECT_FALSE(dx->display.deviceReady());
    EXPECT_TRUE(dx->minimisedFromFullscreen);
    EXPECT_TRUE(backend.window.minimized);
    EXPECT_FALSE(t.surface);

    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::Activate, 0});
    EXPECT_TRUE(dx->display.deviceReady());
    EXPECT_FALSE(dx->minimisedFromFullscreen);
    EXPECT_FALSE(dx->frameSuspended);
    EXPECT_EQ(surfaceBytes(t), pic);
}

TEST_F(DeviceTest, EarlyScreensKeepTheDeviceWhenDeactivated)
{
    startInFullScreen();
    ASSERT_TRUE(dx->Create(&backend.window, false));
    dx->screenState = ScreenState(3); // below the title
    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::Deactivate, 0});
    EXPECT_TRUE(dx->display.deviceReady());
    EXPECT_FALSE(dx->minimisedFromFullscreen);
}

TEST_F(DeviceTest, PaintWithoutADeviceBlanksTheWindow)
{
    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::Paint, 0});
    EXPECT_EQ(backend.video.blankPaints, 1);
    ASSERT_TRUE(dx->Create(&backend.window, true));
    dx->handleWindowMessage(platform::WindowEvent{platform::WindowMessage::Paint, 0});
    EXPECT_EQ(backend.video.blankPaints, 1);
}

TEST_F(DeviceTest, TheFrameClearsDrawsPresentsAndTheQuitReleasesEverything)
{
    ASSERT_TRUE(dx->Create(&backend.window, true));
    CTEXTURE t;
    ASSERT_TRUE(t.Create(&backend.video, 256, 256, false));
    std::vector<uint8_t> red(256 * 256 * 4);
    for (size_t i = 0; i < red.size(); i += 4) {
        red[i + 2] = 255;
        red[i + 3] = 255;
    }
    ASSERT_TRUE(t.Update(red.data()));
    t.AcquireHandle(&backend.video);
    onGameScreen();
    dx->registerScreen(ScreenState::Game, nullptr, [&](CDirectX& d) {
        CSprite s;
        s.Set(t, 0, 0, 32, 32);
        s.Draw(*d.display.directDraw(), 10, 10, 32, 32);
    });
    backend.clock.set(100);
    ASSERT_EQ(dx->runFrame(), 0);
    EXPECT_EQ(backend.video.presentCount(), 1u);
    EXPECT_FALSE(backend.video.inScene());
    EXPECT_EQ(backPixel(9, 9), 0xFF000000u); // the black clear quad
    EXPECT_EQ(backPixel(10, 10), 0xFFFF0000u);
    EXPECT_EQ(backPixel(41, 41), 0xFFFF0000u);
    EXPECT_EQ(backPixel(42, 42), 0xFF000000u);

    dx->quitRequested = true;
    backend.clock.set(200);
    dx->runFrame();
    EXPECT_TRUE(dx->quitPosted);
    EXPECT_FALSE(dx->display.deviceReady());
    EXPECT_FALSE(t.surface);
    EXPECT_EQ(countLines("DirectX Destroy."), 1);
}

TEST_F(DeviceTest, StartUpWithoutADisplayDeviceTellsTheUserAndEnds)
{
    testsupport::writeEmptyArchive(dir.file("system.pkd"));
    testsupport::CurrentDir inGameFolder(dir.path());
    backend.window.destroy();
    backend.video.acceleratedAvailable = false;
    backend.messageBoxes.answers.push_back(platform::MessageBoxResult::No);
    Application app(*dx);
    EXPECT_EQ(app.run(), -1);
    ASSERT_EQ(backend.messageBoxes.shown.size(), 2u);
    EXPECT_EQ(platform::sjisToUtf8(backend.messageBoxes.shown[1].text), "DirectXの初期化に失敗しました。\n");
    EXPECT_EQ(backend.messageBoxes.shown[1].caption, dx->title);
    // The device comes after the input line of the start-up log.
    auto& lines = runLog().lines();
    auto input = std::find(lines.begin(), lines.end(), "DirectInput Create\n");
    auto hal = std::find(lines.begin(), lines.end(), "HAL: WindowMode Failed\n");
    EXPECT_LT(input, hal);
}

TEST(PixelFormatNames, FollowTheTableWithLaterLinesWinning)
{
    using PF = DDPixelFormat;
    EXPECT_STREQ(pixelFormatName(PF{0, 32, 0xFF0000, 0xFF00, 0xFF, 0}), "Unkown(NotRGB)");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 8, 0, 0, 0, 0}), "P8");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb | PF::kPaletteIndexed8, 8, 0, 0, 0, 0}), "INDEX8");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb | PF::kPaletteIndexedTo8, 8, 0, 0, 0, 0}), "INDEX8(4bit->8bit)");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 8, 0, 0, 0xE0, 0}), "R3G3B2");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb | PF::kAlpha, 8, 0, 0, 0xE0, 0}), "A8");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb | PF::kAlpha | PF::kPaletteIndexed4, 8, 0, 0, 0, 0}), "INDEX4");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 16, 0, 0, 0, 0x1}), "UnKnown(16bit)");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 16, 0x7C00, 0, 0, 0x8000}), "A1R5G5B5");
    EXPECT_STREQ(pixelFormatName(describePixelFormat(platform::PixelFormat::A4R4G4B4)), "A4R4G4B4");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb | PF::kPaletteIndexed8, 16, 0, 0, 0, 0xFF00}), "A8P8");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 16, 0, 0, 0xE0, 0xFF00}), "A8R3G3B2");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 16, 0x7C00, 0x3E0, 0x1F, 0}), "X1R5G5B5");
    EXPECT_STREQ(pixelFormatName(describePixelFormat(platform::PixelFormat::R5G6B5)), "R5G6B5");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 16, 0x0F00, 0xF0, 0xF, 0}), "X4R4G4B4");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 24, 0xFF, 0, 0, 0}), "UnKnown(24bit)");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 24, 0xFF0000, 0, 0, 0}), "R8G8B8");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 32, 0xFF, 0, 0, 0}), "UnKnown(32bit)");
    EXPECT_STREQ(pixelFormatName(describePixelFormat(platform::PixelFormat::A8R8G8B8)), "A8R8G8B8");
    EXPECT_STREQ(pixelFormatName(PF{PF::kRgb, 32, 0x3FF00000, 0, 0, 0x60000000}), "A2R10G10B10");
    EXPECT_STREQ(pixelFormatName(describePixelFormat(platform::PixelFormat::X8R8G8B8)), "X8R8G8B8");
}
