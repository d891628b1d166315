// Saving and loading played like a player: key 1 and 2, the in-game menu, the slot list,
// the files a save writes and the scene a load puts back.
#include "SaveFixture.h"

#include "savedata/SaveRecord.h"

#include <ctime>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

using O = SaveRecord::Offset;

namespace {
int32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24);
}
std::string field(const std::vector<uint8_t>& b, size_t at)
{
    const char* p = reinterpret_cast<const char*>(b.data() + at);
    return std::string(p, strnlen(p, 64));
}
} // namespace

TEST_F(SaveGameTest, TheTextCommandFillsEveryFieldOfTheLiveRecord)
{
    startStory();
    const std::vector<uint8_t> b(dx->saveRecord.bytes.begin(), dx->saveRecord.bytes.end());
    ASSERT_EQ(b.size(), 6336u);
    struct IntField {
        size_t at;
        int32_t want;
    };
    const IntField ints[] = {
        {O::Version, 1000},         {O::GroupChannel, 1},       {O::GroupPosition, 2},    {O::CharacterAlpha + 4, 255},
        {O::BackgroundChannel, 1},  {O::CutinShown, 0},         {O::ActiveRegion, -1},    {O::WeatherKind, 0},
    };
    for (const IntField& f : ints)
        EXPECT_EQ(le32(b, f.at), f.want) << "offset " << f.at;
    struct NameField {
        size_t at;
        const char* want;
    };
    const NameField names[] = {
        {O::ScriptName, "startup.scp"},        {O::CharacterPictures + 64, "girl.png"}, {O::BackgroundNames + 64, "red.png"},
        {O::CutinNames + 2 * 64, "star.png"},  {O::SoundEffectNames, "loop.ogg"},      {O::SoundEffectNames + 64, "once.ogg"},
        {O::MusicName, "music.ogg"},           {O::CharacterPictures, ""},             {O::OptionBackground, ""},
    };
    for (const NameField& f : names)
        EXPECT_EQ(field(b, f.at), f.want) << "offset " << f.at;
    struct ByteField {
        size_t at;
        uint8_t want;
    };
    const ByteField bytes[] = {
        {O::GroupVisible, 1},         {O::GroupVisible + 1, 0},      {O::GroupShadow, 1},
        {O::SoundEffectPlaying, 1},   {O::SoundEffectLooping, 1},    {O::SoundEffectPlaying + 1, 1},
        {O::SoundEffectLooping + 1, 0}, {O::MusicPlaying, 1},        {O::MusicLooping, 1},
        {O::WindowShown, 1},          {O::ClickableActive, 0},       {O::WeatherActive, 0},
    };
    for (const ByteField& f : bytes)
        EXPECT_EQ(b[f.at], f.want) << "offset " << f.at;
    // The token index names the text command itself, so a load runs it again.
    EXPECT_NE(dx->script.tokens.at(size_t(le32(b, O::TokenIndex))).find("@text,1"), std::string::npos);
    // Speaker 1 of "@def_text": name, colour, name-window switch in 22 bytes.
    const size_t hikari = O::CharacterNames + 22;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[hikari])), platform::utf8ToSjis("ひかり"));
    EXPECT_EQ(b[hikari + 18] | b[hikari + 19] << 8, 0xFFCE);
    EXPECT_EQ(b[hikari + 20], 1);
    // Bytes no field covers stay zero.
    for (auto [from, to] : {std::pair<size_t, size_t>{704, 705}, {961, 964}, {970, 972}, {3401, 3436}, {3502, 3508},
                            {6326, 6328}})
        for (size_t i = from; i < to; ++i)
            EXPECT_EQ(b[i], 0) << "reserved byte " << i;
}

TEST_F(SaveGameTest, HotSpotStateAndWeatherLandAtTheirOffsets)
{
    startStory();
    HotSpotSet& h = dx->hotSpots;
    h.hotSpotTable[2][5] = HotSpotEntry{7, 1};
    h.sectionCounter[6] = 3;
    h.scriptStart = 42;
    h.activeRegion = 4;
    h.clickMapPath = "CLICK\\room.png";
    dx->scriptState.clickableActive = 1;
    dx->scene.effects.weatherActive = true;
    dx->scene.effects.weatherKind = 5;
    dx->scene.effects.weatherStrength = 3;
    TakeSnapshot(*dx, 9);
    const std::vector<uint8_t> b(dx->saveRecord.bytes.begin(), dx->saveRecord.bytes.end());
    const size_t entry = O::HotSpotTable + 8 * (2 * 32 + 5);
    EXPECT_EQ(le32(b, entry), 7);
    EXPECT_EQ(b[entry + 4], 1);
    EXPECT_EQ(b[entry + 5] | b[entry + 6] | b[entry + 7], 0);
    EXPECT_EQ(le32(b, O::SectionCounter + 24), 3);
    EXPECT_EQ(le32(b, O::ScriptStart), 42);
    EXPECT_EQ(le32(b, O::ActiveRegion), 4);
    EXPECT_EQ(b[O::ClickableActive], 1);
    EXPECT_EQ(field(b, O::ClickMapPath), "CLICK\\room.png");
    EXPECT_EQ(le32(b, O::TokenIndex), 9);
    EXPECT_EQ(b[O::WeatherActive], 1);
    EXPECT_EQ(le32(b, O::WeatherKind), 5);
    EXPECT_EQ(le32(b, O::WeatherStrength), 3);
}

