#include "../app/EngineFixture.h"
#include "SoundTestFiles.h"
#include "sound/CSoundBuffer.h"
#include "sound/SoundVolume.h"
#include "sound/WavReader.h"

#include <filesystem>

using namespace soundtest;

TEST(WavReaderTest, ReadsFormatAndDataPastOtherChunks)
{
    auto image = wavImage(sine(100, 2), 2, 22050);
    WaveFormat f;
    std::vector<uint8_t> data;
    std::string why;
    ASSERT_TRUE(parseWav(image.data(), image.size(), f, data, why)) << why;
    EXPECT_EQ(f.formatTag, 1);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.samplesPerSec, 22050u);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_EQ(data.size(), 400u);
    EXPECT_EQ(data[4], image[image.size() - 400 + 4]);
}

TEST(WavReaderTest, ForcesPcmWithRecomputedRates)
{
    auto image = wavImage(sine(10, 1), 1, 11025, 0, 3);
    WaveFormat f;
    std::vector<uint8_t> data;
    std::string why;
    ASSERT_TRUE(parseWav(image.data(), image.size(), f, data, why));
    EXPECT_EQ(f.formatTag, 3);
    f.forcePcm();
    EXPECT_EQ(f.formatTag, 1);
    EXPECT_EQ(f.bitsPerSample, 16);
    EXPECT_EQ(f.blockAlign, 2);
    EXPECT_EQ(f.avgBytesPerSec, 22050u);
    EXPECT_EQ(f.extraSize, 18);
}

TEST(WavReaderTest, RefusesMissingChunksOverrunsAndTruncation)
{
    const auto good = wavImage(sine(100, 1), 1, 44100);
    WaveFormat f;
    std::vector<uint8_t> data;
    std::string why;

    auto noFmt = good;
    std::memcpy(noFmt.data() + 12, "xxxx", 4);
    EXPECT_FALSE(parseWav(noFmt.data(), noFmt.size(), f, data, why));
    EXPECT_EQ(why, "no fmt chunk");

    auto noData = good;
    std::memcpy(noData.data() + 48, "dat_", 4);
    EXPECT_FALSE(parseWav(noData.data(), noData.size(), f, data, why));
    EXPECT_EQ(why, "no data chunk");

    auto bigData = good;
    bigData[52] = 0xFF;
    bigData[53] = 0xFF;
    bigData[54] = 0xFF;
    bigData[55] = 0x7F;
    EXPECT_FALSE(parseWav(bigData.data(), bigData.size(), f, data, why));
    auto bigFmt = good;
    bigFmt[16] = 0xFF;
    bigFmt[19] = 0xFF;
    EXPECT_FALSE(parseWav(bigFmt.data(), bigFmt.size(), f, data, why));

    // Every truncation either reads a whole chunk or refuses; none reads past the end.
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(parseWav(cut.data(), cut.size(), f, data, why)) << n;
    }
    EXPECT_FALSE(parseWav(nullptr, 0, f, data, why));
}

// The fuzzer's merged corpus (and anything it ever found failing) is replayed here.
TEST(WavReaderTest, FuzzRegressionsAreHandled)
{
    const std::filesystem::path dir = std::filesystem::path(SORAFUNE_SOURCE_DIR) / "fuzz" / "inputs" / "wav";
    size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename() == "README")
            continue;
        ++replayed;
        auto bytes = testsupport::readAll(entry.path().string());
        WaveFormat f;
        std::vector<uint8_t> data;
        std::string why;
        if (parseWav(bytes.data(), bytes.size(), f, data, why)) {
            EXPECT_LE(data.size(), bytes.size());
        } else {
            EXPECT_FALSE(why.empty());
        }
    }
    EXPECT_GT(replayed, 0u);
}

TEST(SoundVolumeTest, LevelsGiveTheVolumeAndAttenuationTable)
{
    EXPECT_EQ(soundVolumeFromPercent(30), 31.0f);
    EXPECT_EQ(soundVolumeFromPercent(90), 91.0f);
    EXPECT_EQ(soundVolumeFromPercent(100), 100.0f);
    EXPECT_EQ(soundVolumeFromPercent(0), 1.0f);
    EXPECT_NEAR(attenuationForVolume(31), -2342, 1);
    EXPECT_NEAR(attenuationForVolume(1), -9210, 1);
    EXPECT_EQ(attenuationForVolume(100), 0.0f);
    EXPECT_EQ(attenuationForVolume(0), -10000.0f);
}

class SoundBufferTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        std::filesystem::create_directories(dir.path() / "SOUND" / "SE" / "SYSTEM");
        backend.audio.open();
        buffer.attach(&backend.audio);
    }
    std::string sePath(const std::string& name) { return (dir.path() / "SOUND" / "SE" / name).string(); }
    CSoundBuffer buffer;
};

TEST_F(SoundBufferTest, LoadsFromTheSoundFolderAndPlaysAtItsVolume)
{
    // Written in another case than the script uses: loose files are found regardless.
    testsupport::writeAll(sePath("SYSTEM/OK.wav"), wavImage(std::vector<int16_t>(2000, 20000), 1, 44100));
    ASSERT_TRUE(buffer.load("SYSTEM\\ok.wav"));
    EXPECT_EQ(buffer.name(), "SYSTEM\\ok.wav");
    EXPECT_EQ(buffer.format().extraSize, 18);

    buffer.setVolume(30); // level 0 of the table
    EXPECT_EQ(buffer.volume(), 31.0f);
    ASSERT_TRUE(buffer.play(false));
    EXPECT_NEAR(buffer.attenuation(), -2342, 1);
    auto out = backend.audio.pull(100);
    // -23.42 dB in amplitude.
    EXPECT_NEAR(out[50], 20000 * std::pow(10.0, -2342 / 2000.0), 3);

    buffer.setVolume(150);
    EXPECT_EQ(buffer.volume(), 100.0f);
    out = backend.audio.pull(100);
    EXPECT_EQ(out[50], 20000);
    buffer.setVolume(-3);
    EXPECT_EQ(buffer.volume(), 1.0f);

    // A one-shot sound stays marked as playing after it ends; a new play restarts it.
    backend.audio.pull(4000);
    EXPECT_TRUE(buffer.isPlaying());
    EXPECT_FALSE(buffer.deviceBuffer()->isPlaying());
    ASSERT_TRUE(buffer.play(true));
    EXPECT_TRUE(buffer.isLooping());
    EXPECT_TRUE(buffer.deviceBuffer()->isPlaying());
    EXPECT_TRUE(buffer.stop());
    EXPECT_FALSE(buffer.isPlaying());
}

TEST_F(SoundBufferTest, BadFilesAndAMissingDeviceLoadNothing)
{
    EXPECT_FALSE(buffer.load("SYSTEM\\none.wav"));
    EXPECT_FALSE(buffer.play(false));
    EXPECT_FALSE(buffer.stop());

    testsupport::writeAll(sePath("SYSTEM/empty.wav"), {});
    EXPECT_FALSE(buffer.load("SYSTEM\\empty.wav"));
    auto noData = wavImage(sine(10, 1), 1, 44100);
    std::memcpy(noData.data() + 48, "dat_", 4);
    testsupport::writeAll(sePath("SYSTEM/nodata.wav"), noData);
    EXPECT_FALSE(buffer.load("SYSTEM\\nodata.wav"));
    testsupport::writeAll(sePath("SYSTEM/six.wav"), wavImage(sine(10, 6), 6, 44100));
    EXPECT_FALSE(buffer.load("SYSTEM\\six.wav"));
    EXPECT_FALSE(buffer.isLoaded());

    testsupport::writeAll(sePath("SYSTEM/ok.wav"), wavImage(sine(100, 1), 1, 44100));
    CSoundBuffer detached;
    EXPECT_FALSE(detached.load("SYSTEM\\ok.wav"));
    EXPECT_FALSE(detached.play(true));
    ASSERT_TRUE(buffer.load("SYSTEM\\ok.wav"));
    // A failed load forgets the sound that was there.
    EXPECT_FALSE(buffer.load("SYSTEM\\nodata.wav"));
    EXPECT_FALSE(buffer.play(false));
}

TEST_F(SoundBufferTest, APlayAfterTheDeviceLostTheBufferRestoresItsSound)
{
    testsupport::writeAll(sePath("SYSTEM/test.wav"), wavImage(std::vector<int16_t>(2000, 9000), 1, 44100));
    ASSERT_TRUE(buffer.load("SYSTEM\\test.wav"));
    buffer.setVolume(99);
    backend.audio.mixer().markAllLost();
    ASSERT_TRUE(buffer.play(false));
    auto out = backend.audio.pull(100);
    EXPECT_EQ(out[40], 9000);
}
