// "@sfx": the flash zoom, sparks, strips, flashes, rain and petals.
#include "scene/EffectCommands.h"

#include "app/CDirectX.h"
#include "core/ScreenSize.h"
#include "core/RunLog.h"
#include "scene/EffectTiming.h"
#include "script/CommandArgs.h"

#include <algorithm>
#include <cmath>

namespace {

using Type = SpecialEffectType;

constexpr std::array<uint32_t, 6> kZoomColours = {0xFF0000, 0x0000FF, 0x00FF00, 0xFF80FF, 0xFFFF00, 0xFFFFFF};
constexpr std::array<uint32_t, 4> kPetalColours = {0xFF4040, 0xFF8080, 0xFFC060, 0xFFFF60};
constexpr std::array<int, 3> kRainPerStrength = {24, 16, 8};
constexpr std::array<float, 3> kRainSpeed = {10.0f, 12.0f, 16.0f};
constexpr std::array<int, 3> kRainDelayUnit = {200, 500, 1000};
constexpr float kStreakLength = 1024.0f;
constexpr float kStreakEnd = 1624.0f; // the lower end has passed the screen by a streak
constexpr float kPetalFrameMs = 16.0f;

bool is(const SpecialEffects& e, Type t)
{
    return e.active && e.type == t;
}

// The character picture that is loaded but not shown: the flash zoom, the strips and the
// flashes are cut from it.
std::array<CSprite, 6>& hiddenCharacterSprites(SceneState& sc)
{
    CharacterGroup& g = sc.groups[0];
    return g.sprites[size_t(1 - g.current)];
}

void cutStripSprites(SceneState& sc)
{
    SpecialEffects& e = sc.effects;
    auto& tex = sc.groups[0].textures[size_t(1 - sc.groups[0].current)];
    for (int i = 0; i < 4; ++i)
        e.stripSprites[size_t(i)].Set(tex[0], float(64 * i), 0, 64, 256);
    for (int i = 0; i < 3; ++i) {
        e.quarterSprites[size_t(i)].Set(tex[size_t(i + 1)], 0, 0, 256, 256);
        e.quarterSprites[size_t(i)].SetBlend(SpriteBlend::Add);
    }
}

// ---- starts ----

void startFlashZoom(CDirectX& dx)
{
    SpecialEffects& e = dx.scene.effects;
    for (size_t i = 0; i < e.zoom.size(); ++i)
        e.zoom[i] = FlashZoomRecord{100.0f, int32_t(100 * i), 0, kZoomColours[i]};
    e.type = Type::FlashZoom;
    e.active = true;
    dx.scene.presentationBusy = true;
    dx.gameState = GameState::PresentationWait;
}

struct SparkShower {
    float x, y;
    int lifetimeBase;
    int vxBase;
    float vxScale;
    int vyBase;
    float vyScale;
};
constexpr std::array<SparkShower, 3> kShowers = {{
    {180, 510, 400, 240, 0.005f, 30, 0.0005f},
    {115, 310, 400, 130, 0.0022222223f, 50, 0.0007f},
    {155, 350, 1200, 130, 0.0022222223f, 50, 0.0007f},
}};

void startSparks(SceneState& sc, const SparkShower& s)
{
    SpecialEffects& e = sc.effects;
    EffectRandom& r = e.random;
    Spark* set = &e.sparks[size_t(e.sparkRing) * kSparksPerSet];
    for (int i = 0; i < kSparksPerSet; ++i) {
        Spark& p = set[i];
        p = Spark{};
        p.lifetime = float(s.lifetimeBase + 200 * r.upTo(4));
        p.originX = s.x;
        p.originY = s.y;
        p.vx = float(s.vxBase - r.upTo(359)) * s.vxScale;
        p.vy = float(s.vyBase - r.upTo(99)) * s.vyScale;
    }
    e.sparkRing = (e.sparkRing + 1) % kSparkSets;
    e.type = Type::Sparks;
    e.active = true;
}

void startStrips(SceneState& sc)
{
    SpecialEffects& e = sc.effects;
    EffectRandom& r = e.random;
    cutStripSprites(sc);
    Strip* set = &e.strips[size_t(e.stripRing) * kStripsPerSet];
    for (int i = 0; i < kStripsPerSet; ++i) {
        Strip& s = set[i];
        s.alpha = float(16 * r.upTo(15));
        s.delay1 = 10 * r.upTo(9);
        s.delay2 = 10 * r.upTo(9);
        s.strip = r.upTo(3);
        s.x = float(526 + 10 * r.upTo(9));
        s.y = 0;
        s.heightFactor = 0.7f + 0.1f * float(r.upTo(9));
    }
    e.stripRing = (e.stripRing + 1) % kStripSets;
    e.type = Type::Strips;
    e.active = true;
}

void startFlashes(SceneState& sc)
{
    SpecialEffects& e = sc.effects;
    cutStripSprites(sc);
    for (int i = 0; i < 6; ++i)
        e.flashes[size_t(i)] = FlashRecord{200 * i, i % 3, 100.0f, 0.0f, false};
    e.type = Type::Flashes;
    e.active = true;
}

float rainX(EffectRandom& r, int layer)
{
    switch (layer) {
    case 0: return float(2 * r.upTo(399));
    case 1: return float(4 * r.upTo(199));
    default: return float(5 * r.upTo(159) + r.upTo(159));
    }
}

void placeDrop(EffectRandom& r, RainDrop& d, int layer, float delay)
{
    d.x = rainX(r, layer);
    // Lower ends spread over a screen's height above the top, so the streaks of one layer
    // do not fall as one sheet.
    d.y = -float(r.upTo(999));
    d.speed = kRainSpeed[size_t(layer)];
    d.delay = delay;
}

void startRain(SceneState& sc, int n)
{
    SpecialEffects& e = sc.effects;
    for (int layer = 0; layer < 3; ++layer) {
        auto& drops = e.rain[size_t(layer)];
        drops.assign(size_t(kRainPerStrength[size_t(layer)] * n), RainDrop{});
        for (RainDrop& d : drops)
            placeDrop(e.random, d, layer, float((8 - n) * kRainDelayUnit[size_t(layer)] * e.random.upTo(7 - n)));
    }
}

void placePetal(EffectRandom& r, Petal& p, int n)
{
    p.delay = float(1000 * r.upTo(9));
    p.age = 0;
    p.x = float(r.upTo(99) - 100);
    p.y = float(r.upTo(99) + 400);
    p.size = 14.0f / float(1 + r.upTo(2));
    p.vx = (0.3f + 0.15f * float(r.upTo(2))) * float(n + 1);
    p.vy = (0.3f - 0.4f * float(r.upTo(2) + 1)) * float(n);
    p.colour = kPetalColours[size_t(r.upTo(3))];
}

void startPetals(SceneState& sc, int n)
{
    SpecialEffects& e = sc.effects;
    e.petals.assign(size_t(64 * n), Petal{});
    for (Petal& p : e.petals)
        placePetal(e.random, p, n);
}

void startWeather(SceneState& sc, Type type, int n)
{
    SpecialEffects& e = sc.effects;
    if (type == Type::Rain)
        startRain(sc, n);
    else
        startPetals(sc, n);
    e.type = type;
    e.active = true;
    e.weatherActive = true;
    e.weatherKind = int32_t(type);
    e.weatherStrength = n;
}

void stopWeather(SceneState& sc)
{
    SpecialEffects& e = sc.effects;
    if (e.active && (e.type == Type::Rain || e.type == Type::Petals))
        e.active = false;
    e.weatherActive = false;
    e.weatherKind = 0;
    e.weatherStrength = 0;
}

// A new effect of another kind takes the weather's place.
void replaceWeather(SceneState& sc)
{
    sc.effects.weatherActive = false;
    sc.effects.weatherKind = 0;
    sc.effects.weatherStrength = 0;
}

// ---- frames ----

void flashZoomFrame(CDirectX& dx, const FrameTiming& t)
{
    SceneState& sc = dx.scene;
    SpecialEffects& e = sc.effects;
    auto& sprites = hiddenCharacterSprites(sc);
    const int32_t delta = int32_t(t.delta);
    bool allDone = true;
    for (FlashZoomRecord& rec : e.zoom) {
        if (rec.delay >= 0) {
            rec.delay -= delta;
            allDone = false;
            continue;
        }
        rec.alpha = 64;
        if (rec.scale < 0)
            continue;
        allDone = false;
        rec.scale -= float(delta / 2);
        if (rec.scale < 0)
            continue;
        const float s = rec.scale * 0.01f * 2.5f;
        const float side = 256.0f * s;
        const float x0 = (float(kScreenWidth) - 512.0f * s) / 2, y0 = (float(kScreenHeight) - 512.0f * s) / 2;
        for (int i = 0; i < 4; ++i) {
            CSprite& sp = sprites[size_t(i)];
            sp.SetBlend(SpriteBlend::Add);
            sp.SetColour(rec.colour);
            sp.SetAlpha(rec.alpha);
            sp.Draw(*dx.display.directDraw(), x0 + side * float(i % 2), y0 + side * float(i / 2), side, side);
        }
    }
    for (int i = 0; i < 4; ++i) {
        CSprite& sp = sprites[size_t(i)];
        sp.SetBlend(SpriteBlend::Normal);
        sp.SetColour(0xFFFFFF);
        sp.SetAlpha(255);
    }
    if (allDone) {
        for (CharacterGroup& g : sc.groups)
            g.visible = false;
        e.active = false;
        sc.presentationBusy = false;
        if (dx.gameState == GameState::PresentationWait)
            dx.gameState = GameState::Ready;
    }
}

void sparksFrame(CDirectX& dx, const FrameTiming& t)
{
    SpecialEffects& e = dx.scene.effects;
    EffectRandom& r = e.random;
    platform::Video& video = *dx.display.directDraw();
    CSprite quad;
    quad.SetNoTexture();
    quad.SetBlend(SpriteBlend::Add);
    bool anyAlive = false;
    for (Spark& p : e.sparks) {
        if (p.age >= p.lifetime)
            continue;
        p.age += t.delta;
        for (int j = 3; j > 0; --j) {
            p.trailX[size_t(j)] = p.trailX[size_t(j - 1)];
            p.trailY[size_t(j)] = p.trailY[size_t(j - 1)];
        }
        p.x += t.delta * p.vx;
        p.vy += 0.001f;
        p.y += t.delta * t.delta * p.vy;
        if (p.originY + p.y > 550.0f)
            p.vy = -0.8f * p.vy;
        p.trailX[0] = p.x;
        p.trailY[0] = p.y;
        if (p.age > p.lifetime)
            continue;
        anyAlive = true;
        const float life = std::clamp(p.age / p.lifetime, 0.0f, 1.0f);
        const float side = 8.0f + 10.0f * (1.0f - life);
        for (int j = 1; j <= 4; ++j) {
            const uint32_t colour = uint32_t(r.upTo(127)) << 16 | uint32_t(r.upTo(95)) << 8 | uint32_t(r.upTo(31));
            quad.SetColour(colour);
            quad.SetAlpha(int((256.0f - 256.0f * life) / float(j)));
            quad.Draw(video, p.originX + p.trailX[size_t(j - 1)] - side / 2, p.originY + p.trailY[size_t(j - 1)] - side / 2,
                      side, side);
        }
    }
    if (!anyAlive)
        e.active = false;
}

void stripsFrame(CDirectX& dx, const FrameTiming& t)
{
    SpecialEffects& e = dx.scene.effects;
    platform::Video& video = *dx.display.directDraw();
    bool anyLeft = false;
    for (Strip& s : e.strips) {
        if (s.alpha <= 0)
            continue;
        anyLeft = true;
        if (s.delay1 > 0) {
            s.delay1 -= int32_t(t.delta);
            continue;
        }
        // Shown from the first delay on, sinking while it waits out the second and fades.
        s.y += t.delta * 0.5f;
        if (s.delay2 > 0)
            s.delay2 -= int32_t(t.delta);
        else
            s.alpha -= t.delta * 5.12f;
        CSprite& sp = e.stripSprites[size_t(std::clamp(s.strip, 0, 3))];
        sp.SetAlpha(int(s.alpha));
        sp.Draw(video, s.x, s.y, 64, 256.0f * s.heightFactor);
    }
    if (!anyLeft)
        e.active = false;
}

void flashesFrame(CDirectX& dx, const FrameTiming& t)
{
    SpecialEffects& e = dx.scene.effects;
    platform::Video& video = *dx.display.directDraw();
    bool anyLeft = false;
    for (FlashRecord& f : e.flashes) {
        if (f.done)
            continue;
        anyLeft = true;
        if (f.delay > 0) {
            f.delay -= int32_t(t.delta);
            continue;
        }
        if (f.riseTimer > 0) {
            f.value += t.delta * 5.12f;
            f.riseTimer -= t.delta;
        } else {
            f.value -= t.delta * 2.56f;
            if (f.value <= 0) {
                f.value = 0;
                f.done = true;
            }
        }
        CSprite& sp = e.quarterSprites[size_t(std::clamp(f.picture, 0, 2))];
        sp.SetAlpha(int(f.value / 4));
        sp.Draw(video, 0, 88, 512, 512);
    }
    if (!anyLeft)
        e.active = false;
}

// One streak, light blue and clear at its upper end, white at alpha 0x40 at its lower end,
// as steps of one colour each: flat upright quads are the rasteriser's fast path, and at
// 2 px wide the 16 steps cannot be told from a smooth ramp.
void drawStreak(platform::Video& video, float x, float lowerEnd)
{
    constexpr int kSteps = 16;
    constexpr float kStep = kStreakLength / kSteps;
    CSprite step;
    step.SetNoTexture();
    const float top = lowerEnd - kStreakLength;
    for (int i = 0; i < kSteps; ++i) {
        const float y = top + kStep * float(i);
        if (y + kStep <= 0 || y >= float(kScreenHeight))
            continue;
        const float t = (float(i) + 0.5f) / kSteps;
        auto channel = [t](uint32_t from, uint32_t to) { return uint32_t(float(from) + (float(to) - float(from)) * t); };
        step.SetColour(channel(0x99, 0xFF) << 16 | channel(0x99, 0xFF) << 8 | 0xFF);
        step.SetAlpha(int(0x40 * t));
        step.Draw(video, x, y, 2, kStep);
    }
}

void rainLayerFrame(CDirectX& dx, const FrameTiming& t, int layer)
{
    SpecialEffects& e = dx.scene.effects;
    const int n = e.weatherStrength;
    platform::Video& video = *dx.display.directDraw();
    for (RainDrop& d : e.rain[size_t(layer)]) {
        if (d.delay > 0) {
            d.delay -= t.delta;
            continue;
        }
        d.y += d.speed * t.delta;
        if (d.y > kStreakEnd) {
            placeDrop(e.random, d, layer, float((12 - n) * 1000 * e.random.upTo(7 - n)));
            continue;
        }
        if (d.y > 0)
            drawStreak(video, d.x, d.y);
    }
}

void petalsFrame(CDirectX& dx, const FrameTiming& t)
{
    SpecialEffects& e = dx.scene.effects;
    platform::Video& video = *dx.display.directDraw();
    CSprite quad;
    quad.SetNoTexture();
    quad.SetBlend(SpriteBlend::Add);
    quad.SetAlpha(255);
    for (Petal& p : e.petals) {
        if (p.delay > 0) {
            p.delay -= t.delta;
            continue;
        }
        p.age += t.delta;
        // Petal speeds count per 16 ms frame: per millisecond they would cross the screen
        // in a fifth of a second and spend their seconds-long restart delays off screen.
        p.x += p.vx * t.delta / kPetalFrameMs;
        p.y += p.vy * t.delta / kPetalFrameMs;
        if (p.x > float(kScreenWidth)) {
            placePetal(e.random, p, e.weatherStrength);
            continue;
        }
        // A sway of 100 px over about three seconds, and one turn a second.
        const float y = p.y + 100.0f * std::sin(p.age * 0.002f);
        if (y < -p.size || y > float(kScreenHeight))
            continue;
        quad.SetColour(p.colour);
        quad.DrawRotated(video, p.x, y, p.size, p.size * 0.6f, p.age * 0.36f);
    }
}

// The intensity of "@sfx 6" and "@sfx 7": after a comma in the number's token, else the
// next token. -1 when it is missing or not a number.
int intensityArgument(CDirectX& dx, const std::string& numberToken)
{
    const size_t comma = numberToken.find(',');
    const std::string arg = comma != std::string::npos ? numberToken.substr(comma + 1) : dx.script.nextToken();
    const size_t start = arg.find_first_not_of(" \t");
    if (start == std::string::npos)
        return -1;
    const char c = arg[start];
    if (!(c >= '0' && c <= '9') && c != '-' && c != '+')
        return -1;
    return argumentNumber(arg);
}

} // namespace