TEST_F(SaveGameTest, SavingToSlot13WritesTheRecordAndA133x100BottomUpThumbnail)
{
    startStory();
    saveWithKeys(13);
    const std::vector<uint8_t> dat = fileBytes("SAVE/13.dat");
    ASSERT_EQ(dat.size(), 6336u);
    EXPECT_TRUE(std::equal(dat.begin(), dat.end(), dx->saveRecord.bytes.begin()));
    const std::vector<uint8_t> bmp = fileBytes("SAVE/13.bmp");
    ASSERT_GE(bmp.size(), 57u + 133 * 100 * 4);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 18), 133);
    EXPECT_EQ(le32(bmp, 22), 100); // positive: bottom row first
    EXPECT_EQ(bmp[28], 32);
    // The thumbnail is the game scene (the red background), not the slot list.
    const uint32_t offset = uint32_t(le32(bmp, 10));
    const uint8_t* topLeft = bmp.data() + offset + 99 * 133 * 4; // the last row in the file is row 0
    EXPECT_EQ(uint32_t(topLeft[2]) << 16 | uint32_t(topLeft[1]) << 8 | topLeft[0], kRed);
    // The slot list shows it at once, with the date and the thumbnail.
    const SlotInfo& info = dx->saveLoad.slots[13];
    EXPECT_TRUE(info.used);
    EXPECT_TRUE(info.hasThumbnail);
    EXPECT_FALSE(info.dateLabel.empty());
    EXPECT_EQ(dx->screenState, ScreenState::SaveLoad); // saving stays on the list
}

TEST_F(SaveGameTest, LoadingPutsTheSavedSceneBackAndResumesAtItsText)
{
    startStory();
    saveWithKeys(3);
    press(DIK_ESCAPE);
    ASSERT_EQ(dx->screenState, ScreenState::Game);
    nextText(); // the blue background, speaker 0
    ASSERT_EQ(dx->scene.bg.name[dx->scene.bg.current], "blue.png");

    press(DIK_2);
    ASSERT_FALSE(dx->saveLoad.SaveMode);
    chooseSlot(3);
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    waitFor([&] { return dx->gameState == GameState::PageClickWait; });
    EXPECT_EQ(dx->scene.bg.current, 1);
    EXPECT_EQ(dx->scene.bg.name[1], "red.png");
    EXPECT_EQ(dx->messageWindow.lines[0], platform::utf8ToSjis("はじめの言葉。"));
    EXPECT_EQ(dx->messageWindow.speakerName, platform::utf8ToSjis("ひかり"));
    EXPECT_TRUE(dx->scene.groups[0].visible);
    EXPECT_EQ(dx->scene.groups[0].position, 2);
    EXPECT_EQ(dx->scene.cutins[2].name, "star.png");
    EXPECT_TRUE(logged("@cutin_load. no(2) : star.png"));
    EXPECT_EQ(pixel(20, 20), kRed);
    // The looping effect plays again; the one-shot effect has done its work.
    EXPECT_TRUE(dx->sound.se[0].isPlaying());
    EXPECT_FALSE(dx->sound.se[1].isPlaying());
    EXPECT_TRUE(dx->sound.bgm.isPlaying());
    // The script goes on from there.
    nextText();
    EXPECT_EQ(dx->scene.bg.name[dx->scene.bg.current], "blue.png");
    EXPECT_EQ(pixel(20, 20), kBlue);
}

TEST_F(SaveGameTest, AVersionOtherThan1000IsAnEmptySlotThatDoesNotLoad)
{
    startStory();
    saveWithKeys(0);
    std::vector<uint8_t> dat = fileBytes("SAVE/0.dat");
    for (int32_t version : {999, 1001, 0, -1000}) {
        for (size_t i = 0; i < 4; ++i)
            dat[i] = uint8_t(uint32_t(version) >> (8 * i));
        testsupport::writeAll(dir.file("SAVE/0.dat"), dat);
        ScanSlots(*dx);
        EXPECT_FALSE(dx->saveLoad.slots[0].used) << version;
        runLog().clear();
        EXPECT_FALSE(LoadSlot(*dx, 0)) << version;
        EXPECT_TRUE(logged("Savedata version info is Different this version.")) << version;
    }
    // A short file is empty too; a missing one fails without a word.
    testsupport::writeAll(dir.file("SAVE/0.dat"), std::vector<uint8_t>(100, 0));
    ScanSlots(*dx);
    EXPECT_FALSE(dx->saveLoad.slots[0].used);
    runLog().clear();
    EXPECT_FALSE(LoadSlot(*dx, 7));
    EXPECT_TRUE(runLog().lines().empty());
}

