#pragma once
// Screen effects ("@effect_*", "@sfx") and frame animation ("@anime_*"): the commands and
// the places in the game screen's frame where they draw and advance.
#include <string>

class CDirectX;
class SceneState;
struct FrameTiming;

// ---- commands ----
void cmdEffectQuake(CDirectX& dx, const std::string& token);
void cmdEffectWhiteOut(CDirectX& dx, const std::string& token);
void cmdEffectWhiteIn(CDirectX& dx, const std::string& token);
void cmdEffectBlackOut(CDirectX& dx, const std::string& token);
void cmdEffectBlackIn(CDirectX& dx, const std::string& token);
void cmdSfx(CDirectX& dx, const std::string& token);

void cmdAnimeInit(CDirectX& dx, const std::string& token);
void cmdAnimeLoad(CDirectX& dx, const std::string& token);
void cmdAnimeSet(CDirectX& dx, const std::string& token);
void cmdAnimeStart(CDirectX& dx, const std::string& token);
void cmdAnimePause(CDirectX& dx, const std::string& token);
void cmdAnimePlay(CDirectX& dx, const std::string& token);
void cmdAnimeStop(CDirectX& dx, const std::string& token);

// ---- the frame ----
// The shake, in the presentation wait, before anything is drawn.
void advanceShake(CDirectX& dx);
// Petals, over a still background.
void drawEffectsOverBackground(CDirectX& dx, const FrameTiming& t);
// The flash zoom, the strips and the two back rain layers. True while the flash zoom
// stands in for the whole character layer.
bool drawEffectsUnderCharacter(CDirectX& dx, const FrameTiming& t);
// Sparks, flashes and the front rain layer.
void drawEffectsOverCharacter(CDirectX& dx, const FrameTiming& t);
// After the message window: the bar over the edge the shake uncovers, then the colour fade.
void drawGameOverlays(CDirectX& dx);

// The animation's step, every frame of the game screen before its logic.
void stepAnimation(CDirectX& dx);
// The animation picture the current entry shows (0-3), or -1 when none is shown.
int animationPicture(const SceneState& sc);

// Rain (kind 4) or petals (kind 5) of the given strength with fresh particles, as a loaded
// game asks for; any other kind or a strength of 0 stops the weather.
void restartWeather(CDirectX& dx, int kind, int strength);
// Everything back to nothing running (a new game, the title, a gallery entry, a load).
void resetScreenEffects(SceneState& sc);
void resetAnimation(SceneState& sc);
