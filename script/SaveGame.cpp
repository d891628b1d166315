// The live save record: filled at every text command, put back by a load.
#include "script/SaveGame.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "scene/EffectCommands.h"
#include "scene/SceneCommands.h"
#include "script/ChoiceCommands.h"
#include "script/FlowCommands.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using O = SaveRecord::Offset;
constexpr size_t kName = SaveRecord::kNameField;

size_t characterPicture(int group, int channel)
{
    return O::CharacterPictures + kName * size_t(2 * group + channel);
}

size_t hotSpotEntry(int region, int section)
{
    return O::HotSpotTable + 8 * (size_t(region) * SaveRecord::kHotSpotSections + size_t(section));
}

// A value of the record outside lo..hi is brought into range; the log says which field.
int32_t clampField(int32_t value, int32_t lo, int32_t hi, const char* field)
{
    if (value >= lo && value <= hi)
        return value;
    const int32_t fixed = std::clamp(value, lo, hi);
    runLog().appendf(2, "Savedata: %s %d out of range (%d-%d), %d used.", field, value, lo, hi, fixed);
    return fixed;
}

void writeCharacterNames(const MessageWindow& w, SaveRecord& r)
{
    for (size_t i = 0; i < SaveRecord::kCharacterNames; ++i) {
        const CharacterName& c = w.characterNames[i];
        uint8_t* p = r.bytes.data() + O::CharacterNames + SaveRecord::kCharacterNameSize * i;
        std::memcpy(p, c.name, sizeof c.name);
        p[18] = uint8_t(c.colour & 0xFF);
        p[19] = uint8_t(c.colour >> 8);
        p[20] = c.window;
        p[21] = c.reserved;
    }
}

void readCharacterNames(const SaveRecord& r, MessageWindow& w)
{
    for (size_t i = 0; i < SaveRecord::kCharacterNames; ++i) {
        CharacterName& c = w.characterNames[i];
        const uint8_t* p = r.bytes.data() + O::CharacterNames + SaveRecord::kCharacterNameSize * i;
        std::memcpy(c.name, p, sizeof c.name);
        // A name that fills its field gets its terminator here, so it never runs over.
        c.name[sizeof c.name - 1] = '\0';
        c.colour = uint16_t(p[18] | p[19] << 8);
        c.window = p[20];
        c.reserved = p[21];
    }
}

void restoreBackgrounds(CDirectX& dx, const SaveRecord& r)
{
    SceneState& sc = dx.scene;
    sc.bg.current = clampField(r.i32(O::BackgroundChannel), 0, 1, "background channel");
    for (int c = 0; c < 2; ++c) {
        const std::string name = r.name(O::BackgroundNames + kName * size_t(c));
        if (!name.empty())
            loadBackground(dx, c, name);
    }
    // The tiled channel 0 lies over channel 1: it is see-through while channel 1 is current.
    sc.setTileAlpha(sc.bg.current == 1 ? 0 : 255);
    const std::string option = r.name(O::OptionBackground);
    if (!option.empty())
        loadOptionBackground(dx, option);
}

void restoreCharacters(CDirectX& dx, const SaveRecord& r)
{
    SceneState& sc = dx.scene;
    const int32_t lastPosition = int32_t(ChrPositionTable.size()) - 1;
    // All three groups: the record holds them, and a load that left groups 1 and 2 out would
    // show another scene than the one saved.
    for (int g = 0; g < 3; ++g) {
        CharacterGroup& group = sc.groups[size_t(g)];
        group.current = clampField(r.i32(O::GroupChannel + 4 * size_t(g)), 0, 1, "character channel");
        group.position = clampField(r.i32(O::GroupPosition + 4 * size_t(g)), 0, lastPosition, "character position");
        group.visible = r.u8(O::GroupVisible + size_t(g)) != 0;
        if (g == 0)
            group.shadow = r.u8(O::GroupShadow) != 0;
        for (int c = 0; c < 2; ++c) {
            const std::string name = r.name(characterPicture(g, c));
            if (!name.empty())
                loadCharacter(dx, g, c, name);
            sc.setGroupAlpha(g, c, clampField(r.i32(O::CharacterAlpha + 4 * size_t(2 * g + c)), 0, 255, "character alpha"));
        }
    }
}

