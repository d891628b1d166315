#pragma once
// The program started in a small game folder of its own (title picture, menu strips, the
// button atlas, the interface sounds, a start script) and played frame by frame like the
// runner plays it: keys, clicks and pointer moves go in, the screens are looked at between
// frames.
#include "../app/EngineFixture.h"
#include "../sound/SoundTestFiles.h"

#include "app/Application.h"
#include "input/KeyCodes.h"
#include "platform/Text.h"
#include "tools/demo/Interface.h"
#include "tools/demo/Writers.h"
#include "tools/pkd/PackWriter.h"

#include <algorithm>
#include <filesystem>

struct ScreensGame {
    bool title = true, logo = true, buttons = true, sounds = true;
    std::string startScript = "@test_title started\r\n@wait 100000\r\n";
    bool galleryAtlas = false; // "SYSTEM\\systex2.png" even without the buttons
    // Further archive entries (name, bytes).
    std::vector<std::pair<std::string, std::vector<uint8_t>>> entries;
};

class ScreensTest : public EngineTest {
public:
    static constexpr uint8_t kTitleBlue = 200; // blue of the plain title picture

    void SetUp() override { EngineTest::SetUp(); }
    void TearDown() override
    {
        if (app_ && !dx->quitPosted)
            dx->destroyMainWindow();
        if (app_)
            app_->finish();
        app_.reset();
        EngineTest::TearDown();
    }

    void makeGame(const ScreensGame& g = {})
    {
        PackWriter w;
        if (g.title) {
            std::vector<uint8_t> rgb(800 * 600 * 3);
            for (size_t i = 0; i < rgb.size(); i += 3) {
                rgb[i] = 20;
                rgb[i + 1] = 30;
                rgb[i + 2] = kTitleBlue;
            }
            w.addBytes("BG\\title.png", demo::encodePngRgb(800, 600, rgb));
        }
        auto atlas = [&](SpriteAtlas a, const char* name) {
            demo::Image img = demo::drawAtlas(a, {});
            w.addBytes(name, demo::encodePngRgba(img.width(), img.height(), img.rgba8()));
        };
        if (g.logo)
            atlas(SpriteAtlas::Logotex5, "SYSTEM\\logotex5.png");
        if (g.buttons) {
            atlas(SpriteAtlas::Systex1, "SYSTEM\\systex1.png");
            atlas(SpriteAtlas::Systex2, "SYSTEM\\systex2.png");
            atlas(SpriteAtlas::Systex3, "SYSTEM\\systex3.png");
        } else if (g.galleryAtlas) {
            atlas(SpriteAtlas::Systex2, "SYSTEM\\systex2.png");
        }
        for (const auto& [name, bytes] : g.entries)
            w.addBytes(name, bytes);
        if (!g.startScript.empty())
            w.addBytes("SCP\\startup.scp", std::vector<uint8_t>(g.startScript.begin(), g.startScript.end()));
        std::string error;
        ASSERT_TRUE(w.write(dir.file("system.pkd"), error)) << error;
        if (g.sounds) {
            std::filesystem::create_directories(dir.path() / "SOUND" / "SE" / "SYSTEM");
            const std::vector<uint8_t> wav = soundtest::wavImage(soundtest::sine(2205, 1), 1, 22050);
            for (const char* n : {"ok.wav", "cancel.wav", "logo.wav", "test.wav"})
                testsupport::writeAll((dir.path() / "SOUND" / "SE" / "SYSTEM" / n).string(), wav);
        }
    }

    // A plain 800 x 600 picture of one colour, as a PNG.
    static std::vector<uint8_t> plainPicture(uint8_t r, uint8_t g, uint8_t b)
    {
        std::vector<uint8_t> rgb(800 * 600 * 3);
        for (size_t i = 0; i < rgb.size(); i += 3) {
            rgb[i] = r;
            rgb[i + 1] = g;
            rgb[i + 2] = b;
        }
        return demo::encodePngRgb(800, 600, rgb);
    }

    // Starts the program in the folder, focused, and runs its first frame.
    void start(const ScreensGame& g = {})
    {
        makeGame(g);
        app_ = std::make_unique<Application>(*dx);
        ASSERT_TRUE(app_->start());
        backend.window.post(platform::WindowMessage::Activate);
        pointer(700, 590);
        frame();
    }

    // One drawn frame ms after the last (the frame's own sleeps fall inside the step, as in
    // the runner); false once the program has ended.
    bool frame(int ms = 16)
    {
        due_ = (due_ == 0 ? backend.clock.now() : due_) + uint32_t(ms);
        if (int32_t(due_ - backend.clock.now()) > 0)
            backend.clock.set(due_);
        for (int pass = 0; pass < 8; ++pass) {
            if (!app_->step())
                return false;
            if (app_->frameRanInLastStep())
                return true;
        }
        return true;
    }
    void frames(int n)
    {
        for (int i = 0; i < n && frame(); ++i) {
        }
    }
    void pointer(int x, int y)
    {
        backend.window.pointerX = x;
        backend.window.pointerY = y;
    }
    void tap(uint8_t key)
    {
        backend.input.keyDown(key);
        backend.input.keyUp(key);
    }
    void click(int x, int y)
    {
        pointer(x, y);
        backend.input.buttonDown(0);
        backend.input.buttonUp(0);
    }
    // Alt+Enter pressed for one frame, then let go.
    void altEnter()
    {
        backend.input.keyDown(DIK_LMENU);
        backend.input.keyDown(DIK_RETURN);
        frame();
        backend.input.keyUp(DIK_RETURN);
        backend.input.keyUp(DIK_LMENU);
    }
    void closeWindow() { backend.window.post(platform::WindowMessage::Close); }

    // The back buffer's pixel as 0xRRGGBB.
    uint32_t pixel(int x, int y)
    {
        const platform::Surface* bb = backend.video.backBuffer();
        const uint8_t* p = bb->data() + size_t(y) * size_t(bb->pitch()) + size_t(x) * 4;
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
    // The mean of red + green + blue over a rectangle of the back buffer.
    double brightness(int x, int y, int w, int h)
    {
        double sum = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) {
                const uint32_t c = pixel(i, j);
                sum += double((c >> 16) & 0xFF) + double((c >> 8) & 0xFF) + double(c & 0xFF);
            }
        return sum / (w * h);
    }
    // Pixels of the rectangle that are white.
    int whitePixels(int x, int y, int w, int h)
    {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                n += pixel(i, j) == 0xFFFFFF;
        return n;
    }
    bool logged(std::string_view utf8) const
    {
        const std::string want = platform::utf8ToSjis(std::string(utf8));
        const auto& lines = runLog().lines();
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.find(want) != std::string::npos; });
    }
    bool confirmSoundPlayed() const { return dx->sound.systemSounds[0].isPlaying(); }

    std::unique_ptr<Application> app_;
    uint32_t due_ = 0;
};
