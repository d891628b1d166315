// Script commands of backgrounds, cut-ins and the character.
#include "scene/SceneCommands.h"

#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "core/ScreenSize.h"
#include "platform/Clock.h"
#include "script/CommandArgs.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// A number that must lie in lo..hi; otherwise the given error line and false.
bool inRange(CDirectX& dx, int value, int lo, int hi, ArgumentError kind, const std::string& command,
             const std::string& arg)
{
    if (value >= lo && value <= hi)
        return true;
    reportArgumentError(dx, kind, command, arg);
    return false;
}

std::optional<SceneDirection> straightDirection(const std::string& w)
{
    if (w == "up")
        return SceneDirection::Up;
    if (w == "down")
        return SceneDirection::Down;
    if (w == "left")
        return SceneDirection::Left;
    if (w == "right")
        return SceneDirection::Right;
    return std::nullopt;
}

std::optional<SceneDirection> anyDirection(const std::string& w)
{
    if (auto d = straightDirection(w))
        return d;
    if (w == "left_top")
        return SceneDirection::LeftTop;
    if (w == "left_bottom")
        return SceneDirection::LeftBottom;
    if (w == "right_top")
        return SceneDirection::RightTop;
    if (w == "right_bottom")
        return SceneDirection::RightBottom;
    return std::nullopt;
}

void block(CDirectX& dx)
{
    dx.scene.presentationBusy = true;
    dx.gameState = GameState::PresentationWait;
}

void startScroll(CDirectX& dx, const std::string& token, int pages, bool sync)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 2);
    if (!f)
        return;
    SceneState& sc = dx.scene;
    BackgroundScroll& s = sc.scroll;
    const int32_t time = argumentNumber((*f)[1]);
    // An unknown word keeps the last scroll's direction and speed.
    const auto dir = straightDirection((*f)[0]);
    if (dir)
        s.direction = *dir;
    const float length = (s.direction == SceneDirection::Up || s.direction == SceneDirection::Down) ? float(kScreenHeight) : float(kScreenWidth);
    s.pages = pages;
    s.distance = float(pages - 1) * length;
    if (dir)
        s.speed = time > 0 ? s.distance / float(time) : 0.0f;
    // Without a time the scroll has nowhere to go but its end.
    s.position = s.speed > 0.0f ? 0.0f : s.distance;
    s.active = true;
    s.sync = sync;
    s.skippable = sync;
    sc.crossFade.active = false;
    sc.setTileAlpha(255);
    if (sync)
        block(dx);
}

void startCutinSlide(CDirectX& dx, const std::string& token, bool out)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 3);
    if (!f)
        return;
    const int n = argumentNumber((*f)[0]);
    if (!inRange(dx, n, 0, 3, ArgumentError::Invalid, token, arg))
        return;
    SceneState& sc = dx.scene;
    CutinSlide& s = sc.cutinSlide;
    if (auto d = straightDirection((*f)[1]))
        s.direction = *d;
    const CutinSlot& slot = sc.cutins[size_t(n)];
    const int w = slot.width, h = slot.height;
    const int cx = (kScreenWidth - w) / 2, cy = (kScreenHeight - h) / 2;
    int ex = cx, ey = cy;
    switch (s.direction) {
    case SceneDirection::Up: ey = -h; break;
    case SceneDirection::Down: ey = kScreenHeight; break;
    case SceneDirection::Left: ex = -w; break;
    default: ex = kScreenWidth; break;
    }
    s.startX = out ? cx : ex;
    s.startY = out ? cy : ey;
    s.targetX = out ? ex : cx;
    s.targetY = out ? ey : cy;
    s.time = argumentNumber((*f)[2]);
    s.startTime = dx.sys.clock->now();
    s.out = out;
    s.active = true;
    sc.cutinShown = n;
    sc.cutinVisible = true;
    sc.cutinX = s.startX;
    sc.cutinY = s.startY;
    block(dx);
}

