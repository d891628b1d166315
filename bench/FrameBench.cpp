// One full game frame built from sprites and blits, against a plain copy of the frame.
//
//   475 background tiles of 32x32 over 800x608 at alpha 255, twelve 256x256 surface blits,
//   six character quads (4 of 256x256 and 2 of 256x96) with alpha, 100 window tiles at
//   alpha 170, 96 glyph quads of 32x32 drawn five times (four darken copies and one
//   normal: the outline decoration), and the 800x600 black clear quad.
#include "app/CDirectX.h"
#include "graphics/Textures.h"
#include "platform/headless/HeadlessBackend.h"
#include "graphics/CSprite.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct Scene {
    platform::HeadlessBackend backend;
    std::unique_ptr<CDirectX> dx;
    std::vector<CTEXTURE> background = std::vector<CTEXTURE>(12);
    std::vector<CSystemSurface_R8G8B8> blocks = std::vector<CSystemSurface_R8G8B8>(12);
    std::vector<CTEXTURE> character = std::vector<CTEXTURE>(5);
    CTEXTURE window;
    CTEXTURE_A4R4G4B4 glyphs;
    platform::Video* v = nullptr;

    Scene()
    {
        backend.window.create("bench", 0, 0, 800, 600, false);
        dx = std::make_unique<CDirectX>(backend.services);
        dx->Create(&backend.window, true);
        v = &backend.video;
        std::vector<uint8_t> px(256 * 256 * 4);
        auto fill32 = [&](auto alphaOf) {
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x) {
                    uint8_t* p = &px[size_t(y * 256 + x) * 4];
                    p[0] = uint8_t(x);
                    p[1] = uint8_t(y);
                    p[2] = uint8_t(x ^ y);
                    p[3] = alphaOf(x, y);
                }
        };
        fill32([](int, int) { return uint8_t(255); });
        for (auto& t : background) {
            t.Create(v, 256, 256, false);
            t.Update(px.data());
            t.AcquireHandle(v);
        }
        for (auto& b : blocks) {
            b.Create(v, 256, 256, false);
            b.UpdateTexture(px.data());
        }
        // A character: transparent round the figure, a soft edge, opaque inside.
        fill32([](int x, int y) {
            double d = std::hypot(x - 128.0, y - 128.0);
            return uint8_t(d > 120 ? 0 : d > 100 ? int((120 - d) * 12.75) : 255);
        });
        for (auto& t : character) {
            t.Create(v, 256, 256, false);
            t.Update(px.data());
            t.AcquireHandle(v);
        }
        fill32([](int, int) { return uint8_t(255); });
        window.Create(v, 256, 256, false);
        window.Update(px.data());
        window.AcquireHandle(v);
        // Glyph sheet: 4-bit coverage in 32x32 cells.
        std::vector<uint8_t> g(256 * 256 * 2);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                int cx = x % 32, cy = y % 32;
                int a = (cx > 4 && cx < 28 && cy > 4 && cy < 28 && ((cx + cy) % 7) < 4) ? 15 : 0;
                uint16_t c = uint16_t(a << 12 | 0x0FFF);
                g[size_t(y * 256 + x) * 2] = uint8_t(c);
                g[size_t(y * 256 + x) * 2 + 1] = uint8_t(c >> 8);
            }
        glyphs.Create(v, 256, 256, false);
        glyphs.Update(g.data());
        glyphs.AcquireHandle(v);
    }

    void tiles()
    {
        CSprite s;
        for (int row = 0; row < 19; ++row)
            for (int col = 0; col < 25; ++col) {
                int t = (row / 8) * 4 + col / 8;
                s.Set(background[size_t(t % 12)], float((col % 8) * 32), float((row % 8) * 32), 32, 32);
                s.Draw(*v, float(col * 32), float(row * 32), 32, 32);
            }
    }
    void blits()
    {
        for (int i = 0; i < 12; ++i)
            blocks[size_t(i)].Draw(v->backBuffer(), float((i % 4) * 256), float((i / 4) * 256), 256, 256, 0, 0);
    }
    void characters()
    {
        CSprite s;
        for (int i = 0; i < 4; ++i) {
            s.Set(character[size_t(i)], 0, 0, 256, 256);
            s.Draw(*v, float(144 + (i % 2) * 256), float((i / 2) * 256), 256, 256);
        }
        for (int i = 0; i < 2; ++i) {
            s.Set(character[4], 0, float(i * 96), 256, 96);
            s.Draw(*v, float(144 + i * 256), 512, 256, 96);
        }
    }
    void windowTiles()
    {
        CSprite s;
        s.SetAlpha(170);
        for (int i = 0; i < 100; ++i) {
            s.Set(window, float((i % 8) * 32), float((i / 8 % 8) * 32), 32, 32);
            s.Draw(*v, float((i % 25) * 32), float(472 + (i / 25) * 32), 32, 32);
        }
    }
    void glyphQuads()
    {
        CSprite s;
        static const int off[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        for (int i = 0; i < 96; ++i) {
            float x = float(40 + (i % 24) * 30), y = float(480 + (i / 24) * 28);
            s.Set(glyphs, float((i % 8) * 32), float((i / 8 % 8) * 32), 32, 32);
            s.SetColour(0);
            s.SetBlend(SpriteBlend::Darken);
            for (auto& o : off)
                s.Draw(*v, x + float(o[0]), y + float(o[1]), 32, 32);
            s.SetColour(0xFFFFFF);
            s.SetBlend(SpriteBlend::Normal);
            s.Draw(*v, x, y, 32, 32);
        }
    }
    // The tiles as a scene draws them: written down, then drawn at the scene's end. Without a
    // cover first, the scene is drawn whole every time.
    void tilesInScene()
    {
        v->beginScene();
        tiles();
        v->endScene();
    }
    // The black clear quad alone, drawn at once.
    void clear()
    {
        CSprite black;
        black.SetColour(0);
        black.Draw(*v, 0, 0, 800, 600);
    }
    void frame()
    {
        dx->beginFrameScene(); // render states and the black clear quad
        tiles();
        blits();
        characters();
        windowTiles();
        glyphQuads();
        dx->endFrameScene();
    }
};

