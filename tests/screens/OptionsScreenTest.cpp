// The options screen played like a player: the pointer or the arrow keys pick a control, a
// click or Enter works it, Escape or a right click closes; what changes is heard, seen and
// kept in "system.dat".
#include "ScreensFixture.h"

#include "screens/OptionsScreen.h"
#include "sound/SoundVolume.h"
#include "text/TextCommands.h"

namespace {

constexpr uint32_t kOptionRed = 0xC81E14; // the script's option background in the game tests

class OptionsTest : public ScreensTest {
protected:
    // The program on its title, then the options opened from the title's menu by keys.
    void startOnOptions(const ScreensGame& g = {})
    {
        start(g);
        press(DIK_UP); // the menu wraps to quit, then options
        press(DIK_UP);
        ASSERT_EQ(dx->titleScreen.TitleSelection, int(TitleItem::Options));
        press(DIK_RETURN);
        ASSERT_EQ(dx->screenState, ScreenState::Options);
        frame();
    }
    // A new game whose script puts a red option background in place and waits.
    void startInGame()
    {
        ScreensGame g;
        g.startScript = "@bg_load_ext option.png\r\n@wait 100000\r\n";
        g.entries.push_back({"BG\\option.png", plainPicture(0xC8, 0x1E, 0x14)});
        start(g);
        tap(DIK_RETURN);
        frames(45);
        ASSERT_EQ(dx->screenState, ScreenState::Game);
        ASSERT_TRUE(dx->scene.optionBg.active);
    }
    // The control worked by a click on its middle.
    void clickControl(int32_t control)
    {
        const OptionsRect r = optionsControlRect(control);
        click(r.x + r.w / 2, r.y + r.h / 2);
        frames(2); // the button is seen up again before the next press
    }
    // The control highlighted by the pointer and worked with Enter.
    void enterOn(int32_t control)
    {
        const OptionsRect r = optionsControlRect(control);
        pointer(r.x + r.w / 2, r.y + r.h / 2);
        frame();
        press(DIK_RETURN);
    }
    // A key pressed for a frame and seen up in the next, so the next press is a new one.
    void press(uint8_t key)
    {
        tap(key);
        frames(2);
    }
    std::vector<uint8_t> savedSettings() { return testsupport::readAll(dir.file("system.dat")); }
    std::vector<uint8_t> settingsInMemory()
    {
        const auto b = dx->config.toBytes();
        return std::vector<uint8_t>(b.begin(), b.end());
    }
    void resetSoundMarks()
    {
        for (auto& b : dx->sound.systemSounds)
            b.stop();
    }
    bool soundPlaying(int slot) const { return dx->sound.systemSounds[size_t(slot - 1)].isPlaying(); }
};

} // namespace

TEST_F(OptionsTest, TheTitlesOptionsItemOpensTheScreenAndEscapeOrRightClickGoesBack)
{
    startOnOptions();
    EXPECT_EQ(dx->options.OptionsReturnScreen, ScreenState::Title);
    EXPECT_TRUE(soundPlaying(1));
    // The default option picture, not the title, is behind the rows.
    EXPECT_NE(pixel(20, 300), 0x141EC8u);

    resetSoundMarks();
    press(DIK_ESCAPE);
    EXPECT_EQ(dx->screenState, ScreenState::Title);
    EXPECT_EQ(dx->titleScreen.TitlePhase, TitleState::Menu);
    EXPECT_EQ(dx->titleScreen.TitleSelection, int(TitleItem::Options));
    EXPECT_TRUE(soundPlaying(2));
    frame();
    EXPECT_EQ(pixel(20, 20), 0x141EC8u);

    press(DIK_RETURN);
    ASSERT_EQ(dx->screenState, ScreenState::Options);
    backend.input.buttonDown(1);
    backend.input.buttonUp(1);
    frames(2);
    EXPECT_EQ(dx->screenState, ScreenState::Title);
}