// Starts a slide or move of group 0 between two points.
void startCharacterSlide(CDirectX& dx, int sx, int sy, int tx, int ty, int32_t time, bool out)
{
    SceneState& sc = dx.scene;
    CharacterGroup& g = sc.groups[0];
    CharacterSlide& s = sc.slide;
    s.startX = sx;
    s.startY = sy;
    s.targetX = tx;
    s.targetY = ty;
    s.x = sx;
    s.y = sy;
    s.time = time;
    s.startTime = dx.sys.clock->now();
    s.out = out;
    s.active = true;
    g.visible = true;
    sc.setGroupAlpha(0, g.current, 255);
    block(dx);
}

void startFade(CDirectX& dx, const std::string& token, bool in)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 2);
    if (!f)
        return;
    SceneState& sc = dx.scene;
    CharacterFade& fd = sc.fade;
    const int32_t time = argumentNumber((*f)[1]);
    fd.in = in;
    fd.time = time;
    fd.elapsed = 0.0f;
    fd.remaining = float(time);
    fd.rate = time > 0 ? (in ? 255.0f : -255.0f) / float(time) : 0.0f;
    fd.active = true;
    sc.groups[0].visible = true;
    sc.setGroupAlpha(0, sc.groups[0].current, in ? 0 : 255);
    block(dx);
}

void showOrHide(CDirectX& dx, const std::string& token, bool visible)
{
    const std::string arg = dx.script.nextToken();
    if (inRange(dx, argumentNumber(arg), 0, 2, ArgumentError::OutOfRange02, token, arg))
        dx.scene.groups[0].visible = visible;
}

} // namespace

// ---- backgrounds ----

void cmdBgLoad(CDirectX& dx, const std::string&)
{
    const std::string name = dx.script.nextToken();
    SceneState& sc = dx.scene;
    const int channel = 1 - sc.bg.current;
    if (loadBackground(dx, channel, name))
        runLog().appendf(1, "@bg_load. channel%d : %s (DISK %dms/VRAM %dms)", channel, name.c_str(), sc.lastDiskMs,
                         sc.lastVramMs);
    else
        runLog().appendf(2, "@bg_load failed. channel%d : %s", channel, name.c_str());
    // Seeing the name is enough to unlock its CG, whether or not the picture decoded.
    dx.unlocks.MarkCgSeen(std::string_view(name).substr(0, name.find('.')));
    dx.holdUpdates(5);
}

void cmdBgLoadExt(CDirectX& dx, const std::string&)
{
    const std::string name = dx.script.nextToken();
    SceneState& sc = dx.scene;
    if (!loadOptionBackground(dx, name))
        return;
    runLog().appendf(1, "@bg_load_ext. channel3(option_bg) : %s(DISK %dms/VRAM %dms)", name.c_str(), sc.lastDiskMs,
                     sc.lastVramMs);
    dx.holdUpdates(5);
}

void cmdBgExtExpire(CDirectX& dx, const std::string&)
{
    dx.scene.optionBg.active = false;
    dx.scene.fillDefaultOptionBackground();
    dx.holdUpdates(5);
}

void cmdBgChange(CDirectX& dx, const std::string&)
{
    startBackgroundCrossFade(dx, argumentNumber(dx.script.nextToken()));
    dx.gameState = GameState::PresentationWait;
}

void startBackgroundCrossFade(CDirectX& dx, int32_t time)
{
    SceneState& sc = dx.scene;
    // A free-running scroll gives way: it ends where it was going.
    if (sc.scroll.active) {
        sc.scroll.active = false;
        sc.scroll.sync = false;
        sc.bg.current = 1 - sc.bg.current;
    }
    CrossFade& cf = sc.crossFade;
    cf.active = true;
    cf.remaining = float(std::max(time, 0));
    cf.rate = time > 0 ? 255.0f / float(time) : 0.0f;
    if (sc.bg.current == 1)
        sc.setTileAlpha(0);
    sc.presentationBusy = true;
}

void cmdBgScroll(CDirectX& dx, const std::string& token)
{
    startScroll(dx, token, 2, true);
}

