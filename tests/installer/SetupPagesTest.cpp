// Pages, hit areas, start-up failures, line errors and reinstalls, on small discs of the
// tests' own.
#include "SetupFixture.h"

#include "installer/DesktopIntegration.h"

using namespace setuptest;
using platform::MessageBoxResult;
using platform::PictureEventKind;

namespace {

const char* const kHeader = "TITLE\t小さな旅\nINSTALL_NO\t5\nEXE_NAME\tgame\n";
const char* const kList = "INIT\nMKDIR\tDATA\nMODE\tPROTECT\nCOPY\tgame\nCOPY\tDATA\\a.txt\nCOPY\tsetup\n";

class SetupPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        disc = home.dir.str() + "/disc";
        writeDisc(disc, kHeader, kList, {{"game", "game v5"}, {"DATA/a.txt", "data v5"}, {"setup", "setup"}});
    }
    std::string folder() const { return home.data() + "/鷺庵/小さな旅"; }
    void registerAs(int installNo, const std::string& dir)
    {
        ASSERT_TRUE(writeRegistration(platform::utf8ToSjis("小さな旅"), Registration{installNo, dir}));
    }
    // Page 0 to 5 with every question answered yes.
    void install(SetupRun& r)
    {
        ASSERT_TRUE(r.start());
        r.click(kPageStart, 1);
        r.click(kPageFolder, 3);
        r.click(kPageConfirm, 2);
    }

    TempHome home;
    std::string disc;
};

TEST_F(SetupPages, HitAreasLeaveOutTheLeftColumnAndTopRow)
{
    testsupport::CurrentDir cd(disc);
    SetupRun r;
    ASSERT_TRUE(r.start());
    struct Case {
        int x, y, hovered;
    };
    const Case cases[] = {{176, 210, 0}, {177, 210, 1}, {303, 210, 1}, {304, 210, 0}, {200, 200, 0},
                          {200, 201, 1}, {200, 221, 1}, {200, 222, 0}, {200, 260, 0}}; // uninstall: not installed
    for (const Case& c : cases) {
        r.move(c.x, c.y);
        EXPECT_EQ(r.program.hovered(), c.hovered) << c.x << "," << c.y;
        EXPECT_EQ(r.backend.pictureWindow.pointer,
                  c.hovered ? platform::PointerShape::Hand : platform::PointerShape::Arrow);
    }
    // A click away from the buttons does nothing.
    r.backend.pictureWindow.post(PictureEventKind::LeftButtonUp, 10, 10);
    r.program.run(false);
    EXPECT_EQ(r.program.page(), kPageStart);
    r.click(kPageStart, 1);
    r.move(40, 310);
    EXPECT_EQ(r.program.hovered(), 2);
    r.click(kPageFolder, 2);
    EXPECT_EQ(r.program.page(), kPageStart);
}

TEST_F(SetupPages, StartUpFailuresEndWithTheirCodes)
{
    {
        testsupport::CurrentDir cd(home.dir.path());
        SetupRun r; // no data.pkd
        EXPECT_FALSE(r.program.start());
        EXPECT_EQ(r.program.exitCode(), -1);
        EXPECT_TRUE(r.backend.messageBoxes.shown.empty());
    }
    const std::string noHeader = home.dir.str() + "/noheader";
    {
        PackWriter pack;
        for (demo::GameFile& f : demo::setupArchive({}, {}, {}))
            if (f.name != "system")
                pack.addBytes(f.name, std::move(f.bytes));
        fs::create_directories(noHeader);
        std::string error;
        ASSERT_TRUE(pack.write(noHeader + "/data.pkd", error));
        testsupport::CurrentDir cd(noHeader);
        SetupRun r;
        EXPECT_FALSE(r.program.start());
        EXPECT_EQ(r.program.exitCode(), -2);
        ASSERT_EQ(r.shownTexts(), std::vector<std::string>{"コピーリストを読み込むことが出来ませんでした"});
        EXPECT_EQ(r.backend.messageBoxes.shown[0].caption, "ERROR");
        EXPECT_FALSE(r.backend.messageBoxes.shown[0].hadOwner);
    }
    {
        const std::string bad = home.dir.str() + "/badheader";
        writeDisc(bad, "TITLE\tx\n\ntitle\ty\n", kList, {});
        testsupport::CurrentDir cd(bad);
        SetupRun r;
        EXPECT_FALSE(r.program.start());
        EXPECT_EQ(r.shownTexts(), std::vector<std::string>{"3行目 : 解釈できない命令があります。"});
        EXPECT_EQ(r.program.exitCode(), 1);
    }
    {
        const std::string noTitle = home.dir.str() + "/notitle";
        writeDisc(noTitle, "INSTALL_NO\t1\nEXE_NAME\tgame\n", kList, {});
        testsupport::CurrentDir cd(noTitle);
        SetupRun r;
        EXPECT_FALSE(r.program.start());
        EXPECT_EQ(r.program.exitCode(), -2);
        EXPECT_EQ(r.shownTexts(), std::vector<std::string>{"コピーリストを読み込むことが出来ませんでした"});
    }
    {
        // A picture missing from the archive.
        const std::string noPicture = home.dir.str() + "/nopicture";
        PackWriter pack;
        for (demo::GameFile& f : demo::setupArchive({}, {}, {}))
            if (f.name != "back_s.png")
                pack.addBytes(f.name, std::move(f.bytes));
        fs::create_directories(noPicture);
        std::string error;
        ASSERT_TRUE(pack.write(noPicture + "/data.pkd", error));
        testsupport::CurrentDir cd(noPicture);
        SetupRun r;
        EXPECT_FALSE(r.program.start());
        EXPECT_EQ(r.program.exitCode(), -1);
    }
}

