// The game screen's real composition and the background load, each against its floor:
//
//   static scene: the tiled background and the standing character, composed as the game
//   screen does every frame; cross-fade: the same with a background cross-fade and a
//   character change running (blocks, 475 faded tiles, two character channels); rain and
//   petals of intensity 7 over the static scene, every element on screen;
//   baseline: one memcpy of an 800x600 32-bit frame.
//
//   "@bg_load" into each channel (archive read, PNG decode, cut and upload) against a bare
//   libpng decode of the same 800x600 entry.
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/headless/HeadlessBackend.h"
#include "scene/EffectCommands.h"
#include "scene/SceneCommands.h"
#include "tests/resources/PngWrite.h"
#include "tools/pkd/PackWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Smooth shading with grain: compresses like a painted picture.
std::vector<uint8_t> painted(uint32_t w, uint32_t h, int channels)
{
    std::vector<uint8_t> raw(size_t(w) * h * channels);
    uint32_t seed = 12345;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            int grain = int(seed >> 28) - 8;
            uint8_t* p = &raw[(size_t(y) * w + x) * channels];
            p[0] = uint8_t(std::clamp(int(x * 255 / w) + grain, 0, 255));
            p[1] = uint8_t(std::clamp(int(y * 255 / h) + grain, 0, 255));
            p[2] = uint8_t(std::clamp(int((x + y) * 128 / (w + h)) + 64 + grain, 0, 255));
            if (channels == 4) {
                const double dx = (double(x) - 256) / 220, dy = (double(y) - 330) / 280;
                p[3] = dx * dx + dy * dy <= 1 ? 255 : 0;
            }
        }
    return raw;
}

struct Game {
    fs::path dir;
    std::vector<uint8_t> bgPng;
    platform::HeadlessBackend backend;
    std::unique_ptr<CDirectX> dx;

