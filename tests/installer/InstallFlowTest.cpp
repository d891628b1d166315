// The demo disc installed into a temporary home and removed again, through the pages with
// the pointer, as a user would.
#include "SetupFixture.h"

#include "installer/DesktopIntegration.h"
#include "platform/KeyValueFile.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace setuptest;
using platform::MessageBoxResult;
using platform::PictureEventKind;

namespace {

#ifdef SORAFUNE_DISC_DIR
const std::string kDisc = SORAFUNE_DISC_DIR;
#else
const std::string kDisc;
#endif

// Every file below a folder, as relative paths.
std::vector<std::string> filesBelow(const std::string& root)
{
    std::vector<std::string> out;
    if (!fs::is_directory(root))
        return out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        out.push_back(fs::relative(e.path(), root).generic_string() + (e.is_directory() ? "/" : ""));
    std::sort(out.begin(), out.end());
    return out;
}

// When SETUP_SHOTS is set, each page's picture goes there as a PNG, to be looked at.
void shot(const SetupRun& r, const std::string& name)
{
    const char* dir = std::getenv("SETUP_SHOTS");
    if (!dir)
        return;
    const auto& px = r.backend.pictureWindow.frame;
    std::vector<uint8_t> rgb;
    for (uint32_t p : px) {
        rgb.push_back(uint8_t(p >> 16));
        rgb.push_back(uint8_t(p >> 8));
        rgb.push_back(uint8_t(p));
    }
    demo::writeFile(std::string(dir) + "/" + name + ".png",
                    demo::encodePngRgb(r.backend.pictureWindow.frameWidth, r.backend.pictureWindow.frameHeight, rgb));
}

// The programs on the disc are tens of megabytes: compared in blocks, not byte by byte.
bool sameBytes(const std::string& a, const std::string& b)
{
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    std::vector<char> ba(1 << 20), bb(1 << 20);
    while (fa && fb) {
        fa.read(ba.data(), std::streamsize(ba.size()));
        fb.read(bb.data(), std::streamsize(bb.size()));
        if (fa.gcount() != fb.gcount() || std::memcmp(ba.data(), bb.data(), size_t(fa.gcount())) != 0)
            return false;
    }
    return !fa && !fb;
}

bool desktopFileValidate(const std::string& path, std::string& output)
{
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0)
        return true;
    const std::string cmd = "desktop-file-validate '" + path + "' 2>&1";
    FILE* p = ::popen(cmd.c_str(), "r");
    char buf[512];
    while (p && std::fgets(buf, sizeof buf, p))
        output += buf;
    return p && ::pclose(p) == 0;
}

class InstallFlow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (kDisc.empty() || !fs::exists(kDisc + "/data.pkd"))
            GTEST_SKIP() << "the build made no install disc";
    }
    TempHome home;
};

