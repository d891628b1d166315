#include "../app/EngineFixture.h"

#include "savedata/UnlockRecord.h"

using UnlockTest = EngineTest;

TEST(UnlockRecordNames, FindCgComparesWholeNamesWithoutCase)
{
    EXPECT_EQ(UnlockRecord::FindCg("00-01"), 0);
    EXPECT_EQ(UnlockRecord::FindCg("01-02A"), 4);
    EXPECT_EQ(UnlockRecord::FindCg("03-01a"), 8);
    EXPECT_EQ(UnlockRecord::FindCg("04-07"), 17);
    EXPECT_EQ(UnlockRecord::FindCg("01-02"), -1);
    EXPECT_EQ(UnlockRecord::FindCg("01-02a "), -1);
    EXPECT_EQ(UnlockRecord::FindCg("99-99"), -1);
    EXPECT_EQ(UnlockRecord::FindCg(""), -1);
    EXPECT_EQ(UnlockRecord::CgNameList.size(), 18u);
}

TEST_F(UnlockTest, MarkCgSeenSetsItsFlagAndSaves)
{
    UnlockRecord& u = dx->unlocks;
    u.MarkCgSeen("99-99");
    EXPECT_FALSE(platform::files::exists(dir.file("data.dat")));
    u.MarkCgSeen("01-02A");
    std::vector<uint8_t> b = testsupport::readAll(dir.file("data.dat"));
    ASSERT_EQ(b.size(), 48u);
    for (size_t i = 0; i < 48; ++i)
        EXPECT_EQ(b[i], i == 4 ? 1 : 0) << i;
    EXPECT_TRUE(u.cgSeen(4));
}

TEST_F(UnlockTest, LoadTakesWhatTheFileHolds)
{
    UnlockRecord u;
    EXPECT_FALSE(u.LoadUnlocks());

    std::vector<uint8_t> full(48, 0);
    full[3] = 1;
    full[40] = 1;
    testsupport::writeAll(dir.file("data.dat"), full);
    ASSERT_TRUE(u.LoadUnlocks());
    EXPECT_TRUE(u.cgSeen(3));
    EXPECT_TRUE(u.memoryFlag(8));
    EXPECT_FALSE(u.memoryFlag(16));

    // Short: what is there counts, the rest is locked; long: the first 48 bytes.
    testsupport::writeAll(dir.file("data.dat"), {1, 1});
    ASSERT_TRUE(u.LoadUnlocks());
    EXPECT_TRUE(u.cgSeen(1));
    EXPECT_FALSE(u.cgSeen(3));
    EXPECT_FALSE(u.memoryFlag(8));
    std::vector<uint8_t> big(1000, 1);
    testsupport::writeAll(dir.file("data.dat"), big);
    ASSERT_TRUE(u.LoadUnlocks());
    EXPECT_TRUE(u.memoryFlag(15));
    testsupport::writeAll(dir.file("data.dat"), {});
    ASSERT_TRUE(u.LoadUnlocks());
    EXPECT_FALSE(u.cgSeen(0));

    u.flags[47] = 1;
    ASSERT_TRUE(u.SaveUnlocks());
    UnlockRecord back;
    ASSERT_TRUE(back.LoadUnlocks());
    EXPECT_EQ(back.flags, u.flags);
}

TEST_F(UnlockTest, MemoryFlagsOutsideTheRecordAreRefused)
{
    UnlockRecord& u = dx->unlocks;
    EXPECT_FALSE(u.setMemoryFlag(16));
    EXPECT_FALSE(u.setMemoryFlag(-1));
    EXPECT_FALSE(platform::files::exists(dir.file("data.dat")));
    EXPECT_TRUE(u.setMemoryFlag(0));
    EXPECT_EQ(testsupport::readAll(dir.file("data.dat"))[32], 1);
}
