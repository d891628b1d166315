// Picture loaders of the scene: archive read, PNG decode, upload into textures or surfaces.
#include "scene/SceneCommands.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Clock.h"
#include "resources/Image.h"

#include <string>

namespace {

int32_t msSince(platform::Clock& clock, uint32_t start)
{
    return int32_t(clock.now() - start);
}

} // namespace

bool loadBackground(CDirectX& dx, int channel, std::string_view name, std::string_view folder)
{
    if (channel < 0 || channel > 1)
        return false;
    SceneState& sc = dx.scene;
    platform::Clock& clock = *dx.sys.clock;
    const std::string nm(name);

    // Only the game screen trusts the name: the galleries put other pictures into the
    // channels behind the scenario's back.
    if (dx.screenState == ScreenState::Game && sc.bg.name[size_t(channel)] == nm) {
        // Nothing was measured: the benchmark lines go on showing the last real load.
        runLog().append(1, "@bg_load PNG load cache.");
        return true;
    }

    // Rows go from the decoder straight into the channel's blocks: the load time covers the
    // upload, which has no time of its own.
    uint32_t start = clock.now();
    if (sc.loadBackgroundBlocks(channel, std::string(folder) + nm, dx.archive) != 0) {
        runLog().appendf(2, "PNG Load failed. -> %s", nm.c_str());
        return false;
    }
    sc.bg.name[size_t(channel)] = nm;
    sc.lastDiskMs = msSince(clock, start);
    runLog().appendf(1, "@bg_load PNG load : %d msec", sc.lastDiskMs);
    sc.lastVramMs = 0;
    runLog().appendf(1, channel == 1 ? "@bg_load SystemSurface Update : %d msec" : "@bg_load VramSurface Update : %d msec",
                     sc.lastVramMs);
    return true;
}

bool loadCharacter(CDirectX& dx, int group, int channel, std::string_view name)
{
    if (group < 0 || group > 2 || channel < 0 || channel > 1)
        return false;
    SceneState& sc = dx.scene;
    CharacterGroup& g = sc.groups[size_t(group)];
    platform::Clock& clock = *dx.sys.clock;
    const std::string nm(name);

    if (g.name[size_t(channel)] == nm) {
        // Nothing was measured: the benchmark lines go on showing the last real load.
        runLog().append(1, "@chr_load PNG load cache.");
        return true;
    }
    uint32_t start = clock.now();
    if (sc.loadCharacterBlocks(group, channel, "CHR\\" + nm, dx.archive) != 0) {
        runLog().appendf(2, "PNG Load failed. -> %s", nm.c_str());
        return false;
    }
    sc.lastDiskMs = msSince(clock, start);
    runLog().appendf(1, "@chr_load PNG load : %d msec", sc.lastDiskMs);
    sc.lastVramMs = 0;
    runLog().appendf(1, "@chr_load VramSurface Update : %d msec", sc.lastVramMs);
    g.name[size_t(channel)] = nm;
    return true;
}

bool loadOptionBackground(CDirectX& dx, std::string_view name)
{
    SceneState& sc = dx.scene;
    platform::Clock& clock = *dx.sys.clock;
    const std::string nm(name);
    uint32_t start = clock.now();
    if (sc.loadOptionBackgroundBlocks("BG\\" + nm, dx.archive) != 0) {
        runLog().appendf(2, "@bg_load_ext failed. channel3(option_bg) : %s", nm.c_str());
        return false;
    }
    sc.lastDiskMs = msSince(clock, start);
    sc.lastVramMs = 0;
    sc.optionBg.name = nm;
    sc.optionBg.active = true;
    return true;
}

bool loadCutin(CDirectX& dx, int slot, std::string_view name)
{
    if (slot < 0 || slot > 3)
        return false;
    SceneState& sc = dx.scene;
    const std::string nm(name);
    CImage picture;
    if (picture.LoadPNG("CUT\\" + nm, dx.archive) != 0)
        return false;
    auto surface = std::make_unique<CSystemSurface_R8G8B8>();
    platform::Video* video = dx.display.directDraw() ? dx.display.directDraw() : dx.sys.video;
    if (!surface->Create(video, picture.width, picture.height, false) || !surface->UpdateTexture(picture.pixels.data()))
        return false;
    CutinSlot& s = sc.cutins[size_t(slot)];
    s.surface = std::move(surface);
    s.width = picture.width;
    s.height = picture.height;
    s.name = nm;
    return true;
}
