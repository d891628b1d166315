// The runner plays a short scene through the game's own start-up and frame loop; the back
// buffer at chosen frames of a cross-fade, a scroll, a slide-in, a turn and a cut-in is
// compared with hashes taken from pictures that were looked at. SORAFUNE_SCENE_SHOTS=DIR
// writes those pictures; SORAFUNE_SCENE_TRACE=1 prints every frame's effect and hash.
#include "SceneFixture.h"

#include "platform/headless/HeadlessBackend.h"
#include "tools/runner/Runner.h"

#include <map>
#include <sstream>

namespace {

// Horizontal bands of two colours, so a moving picture shows where it is.
std::vector<uint8_t> bandsPng(uint32_t a, uint32_t b)
{
    const uint32_t w = 800, h = 600;
    std::vector<uint8_t> raw(size_t(w) * h * 3);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t c = ((x / 100) + (y / 100)) % 2 ? a : b;
            uint8_t* p = raw.data() + (size_t(y) * w + x) * 3;
            p[0] = uint8_t(c >> 16);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c);
        }
    return testpng::encode(w, h, raw);
}

// A figure: an ellipse body on a transparent ground, with a darker head.
std::vector<uint8_t> figurePng(uint32_t body, uint32_t head)
{
    const uint32_t w = 512, h = 608;
    std::vector<uint8_t> raw(size_t(w) * h * 4);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            uint8_t* p = raw.data() + (size_t(y) * w + x) * 4;
            const double dx = (double(x) - 256) / 160, dyBody = (double(y) - 420) / 200, dyHead = (double(y) - 150) / 90;
            const double hx = (double(x) - 256) / 90;
            uint32_t c = 0;
            bool in = false;
            if (hx * hx + dyHead * dyHead <= 1)
                c = head, in = true;
            else if (dx * dx + dyBody * dyBody <= 1)
                c = body, in = true;
            p[0] = uint8_t(c >> 16);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c);
            p[3] = in ? 255 : 0;
        }
    testpng::Options o;
    o.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    return testpng::encode(w, h, raw, o);
}

uint64_t pictureHash(const platform::Surface& bb)
{
    uint64_t h = 1469598103934665603ull;
    for (int y = 0; y < bb.height(); ++y) {
        const uint8_t* row = bb.data() + size_t(y) * size_t(bb.pitch());
        for (int x = 0; x < bb.width() * 4; ++x) {
            if (x % 4 == 3)
                continue; // the unused fourth byte
            h = (h ^ row[x]) * 1099511628211ull;
        }
    }
    return h;
}

const char* const kScene = "@bg_load sky.png\n@bg_change 0\n"
                           "@bg_load hill.png\n@bg_change 800\n"
                           "@chr_load 0,girl.png\n@chr_swap_screen 0\n@chr_setpos 0,2\n@chr_slide_in 0,left,2,480\n"
                           "@bg_load sky.png\n@bg_scroll left,640\n"
                           "@chr_load 0,boy.png\n@chr_turn 0,1000\n"
                           "@cutin_load 0,cut.png\n@cutin_slide_in 0,down,480\n"
                           "@exit\n";

struct Player : RunnerHooks {
    void afterStart(CDirectX& dx, platform::HeadlessBackend&) override
    {
        std::string crlf;
        for (const char* c = kScene; *c; ++c)
            crlf += *c == '\n' ? std::string("\r\n") : std::string(1, *c);
        dx.script.loadFromBytes("shots.scp", crlf);
        dx.screenState = ScreenState::Game;
        dx.gameState = GameState::Ready;
    }
    void afterFrame(int frame, CDirectX& dx, platform::HeadlessBackend& b) override
    {
        std::string what = dx.scene.crossFade.active ? "fade" : dx.scene.scroll.active ? "scroll"
                           : dx.scene.slide.active   ? "slide"
                           : dx.scene.turnActive     ? "turn"
                           : dx.scene.cutinSlide.active ? "cutin" : "";
        effect[frame] = what;
        hashes[frame] = pictureHash(*b.video.backBuffer());
    }
    std::map<int, std::string> effect;
    std::map<int, uint64_t> hashes;
};

} // namespace

TEST(SceneScreenshots, CrossFadeScrollSlideTurnAndCutinLookAsTheyDid)
{
    testsupport::TempDir dir;
    PackWriter w;
    w.addBytes("BG\\sky.png", bandsPng(0x4080FF, 0xA0D0FF));
    w.addBytes("BG\\hill.png", bandsPng(0x208020, 0x80C040));
    w.addBytes("CHR\\girl.png", figurePng(0xE04080, 0xFFD0B0));
    w.addBytes("CHR\\boy.png", figurePng(0x3050C0, 0xF0C090));
    w.addBytes("CUT\\cut.png", scenetest::solidPng(300, 120, 0xFFE040));
    std::string error;
    ASSERT_TRUE(w.write(dir.file("system.pkd"), error)) << error;

    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 260;
    // Frame, the effect running then, and the hash of the picture as it was looked at:
    // 39 the hill's squares half faded into the sky's; 88 the pink figure two thirds of the
    // way in from the left; 131 the figure centred while the hill is pushed out to the left
    // and the sky comes in from the right; 176 the figure narrowed to a strip about the
    // screen's centre line with its darker shadow 8 px to the right and below; 240 the
    // blue figure standing, the yellow cut-in rising from the bottom edge.
    struct Shot {
        std::string effect;
        uint64_t hash;
    };
    const std::map<int, Shot> chosen = {{39, {"fade", 0x675eb36565f82f83ull}},
                                        {88, {"slide", 0x373832a494df0bc6ull}},
                                        {131, {"scroll", 0x3c31166a2285ae36ull}},
                                        {176, {"turn", 0x52877e7762658c63ull}},
                                        {240, {"cutin", 0x476d90d4da47fda3ull}}};
    const char* keep = std::getenv("SORAFUNE_SCENE_SHOTS");
    if (keep)
        for (const auto& [frame, shot] : chosen)
            o.shots.emplace_back(frame, std::string(keep) + "/" + shot.effect + ".png");
    Player player;
    std::ostringstream report;
    ASSERT_EQ(runHeadless(o, report, &player), kRunnerOk) << report.str();
    if (std::getenv("SORAFUNE_SCENE_TRACE"))
        for (const auto& [frame, what] : player.effect)
            std::printf("%d %s %016llx\n", frame, what.c_str(), (unsigned long long)player.hashes[frame]);
    for (const auto& [frame, shot] : chosen) {
        EXPECT_EQ(player.effect[frame], shot.effect) << frame;
        EXPECT_EQ(player.hashes[frame], shot.hash) << frame << " " << shot.effect;
    }
}
