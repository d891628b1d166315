#include "tools/demo/Audio.h"

#include "tools/demo/Raster.h"   // Rng

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>
#include <string>

namespace demo {

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kRate = float(kAudioRate);

float midiHz(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }

// Attack-decay-sustain-release over a note of the given length (seconds); t in seconds.
float adsr(float t, float length, float a, float d, float s, float r)
{
    if (t < 0)
        return 0;
    float v;
    if (t < a)
        v = t / a;
    else if (t < a + d)
        v = 1 - (1 - s) * (t - a) / d;
    else
        v = s;
    if (t > length)
        v *= std::max(0.0f, 1 - (t - length) / r);
    return v;
}

// Adds a tone to buf starting at sample start. Timbres: 0 soft pad (odd/even harmonics,
// slow), 1 bell (inharmonic partials, exponential decay), 2 flute (sine with vibrato and
// breath), 3 pluck bass, 4 electric piano.
void addNote(std::vector<float>& buf, size_t start, float note, float length, float gain, int timbre)
{
    const float f = midiHz(note);
    float release = 0.3f;
    if (timbre == 0)
        release = 0.8f;
    else if (timbre == 1)
        release = 2.0f;
    const size_t n = size_t((length + release) * kRate);
    for (size_t i = 0; i < n && start + i < buf.size(); ++i) {
        const float t = float(i) / kRate;
        float v = 0;
        switch (timbre) {
        case 0: {
            const float env = adsr(t, length, 0.35f, 0.3f, 0.8f, release);
            for (int h = 1; h <= 5; ++h)
                v += std::sin(2 * kPi * f * float(h) * t * (1 + 0.0015f * float(h % 2 ? 1 : -1))) / float(h * h);
            v *= env * 0.6f;
            break;
        }
        case 1: {
            static const float partials[][2] = {{1.0f, 1.0f}, {2.0f, 0.45f}, {2.76f, 0.3f}, {5.4f, 0.12f}, {8.93f, 0.05f}};
            for (const auto& p : partials)
                v += p[1] * std::exp(-t * (1.5f + p[0] * 0.8f)) * std::sin(2 * kPi * f * p[0] * t);
            v *= std::min(1.0f, t * 400.0f) * (t > length ? std::max(0.0f, 1 - (t - length) / release) : 1.0f);
            break;
        }
        case 2: {
            const float vib = 1 + 0.004f * std::sin(2 * kPi * 5.2f * t) * std::min(1.0f, t * 2);
            const float env = adsr(t, length, 0.06f, 0.1f, 0.85f, release);
            v = std::sin(2 * kPi * f * vib * t) + 0.25f * std::sin(4 * kPi * f * vib * t) +
                0.08f * std::sin(6 * kPi * f * vib * t);
            v *= env * 0.8f;
            break;
        }
        case 3: {
            const float env = std::exp(-t * 5.0f) * std::min(1.0f, t * 200.0f) *
                              (t > length ? std::max(0.0f, 1 - (t - length) / release) : 1.0f);
            v = (std::sin(2 * kPi * f * t) + 0.3f * std::sin(4 * kPi * f * t) * std::exp(-t * 12.0f)) * env;
            break;
        }
        default: {
            const float env = std::exp(-t * 2.2f) * std::min(1.0f, t * 300.0f) *
                              (t > length ? std::max(0.0f, 1 - (t - length) / release) : 1.0f);
            v = (std::sin(2 * kPi * f * t + 0.6f * std::sin(2 * kPi * f * 2 * t) * std::exp(-t * 4))) * env;
            break;
        }
        }
        buf[start + i] += v * gain;
    }
}

void addNoiseHit(std::vector<float>& buf, size_t start, float length, float gain, float brightness, Rng& rng)
{
    float lp = 0, prev = 0;
    const size_t n = size_t(length * kRate);
    for (size_t i = 0; i < n && start + i < buf.size(); ++i) {
        const float t = float(i) / kRate;
        const float white = rng.range(-1, 1);
        lp += (white - lp) * brightness;
        const float hp = lp - prev;   // a touch of high-pass for a crisp hat
        prev = lp;
        buf[start + i] += (brightness > 0.5f ? hp : lp) * gain * std::exp(-t * 6.0f / length);
    }
}

void addKick(std::vector<float>& buf, size_t start, float gain)
{
    float phase = 0;
    for (size_t i = 0; i < size_t(0.25f * kRate) && start + i < buf.size(); ++i) {
        const float t = float(i) / kRate;
        phase += 2 * kPi * (50 + 90 * std::exp(-t * 30)) / kRate;
        buf[start + i] += std::sin(phase) * std::exp(-t * 14) * gain;
    }
}

// Two-pole resonator (band pass), the building block of the formant voice.
struct Resonator {
    float y1 = 0, y2 = 0;
    float step(float x, float freq, float bandwidth)
    {
        const float r = std::exp(-kPi * bandwidth / kRate);
        const float c = 2 * r * std::cos(2 * kPi * freq / kRate);
        const float y = (1 - r) * x + c * y1 - r * r * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

struct TrackRecipe {
    const char* title;
    float bpm;
    int root;                 // MIDI note of the key
    bool minor;
    int chords[4];            // scale degrees 0-6 of the four bars
    int melodyTimbre;
    int padTimbre;
    bool drums;
    float density;            // chance of a melody note on each eighth
};

const TrackRecipe kTracks[kMusicTracks] = {
    {"星降る丘", 76, 62, false, {0, 4, 5, 3}, 1, 0, false, 0.45f},     // title: bells over a slow pad
    {"いつもの朝", 112, 67, false, {0, 3, 4, 0}, 4, 0, true, 0.6f},    // everyday: light and bouncy
    {"夜空の下で", 70, 57, true, {0, 5, 2, 6}, 2, 0, false, 0.35f},    // night: flute over minor pad
    {"胸さわぎ", 128, 52, true, {0, 0, 5, 4}, 4, 3, true, 0.7f},       // tension: pulsing bass
    {"遠い約束", 64, 60, true, {5, 3, 0, 4}, 4, 0, false, 0.3f},       // sad: slow piano
    {"星祭り", 136, 65, false, {0, 4, 3, 4}, 2, 4, true, 0.75f},       // festival: quick and bright
    {"鐘の音", 84, 60, false, {3, 4, 2, 5}, 1, 0, false, 0.5f},        // ending: warm bells
};

int scaleNote(int root, bool minor, int degree)
{
    static const int major[7] = {0, 2, 4, 5, 7, 9, 11};
    static const int minorScale[7] = {0, 2, 3, 5, 7, 8, 10};
    const int octave = degree >= 0 ? degree / 7 : (degree - 6) / 7;
    const int d = degree - octave * 7;
    return root + 12 * octave + (minor ? minorScale[d] : major[d]);
}

std::vector<float> finish(std::vector<float> v, float peak)
{
    float m = 1e-6f;
    for (float s : v)
        m = std::max(m, std::fabs(s));
    for (float& s : v)
        s *= peak / m;
    return v;
}

} // namespace

const char* musicTitle(int track) { return kTracks[std::clamp(track, 0, kMusicTracks - 1)].title; }

std::vector<float> musicLoop(int track)
{
    const TrackRecipe& r = kTracks[std::clamp(track, 0, kMusicTracks - 1)];
    const float beat = 60.0f / r.bpm;
    const float bar = beat * 4;
    const int bars = 8;   // the four chords twice, the melody answering itself the second time
    const size_t loopLen = size_t(bar * float(bars) * kRate);
    std::vector<float> buf(loopLen + size_t(3 * kRate), 0.0f);
    Rng rng(0x5EED0000u + uint64_t(track) * 7919u);

    // Melody motif for four bars, eighth-note grid; the second half varies its ending.
    std::vector<int> motif(32, -100);
    int pos = 4;   // degree walk around the upper octave
    for (int i = 0; i < 32; ++i) {
        if (rng.uniform() < r.density || i % 8 == 0) {
            pos += rng.below(5) - 2;
            pos = std::clamp(pos, 1, 9);
            motif[size_t(i)] = pos;
        }
    }
    for (int b = 0; b < bars; ++b) {
        const int degree = r.chords[b % 4];
        const size_t barStart = size_t(float(b) * bar * kRate);
        // Pad chord: root, third, fifth (and the octave for warmth).
        for (int k = 0; k < 3; ++k)
            addNote(buf, barStart, float(scaleNote(r.root - 12, r.minor, degree + 2 * k)), bar * 0.95f, 0.10f,
                    r.padTimbre == 0 ? 0 : r.padTimbre);
        addNote(buf, barStart, float(scaleNote(r.root, r.minor, degree)), bar * 0.95f, 0.05f, 0);
        // Bass on beats 1 and 3 (every beat when the track has drums).
        for (int q = 0; q < 4; q += r.drums ? 1 : 2)
            addNote(buf, barStart + size_t(float(q) * beat * kRate), float(scaleNote(r.root - 24, r.minor, degree)),
                    beat * 0.8f, 0.22f, 3);
        // Melody: snap each note to a chord tone on strong beats.
        for (int e = 0; e < 8; ++e) {
            int m = motif[size_t((b % 4) * 8 + e)];
            if (m == -100)
                continue;
            if (b >= 4 && b % 4 == 3 && e >= 4)
                m = e == 4 ? 7 : -100;   // the second time round, come home to the tonic
            if (m == -100)
                continue;
            if (e % 2 == 0) {
                const int rel = ((m - degree) % 7 + 7) % 7;
                if (rel != 0 && rel != 2 && rel != 4)
                    m += (rel == 1 || rel == 3 || rel == 5) ? -1 : 1;
            }
            int len = 1;
            while (e + len < 8 && motif[size_t((b % 4) * 8 + e + len)] == -100 && len < 4)
                ++len;
            addNote(buf, barStart + size_t(float(e) * beat * 0.5f * kRate), float(scaleNote(r.root, r.minor, m)),
                    float(len) * beat * 0.5f * 0.9f, r.melodyTimbre == 1 ? 0.28f : 0.22f, r.melodyTimbre);
        }
        if (r.drums) {
            for (int q = 0; q < 4; ++q) {
                const size_t at = barStart + size_t(float(q) * beat * kRate);
                if (q % 2 == 0)
                    addKick(buf, at, 0.35f);
                addNoiseHit(buf, at + size_t(beat * 0.5f * kRate), 0.05f, 0.06f, 0.9f, rng);
                if (q % 2 == 1)
                    addNoiseHit(buf, at, 0.12f, 0.12f, 0.35f, rng);   // soft snare
            }
        }
    }
    // Wrap the tails past the loop end onto its start, then cut to the loop length.
    for (size_t i = loopLen; i < buf.size(); ++i)
        buf[i - loopLen] += buf[i];
    buf.resize(loopLen);
    return finish(std::move(buf), 0.7f);
}

std::vector<float> soundEffect(Sfx which)
{
    std::vector<float> out;
    Rng rng(0xEFF0000u + uint64_t(which));
    auto seconds = [&](float s) { out.assign(size_t(s * kRate), 0.0f); };
    switch (which) {
    case Sfx::Bell:
        seconds(4.0f);
        addNote(out, 0, 57, 0.2f, 0.6f, 1);
        addNote(out, 0, 45, 0.2f, 0.5f, 1);
        break;
    case Sfx::Knock:
        seconds(0.8f);
        for (int k = 0; k < 3; ++k) {
            addNoiseHit(out, size_t(float(k) * 0.2f * kRate), 0.06f, 0.8f, 0.15f, rng);
            addKick(out, size_t(float(k) * 0.2f * kRate), 0.3f);
        }
        break;
    case Sfx::Wind: {
        seconds(4.0f);
        float lp = 0, lp2 = 0;
        for (size_t i = 0; i < out.size(); ++i) {
            const float t = float(i) / kRate;
            const float swell = 0.55f + 0.45f * std::sin(2 * kPi * t / 4.0f - kPi / 2);
            const float cutoff = 0.02f + 0.05f * swell;
            lp += (rng.range(-1, 1) - lp) * cutoff;
            lp2 += (lp - lp2) * cutoff;
            out[i] = lp2 * swell;
        }
        break;
    }
    case Sfx::Steps:
        seconds(2.0f);
        for (int k = 0; k < 4; ++k)
            addNoiseHit(out, size_t((0.1f + float(k) * 0.45f) * kRate), 0.09f, 0.7f, 0.25f, rng);
        break;
    case Sfx::Chime:
        seconds(2.5f);
        for (int k = 0; k < 5; ++k)
            addNote(out, size_t(float(k) * 0.09f * kRate), float(84 + (k * 7) % 12 + (k / 2) * 5), 0.1f, 0.25f, 1);
        break;
    case Sfx::ShootingStar: {
        seconds(2.0f);
        float phase = 0;
        for (size_t i = 0; i < out.size(); ++i) {
            const float t = float(i) / kRate;
            phase += 2 * kPi * (2400 - 1500 * t / 2.0f) / kRate;
            out[i] = 0.3f * std::sin(phase) * std::exp(-t * 1.6f) * std::min(1.0f, t * 20);
        }
        for (int k = 0; k < 6; ++k)
            addNote(out, size_t(rng.range(0.05f, 1.2f) * kRate), float(88 + rng.below(8)), 0.05f, 0.12f, 1);
        break;
    }
    case Sfx::Ok:
        seconds(0.35f);
        addNote(out, 0, 81, 0.05f, 0.5f, 4);
        addNote(out, size_t(0.07f * kRate), 88, 0.08f, 0.5f, 4);
        break;
    case Sfx::Cancel:
        seconds(0.35f);
        addNote(out, 0, 79, 0.05f, 0.5f, 4);
        addNote(out, size_t(0.07f * kRate), 72, 0.08f, 0.5f, 4);
        break;
    case Sfx::Logo:
        seconds(2.2f);
        for (int k = 0; k < 4; ++k) {
            static const int arpeggio[4] = {0, 4, 7, 12};
            addNote(out, size_t(float(k) * 0.12f * kRate), float(72 + arpeggio[k]), 0.3f, 0.3f, 1);
        }
        break;
    case Sfx::Test:
        seconds(0.8f);
        addNote(out, 0, 76, 0.2f, 0.5f, 1);
        break;
    case Sfx::Beep01:
        seconds(0.15f);
        addNote(out, 0, 84, 0.06f, 0.5f, 2);
        break;
    case Sfx::Beep02: {
        seconds(0.2f);
        for (size_t i = 0; i < out.size(); ++i) {
            const float t = float(i) / kRate;
            out[i] = (std::fmod(t * 110.0f, 1.0f) < 0.5f ? 0.25f : -0.25f) * std::exp(-t * 12);
        }
        break;
    }
    case Sfx::MsgType:
        seconds(0.06f);
        addNoiseHit(out, 0, 0.03f, 0.5f, 0.9f, rng);
        addNote(out, 0, 96, 0.01f, 0.15f, 4);
        break;
    case Sfx::Beep04:
        seconds(0.7f);
        addNote(out, 0, 76, 0.15f, 0.4f, 2);
        addNote(out, size_t(0.18f * kRate), 69, 0.15f, 0.4f, 2);
        addNote(out, size_t(0.36f * kRate), 62, 0.2f, 0.4f, 2);
        break;
    }
    return finish(std::move(out), 0.8f);
}

std::vector<float> voiceLine(int speaker, const std::string& syllables, bool question)
{
    struct Vowel {
        float f1, f2, f3;
    };
    auto vowelOf = [](char c) -> Vowel {
        switch (c) {
        case 'a': return {800, 1200, 2600};
        case 'i': return {300, 2300, 3000};
        case 'u': return {350, 1300, 2500};
        case 'e': return {500, 1900, 2600};
        case 'o': return {450, 850, 2500};
        default: return {300, 1500, 2500};   // the moraic n: nasal murmur
        }
    };
    // Split "ka ri n" style romaji into (consonant, vowel) units: each blank-separated
    // word is a vowel alone, the moraic n, or a consonant followed by its vowel.
    std::vector<std::pair<char, char>> units;
    std::istringstream words(syllables);
    std::string word;
    while (words >> word) {
        if (word.size() == 1)
            units.emplace_back(char(0), word[0]);
        else
            units.emplace_back(word[0], word.back());
    }
    if (units.empty())
        units.emplace_back(char(0), 'a');
    const float syl = speaker == 0 ? 0.16f : 0.18f;
    const float base = speaker == 0 ? 250.0f : 130.0f;
    const float scale = speaker == 0 ? 1.15f : 0.95f;   // formant scale: smaller vocal tract, higher formants
    const size_t total = size_t((float(units.size()) * syl + 0.35f) * kRate);
    std::vector<float> out(total, 0.0f);
    Resonator r1, r2, r3, rn;
    Rng rng(0xF0F0u + uint64_t(speaker) * 31u + syllables.size());
    float phase = 0;
    for (size_t i = 0; i < total; ++i) {
        const float t = float(i) / kRate;
        const float u = t / syl;
        const size_t k = std::min(units.size() - 1, size_t(u));
        const float within = u - float(k);
        // Glide formants from one vowel to the next over the last third of a syllable.
        Vowel a = vowelOf(units[k].second);
        if (k + 1 < units.size() && within > 0.66f) {
            const Vowel b = vowelOf(units[k + 1].second);
            const float m = (within - 0.66f) / 0.34f;
            a = {a.f1 + (b.f1 - a.f1) * m, a.f2 + (b.f2 - a.f2) * m, a.f3 + (b.f3 - a.f3) * m};
        }
        // Pitch falls across the line; a question rises at its end.
        const float progress = t / (float(units.size()) * syl);
        float f0 = base * (1.15f - 0.25f * progress) * (1 + 0.02f * std::sin(2 * kPi * 5.5f * t));
        if (question && progress > 0.75f)
            f0 *= 1 + (progress - 0.75f) * 1.6f;
        phase += f0 / kRate;
        phase -= std::floor(phase);
        // Glottal pulse: a sharp fall once a period, softened.
        const float pulse = (phase < 0.6f ? std::sin(kPi * phase / 0.6f) : 0.0f) - 0.35f;
        float voiced = r1.step(pulse, a.f1 * scale, 90) * 1.0f + r2.step(pulse, a.f2 * scale, 110) * 0.6f +
                       r3.step(pulse, a.f3 * scale, 160) * 0.3f;
        // Consonant: a burst of shaped noise at the syllable's start.
        float noise = 0;
        const char c = units[k].first;
        if (c && within < 0.3f) {
            const float centre = (c == 's' || c == 'h' || c == 'f') ? 4500.0f : (c == 'k' || c == 't' ? 2500.0f : 1200.0f);
            noise = rn.step(rng.range(-1, 1), centre, 900) * (1 - within / 0.3f) * 0.9f;
            if (c == 'k' || c == 't' || c == 'p')
                voiced *= within / 0.3f;   // the stop silences voicing briefly
        }
        // Syllable envelope and the line's fade in and out.
        const float sylEnv = 0.55f + 0.45f * std::sin(kPi * std::min(1.0f, within * 1.1f));
        const float lineEnv = std::min(1.0f, t * 30) * std::clamp((float(units.size()) * syl + 0.3f - t) * 5, 0.0f, 1.0f);
        out[i] = (voiced + noise) * sylEnv * lineEnv;
    }
    return finish(std::move(out), 0.75f);
}

} // namespace demo