void cmdBgScroll3(CDirectX& dx, const std::string& token)
{
    startScroll(dx, token, 3, true);
}

void cmdBgScroll3Nosync(CDirectX& dx, const std::string& token)
{
    startScroll(dx, token, 3, false);
}

void cmdBgSync(CDirectX& dx, const std::string&)
{
    if (!dx.scene.scroll.active)
        return;
    dx.scene.scroll.sync = true;
    dx.gameState = GameState::PresentationWait;
}

// ---- cut-ins ----

void cmdCutinLoad(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 2);
    if (!f)
        return;
    const int n = argumentNumber((*f)[0]);
    if (!inRange(dx, n, 0, 3, ArgumentError::Invalid, token, arg))
        return;
    const std::string& name = (*f)[1];
    if (loadCutin(dx, n, name))
        runLog().appendf(1, "@cutin_load. no(%d) : %s", n, name.c_str());
    else
        runLog().appendf(2, "@cutin_load failed. no(%d) : %s", n, name.c_str());
    dx.holdUpdates(5);
}

void cmdCutinSlideIn(CDirectX& dx, const std::string& token)
{
    startCutinSlide(dx, token, false);
}

void cmdCutinSlideOut(CDirectX& dx, const std::string& token)
{
    startCutinSlide(dx, token, true);
}

// ---- the character ----
// The first field of a multi-field character command names a group; scripts carry any number
// there and every command acts on group 0, so the field is read and never refused.

void cmdChrLoad(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 2);
    if (!f)
        return;
    SceneState& sc = dx.scene;
    const int channel = 1 - sc.groups[0].current;
    const std::string& name = (*f)[1];
    if (loadCharacter(dx, 0, channel, name))
        runLog().appendf(1, "@chr_load. no(%d) channel(%d) : %s (DISK %dms/VRAM %dms)", 0, channel, name.c_str(),
                         sc.lastDiskMs, sc.lastVramMs);
    else
        runLog().appendf(2, "@chr_load failed. no(%d) channel(%d) : %s", 0, channel, name.c_str());
    dx.holdUpdates(5);
}

void cmdChrChange(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 2);
    if (!f)
        return;
    int32_t time = argumentNumber((*f)[1]);
    if (time < 0) {
        reportArgumentError(dx, ArgumentError::BadNumber, token, arg);
        time = 0;
    }
    SceneState& sc = dx.scene;
    CharacterChange& c = sc.change;
    const int32_t half = time / 2;
    c.remaining1 = float(time);
    c.rate1 = time > 0 ? 255.0f / float(time) : 0.0f;
    c.remaining2 = float(half);
    c.rate2 = half > 0 ? 255.0f / float(half) : 0.0f;
    c.oldAlpha = 255.0f;
    c.active = true;
    sc.setGroupAlpha(0, 1 - sc.groups[0].current, 0);
    sc.groups[0].visible = true;
    block(dx);
}

void cmdChrSlideIn(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 4);
    if (!f)
        return;
    const int pos = argumentNumber((*f)[2]);
    if (!inRange(dx, pos, 0, 4, ArgumentError::Invalid, token, arg))
        return;
    SceneState& sc = dx.scene;
    if (auto d = anyDirection((*f)[1]))
        sc.slide.direction = *d;
    const int X = ChrPositionTable[size_t(pos)];
    int sx = X, sy = 0, tx = X;
    switch (sc.slide.direction) {
    case SceneDirection::Up: sy = kScreenHeight; break;
    case SceneDirection::Down: sy = -608; break;
    case SceneDirection::Left: sx = -512; break;
    case SceneDirection::Right: sx = kScreenWidth; break;
    case SceneDirection::LeftTop: sx = -512, sy = -608, tx = 0; break;
    case SceneDirection::LeftBottom: sx = -512, sy = kScreenHeight, tx = 0; break;
    case SceneDirection::RightTop: sx = kScreenWidth, sy = -608, tx = 288; break;
    case SceneDirection::RightBottom: sx = kScreenWidth, sy = kScreenHeight, tx = 288; break;
    }
    startCharacterSlide(dx, sx, sy, tx, 0, argumentNumber((*f)[3]), false);
}

