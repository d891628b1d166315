#include "EngineFixture.h"

#include "app/Application.h"
#include "platform/Text.h"

#include <filesystem>

// The game runs from its own folder and opens "system.pkd" there: each start-up test gets an
// empty but valid archive in its program folder and runs with that folder as the current one.
class StartupTest : public GameFolderTest {
protected:
    void writeArchive(const std::vector<uint8_t>& bytes) { testsupport::writeAll(dir.file("system.pkd"), bytes); }
};

TEST_F(StartupTest, FirstStartWritesDefaultsAndOpensACentredHiddenThenShownWindow)
{
    Application app(*dx);
    ASSERT_TRUE(app.start());
    EXPECT_EQ(testsupport::readAll(dir.file("system.dat")).size(), 100u);
    EXPECT_EQ(dx->config.textSpeed, 5);
    EXPECT_TRUE(dx->display.windowed());

    auto& w = backend.window;
    EXPECT_EQ(platform::sjisToUtf8(w.title), "星降る丘の鐘");
    EXPECT_EQ(w.width, 800);
    EXPECT_EQ(w.height, 600);
    EXPECT_EQ(w.x, (1920 - 800) / 2);
    EXPECT_EQ(w.y, (1040 - 600) / 2);
    ASSERT_GE(w.showHistory.size(), 2u);
    EXPECT_EQ(w.showHistory.front(), platform::ShowCommand::Hide);
    EXPECT_TRUE(w.visible);
    EXPECT_GE(w.raiseCount, 1);

    auto& lines = runLog().lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], platform::utf8ToSjis("Starting system... [星降る丘の鐘]\n"));
    EXPECT_EQ(lines[1], "Version 0.94 BUILD 9 (2005/11/04)\n");
    dx->destroyMainWindow();
    app.finish();
}

TEST_F(StartupTest, SmallWorkAreaPutsTheWindowAtTheTop)
{
    backend.window.work = platform::Rect{0, 0, 640, 480};
    Application app(*dx);
    ASSERT_TRUE(app.start());
    EXPECT_EQ(backend.window.y, 0);
    EXPECT_EQ(backend.window.x, (640 - 800) / 2); // -80: x is not clamped
    app.finish();
}

TEST_F(StartupTest, FullScreenStartCoversTheDesktopAndHidesTheCursor)
{
    writeFullScreenSettings();
    Application app(*dx);
    ASSERT_TRUE(app.start());
    EXPECT_FALSE(dx->display.windowed());
    EXPECT_TRUE(backend.window.fullscreen);
    EXPECT_EQ(backend.window.width, 1920);
    EXPECT_EQ(backend.window.height, 1080);
    EXPECT_LT(backend.window.cursorCount(), 0);
    app.finish();
}

TEST_F(StartupTest, SecondCopyRaisesTheFirstAndExitsWithoutAWindow)
{
    Application first(*dx);
    ASSERT_TRUE(first.start());
    int raisesBefore = backend.window.raiseCount;

    platform::HeadlessBackend otherBackend;
    CDirectX other(otherBackend.services);
    Application second(other);
    EXPECT_EQ(second.run(), -1);
    EXPECT_FALSE(otherBackend.window.exists());

    first.step();
    EXPECT_GT(backend.window.raiseCount, raisesBefore);
    first.finish();
}

TEST_F(StartupTest, WindowCreationFailureEndsWithoutAMessage)
{
    backend.window.failCreate = true;
    Application app(*dx);
    EXPECT_EQ(app.run(), -1);
    EXPECT_TRUE(backend.messageBoxes.shown.empty());
}

