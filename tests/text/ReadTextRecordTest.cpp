#include "core/RunLog.h"
#include "platform/Text.h"
#include "text/ReadTextRecord.h"
#include "../TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

// "text.dat" lives in the current directory: each test runs in a fresh one.
class ReadTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        runLog().clear();
    }
    void TearDown() override
    {
        std::filesystem::current_path(old_);
        runLog().clear();
    }
    std::vector<uint8_t> record(const std::string& name, int32_t value)
    {
        std::vector<uint8_t> r(36, 0);
        std::copy(name.begin(), name.end(), r.begin());
        for (int i = 0; i < 4; ++i)
            r[32 + size_t(i)] = uint8_t(uint32_t(value) >> (8 * i));
        for (uint8_t& b : r)
            b = uint8_t((b - 128) ^ 0x5A);
        return r;
    }

    testsupport::TempDir dir;
    std::filesystem::path old_;
    ReadTextRecord rec;
};

const std::string kLost = "text.datのopenに失敗しました。既読データーが失われます。\n";

} // namespace

TEST_F(ReadTextTest, PositionOnlyGrows)
{
    rec.recordReadPosition("a.scp", 120);
    rec.recordReadPosition("a.scp", 80);
    EXPECT_EQ(rec.entries().at("a.scp"), 120);
    EXPECT_TRUE(rec.isRead("a.scp", 119));
    EXPECT_FALSE(rec.isRead("a.scp", 120));
    EXPECT_FALSE(rec.isRead("b.scp", 0));
    EXPECT_TRUE(rec.isRead("b.scp", -1)); // unknown counts as 0
}

TEST_F(ReadTextTest, FileHoldsScrambledRecordsInByteOrder)
{
    const std::string sjisName = platform::utf8ToSjis("あ.scp"); // lead byte 0x82 sorts after ASCII
    rec.recordReadPosition(sjisName, 7);
    rec.recordReadPosition("b.scp", 0x01020304);
    rec.recordReadPosition("a.scp", -2);
    ASSERT_TRUE(rec.saveReadText());
    std::vector<uint8_t> expected;
    for (auto r : {record("a.scp", -2), record("b.scp", 0x01020304), record(sjisName, 7)})
        expected.insert(expected.end(), r.begin(), r.end());
    EXPECT_EQ(testsupport::readAll(dir.file("text.dat")), expected);
    // The transform is its own inverse.
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(ReadTextRecord::unscramble(ReadTextRecord::scramble(uint8_t(b))), b);
    EXPECT_EQ(ReadTextRecord::scramble('a'), uint8_t((0x61 - 128) ^ 0x5A));
}

TEST_F(ReadTextTest, RoundTripRestoresEveryEntry)
{
    rec.recordReadPosition("startup.scp", 1234);
    rec.recordReadPosition(std::string(31, 'x'), 5);
    rec.recordReadPosition("z", INT32_MIN);
    ASSERT_TRUE(rec.saveReadText());
    ReadTextRecord back;
    ASSERT_TRUE(back.loadReadText());
    EXPECT_EQ(back.entries(), rec.entries());
}

TEST_F(ReadTextTest, NamesTooLongForTheRecordAreLeftOut)
{
    rec.recordReadPosition(std::string(32, 'l'), 9);
    rec.recordReadPosition("ok.scp", 3);
    ASSERT_TRUE(rec.saveReadText());
    EXPECT_EQ(testsupport::readAll(dir.file("text.dat")), record("ok.scp", 3));
    EXPECT_EQ(runLog().lines().size(), 1u);
    // Still known for the rest of this run.
    EXPECT_TRUE(rec.isRead(std::string(32, 'l'), 8));
}