TEST_F(OptionsTest, LevelsStayInsideZeroToSevenAndEveryPressPlaysTheConfirmSound)
{
    startOnOptions();
    struct Case {
        int32_t control;
        int32_t SystemConfig::*field;
        int32_t before, after;
    };
    const Case cases[] = {
        {3, &SystemConfig::textSpeed, 7, 7},  {3, &SystemConfig::textSpeed, 4, 5},
        {2, &SystemConfig::textSpeed, 0, 0},  {2, &SystemConfig::textSpeed, 5, 4},
        {8, &SystemConfig::autoWait, 7, 7},   {7, &SystemConfig::autoWait, 0, 0},
        {7, &SystemConfig::autoWait, 3, 2},   {21, &SystemConfig::bgmLevel, 7, 7},
        {20, &SystemConfig::bgmLevel, 0, 0},  {24, &SystemConfig::seLevel, 6, 5},
        {25, &SystemConfig::seLevel, 7, 7},   {29, &SystemConfig::voiceLevel, 7, 7},
        {28, &SystemConfig::voiceLevel, 0, 0},
    };
    for (const Case& c : cases) {
        dx->config.*c.field = c.before;
        resetSoundMarks();
        clickControl(c.control);
        EXPECT_EQ(dx->config.*c.field, c.after) << "control " << c.control << " from " << c.before;
        EXPECT_TRUE(soundPlaying(1)) << "control " << c.control;
    }
}

TEST_F(OptionsTest, ChoiceRowsSetTheirFieldsAndTextChangesReachTheMessageWindowAtOnce)
{
    startOnOptions();
    struct Case {
        int32_t control;
        int32_t want; // the field's value afterwards
        std::function<int32_t(const SystemConfig&)> field;
    };
    const Case cases[] = {
        {4, 0, [](const SystemConfig& c) { return c.textDecoration; }},
        {5, 1, [](const SystemConfig& c) { return c.textDecoration; }},
        {6, 2, [](const SystemConfig& c) { return c.textDecoration; }},
        {10, 1, [](const SystemConfig& c) { return int32_t(c.autoAfterChoice); }},
        {9, 0, [](const SystemConfig& c) { return int32_t(c.autoAfterChoice); }},
        {12, 1, [](const SystemConfig& c) { return int32_t(c.skipAll); }},
        {11, 0, [](const SystemConfig& c) { return int32_t(c.skipAll); }},
        {14, 1, [](const SystemConfig& c) { return int32_t(c.skipAfterChoice); }},
        {13, 0, [](const SystemConfig& c) { return int32_t(c.skipAfterChoice); }},
        {16, 1, [](const SystemConfig& c) { return c.effectSpeed; }},
        {17, 2, [](const SystemConfig& c) { return c.effectSpeed; }},
        {15, 0, [](const SystemConfig& c) { return c.effectSpeed; }},
    };
    for (const Case& c : cases) {
        enterOn(c.control);
        EXPECT_EQ(c.field(dx->config), c.want) << "control " << c.control;
    }
    enterOn(5);
    EXPECT_EQ(dx->messageWindow.decoration, 1);
    dx->config.textSpeed = 1;
    enterOn(3);
    EXPECT_EQ(dx->messageWindow.textDelay, textDelayForSpeed(2));
}

TEST_F(OptionsTest, MusicLevelChangesAreInaudibleWhileMusicIsOffAndHeardWhenItIsOn)
{
    startOnOptions();
    SoundSystem& s = dx->sound;
    clickControl(18); // music off
    EXPECT_EQ(dx->config.bgmOn, 0);
    EXPECT_EQ(s.bgm.volume(), 1.0f);
    clickControl(20);
    clickControl(20);
    EXPECT_EQ(dx->config.bgmLevel, 5);
    EXPECT_EQ(s.bgm.volume(), 1.0f);
    clickControl(19); // on: the level chosen while it was off
    EXPECT_EQ(s.bgm.volume(), 81.0f);
    clickControl(21);
    EXPECT_EQ(s.bgm.volume(), 91.0f);
}

TEST_F(OptionsTest, VoicesSwitchedOffStaySilentWhenTheirLevelChanges)
{
    startOnOptions();
    SoundSystem& s = dx->sound;
    clickControl(26); // voices off
    for (const auto& v : s.voice)
        ASSERT_EQ(v.volume(), 1.0f);
    clickControl(28);
    clickControl(28);
    EXPECT_EQ(dx->config.voiceLevel, 5);
    for (const auto& v : s.voice)
        EXPECT_EQ(v.volume(), 1.0f) << "a voice switched off must not be heard again";
    clickControl(27);
    for (const auto& v : s.voice)
        EXPECT_EQ(v.volume(), 81.0f);
    clickControl(29);
    for (const auto& v : s.voice)
        EXPECT_EQ(v.volume(), 91.0f);
}

