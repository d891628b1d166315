#include "PngWrite.h"
#include "../TestSupport.h"

#include "platform/Clock.h"
#include "resources/Image.h"
#include "resources/PackArchive.h"
#include "tools/pkd/PackWriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <memory>

namespace {

std::vector<uint8_t> pattern(size_t n, uint32_t seed)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        v[i] = uint8_t(seed >> 16);
    }
    return v;
}

std::vector<uint8_t> png(uint32_t w, uint32_t h, const std::vector<uint8_t>& raw, int type, int depth = 8,
                         bool interlaced = false)
{
    testpng::Options o;
    o.colourType = type;
    o.bitDepth = depth;
    o.interlaced = interlaced;
    return testpng::encode(w, h, raw, o);
}

uint32_t pixelAt(const CImage& im, int x, int y)
{
    const uint8_t* p = im.row(y) + x * 4;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Pictures reach the decoders the way the game hands them over: as entries of an archive.
class ImageTest : public ::testing::Test {
protected:
    const CPackArchive& archiveOf(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries)
    {
        PackWriter w;
        for (const auto& [name, bytes] : entries)
            w.addBytes(name, bytes);
        std::string error;
        std::string path = dir.file("pics" + std::to_string(++archives_) + ".pkd");
        EXPECT_TRUE(w.write(path, error)) << error;
        archive_ = std::make_unique<CPackArchive>(&clock);
        EXPECT_TRUE(archive_->Open(path));
        return *archive_;
    }

    testsupport::TempDir dir;
    platform::HeadlessClock clock;
    std::unique_ptr<CPackArchive> archive_;
    int archives_ = 0;
};

TEST_F(ImageTest, RgbPictureDecodesToBgrWithOpaqueAlpha)
{
    std::vector<uint8_t> raw = pattern(800 * 600 * 3, 7);
    const CPackArchive& a = archiveOf({{"BG\\wide.png", png(800, 600, raw, PNG_COLOR_TYPE_RGB)}});
    CImage im;
    ASSERT_EQ(im.LoadPNG("bg\\WIDE.png", a), 0);
    ASSERT_EQ(im.width, 800);
    ASSERT_EQ(im.height, 600);
    EXPECT_EQ(im.pixelBytes, 800 * 600 * 4);
    EXPECT_EQ(im.pixels.size(), size_t(800 * 600 * 4 + 1));
    size_t wrong = 0;
    for (size_t i = 0; i < size_t(800 * 600); ++i) {
        const uint8_t* d = &im.pixels[i * 4];
        const uint8_t* s = &raw[i * 3];
        wrong += d[0] != s[2] || d[1] != s[1] || d[2] != s[0] || d[3] != 255;
    }
    EXPECT_EQ(wrong, 0u);
}

TEST_F(ImageTest, RgbaPixelIsStoredAsBgra)
{
    std::vector<uint8_t> raw = {0x10, 0x20, 0x30, 0x40, 0xFF, 0x00, 0x80, 0x01};
    const CPackArchive& a = archiveOf({{"CHR\\a.png", png(1, 2, raw, PNG_COLOR_TYPE_RGB_ALPHA)}});
    CImage im;
    ASSERT_EQ(im.LoadPNG("CHR\\a.png", a), 0);
    EXPECT_EQ(std::vector<uint8_t>(im.pixels.begin(), im.pixels.begin() + 8),
              (std::vector<uint8_t>{0x30, 0x20, 0x10, 0x40, 0x80, 0x00, 0xFF, 0x01}));
    EXPECT_EQ(pixelAt(im, 0, 0), 0x40102030u); // A8R8G8B8
}

TEST_F(ImageTest, InterlacedPictureDecodesLikeAPlainOne)
{
    // RGB rows are widened inside the picture's own rows, so an interlaced picture, whose
    // rows are final only after the last pass, must still come out whole.
    for (int colourType : {PNG_COLOR_TYPE_RGB_ALPHA, PNG_COLOR_TYPE_RGB}) {
        const int channels = colourType == PNG_COLOR_TYPE_RGB ? 3 : 4;
        std::vector<uint8_t> raw = pattern(size_t(13 * 11 * channels), 3);
        const CPackArchive& a = archiveOf({{"plain", png(13, 11, raw, colourType)},
                                           {"adam7", png(13, 11, raw, colourType, 8, true)}});
        CImage plain, interlaced;
        ASSERT_EQ(plain.LoadPNG("plain", a), 0);
        ASSERT_EQ(interlaced.LoadPNG("adam7", a), 0);
        EXPECT_EQ(plain.pixels, interlaced.pixels) << channels;
        size_t wrong = 0;
        for (size_t i = 0; i < size_t(13 * 11); ++i) {
            const uint8_t* d = &interlaced.pixels[i * 4];
            const uint8_t* s = &raw[i * size_t(channels)];
            wrong += d[0] != s[2] || d[1] != s[1] || d[2] != s[0] || d[3] != (channels == 3 ? 255 : s[3]);
        }
        EXPECT_EQ(wrong, 0u) << channels;
    }
    std::vector<uint8_t> grey = pattern(9 * 7 * 2, 5);
    const CPackArchive& a = archiveOf({{"plain16", png(9, 7, grey, PNG_COLOR_TYPE_GRAY, 16)},
                                       {"adam7-16", png(9, 7, grey, PNG_COLOR_TYPE_GRAY, 16, true)}});
    CImage16 plain, interlaced;
    ASSERT_EQ(plain.LoadPNG16("plain16", a), 0);
    ASSERT_EQ(interlaced.LoadPNG16("adam7-16", a), 0);
    EXPECT_EQ(plain.pixels, interlaced.pixels);
    EXPECT_EQ(std::vector<uint8_t>(interlaced.pixels.begin(), interlaced.pixels.end() - 1), grey);
}

TEST_F(ImageTest, UnsupportedKindsAreRefusedByEachDecoder)
{
    const CPackArchive& a = archiveOf({
        {"palette", png(4, 4, pattern(16, 1), PNG_COLOR_TYPE_PALETTE)},
        {"grey8", png(4, 4, pattern(16, 1), PNG_COLOR_TYPE_GRAY)},
        {"greyalpha", png(4, 4, pattern(32, 1), PNG_COLOR_TYPE_GRAY_ALPHA)},
        {"rgb16", png(4, 4, pattern(96, 1), PNG_COLOR_TYPE_RGB, 16)},
        {"rgba16", png(4, 4, pattern(128, 1), PNG_COLOR_TYPE_RGB_ALPHA, 16)},
        {"grey16", png(4, 4, pattern(32, 1), PNG_COLOR_TYPE_GRAY, 16)},
        {"rgb", png(4, 4, pattern(48, 1), PNG_COLOR_TYPE_RGB)},
    });
    for (const char* name : {"palette", "grey8", "greyalpha", "rgb16", "rgba16", "grey16"}) {
        CImage im;
        EXPECT_EQ(im.LoadPNG(name, a), -1) << name;
    }
    for (const char* name : {"palette", "grey8", "greyalpha", "rgb16", "rgba16", "rgb"}) {
        CImage16 im;
        EXPECT_EQ(im.LoadPNG16(name, a), -1) << name;
    }
}

TEST_F(ImageTest, SixteenBitGreySamplesBecomeTexelsHighByteFirst)
{
    // Samples 0x1234 and 0xF00D as the PNG stores them (big-endian).
    std::vector<uint8_t> raw = {0x12, 0x34, 0xF0, 0x0D};
    const CPackArchive& a = archiveOf({{"textbox\\tbl.png", png(2, 1, raw, PNG_COLOR_TYPE_GRAY, 16)}});
    CImage16 im;
    ASSERT_EQ(im.LoadPNG16("TEXTBOX\\tbl.png", a), 0);
    EXPECT_EQ(im.width, 2);
    EXPECT_EQ(im.height, 1);
    EXPECT_EQ(im.pixels[0], 0x12);
    EXPECT_EQ(im.pixels[1], 0x34);
    EXPECT_EQ(im.texel(0, 0), 0x3412);
    EXPECT_EQ(im.texel(1, 0), 0x0DF0);
}

TEST_F(ImageTest, MissingEntryLeavesThePictureAsItWas)
{
    const CPackArchive& a = archiveOf({{"x", png(1, 1, {1, 2, 3}, PNG_COLOR_TYPE_RGB)}});
    CImage im;
    ASSERT_EQ(im.Create(2, 2), 1);
    im.Fill(0x11223344);
    EXPECT_EQ(im.LoadPNG("BG\\none.png", a), -1);
    EXPECT_EQ(im.width, 2);
    EXPECT_EQ(pixelAt(im, 1, 1), 0x11223344u);
    CImage16 im16;
    EXPECT_EQ(im16.LoadPNG16("none", a), -1);
}

TEST_F(ImageTest, CutOrDamagedPicturesFailCleanly)
{
    std::vector<uint8_t> good = png(9, 7, pattern(9 * 7 * 4, 5), PNG_COLOR_TYPE_RGB_ALPHA);
    std::vector<uint8_t> good16 = png(9, 7, pattern(9 * 7 * 2, 5), PNG_COLOR_TYPE_GRAY, 16);
    // Every prefix of a valid picture, including the empty entry.
    for (size_t n = 0; n < good.size(); ++n) {
        CImage im;
        EXPECT_EQ(im.DecodePNG(good.data(), n), -1) << n;
        EXPECT_EQ(im.width, 0) << n;
    }
    for (size_t n = 0; n < good16.size(); ++n) {
        CImage16 im;
        EXPECT_EQ(im.DecodePNG16(good16.data(), n), -1) << n;
    }
    // Every single flipped byte past the signature: a CRC or zlib failure, never a crash.
    int failures = 0;
    for (size_t i = 8; i < good.size(); ++i) {
        std::vector<uint8_t> bad = good;
        bad[i] ^= 0x5A;
        CImage im;
        int r = im.DecodePNG(bad.data(), bad.size());
        EXPECT_TRUE(r == -1 || r == 0) << i;
        failures += r == -1;
    }
    EXPECT_GT(failures, int(good.size()) / 2);

    const CPackArchive& a = archiveOf({{"cut", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)},
                                       {"empty", {}}});
    CImage im;
    ASSERT_EQ(im.Create(3, 3), 1);
    EXPECT_EQ(im.LoadPNG("cut", a), -1);
    EXPECT_EQ(im.width, 0); // freed once the header was accepted
    EXPECT_EQ(im.LoadPNG("empty", a), -1);
}

