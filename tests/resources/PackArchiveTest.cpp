#include "ArchiveBytes.h"
#include "../TestSupport.h"

#include "platform/Clock.h"
#include "platform/Text.h"
#include "resources/PackArchive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <thread>

using archivebytes::RawRecord;

namespace {

class PackArchiveTest : public ::testing::Test {
protected:
    std::string write(const std::vector<uint8_t>& bytes, const std::string& name = "a.pkd")
    {
        std::string p = dir.file(name);
        testsupport::writeAll(p, bytes);
        return p;
    }
    std::string readEntry(const CPackArchive& a, const std::string& name)
    {
        int32_t n = a.GetSize(name);
        if (n < 0)
            return "<missing>";
        std::string buf(size_t(n) + 1, '\xEE');
        if (a.Read(name, buf.data()) != n)
            return "<failed>";
        buf.resize(size_t(n));
        return buf;
    }

    testsupport::TempDir dir;
    platform::HeadlessClock clock;
};

TEST(PackScrambling, StoredByteIsKeyXorThenPlus128AndReadsBack)
{
    for (int p = 0; p < 256; ++p) {
        uint8_t s = pack::scrambleByte(uint8_t(p));
        EXPECT_EQ(s, uint8_t(((p ^ pack::kScrambleKey) + 128) & 0xFF));
        EXPECT_EQ(pack::descrambleByte(s), p);
    }
    // The key must actually change bytes: a key of 0x80 would store plain bytes unchanged.
    EXPECT_NE(pack::scrambleByte('P'), 'P');
}

TEST(PackScrambling, UpperCasingTouchesOnlyAsciiLettersButEveryByte)
{
    EXPECT_EQ(pack::upperName("scp\\Start.scp"), "SCP\\START.SCP");
    // A Shift-JIS trail byte in the a-z range is upper-cased like any other byte: "Ｂ" is
    // 0x82 0x61 and becomes 0x82 0x41. Bytes above 0x7F stay.
    EXPECT_EQ(pack::upperName("\x82\x61\x83\x5C\xE0\x7A"), "\x82\x41\x83\x5C\xE0\x5A");
}

TEST_F(PackArchiveTest, ReadsAnArchiveBuiltFromTheFormatRules)
{
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(write(archivebytes::archive({{"SCP\\start.scp", "@text,hello\n"}, {"BG\\x.png", "\x89PNG"}}))));
    EXPECT_EQ(a.count(), 2);
    EXPECT_EQ(a.GetSize("SCP\\start.scp"), 12);
    EXPECT_EQ(readEntry(a, "SCP\\start.scp"), "@text,hello\n");
    EXPECT_EQ(readEntry(a, "BG\\x.png"), "\x89PNG");
    // Reading again gives the same de-scrambled bytes (no double de-scrambling anywhere).
    EXPECT_EQ(readEntry(a, "SCP\\start.scp"), "@text,hello\n");
    EXPECT_EQ(clock.sleepCalls(), 0u);
}

TEST_F(PackArchiveTest, LookupsIgnoreCaseButNotSlashDirection)
{
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(write(archivebytes::archive({{"scp\\Startup.SCP", "x"}}))));
    EXPECT_EQ(a.GetSize("SCP\\STARTUP.SCP"), 1);
    EXPECT_EQ(a.GetSize("scp\\startup.scp"), 1);
    EXPECT_EQ(readEntry(a, "Scp\\StartUp.scp"), "x");
    EXPECT_EQ(a.GetSize("SCP/startup.scp"), -1);
    EXPECT_EQ(a.GetSize(".\\SCP\\startup.scp"), -1);
    std::vector<char> buf(4);
    EXPECT_EQ(a.Read("SCP/startup.scp", buf.data()), -1);
    EXPECT_EQ(a.entries().size(), 1u); // failed lookups add nothing
}

TEST_F(PackArchiveTest, ShiftJisNamesMatchByteForByteAfterUpperCasing)
{
    std::string name = platform::utf8ToSjis("BG\\ソラ\\背景Ｂ.png"); // ソ ends in 0x5C, Ｂ in 0x61
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(write(archivebytes::archive({{name, "pic"}}))));
    EXPECT_EQ(readEntry(a, name), "pic");
    EXPECT_EQ(readEntry(a, pack::upperName(name)), "pic");
    EXPECT_EQ(a.GetSize(platform::utf8ToSjis("BG\\ソラ\\背景Ａ.png")), -1);
}