void cmdChrSlideOut(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 4);
    if (!f)
        return;
    const int pos = argumentNumber((*f)[2]);
    if (!inRange(dx, pos, 0, 4, ArgumentError::Invalid, token, arg))
        return;
    SceneState& sc = dx.scene;
    if (auto d = anyDirection((*f)[1]))
        sc.slide.direction = *d;
    const int X = ChrPositionTable[size_t(pos)];
    int sx = X, tx = X, ty = 0;
    switch (sc.slide.direction) {
    case SceneDirection::Up: ty = -608; break;
    case SceneDirection::Down: ty = 608; break;
    case SceneDirection::Left: tx = -512; break;
    case SceneDirection::Right: tx = kScreenWidth; break;
    case SceneDirection::LeftTop: sx = 0, tx = -512, ty = -608; break;
    case SceneDirection::LeftBottom: sx = 0, tx = -512, ty = kScreenHeight; break;
    case SceneDirection::RightTop: sx = 288, tx = kScreenWidth, ty = -608; break;
    case SceneDirection::RightBottom: sx = 288, tx = kScreenWidth, ty = kScreenHeight; break;
    }
    startCharacterSlide(dx, sx, 0, tx, ty, argumentNumber((*f)[3]), true);
}

void cmdChrMove(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 4);
    if (!f)
        return;
    const int from = argumentNumber((*f)[1]), to = argumentNumber((*f)[2]);
    if (!inRange(dx, from, 0, 4, ArgumentError::Invalid, token, arg) ||
        !inRange(dx, to, 0, 4, ArgumentError::Invalid, token, arg))
        return;
    dx.scene.groups[0].position = to;
    startCharacterSlide(dx, ChrPositionTable[size_t(from)], 0, ChrPositionTable[size_t(to)], 0, argumentNumber((*f)[3]),
                        false);
}

void cmdChrTurn(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 2);
    if (!f)
        return;
    const int32_t time = argumentNumber((*f)[1]);
    SceneState& sc = dx.scene;
    CharacterGroup& g = sc.groups[0];
    sc.setGroupAlpha(0, 1 - g.current, 255);
    g.turnProgress = 0.0f;
    // A time of 0 or less turns at once instead of dividing by it.
    g.turnDuration = std::max(time, 0);
    g.turnRate = time > 0 ? 1000.0f / float(time) : 0.0f;
    g.turnPending = time <= 0;
    sc.turnActive = true;
    block(dx);
}

void cmdChrSetpos(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 2);
    if (!f)
        return;
    const int pos = argumentNumber((*f)[1]);
    if (inRange(dx, pos, 0, 4, ArgumentError::Invalid, token, arg))
        dx.scene.groups[0].position = pos;
}

void cmdChrShow(CDirectX& dx, const std::string& token)
{
    showOrHide(dx, token, true);
}

void cmdChrHide(CDirectX& dx, const std::string& token)
{
    showOrHide(dx, token, false);
}

void cmdChrFadeIn(CDirectX& dx, const std::string& token)
{
    startFade(dx, token, true);
}

void cmdChrFadeOut(CDirectX& dx, const std::string& token)
{
    startFade(dx, token, false);
}

void cmdChrSwapScreen(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    const int n = argumentNumber(arg);
    if (!inRange(dx, n, 0, 2, ArgumentError::OutOfRange02, token, arg))
        return;
    SceneState& sc = dx.scene;
    sc.groups[0].current = 1 - sc.groups[size_t(n)].current;
}

void cmdChrShadow(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 2);
    if (!f)
        return;
    if ((*f)[1] == "on")
        dx.scene.groups[0].shadow = true;
    else if ((*f)[1] == "off")
        dx.scene.groups[0].shadow = false;
}

void cmdShadow(CDirectX& dx, const std::string&)
{
    dx.script.nextToken();
}
