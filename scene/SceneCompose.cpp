// The game screen's picture, one frame at a time, and the timers of the transitions it runs.
#include "scene/SceneCommands.h"

#include "app/CDirectX.h"
#include "core/ScreenSize.h"
#include "scene/EffectCommands.h"
#include "scene/EffectTiming.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void drawBackgroundChannel(CDirectX& dx, int channel, int ox, int oy)
{
    SceneState& sc = dx.scene;
    platform::Video& video = *dx.display.directDraw();
    if (channel == 0) {
        for (int r = 0; r < kTileRows; ++r)
            for (int c = 0; c < kTileColumns; ++c)
                sc.bg.tiles[size_t(r * kTileColumns + c)].Draw(video, float(32 * c + ox), float(32 * r + oy), 32, 32);
        return;
    }
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            sc.bg.surfaces[size_t(r * 4 + c)].Draw(video.backBuffer(), float(256 * c + ox), float(256 * r + oy),
                                                   float(bgBlockWidth(c)), float(bgBlockHeight(r)), 0, 0);
}

namespace {

using Timer = PresentationTimer;

// A coordinate moving from start toward target over time, truncated, never past the target.
int towards(int start, int target, double elapsed, int32_t time)
{
    if (time <= 0 || elapsed >= double(time))
        return target;
    double moved = std::trunc(std::max(elapsed, 0.0) * std::abs(double(target) - start) / double(time));
    return target >= start ? std::min(target, start + int(moved)) : std::max(target, start - int(moved));
}

void drawOptionBackground(CDirectX& dx, int ox, int oy)
{
    SceneState& sc = dx.scene;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            sc.optionBg.surfaces[size_t(r * 4 + c)].Draw(dx.display.directDraw()->backBuffer(), float(256 * c + ox),
                                                         float(256 * r + oy), float(bgBlockWidth(c)),
                                                         float(bgBlockHeight(r)), 0, 0);
}

void crossFadeFrame(CDirectX& dx, const FrameTiming& t)
{
    SceneState& sc = dx.scene;
    CrossFade& cf = sc.crossFade;
    if (cf.remaining > 0) {
        float h = cf.remaining * cf.rate;
        sc.setTileAlpha(int(sc.bg.current == 1 ? 255.0f - h : h));
    }
    drawBackgroundChannel(dx, 1, 0, 0);
    drawBackgroundChannel(dx, 0, 0, 0);
    if (!t.paused(Timer::CrossFade)) {
        cf.remaining -= t.step(Timer::CrossFade);
        if (t.skipping(Timer::CrossFade))
            cf.remaining = 0;
    }
    if (cf.remaining <= 0) {
        sc.setTileAlpha(sc.bg.current == 1 ? 255 : 0);
        sc.bg.current = 1 - sc.bg.current;
        cf.active = false;
        sc.presentationBusy = false;
    }
}

void scrollOffsets(SceneDirection d, int distance, int& ox, int& oy)
{
    ox = oy = 0;
    switch (d) {
    case SceneDirection::Up: oy = -distance; break;
    case SceneDirection::Down: oy = distance; break;
    case SceneDirection::Left: ox = -distance; break;
    default: ox = distance; break;
    }
}

void scrollFrame(CDirectX& dx, const FrameTiming& t)
{
    SceneState& sc = dx.scene;
    BackgroundScroll& s = sc.scroll;
    const int p = int(s.position);
    const int length = (s.direction == SceneDirection::Up || s.direction == SceneDirection::Down) ? kScreenHeight : kScreenWidth;
    int ox, oy;
    // The outgoing page moves by p; each later page follows one screen length behind.
    scrollOffsets(s.direction, p, ox, oy);
    drawBackgroundChannel(dx, sc.bg.current, ox, oy);
    if (s.pages == 3) {
        scrollOffsets(s.direction, p - length, ox, oy);
        drawOptionBackground(dx, ox, oy);
    }
    scrollOffsets(s.direction, p - (s.pages - 1) * length, ox, oy);
    drawBackgroundChannel(dx, 1 - sc.bg.current, ox, oy);

    const Timer timer = s.skippable ? Timer::ScrollSync : Timer::ScrollNosync;
    if (!t.paused(timer)) {
        s.position += t.step(timer) * s.speed;
        if (t.skipping(timer))
            s.position = s.distance;
        s.position = std::min(s.position, s.distance);
    }
    if (s.position >= s.distance) {
        s.active = false;
        s.sync = false;
        sc.presentationBusy = false;
        sc.bg.current = 1 - sc.bg.current;
    }
}

// Draws the six sprites of a group's channel; the table position is added unless a slide
// gives absolute coordinates. alpha < 0 keeps the sprites' alphas.
void drawGroup(CDirectX& dx, int group, int channel, int x, int y, int alpha)
{
    SceneState& sc = dx.scene;
    CharacterGroup& g = sc.groups[size_t(group)];
    if (alpha >= 0)
        sc.setGroupAlpha(group, channel, alpha);
    x += sc.shakeX;
    y += sc.shakeY;
    // A slide moves the script's character only; it gives absolute coordinates.
    if (!(sc.slide.active && group == 0))
        x += ChrPositionTable[size_t(std::clamp(g.position, 0, 4))];
    auto& sp = g.sprites[size_t(channel)];
    platform::Video& video = *dx.display.directDraw();
    for (int i = 0; i < 4; ++i)
        sp[size_t(i)].Draw(video, float(x + 256 * (i % 2)), float(y + 256 * (i / 2)), 256, 256);
    sp[4].Draw(video, float(x), float(y + 512), 256, 96);
    sp[5].Draw(video, float(x + 256), float(y + 512), 256, 96);
}

void slideFrame(CDirectX& dx, const FrameTiming& t)
{
    SceneState& sc = dx.scene;
    CharacterSlide& s = sc.slide;
    CharacterGroup& g = sc.groups[0];
    if (s.time <= 0) {
        s.x = s.targetX = ChrPositionTable[size_t(std::clamp(g.position, 0, 4))];
        s.y = s.targetY = 0;
    } else {
        double elapsed = double(int32_t(t.clock - s.startTime));
        elapsed *= double(t.scale(Timer::Character));
        if (t.skipping(Timer::Character))
            elapsed = s.time;
        s.x = towards(s.startX, s.targetX, elapsed, s.time);
        s.y = towards(s.startY, s.targetY, elapsed, s.time);
    }
    drawGroup(dx, 0, g.current, s.x, s.y, -1);
    if (s.x == s.targetX && s.y == s.targetY) {
        s.active = false;
        sc.presentationBusy = false;
        if (s.out)
            g.visible = false;
    }
}

// One group's picture during a turn: each column f pixels wide about x = X + 256.
void drawTurningGroup(CDirectX& dx, int group, int channel, float f)
{
    SceneState& sc = dx.scene;
    CharacterGroup& g = sc.groups[size_t(group)];
    platform::Video& video = *dx.display.directDraw();
    const float x = float(ChrPositionTable[size_t(std::clamp(g.position, 0, 4))] + sc.shakeX);
    const float y = float(sc.shakeY);
    auto drawSet = [&](std::array<CSprite, 6>& sp, float dx8, float dy8) {
        for (int row = 0; row < 3; ++row) {
            const float h = row == 2 ? 96.0f : 256.0f;
            const float top = y + dy8 + 256.0f * float(row);
            sp[size_t(row * 2)].Draw(video, x + dx8 + 256.0f - f, top, f, h);
            sp[size_t(row * 2 + 1)].Draw(video, x + dx8 + 256.0f, top, f, h);
        }
    };
    if (g.shadow)
        drawSet(g.shadows[size_t(channel)], 8.0f, 8.0f);
    drawSet(g.sprites[size_t(channel)], 0.0f, 0.0f);
}

void turnFrame(CDirectX& dx, const FrameTiming& t)
{
    SceneState& sc = dx.scene;
    bool anyRunning = false;
    for (int gi = 0; gi < 3; ++gi) {
        CharacterGroup& g = sc.groups[size_t(gi)];
        if (!g.visible)
            continue;
        if (g.turnPending) {
            // A turn without time shows the other picture at once.
            g.turnPending = false;
            g.current = 1 - g.current;
            drawTurningGroup(dx, gi, g.current, 256.0f);
            continue;
        }
        if (g.turnDuration <= 0) {
            drawTurningGroup(dx, gi, g.current, 256.0f);
            continue;
        }
        g.turnProgress += t.step(Timer::Character) * g.turnRate;
        if (t.skipping(Timer::Character))
            g.turnProgress = float(g.turnDuration);
        const float duration = float(g.turnDuration);
        const bool finished = g.turnProgress >= duration;
        const float half = duration / 2.0f;
        if (!finished && g.turnProgress <= half)
            drawTurningGroup(dx, gi, g.current, 256.0f - g.turnProgress / half * 256.0f);
        else
            drawTurningGroup(dx, gi, 1 - g.current,
                             finished ? 256.0f : (g.turnProgress - half) / half * 256.0f);
        if (finished) {
            g.current = 1 - g.current;
            g.turnDuration = 0;
            g.turnProgress = 0.0f;
        } else {
            anyRunning = true;
        }
    }
    if (!anyRunning) {
        sc.turnActive = false;
        sc.presentationBusy = false;
        dx.holdUpdates(3);
    }
}

void changeFrame(CDirectX& dx, const FrameTiming& t)
{
    SceneState& sc = dx.scene;
    CharacterChange& c = sc.change;
    CharacterGroup& g = sc.groups[0];
    const int oldCh = g.current, newCh = 1 - g.current;
    drawGroup(dx, 0, oldCh, 0, 0, int(c.oldAlpha));
    drawGroup(dx, 0, newCh, 0, 0, c.remaining1 > 0 ? int(255.0f - c.remaining1 * c.rate1) : 255);
    if (t.skipping(Timer::Character)) {
        c.remaining1 = 0;
        c.remaining2 = 0;
    } else if (c.remaining1 > 0) {
        c.remaining1 -= t.step(Timer::Character);
    } else {
        c.remaining2 -= t.step(Timer::Character);
        c.oldAlpha = c.remaining2 > 0 ? c.remaining2 * c.rate2 : 0.0f;
    }
    if (c.remaining1 <= 0 && c.remaining2 <= 0) {
        g.current = newCh;
        c.active = false;
        sc.presentationBusy = false;
    }
}

void fadeFrame(CDirectX& dx, const FrameTiming& t)
{
    SceneState& sc = dx.scene;
    CharacterFade& f = sc.fade;
    CharacterGroup& g = sc.groups[0];
    f.elapsed += t.step(Timer::Character);
    if (t.skipping(Timer::Character))
        f.elapsed = std::max(f.remaining, 0.0f);
    int alpha;
    if (f.time <= 0)
        alpha = f.in ? 255 : 0;
    else if (f.in)
        alpha = int(f.rate * f.elapsed);
    else {
        float a = 255.0f + f.rate * f.elapsed;
        alpha = a < 1.0f ? 0 : int(a);
    }
    drawGroup(dx, 0, g.current, 0, 0, alpha);
    f.remaining -= t.step(Timer::Character);
    if (t.skipping(Timer::Character))
        f.remaining = -1;
    if (f.remaining < 0) {
        if (!f.in)
            g.visible = false;
        f.active = false;
        sc.presentationBusy = false;
    }
}

void cutinFrame(CDirectX& dx, const FrameTiming& t)
{
    SceneState& sc = dx.scene;
    CutinSlide& s = sc.cutinSlide;
    if (s.active) {
        // The millisecond clock, whatever the effect speed or skip key says.
        double elapsed = double(int32_t(t.clock - s.startTime));
        sc.cutinX = towards(s.startX, s.targetX, elapsed, s.time);
        sc.cutinY = towards(s.startY, s.targetY, elapsed, s.time);
    }
    CutinSlot& slot = sc.cutins[size_t(std::clamp(sc.cutinShown, 0, 3))];
    if ((s.active || sc.cutinVisible) && slot.surface)
        slot.surface->Draw(dx.display.directDraw()->backBuffer(), float(sc.cutinX), float(sc.cutinY), float(slot.width),
                           float(slot.height), 0, 0);
    if (s.active && sc.cutinX == s.targetX && sc.cutinY == s.targetY) {
        s.active = false;
        sc.presentationBusy = false;
        if (s.out)
            sc.cutinVisible = false;
    }
}

} // namespace

