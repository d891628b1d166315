// The header, copy-list and uninstall-list interpreters on real folders.
#include "../TestSupport.h"

#include "installer/SetupLists.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string sj(const std::string& utf8)
{
    return platform::utf8ToSjis(utf8);
}

std::string text(const std::string& path)
{
    const auto b = testsupport::readAll(path);
    return std::string(b.begin(), b.end());
}

TEST(SetupListLines, SplitAtLineEndsCountingFromOne)
{
    const auto lines = splitListLines("TITLE\ta\r\n\r\nINSTALL_NO\t3\nEXE_NAME\tb\tc");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "TITLE\ta");
    EXPECT_EQ(lines[0].number, 1);
    EXPECT_EQ(lines[1].text, "INSTALL_NO\t3");
    EXPECT_EQ(lines[1].number, 3); // the empty line still counts
    EXPECT_EQ(lines[2].text, "EXE_NAME\tb\tc");
    EXPECT_EQ(platform::sjisToUtf8(lineErrorText(3)), "3行目 : 解釈できない命令があります。");
}

TEST(SetupListPaths, EscapesAreRefused)
{
    struct Case {
        std::string path;
        bool ok;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {"a.txt", true, {"a.txt"}},
        {"SOUND\\BGM\\x.ogg", true, {"SOUND", "BGM", "x.ogg"}},
        {"SOUND/BGM\\\\x.ogg", true, {"SOUND", "BGM", "x.ogg"}},
        {sj("表\\示.txt"), true, {"表", "示.txt"}},        // 表 ends in 0x5C: not a separator
        {sj("ソ"), true, {"ソ"}},
        {".\\a", true, {".", "a"}},
        {"", false, {}},
        {"\\", false, {}},
        {"..", false, {}},
        {"..\\a", false, {}},
        {"a\\..\\..\\b", false, {}},
        {"a/../b", false, {}},
        {"a\\..", false, {}},
        {"\\etc\\passwd", false, {}},
        {"/etc/passwd", false, {}},
        {"C:\\x", false, {}},
        {"C:x", false, {}},
        {std::string("a\0b", 3), false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::vector<std::string> parts;
        EXPECT_EQ(splitListPath(c.path, parts), c.ok);
        if (c.ok) {
            EXPECT_EQ(parts, c.parts);
        }
    }
}

TEST(SetupHeader, KeysAreExact)
{
    SetupLists l([](const std::string&, const std::string&) {});
    EXPECT_TRUE(l.RunHeaderLine(sj("TITLE\t星降る丘の鐘")));
    EXPECT_TRUE(l.RunHeaderLine("INSTALL_NO\t12abc"));
    EXPECT_TRUE(l.RunHeaderLine("EXE_NAME\tsorafune"));
    EXPECT_EQ(platform::sjisToUtf8(l.state.title), "星降る丘の鐘");
    EXPECT_EQ(l.state.installNo, 12);
    EXPECT_EQ(l.state.exeName, "sorafune");
    EXPECT_TRUE(l.RunHeaderLine("INSTALL_NO\tx"));
    EXPECT_EQ(l.state.installNo, 0);
    const char* refused[] = {"title\tx", "Title\tx", "TITLE", "TITLE\t..", "TITLE\ta/b", "TITLE\ta\\b", "EXE_NAME\t../x",
                             "EXE_NAME\t", "INIT", "COPY\ta", " TITLE\tx"};
    for (const char* line : refused)
        EXPECT_FALSE(l.RunHeaderLine(line)) << line;
    EXPECT_EQ(platform::sjisToUtf8(l.state.title), "星降る丘の鐘");
}

class CopyList : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(src());
        testsupport::writeText(src() + "/a.txt", "new a");
        testsupport::writeText(src() + "/b.txt", "new b");
        fs::create_directories(src() + "/SUB");
        testsupport::writeText(src() + "/SUB/c.txt", "new c");
        testsupport::writeText(dir.str() + "/outside.txt", "keep");
        lists.state.title = sj("題");
        lists.state.installRoot = dir.str() + "/root";
        lists.state.installNo = 5;
        cwd_ = std::make_unique<testsupport::CurrentDir>(src());
    }
    std::string src() const { return dir.str() + "/disc"; }
    std::string folder() const { return lists.state.installFolder(); }
    // Runs lines (UTF-8) after INIT; returns the results.
    std::vector<SetupLists::CopyResult> run(const std::vector<std::string>& lines)
    {
        std::vector<SetupLists::CopyResult> out;
        for (const std::string& l : lines)
            out.push_back(lists.RunCopyLine(sj(l)));
        return out;
    }

    testsupport::TempDir dir;
    std::vector<std::string> messages;
    SetupLists lists{[this](const std::string& t, const std::string& c) {
        messages.push_back(platform::sjisToUtf8(c) + "|" + platform::sjisToUtf8(t));
    }};
    std::unique_ptr<testsupport::CurrentDir> cwd_;
};