TEST_F(StartupTest, ClosingTheWindowAsksFirstAndYesEndsTheLoopAndLogsTheRunTime)
{
    Application app(*dx);
    ASSERT_TRUE(app.start());
    backend.window.post(platform::WindowMessage::Activate);
    backend.clock.advance(1234);
    backend.window.post(platform::WindowMessage::Close);
    auto run = [&](int n) {
        for (int i = 0; i < n && app.step(); ++i) {
        }
    };
    run(10);
    EXPECT_FALSE(dx->quitPosted); // the close only asks
    EXPECT_TRUE(dx->confirmOpen);
    EXPECT_FALSE(dx->confirm.ConfirmToTitle);
    EXPECT_EQ(dx->confirm.ConfirmChoice, ConfirmState::kNo);

    backend.input.keyDown(DIK_LEFT);
    backend.input.keyUp(DIK_LEFT);
    run(5);
    EXPECT_EQ(dx->confirm.ConfirmChoice, ConfirmState::kYes);
    std::filesystem::remove(dir.file("system.dat"));
    backend.input.keyDown(DIK_RETURN);
    backend.input.keyUp(DIK_RETURN);
    run(100);
    EXPECT_TRUE(dx->quitPosted);
    const int ranFor = int(backend.clock.now() - dx->startTime);
    EXPECT_GE(ranFor, 1234);
    EXPECT_EQ(app.finish(), 0);
    EXPECT_FALSE(backend.window.visible);
    // The orderly end writes the settings and the read-text record.
    EXPECT_EQ(testsupport::readAll(dir.file("system.dat")).size(), 100u);
    EXPECT_TRUE(std::filesystem::exists(dir.file("text.dat")));
    EXPECT_EQ(runLog().lines().back(), platform::utf8ToSjis("起動時間 : ") + std::to_string(ranFor) + " msec\n");
}

TEST_F(StartupTest, MissingOrDamagedArchiveStopsWithAMessageBeforeAnyWindow)
{
    const std::vector<std::vector<uint8_t>> archives = {
        {},                                     // no file at all
        {'p', 'a', 'c', 'k', 0, 0, 0, 0},       // wrong magic
        {'P', 'A', 'C', 'K', 3, 0, 0, 0, 1, 2}, // directory cut short
    };
    for (size_t i = 0; i < archives.size(); ++i) {
        std::filesystem::remove(dir.file("system.pkd"));
        if (!archives[i].empty())
            writeArchive(archives[i]);
        platform::HeadlessBackend b;
        CDirectX engine(b.services);
        Application app(engine);
        EXPECT_EQ(app.run(), -1) << i;
        ASSERT_EQ(b.messageBoxes.shown.size(), 1u) << i;
        const auto& box = b.messageBoxes.shown[0];
        EXPECT_EQ(platform::sjisToUtf8(box.text), "初期化ファイルが不正です");
        EXPECT_EQ(box.caption, engine.title);
        EXPECT_EQ(box.type, platform::MessageBoxType::Ok);
        EXPECT_FALSE(box.hadOwner);
        EXPECT_FALSE(b.window.exists());
        EXPECT_FALSE(std::filesystem::exists(dir.file("system.dat"))); // stopped before the settings
        EXPECT_TRUE(runLog().lines().empty());
    }
}

TEST_F(StartupTest, ArchiveIsOpenedFromTheCurrentFolderAndKeptForTheRun)
{
    // One entry "SCP\\a.scp" holding "x", built from the format rules by hand.
    std::vector<uint8_t> bytes = {'P', 'A', 'C', 'K', 1, 0, 0, 0};
    std::vector<uint8_t> record(136, 0);
    std::string name = "SCP\\a.scp";
    std::copy(name.begin(), name.end(), record.begin());
    record[128] = 1;
    record[132] = 8 + 136;
    record.push_back('x');
    for (uint8_t b : record)
        bytes.push_back(pack::scrambleByte(b));
    writeArchive(bytes);
    Application app(*dx);
    ASSERT_TRUE(app.start());
    EXPECT_EQ(dx->archive.path(), "system.pkd");
    EXPECT_EQ(dx->archive.GetSize("scp\\A.SCP"), 1);
    char c = 0;
    EXPECT_EQ(dx->archive.Read("SCP\\a.scp", &c), 1);
    EXPECT_EQ(c, 'x');
    app.finish();
}
