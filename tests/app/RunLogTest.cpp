#include "EngineFixture.h"

using RunLogTest = EngineTest;

TEST_F(RunLogTest, LineFeedIsAddedOnlyWhenMissingAndLevelZeroIsDropped)
{
    RunLog log;
    log.append(1, "one");
    log.append(2, "two\n");
    log.append(0, "dropped");
    log.append(1, "");
    log.append(1, "a\nb");
    ASSERT_EQ(log.lines().size(), 4u);
    EXPECT_EQ(log.lines()[0], "one\n");
    EXPECT_EQ(log.lines()[1], "two\n");
    EXPECT_EQ(log.lines()[2], "\n");
    EXPECT_EQ(log.lines()[3], "a\nb\n");
    log.appendf(1, "%s : %d msec", "x", 42);
    EXPECT_EQ(log.lines().back(), "x : 42 msec\n");
    log.appendf(0, "%d", 1);
    EXPECT_EQ(log.lines().size(), 5u);
}

TEST_F(RunLogTest, SaveAppendWritesOldestFirstEmptiesQueueAndAddsOneLine)
{
    RunLog log;
    testsupport::writeText(dir.file("system_log.txt"), "earlier\r\n");
    log.append(1, "first");
    log.append(2, "second");
    ASSERT_TRUE(log.saveAppend("system_log.txt"));
    EXPECT_TRUE(log.lines().empty());
    std::vector<uint8_t> b = testsupport::readAll(dir.file("system_log.txt"));
    EXPECT_EQ(std::string(b.begin(), b.end()), "earlier\r\nfirst\r\nsecond\r\n\r\n");
    // A second dump of an empty queue adds only the empty line.
    ASSERT_TRUE(log.saveAppend("system_log.txt"));
    b = testsupport::readAll(dir.file("system_log.txt"));
    EXPECT_EQ(std::string(b.begin(), b.end()), "earlier\r\nfirst\r\nsecond\r\n\r\n\r\n");
}

TEST_F(RunLogTest, QueueStaysWhenTheFileCannotBeOpened)
{
    RunLog log;
    log.append(1, "kept");
    std::filesystem::create_directory(dir.file("system_log.txt"));
    EXPECT_FALSE(log.saveAppend("system_log.txt"));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "kept\n");
}
