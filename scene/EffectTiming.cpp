#include "scene/EffectTiming.h"

#include "app/CDirectX.h"
#include "input/KeyCodes.h"

#include <array>

namespace {

using T = PresentationTimer;

//                                           doubles skips  plain  pauses
constexpr std::array<TimerRule, 9> kRules = {{
    /* CrossFade     */ {true, true, true, true},
    /* ScrollSync    */ {true, true, false, true},
    /* ScrollNosync  */ {true, false, false, true},
    /* Character     */ {true, true, true, false},
    /* CutinSlide    */ {false, false, false, false},
    /* Shake         */ {false, false, false, false},
    /* ColourOverlay */ {true, false, false, false},
    /* Animation     */ {false, false, false, false},
    /* SpecialEffect */ {false, false, false, false},
}};

} // namespace

const TimerRule& timerRule(PresentationTimer timer)
{
    return kRules[size_t(timer)];
}

float FrameTiming::scale(PresentationTimer timer) const
{
    const TimerRule& r = timerRule(timer);
    if (!r.doubles || !doubled || (ending && r.plainInEnding))
        return 1.0f;
    return 2.0f;
}

float FrameTiming::step(PresentationTimer timer) const
{
    return paused(timer) ? 0.0f : delta * scale(timer);
}

bool FrameTiming::skipping(PresentationTimer timer) const
{
    const TimerRule& r = timerRule(timer);
    return r.skips && skip && !(ending && r.plainInEnding) && !paused(timer);
}

bool FrameTiming::paused(PresentationTimer timer) const
{
    return menuOpen && timerRule(timer).pausesUnderMenus;
}

FrameTiming frameTiming(const CDirectX& dx)
{
    FrameTiming t;
    t.delta = float(dx.frameDelta);
    t.ending = dx.scriptState.endingMode != 0;
    t.doubled = dx.config.effectSpeed == 1;
    t.skip = dx.config.effectSpeed == 2 || dx.input.keyHeld(DIK_LCONTROL) || dx.input.keyHeld(DIK_RCONTROL);
    t.menuOpen = dx.confirmOpen || dx.gameMenu.open || dx.screenState == ScreenState::Backlog;
    t.clock = dx.thisFrameTime;
    return t;
}