void cmdSfx(CDirectX& dx, const std::string& token)
{
    const std::string arg = dx.script.nextToken();
    const int number = argumentNumber(arg);
    SceneState& sc = dx.scene;
    if (number < 0 || number > 7)
        return;
    if (number == 6 || number == 7) {
        const int n = intensityArgument(dx, arg);
        if (n < 0 || n > 7) {
            reportArgumentError(dx, ArgumentError::BadNumber, token, arg);
            return;
        }
        if (n == 0)
            stopWeather(sc);
        else
            startWeather(sc, number == 6 ? Type::Rain : Type::Petals, n);
        return;
    }
    const FrameTiming t = frameTiming(dx);
    if (number == 5 && t.skip && !t.ending)
        return;
    replaceWeather(sc);
    switch (number) {
    case 0: startFlashZoom(dx); break;
    case 1:
    case 2:
    case 3: startSparks(sc, kShowers[size_t(number - 1)]); break;
    case 4: startStrips(sc); break;
    default: startFlashes(sc); break;
    }
}

void restartWeather(CDirectX& dx, int kind, int strength)
{
    SceneState& sc = dx.scene;
    if ((kind == 4 || kind == 5) && strength != 0)
        startWeather(sc, Type(kind), std::clamp(strength, 1, 7));
    else
        stopWeather(sc);
}

void drawEffectsOverBackground(CDirectX& dx, const FrameTiming& t)
{
    if (is(dx.scene.effects, Type::Petals))
        petalsFrame(dx, t);
}

bool drawEffectsUnderCharacter(CDirectX& dx, const FrameTiming& t)
{
    SpecialEffects& e = dx.scene.effects;
    if (is(e, Type::FlashZoom)) {
        flashZoomFrame(dx, t);
        return true;
    }
    if (is(e, Type::Strips))
        stripsFrame(dx, t);
    else if (is(e, Type::Rain)) {
        rainLayerFrame(dx, t, 0);
        rainLayerFrame(dx, t, 1);
    }
    return false;
}

void drawEffectsOverCharacter(CDirectX& dx, const FrameTiming& t)
{
    SpecialEffects& e = dx.scene.effects;
    if (is(e, Type::Sparks))
        sparksFrame(dx, t);
    else if (is(e, Type::Flashes))
        flashesFrame(dx, t);
    else if (is(e, Type::Rain))
        rainLayerFrame(dx, t, 2);
}
