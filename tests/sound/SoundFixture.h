#pragma once
#include "../app/EngineFixture.h"
#include "SoundTestFiles.h"
#include "platform/Text.h"

#include <filesystem>
#include <functional>

// A headless engine with an open sound device and the game's sound folders.
class SoundTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        for (const char* sub : {"BGM", "SE", "VOICE"})
            std::filesystem::create_directories(dir.path() / "SOUND" / sub);
        backend.audio.open();
    }

    // Host path of a file below SOUND/.
    std::string soundFile(const std::string& rel) const { return (dir.path() / "SOUND" / rel).string(); }
    // The path a stream is given, as the game writes it.
    std::string gamePath(const std::string& rel) const
    {
        std::string p = platform::utf8ToSjis(dir.str()) + "\\SOUND\\" + rel;
        for (char& c : p)
            if (c == '/')
                c = '\\';
        return p;
    }
    void writeSine(const std::string& rel, double seconds, int channels = 2, long rate = 44100)
    {
        ASSERT_TRUE(soundtest::writeOgg(soundFile(rel), soundtest::sine(size_t(seconds * double(rate)), channels),
                                        channels, rate));
    }

    static constexpr size_t kBlock = 441; // 10 ms at 44.1 kHz

    // Pulls blocks until done() or maxSeconds of audio; returns the pulled milliseconds.
    uint32_t pullUntil(const std::function<bool()>& done, double maxSeconds, size_t block = kBlock)
    {
        const uint32_t start = backend.audio.now();
        while (!done() && double(backend.audio.now() - start) < maxSeconds * 1000.0)
            append(backend.audio.pull(block));
        return backend.audio.now() - start;
    }
    void pullSeconds(double seconds, size_t block = kBlock)
    {
        pullUntil([] { return false; }, seconds, block);
    }
    void append(const std::vector<int16_t>& s) { heard.insert(heard.end(), s.begin(), s.end()); }
    // Left channel sample at output frame i of everything pulled so far.
    int left(size_t frame) const { return heard[frame * 2]; }
    size_t heardFrames() const { return heard.size() / 2; }

    std::vector<int16_t> heard;
};
