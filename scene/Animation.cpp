// "@anime_*": a sequence of up to four pictures that steps on by itself while the script
// runs. Pictures 0 and 1 live in character group 1, 2 and 3 in group 2; the entry's
// picture is drawn with the character layer at group 1's table position.
#include "scene/EffectCommands.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Clock.h"
#include "platform/Text.h"
#include "scene/SceneCommands.h"
#include "script/CommandArgs.h"

#include <algorithm>

namespace {

bool hasEndAfter(const AnimationState& a, int entry)
{
    for (int i = std::max(entry, 0) + 1; i < kAnimationEntries; ++i)
        if (a.table[size_t(i)].pattern < 0)
            return true;
    return false;
}

void hideAnimationGroups(SceneState& sc)
{
    sc.groups[1].visible = false;
    sc.groups[2].visible = false;
}

} // namespace

void cmdAnimeInit(CDirectX& dx, const std::string&)
{
    SceneState& sc = dx.scene;
    hideAnimationGroups(sc);
    for (int g = 1; g <= 2; ++g)
        for (int ch = 0; ch < 2; ++ch)
            sc.setGroupAlpha(g, ch, 0);
    sc.animation.initialised = true;
}

void cmdAnimeLoad(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 2);
    if (!f)
        return;
    const int number = argumentNumber((*f)[0]);
    if (number < 0 || number > 3) {
        reportArgumentError(dx, ArgumentError::Invalid, token, arg);
        return;
    }
    const int group = number / 2 + 1, channel = number % 2;
    const std::string& name = (*f)[1];
    if (loadCharacter(dx, group, channel, name))
        runLog().appendf(1, "@anime_load. ANIME_NO(%d) [CHR(%d) BUFFER(%d)] : %s", number, group, channel, name.c_str());
    else
        runLog().appendf(2, "@anime_load failed. ANIME_NO(%d) [CHR(%d) BUFFER(%d)] : %s", number, group, channel,
                         name.c_str());
    dx.holdUpdates(5);
}

void cmdAnimeSet(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    const size_t first = arg.find(',');
    if (first == std::string::npos) {
        runLog().appendf(2, SJ("@anim_set failed : [引数エラー] : %s %s ").c_str(), token.c_str(), arg.c_str());
        return;
    }
    const std::string rest = arg.substr(first + 1);
    const size_t second = rest.find(',');
    const int entry = argumentNumber(arg.substr(0, first));
    const int pattern = argumentNumber(rest.substr(0, second));
    const int wait = second == std::string::npos ? 0 : argumentNumber(rest.substr(second + 1));
    if (entry < 0 || entry >= kAnimationEntries) {
        reportArgumentError(dx, ArgumentError::Invalid, token, arg);
        return;
    }
    dx.scene.animation.table[size_t(entry)] = AnimationEntry{pattern, wait};
    runLog().appendf(1, "@anime_set : No[%d]Pat[%d]Wait[%d]", entry, pattern, wait);
}

void cmdAnimeStart(CDirectX& dx, const std::string& token)
{
    SceneState& sc = dx.scene;
    AnimationState& a = sc.animation;
    // Before "@anime_init" the pictures' alphas are unknown; a table that never reaches an
    // end marker would step past its last entry.
    if (!a.initialised || !hasEndAfter(a, a.current)) {
        reportArgumentError(dx, ArgumentError::Invalid, token, "");
        return;
    }
    a.running = true;
    a.paused = false;
    a.lastStep = dx.sys.clock->now();
    // The animation stands where the script's character was last put.
    sc.groups[1].position = sc.groups[0].position;
    sc.groups[2].position = sc.groups[1].position;
}

void cmdAnimePause(CDirectX& dx, const std::string&)
{
    dx.scene.animation.paused = true;
}

void cmdAnimePlay(CDirectX& dx, const std::string&)
{
    AnimationState& a = dx.scene.animation;
    if (a.paused)
        a.lastStep = dx.sys.clock->now();
    a.paused = false;
}

void cmdAnimeStop(CDirectX& dx, const std::string&)
{
    dx.scene.animation.running = false;
    hideAnimationGroups(dx.scene);
}

void stepAnimation(CDirectX& dx)
{
    AnimationState& a = dx.scene.animation;
    if (!a.running || a.paused)
        return;
    const uint32_t now = dx.sys.clock->now();
    const int entry = std::clamp(a.current, 0, kAnimationEntries - 1);
    if (int64_t(int32_t(now - a.lastStep)) <= int64_t(a.table[size_t(entry)].wait))
        return;
    a.lastStep = now;
    const int next = entry + 1;
    a.current = next >= kAnimationEntries || a.table[size_t(next)].pattern < 0 ? 0 : next;
}

int animationPicture(const SceneState& sc)
{
    const AnimationState& a = sc.animation;
    if (!a.running)
        return -1;
    const int pattern = a.table[size_t(std::clamp(a.current, 0, kAnimationEntries - 1))].pattern;
    return pattern >= 0 && pattern <= 3 ? pattern : -1;
}

void resetAnimation(SceneState& sc)
{
    sc.animation = AnimationState{};
}
