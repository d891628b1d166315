#include "ArchiveBytes.h"
#include "../TestSupport.h"

#include "platform/Clock.h"
#include "platform/Text.h"
#include "resources/PackArchive.h"
#include "tools/pkd/PackWriter.h"
#include "tools/pkd/PkdCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct PkdRun {
    int code;
    std::string out;
    std::string err;
};

PkdRun pkd(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    int code = pkdMain(args, out, err);
    return PkdRun{code, out.str(), err.str()};
}

std::string text(const fs::path& p)
{
    std::vector<uint8_t> b = testsupport::readAll(p.string());
    return std::string(b.begin(), b.end());
}

class PkdToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        src = dir.path() / "src";
        fs::create_directories(src / "SCP");
        fs::create_directories(src / "BG" / "ソラ");
        fs::create_directories(src / "textbox");
        testsupport::writeText((src / "SCP" / "開始.scp").string(), "@text,はじめ\n");
        testsupport::writeText((src / "BG" / "ソラ" / "背景Ｂ.png").string(), std::string("\x89PNG\r\n\x1a\n\0\xff", 10));
        testsupport::writeText((src / "textbox" / "Default_Font.bmp").string(), "BM");
        testsupport::writeText((src / "empty.txt").string(), "");
    }

    testsupport::TempDir dir;
    fs::path src;
    platform::HeadlessClock clock;
};

TEST_F(PkdToolTest, PackListExtractRoundTripsJapaneseNamesByteForByte)
{
    fs::path archive = dir.path() / "out.pkd";
    PkdRun packed = pkd({"pack", src.string(), archive.string()});
    ASSERT_EQ(packed.code, 0) << packed.err;

    PkdRun listed = pkd({"list", archive.string()});
    ASSERT_EQ(listed.code, 0) << listed.err;
    std::istringstream lines(listed.out);
    std::vector<std::string> names;
    for (std::string line; std::getline(lines, line);)
        names.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(names, (std::vector<std::string>{"BG\\ソラ\\背景Ｂ.png", "SCP\\開始.scp", "empty.txt",
                                               "textbox\\Default_Font.bmp"}));
    EXPECT_NE(listed.out.find("SCP\\開始.scp\t" + std::to_string(text(src / "SCP" / "開始.scp").size()) + "\t"),
              std::string::npos);

    fs::path back = dir.path() / "back";
    PkdRun extracted = pkd({"extract", archive.string(), back.string()});
    ASSERT_EQ(extracted.code, 0) << extracted.err;
    size_t files = 0;
    for (const auto& e : fs::recursive_directory_iterator(src)) {
        if (!e.is_regular_file())
            continue;
        ++files;
        fs::path twin = back / fs::relative(e.path(), src);
        ASSERT_TRUE(fs::exists(twin)) << twin;
        EXPECT_EQ(text(twin), text(e.path())) << twin;
    }
    EXPECT_EQ(files, 4u);
    size_t extractedFiles = 0;
    for (const auto& e : fs::recursive_directory_iterator(back))
        extractedFiles += e.is_regular_file();
    EXPECT_EQ(extractedFiles, files);

    // The game finds the entries by their Shift-JIS names, in any ASCII case.
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(archive.string()));
    std::string name = platform::utf8ToSjis("bg\\ソラ\\背景Ｂ.PNG");
    ASSERT_EQ(a.GetSize(name), 10);
    std::string buf(11, '\0');
    EXPECT_EQ(a.Read(name, buf.data()), 10);
    EXPECT_EQ(buf.substr(0, 10), text(src / "BG" / "ソラ" / "背景Ｂ.png"));
    EXPECT_EQ(a.GetSize("EMPTY.TXT"), 0);
}

