// The generator's building blocks: file writers, painter, sprite table, script conversion.
#include "graphics/InterfaceSprites.h"
#include "platform/Text.h"
#include "tools/demo/Audio.h"
#include "tools/demo/ClickMaps.h"
#include "tools/demo/Generator.h"
#include "tools/demo/Interface.h"
#include "tools/demo/Pictures.h"
#include "tools/demo/Raster.h"
#include "tools/demo/Writers.h"

#include <gtest/gtest.h>
#include <png.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <map>
#include <set>

using namespace demo;

namespace {

struct Decoded {
    bool ok = false;
    png_uint_32 w = 0, h = 0;
    int colourType = -1, bitDepth = 0;
    std::vector<uint8_t> rows;   // raw rows as stored (no transformations)
};

struct MemoryReader {
    const Bytes* data;
    size_t pos;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t n)
{
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (r->pos + n > r->data->size())
        png_error(png, "read past the end");
    std::memcpy(out, r->data->data() + r->pos, n);
    r->pos += n;
}

Decoded decodePng(const Bytes& bytes)
{
    Decoded d;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    MemoryReader reader{&bytes, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        d.ok = false;
        return d;
    }
    png_set_read_fn(png, &reader, readFromMemory);
    png_read_info(png, info);
    d.w = png_get_image_width(png, info);
    d.h = png_get_image_height(png, info);
    d.colourType = png_get_color_type(png, info);
    d.bitDepth = png_get_bit_depth(png, info);
    const size_t stride = png_get_rowbytes(png, info);
    d.rows.resize(stride * d.h);
    std::vector<png_bytep> rows(d.h);
    for (png_uint_32 y = 0; y < d.h; ++y)
        rows[y] = d.rows.data() + stride * y;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    d.ok = true;
    return d;
}

} // namespace

TEST(DemoWriters, SixteenBitTexelsComeBackInMemoryOrder)
{
    // The game copies each grey sample's two bytes in file order into the texel's memory,
    // lowest address first; on a little-endian machine that must give the texel back.
    const std::vector<uint16_t> texels = {0xF123, 0x0FFF, 0x8000, 0x00A5};
    const Decoded d = decodePng(encodePngTexels16(2, 2, texels));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.colourType, PNG_COLOR_TYPE_GRAY);
    EXPECT_EQ(d.bitDepth, 16);
    for (size_t i = 0; i < texels.size(); ++i) {
        uint16_t v;
        std::memcpy(&v, &d.rows[2 * i], 2);
        EXPECT_EQ(v, texels[i]) << i;
        // In the file itself the sample's high byte is the texel's low byte.
        const uint16_t sample = uint16_t(d.rows[2 * i] << 8 | d.rows[2 * i + 1]);
        EXPECT_EQ(sample >> 8, texels[i] & 0xFF);
    }
}

TEST(DemoWriters, RgbAndRgbaPngsKeepTheirBytes)
{
    std::vector<uint8_t> rgba = {0x10, 0x20, 0x30, 0x40, 0xFF, 0x00, 0x80, 0xFF};
    Decoded d = decodePng(encodePngRgba(2, 1, rgba));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.colourType, PNG_COLOR_TYPE_RGBA);
    EXPECT_EQ(d.bitDepth, 8);
    EXPECT_EQ(d.rows, rgba);
    std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6};
    d = decodePng(encodePngRgb(1, 2, rgb));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.colourType, PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(d.rows, rgb);
    EXPECT_TRUE(encodePngRgb(2, 2, rgb).empty()) << "a size mismatch must not encode";
}

TEST(DemoWriters, FourBitBmpHasTheSheetLayoutTheGameReads)
{
    std::vector<uint8_t> px(128 * 128, 0);
    px[0] = 15;                 // top-left
    px[1] = 7;
    px[127 * 128 + 127] = 9;    // bottom-right
    const Bytes b = encodeBmp4(128, 128, px);
    ASSERT_EQ(b.size(), 118u + 8192u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(b[28] | b[29] << 8, 4) << "bits per pixel";
    EXPECT_EQ(b[10] | b[11] << 8, 118) << "pixel offset";
    // Stored bottom-up: the picture's top row is the file's last row, left pixel high nibble.
    EXPECT_EQ(b[118 + 127 * 64], 0xF7);
    EXPECT_EQ(b[118 + 63], 0x09);
}

TEST(DemoWriters, WavIsSixteenBitPcm)
{
    const Bytes b = encodeWav({0.0f, 1.0f, -1.0f, 2.0f}, 22050);
    ASSERT_EQ(b.size(), 44u + 8u);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "fmt ");
    EXPECT_EQ(b[20] | b[21] << 8, 1) << "PCM";
    EXPECT_EQ(b[34] | b[35] << 8, 16) << "bits";
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    EXPECT_EQ(int16_t(b[46] | b[47] << 8), 32767);
    EXPECT_EQ(int16_t(b[48] | b[49] << 8), -32767);
    EXPECT_EQ(int16_t(b[50] | b[51] << 8), 32767) << "samples beyond full scale are clipped";
}

