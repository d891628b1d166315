#include "SoundFixture.h"
#include "platform/DebugOutput.h"
#include "sound/COggStream.h"

#include <cstdlib>

using namespace soundtest;

namespace {
// Largest step between neighbouring left samples in [from, to): a gap or a click shows
// as a step far above what the 441 Hz test tone makes.
int largestStep(const std::vector<int16_t>& s, size_t fromFrame, size_t toFrame)
{
    int step = 0;
    for (size_t i = fromFrame + 1; i < toFrame; ++i)
        step = std::max(step, std::abs(int(s[i * 2]) - int(s[(i - 1) * 2])));
    return step;
}
} // namespace

class OggStreamTest : public SoundTest {
protected:
    void SetUp() override
    {
        SoundTest::SetUp();
        stream.attach(&backend.audio);
        platform::setDebugOutputSink([this](std::string_view t) { debugLines.emplace_back(t); });
    }
    void TearDown() override
    {
        stream.stop();
        platform::setDebugOutputSink(nullptr);
        SoundTest::TearDown();
    }
    COggStream stream;
    std::vector<std::string> debugLines;
};

TEST_F(OggStreamTest, LoadReadsTheFormatAndNamesTheFile)
{
    writeSine("BGM/theme.ogg", 0.5, 1, 22050);
    ASSERT_EQ(stream.load(gamePath("BGM/Theme.ogg")), 0);
    EXPECT_EQ(stream.displayName(), "Theme.ogg");
    EXPECT_EQ(stream.format().channels, 1);
    EXPECT_EQ(stream.format().sampleRate, 22050u);
    EXPECT_EQ(stream.bufferBytes(), 2u * 22050 * 2);
    EXPECT_TRUE(stream.hasFile());
    EXPECT_EQ(stream.volume(), 99.0f);
}

TEST_F(OggStreamTest, LoopingRestartsWithoutAGapOrClick)
{
    // 300 whole periods, so the waveform runs on across the loop point.
    writeSine("BGM/loop.ogg", 30000.0 / 44100.0);
    ASSERT_EQ(stream.load(gamePath("BGM/loop.ogg")), 0);
    ASSERT_TRUE(stream.play(true));
    pullSeconds(3.5);
    EXPECT_TRUE(stream.isPlaying());
    // The loop comes round at frames 30000, 60000, ... and the halves change every second.
    EXPECT_LT(largestStep(heard, 10, heardFrames()), 1500);
    for (size_t at = 0; at + 100 < heardFrames(); at += 100)
        ASSERT_GT(peak(heard, at * 2, (at + 100) * 2), 9000) << "silent period at frame " << at;
}

TEST_F(OggStreamTest, AOneShotStreamEndsPaddedWithSilenceAndCloses)
{
    writeSine("BGM/once.ogg", 1.5);
    ASSERT_EQ(stream.load(gamePath("BGM/once.ogg")), 0);
    ASSERT_TRUE(stream.play(false));
    const uint32_t ms = pullUntil([&] { return !stream.isPlaying(); }, 4.0);
    // The end lies in the second half, which finishes playing at 2 s.
    EXPECT_GE(ms, 1990u);
    EXPECT_LE(ms, 2100u);
    EXPECT_GT(peak(heard, 0, 44100 * 2), 9000);
    EXPECT_GT(peak(heard, 66000 * 2, 66150 * 2), 5000);
    EXPECT_EQ(peak(heard, 66300 * 2, 88200 * 2), 0);
    // The stream is empty again: it must be loaded before it plays.
    EXPECT_FALSE(stream.hasFile());
    EXPECT_FALSE(stream.play(false));
    ASSERT_EQ(stream.load(gamePath("BGM/once.ogg")), 0);
    EXPECT_TRUE(stream.play(false));
}

TEST_F(OggStreamTest, AShortOneShotEndsAfterItsFirstHalf)
{
    writeSine("SE/blip.ogg", 0.3);
    ASSERT_EQ(stream.load(gamePath("SE/blip.ogg")), 0);
    ASSERT_TRUE(stream.play(false));
    const uint32_t ms = pullUntil([&] { return !stream.isPlaying(); }, 3.0);
    EXPECT_GE(ms, 990u);
    EXPECT_LE(ms, 1100u);
    EXPECT_EQ(peak(heard, 13500 * 2, heardFrames() * 2), 0);
}

TEST_F(OggStreamTest, ATypeOneFadeLastsAboutOnePointSevenSeconds)
{
    writeSine("BGM/loop.ogg", 30000.0 / 44100.0);
    ASSERT_EQ(stream.load(gamePath("BGM/loop.ogg")), 0);
    ASSERT_TRUE(stream.play(true));
    pullSeconds(0.3);
    const size_t fadeStart = heardFrames();
    stream.fadeOut(1);
    EXPECT_TRUE(stream.isFading());
    EXPECT_FALSE(stream.play(true));
    stream.fadeOut(3); // ignored while a fade runs
    const uint32_t ms = pullUntil([&] { return !stream.isPlaying(); }, 4.0, 176);
    EXPECT_GE(ms, 1600u);
    EXPECT_LE(ms, 1800u);
    EXPECT_FALSE(stream.isFading());
    EXPECT_EQ(stream.attenuation(), -10000.0f);
    // Louder at the start of the fade than half way, quieter still near its end.
    const int early = peak(heard, fadeStart * 2, (fadeStart + 4410) * 2);
    const int middle = peak(heard, (fadeStart + 36000) * 2, (fadeStart + 40410) * 2);
    const int late = peak(heard, (fadeStart + 66000) * 2, (fadeStart + 70410) * 2);
    EXPECT_GT(early, middle * 2);
    EXPECT_GT(middle, late);
    EXPECT_FALSE(stream.hasFile());
}

