// Streams loading, playing, fading, stopping and going away while a mixer plays by itself,
// the way the SDL callback drives them. Run under ThreadSanitizer in CI: the headless pull
// waits for the workers before it mixes, so only a free-running mixer shows the interleavings
// a sound card produces.
#include "SoundFixture.h"
#include "platform/DebugOutput.h"
#include "sound/COggStream.h"

#include <array>
#include <chrono>
#include <memory>
#include <random>
#include <thread>

using namespace soundtest;

namespace {
using Clock = std::chrono::steady_clock;

// A sound card that plays on its own: a thread mixes a block every few milliseconds of real
// time, and the sound threads' clock and sleeps are real time. Unpaced, at a low output rate,
// it runs through a stream's halves far faster than any worker refills them: every half
// boundary is contested, as when a worker is starved for a whole second on a loaded machine.
class FreeRunningAudio final : public platform::Audio {
public:
    static constexpr size_t kBlock = 256;

    FreeRunningAudio(uint32_t outRate, bool paced) : Audio(outRate, 2), paced_(paced) {}
    ~FreeRunningAudio() override { close(); }

    bool open() override
    {
        close();
        running_.store(true);
        open_.store(true);
        thread_ = std::thread([this] { run(); });
        return true;
    }
    void close() override
    {
        open_.store(false);
        running_.store(false);
        if (thread_.joinable())
            thread_.join();
    }
    uint32_t now() override
    {
        return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count());
    }
    void sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

    int loudest() const { return loudest_.load(); }

private:
    void run()
    {
        std::vector<int16_t> out(kBlock * mixer_->outChannels());
        const auto period = std::chrono::microseconds(kBlock * 1000000 / mixer_->outRate());
        auto next = Clock::now();
        while (running_.load()) {
            mixer_->mix(out.data(), kBlock);
            for (int16_t s : out)
                if (std::abs(int(s)) > loudest_.load(std::memory_order_relaxed))
                    loudest_.store(std::abs(int(s)), std::memory_order_relaxed);
            if (!paced_) {
                std::this_thread::yield();
                continue;
            }
            next += period;
            const auto now = Clock::now();
            if (now > next + std::chrono::milliseconds(50))
                next = now; // fallen behind: go on from here rather than race to catch up
            std::this_thread::sleep_until(next);
        }
    }

    const bool paced_;
    const Clock::time_point start_ = Clock::now();
    std::atomic<bool> running_{false};
    std::atomic<int> loudest_{0};
    std::thread thread_;
};

const char* const kFiles[] = {"SE/short.ogg", "BGM/loop.ogg", "BGM/long.ogg", "VOICE/mono.ogg"};
} // namespace

class StreamStressTest : public SoundTest {
protected:
    void SetUp() override
    {
        SoundTest::SetUp();
        platform::setDebugOutputSink([this](std::string_view t) {
            std::lock_guard<std::mutex> lock(debugMutex);
            debugLines.emplace_back(t);
        });
        writeSine("SE/short.ogg", 0.25);
        writeSine("BGM/loop.ogg", 30000.0 / 44100.0);
        writeSine("BGM/long.ogg", 2.5);
        writeSine("VOICE/mono.ogg", 1.2, 1, 22050);
    }
    void TearDown() override
    {
        if (audio)
            audio->close();
        platform::setDebugOutputSink(nullptr);
        SoundTest::TearDown();
    }

    std::unique_ptr<COggStream> newStream()
    {
        auto s = std::make_unique<COggStream>();
        s->attach(audio.get());
        return s;
    }
    std::string file(std::mt19937& rng) { return gamePath(kFiles[rng() % std::size(kFiles)]); }

    void startDevice(uint32_t outRate, bool paced)
    {
        audio = std::make_unique<FreeRunningAudio>(outRate, paced);
        audio->open();
    }

    std::unique_ptr<FreeRunningAudio> audio;
    std::mutex debugMutex;
    std::vector<std::string> debugLines;
};

TEST_F(StreamStressTest, StreamsComeAndGoWhileTheMixerPlays)
{
    startDevice(1000, false);
    std::array<std::unique_ptr<COggStream>, 12> streams;
    for (auto& s : streams)
        s = newStream();
    std::mt19937 rng(28);

    // A fixed script of game actions, a few seconds long, on streams picked at random.
    for (int step = 0; step < 120; ++step) {
        auto& s = streams[rng() % streams.size()];
        switch (rng() % 8) {
        case 0:
        case 1:
        case 2:
            if (!s->isPlaying()) {
                ASSERT_EQ(s->load(file(rng)), 0);
                ASSERT_TRUE(s->play(rng() % 2 == 0));
            } else {
                EXPECT_EQ(s->load(file(rng)), -1) << "a playing stream refuses a load";
            }
            break;
        case 3:
            s->fadeOut(int(rng() % 4));
            break;
        case 4:
            s->setVolume(int(rng() % 100));
            break;
        case 5:
        case 6:
            if (rng() % 2) {
                // A stop during the slowest fade must still end the worker.
                s->fadeOut(2);
                std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 40));
            }
            s->stop();
            ASSERT_FALSE(s->isPlaying());
            ASSERT_EQ(s->load(file(rng)), 0) << "a stopped stream takes a new file";
            break;
        default:
            s = newStream(); // the old one goes away, playing or not
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(rng() % 8));
    }
    for (auto& s : streams) {
        s->stop();
        EXPECT_FALSE(s->isPlaying());
    }
    streams = {};
    EXPECT_GT(audio->loudest(), 1000) << "the mixer heard the streams";
    // A mix under way keeps the buffers it plays until it ends; none is left after the last.
    audio->close();
    EXPECT_EQ(audio->mixer().liveBuffers(), 0u);
}

TEST_F(StreamStressTest, ShutdownInTheMiddleOfPlayback)
{
    // The game's full set: music, eight effects, eight voices, all playing at once.
    startDevice(44100, true);
    std::array<std::unique_ptr<COggStream>, 17> streams;
    for (size_t i = 0; i < streams.size(); ++i) {
        streams[i] = newStream();
        ASSERT_EQ(streams[i]->load(gamePath(i == 0 ? "BGM/loop.ogg" : kFiles[i % std::size(kFiles)])), 0);
        ASSERT_TRUE(streams[i]->play(i % 2 == 0));
        if (i % 3 == 0)
            streams[i]->fadeOut(int(i % 4));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));

    // As the window goes away: some streams are stopped while the device still plays, the
    // device closes with the rest still running, and those are stopped or simply destroyed.
    for (size_t i = 0; i < streams.size(); i += 3) {
        streams[i]->stop();
        EXPECT_FALSE(streams[i]->isPlaying());
    }
    audio->close();
    for (size_t i = 1; i < streams.size(); i += 3) {
        streams[i]->stop();
        EXPECT_FALSE(streams[i]->isPlaying());
    }
    streams = {};
    EXPECT_EQ(audio->mixer().liveBuffers(), 0u);
}
