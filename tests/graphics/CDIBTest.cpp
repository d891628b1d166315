#include "graphics/CDIB.h"
#include "platform/DebugOutput.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

void fillRandom(CDIB& dib, unsigned seed)
{
    std::mt19937 rng(seed);
    for (size_t i = 0; i < dib.pixelSize(); ++i)
        dib.pixels()[i] = uint8_t(rng());
}

// Collects the debugger output while alive.
struct DebugCapture {
    DebugCapture()
    {
        platform::setDebugOutputSink([this](std::string_view t) { lines.emplace_back(t); });
    }
    ~DebugCapture() { platform::setDebugOutputSink(nullptr); }
    std::vector<std::string> lines;
};

} // namespace

TEST(CDIB, CreateCanvasZeroesAndDescribesItself)
{
    CDIB dib;
    ASSERT_TRUE(dib.CreateCanvas(5, 3));
    EXPECT_EQ(dib.pixelSize(), 60u);
    EXPECT_EQ(dib.bitsPerPixel(), 32);
    for (size_t i = 0; i < dib.pixelSize(); ++i)
        ASSERT_EQ(dib.pixels()[i], 0);
    const auto& info = dib.bitmapInfo();
    const uint8_t expect[16] = {40, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0, 1, 0, 32, 0};
    EXPECT_EQ(0, std::memcmp(info.data(), expect, 16));
    for (size_t i = 16; i < info.size(); ++i)
        EXPECT_EQ(info[i], 0) << i;

    // Re-creating gives a fresh, zeroed canvas of the new size.
    fillRandom(dib, 1);
    ASSERT_TRUE(dib.CreateCanvas(2, 2));
    EXPECT_EQ(dib.pixelSize(), 16u);
    EXPECT_EQ(dib.pixels()[0], 0);

    DebugCapture dbg;
    EXPECT_FALSE(dib.CreateCanvas(0, 10));
    EXPECT_FALSE(dib.CreateCanvas(10, -1));
    EXPECT_FALSE(dib.CreateCanvas(100000, 100000));
    EXPECT_TRUE(dib.empty());
    EXPECT_EQ(dbg.lines.size(), 3u);
    dib.DestroyCanvas(); // nothing to destroy: no effect
    dib.FlipVertical();
}

