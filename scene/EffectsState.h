#pragma once
// The state of the screen effects and the frame animation, kept in SceneState.
#include "graphics/CSprite.h"
#include "scene/EffectRandom.h"

#include <array>
#include <cstdint>
#include <vector>

// "@effect_quake": the picture shakes along one axis, the amplitude falling from 8 px to 0.
struct ShakeEffect {
    bool active = false;
    int axis = 0; // 0 vertical, 1 horizontal
    int32_t duration = 0;
    int32_t elapsed = 0;
    int32_t waves = 20;
};

// The white and black fades. Kinds 0 and 2 leave the colour up until the matching "in".
enum class OverlayKind : int { WhiteOut = 0, WhiteIn = 1, BlackOut = 2, BlackIn = 3 };

struct ColourOverlay {
    bool active = false;
    OverlayKind kind = OverlayKind::WhiteOut;
    float rate = 0.0f; // alpha per millisecond
    float elapsed = 0.0f;
    bool finished = false; // the script has been released
};

enum class SpecialEffectType : int { FlashZoom = 0, Sparks = 1, Strips = 2, Flashes = 3, Rain = 4, Petals = 5 };

struct FlashZoomRecord {
    float scale = 100.0f;
    int32_t delay = 0;
    int alpha = 0;
    uint32_t colour = 0;
};

struct Spark {
    float lifetime = 0, age = 0;
    float originX = 0, originY = 0;
    float x = 0, y = 0, vx = 0, vy = 0;
    std::array<float, 4> trailX{}, trailY{};
};
inline constexpr int kSparkSets = 10, kSparksPerSet = 128;

struct Strip {
    float alpha = 0;
    int32_t delay1 = 0, delay2 = 0;
    int strip = 0;
    float x = 0, y = 0;
    float heightFactor = 1.0f;
};
inline constexpr int kStripSets = 11, kStripsPerSet = 10;

struct FlashRecord {
    int32_t delay = 0;
    int picture = 0;
    float riseTimer = 100.0f;
    float value = 0;
    bool done = false;
};

struct RainDrop {
    float x = 0, y = 0; // y is the streak's lower end
    float speed = 0;
    float delay = 0;
};

struct Petal {
    float delay = 0, age = 0;
    float x = 0, y = 0, size = 0, vx = 0, vy = 0;
    uint32_t colour = 0;
};

struct SpecialEffects {
    bool active = false;
    SpecialEffectType type = SpecialEffectType::FlashZoom;
    std::array<FlashZoomRecord, 6> zoom{};
    std::vector<Spark> sparks = std::vector<Spark>(size_t(kSparkSets) * kSparksPerSet);
    int sparkRing = 0; // the set the next start fills
    std::vector<Strip> strips = std::vector<Strip>(size_t(kStripSets) * kStripsPerSet);
    int stripRing = 0;
    std::array<FlashRecord, 6> flashes{};
    std::array<std::vector<RainDrop>, 3> rain;
    std::vector<Petal> petals;
    // Sprites cut from the character picture that is not shown: four 64-wide strips of
    // its top-left quarter and its other three quarters.
    std::array<CSprite, 4> stripSprites;
    std::array<CSprite, 3> quarterSprites;

    // Rain or petals, as a saved game records them. The strength is the intensity 1-7.
    bool weatherActive = false;
    int32_t weatherKind = 0;
    int32_t weatherStrength = 0;

    EffectRandom random;
};

// "@anime_*": up to four pictures in character groups 1 and 2 and a table of 32 steps.
struct AnimationEntry {
    int32_t pattern = 0; // the picture 0-3; negative ends the sequence
    int32_t wait = 0;    // milliseconds the entry stays
};
inline constexpr int kAnimationEntries = 32;

struct AnimationState {
    bool initialised = false; // "@anime_init" seen since the last reset
    bool running = false;
    bool paused = false;
    int current = 0;
    uint32_t lastStep = 0;
    std::array<AnimationEntry, kAnimationEntries> table{};
};
