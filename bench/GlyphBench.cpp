// Glyph rasterising for the message window's font (height 24, "ＭＳ ゴシック", weight 500):
// the font service cold (cache cleared each pass) and cached, against FreeType rendering the
// same glyphs from the same file at the same size with the same load flags.
#include "platform/Fonts.h"
#include "platform/Text.h"

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <set>
#include <string>
#include <vector>

namespace {

// A few lines of scenario text: hiragana, katakana, kanji and punctuation.
const char* kSample = "星降る丘の鐘が鳴る夜、少女は空を見上げて小さく笑った。"
                      "「ねえ、聞こえる？」風の音にまぎれて、遠くでカラスが鳴いた。"
                      "ミサキはポケットから古い手紙を取り出し、月明かりの下で読み返す。";

struct Sample {
    std::vector<uint32_t> codes;      // Shift-JIS character codes, each once
    std::vector<uint32_t> codePoints; // the same characters in Unicode
};

const Sample& sample()
{
    static Sample s = [] {
        Sample out;
        std::string sjis = platform::utf8ToSjis(kSample);
        std::set<uint32_t> seen;
        for (size_t i = 0; i + 1 < sjis.size(); i += 2) {
            uint32_t code = uint32_t(uint8_t(sjis[i])) << 8 | uint8_t(sjis[i + 1]);
            if (seen.insert(code).second) {
                out.codes.push_back(code);
                out.codePoints.push_back(platform::Fonts::codePointOf(code));
            }
        }
        return out;
    }();
    return s;
}

platform::FontSpec windowFont()
{
    platform::FontSpec spec;
    spec.height = 24;
    spec.weight = 500;
    spec.charset = platform::kShiftJisCharset;
    spec.face = platform::utf8ToSjis("ＭＳ ゴシック");
    return spec;
}

// What the glyph label and the message window do per character: ask the size, then fetch.
void fetchAll(platform::Font& font, std::vector<uint8_t>& buf)
{
    for (uint32_t code : sample().codes) {
        platform::GlyphMetrics gm;
        uint32_t n = font.glyphOutline(code, gm, nullptr, 0);
        if (n + 1 > buf.size())
            buf.resize(n + 1);
        font.glyphOutline(code, gm, buf.data(), uint32_t(buf.size()));
        benchmark::DoNotOptimize(buf.data());
    }
}

void BM_FreeTypeRender(benchmark::State& state)
{
    platform::Fonts fonts;
    auto font = fonts.createFont(windowFont());
    FT_Library lib;
    FT_Init_FreeType(&lib);
    FT_Face face;
    if (!font || FT_New_Face(lib, font->file().c_str(), 0, &face) != 0) {
        state.SkipWithError("no face");
        FT_Done_FreeType(lib);
        return;
    }
    FT_Set_Pixel_Sizes(face, 0, 24);
    const auto& cps = sample().codePoints;
    for (auto _ : state) {
        for (uint32_t cp : cps) {
            FT_Load_Glyph(face, FT_Get_Char_Index(face, cp), FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP);
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
            benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
        }
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(cps.size()));
    state.SetLabel("glyphs; baseline");
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
}
BENCHMARK(BM_FreeTypeRender);

void BM_GlyphServiceCold(benchmark::State& state)
{
    platform::Fonts fonts;
    auto font = fonts.createFont(windowFont());
    std::vector<uint8_t> buf(4096);
    for (auto _ : state) {
        font->clearGlyphCache();
        fetchAll(*font, buf);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(sample().codes.size()));
    state.SetLabel("glyphs; cache cleared every pass");
}
BENCHMARK(BM_GlyphServiceCold);

void BM_GlyphServiceCached(benchmark::State& state)
{
    platform::Fonts fonts;
    auto font = fonts.createFont(windowFont());
    std::vector<uint8_t> buf(4096);
    fetchAll(*font, buf);
    for (auto _ : state)
        fetchAll(*font, buf);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(sample().codes.size()));
    state.SetLabel("glyphs; cached");
}
BENCHMARK(BM_GlyphServiceCached);

// A paragraph drawn DrawTextA-style into a 32-bit canvas, glyphs cached.
void BM_DrawTextParagraph(benchmark::State& state)
{
    platform::Fonts fonts;
    auto font = fonts.createFont(windowFont());
    std::vector<uint8_t> pixels(640 * 200 * 4);
    platform::Canvas32 canvas{pixels.data(), 640, 200, 640 * 4, true};
    const std::string text = platform::utf8ToSjis(kSample);
    size_t chars = platform::countSjisChars(text);
    for (auto _ : state) {
        platform::TextRect r{0, 0, 640, 200};
        fonts.drawText(*font, canvas, text, r, platform::kDtWordBreak, platform::TextStyle{});
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(chars));
    state.SetLabel("glyphs drawn");
}
BENCHMARK(BM_DrawTextParagraph);

} // namespace
BENCHMARK_MAIN();