TEST(CDIB, ThumbnailFileLayout)
{
    testsupport::TempDir dir;
    CDIB dib;
    ASSERT_TRUE(dib.CreateCanvas(4, 3));
    fillRandom(dib, 7);
    ASSERT_TRUE(dib.SaveBMP(dir.file("t.bmp")));
    std::vector<uint8_t> f = testsupport::readAll(dir.file("t.bmp"));
    ASSERT_EQ(f.size(), 57u + 48u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(le32(f, 2), 48u + 54u); // 54, not 57
    EXPECT_EQ(le32(f, 6), 0u);
    EXPECT_EQ(le32(f, 10), 57u);
    EXPECT_EQ(le32(f, 14), 40u);
    EXPECT_EQ(le32(f, 18), 4u);
    EXPECT_EQ(le32(f, 22), 3u);
    EXPECT_EQ(f[26] | f[27] << 8, 1);
    EXPECT_EQ(f[28] | f[29] << 8, 32);
    for (size_t i = 30; i < 57; ++i)
        EXPECT_EQ(f[i], 0) << "byte " << i;
    EXPECT_EQ(0, std::memcmp(f.data() + 57, dib.pixels(), 48)) << "pixels as the canvas holds them, bottom row first";
}

TEST(CDIB, SavedFilesLoadBackIdentically)
{
    testsupport::TempDir dir;
    for (auto [w, h] : {std::pair{1, 1}, std::pair{160, 120}, std::pair{7, 13}}) {
        CDIB a, b;
        ASSERT_TRUE(a.CreateCanvas(w, h));
        fillRandom(a, unsigned(w * h));
        ASSERT_TRUE(a.SaveBMP(dir.file("r.bmp")));
        ASSERT_TRUE(b.LoadBMP(dir.file("r.bmp")));
        ASSERT_EQ(b.width(), w);
        ASSERT_EQ(b.height(), h);
        ASSERT_EQ(b.pixelSize(), a.pixelSize());
        EXPECT_EQ(0, std::memcmp(a.pixels(), b.pixels(), a.pixelSize()));
        EXPECT_EQ(a.bitmapInfo(), b.bitmapInfo());
    }
}

TEST(CDIB, GamePathsResolveInTheProgramFolder)
{
    testsupport::TempDir dir;
    const std::string old = platform::files::programDir();
    platform::files::setProgramDir(dir.str());
    platform::files::makeDirectories(dir.file("SAVE"));
    CDIB a, b;
    ASSERT_TRUE(a.CreateCanvas(8, 8));
    fillRandom(a, 3);
    EXPECT_TRUE(a.SaveBMP("SAVE\\1.bmp"));
    EXPECT_TRUE(platform::files::exists(dir.file("SAVE/1.bmp")));
    EXPECT_TRUE(b.LoadBMP("save\\1.BMP"));
    platform::files::setProgramDir(old);
    EXPECT_EQ(0, std::memcmp(a.pixels(), b.pixels(), a.pixelSize()));
}

TEST(CDIB, LoadRefusesShortTruncatedAndAbsurdFilesAndKeepsTheCanvas)
{
    testsupport::TempDir dir;
    CDIB src;
    ASSERT_TRUE(src.CreateCanvas(6, 5));
    fillRandom(src, 11);
    ASSERT_TRUE(src.SaveBMP(dir.file("ok.bmp")));
    const std::vector<uint8_t> good = testsupport::readAll(dir.file("ok.bmp"));

    CDIB dib;
    ASSERT_TRUE(dib.CreateCanvas(2, 2));
    dib.pixels()[0] = 0xAB;
    auto refused = [&](const std::vector<uint8_t>& bytes) {
        testsupport::writeAll(dir.file("bad.bmp"), bytes);
        DebugCapture dbg;
        bool ok = dib.LoadBMP(dir.file("bad.bmp"));
        EXPECT_EQ(dib.width(), 2);
        EXPECT_EQ(dib.pixels()[0], 0xAB);
        EXPECT_EQ(dbg.lines.size(), 1u);
        if (!dbg.lines.empty()) {
            EXPECT_EQ(dbg.lines[0].rfind("ADV_SYSTEM: (CDIB::LoadBMP)", 0), 0u) << dbg.lines[0];
        }
        return !ok;
    };
    // Every truncation of a good file.
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.begin() + long(n)))) << "length " << n;

    auto patched = [&](size_t at, uint32_t v, int bytes = 4) {
        std::vector<uint8_t> b = good;
        for (int i = 0; i < bytes; ++i)
            b[at + size_t(i)] = uint8_t(v >> (8 * i));
        return b;
    };
    EXPECT_TRUE(refused(patched(18, 0x7FFFFFFF)));      // absurd width
    EXPECT_TRUE(refused(patched(22, 0x40000000)));      // absurd height
    EXPECT_TRUE(refused(patched(22, 0xFFFFFFFB)));      // top-down
    EXPECT_TRUE(refused(patched(18, 0)));               // no width
    EXPECT_TRUE(refused(patched(28, 24, 2)));           // 24 bits a pixel
    EXPECT_TRUE(refused(patched(30, 3)));               // bit fields
    EXPECT_TRUE(refused(patched(10, 0xFFFFFFF0)));      // pixels beyond the end
    EXPECT_TRUE(refused(patched(10, 10)));              // pixels inside the header
    EXPECT_TRUE(refused(patched(0, 'P' | 'K' << 8, 2))); // not a BMP

    DebugCapture dbg;
    EXPECT_FALSE(dib.LoadBMP(dir.file("missing.bmp")));
    EXPECT_EQ(dib.width(), 2);

    // The in-memory reader makes the same checks.
    EXPECT_FALSE(dib.LoadBMPFromMemory(good.data(), 30, "mem"));
    EXPECT_TRUE(dib.LoadBMPFromMemory(good.data(), good.size(), "mem"));
    EXPECT_EQ(0, std::memcmp(dib.pixels(), src.pixels(), src.pixelSize()));
}

TEST(CDIB, FlipVerticalSwapsRowsAndKeepsTheMiddle)
{
    CDIB dib;
    ASSERT_TRUE(dib.CreateCanvas(3, 5));
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 3; ++x)
            dib.pixelAt(x, y)[0] = uint8_t(y * 10 + x);
    dib.FlipVertical();
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 3; ++x)
            EXPECT_EQ(dib.pixelAt(x, y)[0], uint8_t((4 - y) * 10 + x));

    ASSERT_TRUE(dib.CreateCanvas(2, 4));
    for (int32_t y = 0; y < 4; ++y)
        dib.pixelAt(0, y)[1] = uint8_t(y);
    dib.FlipVertical();
    for (int32_t y = 0; y < 4; ++y)
        EXPECT_EQ(dib.pixelAt(0, y)[1], 3 - y);
}

TEST(CDIB, TextIsDrawnUprightIntoTheCanvas)
{
    platform::Fonts fonts;
    platform::FontSpec spec;
    spec.height = 24;
    spec.weight = 500;
    spec.charset = platform::kShiftJisCharset;
    spec.face = platform::utf8ToSjis("ＭＳ ゴシック");
    auto font = fonts.createFont(spec);
    ASSERT_TRUE(font);
    CDIB dib;
    ASSERT_TRUE(dib.CreateCanvas(64, 64));
    platform::TextRect r{0, 0, 64, 24};
    platform::TextStyle style;
    style.colour = platform::rgb(255, 255, 255);
    fonts.drawText(*font, dib.canvas(), platform::utf8ToSjis("一"), r, 0, style);
    int inkTop = 0, inkBottom = 0;
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x)
            (y < 24 ? inkTop : inkBottom) += dib.pixelAt(x, y)[0];
    EXPECT_GT(inkTop, 0);
    EXPECT_EQ(inkBottom, 0);
}
