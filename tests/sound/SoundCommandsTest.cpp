#include "SoundFixture.h"
#include "app/Application.h"
#include "sound/SoundVolume.h"

using namespace soundtest;

class SoundCommandsTest : public SoundTest {
protected:
    // Starts the program with the given settings written to "system.dat" first.
    void startWith(const std::function<void(SystemConfig&)>& edit)
    {
        dx->applyDefaultConfig();
        edit(dx->config);
        ASSERT_TRUE(dx->saveConfig());
        testsupport::writeEmptyArchive(dir.file("system.pkd"));
        inFolder_ = std::make_unique<testsupport::CurrentDir>(dir.path());
        app = std::make_unique<Application>(*dx);
        ASSERT_TRUE(app->start());
    }
    void TearDown() override
    {
        if (app) {
            dx->destroyMainWindow();
            app->finish();
        }
        inFolder_.reset();
        SoundTest::TearDown();
    }
    bool logged(const std::string& line) { return runLog().contains(line); }
    std::unique_ptr<Application> app;
    std::unique_ptr<testsupport::CurrentDir> inFolder_;
};

TEST_F(SoundCommandsTest, StartUpAttachesEveryStreamWithTheConfiguredVolumes)
{
    startWith([](SystemConfig& c) {
        c.bgmLevel = 0;
        c.seLevel = 3;
        c.voiceOn = 0;
    });
    EXPECT_TRUE(logged("DirectSound Create\n"));
    EXPECT_TRUE(dx->sound.device.ready());
    EXPECT_EQ(dx->sound.bgm.volume(), 31.0f);
    for (auto& s : dx->sound.se)
        EXPECT_EQ(s.volume(), 61.0f);
    for (auto& b : dx->sound.systemSounds)
        EXPECT_EQ(b.volume(), 61.0f);
    for (auto& v : dx->sound.voice)
        EXPECT_EQ(v.volume(), 1.0f);
    EXPECT_NEAR(attenuationForVolume(dx->sound.voice[0].volume()), -9210, 1);
}

TEST_F(SoundCommandsTest, WithoutASoundDeviceTheGameRunsMute)
{
    backend.audio.deviceAvailable = false;
    startWith([](SystemConfig&) {});
    EXPECT_FALSE(dx->sound.device.ready());
    writeSine("BGM/theme.ogg", 0.2);
    EXPECT_EQ(dx->sound.bgmLoadCommand("theme.ogg"), CommandResult::Failed);
    EXPECT_EQ(dx->sound.bgmCommand("play"), CommandResult::Failed);
    EXPECT_FALSE(dx->sound.bgm.isPlaying());
    EXPECT_EQ(dx->sound.seLoadCommand("0,theme.ogg"), CommandResult::Failed);
    EXPECT_FALSE(dx->sound.systemSounds[0].load("SYSTEM\\ok.wav"));
}

TEST_F(SoundCommandsTest, MusicCommandsLogAndKeepTheFlagsForSaves)
{
    startWith([](SystemConfig&) {});
    writeSine("BGM/theme.ogg", 30000.0 / 44100.0);
    backend.clock.advance(5);
    EXPECT_EQ(dx->sound.bgmLoadCommand("theme.ogg"), CommandResult::Done);
    EXPECT_TRUE(logged("BGM loaded.. [theme.ogg](DISK 0ms)\n"));
    EXPECT_EQ(dx->sound.bgmCommand("noloop"), CommandResult::Done);
    EXPECT_TRUE(dx->sound.bgmPlaying());
    EXPECT_FALSE(dx->sound.bgmLooping());
    EXPECT_TRUE(dx->sound.bgm.isPlaying());
    EXPECT_FALSE(dx->sound.bgm.isLooping());
    EXPECT_EQ(dx->sound.bgmCommand("louder"), CommandResult::Done); // other words do nothing
    EXPECT_TRUE(dx->sound.bgm.isPlaying());
    dx->sound.bgmCommand("stop");
    EXPECT_FALSE(dx->sound.bgmPlaying());
    EXPECT_FALSE(dx->sound.bgm.isPlaying());

    EXPECT_EQ(dx->sound.bgmLoadCommand("theme.ogg"), CommandResult::Done);
    dx->sound.bgmCommand("play");
    EXPECT_TRUE(dx->sound.bgmLooping());
    EXPECT_TRUE(dx->sound.bgm.isLooping());
    // Loading again stops the music first.
    EXPECT_EQ(dx->sound.bgmLoadCommand("theme.ogg"), CommandResult::Done);
    EXPECT_FALSE(dx->sound.bgm.isPlaying());
    dx->sound.bgmCommand("play");

    dx->sound.bgmFadeCommand("in,1", false); // only "out" fades
    EXPECT_FALSE(dx->sound.bgm.isFading());
    dx->sound.bgmFadeCommand("out,1", false);
    EXPECT_TRUE(dx->sound.bgm.isFading());
    EXPECT_FALSE(dx->sound.bgmPlaying());
    EXPECT_FALSE(dx->sound.bgmLooping());
    pullUntil([&] { return !dx->sound.bgm.isPlaying(); }, 3.0);
    EXPECT_FALSE(dx->sound.bgm.isPlaying());

    // A missing file still logs its line; the play that follows does nothing.
    EXPECT_EQ(dx->sound.bgmLoadCommand("none.ogg"), CommandResult::Failed);
    EXPECT_TRUE(logged("BGM loaded.. [none.ogg](DISK 0ms)\n"));
    dx->sound.bgmCommand("play");
    EXPECT_FALSE(dx->sound.bgm.isPlaying());
}