TEST_F(SaveGameTest, LoadingAnEmptySlotStaysOnTheListAndRightClickGoesBackWithTheCancelSound)
{
    startStory();
    press(DIK_2);
    chooseSlot(9);
    EXPECT_EQ(dx->screenState, ScreenState::SaveLoad);
    pointer(400, 20);
    rightClick();
    EXPECT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(dx->sound.systemSounds[1].isPlaying());
}

TEST_F(SaveGameTest, AFailedSaveKeepsTheOldFileByteForByte)
{
    startStory();
    saveWithKeys(5);
    press(DIK_ESCAPE);
    const std::vector<uint8_t> before = fileBytes("SAVE/5.dat");
    const std::vector<uint8_t> thumbBefore = fileBytes("SAVE/5.bmp");
    nextText();
    // The temporary file's place is taken, so the write cannot go through.
    const std::string blocker = dir.file("SAVE/5.dat.tmp" + std::to_string(::getpid()));
    std::filesystem::create_directories(blocker);
    const std::string labelBefore = dx->saveLoad.slots[5].dateLabel;
    saveWithKeys(5);
    EXPECT_EQ(fileBytes("SAVE/5.dat"), before);
    EXPECT_EQ(fileBytes("SAVE/5.bmp"), thumbBefore);
    EXPECT_TRUE(dx->saveLoad.slots[5].used);
    EXPECT_EQ(dx->saveLoad.slots[5].dateLabel, labelBefore);
    std::filesystem::remove(blocker);
}

TEST_F(SaveGameTest, TheFirstSaveMakesTheMissingSaveFolder)
{
    startStory();
    ASSERT_FALSE(std::filesystem::exists(dir.path() / "SAVE"));
    saveWithKeys(47);
    EXPECT_EQ(fileBytes("SAVE/47.dat").size(), 6336u);
}

TEST(SaveRecordTest, ChapterNamesFollowTheFirstTwoCharactersOfTheScript)
{
    struct Case {
        const char* script;
        int chapter;
        const char* name;
    };
    const Case cases[] = {
        {"05_town.scp", 5, "第５章"}, {"17.scp", 17, "第１章"}, {"20end.scp", 19, ""}, {"startup.scp", 19, ""},
        {"00.scp", 0, "序章"},        {"18a.scp", 18, "第１章"}, {"1.scp", 1, "第１章"}, {"", 19, ""},
        {"09x", 9, "第９章"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SaveRecord::chapterIndex(c.script), c.chapter) << c.script;
        EXPECT_EQ(std::string(chapterName(c.chapter)), platform::utf8ToSjis(c.name)) << c.script;
    }
}

TEST_F(SaveGameTest, TheDateLabelIsTheFileTimeInLocalTimeWithTheWeekday)
{
    startStory();
    saveWithKeys(2);
    std::tm tm{};
    tm.tm_year = 2005 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = 5;
    tm.tm_hour = 9;
    tm.tm_min = 7;
    tm.tm_sec = 3;
    tm.tm_isdst = -1;
    const std::time_t when = std::mktime(&tm);
    utimbuf times{when, when};
    ASSERT_EQ(::utime(dir.file("SAVE/2.dat").c_str(), &times), 0);
    ScanSlots(*dx);
    EXPECT_EQ(dx->saveLoad.slots[2].dateLabel, platform::utf8ToSjis("2005年03月05日(土)\n09:07:03"));
}

TEST_F(SaveGameTest, TheCursorMovesAsTheKeysSay)
{
    startStory();
    press(DIK_2);
    pointer(5, 5); // away from every box, so only the keys move the cursor
    frame();
    struct Case {
        int page, cursor;
        uint8_t key;
        int wantPage, wantCursor;
    };
    const Case cases[] = {
        {0, 4, DIK_LEFT, 0, 0},  {1, 0, DIK_LEFT, 0, 4},   {0, 0, DIK_LEFT, 0, 0},   {0, 1, DIK_RIGHT, 0, 5},
        {0, 6, DIK_RIGHT, 1, 2}, {5, 7, DIK_RIGHT, 5, 7},  {0, 7, DIK_DOWN, 0, -1},  {0, -1, DIK_UP, 0, 7},
        {0, 3, DIK_DOWN, 0, -1}, {2, 0, DIK_UP, 2, 0},     {2, 4, DIK_UP, 2, 4},     {2, 5, DIK_UP, 2, 4},
        {2, 1, DIK_DOWN, 2, 2},  {0, -1, DIK_LEFT, 0, -1}, {0, -1, DIK_DOWN, 0, -1},
    };
    for (const Case& c : cases) {
        dx->saveLoad.SlotPage = c.page;
        dx->saveLoad.SlotCursor = c.cursor;
        press(c.key);
        EXPECT_EQ(dx->saveLoad.SlotPage, c.wantPage) << c.page << "/" << c.cursor << " key " << int(c.key);
        EXPECT_EQ(dx->saveLoad.SlotCursor, c.wantCursor) << c.page << "/" << c.cursor << " key " << int(c.key);
    }
}