TEST_F(OggStreamTest, TheQuickFadeTakesAboutFiftyMilliseconds)
{
    writeSine("VOICE/v.ogg", 1.0);
    ASSERT_EQ(stream.load(gamePath("VOICE/v.ogg")), 0);
    ASSERT_TRUE(stream.play(false));
    pullSeconds(0.2);
    stream.fadeOut(3);
    const uint32_t ms = pullUntil([&] { return !stream.isPlaying(); }, 1.0, 44);
    // Seven 6 ms ticks, seen by a worker that looks every 8 ms.
    EXPECT_GE(ms, 35u);
    EXPECT_LE(ms, 70u);
}

TEST_F(OggStreamTest, StopEndsTheWorkerAndTheStreamCanBeUsedAgain)
{
    writeSine("BGM/loop.ogg", 30000.0 / 44100.0);
    ASSERT_EQ(stream.load(gamePath("BGM/loop.ogg")), 0);
    ASSERT_TRUE(stream.play(true));
    EXPECT_FALSE(stream.play(true));
    EXPECT_EQ(stream.load(gamePath("BGM/loop.ogg")), -1); // busy
    pullSeconds(0.2);
    stream.stop();
    EXPECT_FALSE(stream.isPlaying());
    EXPECT_TRUE(debugLines.empty());
    auto after = backend.audio.pull(4410);
    EXPECT_EQ(peak(after), 0);

    ASSERT_EQ(stream.load(gamePath("BGM/loop.ogg")), 0);
    stream.stop(); // loaded but not playing: closes the file
    EXPECT_FALSE(stream.hasFile());
    EXPECT_FALSE(stream.play(true));
    ASSERT_EQ(stream.load(gamePath("BGM/loop.ogg")), 0);
    stream.setVolume(30);
    EXPECT_EQ(stream.volume(), 31.0f);
    ASSERT_TRUE(stream.play(true));
    heard.clear();
    pullSeconds(0.3);
    // Volume 31 is -23.4 dB: the 12000 tone comes out near 810.
    EXPECT_NEAR(peak(heard, 4410 * 2, heard.size()), 12000 * std::pow(10.0, -2342 / 2000.0), 60);
    stream.setVolume(150);
    EXPECT_EQ(stream.volume(), 100.0f);
    stream.setVolume(-5);
    EXPECT_EQ(stream.volume(), 1.0f);
}

TEST_F(OggStreamTest, BadFilesFailToLoadWhileOtherStreamsPlayOn)
{
    writeSine("BGM/loop.ogg", 30000.0 / 44100.0);
    ASSERT_EQ(stream.load(gamePath("BGM/loop.ogg")), 0);
    ASSERT_TRUE(stream.play(true));

    COggStream other;
    other.attach(&backend.audio);
    EXPECT_EQ(other.load(gamePath("SE/missing.ogg")), -1);
    testsupport::writeText(soundFile("SE/text.ogg"), "this is not an Ogg stream at all");
    EXPECT_EQ(other.load(gamePath("SE/text.ogg")), -1);
    EXPECT_FALSE(other.hasFile());
    EXPECT_FALSE(other.play(false));

    // Truncated copies either refuse to open or play what they hold and end.
    auto whole = testsupport::readAll(soundFile("BGM/loop.ogg"));
    for (size_t cut : {size_t(10), size_t(60), size_t(400), whole.size() / 3, whole.size() - 7}) {
        testsupport::writeAll(soundFile("SE/cut.ogg"), std::vector<uint8_t>(whole.begin(), whole.begin() + std::ptrdiff_t(cut)));
        const int r = other.load(gamePath("SE/cut.ogg"));
        EXPECT_TRUE(r == 0 || r == -1) << cut;
        if (r == 0 && other.play(false))
            pullUntil([&] { return !other.isPlaying(); }, 3.0);
        EXPECT_FALSE(other.isPlaying()) << cut;
        other.stop();
    }

    heard.clear();
    pullSeconds(0.2);
    EXPECT_TRUE(stream.isPlaying());
    EXPECT_GT(peak(heard), 9000);
}

TEST_F(OggStreamTest, ABufferThatCannotBeSetUpClosesTheFileAndRefusesPlay)
{
    // Three channels open as Ogg Vorbis but cannot be mixed.
    ASSERT_TRUE(writeOgg(soundFile("SE/three.ogg"), sine(4410, 3), 3, 44100));
    EXPECT_EQ(stream.load(gamePath("SE/three.ogg")), -2);
    EXPECT_FALSE(stream.hasFile());
    EXPECT_FALSE(stream.play(false));

    // Without a sound device no buffer can be set up either.
    writeSine("SE/ok.ogg", 0.1);
    COggStream detached;
    EXPECT_EQ(detached.load(gamePath("SE/ok.ogg")), -2);
    EXPECT_FALSE(detached.play(true));
    detached.stop();
    detached.fadeOut(1);
    EXPECT_FALSE(detached.isFading());
}

TEST_F(OggStreamTest, AFadeAskedOfASilentStreamDoesNotBlockTheNextPlay)
{
    writeSine("BGM/loop.ogg", 30000.0 / 44100.0);
    ASSERT_EQ(stream.load(gamePath("BGM/loop.ogg")), 0);
    stream.fadeOut(1);
    EXPECT_FALSE(stream.isFading());
    EXPECT_TRUE(stream.play(true));
}