TEST_F(SoundCommandsTest, FadeUnderAutoModeOrCtrlStopsAtOnce)
{
    startWith([](SystemConfig&) {});
    writeSine("BGM/theme.ogg", 30000.0 / 44100.0);
    writeSine("SE/rain.ogg", 30000.0 / 44100.0);
    dx->sound.bgmLoadCommand("theme.ogg");
    dx->sound.bgmCommand("play");
    dx->sound.bgmFadeCommand("out,2", true);
    EXPECT_FALSE(dx->sound.bgm.isPlaying());
    EXPECT_FALSE(dx->sound.bgmPlaying());

    ASSERT_EQ(dx->sound.seLoadCommand("5,rain.ogg"), CommandResult::Done);
    ASSERT_EQ(dx->sound.seCommand("5,play,loop"), CommandResult::Done);
    dx->sound.seFadeCommand("5,out,2", true);
    EXPECT_FALSE(dx->sound.se[5].isPlaying());
    EXPECT_FALSE(dx->sound.sePlaying()[5]);
}

TEST_F(SoundCommandsTest, EffectChannelsRecordPlayAndLoopAndRejectBadChannels)
{
    startWith([](SystemConfig&) {});
    writeSine("SE/door.ogg", 0.5);
    EXPECT_EQ(dx->sound.seLoadCommand("3,door.ogg"), CommandResult::Done);
    EXPECT_TRUE(logged("SE loaded.. [3,door.ogg](DISK 0ms)\n"));
    EXPECT_EQ(dx->sound.seCommand("3,play,loop"), CommandResult::Done);
    EXPECT_TRUE(dx->sound.sePlaying()[3]);
    EXPECT_TRUE(dx->sound.seLooping()[3]);
    EXPECT_TRUE(dx->sound.se[3].isLooping());
    // Playing again while it plays is refused and leaves the flags alone.
    EXPECT_EQ(dx->sound.seCommand("3,play"), CommandResult::Failed);
    EXPECT_TRUE(logged("@se failed. 3,play\n"));
    EXPECT_TRUE(dx->sound.seLooping()[3]);
    EXPECT_EQ(dx->sound.seCommand("3,stop"), CommandResult::Done);
    EXPECT_FALSE(dx->sound.sePlaying()[3]);
    EXPECT_FALSE(dx->sound.seLooping()[3]);
    EXPECT_FALSE(dx->sound.se[3].isPlaying());

    EXPECT_EQ(dx->sound.seLoadCommand("2,missing.ogg"), CommandResult::Failed);
    EXPECT_TRUE(logged("@se_load failed. missing.ogg\n"));

    for (const char* bad : {"8,door.ogg", "-1,door.ogg", "door.ogg", "9x,door.ogg"})
        EXPECT_EQ(dx->sound.seLoadCommand(bad), CommandResult::ArgumentError) << bad;
    for (const char* bad : {"8,play", "-1,stop", "play", "99999999999,play"})
        EXPECT_EQ(dx->sound.seCommand(bad), CommandResult::ArgumentError) << bad;
    for (const char* bad : {"8,out,1", "1,out", "1"})
        EXPECT_EQ(dx->sound.seFadeCommand(bad, false), CommandResult::ArgumentError) << bad;
    for (const char* bad : {"out", ""})
        EXPECT_EQ(dx->sound.bgmFadeCommand(bad, false), CommandResult::ArgumentError) << bad;

    dx->sound.seLoadCommand("0,door.ogg");
    dx->sound.seCommand("0,play");
    EXPECT_TRUE(dx->sound.sePlaying()[0]);
    EXPECT_FALSE(dx->sound.seLooping()[0]);
    dx->sound.seFadeCommand("0,out,0", false);
    EXPECT_TRUE(dx->sound.se[0].isFading());
    EXPECT_FALSE(dx->sound.sePlaying()[0]);
}

