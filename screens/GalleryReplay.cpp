// A gallery entry's scene replayed on the game screen, and the way back to its gallery.
#include "screens/GalleryReplay.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "scene/EffectCommands.h"
#include "screens/GalleryState.h"
#include "screens/TitleScreen.h"
#include "script/ChoiceCommands.h"
#include "script/FlowCommands.h"

namespace {

constexpr const char* kReplayFolder = "CG_SCP\\";

// Both background channels black, so the replay's first picture fades in from black rather
// than from whatever the title or the last game left there.
void clearBackgrounds(CDirectX& dx)
{
    SceneState& sc = dx.scene;
    if (!sc.created)
        return;
    sc.fillBackgroundChannels(0xFF000000u);
    sc.bg.name = {};
}

// The replay's sounds end with it: the gallery is silent, like the title it belongs to.
void stopReplaySounds(CDirectX& dx)
{
    dx.sound.stopMusicAndEffects();
    for (auto& v : dx.sound.voice)
        v.stop();
}

void endReplay(CDirectX& dx, ScreenState gallery)
{
    // What was read in the replay counts as read, as everywhere else a script is left.
    if (!dx.script.scriptName().empty())
        dx.readText.recordReadPosition(dx.script.scriptName(), dx.script.cursorIndex());
    stopReplaySounds(dx);
    clearBranchSets(dx);
    resetScreenEffects(dx.scene);
    resetAnimation(dx.scene);
    dx.scene.resetLayers();
    dx.scriptState = ScriptState{};
    dx.gameState = GameState::Ready;
    dx.gallery.GalleryCursor = GalleryState::kNoEntry;
    dx.screenState = gallery;
    loadTitlePictures(dx);
}

} // namespace

bool startGalleryReplay(CDirectX& dx, const std::string& name, bool album)
{
    const std::string script = kReplayFolder + name;
    if (dx.archive.GetSize("SCP\\" + script) <= 0) {
        runLog().appendf(2, "ERROR: Load fail [%s]", script.c_str());
        return false;
    }
    if (album)
        dx.sound.bgmFadeCommand("out,1", false);

    clearBranchSets(dx);
    resetScreenEffects(dx.scene);
    resetAnimation(dx.scene);
    restartWeather(dx, 0, 0);
    dx.scene.resetLayers();
    clearBackgrounds(dx);
    resetScenarioScreen(dx);
    dx.screenState = ScreenState::Game;
    return loadScenario(dx, script);
}

void cmdCgQuit(CDirectX& dx, const std::string&)
{
    endReplay(dx, ScreenState::CgGallery);
}

void cmdAlbumQuit(CDirectX& dx, const std::string&)
{
    endReplay(dx, ScreenState::Album);
}
