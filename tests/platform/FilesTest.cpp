#include "platform/Files.h"
#include "platform/Text.h"
#include "../TestSupport.h"

#include <gtest/gtest.h>

using namespace platform;
using testsupport::TempDir;

TEST(Files, BackslashPathsAndCaseInsensitiveLookup)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "Sound" / "SE");
    testsupport::writeText(dir.file("Sound/SE/Ok.WAV"), "x");
    EXPECT_EQ(files::hostPath("SOUND\\se\\ok.wav", dir.str()), dir.file("Sound/SE/Ok.WAV"));
    // A file that does not exist keeps the written case under the found folder.
    EXPECT_EQ(files::hostPath("sound\\SE\\new.wav", dir.str()), dir.file("Sound/SE/new.wav"));
}

TEST(Files, ShiftJisNamesBecomeUtf8AndTrailBackslashIsNotASeparator)
{
    TempDir dir;
    // "ソ" is 0x83 0x5C in Shift-JIS: the 0x5C must not split the name.
    std::string sjis = utf8ToSjis("ソフト\\セーブ.dat");
    EXPECT_EQ(files::hostPath(sjis, dir.str()), dir.file("ソフト/セーブ.dat"));
}

TEST(Files, ProgramPathFollowsProgramDir)
{
    TempDir dir;
    std::string old = files::programDir();
    files::setProgramDir(dir.str() + "/");
    EXPECT_EQ(files::programPath("system.dat"), dir.file("system.dat"));
    files::setProgramDir(old);
}

TEST(Files, AtomicWriteReplacesWholeFileAndLeavesNoTemporary)
{
    TempDir dir;
    std::string p = dir.file("data.bin");
    testsupport::writeText(p, "old contents that are longer");
    const char data[] = "new";
    ASSERT_TRUE(files::writeFileAtomic(p, data, 3));
    EXPECT_EQ(testsupport::readAll(p), std::vector<uint8_t>({'n', 'e', 'w'}));
    int count = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        (void)e, ++count;
    EXPECT_EQ(count, 1);
}

TEST(Files, AtomicWriteIntoMissingFolderFailsCleanly)
{
    TempDir dir;
    EXPECT_FALSE(files::writeFileAtomic(dir.file("no/such/folder/x.dat"), "a", 1));
}

TEST(Files, ReadFileHonoursLimit)
{
    TempDir dir;
    testsupport::writeText(dir.file("a"), "0123456789");
    std::vector<uint8_t> out;
    ASSERT_TRUE(files::readFile(dir.file("a"), out, 4));
    EXPECT_EQ(out.size(), 4u);
    EXPECT_FALSE(files::readFile(dir.file("missing"), out));
}

TEST(Files, MakeDirectoriesCreatesNestedFolders)
{
    TempDir dir;
    EXPECT_TRUE(files::makeDirectories(dir.file("a/b/c")));
    EXPECT_TRUE(files::isDirectory(dir.file("a/b/c")));
}