TEST_F(SoundCommandsTest, VoicesTakeTurnsAndANewOneCutsThePrevious)
{
    startWith([](SystemConfig& c) { c.voiceLevel = 2; });
    writeSine("VOICE/a001.ogg", 1.0);
    writeSine("VOICE/a002.ogg", 1.0);
    VoiceQueue q;
    q.add("a001");
    q.add("a002");
    q.pending = true;

    dx->sound.playQueuedVoice(q, false, dx->config.voiceOn, dx->config.voiceLevel);
    EXPECT_FALSE(q.pending);
    EXPECT_EQ(q.readIndex, 1);
    EXPECT_EQ(dx->sound.voiceWriteIndex(), 1);
    EXPECT_TRUE(dx->sound.voice[0].isPlaying());
    EXPECT_EQ(dx->sound.voice[0].volume(), 51.0f);
    const std::string folder = platform::utf8ToSjis(dir.str());
    EXPECT_TRUE(logged("voice play : " + folder + "\\SOUND\\VOICE\\a001.ogg\n"));
    pullSeconds(0.1);

    q.pending = true;
    dx->sound.playQueuedVoice(q, false, dx->config.voiceOn, dx->config.voiceLevel);
    EXPECT_TRUE(dx->sound.voice[0].isFading());
    EXPECT_TRUE(dx->sound.voice[1].isPlaying());
    const uint32_t ms = pullUntil([&] { return !dx->sound.voice[0].isPlaying(); }, 1.0);
    EXPECT_LE(ms, 80u);
    EXPECT_TRUE(dx->sound.voice[1].isPlaying());
}

TEST_F(SoundCommandsTest, CtrlSkipsVoicesAndEmptyOrMissingNamesAreHandled)
{
    startWith([](SystemConfig&) {});
    writeSine("VOICE/a001.ogg", 1.0);
    VoiceQueue q;
    q.add("a001");
    q.add("");
    q.add("nothere");
    q.add("a001");
    q.pending = true;

    dx->sound.playQueuedVoice(q, false, dx->config.voiceOn, dx->config.voiceLevel);
    EXPECT_TRUE(dx->sound.voice[0].isPlaying());

    // An empty name is this segment's turn: nothing plays and nothing is left pending.
    q.pending = true;
    dx->sound.playQueuedVoice(q, false, dx->config.voiceOn, dx->config.voiceLevel);
    EXPECT_FALSE(q.pending);
    EXPECT_EQ(q.readIndex, 2);
    EXPECT_EQ(dx->sound.voiceWriteIndex(), 1);

    q.pending = true;
    dx->sound.playQueuedVoice(q, false, dx->config.voiceOn, dx->config.voiceLevel);
    EXPECT_FALSE(q.pending);
    EXPECT_TRUE(runLog().contains("voice play failed. (HDD): " + platform::utf8ToSjis(dir.str()) +
                                  "\\SOUND\\VOICE\\nothere.ogg\n"));
    EXPECT_EQ(dx->sound.voiceWriteIndex(), 2);
    EXPECT_TRUE(dx->sound.voice[0].isFading());

    // With Ctrl held only the previous voice fades; the stream index still moves on.
    q.pending = true;
    dx->sound.playQueuedVoice(q, true, dx->config.voiceOn, dx->config.voiceLevel);
    EXPECT_FALSE(q.pending);
    EXPECT_EQ(dx->sound.voiceWriteIndex(), 3);
    EXPECT_FALSE(dx->sound.voice[2].isPlaying());

    // Sixteen names wrap round.
    for (int i = 0; i < 12; ++i)
        dx->sound.playQueuedVoice(q, true, dx->config.voiceOn, dx->config.voiceLevel);
    EXPECT_EQ(q.readIndex, 0);
    VoiceQueue wrap;
    for (int i = 0; i < 17; ++i)
        wrap.add("v" + std::to_string(i));
    EXPECT_EQ(wrap.names[0], "v16");
    wrap.add(std::string(100, 'x'));
    EXPECT_EQ(wrap.names[1].size(), 63u);
}