namespace {

struct OggMemory {
    const Bytes* data;
    size_t pos = 0;
};

size_t oggRead(void* ptr, size_t size, size_t n, void* src)
{
    auto* m = static_cast<OggMemory*>(src);
    const size_t want = size * n;
    const size_t got = std::min(want, m->data->size() - m->pos);
    std::memcpy(ptr, m->data->data() + m->pos, got);
    m->pos += got;
    return size ? got / size : 0;
}

} // namespace

// Decodes a whole Ogg Vorbis stream from memory; returns the sample frames (or -1).
long decodeOggFrames(const Bytes& bytes, int& channels, long& rate)
{
    OggMemory mem{&bytes};
    OggVorbis_File vf;
    ov_callbacks cb{oggRead, nullptr, nullptr, nullptr};
    if (ov_open_callbacks(&mem, &vf, nullptr, 0, cb) != 0)
        return -1;
    vorbis_info* vi = ov_info(&vf, -1);
    channels = vi->channels;
    rate = vi->rate;
    char buf[4096];
    long total = 0;
    int section = 0;
    for (;;) {
        const long n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section);
        if (n < 0) {
            ov_clear(&vf);
            return -1;
        }
        if (n == 0)
            break;
        total += n;
    }
    ov_clear(&vf);
    return total / (2 * channels);
}

TEST(DemoWriters, OggRoundTripsThroughTheDecoder)
{
    std::vector<float> tone(22050);
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = 0.5f * std::sin(float(i) * 0.1f);
    const Bytes a = encodeOgg(tone, 1, 22050, 0.1f, 1234);
    const Bytes b = encodeOgg(tone, 1, 22050, 0.1f, 1234);
    EXPECT_EQ(a, b) << "same input and serial must give the same bytes";
    int ch = 0;
    long rate = 0;
    EXPECT_EQ(decodeOggFrames(a, ch, rate), 22050);
    EXPECT_EQ(ch, 1);
    EXPECT_EQ(rate, 22050);
    // The serial number is in every page header (bytes 14-17 of the first page).
    EXPECT_EQ(a[14] | a[15] << 8 | a[16] << 16 | a[17] << 24, 1234);
}

TEST(DemoRaster, EdgesGetPartialCoverageAndFeatherSoftensThem)
{
    Image img(40, 40);
    img.circle(20, 20, 10, Paint::solid(hex(0xFFFFFF)));
    EXPECT_FLOAT_EQ(img.get(20, 20).a, 1.0f);
    EXPECT_FLOAT_EQ(img.get(0, 0).a, 0.0f);
    // A pixel centred on the rim is half covered.
    Image edge(40, 40);
    edge.rect(10, 10, 10.5f, 10, Paint::solid(hex(0xFFFFFF)));
    EXPECT_NEAR(edge.get(20, 15).a, 0.5f, 0.01f);
    Image soft(40, 40);
    soft.circle(20, 20, 10, Paint::solid(hex(0xFFFFFF)), 6.0f);
    const float a = soft.get(29, 20).a;   // 1.5 px inside the rim
    EXPECT_GT(a, 0.5f);
    EXPECT_LT(a, 1.0f);
}

TEST(DemoRaster, StarFieldsDependOnlyOnTheirSeed)
{
    Image a(64, 64, hex(0x000000)), b(64, 64, hex(0x000000)), c(64, 64, hex(0x000000));
    a.stars(7, 50, 0, 64);
    b.stars(7, 50, 0, 64);
    c.stars(8, 50, 0, 64);
    EXPECT_EQ(a.rgb8(), b.rgb8());
    EXPECT_NE(a.rgb8(), c.rgb8());
}

