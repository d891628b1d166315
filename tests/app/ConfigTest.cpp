#include "EngineFixture.h"

#include <unistd.h>

using ConfigTest = EngineTest;

namespace {
int32_t i32At(const std::vector<uint8_t>& b, size_t off)
{
    return int32_t(uint32_t(b[off]) | uint32_t(b[off + 1]) << 8 | uint32_t(b[off + 2]) << 16 | uint32_t(b[off + 3]) << 24);
}
} // namespace

TEST_F(ConfigTest, DefaultsAreWrittenAtTheirOffsets)
{
    dx->applyDefaultConfig();
    ASSERT_TRUE(dx->saveConfig());
    std::vector<uint8_t> b = testsupport::readAll(dir.file("system.dat"));
    ASSERT_EQ(b.size(), 100u);
    EXPECT_EQ(b[0], 1);               // window mode
    EXPECT_EQ(i32At(b, 4), 5);        // text speed
    EXPECT_EQ(i32At(b, 12), 3);       // auto wait
    EXPECT_EQ(i32At(b, 16), 2);       // outline
    EXPECT_EQ(b[20], 0);              // skip read text only
    EXPECT_EQ(i32At(b, 24), 0);       // effect speed
    EXPECT_EQ(b[28], 0);
    EXPECT_EQ(b[29], 0);
    EXPECT_EQ(b[30], 1);              // music on
    EXPECT_EQ(i32At(b, 32), 7);
    EXPECT_EQ(b[36], 1);              // effects on
    EXPECT_EQ(i32At(b, 40), 7);
    EXPECT_EQ(b[44], 1);              // voices on
    EXPECT_EQ(i32At(b, 48), 7);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(b[52 + i], 1) << i;
    const int levels[8] = {5, 6, 7, 6, 7, 5, 5, 5};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(i32At(b, 68 + 4 * i), levels[i]) << i;
    for (size_t off : {1u, 2u, 3u, 8u, 9u, 10u, 11u, 21u, 22u, 23u, 31u, 37u, 38u, 39u, 45u, 46u, 47u, 61u, 67u})
        EXPECT_EQ(b[off], 0) << off;
}

TEST_F(ConfigTest, EveryFieldIsReadFromItsOwnOffset)
{
    std::vector<uint8_t> b(100, 0);
    auto put = [&](size_t off, int32_t v) {
        for (int i = 0; i < 4; ++i)
            b[off + i] = uint8_t(uint32_t(v) >> (8 * i));
    };
    b[0] = 0;
    put(4, 1);
    put(12, 2);
    put(16, 1);
    b[20] = 1;
    put(24, 2);
    b[28] = 1;
    b[29] = 1;
    b[30] = 0;
    put(32, 3);
    b[36] = 0;
    put(40, 4);
    b[44] = 0;
    put(48, 6);
    b[52 + 8] = 0;
    put(68 + 28, 2);
    b[1] = 0xAB; // a reserved byte survives a save
    testsupport::writeAll(dir.file("system.dat"), b);

    ASSERT_TRUE(dx->loadConfig());
    const SystemConfig& c = dx->config;
    EXPECT_FALSE(dx->display.windowed());
    EXPECT_EQ(c.textSpeed, 1);
    EXPECT_EQ(c.autoWait, 2);
    EXPECT_EQ(c.textDecoration, 1);
    EXPECT_EQ(c.skipAll, 1);
    EXPECT_EQ(c.effectSpeed, 2);
    EXPECT_EQ(c.autoAfterChoice, 1);
    EXPECT_EQ(c.skipAfterChoice, 1);
    EXPECT_EQ(c.bgmOn, 0);
    EXPECT_EQ(c.bgmLevel, 3);
    EXPECT_EQ(c.seOn, 0);
    EXPECT_EQ(c.seLevel, 4);
    EXPECT_EQ(c.voiceOn, 0);
    EXPECT_EQ(c.voiceLevel, 6);
    EXPECT_EQ(c.characterVoiceOn[8], 0);
    EXPECT_EQ(c.characterVoiceLevel[7], 2);

    ASSERT_TRUE(dx->saveConfig());
    EXPECT_EQ(testsupport::readAll(dir.file("system.dat")), b);
}

