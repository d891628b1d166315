// The runner plays a short scene through the game's own start-up and frame loop; the back
// buffer at chosen frames of a cross-fade, a scroll, a slide-in, a turn and a cut-in is
// compared with reference pictures that were looked at (references/, see ReferencePicture.h
// for updating them). SORAFUNE_SCENE_TRACE=1 prints every frame's effect.
#include "SceneFixture.h"
#include "../ReferencePicture.h"

#include "platform/headless/HeadlessBackend.h"
#include "tools/runner/Runner.h"

#include <map>
#include <set>
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

const char* const kScene = "@bg_load sky.png\n@bg_change 0\n"
                           "@bg_load hill.png\n@bg_change 800\n"
                           "@chr_load 0,girl.png\n@chr_swap_screen 0\n@chr_setpos 0,2\n@chr_slide_in 0,left,2,480\n"
                           "@bg_load sky.png\n@bg_scroll left,640\n"
                           "@chr_load 0,boy.png\n@chr_turn 0,1000\n"
                           "@cutin_load 0,cut.png\n@cutin_slide_in 0,down,480\n"
                           "@exit\n";

struct Player : RunnerHooks {
    void afterFrame(int frame, CDirectX& dx, platform::HeadlessBackend& b) override
    {
        std::string what = dx.scene.crossFade.active ? "fade" : dx.scene.scroll.active ? "scroll"
                           : dx.scene.slide.active   ? "slide"
                           : dx.scene.turnActive     ? "turn"
                           : dx.scene.cutinSlide.active ? "cutin" : "";
        effect[frame] = what;
        if (keep.count(frame))
            pictures[frame] = testsupport::surfaceRgb(*b.video.backBuffer());
    }
    std::set<int> keep;
    std::map<int, std::string> effect;
    std::map<int, testsupport::RgbPicture> pictures;
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
    std::string scene;
    for (const char* c = kScene; *c; ++c)
        scene += *c == '\n' ? std::string("\r\n") : std::string(1, *c);
    w.addBytes("SCP\\shots.scp", std::vector<uint8_t>(scene.begin(), scene.end()));
    std::string error;
    ASSERT_TRUE(w.write(dir.file("system.pkd"), error)) << error;

    RunnerOptions o;
    o.programDir = dir.str();
    o.frames = 260;
    o.startScript = "shots.scp";
    // Frame, the effect running then, and the picture as it was looked at:
    // 39 the hill's squares half faded into the sky's; 88 the pink figure two thirds of the
    // way in from the left; 131 the figure centred while the hill is pushed out to the left
    // and the sky comes in from the right; 176 the figure narrowed to a strip about the
    // screen's centre line with its darker shadow 8 px to the right and below; 240 the
    // blue figure standing, the yellow cut-in rising from the bottom edge.
    const std::map<int, std::string> chosen = {{39, "fade"}, {88, "slide"}, {131, "scroll"}, {176, "turn"}, {240, "cutin"}};
    Player player;
    for (const auto& [frame, effect] : chosen)
        player.keep.insert(frame);
    std::ostringstream report;
    ASSERT_EQ(runHeadless(o, report, &player), kRunnerOk) << report.str();
    if (std::getenv("SORAFUNE_SCENE_TRACE"))
        for (const auto& [frame, what] : player.effect)
            std::printf("%d %s\n", frame, what.c_str());
    for (const auto& [frame, effect] : chosen) {
        EXPECT_EQ(player.effect[frame], effect) << frame;
        EXPECT_TRUE(testsupport::matchesReference("scene/references/" + effect + ".png", player.pictures[frame])) << frame;
    }
}