using R = SetupLists::CopyResult;

TEST_F(CopyList, InitMakesTheFolderChainAndTakesTheSource)
{
    EXPECT_EQ(run({"INIT\t"}), std::vector<R>{R::Done});
    EXPECT_TRUE(fs::is_directory(dir.str() + "/root/鷺庵/題"));
    EXPECT_EQ(fs::canonical(lists.state.sourceFolder), fs::canonical(src()));
}

TEST_F(CopyList, WithoutAModeLineFilesAreOverwritten)
{
    run({"INIT"});
    testsupport::writeText(folder() + "/a.txt", "old a");
    ::chmod((folder() + "/a.txt").c_str(), 0444);
    EXPECT_EQ(run({"COPY\ta.txt"}), std::vector<R>{R::Done});
    EXPECT_EQ(text(folder() + "/a.txt"), "new a");
    struct stat st{};
    ::stat((folder() + "/a.txt").c_str(), &st);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    EXPECT_EQ(lists.state.record, std::vector<std::string>{"DELETE\ta.txt"});
    EXPECT_EQ(lists.state.currentFile, "a.txt");
    // No temporary copy is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder()), fs::directory_iterator()), 1);
}

TEST_F(CopyList, ModesDecideOverExistingFiles)
{
    struct Case {
        const char* mode;
        int installedNo;
        bool overwritten;
    };
    const Case cases[] = {
        {"NOTEXIST", 0, false}, {"OVERWRITE", 9, true}, {"PROTECT", 9, false},
        {"PROTECT", 5, true},   {"PROTECT", 4, true},   {"protect", 9, true}, // unknown values keep the mode
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + std::to_string(c.installedNo));
        lists.state.record.clear();
        lists.state.copyMode = CopyMode::Overwrite;
        lists.state.installedNo = c.installedNo;
        run({"INIT"});
        testsupport::writeText(folder() + "/a.txt", "old a");
        fs::remove(folder() + "/b.txt");
        EXPECT_EQ(run({std::string("MODE\t") + c.mode, "COPY\ta.txt", "COPY\tb.txt"}), (std::vector<R>{R::Done, R::Done, R::Done}));
        EXPECT_EQ(text(folder() + "/a.txt"), c.overwritten ? "new a" : "old a");
        EXPECT_EQ(text(folder() + "/b.txt"), "new b"); // a missing file is always copied
        const std::vector<std::string> expected =
            c.overwritten ? std::vector<std::string>{"DELETE\ta.txt", "DELETE\tb.txt"} : std::vector<std::string>{"DELETE\tb.txt"};
        EXPECT_EQ(lists.state.record, expected);
    }
}

TEST_F(CopyList, TheRecordListsFilesBeforeTheirFoldersAndIsAppended)
{
    run({"INIT"});
    fs::create_directories(folder() + "/SUB");
    EXPECT_EQ(run({"MKDIR\tSUB", "COPY\tSUB\\c.txt", "COPY\ta.txt"}), (std::vector<R>{R::Done, R::Done, R::Done}));
    EXPECT_EQ(text(folder() + "/SUB/c.txt"), "new c");
    ASSERT_TRUE(lists.WriteUninstallRecord(folder()));
    EXPECT_EQ(text(folder() + "/Uninstall.dir"), "DELETE\ta.txt\r\nDELETE\tSUB\\c.txt\r\nRMDIR\tSUB\r\n");
    lists.state.record = {"DELETE\tb.txt"};
    ASSERT_TRUE(lists.WriteUninstallRecord(folder()));
    EXPECT_EQ(text(folder() + "/Uninstall.dir"), "DELETE\ta.txt\r\nDELETE\tSUB\\c.txt\r\nRMDIR\tSUB\r\nDELETE\tb.txt\r\n");
}