TEST_F(PkdToolTest, ArchiveLayoutKeepsMagicAndCountPlainAndScramblesTheRest)
{
    fs::path archive = dir.path() / "out.pkd";
    ASSERT_EQ(pkd({"pack", src.string(), archive.string()}).code, 0);
    std::vector<uint8_t> raw = testsupport::readAll(archive.string());
    ASSERT_GE(raw.size(), 8u + 4 * 136);
    EXPECT_EQ(std::string(raw.begin(), raw.begin() + 4), "PACK");
    EXPECT_EQ(raw[4], 4);
    EXPECT_EQ(raw[5] | raw[6] | raw[7], 0);

    // The first record, written out by hand from the rules: name, NUL padding, size, offset.
    std::string name = platform::utf8ToSjis("BG\\ソラ\\背景Ｂ.png");
    std::vector<uint8_t> expected;
    archivebytes::appendRecord(expected, archivebytes::RawRecord{name, 10, int32_t(8 + 4 * 136)});
    EXPECT_EQ(std::vector<uint8_t>(raw.begin() + 8, raw.begin() + 8 + 136), expected);
    // Its data follows the directory, every byte scrambled.
    std::string data = text(src / "BG" / "ソラ" / "背景Ｂ.png");
    for (size_t i = 0; i < data.size(); ++i)
        EXPECT_EQ(raw[8 + 4 * 136 + i], archivebytes::stored(uint8_t(data[i]))) << i;
}

TEST_F(PkdToolTest, CatWritesOneEntryFoundInAnyCase)
{
    fs::path archive = dir.path() / "out.pkd";
    ASSERT_EQ(pkd({"pack", src.string(), archive.string()}).code, 0);
    PkdRun r = pkd({"cat", archive.string(), "scp\\開始.SCP"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "@text,はじめ\n");
    PkdRun missing = pkd({"cat", archive.string(), "SCP/開始.scp"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no entry"), std::string::npos);
}

TEST_F(PkdToolTest, OverlongNameIsLeftOutWithAWarning)
{
    // "長い\\" is 5 bytes in Shift-JIS: with 122 more bytes of name the entry is 127 bytes,
    // the longest that leaves room for its NUL.
    fs::create_directories(src / "長い");
    testsupport::writeText((src / "長い" / (std::string(118, 'n') + ".png")).string(), "x");
    fs::path archive = dir.path() / "out.pkd";
    ASSERT_EQ(pkd({"pack", src.string(), archive.string()}).code, 0);
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open(archive.string()));
    EXPECT_EQ(a.GetSize(platform::utf8ToSjis("長い\\") + std::string(118, 'n') + ".png"), 1);

    // One byte more: the game could never name it, so it stays out and the rest is packed.
    testsupport::writeText((src / "長い" / (std::string(119, 'n') + ".png")).string(), "x");
    testsupport::writeText(archive.string(), "old archive");
    PkdRun r = pkd({"pack", src.string(), archive.string()});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find("warning: 長い\\" + std::string(119, 'n') + ".png: the name is 128 bytes in Shift-JIS, the "
                         "archive holds 127; left out"),
              std::string::npos)
        << r.err;
    CPackArchive b(&clock);
    ASSERT_TRUE(b.Open(archive.string()));
    EXPECT_EQ(b.GetSize(platform::utf8ToSjis("SCP\\開始.scp")), int32_t(std::string("@text,はじめ\n").size()));
    EXPECT_EQ(b.GetSize(platform::utf8ToSjis("長い\\") + std::string(119, 'n') + ".png"), -1);
}

TEST_F(PkdToolTest, PicturesTheGameCannotShowArePackedWithAWarning)
{
    // The fixture's "背景Ｂ.png" is a PNG signature and nothing else.
    PkdRun r = pkd({"pack", src.string(), (dir.path() / "out.pkd").string()});
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.err.find("warning: BG\\ソラ\\背景Ｂ.png: the game cannot show it: it is not a PNG picture"),
              std::string::npos)
        << r.err;
    CPackArchive a(&clock);
    ASSERT_TRUE(a.Open((dir.path() / "out.pkd").string()));
    EXPECT_EQ(a.GetSize(platform::utf8ToSjis("BG\\ソラ\\背景Ｂ.png")), 10);
}