TEST_F(PackArchiveTest, LaterRecordReplacesAnEarlierOneOfTheSameUpperCasedName)
{
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(write(archivebytes::archive({{"a.txt", "first"}, {"b.txt", "b"}, {"A.TXT", "second!"}}))));
    EXPECT_EQ(a.count(), 3);
    EXPECT_EQ(a.entries().size(), 2u);
    EXPECT_EQ(a.GetSize("a.txt"), 7);
    EXPECT_EQ(readEntry(a, "a.txt"), "second!");
}

TEST_F(PackArchiveTest, ZeroLengthEntryReadsAsZeroWithoutTouchingTheBuffer)
{
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(write(archivebytes::archive({{"empty", ""}, {"next", "zz"}}))));
    EXPECT_EQ(a.GetSize("empty"), 0);
    char buf[2] = {'\x11', '\x22'};
    EXPECT_EQ(a.Read("empty", buf), 0);
    EXPECT_EQ(buf[0], '\x11');
    EXPECT_EQ(buf[1], '\x22');
    EXPECT_EQ(readEntry(a, "next"), "zz");
}

TEST_F(PackArchiveTest, EmptyOrNegativeCountOpensWithNoEntries)
{
    for (int32_t count : {0, -5}) {
        CPackArchive a(&clock);
        ASSERT_TRUE(a.Open(write(archivebytes::header(count))));
        EXPECT_EQ(a.count(), count);
        EXPECT_TRUE(a.entries().empty());
        EXPECT_EQ(a.GetSize("anything"), -1);
    }
}

TEST_F(PackArchiveTest, WrongMagicShortOrMissingFileFailsToOpen)
{
    std::vector<uint8_t> lower = archivebytes::archive({{"a", "b"}});
    lower[0] = 'p', lower[1] = 'a', lower[2] = 'c', lower[3] = 'k';
    for (const std::vector<uint8_t>& bytes : {lower, std::vector<uint8_t>{'P', 'A', 'C'}, std::vector<uint8_t>{}}) {
        CPackArchive a(&clock);
        EXPECT_FALSE(a.Open(write(bytes)));
        EXPECT_TRUE(a.entries().empty());
    }
    CPackArchive missing(&clock);
    EXPECT_FALSE(missing.Open(dir.file("nothing.pkd")));
}

TEST_F(PackArchiveTest, DirectoryCutShortOrHugeCountFailsToOpen)
{
    std::vector<uint8_t> whole = archivebytes::archive({{"a", "1"}, {"b", "2"}});
    std::vector<uint8_t> cut(whole.begin(), whole.begin() + 8 + 136 + 60);
    CPackArchive a(&clock);
    EXPECT_FALSE(a.Open(write(cut)));
    EXPECT_TRUE(a.entries().empty());

    std::vector<uint8_t> huge = whole;
    archivebytes::putLe(huge, 4, 0x7FFFFFFF);
    CPackArchive b(&clock);
    EXPECT_FALSE(b.Open(write(huge)));
}

TEST_F(PackArchiveTest, RecordWithoutNameEndIsSkipped)
{
    std::vector<uint8_t> v = archivebytes::header(2);
    appendRecord(v, RawRecord{std::string(128, 'N'), 1, 8 + 2 * 136});
    appendRecord(v, RawRecord{"ok", 1, 8 + 2 * 136});
    v.push_back(archivebytes::stored('Q'));
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(write(v)));
    EXPECT_EQ(a.entries().size(), 1u);
    EXPECT_EQ(readEntry(a, "ok"), "Q");
    EXPECT_EQ(a.GetSize(std::string(128, 'N')), -1);
}

TEST_F(PackArchiveTest, EntriesOutsideTheFileFailAtOnceWithoutRetries)
{
    std::vector<uint8_t> v = archivebytes::header(5);
    const int32_t data = 8 + 5 * 136;
    appendRecord(v, RawRecord{"past-end", 4, data + 1});
    appendRecord(v, RawRecord{"negative-size", -1, data});
    appendRecord(v, RawRecord{"negative-offset", 1, -8});
    appendRecord(v, RawRecord{"huge", 0x7FFFFFFF, data});
    appendRecord(v, RawRecord{"fits", 4, data});
    for (char c : std::string("DATA"))
        v.push_back(archivebytes::stored(uint8_t(c)));
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(write(v)));
    std::vector<char> buf(16);
    for (const char* name : {"past-end", "negative-size", "negative-offset", "huge"}) {
        EXPECT_EQ(a.GetSize(name), -1) << name;
        EXPECT_EQ(a.Read(name, buf.data()), -1) << name;
    }
    EXPECT_EQ(clock.sleepCalls(), 0u);
    EXPECT_EQ(readEntry(a, "fits"), "DATA");
}