TEST_F(SoundCommandsTest, VoiceSwitchedOffPlaysNothing)
{
    startWith([](SystemConfig& c) { c.voiceOn = 0; });
    writeSine("VOICE/a001.ogg", 1.0);
    VoiceQueue q;
    q.add("a001");
    q.pending = true;
    dx->sound.playQueuedVoice(q, false, dx->config.voiceOn, dx->config.voiceLevel);
    EXPECT_FALSE(q.pending);
    EXPECT_EQ(q.readIndex, 1);
    EXPECT_FALSE(dx->sound.voice[0].isPlaying());
}

TEST_F(SoundCommandsTest, ClosingTheWindowStopsAndReleasesEverySound)
{
    startWith([](SystemConfig&) {});
    writeSine("BGM/theme.ogg", 30000.0 / 44100.0);
    writeSine("SE/rain.ogg", 30000.0 / 44100.0);
    std::filesystem::create_directories(soundFile("SE/SYSTEM"));
    testsupport::writeAll(soundFile("SE/SYSTEM/ok.wav"), wavImage(sine(4410, 1), 1, 44100));
    dx->sound.bgmLoadCommand("theme.ogg");
    dx->sound.bgmCommand("play");
    for (int ch = 0; ch < 8; ++ch) {
        dx->sound.seLoadCommand(std::to_string(ch) + ",rain.ogg");
        dx->sound.seCommand(std::to_string(ch) + ",play,loop");
    }
    dx->sound.seLoadCommand("1,rain.ogg"); // refused while playing
    ASSERT_TRUE(dx->sound.systemSounds[0].load("SYSTEM\\ok.wav"));
    dx->sound.systemSounds[0].play(true);
    dx->sound.seLoadCommand("0,rain.ogg");
    pullSeconds(0.1);
    EXPECT_GT(backend.audio.mixer().liveBuffers(), 9u);

    dx->destroyMainWindow();
    EXPECT_TRUE(dx->quitPosted);
    EXPECT_FALSE(dx->sound.bgm.isPlaying());
    for (auto& s : dx->sound.se)
        EXPECT_FALSE(s.isPlaying());
    EXPECT_FALSE(dx->sound.systemSounds[0].isLoaded());
    EXPECT_EQ(backend.audio.mixer().liveBuffers(), 0u);
    app->finish();
    app.reset();
}

TEST_F(SoundCommandsTest, TheFourInterfaceSoundsLoadIntoTheirSlots)
{
    startWith([](SystemConfig& c) { c.seLevel = 0; });
    std::filesystem::create_directories(soundFile("SE/SYSTEM"));
    int value = 1000;
    for (const char* name : {"ok", "cancel", "logo"})
        testsupport::writeAll(soundFile(std::string("SE/SYSTEM/") + name + ".wav"),
                              wavImage(std::vector<int16_t>(441, int16_t(value += 1000)), 1, 44100));
    dx->sound.loadSystemSounds();
    EXPECT_EQ(dx->sound.systemSounds[1].name(), "SYSTEM\\cancel.wav");
    EXPECT_FALSE(dx->sound.systemSounds[3].isLoaded()); // no test.wav
    EXPECT_FALSE(dx->sound.playSystemSound(4));
    EXPECT_FALSE(dx->sound.playSystemSound(0));
    EXPECT_FALSE(dx->sound.playSystemSound(5));
    ASSERT_TRUE(dx->sound.playSystemSound(2));
    EXPECT_EQ(dx->sound.systemSounds[1].volume(), 31.0f);
    auto out = backend.audio.pull(100);
    EXPECT_NEAR(out[20], 3000 * std::pow(10.0, -2342 / 2000.0), 2);
}