TEST_F(OptionsTest, EffectVolumeReachesTheEffectChannelsAndTheInterfaceSoundsAndTheTestPlaysAtIt)
{
    startOnOptions();
    SoundSystem& s = dx->sound;
    struct Step {
        int32_t control;
        float volume;
    };
    // Level 7 to 5, off (the level then waits), back on at 5.
    const Step steps[] = {{24, 91.0f}, {24, 81.0f}, {22, 1.0f}, {25, 1.0f}, {23, 91.0f}};
    for (const Step& st : steps) {
        clickControl(st.control);
        for (const auto& e : s.se)
            EXPECT_EQ(e.volume(), st.volume) << "control " << st.control;
        for (const auto& b : s.systemSounds)
            EXPECT_EQ(b.volume(), st.volume) << "control " << st.control;
    }
    // The test plays "SYSTEM\\test.wav" at that volume, and no confirm sound before it.
    resetSoundMarks();
    clickControl(31);
    EXPECT_TRUE(soundPlaying(4));
    EXPECT_FALSE(soundPlaying(1));
    EXPECT_EQ(s.systemSounds[3].volume(), 91.0f);
    EXPECT_NEAR(s.systemSounds[3].attenuation(), attenuationForVolume(91.0), 0.5);
}

TEST_F(OptionsTest, TheVoiceTestPlaysTheVoiceFileOnTheChannelUsedLastAtTheVoiceLevel)
{
    makeGame();
    std::filesystem::create_directories(dir.path() / "SOUND" / "VOICE");
    ASSERT_TRUE(soundtest::writeOgg(dir.file("SOUND/VOICE/dabada00_009.ogg"), soundtest::sine(22050, 1), 1, 22050));
    startOnOptions();
    dx->config.voiceLevel = 2;
    resetSoundMarks();
    clickControl(32);
    // Nothing has played yet, so the ring's next channel is 0 and the last one 7.
    const COggStream& v = dx->sound.voice[7];
    EXPECT_TRUE(v.isPlaying());
    EXPECT_FALSE(v.isLooping());
    EXPECT_EQ(v.volume(), 51.0f);
    EXPECT_NE(v.path().find("SOUND\\VOICE\\dabada00_009.ogg"), std::string::npos);
    EXPECT_FALSE(soundPlaying(1));
    dx->sound.voice[7].stop();
}

TEST_F(OptionsTest, AVoiceTestWithoutItsFilePlaysNothing)
{
    startOnOptions();
    clickControl(32);
    for (const auto& v : dx->sound.voice)
        EXPECT_FALSE(v.isPlaying());
    EXPECT_EQ(dx->screenState, ScreenState::Options);
}

TEST_F(OptionsTest, TheWindowModeButtonWhileWindowedOnlyPlaysTheSoundAndFullScreenToggles)
{
    startOnOptions();
    ASSERT_TRUE(dx->display.windowed());
    resetSoundMarks();
    clickControl(0);
    EXPECT_TRUE(soundPlaying(1));
    EXPECT_TRUE(dx->display.windowed());
    EXPECT_FALSE(dx->displayModeToggleRequested);
    EXPECT_EQ(dx->screenState, ScreenState::Options);

    clickControl(1);
    EXPECT_FALSE(dx->display.windowed());
    EXPECT_EQ(savedSettings().at(0), 0); // the toggle saves the settings
    resetSoundMarks();
    clickControl(1); // already full screen: the sound only
    EXPECT_TRUE(soundPlaying(1));
    EXPECT_FALSE(dx->display.windowed());
    clickControl(0);
    EXPECT_TRUE(dx->display.windowed());
}

