#include "platform/Audio.h"
#include "platform/headless/HeadlessAudio.h"

#include <gtest/gtest.h>
#include <cstring>

using platform::AudioBuffer;
using platform::Mixer;
using platform::PcmFormat;

namespace {
// Fills a 16-bit buffer with one constant value per channel.
void fillConstant(AudioBuffer& b, int16_t left, int16_t right)
{
    AudioBuffer::Region r;
    ASSERT_EQ(b.lock(0, b.size(), r), AudioBuffer::Status::Ok);
    auto* s = reinterpret_cast<int16_t*>(r.p1);
    const uint32_t ch = b.format().channels;
    for (uint32_t i = 0; i < r.n1 / 2; ++i)
        s[i] = (ch == 2 && i % 2) ? right : left;
    ASSERT_EQ(b.unlock(r), AudioBuffer::Status::Ok);
}
} // namespace

TEST(MixerTest, VolumeIsHundredthsOfADecibelAndMonoFeedsBothSides)
{
    Mixer mixer;
    auto b = mixer.createBuffer(PcmFormat{1, 44100, 16}, 4410 * 2);
    ASSERT_TRUE(b);
    fillConstant(*b, 10000, 0);
    ASSERT_EQ(b->play(true), AudioBuffer::Status::Ok);
    std::vector<int16_t> out(64 * 2);

    mixer.mix(out.data(), 64);
    EXPECT_EQ(out[10], 10000);
    EXPECT_EQ(out[11], 10000);

    b->setVolume(-2000); // one tenth
    mixer.mix(out.data(), 64);
    EXPECT_NEAR(out[20], 1000, 2);

    b->setVolume(-600); // about half
    mixer.mix(out.data(), 64);
    EXPECT_NEAR(out[20], 5012, 3);

    b->setVolume(AudioBuffer::kSilence);
    mixer.mix(out.data(), 64);
    EXPECT_EQ(out[20], 0);
    b->setVolume(-20000);
    EXPECT_EQ(b->volume(), AudioBuffer::kSilence);
    b->setVolume(300);
    EXPECT_EQ(b->volume(), 0);
}

TEST(MixerTest, SumsBuffersAndClipsInsteadOfWrapping)
{
    Mixer mixer;
    auto a = mixer.createBuffer(PcmFormat{2, 44100, 16}, 400);
    auto b = mixer.createBuffer(PcmFormat{2, 44100, 16}, 400);
    fillConstant(*a, 30000, -30000);
    fillConstant(*b, 30000, -30000);
    a->play(true);
    b->play(true);
    std::vector<int16_t> out(20);
    mixer.mix(out.data(), 10);
    EXPECT_EQ(out[4], 32767);
    EXPECT_EQ(out[5], -32768);
}

TEST(MixerTest, ResamplesAndInterpolatesToTheOutputRate)
{
    Mixer mixer(44100, 2);
    // A 22050 Hz ramp 0, 100, 200, ...: at twice the rate every other output frame falls
    // half way between two source frames.
    auto b = mixer.createBuffer(PcmFormat{1, 22050, 16}, 1000 * 2);
    AudioBuffer::Region r;
    ASSERT_EQ(b->lock(0, b->size(), r), AudioBuffer::Status::Ok);
    auto* s = reinterpret_cast<int16_t*>(r.p1);
    for (int i = 0; i < 1000; ++i)
        s[i] = int16_t(i * 10);
    b->unlock(r);
    b->play(false);
    std::vector<int16_t> out(200 * 2);
    mixer.mix(out.data(), 200);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 5);
    EXPECT_EQ(out[4], 10);
    EXPECT_EQ(out[2 * 101], 505);
    EXPECT_EQ(b->currentPosition(), 100u * 2);

    // 8-bit unsigned sound is centred on 128.
    auto c = mixer.createBuffer(PcmFormat{1, 44100, 8}, 100);
    ASSERT_EQ(c->lock(0, 100, r), AudioBuffer::Status::Ok);
    std::memset(r.p1, 128 + 10, r.n1);
    c->unlock(r);
    b->stop();
    c->play(true);
    mixer.mix(out.data(), 10);
    EXPECT_EQ(out[6], 10 * 256);
}

TEST(MixerTest, NotificationsFireWhenTheCursorReachesThemAndOneShotBuffersStop)
{
    Mixer mixer;
    auto b = mixer.createBuffer(PcmFormat{2, 44100, 16}, 1000 * 4);
    platform::Event atStart, atHalf;
    ASSERT_TRUE(b->setNotificationPositions({{0, &atStart}, {500 * 4, &atHalf}}));
    std::vector<int16_t> out(2000 * 2);
    b->play(true);
    EXPECT_TRUE(atStart.wait(0)); // starting at 0 reaches 0
    EXPECT_FALSE(b->setNotificationPositions({})); // not while playing
    mixer.mix(out.data(), 499);
    EXPECT_FALSE(atHalf.isSet());
    mixer.mix(out.data(), 1);
    EXPECT_TRUE(atHalf.wait(0));
    EXPECT_FALSE(atHalf.isSet()); // auto-reset
    EXPECT_FALSE(atStart.isSet());
    mixer.mix(out.data(), 500);
    EXPECT_TRUE(atStart.wait(0));
    EXPECT_EQ(b->currentPosition(), 0u);
    mixer.mix(out.data(), 1000);
    EXPECT_TRUE(atHalf.wait(0));
    EXPECT_TRUE(atStart.wait(0));

    b->stop();
    b->setCurrentPosition(900 * 4);
    b->play(false);
    mixer.mix(out.data(), 200);
    EXPECT_FALSE(b->isPlaying());
    EXPECT_EQ(out[2 * 150], 0);
}

