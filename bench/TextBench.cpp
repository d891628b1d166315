// The message window's glyph cells: typing a whole page of 90 new characters into the cells
// (font cache cold and warm), against drawing that page's window once, the work every frame
// does anyway.
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessBackend.h"
#include "text/TextScreen.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const char* kPage[3] = {
    "星降る丘の鐘が鳴る夜、少女は空を見上げて小さく笑った。ねえ聞",
    "こえる？風の音にまぎれて、遠くでカラスが鳴いた。ミサキはポケ",
    "ットから古い手紙を取り出し、月明かりの下で読み返す。静かな町",
};

struct Engine {
    platform::HeadlessBackend backend;
    std::unique_ptr<CDirectX> dx;
    Engine()
    {
        dx = std::make_unique<CDirectX>(backend.services);
        backend.window.create(dx->title, 0, 0, 800, 600, false);
        dx->Create(&backend.window, true);
    }
    void setPage()
    {
        MessageWindow& w = dx->messageWindow;
        w.clearPage();
        for (int i = 0; i < 3; ++i)
            w.setLine(i, platform::utf8ToSjis(kPage[i]));
    }
};

Engine& engine()
{
    static Engine e;
    return e;
}

void BM_TypePageColdGlyphs(benchmark::State& state)
{
    Engine& e = engine();
    for (auto _ : state) {
        state.PauseTiming();
        if (e.dx->messageWindow.font)
            e.dx->messageWindow.font->clearGlyphCache();
        e.setPage();
        state.ResumeTiming();
        benchmark::DoNotOptimize(e.dx->messageWindow.advance(true));
    }
    state.counters["cells"] = double(e.dx->messageWindow.cellsUsed);
}
BENCHMARK(BM_TypePageColdGlyphs)->Unit(benchmark::kMicrosecond);

void BM_TypePageCachedGlyphs(benchmark::State& state)
{
    Engine& e = engine();
    for (auto _ : state) {
        state.PauseTiming();
        e.setPage();
        state.ResumeTiming();
        benchmark::DoNotOptimize(e.dx->messageWindow.advance(true));
    }
}
BENCHMARK(BM_TypePageCachedGlyphs)->Unit(benchmark::kMicrosecond);

// Baseline: one frame's window draw of the same full page (outline decoration, name plate).
void BM_DrawFullPageWindow(benchmark::State& state)
{
    Engine& e = engine();
    e.setPage();
    e.dx->messageWindow.advance(true);
    e.dx->messageWindow.decoration = 2;
    e.dx->messageWindow.nameWindowVisible = 1;
    for (auto _ : state) {
        e.dx->display.directDraw()->beginScene();
        drawMessageWindow(*e.dx);
        e.dx->display.directDraw()->endScene();
    }
}
BENCHMARK(BM_DrawFullPageWindow)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