bool scenePermitsScript(const CDirectX& dx)
{
    return !dx.scene.presentationBusy && !dx.scene.scrollHoldsScript();
}

namespace {

void backgroundLayer(CDirectX& dx, const FrameTiming& t)
{
    SceneState& sc = dx.scene;
    if (sc.crossFade.active) {
        crossFadeFrame(dx, t);
    } else if (sc.scroll.active) {
        scrollFrame(dx, t);
    } else {
        drawBackgroundChannel(dx, sc.bg.current, sc.shakeX, sc.shakeY);
        // (Petals are drawn here, over a still background only.)
    }
}

} // namespace

void composeBackgroundLayer(CDirectX& dx)
{
    if (!dx.scene.created || !dx.display.directDraw() || !dx.display.directDraw()->backBuffer())
        return;
    backgroundLayer(dx, frameTiming(dx));
}

void composeGameScreen(CDirectX& dx)
{
    SceneState& sc = dx.scene;
    if (!sc.created || !dx.display.directDraw() || !dx.display.directDraw()->backBuffer())
        return;
    const FrameTiming t = frameTiming(dx);

    if (dx.gameState == GameState::PresentationWait)
        advanceShake(dx);

    // 1. Background.
    backgroundLayer(dx, t);
    if (!sc.crossFade.active && !sc.scroll.active)
        drawEffectsOverBackground(dx, t);

    // 2. Effects under the character; the flash zoom stands in for the character layer.
    const bool zooming = drawEffectsUnderCharacter(dx, t);

    // 3. Character layer: the first running effect, else the standing character; then the
    // frame animation's picture.
    bool characterMoving = false;
    if (!zooming) {
        characterMoving = sc.slide.active || sc.turnActive || sc.change.active;
        if (sc.slide.active)
            slideFrame(dx, t);
        else if (sc.turnActive)
            turnFrame(dx, t);
        else if (sc.change.active)
            changeFrame(dx, t);
        else if (sc.fade.active)
            fadeFrame(dx, t);
        else if (sc.groups[0].visible)
            drawGroup(dx, 0, sc.groups[0].current, 0, 0, 255);
        const int picture = animationPicture(sc);
        if (picture >= 0) {
            drawGroup(dx, picture / 2 + 1, picture % 2, 0, 0, 255);
        }
    }

    // 4. Effects over the character, which wait while a slide, move, turn or change runs.
    if (!zooming && !characterMoving)
        drawEffectsOverCharacter(dx, t);

    // 5. The cut-in.
    cutinFrame(dx, t);

    // 6. The message window and 7. the colour overlay follow in drawGameOverlays.

    if (dx.gameState == GameState::PresentationWait && scenePermitsScript(dx))
        dx.gameState = GameState::Ready;
}
