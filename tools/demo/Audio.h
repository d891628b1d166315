#pragma once
// Synthesised sound for the demo: music loops, effects and voices, all made here from
// oscillators, envelopes, noise and resonant filters (nothing recorded).
#include <cstdint>
#include <string>
#include <vector>

namespace demo {

inline constexpr int kAudioRate = 22050;

inline constexpr int kMusicTracks = 7;
// Track 0-6: a loop of whole bars whose release tails are wrapped to its start, so it
// repeats without a click.
std::vector<float> musicLoop(int track);
const char* musicTitle(int track);

enum class Sfx {
    Bell, Knock, Wind, Steps, Chime, ShootingStar,   // script effects (Ogg)
    Ok, Cancel, Logo, Test,                           // interface sounds (WAV)
    Beep01, Beep02, MsgType, Beep04,                  // typing-game sounds (WAV)
};
std::vector<float> soundEffect(Sfx which);

// A short voiced "line": a sequence of syllables (consonant + vowel, as romaji such as
// "ka", "ri", "n") spoken by a formant voice. speaker 0 is high, 1 is low.
std::vector<float> voiceLine(int speaker, const std::string& syllables, bool question);

} // namespace demo
