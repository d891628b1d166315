// Sound costs: mixing the game's full load of sounds, decoding one stream, and the whole
// pipeline (decoding workers + mixer) as the game runs it. Figures are per second of audio
// at 44.1 kHz: "core_%" is the percentage of one core (Google Benchmark prints it with an "s",
// being an inverted rate), "x_realtime" how many times faster than playback (printed "/s"). The one-buffer mix is the same-run baseline the others compare with.
#include "tests/sound/SoundTestFiles.h"

#include "platform/Audio.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessAudio.h"
#include "sound/COggStream.h"

#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <array>
#include <filesystem>
#include <random>

namespace {
constexpr uint32_t kRate = 44100;
constexpr size_t kBlock = 1024;

std::shared_ptr<platform::AudioBuffer> filledBuffer(platform::Mixer& mixer, uint16_t channels, uint32_t rate,
                                                    uint32_t seconds)
{
    platform::PcmFormat f{channels, rate, 16};
    auto b = mixer.createBuffer(f, seconds * rate * f.blockAlign());
    platform::AudioBuffer::Region r;
    b->lock(0, b->size(), r);
    auto pcm = soundtest::sine(r.n1 / f.blockAlign(), channels, 8000.0, 97.0);
    std::memcpy(r.p1, pcm.data(), r.n1);
    b->unlock(r);
    b->setVolume(-600);
    b->play(true);
    return b;
}

void reportPerAudioSecond(benchmark::State& state, size_t framesPerIteration)
{
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(framesPerIteration));
    // Seconds of CPU per second of audio, as a rate Google Benchmark divides by the time.
    state.counters["core_%"] = benchmark::Counter(double(framesPerIteration) / kRate / 100.0,
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
    state.counters["x_realtime"] = benchmark::Counter(double(framesPerIteration) / kRate,
                                                      benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MixOneStream(benchmark::State& state)
{
    platform::Mixer mixer(kRate, 2);
    auto b = filledBuffer(mixer, 2, 44100, 2);
    std::vector<int16_t> out(kBlock * 2);
    for (auto _ : state) {
        mixer.mix(out.data(), kBlock);
        benchmark::DoNotOptimize(out.data());
    }
    reportPerAudioSecond(state, kBlock);
}
BENCHMARK(BM_MixOneStream);

// One music stream, eight effects, eight voices (mono 22.05 kHz, resampled) and the four
// interface sounds, all playing at once.
void BM_MixSeventeenStreamsAndFourSounds(benchmark::State& state)
{
    platform::Mixer mixer(kRate, 2);
    std::vector<std::shared_ptr<platform::AudioBuffer>> buffers;
    buffers.push_back(filledBuffer(mixer, 2, 44100, 2));
    for (int i = 0; i < 8; ++i)
        buffers.push_back(filledBuffer(mixer, 2, 44100, 2));
    for (int i = 0; i < 8; ++i)
        buffers.push_back(filledBuffer(mixer, 1, 22050, 2));
    for (int i = 0; i < 4; ++i)
        buffers.push_back(filledBuffer(mixer, 1, 44100, 1));
    std::vector<int16_t> out(kBlock * 2);
    for (auto _ : state) {
        mixer.mix(out.data(), kBlock);
        benchmark::DoNotOptimize(out.data());
    }
    reportPerAudioSecond(state, kBlock);
}
BENCHMARK(BM_MixSeventeenStreamsAndFourSounds);

struct OggFile {
    std::filesystem::path dir;
    std::string path;
    OggFile()
    {
        dir = std::filesystem::temp_directory_path() / ("sorafune-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir / "SOUND" / "BGM");
        path = (dir / "SOUND" / "BGM" / "bench.ogg").string();
        // Ten seconds of a chord, stereo 44.1 kHz, like a music track.
        auto pcm = soundtest::sine(10 * kRate, 2, 6000.0, 100.0);
        auto upper = soundtest::sine(10 * kRate, 2, 4000.0, 67.0);
        for (size_t i = 0; i < pcm.size(); ++i)
            pcm[i] = int16_t(pcm[i] + upper[i]);
        soundtest::writeOgg(path, pcm, 2, kRate, 0.5f);
    }
    ~OggFile() { std::filesystem::remove_all(dir); }
};

OggFile& benchFile()
{
    static OggFile file;
    return file;
}

void BM_DecodeOneStream(benchmark::State& state)
{
    const std::string& path = benchFile().path;
    std::vector<char> step(4096);
    size_t frames = 0;
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "rb");
        OggVorbis_File vf;
        if (!f || ov_open(f, &vf, nullptr, 0) != 0) {
            state.SkipWithError("cannot open the encoded file");
            return;
        }
        int bitstream = 0;
        long n;
        size_t bytes = 0;
        while ((n = ov_read(&vf, step.data(), int(step.size()), 0, 2, 1, &bitstream)) > 0)
            bytes += size_t(n);
        ov_clear(&vf);
        frames = bytes / 4;
    }
    reportPerAudioSecond(state, frames);
}
BENCHMARK(BM_DecodeOneStream)->Unit(benchmark::kMillisecond);

// The whole game load through the headless device: seventeen streams decoding on their
// worker threads while the mixer pulls, measured as CPU time of the whole process.
void BM_PipelineSeventeenStreams(benchmark::State& state)
{
    const std::string& path = benchFile().path;
    platform::files::setProgramDir(benchFile().dir.string());
    platform::HeadlessAudio audio;
    audio.open();
    std::array<COggStream, 17> streams;
    const std::string gamePath = platform::utf8ToSjis(path);
    for (auto& s : streams) {
        s.attach(&audio);
        s.load(gamePath);
        s.play(true);
    }
    std::vector<int16_t> out(kBlock * 2);
    for (auto _ : state)
        audio.pull(out.data(), kBlock);
    reportPerAudioSecond(state, kBlock);
    for (auto& s : streams)
        s.stop();
}
BENCHMARK(BM_PipelineSeventeenStreams)->MeasureProcessCPUTime()->MinTime(3.0);

} // namespace