TEST(DemoSpriteTable, RectanglesFitTheirAtlasAndNeverOverlap)
{
    for (size_t i = 0; i < kInterfaceSprites.size(); ++i) {
        const InterfaceSprite& s = kInterfaceSprites[i];
        EXPECT_GE(s.x, 0) << s.what;
        EXPECT_GE(s.y, 0) << s.what;
        EXPECT_GT(s.w, 0) << s.what;
        EXPECT_GT(s.h, 0) << s.what;
        EXPECT_LE(s.x + s.w, 256) << s.what;
        EXPECT_LE(s.y + s.h, 256) << s.what;
        for (size_t j = i + 1; j < kInterfaceSprites.size(); ++j) {
            const InterfaceSprite& t = kInterfaceSprites[j];
            if (s.atlas != t.atlas)
                continue;
            const bool apart = s.x + s.w <= t.x || t.x + t.w <= s.x || s.y + s.h <= t.y || t.y + t.h <= s.y;
            EXPECT_TRUE(apart) << s.what << " overlaps " << t.what;
        }
    }
    // The title strips are the eight 256 x 32 rows of the logo texture.
    for (int k = 0; k < 8; ++k) {
        const InterfaceSprite& s = interfaceSprite(SpriteId(int(SpriteId::TitleNewGame) + k));
        EXPECT_EQ(s.atlas, SpriteAtlas::Logotex5);
        EXPECT_EQ(s.y, 32 * k);
        EXPECT_EQ(s.w, 256);
        EXPECT_EQ(s.h, 32);
    }
    // Window tiles: 64 in the first picture, the rest in the second, clear of the name plate.
    std::set<std::pair<int, int>> second;
    for (int k = 0; k < kWindowTileCount; ++k) {
        const WindowTileCell c = windowTileCell(k);
        EXPECT_EQ(c.atlas, k < 64 ? SpriteAtlas::TextboxBg1 : SpriteAtlas::TextboxBg2);
        if (c.atlas == SpriteAtlas::TextboxBg2) {
            EXPECT_TRUE(c.y + 32 <= kNamePlate.y || c.y >= kNamePlate.y + kNamePlate.h) << k;
            second.insert({c.x, c.y});
        }
    }
    EXPECT_EQ(second.size(), 36u);
}

TEST(DemoSpriteTable, LabelsFitTheGameCaptionLimit)
{
    // Captions are drawn by the game's 16-character label at most.
    for (const InterfaceSprite& s : kInterfaceSprites)
        if (s.label) {
            EXPECT_LE(platform::countSjisChars(platform::utf8ToSjis(s.label)), 16u) << s.what;
        }
}

TEST(DemoAtlases, EverySpriteHasPaintAndNothingSpillsBetweenThem)
{
    for (SpriteAtlas atlas : {SpriteAtlas::Systex1, SpriteAtlas::Systex2, SpriteAtlas::Systex3, SpriteAtlas::Logotex5,
                              SpriteAtlas::Typetex}) {
        const Image img = drawAtlas(atlas, {});
        std::vector<bool> owned(256 * 256, false);
        for (const InterfaceSprite& s : kInterfaceSprites) {
            if (s.atlas != atlas)
                continue;
            float alpha = 0;
            for (int y = s.y; y < s.y + s.h; ++y)
                for (int x = s.x; x < s.x + s.w; ++x) {
                    alpha += img.get(x, y).a;
                    owned[size_t(y) * 256 + size_t(x)] = true;
                }
            // Labels without their caption may be empty; every picture must show something.
            if (s.style != SpriteStyle::Label) {
                EXPECT_GT(alpha, 0.0f) << s.what;
            }
        }
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                if (!owned[size_t(y) * 256 + size_t(x)]) {
                    ASSERT_EQ(img.get(x, y).a, 0.0f) << "paint outside every sprite at " << x << "," << y;
                }
    }
}

TEST(DemoFontSheet, HoldsSixteenCircledNumbersAsAlphaLevels)
{
    const std::vector<uint8_t> sheet = circledNumberSheet();
    ASSERT_EQ(sheet.size(), 128u * 128u);
    for (int k = 0; k < 16; ++k) {
        int lit = 0, full = 0;
        for (int y = 32 * (k / 4); y < 32 * (k / 4) + 32; ++y)
            for (int x = 32 * (k % 4); x < 32 * (k % 4) + 32; ++x) {
                ASSERT_LE(sheet[size_t(y) * 128 + size_t(x)], 15);
                lit += sheet[size_t(y) * 128 + size_t(x)] > 0;
                full += sheet[size_t(y) * 128 + size_t(x)] == 15;
            }
        EXPECT_GT(lit, 100) << "glyph " << k;
        EXPECT_GT(full, 40) << "glyph " << k;
    }
    // Cells differ: the digits inside the rings are really drawn.
    std::set<std::vector<uint8_t>> cells;
    for (int k = 0; k < 16; ++k) {
        std::vector<uint8_t> cell;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                cell.push_back(sheet[size_t(32 * (k / 4) + y) * 128 + size_t(32 * (k % 4) + x)]);
        cells.insert(cell);
    }
    EXPECT_EQ(cells.size(), 16u);
}