void restoreCutins(CDirectX& dx, const SaveRecord& r)
{
    SceneState& sc = dx.scene;
    for (int s = 0; s < 4; ++s) {
        const std::string name = r.name(O::CutinNames + kName * size_t(s));
        if (name.empty())
            continue;
        if (loadCutin(dx, s, name))
            runLog().appendf(1, "@cutin_load. no(%d) : %s", s, name.c_str());
        else
            runLog().appendf(2, "@cutin_load failed. no(%d) : %s", s, name.c_str());
    }
    sc.cutinShown = clampField(r.i32(O::CutinShown), 0, 3, "cut-in slot");
    sc.cutinVisible = r.u8(O::CutinVisible) != 0;
    // Slides block the script, so none runs at a text command: the cut-in rests where it was.
    sc.cutinX = r.i32(O::CutinX);
    sc.cutinY = r.i32(O::CutinY);
}

void restoreSounds(CDirectX& dx, const SaveRecord& r)
{
    SoundSystem& snd = dx.sound;
    snd.stopMusicAndEffects();
    const std::string music = r.name(O::MusicName);
    if (!music.empty() && snd.bgmLoadCommand(music) == CommandResult::Done && r.u8(O::MusicPlaying))
        snd.bgmCommand(r.u8(O::MusicLooping) ? "play" : "noloop");
    for (int ch = 0; ch < SoundSystem::kStreams; ++ch) {
        snd.se[size_t(ch)].stop();
        snd.voice[size_t(ch)].stop();
        const std::string name = r.name(O::SoundEffectNames + kName * size_t(ch));
        if (name.empty())
            continue;
        const std::string channel = std::to_string(ch) + ",";
        if (snd.seLoadCommand(channel + name) != CommandResult::Done)
            continue;
        // A one-shot effect has done its work; only a loop is part of the scene.
        if (r.u8(O::SoundEffectPlaying + size_t(ch)) && r.u8(O::SoundEffectLooping + size_t(ch)))
            snd.seCommand(channel + "play,loop");
    }
}

void restoreHotSpots(CDirectX& dx, const SaveRecord& r, int32_t tokenCount)
{
    clearBranchSets(dx);
    if (!r.u8(O::ClickableActive))
        return;
    HotSpotSet& h = dx.hotSpots;
    dx.scriptState.clickableActive = 1;
    h.clickMapPath = r.name(O::ClickMapPath);
    if (!h.clickMapPath.empty() && h.clickMap.LoadPNG(h.clickMapPath, dx.archive) != 0) {
        h.clickMap.Free();
        runLog().appendf(2, "@clickable: map load failed [%s]", h.clickMapPath.c_str());
    }
    for (int region = 0; region < SaveRecord::kHotSpotRegions; ++region) {
        for (int section = 0; section < SaveRecord::kHotSpotSections; ++section) {
            const size_t at = hotSpotEntry(region, section);
            h.hotSpotTable[size_t(region)][size_t(section)] = HotSpotEntry{r.i32(at), r.u8(at + 4)};
        }
        h.sectionCounter[size_t(region)] =
            clampField(r.i32(O::SectionCounter + 4 * size_t(region)), 0, SaveRecord::kHotSpotSections, "hot-spot section");
    }
    h.scriptStart = clampField(r.i32(O::ScriptStart), 0, std::max(tokenCount - 1, 0), "hot-spot script start");
    h.activeRegion = clampField(r.i32(O::ActiveRegion), -1, SaveRecord::kHotSpotRegions - 1, "hot-spot region");
}

void restoreWeather(CDirectX& dx, const SaveRecord& r)
{
    const bool active = r.u8(O::WeatherActive) != 0;
    const int32_t kind = r.i32(O::WeatherKind);
    const int32_t strength = r.i32(O::WeatherStrength);
    if (active && kind != 4 && kind != 5)
        runLog().appendf(2, "Savedata: weather kind %d unknown, weather off.", kind);
    if (active && (kind == 4 || kind == 5) && strength != 0)
        restartWeather(dx, kind, clampField(strength, 1, 7, "weather strength"));
    else
        restartWeather(dx, 0, 0);
}