TEST_F(SaveGameTest, AGameSavedInPlayLoadsFromTheTitle)
{
    startStory();
    saveWithKeys(6);
    press(DIK_ESCAPE);
    // Back to the title through the menu's last button and the question.
    tap(DIK_BACK);
    frames(60);
    ASSERT_TRUE(dx->gameMenu.open);
    dx->gameMenu.selection = int(GameMenuItem::ReturnToTitle);
    press(DIK_RETURN);
    ASSERT_TRUE(dx->confirmOpen);
    press(DIK_LEFT);
    tap(DIK_RETURN);
    frames(2);
    ASSERT_EQ(dx->screenState, ScreenState::Title);
    EXPECT_FALSE(dx->gameMenu.storyGame);

    tap(DIK_DOWN); // the load item
    frame();
    press(DIK_RETURN);
    ASSERT_EQ(dx->screenState, ScreenState::SaveLoad);
    EXPECT_EQ(dx->titleScreen.ReturnScreen, ScreenState::Title);
    chooseSlot(6);
    ASSERT_EQ(dx->screenState, ScreenState::Game);
    EXPECT_TRUE(dx->gameMenu.storyGame);
    waitFor([&] { return dx->gameState == GameState::PageClickWait; });
    EXPECT_EQ(pixel(20, 20), kRed);
}

TEST_F(SaveGameTest, ARecordOutOfRangeIsClampedOrRefusedWithALogLine)
{
    startStory();
    SaveRecord r = dx->saveRecord;
    r.setI32(O::GroupPosition, 99);
    r.setI32(O::CutinShown, 9);
    r.setI32(O::GroupChannel + 4, -5);
    r.setI32(O::CharacterAlpha, 4000);
    r.setU8(O::WeatherActive, 1);
    r.setI32(O::WeatherKind, 77);
    r.setI32(O::WeatherStrength, 1 << 30);
    // Groups 1 and 2 come back too.
    r.setName(O::CharacterPictures + 2 * 64, "girl.png");
    r.setU8(O::GroupVisible + 1, 1);
    r.setI32(O::GroupPosition + 4, 4);
    // A name that fills its field ends at the field's end.
    std::memset(r.bytes.data() + O::CharacterNames, 'A', 22);
    runLog().clear();
    ASSERT_TRUE(restoreSnapshot(*dx, r));
    EXPECT_EQ(dx->scene.groups[0].position, 4);
    EXPECT_EQ(dx->scene.cutinShown, 3);
    EXPECT_EQ(dx->scene.groups[1].current, 0);
    EXPECT_FALSE(dx->scene.effects.weatherActive);
    EXPECT_TRUE(dx->scene.groups[1].visible);
    EXPECT_EQ(dx->scene.groups[1].position, 4);
    EXPECT_EQ(dx->scene.groups[1].name[0], "girl.png");
    EXPECT_EQ(strnlen(dx->messageWindow.characterNames[0].name, 18), 17u);
    EXPECT_TRUE(logged("Savedata: character position 99 out of range"));
    EXPECT_TRUE(logged("Savedata: weather kind 77 unknown"));

    // A text position beyond the script refuses the whole load and changes nothing.
    const std::string scriptBefore = dx->script.scriptName();
    const int32_t cursorBefore = dx->script.cursor;
    r.setI32(O::TokenIndex, 1 << 20);
    r.setI32(O::GroupPosition, 1);
    EXPECT_FALSE(restoreSnapshot(*dx, r));
    EXPECT_EQ(dx->scene.groups[0].position, 4);
    EXPECT_EQ(dx->script.cursor, cursorBefore);
    r.setI32(O::TokenIndex, -3);
    EXPECT_FALSE(restoreSnapshot(*dx, r));
    r.setI32(O::TokenIndex, 0);
    r.setName(O::ScriptName, "missing.scp");
    EXPECT_FALSE(restoreSnapshot(*dx, r));
    EXPECT_EQ(dx->script.scriptName(), scriptBefore);
}