// A header that claims a huge picture over a few bytes of data.
std::vector<uint8_t> lyingHeader(uint32_t w, uint32_t h, uint8_t depth, uint8_t type)
{
    std::vector<uint8_t> p = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (uint32_t v : {w, h})
        for (int s = 24; s >= 0; s -= 8)
            p.push_back(uint8_t(v >> s));
    for (uint8_t b : {depth, type, uint8_t(0), uint8_t(0), uint8_t(0)})
        p.push_back(b);
    uLong crc = crc32(0, p.data() + 12, 17);
    for (int s = 24; s >= 0; s -= 8)
        p.push_back(uint8_t(crc >> s));
    std::vector<uint8_t> idat = {0, 0, 0, 2, 'I', 'D', 'A', 'T', 0x78, 0x9C};
    crc = crc32(0, idat.data() + 4, 6);
    for (int s = 24; s >= 0; s -= 8)
        idat.push_back(uint8_t(crc >> s));
    p.insert(p.end(), idat.begin(), idat.end());
    return p;
}

TEST_F(ImageTest, HugeClaimedSizeIsRefusedBeforeAnyPictureMemory)
{
    for (auto [w, h] : {std::pair<uint32_t, uint32_t>{30000, 30000}, {1000000, 1000000}, {65535, 1}}) {
        std::vector<uint8_t> bytes = lyingHeader(w, h, 8, PNG_COLOR_TYPE_RGB_ALPHA);
        CImage im;
        EXPECT_EQ(im.DecodePNG(bytes.data(), bytes.size()), -1);
        EXPECT_EQ(im.width, 0);
        std::vector<uint8_t> bytes16 = lyingHeader(w, h, 16, PNG_COLOR_TYPE_GRAY);
        CImage16 im16;
        EXPECT_EQ(im16.DecodePNG16(bytes16.data(), bytes16.size()), -1);
    }
}

