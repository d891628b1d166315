#pragma once
// A small story in its own game folder: a background, a character, a cut-in, music and two
// sound effects, then a few text commands, so that saves and loads have a scene to keep.
#include "ScreensFixture.h"

#include "screens/GameMenu.h"
#include "screens/SaveLoadScreen.h"
#include "script/SaveGame.h"

#include <fstream>

inline const char* const kSaveScenario = R"(@def_text
{
0 語り FFFF off
1 ひかり FFCE on
}
@bg_load red.png
@bg_change 0
@chr_load 0,girl.png
@chr_swap_screen 0
@chr_setpos 0,2
@chr_show 0
@cutin_load 2,star.png
@bgm_load music.ogg
@bgm play
@se_load 0,loop.ogg
@se 0,play,loop
@se_load 1,once.ogg
@se 1,play
@text,1
{
はじめの言葉。
}
@bg_load blue.png
@bg_change 0
@text,0
{
つぎの言葉。
}
@wait 100000
)";

class SaveGameTest : public ScreensTest {
public:
    static constexpr uint32_t kRed = 0xC81E14, kBlue = 0x1428C8;

    static std::vector<uint8_t> solid(int w, int h, uint32_t rgb)
    {
        std::vector<uint8_t> px(size_t(w) * size_t(h) * 3);
        for (size_t i = 0; i < px.size(); i += 3) {
            px[i] = uint8_t(rgb >> 16);
            px[i + 1] = uint8_t(rgb >> 8);
            px[i + 2] = uint8_t(rgb);
        }
        return demo::encodePngRgb(w, h, px);
    }

    void writeGame(const std::string& scenarioUtf8)
    {
        ScreensGame g;
        std::string crlf;
        for (char ch : scenarioUtf8) {
            if (ch == '\n')
                crlf += '\r';
            crlf += ch;
        }
        g.startScript = platform::utf8ToSjis(crlf);
        g.entries = {{"BG\\red.png", solid(800, 600, kRed)},
                     {"BG\\blue.png", solid(800, 600, kBlue)},
                     {"CHR\\girl.png", solid(512, 608, 0x20E020)},
                     {"CUT\\star.png", solid(64, 64, 0xFFFF00)}};
        makeGame(g);
        const auto pcm = soundtest::sine(22050, 1);
        std::filesystem::create_directories(dir.path() / "SOUND" / "BGM");
        std::filesystem::create_directories(dir.path() / "SOUND" / "SE");
        ASSERT_TRUE(soundtest::writeOgg((dir.path() / "SOUND" / "BGM" / "music.ogg").string(), pcm, 1, 22050));
        ASSERT_TRUE(soundtest::writeOgg((dir.path() / "SOUND" / "SE" / "loop.ogg").string(), pcm, 1, 22050));
        ASSERT_TRUE(soundtest::writeOgg((dir.path() / "SOUND" / "SE" / "once.ogg").string(), pcm, 1, 22050));
    }

    // Starts the program on the title and begins a new game up to the first text's click wait.
    void startStory(const std::string& scenarioUtf8 = kSaveScenario)
    {
        writeGame(scenarioUtf8);
        app_ = std::make_unique<Application>(*dx);
        ASSERT_TRUE(app_->start());
        backend.window.post(platform::WindowMessage::Activate);
        pointer(700, 590);
        frame();
        tap(DIK_RETURN); // new game
        waitFor([&] { return dx->gameState == GameState::PageClickWait; });
    }

    // A key tapped and two frames run: the press, then the release, so that the same key can
    // be tapped again at once.
    void press(uint8_t key)
    {
        tap(key);
        frames(2);
    }

    // The right button held over one frame, then let go.
    void rightClick()
    {
        backend.input.buttonDown(1);
        frame();
        backend.input.buttonUp(1);
        frame();
    }

    template <class F>
    void waitFor(F done, int limit = 600)
    {
        for (int i = 0; i < limit && !done(); ++i)
            frame();
        if (!done()) {
            std::string log;
            for (const std::string& l : runLog().lines())
                log += platform::sjisToUtf8(l) + "\n";
            FAIL() << "condition not reached: screen " << int(dx->screenState) << " game " << int(dx->gameState)
                   << "\n" << log;
        }
    }

    // The next text: a click, then its click wait.
    void nextText()
    {
        click(400, 300);
        frame();
        waitFor([&] { return dx->gameState == GameState::PageClickWait; });
    }

    // Saves the running game into slot through key 1, the page tabs and the slot boxes.
    void saveWithKeys(int slot)
    {
        press(DIK_1);
        ASSERT_EQ(dx->screenState, ScreenState::SaveLoad);
        ASSERT_TRUE(dx->saveLoad.SaveMode);
        chooseSlot(slot);
        frame(); // written at this draw
    }

    // Picks a page tab and a slot box with the pointer.
    void chooseSlot(int slot)
    {
        const int page = slot / 8, c = slot % 8;
        if (dx->saveLoad.SlotPage != page) {
            const int cur = dx->saveLoad.SlotPage;
            click(SaveLoadLayout::tabX(page, cur) + 8, 570);
            frame();
        }
        click(SaveLoadLayout::boxX(c) + 200, SaveLoadLayout::boxY(c) + 40);
        frame();
    }

    std::vector<uint8_t> fileBytes(const std::string& rel) { return testsupport::readAll(dir.file(rel)); }
};