TEST_F(PkdToolTest, NamesThatDifferOnlyInCaseAreRefused)
{
    testsupport::writeText((src / "textbox" / "default_font.bmp").string(), "other");
    PkdRun r = pkd({"pack", src.string(), (dir.path() / "out.pkd").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(fs::exists(dir.path() / "out.pkd"));
}

TEST_F(PkdToolTest, ExtractRefusesEntriesThatWouldLeaveTheFolder)
{
    PackWriter w;
    w.addBytes("..\\escaped.txt", {'x'});
    w.addBytes("a\\..\\..\\escaped2.txt", {'x'});
    w.addBytes("\\abs.txt", {'x'});
    w.addBytes("SCP/../../fwd.txt", {'x'});
    w.addBytes("SCP\\ok.scp", {'o', 'k'});
    std::string error;
    fs::path archive = dir.path() / "evil.pkd";
    ASSERT_TRUE(w.write(archive.string(), error)) << error;
    fs::path target = dir.path() / "deep" / "out";
    PkdRun r = pkd({"extract", archive.string(), target.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(text(target / "SCP" / "ok.scp"), "ok");
    EXPECT_FALSE(fs::exists(dir.path() / "deep" / "escaped.txt"));
    EXPECT_FALSE(fs::exists(dir.path() / "escaped2.txt"));
    EXPECT_FALSE(fs::exists(dir.path() / "deep" / "fwd.txt"));
    EXPECT_FALSE(fs::exists("/abs.txt"));
    EXPECT_NE(r.err.find("refused"), std::string::npos);
}

TEST_F(PkdToolTest, UsageAndBadArchives)
{
    EXPECT_EQ(pkd({}).code, 2);
    EXPECT_EQ(pkd({"pack", "only-one"}).code, 2);
    EXPECT_EQ(pkd({"frobnicate", "a", "b"}).code, 2);
    PkdRun help = pkd({"-h"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("pkd pack FOLDER OUT.pkd"), std::string::npos);

    fs::path garbage = dir.path() / "garbage.pkd";
    testsupport::writeText(garbage.string(), "PK\x03\x04 definitely a zip");
    EXPECT_EQ(pkd({"list", garbage.string()}).code, 1);
    EXPECT_EQ(pkd({"extract", garbage.string(), (dir.path() / "x").string()}).code, 1);
    EXPECT_EQ(pkd({"cat", garbage.string(), "a"}).code, 1);
    EXPECT_EQ(pkd({"list", (dir.path() / "missing.pkd").string()}).code, 1);
    EXPECT_EQ(pkd({"pack", (dir.path() / "no-folder").string(), (dir.path() / "o.pkd").string()}).code, 1);

    // A directory that claims more records than the file holds.
    std::vector<uint8_t> cut = archivebytes::archive({{"a", "1"}});
    archivebytes::putLe(cut, 4, 1000);
    testsupport::writeAll(garbage.string(), cut);
    PkdRun r = pkd({"list", garbage.string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("damaged"), std::string::npos);

    // An entry whose data lies past the end is listed as such.
    std::vector<uint8_t> past = archivebytes::header(1);
    archivebytes::appendRecord(past, archivebytes::RawRecord{"far", 10, 5000});
    testsupport::writeAll(garbage.string(), past);
    PkdRun far = pkd({"list", garbage.string()});
    EXPECT_EQ(far.code, 1);
    EXPECT_NE(far.out.find("far\t10\t5000\t(outside the file)"), std::string::npos);
}

TEST_F(PkdToolTest, RepackingTheSameFolderGivesTheSameBytes)
{
    fs::path one = dir.path() / "one.pkd", two = dir.path() / "two.pkd";
    ASSERT_EQ(pkd({"pack", src.string(), one.string()}).code, 0);
    ASSERT_EQ(pkd({"pack", src.string(), two.string()}).code, 0);
    EXPECT_EQ(testsupport::readAll(one.string()), testsupport::readAll(two.string()));
    // An archive written inside the folder it packs does not pack itself next time.
    fs::path inside = src / "self.pkd";
    ASSERT_EQ(pkd({"pack", src.string(), inside.string()}).code, 0);
    ASSERT_EQ(pkd({"pack", src.string(), inside.string()}).code, 0);
    EXPECT_EQ(pkd({"list", inside.string()}).out, pkd({"list", one.string()}).out);
}

} // namespace