TEST(CImageOps, CreateFillsZeroAndDescribesTheBitmap)
{
    CImage im;
    ASSERT_EQ(im.Create(3, 2), 1);
    EXPECT_EQ(im.pixels, std::vector<uint8_t>(3 * 2 * 4 + 1, 0));
    ASSERT_EQ(im.bitmapInfo.size(), 44u);
    auto le = [&](size_t at) {
        return int32_t(uint32_t(im.bitmapInfo[at]) | uint32_t(im.bitmapInfo[at + 1]) << 8 |
                       uint32_t(im.bitmapInfo[at + 2]) << 16 | uint32_t(im.bitmapInfo[at + 3]) << 24);
    };
    EXPECT_EQ(le(0), 40);
    EXPECT_EQ(le(4), 3);
    EXPECT_EQ(le(8), 2); // positive height, as the picture keeps its top row first
    EXPECT_EQ(im.bitmapInfo[12], 1);
    EXPECT_EQ(im.bitmapInfo[14], 32);
    EXPECT_EQ(le(16), 0);
    EXPECT_EQ(im.Create(-1, 5), 0);
    EXPECT_EQ(im.Create(70000, 70000), 0);
    EXPECT_TRUE(im.pixels.empty());
}

TEST(CImageOps, FillSetAlphaAndFree)
{
    CImage im;
    ASSERT_EQ(im.Create(2, 2), 1);
    im.Fill(0x80FF0010);
    EXPECT_EQ(pixelAt(im, 1, 1), 0x80FF0010u);
    EXPECT_EQ(im.pixels.back(), 0); // the spare byte stays out of it
    im.SetAlpha(300);
    EXPECT_EQ(pixelAt(im, 0, 1), 0xFFFF0010u);
    im.SetAlpha(-4);
    EXPECT_EQ(pixelAt(im, 1, 0), 0x00FF0010u);
    im.SetAlpha(0x42);
    EXPECT_EQ(pixelAt(im, 0, 0), 0x42FF0010u);
    im.Free();
    EXPECT_TRUE(im.pixels.empty());
    EXPECT_TRUE(im.bitmapInfo.empty());
    EXPECT_EQ(im.width, 0);
    im.Fill(1); // nothing to fill, nothing touched
    im.SetAlpha(1);
    im.FlipVertical();
    im.Free();
}