TEST_F(SetupPages, ALineErrorInTheCopyListStopsTheInstaller)
{
    writeDisc(disc, kHeader, "INIT\nCOPY\tgame\n\nCOPY\t..\\..\\escape\n", {});
    testsupport::CurrentDir cd(disc);
    SetupRun r;
    install(r);
    EXPECT_EQ(r.shownTexts().back(), "4行目 : 解釈できない命令があります。");
    EXPECT_EQ(platform::sjisToUtf8(r.backend.messageBoxes.shown.back().caption), "小さな旅");
    EXPECT_TRUE(r.program.quitting());
    EXPECT_EQ(r.program.exitCode(), 1);
    EXPECT_FALSE(fs::exists(home.data() + "/escape"));
}

TEST_F(SetupPages, AFailedCopyGoesBackToTheFolderPageAndTheRetryStartsAtTheTop)
{
    fs::remove(disc + "/setup");
    testsupport::CurrentDir cd(disc);
    SetupRun r;
    install(r);
    EXPECT_EQ(r.program.page(), kPageFolder);
    EXPECT_NE(r.shownTexts().back().find("setupをコピーできません。:2"), std::string::npos);
    EXPECT_EQ(text(folder() + "/game"), "game v5");
    testsupport::writeText(disc + "/setup", "setup");
    testsupport::writeText(folder() + "/game", "changed by hand");
    r.click(kPageFolder, 3);
    r.click(kPageConfirm, 2);
    ASSERT_EQ(r.program.page(), kPageInstalled);
    EXPECT_EQ(text(folder() + "/game"), "game v5"); // copied again: the list ran from its top
    EXPECT_EQ(text(folder() + "/Uninstall.dir"), "DELETE\tsetup\r\nDELETE\tDATA\\a.txt\r\nDELETE\tgame\r\nRMDIR\tDATA\r\n");
}

TEST_F(SetupPages, ReinstallingOverAnOlderOrNewerInstallation)
{
    struct Case {
        int installedNo;
        bool recordUpdated;
        bool filesReplaced;
    };
    const Case cases[] = {{3, true, true}, {5, true, true}, {9, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.installedNo);
        fs::remove_all(home.config());
        fs::remove_all(folder());
        fs::create_directories(folder() + "/DATA");
        testsupport::writeText(folder() + "/game", "old game");
        testsupport::writeText(folder() + "/DATA/a.txt", "old data");
        testsupport::writeText(folder() + "/Uninstall.dir", "DELETE\told.txt\r\n");
        registerAs(c.installedNo, folder());
        testsupport::CurrentDir cd(disc);
        SetupRun r;
        ASSERT_TRUE(r.start());
        EXPECT_TRUE(r.program.installed());
        EXPECT_FALSE(r.program.runningFromInstall());
        r.move(200, 260);
        EXPECT_EQ(r.program.hovered(), 2); // uninstall is offered too
        r.click(kPageStart, 1);
        EXPECT_EQ(r.program.state().installRoot, home.data());
        r.move(50, 25);
        EXPECT_EQ(r.program.hovered(), 0); // no folder change over an installation
        r.click(kPageFolder, 3);
        r.click(kPageConfirm, 2);
        ASSERT_EQ(r.program.page(), kPageInstalled);
        const Registration reg = readRegistration(platform::utf8ToSjis("小さな旅"));
        EXPECT_EQ(reg.installNo, c.recordUpdated ? 5 : c.installedNo);
        EXPECT_EQ(text(folder() + "/game"), c.filesReplaced ? "game v5" : "old game");
        EXPECT_EQ(text(folder() + "/DATA/a.txt"), c.filesReplaced ? "data v5" : "old data");
        // The record is appended to; kept files are not recorded.
        const std::string record = text(folder() + "/Uninstall.dir");
        EXPECT_EQ(record.rfind("DELETE\told.txt\r\nDELETE\tsetup\r\n", 0), 0u);
        EXPECT_EQ(record.find("DELETE\tgame") != std::string::npos, c.filesReplaced);
    }
}

TEST_F(SetupPages, UninstallWithoutARecordSaysSo)
{
    fs::create_directories(folder());
    fs::copy_file(disc + "/data.pkd", folder() + "/data.pkd");
    registerAs(5, folder());
    testsupport::CurrentDir cd(folder());
    SetupRun r;
    ASSERT_TRUE(r.start());
    EXPECT_TRUE(r.program.runningFromInstall());
    r.backend.messageBoxes.answers.push_back(MessageBoxResult::No);
    r.click(kPageStart, 2);
    EXPECT_EQ(r.program.page(), kPageStart);
    r.click(kPageStart, 2);
    EXPECT_EQ(r.shownTexts().back(), "削除リストを読み込むことが出来ませんでした");
    EXPECT_TRUE(r.program.quitting());
}

} // namespace