TEST(MixerTest, LockWrapsRoundTheRingAndLostBuffersNeedARestore)
{
    Mixer mixer;
    auto b = mixer.createBuffer(PcmFormat{2, 44100, 16}, 400);
    AudioBuffer::Region r;
    ASSERT_EQ(b->lock(300, 200, r), AudioBuffer::Status::Ok);
    EXPECT_EQ(r.n1, 100u);
    EXPECT_EQ(r.n2, 100u);
    ASSERT_NE(r.p2, nullptr);
    EXPECT_EQ(r.p2 + 300, r.p1);
    b->unlock(r);
    EXPECT_EQ(b->lock(400, 4, r), AudioBuffer::Status::Invalid);
    EXPECT_EQ(b->lock(0, 401, r), AudioBuffer::Status::Invalid);

    b->play(true);
    mixer.markAllLost();
    EXPECT_FALSE(b->isPlaying());
    EXPECT_EQ(b->lock(0, 4, r), AudioBuffer::Status::Lost);
    EXPECT_EQ(b->play(true), AudioBuffer::Status::Lost);
    EXPECT_TRUE(b->restore());
    EXPECT_EQ(b->lock(0, 4, r), AudioBuffer::Status::Ok);
    b->unlock(r);
}

TEST(MixerTest, WhatTheWriterHoldsLockedIsNeverPlayedNorInterpolatedTowards)
{
    Mixer mixer(44100, 2);
    // 100 mono frames at half the output rate: each source frame covers two output frames,
    // the second half way towards the next source frame.
    auto b = mixer.createBuffer(PcmFormat{1, 22050, 16}, 100 * 2);
    fillConstant(*b, 1000, 0);
    platform::Event atHalf;
    ASSERT_TRUE(b->setNotificationPositions({{50 * 2, &atHalf}}));
    AudioBuffer::Region held, other;
    ASSERT_EQ(b->lock(50 * 2, 50 * 2, held), AudioBuffer::Status::Ok);
    EXPECT_EQ(b->lock(0, 2, other), AudioBuffer::Status::Invalid); // one writer at a time
    auto* s = reinterpret_cast<int16_t*>(held.p1);
    for (uint32_t i = 0; i < held.n1 / 2; ++i)
        s[i] = 20000;
    ASSERT_EQ(b->play(true), AudioBuffer::Status::Ok);

    std::vector<int16_t> out(200 * 2);
    mixer.mix(out.data(), 200);
    struct Expect { size_t frame; int16_t value; };
    // Source frame 49 stays at its own value instead of leaning towards the held frame 50;
    // the held half is silence; the cursor still passes it and tells the writer.
    for (const Expect& e : {Expect{0, 1000}, Expect{98, 1000}, Expect{99, 1000}, Expect{100, 0}, Expect{199, 0}})
        EXPECT_EQ(out[e.frame * 2], e.value) << "held, frame " << e.frame;
    EXPECT_TRUE(atHalf.wait(0));

    ASSERT_EQ(b->unlock(held), AudioBuffer::Status::Ok);
    mixer.mix(out.data(), 200);
    for (const Expect& e : {Expect{98, 1000}, Expect{99, 10500}, Expect{100, 20000}, Expect{199, 10500}})
        EXPECT_EQ(out[e.frame * 2], e.value) << "released, frame " << e.frame;

    // An owner that stops its buffer and clears the notifications hears from it no more.
    b->stop();
    ASSERT_TRUE(b->setNotificationPositions({}));
    atHalf.reset();
    b->play(true);
    mixer.mix(out.data(), 200);
    EXPECT_FALSE(atHalf.isSet());
}

TEST(MixerTest, RefusesFormatsItCannotPlayAndForgetsReleasedBuffers)
{
    Mixer mixer;
    EXPECT_FALSE(mixer.createBuffer(PcmFormat{6, 44100, 16}, 1200));
    EXPECT_FALSE(mixer.createBuffer(PcmFormat{2, 44100, 24}, 1200));
    EXPECT_FALSE(mixer.createBuffer(PcmFormat{2, 0, 16}, 1200));
    EXPECT_FALSE(mixer.createBuffer(PcmFormat{2, 44100, 16}, 1202));
    EXPECT_FALSE(mixer.createBuffer(PcmFormat{2, 44100, 16}, 0));
    auto b = mixer.createBuffer(PcmFormat{2, 44100, 16}, 1200);
    EXPECT_EQ(mixer.liveBuffers(), 1u);
    b.reset();
    std::vector<int16_t> out(20);
    mixer.mix(out.data(), 10);
    EXPECT_EQ(mixer.liveBuffers(), 0u);

    platform::HeadlessAudio audio;
    EXPECT_FALSE(audio.createBuffer(PcmFormat{2, 44100, 16}, 1200)); // not open
    audio.deviceAvailable = false;
    EXPECT_FALSE(audio.open());
    audio.deviceAvailable = true;
    EXPECT_TRUE(audio.open());
    EXPECT_TRUE(audio.createBuffer(PcmFormat{2, 44100, 16}, 1200));
}

TEST(MixerTest, HeadlessClockFollowsThePulledAudio)
{
    platform::HeadlessAudio audio;
    audio.open();
    EXPECT_EQ(audio.now(), 0u);
    audio.pull(4410);
    EXPECT_EQ(audio.now(), 100u);
    audio.pull(44100);
    EXPECT_EQ(audio.now(), 1100u);
}