    Game()
    {
        dir = fs::temp_directory_path() / ("sf-scene-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        bgPng = testpng::encode(800, 600, painted(800, 600, 3));
        testpng::Options rgba;
        rgba.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
        PackWriter w;
        w.addBytes("BG\\a.png", bgPng);
        w.addBytes("BG\\b.png", testpng::encode(800, 600, painted(800, 600, 3)));
        w.addBytes("CHR\\a.png", testpng::encode(512, 608, painted(512, 608, 4), rgba));
        w.addBytes("CHR\\b.png", testpng::encode(512, 608, painted(512, 608, 4), rgba));
        std::string error;
        const std::string pkd = (dir / "system.pkd").string();
        if (!w.write(pkd, error))
            throw std::runtime_error(error);
        backend.window.create("bench", 0, 0, 800, 600, false);
        dx = std::make_unique<CDirectX>(backend.services);
        dx->Create(&backend.window, true);
        dx->archive.Open(pkd);
        loadBackground(*dx, 0, "a.png");
        loadBackground(*dx, 1, "b.png");
        loadCharacter(*dx, 0, 0, "a.png");
        loadCharacter(*dx, 0, 1, "b.png");
        dx->screenState = ScreenState::Game;
        dx->frameDelta = 16;
        SceneState& sc = dx->scene;
        sc.bg.current = 0;
        sc.setTileAlpha(255);
        sc.groups[0].visible = true;
        sc.groups[0].position = 2;
    }
    ~Game() { fs::remove_all(dir); }

    void frame()
    {
        dx->beginFrameScene();
        composeGameScreen(*dx);
        dx->endFrameScene();
    }
};

Game& game()
{
    static Game g;
    return g;
}

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

void BM_StaticScene(benchmark::State& state)
{
    Game& g = game();
    for (auto _ : state) {
        g.frame();
        benchmark::DoNotOptimize(g.dx->display.directDraw()->backBuffer()->data());
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StaticScene);

void BM_CrossFadeWithCharacterChange(benchmark::State& state)
{
    Game& g = game();
    SceneState& sc = g.dx->scene;
    for (auto _ : state) {
        // Both effects start again whenever they end, so every frame runs both.
        if (!sc.crossFade.active) {
            sc.crossFade = CrossFade{true, 1000.0f, 0.255f};
            if (sc.bg.current == 1)
                sc.setTileAlpha(0);
        }
        if (!sc.change.active) {
            sc.change = CharacterChange{true, 1000.0f, 0.255f, 500.0f, 0.51f, 255.0f};
            sc.setGroupAlpha(0, 1 - sc.groups[0].current, 0);
        }
        g.frame();
        benchmark::DoNotOptimize(g.dx->display.directDraw()->backBuffer()->data());
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CrossFadeWithCharacterChange);

// The heaviest weather frames over the static scene: intensity-7 rain with all 336 streaks
// on screen at once (two layers under the character, one over it), and intensity-7 petals
// with all 448 in the picture. Compare with BM_StaticScene of the same run.
void BM_RainIntensity7(benchmark::State& state)
{
    Game& g = game();
    SceneState& sc = g.dx->scene;
    restartWeather(*g.dx, 4, 7);
    for (auto _ : state) {
        int i = 0;
        for (auto& layer : sc.effects.rain)
            for (RainDrop& d : layer) {
                d.delay = 0;
                d.y = float(300 + (i++ * 37) % 700); // lower ends spread over the picture
            }
        g.frame();
        benchmark::DoNotOptimize(g.dx->display.directDraw()->backBuffer()->data());
    }
    restartWeather(*g.dx, 4, 0);
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RainIntensity7);

void BM_PetalsIntensity7(benchmark::State& state)
{
    Game& g = game();
    SceneState& sc = g.dx->scene;
    restartWeather(*g.dx, 5, 7);
    for (auto _ : state) {
        int i = 0;
        for (Petal& p : sc.effects.petals) {
            p.delay = 0;
            p.x = float((i * 53) % 780);
            p.y = float((i * 29) % 400 + 100);
            p.age = float(i++ * 10);
        }
        g.frame();
        benchmark::DoNotOptimize(g.dx->display.directDraw()->backBuffer()->data());
    }
    restartWeather(*g.dx, 5, 0);
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PetalsIntensity7);

// The floor of a background load: libpng decoding the same bytes into one plain buffer.
void BM_BareLibpngDecode800x600(benchmark::State& state)
{
    const std::vector<uint8_t>& bytes = game().bgPng;
    std::vector<uint8_t> out;
    for (auto _ : state) {
        struct Src {
            const uint8_t* p;
        } src{bytes.data()};
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_set_read_fn(png, &src, [](png_structp p, png_bytep dst, size_t n) {
            auto* s = static_cast<Src*>(png_get_io_ptr(p));
            std::memcpy(dst, s->p, n);
            s->p += n;
        });
        png_read_info(png, info);
        png_read_update_info(png, info);
        const size_t rowBytes = png_get_rowbytes(png, info);
        const png_uint_32 h = png_get_image_height(png, info);
        out.resize(rowBytes * h);
        std::vector<png_bytep> rows(h);
        for (png_uint_32 y = 0; y < h; ++y)
            rows[y] = out.data() + y * rowBytes;
        png_read_image(png, rows.data());
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_BareLibpngDecode800x600);

// "@bg_load" away from the game screen, so the cache never answers: read, decode, cut, upload.
void BM_BgLoadTiledChannel(benchmark::State& state)
{
    Game& g = game();
    g.dx->screenState = ScreenState::Title;
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadBackground(*g.dx, 0, "a.png"));
        runLog().clear(); // three lines a load; kept short so memory stays flat
    }
    g.dx->screenState = ScreenState::Game;
}
BENCHMARK(BM_BgLoadTiledChannel);

void BM_BgLoadSurfaceChannel(benchmark::State& state)
{
    Game& g = game();
    g.dx->screenState = ScreenState::Title;
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadBackground(*g.dx, 1, "b.png"));
        runLog().clear();
    }
    g.dx->screenState = ScreenState::Game;
}
BENCHMARK(BM_BgLoadSurfaceChannel);

} // namespace