TEST_F(OptionsTest, ArrowKeysMoveToTheNearestControlInTheirDirection)
{
    struct Case {
        int32_t from;
        OptionsDirection d;
        int32_t to;
    };
    using D = OptionsDirection;
    const Case cases[] = {
        {0, D::Right, 1},   {1, D::Right, 1},   {0, D::Left, 0},    {0, D::Up, 0},     {0, D::Down, 2},
        {1, D::Down, 3},    {2, D::Right, 3},   {3, D::Left, 2},    {2, D::Down, 4},   {4, D::Right, 5},
        {6, D::Down, 8},    {8, D::Right, 9},   {10, D::Down, 14},  {14, D::Up, 10},   {17, D::Down, 20},
        {21, D::Down, 25},  {25, D::Right, 31}, {31, D::Down, 32},  {32, D::Left, 29}, {32, D::Down, 30},
        {26, D::Down, 30},  {30, D::Down, -1},  {-1, D::Up, 30},    {-1, D::Down, -1}, {-1, D::Left, -1},
        {-1, D::Right, -1}, {30, D::Up, 32},    {18, D::Up, 15},    {22, D::Up, 18},   {11, D::Up, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(optionsMove(c.from, c.d), c.to) << c.from << " dir " << int(c.d);

    // The same through the keyboard, while the pointer rests over a control.
    startOnOptions();
    pointer(330, 70);
    frame();
    ASSERT_EQ(dx->options.OptionsCursor, 0);
    for (uint8_t key : {DIK_DOWN, DIK_DOWN, DIK_RIGHT})
        press(key);
    EXPECT_EQ(dx->options.OptionsCursor, 5);
    press(DIK_SPACE);
    EXPECT_EQ(dx->config.textDecoration, 1);
}

TEST_F(OptionsTest, ThePointerPicksTheControlUnderItAndTheDetailButtonMovesToClose)
{
    const struct {
        int x, y, control;
    } cases[] = {
        {320, 64, 0},  {383, 79, 0}, {384, 70, -2}, {495, 64, 1}, {496, 112, 3}, {656, 336, 31},
        {687, 383, 32}, {720, 520, -1}, {751, 583, -1}, {752, 583, -2}, {319, 64, -2}, {640, 415, 30},
    };
    for (const auto& c : cases)
        EXPECT_EQ(optionsControlAt(c.x, c.y), c.control) << c.x << "," << c.y;

    startOnOptions();
    clickControl(30);
    EXPECT_EQ(dx->options.OptionsCursor, OptionsState::kClose);
    EXPECT_EQ(dx->screenState, ScreenState::Options);
    pointer(700, 100); // over nothing: the highlight stays
    frame();
    press(DIK_RETURN);
    EXPECT_EQ(dx->screenState, ScreenState::Title);
}

TEST_F(OptionsTest, TheCurrentSettingIsOrangeTheCursorRedAndTheHelpLineFollowsTheCursor)
{
    startOnOptions();
    pointer(10, 590);
    frame();
    // A control's middle pixel against its atlas picture times the tint (the buttons are opaque there).
    const demo::Image atlas = demo::drawAtlas(SpriteAtlas::Systex3, {});
    const std::vector<uint8_t> texels = atlas.rgba8();
    auto tinted = [&](int32_t control, SpriteId id, uint32_t tint) {
        const OptionsRect r = optionsControlRect(control);
        const InterfaceSprite& sp = interfaceSprite(id);
        const size_t at = (size_t(sp.y + sp.h / 2) * size_t(atlas.width()) + size_t(sp.x + sp.w / 2)) * 4;
        if (texels[at + 3] != 255)
            return false;
        const uint32_t got = pixel(r.x + r.w / 2, r.y + r.h / 2);
        for (int ch = 0; ch < 3; ++ch) {
            const int want = texels[at + size_t(ch)] * int((tint >> (16 - 8 * ch)) & 0xFF) / 255;
            if (std::abs(int((got >> (16 - 8 * ch)) & 0xFF) - want) > 2)
                return false;
        }
        return true;
    };
    // Decoration is outline by default: its button orange, the other two white.
    EXPECT_TRUE(tinted(6, SpriteId::OptDecoOutline, 0xFFB060));
    EXPECT_TRUE(tinted(5, SpriteId::OptDecoShadow, 0xFFFFFF));
    EXPECT_TRUE(tinted(1, SpriteId::OptFullScreen, 0xFFFFFF));
    // Control 0 has the highlight since opening: red, even though window mode is in force.
    EXPECT_TRUE(tinted(0, SpriteId::OptWindow, 0xFF6060));

    const OptionsRect& help = OptionsLayout::kHelp;
    const int helpText = whitePixels(help.x, help.y, help.w, help.h);
    EXPECT_GT(helpText, 50);
    std::vector<uint32_t> first;
    for (int y = help.y; y < help.y + help.h; ++y)
        for (int x = help.x; x < help.x + help.w; ++x)
            first.push_back(pixel(x, y));

    const OptionsRect r = optionsControlRect(30);
    pointer(r.x + 4, r.y + 4);
    frame();
    EXPECT_EQ(dx->options.OptionsCursor, 30);
    EXPECT_TRUE(tinted(30, SpriteId::OptDetail, 0xFF6060));
    EXPECT_TRUE(tinted(0, SpriteId::OptWindow, 0xFFB060)); // back to the setting's orange
    std::vector<uint32_t> second;
    for (int y = help.y; y < help.y + help.h; ++y)
        for (int x = help.x; x < help.x + help.w; ++x)
            second.push_back(pixel(x, y));
    EXPECT_NE(first, second);
    // The long help line of control 30 takes more room than the short one of control 0.
    EXPECT_GT(whitePixels(help.x, help.y, help.w, help.h), helpText);
}

TEST_F(OptionsTest, ClosingFromTheGameReturnsToTheGameWithTheSettingsWritten)
{
    startInGame();
    frame();
    EXPECT_EQ(pixel(100, 100), 0x141EC8u);
    std::vector<uint32_t> before;
    for (int y = 0; y < 600; y += 7)
        for (int x = 0; x < 800; x += 7)
            before.push_back(pixel(x, y));

    openOptions(*dx, ScreenState::Game);
    frame();
    EXPECT_EQ(dx->screenState, ScreenState::Options);
    EXPECT_EQ(pixel(100, 100), kOptionRed); // the script's option background
    clickControl(5);
    clickControl(20);
    resetSoundMarks();
    backend.input.buttonDown(1);
    backend.input.buttonUp(1);
    frames(2);
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(soundPlaying(2));
    EXPECT_EQ(savedSettings(), settingsInMemory());
    EXPECT_EQ(savedSettings().at(16), 1);
    EXPECT_EQ(savedSettings().at(32), 6);

    // The game's picture is back as it was (the pointer where it was), and the script still waits.
    pointer(700, 590);
    frame();
    std::vector<uint32_t> after;
    for (int y = 0; y < 600; y += 7)
        for (int x = 0; x < 800; x += 7)
            after.push_back(pixel(x, y));
    EXPECT_EQ(before, after);
    EXPECT_TRUE(dx->scriptState.waitActive);
}

TEST_F(OptionsTest, ADisplayToggleInsideTheOptionsLeavesTheGameAndItsOptionBackgroundIntact)
{
    startInGame();
    frame();
    openOptions(*dx, ScreenState::Game);
    frame();
    clickControl(1); // full screen: the device is rebuilt
    ASSERT_FALSE(dx->display.windowed());
    frame();
    EXPECT_EQ(pixel(100, 100), kOptionRed);
    clickControl(-1); // the close button
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    frame();
    EXPECT_EQ(pixel(100, 100), 0x141EC8u);
    EXPECT_EQ(savedSettings().at(0), 0);
}

TEST_F(OptionsTest, TheQuitQuestionOverTheOptionsHasTheKeysToItself)
{
    startOnOptions();
    const OptionsRect r = optionsControlRect(5);
    pointer(r.x + 4, r.y + 4);
    frame();
    ASSERT_EQ(dx->options.OptionsCursor, 5);
    closeWindow();
    frame();
    ASSERT_TRUE(dx->confirmOpen);
    press(DIK_ESCAPE);
    press(DIK_RETURN); // "no" is highlighted: the box closes
    EXPECT_FALSE(dx->confirmOpen);
    EXPECT_EQ(dx->screenState, ScreenState::Options);
    EXPECT_EQ(dx->config.textDecoration, 2);
    press(DIK_RETURN);
    EXPECT_EQ(dx->config.textDecoration, 1);
}