void resetMessageWindow(CDirectX& dx, bool shown)
{
    MessageWindow& w = dx.messageWindow;
    w.clearPage();
    for (int i = 0; i < MessageWindow::kLines; ++i)
        w.setLine(i, "");
    w.setSpeaker("");
    w.showNameWindow(false);
    w.showClickMark(false);
    w.windowHidden = shown ? 0 : 1;
    w.windowAlpha = shown ? 255 : 0;
    w.returnState = GameState::Ready;
    w.autoMode = 0;
    w.skipMode = 0;
    w.skipModeArmed = 0;
    w.noWait = 0;
    w.voiceQueue.clear();
}

} // namespace

void TakeSnapshot(CDirectX& dx, int32_t tokenIndex)
{
    SaveRecord& r = dx.saveRecord;
    r.clear();
    const SceneState& sc = dx.scene;
    r.setName(O::ScriptName, dx.script.scriptName());
    r.setI32(O::TokenIndex, tokenIndex);

    for (int g = 0; g < 3; ++g) {
        const CharacterGroup& group = sc.groups[size_t(g)];
        for (int c = 0; c < 2; ++c) {
            r.setName(characterPicture(g, c), group.name[size_t(c)]);
            r.setI32(O::CharacterAlpha + 4 * size_t(2 * g + c), group.sprites[size_t(c)][0].alpha[0]);
        }
        r.setI32(O::GroupChannel + 4 * size_t(g), group.current);
        r.setI32(O::GroupPosition + 4 * size_t(g), group.position);
        r.setU8(O::GroupVisible + size_t(g), group.visible ? 1 : 0);
    }
    r.setU8(O::GroupShadow, sc.groups[0].shadow ? 1 : 0);

    for (int c = 0; c < 2; ++c)
        r.setName(O::BackgroundNames + kName * size_t(c), sc.bg.name[size_t(c)]);
    // Only while it is in use: "@bg_ext_expire" gives the default picture back, and a load
    // must not bring the expired one back.
    if (sc.optionBg.active)
        r.setName(O::OptionBackground, sc.optionBg.name);
    r.setI32(O::BackgroundChannel, sc.bg.current);

    for (int s = 0; s < 4; ++s)
        r.setName(O::CutinNames + kName * size_t(s), sc.cutins[size_t(s)].name);
    r.setI32(O::CutinShown, sc.cutinShown);
    r.setU8(O::CutinVisible, sc.cutinVisible ? 1 : 0);
    r.setU8(O::CutinSliding, sc.cutinSlide.active ? 1 : 0);
    r.setI32(O::CutinX, sc.cutinX);
    r.setI32(O::CutinY, sc.cutinY);

    const HotSpotSet& h = dx.hotSpots;
    for (int region = 0; region < SaveRecord::kHotSpotRegions; ++region) {
        for (int section = 0; section < SaveRecord::kHotSpotSections; ++section) {
            const HotSpotEntry& e = h.hotSpotTable[size_t(region)][size_t(section)];
            r.setI32(hotSpotEntry(region, section), e.target);
            r.setU8(hotSpotEntry(region, section) + 4, e.loop);
        }
        r.setI32(O::SectionCounter + 4 * size_t(region), h.sectionCounter[size_t(region)]);
    }
    r.setI32(O::ScriptStart, h.scriptStart);
    r.setI32(O::ActiveRegion, h.activeRegion);
    r.setU8(O::ClickableActive, dx.scriptState.clickableActive ? 1 : 0);
    r.setName(O::ClickMapPath, h.clickMapPath);

    const SoundSystem& snd = dx.sound;
    for (int ch = 0; ch < SoundSystem::kStreams; ++ch) {
        r.setName(O::SoundEffectNames + kName * size_t(ch), snd.seName(ch));
        r.setU8(O::SoundEffectPlaying + size_t(ch), snd.sePlaying()[size_t(ch)] ? 1 : 0);
        r.setU8(O::SoundEffectLooping + size_t(ch), snd.seLooping()[size_t(ch)] ? 1 : 0);
    }
    r.setName(O::MusicName, snd.bgmName());
    r.setU8(O::MusicPlaying, snd.bgmPlaying() ? 1 : 0);
    r.setU8(O::MusicLooping, snd.bgmLooping() ? 1 : 0);

    writeCharacterNames(dx.messageWindow, r);
    r.setU8(O::WindowShown, dx.messageWindow.windowHidden ? 0 : 1);
    const SpecialEffects& e = sc.effects;
    r.setU8(O::WeatherActive, e.weatherActive ? 1 : 0);
    r.setI32(O::WeatherKind, e.weatherKind);
    r.setI32(O::WeatherStrength, e.weatherStrength);
}

