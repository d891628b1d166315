// The shake and the white and black fades.
#include "scene/EffectCommands.h"

#include "app/CDirectX.h"
#include "core/ScreenSize.h"
#include "scene/EffectTiming.h"
#include "script/CommandArgs.h"

#include <algorithm>
#include <cmath>

namespace {


void startOverlay(CDirectX& dx, OverlayKind kind)
{
    const int32_t time = argumentNumber(dx.script.nextToken());
    SceneState& sc = dx.scene;
    ColourOverlay& o = sc.overlay;
    o.kind = kind;
    // No time (or a negative one) finishes at the next frame instead of never.
    o.rate = time > 0 ? 256.0f / float(time) : 256.0f;
    o.elapsed = 0.0f;
    o.finished = false;
    o.active = true;
    sc.presentationBusy = true;
    dx.gameState = GameState::PresentationWait;
}

void drawShakeBar(CDirectX& dx)
{
    SceneState& sc = dx.scene;
    const int h = sc.shake.axis == 0 ? sc.shakeY : sc.shakeX;
    if (h == 0)
        return;
    // Opaque, whatever alpha the black fade left its sprite at, so the strip is covered
    // over the message window and cut-in as well.
    CSprite bar;
    bar.SetNoTexture();
    bar.SetColour(0);
    bar.SetAlpha(255);
    platform::Video& video = *dx.display.directDraw();
    if (sc.shake.axis == 0) {
        if (h < 0)
            bar.Draw(video, 0, float(kScreenHeight + h), kScreenWidth, 32);
        else
            bar.Draw(video, 0, 0, kScreenWidth, float(h));
    } else {
        if (h < 0)
            bar.Draw(video, float(kScreenWidth + h), 0, 32, kScreenHeight);
        else
            bar.Draw(video, 0, 0, float(h), kScreenHeight);
    }
}

void drawColourOverlay(CDirectX& dx, const FrameTiming& t)
{
    SceneState& sc = dx.scene;
    ColourOverlay& o = sc.overlay;
    if (!o.active)
        return;
    const bool out = o.kind == OverlayKind::WhiteOut || o.kind == OverlayKind::BlackOut;
    const bool white = o.kind == OverlayKind::WhiteOut || o.kind == OverlayKind::WhiteIn;
    const float m = std::min(o.rate * o.elapsed, 100000.0f);
    const int alpha = std::clamp(out ? int(m) : 255 - int(m), 0, 255);
    CSprite& sprite = white ? sc.whiteOverlay : sc.blackOverlay;
    sprite.SetAlpha(alpha);
    sprite.Draw(*dx.display.directDraw(), 0, 0, kScreenWidth, kScreenHeight);
    if (int(m) > 255) {
        // Only the frame the fade completes releases the script: a white screen that
        // stays up must not end another effect that runs under it.
        if (!o.finished) {
            o.finished = true;
            sc.presentationBusy = false;
            if (dx.gameState == GameState::PresentationWait)
                dx.gameState = GameState::Ready;
        }
        if (!out)
            o.active = false;
        return;
    }
    o.elapsed += t.step(PresentationTimer::ColourOverlay);
}

} // namespace

void cmdEffectQuake(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    auto f = requireArguments(dx, token, arg, 2);
    if (!f)
        return;
    const int32_t time = argumentNumber((*f)[1]);
    if (time <= 0) {
        reportArgumentError(dx, ArgumentError::BadNumber, token, arg);
        return;
    }
    SceneState& sc = dx.scene;
    ShakeEffect& s = sc.shake;
    if ((*f)[0] == "ver")
        s.axis = 0;
    else if ((*f)[0] == "hor")
        s.axis = 1;
    s.duration = time;
    s.elapsed = 0;
    s.waves = 20;
    s.active = true;
    sc.presentationBusy = true;
    dx.gameState = GameState::PresentationWait;
}

void cmdEffectWhiteOut(CDirectX& dx, const std::string&)
{
    startOverlay(dx, OverlayKind::WhiteOut);
}

void cmdEffectWhiteIn(CDirectX& dx, const std::string&)
{
    startOverlay(dx, OverlayKind::WhiteIn);
}

void cmdEffectBlackOut(CDirectX& dx, const std::string&)
{
    startOverlay(dx, OverlayKind::BlackOut);
}

void cmdEffectBlackIn(CDirectX& dx, const std::string&)
{
    startOverlay(dx, OverlayKind::BlackIn);
}

void advanceShake(CDirectX& dx)
{
    SceneState& sc = dx.scene;
    ShakeEffect& s = sc.shake;
    sc.shakeX = sc.shakeY = 0;
    if (!s.active)
        return;
    if (s.elapsed >= s.duration) {
        s.active = false;
        sc.presentationBusy = false;
        return;
    }
    // k counts half-waves (0-39) and is taken as radians, which gives the shake its
    // irregular rhythm.
    const int64_t k = (int64_t(s.waves) * s.elapsed * 360 / s.duration) / 180;
    const int offset = int((1.0 - double(s.elapsed) / double(s.duration)) * 8.0 * std::cos(double(k)));
    (s.axis == 0 ? sc.shakeY : sc.shakeX) = offset;
    s.elapsed += dx.frameDelta;
}

void drawGameOverlays(CDirectX& dx)
{
    SceneState& sc = dx.scene;
    if (!sc.created || !dx.display.directDraw() || !dx.display.directDraw()->backBuffer())
        return;
    if (dx.gameState == GameState::PresentationWait)
        drawShakeBar(dx);
    drawColourOverlay(dx, frameTiming(dx));
}

void resetScreenEffects(SceneState& sc)
{
    sc.shake = ShakeEffect{};
    sc.shakeX = sc.shakeY = 0;
    sc.overlay = ColourOverlay{};
    SpecialEffects& e = sc.effects;
    e.active = false;
    e.weatherActive = false;
    e.weatherKind = 0;
    e.weatherStrength = 0;
    for (Spark& p : e.sparks)
        p.age = p.lifetime = 0;
    for (Strip& s : e.strips)
        s.alpha = 0;
    for (auto& layer : e.rain)
        layer.clear();
    e.petals.clear();
}