TEST_F(InstallFlow, InstallsTheDemoAndRemovesItAgain)
{
    const std::string games = home.home + "/Spiele";
    const std::string folder = games + "/鷺庵/星降る丘の鐘";
    {
        testsupport::CurrentDir cd(kDisc);
        SetupRun r;
        ASSERT_TRUE(r.start());
        EXPECT_EQ(platform::sjisToUtf8(r.backend.pictureWindow.caption), "星降る丘の鐘　セットアップ");
        EXPECT_EQ(r.backend.pictureWindow.x, (1920 - 480) / 2);
        EXPECT_EQ(r.backend.pictureWindow.y, (1040 - 360) / 2);
        EXPECT_FALSE(r.program.installed());
        shot(r, "page0");
        r.move(200, 210);
        EXPECT_EQ(r.program.hovered(), 1);
        EXPECT_EQ(r.backend.pictureWindow.pointer, platform::PointerShape::Hand);
        shot(r, "page0-hover");

        r.click(kPageStart, 1);
        ASSERT_EQ(r.program.page(), kPageFolder);
        EXPECT_EQ(r.program.state().installRoot, home.data());
        shot(r, "page1");

        // A removable disc is refused and the folder stays; then a folder with a trailing '/'.
        r.backend.shell.removable.insert("/media/usb");
        r.backend.shell.answers.push_back({platform::FolderAnswer::Kind::Chosen, "/media/usb/games"});
        r.click(kPageFolder, 1);
        EXPECT_EQ(r.shownTexts().back(), "ハードディスク以外にはインストールできません。");
        EXPECT_EQ(r.program.state().installRoot, home.data());
        r.backend.shell.answers.push_back({platform::FolderAnswer::Kind::Chosen, games + "/"});
        r.click(kPageFolder, 1);
        EXPECT_EQ(r.program.state().installRoot, games);
        EXPECT_EQ(platform::sjisToUtf8(r.backend.shell.asked.back().title), "インストール先ディレクトリを指定してください");

        // The folder does not exist: asked, and Cancel stays on the folder page.
        r.backend.messageBoxes.answers.push_back(MessageBoxResult::Cancel);
        r.click(kPageFolder, 3);
        EXPECT_EQ(r.program.page(), kPageFolder);
        EXPECT_EQ(r.shownTexts().back(), folder + " は存在しません。ディレクトリを作成しますか？");
        EXPECT_EQ(platform::sjisToUtf8(r.backend.messageBoxes.shown.back().caption), "ディレクトリの作成");
        r.click(kPageFolder, 3);
        ASSERT_EQ(r.program.page(), kPageConfirm);
        shot(r, "page2");

        // Copying runs line by line, one per repaint, and closing is ignored meanwhile.
        size_t boxes = r.backend.messageBoxes.shown.size();
        r.backend.messageBoxes.answers.push_back(MessageBoxResult::Yes); // the desktop link
        r.click(kPageConfirm, 2);
        EXPECT_EQ(r.program.page(), kPageInstalled);
        EXPECT_EQ(r.backend.messageBoxes.shown.size(), boxes + 1);
        EXPECT_EQ(r.shownTexts().back(), "デスクトップにショートカットを作成しますか？");
        shot(r, "page5");
        r.click(kPageInstalled, 1);
        EXPECT_TRUE(r.program.quitting());
        EXPECT_EQ(r.program.exitCode(), 0);
    }

    // Every file of the disc, byte for byte, and the folders the game writes into.
    for (const std::string& rel : filesBelow(kDisc)) {
        if (rel.back() == '/')
            continue;
        SCOPED_TRACE(rel);
        ASSERT_TRUE(fs::exists(folder + "/" + rel));
        EXPECT_TRUE(sameBytes(folder + "/" + rel, kDisc + "/" + rel));
    }
    EXPECT_TRUE(fs::is_directory(folder + "/SAVE"));
    EXPECT_TRUE(::access((folder + "/sorafune").c_str(), X_OK) == 0);
    EXPECT_TRUE(::access((folder + "/setup").c_str(), X_OK) == 0);

    // The record: every DELETE of a folder's files before that folder's RMDIR, inner folders
    // before outer ones.
    const auto record = splitListLines(text(folder + "/Uninstall.dir"));
    ASSERT_FALSE(record.empty());
    std::map<std::string, size_t> rmdirAt;
    for (size_t i = 0; i < record.size(); ++i)
        if (record[i].text.rfind("RMDIR\t", 0) == 0)
            rmdirAt[record[i].text.substr(6)] = i;
    for (size_t i = 0; i < record.size(); ++i) {
        const std::string& line = record[i].text;
        const std::string path = line.substr(line.find('\t') + 1);
        for (size_t cut = path.rfind('\\'); cut != std::string::npos; cut = path.rfind('\\', cut - 1)) {
            ASSERT_TRUE(rmdirAt.count(path.substr(0, cut))) << line;
            EXPECT_LT(i, rmdirAt[path.substr(0, cut)]) << line;
            if (cut == 0)
                break;
        }
    }
    EXPECT_EQ(text(folder + "/Uninstall.dir").find("\r\n") != std::string::npos, true);

    platform::KeyValues kv;
    ASSERT_TRUE(platform::readKeyValueFile(home.config() + "/鷺庵/星降る丘の鐘/install.ini", kv));
    EXPECT_EQ(kv["INSTALL_NO"], "1");
    EXPECT_EQ(kv["INSTALL_DIR"], folder);

    const std::string menu = home.data() + "/applications/鷺庵/星降る丘の鐘";
    const std::string entries[] = {menu + "/星降る丘の鐘.desktop", menu + "/はじめにお読みください.desktop",
                                   menu + "/星降る丘の鐘のアンインストール.desktop", home.desktop() + "/星降る丘の鐘.desktop"};
    for (const std::string& e : entries) {
        SCOPED_TRACE(e);
        ASSERT_TRUE(fs::exists(e));
        std::string out;
        EXPECT_TRUE(desktopFileValidate(e, out)) << out;
    }
    EXPECT_NE(text(entries[0]).find("Exec=\"" + folder + "/sorafune\"\n"), std::string::npos);
    EXPECT_NE(text(entries[0]).find("Path=" + folder + "\n"), std::string::npos);
    EXPECT_NE(text(entries[1]).find("Exec=\"xdg-open\" \"" + folder + "/はじめにお読みください.txt\""), std::string::npos);
    EXPECT_NE(text(entries[2]).find("Exec=\"" + folder + "/setup\""), std::string::npos);
    struct stat st{};
    ASSERT_EQ(::stat(entries[3].c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IXUSR);

    // Started again from the installed folder: only the uninstall is offered.
    {
        testsupport::CurrentDir cd(folder);
        SetupRun r;
        ASSERT_TRUE(r.start());
        EXPECT_TRUE(r.program.installed());
        EXPECT_TRUE(r.program.runningFromInstall());
        r.move(200, 210);
        EXPECT_EQ(r.program.hovered(), 0);
        r.click(kPageStart, 2);
        ASSERT_EQ(r.program.page(), kPageUninstalled);
        EXPECT_EQ(r.shownTexts().back(), "アンインストールしますか？");
        shot(r, "page102");
        r.click(kPageUninstalled, 1);
        EXPECT_TRUE(r.program.quitting());
        r.program.finish();
        EXPECT_EQ(r.program.exitCode(), 0);
    }
    EXPECT_FALSE(fs::exists(games + "/鷺庵"));
    EXPECT_TRUE(fs::is_directory(games));
    EXPECT_EQ(filesBelow(home.config()), std::vector<std::string>{"user-dirs.dirs"});
    EXPECT_EQ(filesBelow(home.data() + "/applications"), std::vector<std::string>{});
    EXPECT_EQ(filesBelow(home.desktop()), std::vector<std::string>{});
}

TEST_F(InstallFlow, TheProgressBarMovesLineByLineAndClosingWaits)
{
    testsupport::CurrentDir cd(kDisc);
    SetupRun r;
    ASSERT_TRUE(r.start());
    r.click(kPageStart, 1);
    r.click(kPageFolder, 3);
    r.move(380, 310);
    r.backend.pictureWindow.post(PictureEventKind::LeftButtonUp, 380, 310);
    while (r.program.pumpOne() && !(r.program.page() == kPageCopying && r.program.stepsDone() * 2 >= r.program.stepCount()))
        ;
    ASSERT_EQ(r.program.page(), kPageCopying);
    const size_t done = r.program.stepsDone();
    r.program.pumpOne(); // the repaint of the line just run, and the next line
    EXPECT_EQ(r.program.stepsDone(), done + 1);
    shot(r, "page3");
    const auto& px = r.backend.pictureWindow.frame;
    auto at = [&](int x, int y) { return px[size_t(y) * 480 + size_t(x)] & 0xFFFFFF; };
    const int percent = int(done * 100 / r.program.stepCount());
    EXPECT_EQ(at(78, 198), 0xFFFFFFu);                           // the white frame
    EXPECT_EQ(at(401, 233), 0xFFFFFFu);
    EXPECT_EQ(at(81, 201), 0x4060FFu);                           // the bar ...
    EXPECT_EQ(at(80 + int(percent * 3.2) - 1, 231), 0x4060FFu);  // ... up to the percentage
    EXPECT_EQ(at(399, 231), 0x000000u);                          // and black beyond

    // Closing while copying is ignored; the copy goes on to the end.
    const size_t boxes = r.backend.messageBoxes.shown.size();
    r.backend.pictureWindow.post(PictureEventKind::Close);
    r.program.pumpOne();
    EXPECT_EQ(r.backend.messageBoxes.shown.size(), boxes);
    while (r.program.pumpOne() && r.program.page() != kPageInstalled)
        ;
    shot(r, "page4"); // the last picture shown is the registering page
    const int redAt = 0xFF0000;
    EXPECT_NE(std::count_if(px.begin(), px.end(), [&](uint32_t p) { return int(p & 0xFFFFFF) == redAt; }), 0);
    r.program.run(false);
    EXPECT_EQ(r.program.page(), kPageInstalled);
    EXPECT_FALSE(r.program.quitting());
}

TEST_F(InstallFlow, ClosingAsksExceptOnTheFirstPage)
{
    testsupport::CurrentDir cd(kDisc);
    {
        SetupRun r;
        ASSERT_TRUE(r.start());
        r.post(PictureEventKind::Close);
        EXPECT_TRUE(r.program.quitting());
        EXPECT_EQ(r.program.exitCode(), 0);
        EXPECT_TRUE(r.backend.messageBoxes.shown.empty());
    }
    {
        SetupRun r;
        ASSERT_TRUE(r.start());
        r.click(kPageStart, 1);
        r.backend.messageBoxes.answers.push_back(MessageBoxResult::Cancel);
        r.post(PictureEventKind::Close);
        EXPECT_FALSE(r.program.quitting());
        r.post(PictureEventKind::Close);
        EXPECT_EQ(r.shownTexts(), (std::vector<std::string>{"インストールを中止しますか？", "インストールを中止しますか？",
                                                            "インストールを中止しました"}));
        EXPECT_TRUE(r.program.quitting());
        EXPECT_EQ(r.program.exitCode(), -1);
    }
}

TEST_F(InstallFlow, WithoutAChooserTheFolderIsTypedInTheWindow)
{
    testsupport::CurrentDir cd(kDisc);
    SetupRun r;
    ASSERT_TRUE(r.start());
    r.click(kPageStart, 1);
    r.backend.shell.answers.push_back({platform::FolderAnswer::Kind::NoChooser, {}});
    r.click(kPageFolder, 1);
    ASSERT_TRUE(r.program.enteringPath());
    EXPECT_TRUE(r.backend.pictureWindow.textInput);
    for (int i = 0; i < 4; ++i)
        r.post(PictureEventKind::Backspace); // "data" goes
    r.post(PictureEventKind::Text, "ゲーム");
    r.post(PictureEventKind::Backspace);     // one whole character
    r.post(PictureEventKind::Text, "ム/");
    shot(r, "page1-entry");
    // Clicks elsewhere do nothing while typing.
    r.click(kPageFolder, 2);
    EXPECT_EQ(r.program.page(), kPageFolder);
    r.post(PictureEventKind::Enter);
    EXPECT_FALSE(r.program.enteringPath());
    EXPECT_FALSE(r.backend.pictureWindow.textInput);
    EXPECT_EQ(r.program.state().installRoot, home.home + "/ゲーム");
    // Escape keeps the folder.
    r.backend.shell.answers.push_back({platform::FolderAnswer::Kind::NoChooser, {}});
    r.click(kPageFolder, 1);
    r.post(PictureEventKind::Text, "x");
    r.post(PictureEventKind::Escape);
    EXPECT_EQ(r.program.state().installRoot, home.home + "/ゲーム");
}

} // namespace