TEST_F(ReadTextTest, PartialRecordsAreIgnoredAndLaterRecordsWin)
{
    std::vector<uint8_t> bytes;
    for (auto r : {record("a", 1), record("b", 2), record("a", 3)})
        bytes.insert(bytes.end(), r.begin(), r.end());
    std::vector<uint8_t> file(bytes.begin(), bytes.begin() + 72);
    file.resize(80, 0xEE); // two records and 8 stray bytes
    testsupport::writeAll(dir.file("text.dat"), file);
    ASSERT_TRUE(rec.loadReadText());
    EXPECT_EQ(rec.entries().size(), 2u);

    testsupport::writeAll(dir.file("text.dat"), bytes);
    ReadTextRecord r2;
    ASSERT_TRUE(r2.loadReadText());
    EXPECT_EQ(r2.entries().at("a"), 3);

    for (size_t len : {35u, 37u}) {
        testsupport::writeAll(dir.file("text.dat"), std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(len)));
        ReadTextRecord r;
        ASSERT_TRUE(r.loadReadText());
        EXPECT_EQ(r.entries().size(), len / 36);
    }
}

// Any bytes load as records: each 36-byte block gives the name up to its first zero (at most
// 32 bytes, when there is none) and the little-endian value after it; a short tail is ignored.
// Saving keeps what a record can hold and drops the names that filled the whole field.
TEST_F(ReadTextTest, GarbageLoadsRecordByRecordAndSavesWhatFits)
{
    std::vector<uint8_t> junk(36 * 50 + 17);
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = uint8_t(i * 37 + 11 + (i / 36) * (i % 7 == 0 ? 0 : 3));
    for (size_t r = 0; r < 50; r += 3)
        junk[r * 36 + r % 32] = ReadTextRecord::scramble(0); // some names end early
    std::map<std::string, int32_t, std::less<>> expected;
    for (size_t r = 0; r < 50; ++r) {
        uint8_t plain[36];
        for (size_t i = 0; i < 36; ++i)
            plain[i] = ReadTextRecord::unscramble(junk[r * 36 + i]);
        size_t len = 0;
        while (len < 32 && plain[len] != 0)
            ++len;
        expected[std::string(reinterpret_cast<const char*>(plain), len)] =
            int32_t(uint32_t(plain[32]) | uint32_t(plain[33]) << 8 | uint32_t(plain[34]) << 16 |
                    uint32_t(plain[35]) << 24);
    }
    testsupport::writeAll(dir.file("text.dat"), junk);
    ASSERT_TRUE(rec.loadReadText());
    ASSERT_EQ(rec.entries().size(), expected.size());
    for (const auto& [name, value] : expected) {
        SCOPED_TRACE(name.size());
        auto it = rec.entries().find(name);
        ASSERT_NE(it, rec.entries().end());
        EXPECT_EQ(it->second, value);
    }

    ASSERT_TRUE(rec.saveReadText());
    ReadTextRecord again;
    ASSERT_TRUE(again.loadReadText());
    size_t fitting = 0;
    for (const auto& [name, value] : expected) {
        const bool fits = name.size() < 32;
        fitting += fits;
        EXPECT_EQ(again.entries().count(name), fits ? 1u : 0u);
    }
    EXPECT_EQ(again.entries().size(), fitting);
    EXPECT_GT(fitting, 0u);
}

TEST_F(ReadTextTest, MissingOrUnwritableFileLogsTheLossMessage)
{
    EXPECT_FALSE(rec.loadReadText());
    ASSERT_EQ(runLog().lines().size(), 1u);
    EXPECT_EQ(runLog().lines()[0], platform::utf8ToSjis(kLost));
    EXPECT_TRUE(rec.entries().empty());

    runLog().clear();
    std::filesystem::create_directory(dir.file("text.dat")); // a folder in the way
    rec.recordReadPosition("a", 1);
    EXPECT_FALSE(rec.saveReadText());
    ASSERT_EQ(runLog().lines().size(), 1u);
    EXPECT_EQ(runLog().lines()[0], platform::utf8ToSjis(kLost));
}