bool restoreSnapshot(CDirectX& dx, const SaveRecord& record)
{
    if (record.version() != SaveRecord::kVersion) {
        runLog().append(2, "Savedata version info is Different this version.");
        return false;
    }
    // The script is read before anything changes, so a record that names a missing script
    // or a text beyond its end leaves the game as it was.
    const std::string scriptName = record.scriptName();
    ScriptFile script;
    if (!script.load(dx.archive, scriptName)) {
        runLog().appendf(2, "ERROR: Load fail [%s]", scriptName.c_str());
        return false;
    }
    const int32_t index = record.i32(O::TokenIndex);
    if (index < 0 || index > script.lastIndex) {
        runLog().appendf(2, "Savedata: text position %d is outside %s (%d tokens); not loaded.", index,
                         scriptName.c_str(), script.lastIndex + 1);
        return false;
    }
    if (script.tokens[size_t(index)].find("@text,") == std::string::npos)
        runLog().appendf(2, "Savedata: token %d of %s is not a text command; the script has changed.", index,
                         scriptName.c_str());

    // The messages of the game being left are not this game's history.
    dx.messageHistory.empty();
    // The message window empties, the sounds of the game being left stop.
    MessageWindow& w = dx.messageWindow;
    w.clearPage();
    for (int i = 0; i < MessageWindow::kLines; ++i)
        w.setLine(i, "");
    dx.sound.bgm.stop();
    for (size_t ch = 0; ch < dx.sound.se.size(); ++ch) {
        dx.sound.se[ch].stop();
        dx.sound.voice[ch].stop();
    }

    dx.saveRecord = record;
    const SaveRecord& r = dx.saveRecord;

    // From a clean scene: no transition, effect, animation or wait of the game being left.
    dx.scene.resetLayers();
    resetScreenEffects(dx.scene);
    resetAnimation(dx.scene);
    dx.scriptState = ScriptState{};
    dx.scene.presentationBusy = false;

    restoreBackgrounds(dx, r);
    restoreCharacters(dx, r);
    restoreCutins(dx, r);
    restoreSounds(dx, r);

    if (!dx.script.scriptName().empty())
        dx.readText.recordReadPosition(dx.script.scriptName(), dx.script.cursorIndex());
    // Loaded again rather than moved in, so the script's load count moves on as for any load.
    if (!dx.script.load(dx.archive, scriptName))
        dx.script = std::move(script);
    dx.script.cursor = index;
    runLog().appendf(1, "Load Script [%s]", scriptName.c_str());

    restoreHotSpots(dx, r, dx.script.lastIndex + 1);
    restoreWeather(dx, r);

    resetMessageWindow(dx, r.u8(O::WindowShown) != 0);
    readCharacterNames(r, w);
    resetAnimation(dx.scene);
    dx.gameState = GameState::Ready;
    dx.holdUpdates(5);
    return true;
}

bool LoadSlot(CDirectX& dx, int slot)
{
    SaveRecord record;
    switch (readSlotFile(slot, record)) {
    case SlotRead::Missing:
        return false;
    case SlotRead::Short:
    case SlotRead::OtherVersion:
        runLog().append(2, "Savedata version info is Different this version.");
        return false;
    case SlotRead::Ok:
        break;
    }
    return restoreSnapshot(dx, record);
}
