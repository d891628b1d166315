// What showing a finished 800x600 frame costs through the SDL presentations, against a
// plain copy of the frame. Needs a display (run it under xvfb-run); without one it says so.
#include "platform/sdl/SdlVideo.h"
#include "platform/sdl/SdlWindow.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

void BM_MemcpyFrame(benchmark::State& state)
{
    std::vector<uint8_t> a(800 * 600 * 4, 1), b(800 * 600 * 4);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size());
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFrame);

void presentLoop(benchmark::State& state, bool accelerated, bool fullscreen, bool changing = true)
{
    platform::SdlWindow window;
    if (!window.create("present", 0, 0, 800, 600, false)) {
        state.SkipWithError("no window (run under xvfb-run)");
        return;
    }
    window.show(platform::ShowCommand::Show);
    platform::SdlVideo video(window);
    if (video.open(window, fullscreen, accelerated) != platform::VideoOpenResult::Ok) {
        state.SkipWithError("presentation not available");
        return;
    }
    video.setPacing(false);
    state.counters["vsync"] = video.vsync() ? 1 : 0;
    platform::WindowEvent ev;
    uint32_t n = 0;
    for (auto _ : state) {
        while (window.pollMessage(ev)) {
        }
        if (changing) // a new picture every time, so every present goes out in full
            std::memcpy(video.backBuffer()->data(), &++n, 4);
        video.present();
    }
    state.counters["unchanged"] = double(video.unchangedFrames());
    video.close();
}

void BM_PresentSdlSoftware(benchmark::State& state)
{
    presentLoop(state, false, false);
}
BENCHMARK(BM_PresentSdlSoftware)->UseRealTime();

void BM_PresentSdlSoftwareFullScreen(benchmark::State& state)
{
    presentLoop(state, false, true);
}
BENCHMARK(BM_PresentSdlSoftwareFullScreen)->UseRealTime();

void BM_PresentSdlSoftwareStill(benchmark::State& state)
{
    presentLoop(state, false, false, false);
}
BENCHMARK(BM_PresentSdlSoftwareStill)->UseRealTime();

void BM_PresentSdlAccelerated(benchmark::State& state)
{
    presentLoop(state, true, false);
}
BENCHMARK(BM_PresentSdlAccelerated)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