Scene& scene()
{
    static Scene s;
    return s;
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

// One part of the frame over and over. Taking the back buffer's pixels writable counts as a
// change to them, so no frame is found unchanged and skipped.
template <void (Scene::*Part)()>
void part(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state) {
        (s.*Part)();
        benchmark::DoNotOptimize(s.v->backBuffer()->data());
    }
}

// drawn: frames the device drew per iteration, 1 when none was skipped.
void BM_GameFrame(benchmark::State& state)
{
    const uint64_t before = scene().v->fullFrames() + scene().v->partialFrames();
    part<&Scene::frame>(state);
    state.counters["drawn"] =
        double(scene().v->fullFrames() + scene().v->partialFrames() - before) / double(state.iterations());
}
BENCHMARK(BM_GameFrame);

BENCHMARK(part<&Scene::clear>)->Name("BM_ClearQuad");
BENCHMARK(part<&Scene::tiles>)->Name("BM_Tiles475");
BENCHMARK(part<&Scene::tilesInScene>)->Name("BM_Tiles475InScene");
BENCHMARK(part<&Scene::blits>)->Name("BM_Blits12");
BENCHMARK(part<&Scene::characters>)->Name("BM_Characters6");
BENCHMARK(part<&Scene::windowTiles>)->Name("BM_WindowTiles100");
BENCHMARK(part<&Scene::glyphQuads>)->Name("BM_Glyphs96x5");

void BM_PresentHeadless(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state)
        s.dx->Present();
}
BENCHMARK(BM_PresentHeadless);

} // namespace

BENCHMARK_MAIN();
