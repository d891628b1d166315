#pragma once
// A headless engine with its display and sound devices up, entering the typing screen from a
// scenario through "@type_start t", on an archive built here.
#include "../app/EngineFixture.h"
#include "../resources/PngWrite.h"

#include "input/KeyCodes.h"
#include "platform/Text.h"
#include "tools/pkd/PackWriter.h"
#include "typing/TypingScreen.h"

#include <filesystem>
#include <fstream>

namespace typingtest {

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

// A short 16-bit mono WAV.
inline void writeWav(const std::filesystem::path& path)
{
    std::filesystem::create_directories(path.parent_path());
    const uint32_t frames = 2205, rate = 22050, bytes = frames * 2;
    std::vector<uint8_t> b;
    auto put = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            b.push_back(uint8_t(v >> (8 * i)));
    };
    auto tag = [&](const char* t) { b.insert(b.end(), t, t + 4); };
    tag("RIFF");
    put(36 + bytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(bytes, 4);
    for (uint32_t i = 0; i < frames; ++i)
        put(uint32_t(int16_t((i % 50) * 300)), 2);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

} // namespace typingtest

class TypingScreenTest : public EngineTest {
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
        backend.audio.open();
        ASSERT_TRUE(dx->startSound());
        for (const char* f : {"beep01.wav", "beep02.wav", "MsgType.wav", "beep04.wav", "SYSTEM/ok.wav",
                              "SYSTEM/cancel.wav", "SYSTEM/logo.wav", "SYSTEM/test.wav"})
            typingtest::writeWav(dir.path() / "SOUND" / "SE" / f);
        backend.window.pointerX = 400;
        backend.window.pointerY = 300;
        dx->lastFrameTime = now_;
        backend.clock.set(now_);
    }
    void TearDown() override
    {
        dx.reset();
        std::filesystem::current_path(oldCwd_);
        EngineTest::TearDown();
    }

    // Writes the archive with the typing script "TYPE\\t" (UTF-8, lines end in CR LF) and
    // starts it from a scenario; the frame after, the typing screen is up.
    void start(const std::string& typingUtf8, bool withScript = true)
    {
        PackWriter w;
        auto text = [](const std::string& utf8) {
            std::string crlf;
            for (char c : platform::utf8ToSjis(utf8))
                crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
            return std::vector<uint8_t>(crlf.begin(), crlf.end());
        };
        if (withScript)
            w.addBytes("TYPE\\t", text(typingUtf8));
        w.addBytes("SCP\\t_clear", text("@wait 10\n"));
        w.addBytes("SCP\\t_gameover", text("@wait 10\n"));
        w.addBytes("BG\\black.png", typingtest::solidPng(800, 600, 0x000000));
        w.addBytes("TYPE\\bg.png", typingtest::solidPng(800, 600, 0x3060C0));
        w.addBytes("SYSTEM\\typetex.png", typingtest::solidPng(256, 256, 0xFFFFFF));
        std::string error;
        const std::string pkd = (dir.path() / "system.pkd").string();
        ASSERT_TRUE(w.write(pkd, error)) << error;
        ASSERT_TRUE(dx->archive.Open(pkd));
        ASSERT_TRUE(dx->script.loadFromBytes("start.scp", std::string("@type_start t\r\n")));
        dx->screenState = ScreenState::Game;
        dx->gameState = GameState::Ready;
        frame();
        ASSERT_EQ(dx->screenState, ScreenState::Typing);
        runLog().clear();
    }

    void frame(int ms = 16)
    {
        now_ += uint32_t(ms);
        backend.clock.set(now_);
        dx->runFrame();
    }
    void frames(int n, int ms = 16)
    {
        for (int i = 0; i < n; ++i)
            frame(ms);
    }
    // Frames until the screen is in state s (at most limit frames); true when it got there.
    bool until(TypingState s, int limit = 200, int ms = 16)
    {
        for (int i = 0; i < limit && dx->typing.state != s; ++i)
            frame(ms);
        return dx->typing.state == s;
    }
    void key(uint8_t code)
    {
        backend.input.keyDown(code);
        frame();
        backend.input.keyUp(code);
        frame();
    }
    // Types letters, minus and comma with their keys, one key at a time.
    void type(std::string_view keys)
    {
        for (char c : keys)
            for (const TypingKey& k : TypingKeyTable)
                if (k.character == c)
                    key(k.scanCode);
    }
    bool logged(std::string_view sjisLine) const { return runLog().contains(std::string(sjisLine) + "\n"); }
    size_t logCount(std::string_view text) const
    {
        size_t n = 0;
        for (const std::string& l : runLog().lines())
            n += l.find(text) != std::string::npos;
        return n;
    }
    // 0xRRGGBB of a back-buffer pixel.
    uint32_t pixel(int x, int y)
    {
        const platform::Surface* bb = backend.video.backBuffer();
        const uint8_t* p = bb->data() + size_t(y) * size_t(bb->pitch()) + size_t(x) * 4;
        return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }

    TypingMode& t() { return dx->typing; }
    uint32_t now_ = 1000;
    std::filesystem::path oldCwd_;
};