TEST_F(ConfigTest, SaveTakesTheWindowFlagFromTheEngine)
{
    dx->applyDefaultConfig();
    dx->display.setWindowed(false);
    ASSERT_TRUE(dx->saveConfig());
    EXPECT_EQ(testsupport::readAll(dir.file("system.dat"))[0], 0);
    CDirectX other(backend.services);
    ASSERT_TRUE(other.loadConfig());
    EXPECT_FALSE(other.display.windowed());
}

TEST_F(ConfigTest, MissingAndEmptyFilesFailToLoad)
{
    EXPECT_FALSE(dx->loadConfig());
    testsupport::writeAll(dir.file("system.dat"), {});
    EXPECT_FALSE(dx->loadConfig());
    EXPECT_TRUE(dx->display.windowed());
}

TEST_F(ConfigTest, ShortFileKeepsDefaultsForWhatItDoesNotReach)
{
    // 10 bytes: the window byte and the text speed only.
    std::vector<uint8_t> b = {1, 0, 0, 0, 7, 0, 0, 0, 0, 0};
    testsupport::writeAll(dir.file("system.dat"), b);
    ASSERT_TRUE(dx->loadConfig());
    EXPECT_EQ(dx->config.textSpeed, 7);
    EXPECT_EQ(dx->config.autoWait, 3);
    EXPECT_EQ(dx->config.bgmOn, 1);
    EXPECT_EQ(dx->config.bgmLevel, 7);
    EXPECT_EQ(dx->config.characterVoiceLevel[2], 7);
}

TEST_F(ConfigTest, OverLongFileReadsTheFirstHundredBytes)
{
    std::vector<uint8_t> b(4096, 0x01);
    testsupport::writeAll(dir.file("system.dat"), b);
    ASSERT_TRUE(dx->loadConfig());
    // 0x01010101 is far outside every range: clamped.
    EXPECT_EQ(dx->config.textSpeed, 7);
    EXPECT_EQ(dx->config.textDecoration, 2);
    EXPECT_EQ(dx->config.effectSpeed, 2);
}

TEST_F(ConfigTest, GarbageValuesAreClampedIntoRange)
{
    std::vector<uint8_t> b(100, 0xFF); // every 32-bit field is -1, every byte 255
    testsupport::writeAll(dir.file("system.dat"), b);
    ASSERT_TRUE(dx->loadConfig());
    const SystemConfig& c = dx->config;
    EXPECT_TRUE(dx->display.windowed());
    EXPECT_EQ(c.windowed, 1);
    EXPECT_EQ(c.textSpeed, 0);
    EXPECT_EQ(c.autoWait, 0);
    EXPECT_EQ(c.bgmLevel, 0);
    EXPECT_EQ(c.bgmOn, 1);
    EXPECT_EQ(c.skipAll, 1);
    for (int32_t v : c.characterVoiceLevel)
        EXPECT_EQ(v, 0);
    EXPECT_EQ(volumePercentForLevel(c.bgmLevel), 30);
    EXPECT_EQ(volumePercentForLevel(99), 100);
}

TEST_F(ConfigTest, UnwritableFolderLosesTheSaveSilently)
{
    // A program "folder" that is really a file cannot take new files, even for root.
    testsupport::writeText(dir.file("plain"), "x");
    platform::files::setProgramDir(dir.file("plain"));
    dx->applyDefaultConfig();
    EXPECT_FALSE(dx->saveConfig());
    EXPECT_EQ(dx->config.textSpeed, 5); // the settings stay in memory
}

TEST_F(ConfigTest, FailedSaveKeepsThePreviousFileWhole)
{
    dx->applyDefaultConfig();
    ASSERT_TRUE(dx->saveConfig());
    std::vector<uint8_t> before = testsupport::readAll(dir.file("system.dat"));
    // A folder named like the temporary file makes the write fail half-way through.
    std::filesystem::create_directory(dir.file("system.dat.tmp" + std::to_string(::getpid())));
    dx->config.textSpeed = 1;
    EXPECT_FALSE(dx->saveConfig());
    EXPECT_EQ(testsupport::readAll(dir.file("system.dat")), before);
}