TEST(CImageOps, FlipVerticalSwapsRowsAndKeepsTheMiddle)
{
    CImage im;
    ASSERT_EQ(im.Create(2, 3), 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 2; ++x)
            std::memset(im.row(y) + x * 4, y * 16 + x, 4);
    im.FlipVertical();
    EXPECT_EQ(im.row(0)[0], 0x20);
    EXPECT_EQ(im.row(0)[4], 0x21);
    EXPECT_EQ(im.row(1)[0], 0x10);
    EXPECT_EQ(im.row(2)[4], 0x01);
}

TEST(CImageOps, CopyRectCopiesInsideAndIgnoresRectanglesThatDoNotFit)
{
    CImage src, dst;
    ASSERT_EQ(src.Create(4, 4), 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            std::memset(src.row(y) + x * 4, 1 + y * 4 + x, 4);
    ASSERT_EQ(dst.Create(5, 3), 1);
    dst.CopyRect(src, 3, 1, 2, 2, 1, 2);
    EXPECT_EQ(dst.row(1)[3 * 4], 1 + 2 * 4 + 1);
    EXPECT_EQ(dst.row(2)[4 * 4], 1 + 3 * 4 + 2);
    EXPECT_EQ(dst.row(0)[3 * 4], 0);
    EXPECT_EQ(dst.row(1)[2 * 4], 0);

    std::vector<uint8_t> before = dst.pixels;
    dst.CopyRect(src, 0, 1, 2, 3, 0, 0);  // y + h one past the height
    dst.CopyRect(src, 4, 0, 2, 1, 0, 0);  // x + w past the width
    dst.CopyRect(src, -1, 0, 1, 1, 0, 0); // negative position
    dst.CopyRect(src, 0, 0, 2, 2, 3, 3);  // source rectangle past the source
    dst.CopyRect(src, 0, 0, 2, 2, -1, 0);
    dst.CopyRect(src, 0, 0, -2, 1, 0, 0);
    EXPECT_EQ(dst.pixels, before);
    dst.CopyRect(src, 0, 0, 4, 3, 0, 1); // exactly fitting both
    EXPECT_EQ(dst.row(2)[3 * 4], 1 + 3 * 4 + 3);
}

TEST(CImage16Ops, CreateFillAndFree)
{
    CImage16 im;
    ASSERT_EQ(im.Create(3, 2), 1);
    EXPECT_EQ(im.pixels.size(), 3u * 2 * 2 + 1);
    EXPECT_EQ(im.pixelBytes, 12);
    im.Fill(0xF00F);
    EXPECT_EQ(im.texel(2, 1), 0xF00F);
    EXPECT_EQ(im.pixels[0], 0x0F);
    im.Free();
    EXPECT_TRUE(im.pixels.empty());
    EXPECT_EQ(im.height, 0);
    EXPECT_EQ(im.Create(3, -2), 0);
}

} // namespace