TEST_F(CopyList, EveryEscapeIsALineError)
{
    run({"INIT"});
    const char* lines[] = {"COPY\t..\\outside.txt", "COPY\t../outside.txt", "COPY\t\\tmp\\x", "COPY\t/tmp/x",
                           "MKDIR\t..\\..\\evil",   "MKDIR\t/tmp/evil",    "COPY\tC:\\x",   "COPY\t",
                           "MKDIR\tSUB\\..\\..", "BOGUS\tx", "copy\ta.txt"};
    for (const char* l : lines)
        EXPECT_EQ(lists.RunCopyLine(l), R::Unrecognised) << l;
    EXPECT_TRUE(lists.state.record.empty());
    EXPECT_EQ(text(dir.str() + "/outside.txt"), "keep");
    EXPECT_FALSE(fs::exists(dir.str() + "/root/evil"));
}

TEST_F(CopyList, ALinkInTheInstallFolderIsNotFollowed)
{
    run({"INIT"});
    fs::create_directories(dir.str() + "/elsewhere");
    fs::create_directory_symlink(dir.str() + "/elsewhere", folder() + "/SUB");
    EXPECT_EQ(run({"COPY\tSUB\\c.txt"}), std::vector<R>{R::Failed});
    EXPECT_FALSE(fs::exists(dir.str() + "/elsewhere/c.txt"));
    EXPECT_EQ(run({"MKDIR\tSUB"}), std::vector<R>{R::Failed});
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].substr(0, messages[0].find('|')), "SETUP[COPY]");
}

TEST_F(CopyList, FailuresShowTheirMessage)
{
    run({"INIT"});
    EXPECT_EQ(run({"COPY\tmissing.txt"}), std::vector<R>{R::Failed});
    EXPECT_EQ(messages.back(), "SETUP[COPY]|" + fs::canonical(src()).string() + "/missing.txt" + "をコピーできません。:2");
    EXPECT_FALSE(fs::exists(folder() + "/missing.txt"));
    run({"MODE\tNOTEXIST"});
    EXPECT_EQ(run({"COPY\tmissing.txt"}), std::vector<R>{R::Failed});
    EXPECT_EQ(messages.back().substr(0, messages.back().find('|')), "SETUP[PROTECT/NOTEXIST]");
    EXPECT_EQ(run({"MKDIR\tA\\B"}), std::vector<R>{R::Failed});
    EXPECT_EQ(messages.back(), "SETUP[MKDIR]|" + folder() + "/A/B" + "を作成する所有権がありません。");
    EXPECT_TRUE(lists.state.record.empty());
    // A root under a plain file cannot be made.
    lists.state.installRoot = dir.str() + "/outside.txt/x";
    EXPECT_EQ(run({"INIT"}), std::vector<R>{R::Failed});
    EXPECT_EQ(messages.back(), "SETUP[INIT]|" + dir.str() + "/outside.txt/x" + "を作成する所有権がありません。");
}

TEST_F(CopyList, UninstallDeletesOnlyWhatTheRecordNamesAndNeverThroughALink)
{
    run({"INIT"});
    run({"MKDIR\tSUB", "COPY\tSUB\\c.txt", "COPY\ta.txt"});
    testsupport::writeText(folder() + "/SUB/mine.sav", "player's");
    testsupport::writeText(folder() + "/b.txt", "not installed");
    fs::create_directories(dir.str() + "/elsewhere");
    testsupport::writeText(dir.str() + "/elsewhere/a.txt", "keep");
    fs::create_directory_symlink(dir.str() + "/elsewhere", folder() + "/LINK");
    const std::string f = folder();
    const std::vector<std::string> record = {"DELETE\tSUB\\c.txt", "RMDIR\tSUB", "DELETE\ta.txt", "DELETE\tLINK\\a.txt",
                                             "RMDIR\tLINK", "DELETE\tnever-there.txt"};
    for (const std::string& l : record)
        EXPECT_TRUE(lists.RunUninstallLine(l, f)) << l;
    EXPECT_FALSE(fs::exists(f + "/a.txt"));
    EXPECT_FALSE(fs::exists(f + "/SUB/c.txt"));
    EXPECT_TRUE(fs::exists(f + "/SUB/mine.sav")); // the folder stays while it holds a save
    EXPECT_TRUE(fs::exists(f + "/b.txt"));
    EXPECT_EQ(text(dir.str() + "/elsewhere/a.txt"), "keep");
    EXPECT_TRUE(fs::is_symlink(f + "/LINK"));
    for (const char* l : {"DELETE\t..\\outside.txt", "RMDIR\t..", "DELETE\t/etc/x", "KEEP\tx", "delete\ta.txt"})
        EXPECT_FALSE(lists.RunUninstallLine(l, f)) << l;
    EXPECT_EQ(text(dir.str() + "/outside.txt"), "keep");
}

} // namespace