TEST(DemoScripts, ConversionGivesShiftJisWithCrLfAndAFinalLineEnd)
{
    std::string sjis, error;
    ASSERT_TRUE(convertScript("@bg_load black.png\n@text,0\n{\nこんにちは\n}", sjis, error)) << error;
    EXPECT_EQ(sjis, "@bg_load black.png\r\n@text,0\r\n{\r\n" + platform::utf8ToSjis("こんにちは") + "\r\n}\r\n");
    // Existing CR LF is kept, not doubled; a byte-order mark is dropped.
    ASSERT_TRUE(convertScript("\xEF\xBB\xBF" "a\r\nb\r\n", sjis, error));
    EXPECT_EQ(sjis, "a\r\nb\r\n");
    // A character with no Shift-JIS form is refused with its line.
    EXPECT_FALSE(convertScript("ok\n星\xF0\x9F\x8C\xA0\n", sjis, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

TEST(DemoAudio, MusicTracksAreDistinctWholeLoops)
{
    std::set<std::vector<float>> seen;
    for (int t = 0; t < kMusicTracks; ++t) {
        const std::vector<float> loop = musicLoop(t);
        EXPECT_GT(loop.size(), size_t(kAudioRate) * 5) << t;
        EXPECT_LT(loop.size(), size_t(kAudioRate) * 40) << t;
        float peak = 0;
        for (float s : loop)
            peak = std::max(peak, std::fabs(s));
        EXPECT_LE(peak, 0.71f);
        EXPECT_GT(peak, 0.5f);
        // The wrapped tails make the end flow into the start: no jump at the seam.
        EXPECT_LT(std::fabs(loop.back() - loop.front()), 0.2f) << t;
        seen.insert(loop);
    }
    EXPECT_EQ(seen.size(), size_t(kMusicTracks));
}

TEST(DemoAudio, VoicesDifferBySpeakerAndLine)
{
    const auto a = voiceLine(0, "ka ne", false);
    const auto b = voiceLine(1, "ka ne", false);
    const auto c = voiceLine(0, "ho shi", true);
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(a, voiceLine(0, "ka ne", false));
    EXPECT_GT(a.size(), size_t(kAudioRate) / 4);
}

TEST(DemoPictures, HotSpotMapUsesOnlyExactRegionColours)
{
    std::ifstream f(std::string(SORAFUNE_SOURCE_DIR) + "/demo/click/room.txt", std::ios::binary);
    std::stringstream source;
    source << f.rdbuf();
    Image map;
    std::string error;
    ASSERT_TRUE(clickMapFromSource(source.str(), map, error)) << error;
    const std::vector<uint8_t> rgb = map.rgb8();
    std::map<uint32_t, size_t> counts;
    for (size_t i = 0; i < rgb.size(); i += 3)
        ++counts[uint32_t(rgb[i]) << 16 | uint32_t(rgb[i + 1]) << 8 | rgb[i + 2]];
    // Black is no region; red, green, blue and yellow are regions A to D. A blended edge
    // pixel would be a colour of no region inside a region's outline.
    EXPECT_EQ(counts.size(), 5u);
    for (uint32_t c : {0x000000u, 0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFF00u})
        EXPECT_GT(counts[c], 1000u) << std::hex << c;
}

TEST(DemoPictures, ClickMapSourcesPaintExactRectanglesAndRefuseFaults)
{
    Image map;
    std::string error;
    ASSERT_TRUE(clickMapFromSource("# comment\n\nG 10 20 3 2 label\nA 11 20 1 1\n", map, error)) << error;
    const std::vector<uint8_t> rgb = map.rgb8();
    auto at = [&](int x, int y) {
        const size_t i = (size_t(y) * 800 + size_t(x)) * 3;
        return uint32_t(rgb[i]) << 16 | uint32_t(rgb[i + 1]) << 8 | rgb[i + 2];
    };
    EXPECT_EQ(at(10, 20), 0xFFFFFFu);
    EXPECT_EQ(at(11, 20), 0xFF0000u); // a later rectangle paints over an earlier one
    EXPECT_EQ(at(12, 21), 0xFFFFFFu);
    EXPECT_EQ(at(13, 20), 0u);
    EXPECT_EQ(at(10, 22), 0u);

    for (const char* bad : {"H 0 0 1 1\n", "AB 0 0 1 1\n", "A 0 0 1\n", "A 0 0 0 5\n", "A 790 0 11 1\n",
                            "A -1 0 1 1\n", "A 0 590 1 11\n", "a 0 0 1 1\n"}) {
        error.clear();
        EXPECT_FALSE(clickMapFromSource(bad, map, error)) << bad;
        EXPECT_NE(error.find("line 1:"), std::string::npos) << bad;
    }
}