TEST_F(PackArchiveTest, GameReadRetriesTenAttemptsOfElevenPausesThenFails)
{
    std::string path = write(archivebytes::archive({{"big", std::string(1000, 'x')}}));
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(path));
    std::filesystem::resize_file(path, 8 + 136 + 500); // the disc now gives half the entry
    std::vector<char> buf(1001);
    EXPECT_EQ(a.Read("big", buf.data()), -1);
    EXPECT_EQ(clock.sleepCalls(), 110u);
    EXPECT_EQ(clock.totalSlept(), 11000u);
}

TEST_F(PackArchiveTest, GameReadRecoversWhenTheDataComesBackDuringTheRetries)
{
    // The disc gives two bytes of the entry until the third pause, then all of it. Each
    // retry must start again at the entry: a retry that carried on from where the short
    // read stopped would never see the whole entry.
    std::vector<uint8_t> bytes = archivebytes::archive({{"e", "hello"}});
    std::string path = write(bytes);
    struct RestoringClock : platform::Clock {
        std::function<void()> onThirdSleep;
        uint32_t t = 0;
        int sleeps = 0;
        uint32_t now() override { return t; }
        void sleep(uint32_t ms) override
        {
            t += ms;
            if (++sleeps == 3)
                onThirdSleep();
        }
    } restoring;
    restoring.onThirdSleep = [&] { testsupport::writeAll(path, bytes); };
    CPackArchive a(&restoring);
    ASSERT_TRUE(a.Open(path));
    std::filesystem::resize_file(path, 8 + 136 + 2);
    std::vector<char> buf(6);
    EXPECT_EQ(a.Read("e", buf.data()), 5);
    EXPECT_EQ(std::string(buf.data(), 5), "hello");
    EXPECT_EQ(restoring.sleeps, 3);
}

TEST_F(PackArchiveTest, InstallerReadMakesOneAttemptAndReportsAShortRead)
{
    std::string path = write(archivebytes::archive({{"big", std::string(100, 'x')}}));
    CPackArchive a(&clock, CPackArchive::ReadPolicy::SingleAttempt);
    ASSERT_TRUE(a.Open(path));
    std::vector<char> buf(101);
    EXPECT_EQ(a.Read("big", buf.data()), 100);
    std::filesystem::resize_file(path, 8 + 136 + 50);
    EXPECT_EQ(a.Read("big", buf.data()), -1);
    EXPECT_EQ(clock.sleepCalls(), 0u);
}

TEST_F(PackArchiveTest, ArchiveGoneAfterOpenFailsWithoutPauses)
{
    std::string path = write(archivebytes::archive({{"e", "data"}}));
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(path));
    std::filesystem::remove(path);
    std::vector<char> buf(5);
    EXPECT_EQ(a.Read("e", buf.data()), -1);
    EXPECT_EQ(clock.sleepCalls(), 0u); // a failed open goes straight to the next attempt
}

TEST_F(PackArchiveTest, RelativePathIsResolvedAgainOnEveryRead)
{
    std::filesystem::create_directories(dir.path() / "one");
    std::filesystem::create_directories(dir.path() / "two");
    testsupport::writeAll((dir.path() / "one" / "system.pkd").string(), archivebytes::archive({{"e", "one"}}));
    testsupport::writeAll((dir.path() / "two" / "system.pkd").string(), archivebytes::archive({{"e", "two"}}));
    std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path() / "one");
    CPackArchive a(&clock);
    bool opened = a.Open("system.pkd");
    std::string first = readEntry(a, "e");
    std::filesystem::current_path(dir.path() / "two");
    std::string second = readEntry(a, "e");
    std::filesystem::current_path(old);
    ASSERT_TRUE(opened);
    EXPECT_EQ(a.path(), "system.pkd");
    EXPECT_EQ(first, "one");
    EXPECT_EQ(second, "two");
}

TEST_F(PackArchiveTest, ConcurrentReadsEachGetTheirOwnFilePosition)
{
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < 8; ++i)
        entries.emplace_back("e" + std::to_string(i), std::string(5000 + i * 17, char('a' + i)));
    CPackArchive a(&clock, CPackArchive::ReadPolicy::SingleAttempt);
    ASSERT_TRUE(a.Open(write(archivebytes::archive(entries))));
    std::vector<int> good(entries.size(), 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < entries.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round)
                good[t] += readEntry(a, entries[t].first) == entries[t].second;
        });
    }
    for (auto& th : threads)
        th.join();
    for (int g : good)
        EXPECT_EQ(g, 20);
}

} // namespace
