// sorafune-display-check [--frames N] [--still] [--software] [--toggle-at N]... [--shot-at N:FILE.png]...
//
// Starts the game's start-up on the real window and, in place of the title screen, draws a
// moving test picture: 475 textured tiles, a 4-bit alpha layer, a surface copy, darken and
// add quads and a turning sprite. --toggle-at asks for the window/full-screen switch at a
// frame, as Alt+Enter does; --shot-at writes the back buffer after a frame; --frames ends
// the run (as the quit confirmation would). Without --frames it runs until the window closes.
// --still keeps the picture from moving (the engine still draws every frame); --software
// starts with the software presentation, as after accepting the fallback question.
#include "app/Application.h"
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "graphics/Textures.h"
#include "platform/Text.h"
#include "platform/sdl/SdlBackend.h"
#include "graphics/CSprite.h"
#include "tools/runner/PngWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct TestPicture {
    std::vector<CTEXTURE> tiles = std::vector<CTEXTURE>(12);
    CTEXTURE_A4R4G4B4 layer;
    CSystemSurface_R8G8B8 block;
    float angle = 30;
    bool still = false;
    bool software = false;

    bool build(platform::Video* v)
    {
        std::vector<uint8_t> px(256 * 256 * 4);
        for (int t = 0; t < 12; ++t) {
            int col = t % 4, row = t / 4;
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x) {
                    int gx = col * 256 + x, gy = row * 256 + y;
                    uint8_t* p = &px[size_t(y * 256 + x) * 4];
                    bool check = ((gx / 32) + (gy / 32)) & 1;
                    p[0] = uint8_t(gy * 255 / 600);              // blue down
                    p[1] = uint8_t(check ? 90 : 40);             // green checks of 32
                    p[2] = uint8_t(gx * 255 / 800);              // red across
                    p[3] = 255;
                }
            if (!tiles[size_t(t)].Create(v, 256, 256, false) || !tiles[size_t(t)].Update(px.data()))
                return false;
            tiles[size_t(t)].AcquireHandle(v);
        }
        std::vector<uint8_t> l16(256 * 256 * 2);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                // A white ring with soft 4-bit alpha.
                double d = std::hypot(x - 127.5, y - 127.5);
                int a = std::clamp(int(15 - std::fabs(d - 90) * 1.5), 0, 15);
                uint16_t c = uint16_t(a << 12 | 0x0FFF);
                l16[size_t(y * 256 + x) * 2] = uint8_t(c);
                l16[size_t(y * 256 + x) * 2 + 1] = uint8_t(c >> 8);
            }
        if (!layer.Create(v, 256, 256, false) || !layer.Update(l16.data()))
            return false;
        layer.AcquireHandle(v);
        std::vector<uint8_t> b(200 * 120 * 4);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 200; ++x) {
                uint8_t* p = &b[size_t(y * 200 + x) * 4];
                bool stripe = (x / 20) & 1;
                p[0] = stripe ? 255 : 30;
                p[1] = uint8_t(y * 2);
                p[2] = stripe ? 30 : 255;
                p[3] = 255;
            }
        return block.Create(v, 200, 120, false) && block.UpdateTexture(b.data());
    }

    void draw(CDirectX& dx)
    {
        platform::Video& v = *dx.display.directDraw();
        CSprite s;
        for (int row = 0; row < 19; ++row)
            for (int col = 0; col < 25; ++col) {
                int t = (row / 8) * 4 + col / 8;
                s.Set(tiles[size_t(t)], float((col % 8) * 32), float((row % 8) * 32), 32, 32);
                s.Draw(v, float(col * 32), float(row * 32), 32, 32);
            }
        block.Draw(v.backBuffer(), 560, 40, 200, 120, 0, 0);
        CSprite dark;
        dark.SetColour(0);
        dark.SetAlpha(160);
        dark.SetBlend(SpriteBlend::Darken);
        dark.Draw(v, 40, 420, 720, 140);
        CSprite add;
        add.SetColour(0x3060FF);
        add.SetAlpha(200);
        add.SetBlend(SpriteBlend::Add);
        add.Draw(v, 60, 440, 200, 100);
        CSprite ring;
        ring.Set(layer, 0, 0, 256, 256);
        ring.Draw(v, 272, 172, 256, 256);
        if (!still)
            angle += float(dx.frameDelta) * 0.09f;
        CSprite turn;
        turn.Set(tiles[5], 0, 0, 256, 256);
        turn.SetCornerAlpha(3, 80);
        turn.DrawRotated(v, 340, 240, 120, 120, angle);
    }
};

bool toInt(std::string_view s, int& out)
{
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

} // namespace

int main(int argc, char** argv)
{
    int frames = 0;
    bool still = false;
    bool software = false;
    std::set<int> toggles;
    std::map<int, std::string> shots;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        std::string v = i + 1 < argc ? argv[i + 1] : "";
        int n = 0;
        if (a == "--frames" && toInt(v, frames)) {
            ++i;
        } else if (a == "--still") {
            still = true;
        } else if (a == "--software") {
            software = true;
        } else if (a == "--toggle-at" && toInt(v, n)) {
            toggles.insert(n);
            ++i;
        } else if (a == "--shot-at" && v.find(':') != std::string::npos && toInt(v.substr(0, v.find(':')), n)) {
            shots[n] = v.substr(v.find(':') + 1);
            ++i;
        } else {
            std::fprintf(stderr, "usage: sorafune-display-check [--frames N] [--still] [--software] [--toggle-at N]... "
                                 "[--shot-at N:FILE.png]...\n");
            return 64;
        }
    }

    platform::SdlBackend backend;
    CDirectX dx(backend.services);
    if (software)
        displayProcess().hardware = false; // as if the user had accepted software mode
    Application app(dx);
    if (!app.start())
        return 1;
    TestPicture picture;
    picture.still = still;
    std::printf("presentation: %s%s\n", backend.video.rendererName().c_str(),
                backend.video.vsync() ? ", vertical sync" : ", paced to the refresh rate");
    if (!picture.build(dx.display.directDraw())) {
        std::fprintf(stderr, "display-check: the test picture could not be made\n");
        return 1;
    }
    dx.registerScreen(ScreenState::Title, nullptr, [&](CDirectX& d) { picture.draw(d); });
    int frame = 0;
    while (app.step()) {
        if (!app.frameRanInLastStep())
            continue;
        ++frame;
        if (toggles.count(frame))
            dx.displayModeToggleRequested = true;
        if (auto it = shots.find(frame); it != shots.end() && dx.display.directDraw()) {
            std::string error;
            if (!writeSurfacePng(*dx.display.directDraw()->backBuffer(), it->second, error))
                std::fprintf(stderr, "display-check: %s\n", error.c_str());
        }
        if (frames > 0 && frame >= frames)
            dx.quitRequested = true;
    }
    int code = app.finish();
    for (const std::string& line : runLog().lines())
        std::fputs(platform::sjisToUtf8(line).c_str(), stdout);
    std::printf("frames: %d, presents: %llu\n", frame, (unsigned long long)dx.sys.video->presentCount());
    return code;
}
