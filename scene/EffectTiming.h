#pragma once
#include <cstdint>

class CDirectX;

// Every timer of the game screen's presentation, each with its own answer to the effect
// speed option, the skip key, ending mode and an open menu.
enum class PresentationTimer {
    CrossFade,
    ScrollSync,
    ScrollNosync,
    Character, // slide, move, change, turn, fade
    CutinSlide,
    Shake,
    ColourOverlay,
    Animation,
    SpecialEffect,
};

struct TimerRule {
    bool doubles;          // "double" effect speed runs it at twice the pace
    bool skips;            // "off" or Ctrl ends it at once
    bool plainInEnding;    // ending mode turns both of the above off
    bool pausesUnderMenus; // stands still while a menu or dialog is open over the game
};

// The one table every presentation timer reads.
const TimerRule& timerRule(PresentationTimer timer);

// What this frame's options and keys mean for the timers.
struct FrameTiming {
    float delta = 0.0f;
    bool doubled = false; // effect speed "double"
    bool skip = false;    // effect speed "off" or a Ctrl key held
    bool ending = false;
    bool menuOpen = false;
    uint32_t clock = 0;

    // 1 or 2: how many frameDeltas the timer advances by.
    float scale(PresentationTimer timer) const;
    // The milliseconds it advances this frame (0 while paused under a menu).
    float step(PresentationTimer timer) const;
    bool skipping(PresentationTimer timer) const;
    bool paused(PresentationTimer timer) const;
};

FrameTiming frameTiming(const CDirectX& dx);
