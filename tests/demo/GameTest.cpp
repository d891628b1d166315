// The generated demo game as a whole: deterministic, complete, readable, and its scripts
// name only files that exist.
#include "../TestSupport.h"
#include "platform/Fonts.h"
#include "platform/Text.h"
#include "sound/WavReader.h"
#include "tools/demo/FontLabels.h"
#include "tools/demo/Generator.h"
#include "tools/demo/Pictures.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

using namespace demo;
namespace fs = std::filesystem;

long decodeOggFrames(const Bytes& bytes, int& channels, long& rate);   // PiecesTest.cpp

namespace {

GeneratedGame generate()
{
    static platform::Fonts fonts;
    GeneratorOptions options;
    options.sourceDir = std::string(SORAFUNE_SOURCE_DIR) + "/demo";
    options.label = fontLabelPainter(fonts);
    return generateGame(options);
}

std::map<std::string, const GameFile*> byName(const GeneratedGame& game)
{
    std::map<std::string, const GameFile*> m;
    for (const GameFile& f : game.files)
        m[f.name] = &f;
    return m;
}

struct PngForm {
    bool ok = false;
    png_uint_32 w = 0, h = 0;
    int colourType = -1, bitDepth = 0;
};

struct Reader {
    const Bytes* b;
    size_t pos;
};

PngForm pngForm(const Bytes& bytes)
{
    PngForm f;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Reader r{&bytes, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        f.ok = false;
        return f;
    }
    png_set_read_fn(png, &r, [](png_structp p, png_bytep out, png_size_t n) {
        auto* rr = static_cast<Reader*>(png_get_io_ptr(p));
        if (rr->pos + n > rr->b->size())
            png_error(p, "truncated");
        std::memcpy(out, rr->b->data() + rr->pos, n);
        rr->pos += n;
    });
    png_read_info(png, info);
    f.w = png_get_image_width(png, info);
    f.h = png_get_image_height(png, info);
    f.colourType = png_get_color_type(png, info);
    f.bitDepth = png_get_bit_depth(png, info);
    std::vector<uint8_t> rows(png_get_rowbytes(png, info) * f.h);
    std::vector<png_bytep> ptrs(f.h);
    for (png_uint_32 y = 0; y < f.h; ++y)
        ptrs[y] = rows.data() + png_get_rowbytes(png, info) * y;
    png_read_image(png, ptrs.data());   // decodes every row, so a corrupt stream fails here
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    f.ok = true;
    return f;
}

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

} // namespace

TEST(DemoGame, TwoRunsWriteByteIdenticalFolders)
{
    testsupport::TempDir a, b;
    std::string error;
    const GeneratedGame first = generate();
    ASSERT_EQ(first.error, "");
    ASSERT_TRUE(writeGame(first, a.file("game"), a.file("archive"), error)) << error;
    const GeneratedGame second = generate();
    ASSERT_EQ(second.error, "");
    ASSERT_TRUE(writeGame(second, b.file("game"), b.file("archive"), error)) << error;

    size_t compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(a.path())) {
        const fs::path rel = fs::relative(entry.path(), a.path());
        ASSERT_TRUE(fs::exists(b.path() / rel)) << rel;
        if (entry.is_regular_file()) {
            ASSERT_EQ(testsupport::readAll(entry.path().string()), testsupport::readAll((b.path() / rel).string())) << rel;
            ++compared;
        }
    }
    EXPECT_EQ(compared, first.files.size() + 1) << "every file, and system.pkd";
    EXPECT_TRUE(fs::exists(a.path() / "game" / "system.pkd"));
    EXPECT_TRUE(fs::is_directory(a.path() / "game" / "SAVE"));
    EXPECT_TRUE(fs::is_directory(a.path() / "game" / "みろてっくベンチマーク"));
    EXPECT_TRUE(fs::exists(a.path() / "game" / "SOUND" / "SE" / "SYSTEM" / "ok.wav"));
    EXPECT_TRUE(fs::exists(a.path() / "archive" / "textbox" / "default_font.bmp"));
}

TEST(DemoGame, HoldsEveryFileInTheFormTheGameReads)
{
    const GeneratedGame game = generate();
    ASSERT_EQ(game.error, "");
    const auto files = byName(game);
    auto has = [&](const std::string& name, bool archived) {
        auto it = files.find(name);
        return it != files.end() && it->second->inArchive == archived;
    };

    for (const char* name : {"BG\\title.png", "BG\\black.png", "SYSTEM\\systex1.png", "SYSTEM\\systex2.png",
                             "SYSTEM\\systex3.png", "SYSTEM\\logotex5.png", "SYSTEM\\typetex.png",
                             "textbox\\textbox_bg1.png", "textbox\\textbox_bg2.png", "textbox\\text_table1.png",
                             "textbox\\default_font.bmp", "SCP\\startup.scp", "CLICK\\room.png"})
        EXPECT_TRUE(has(name, true)) << name;
    for (const CgRecipe& cg : cgRecipes())
        EXPECT_TRUE(has(std::string("BG\\") + cg.name + ".png", true)) << cg.name;
    for (int k = 0; k <= 18; ++k)
        EXPECT_TRUE(has("SYSTEM\\thumb\\" + std::to_string(k) + ".png", true)) << k;
    for (int k = 1; k <= 18; ++k)
        EXPECT_TRUE(has("SCP\\CG_SCP\\" + std::to_string(k) + ".scp", true)) << k;
    for (int k = 1; k <= 6; ++k)
        EXPECT_TRUE(has("SCP\\CG_SCP\\album" + std::to_string(k) + ".scp", true)) << k;
    for (int k = 1; k <= 7; ++k) {
        char name[64];
        std::snprintf(name, sizeof name, "SOUND\\BGM\\sorafune_bgm%02d.ogg", k);
        EXPECT_TRUE(has(name, false)) << name;
    }
    for (const char* name : {"SOUND\\SE\\SYSTEM\\ok.wav", "SOUND\\SE\\SYSTEM\\cancel.wav", "SOUND\\SE\\SYSTEM\\logo.wav",
                             "SOUND\\SE\\SYSTEM\\test.wav", "SOUND\\SE\\beep01.wav", "SOUND\\SE\\beep02.wav",
                             "SOUND\\SE\\MsgType.wav", "SOUND\\SE\\beep04.wav", "SOUND\\VOICE\\dabada00_009.ogg"})
        EXPECT_TRUE(has(name, false)) << name;

    size_t total = 0, scenes = 0;
    std::set<Bytes> distinctMusic;
    for (const GameFile& f : game.files) {
        total += f.bytes.size();
        const std::string& n = f.name;
        if (n.size() > 4 && n.compare(n.size() - 4, 4, ".png") == 0) {
            const PngForm form = pngForm(f.bytes);
            ASSERT_TRUE(form.ok) << n;
            if (startsWith(n, "textbox\\")) {
                // The text window's pictures go through the 16-bit grey loader.
                EXPECT_EQ(form.colourType, PNG_COLOR_TYPE_GRAY) << n;
                EXPECT_EQ(form.bitDepth, 16) << n;
                EXPECT_EQ(form.w, 256u);
                EXPECT_EQ(form.h, 256u);
                continue;
            }
            EXPECT_EQ(form.bitDepth, 8) << n;
            EXPECT_TRUE(form.colourType == PNG_COLOR_TYPE_RGB || form.colourType == PNG_COLOR_TYPE_RGBA) << n;
            if (startsWith(n, "BG\\") || startsWith(n, "TYPE\\") || startsWith(n, "CLICK\\")) {
                EXPECT_EQ(form.w, 800u) << n;
                EXPECT_EQ(form.h, 600u) << n;
                scenes += startsWith(n, "BG\\");
            } else if (startsWith(n, "CHR\\")) {
                EXPECT_EQ(form.colourType, PNG_COLOR_TYPE_RGBA) << n;
                EXPECT_EQ(form.w, 512u) << n;
                EXPECT_EQ(form.h, 608u) << n;
            } else if (startsWith(n, "SYSTEM\\thumb\\")) {
                EXPECT_EQ(form.w, 128u) << n;
                EXPECT_EQ(form.h, 96u) << n;
            } else if (startsWith(n, "SYSTEM\\")) {
                EXPECT_EQ(form.colourType, PNG_COLOR_TYPE_RGBA) << n;
                EXPECT_EQ(form.w, 256u) << n;
                EXPECT_EQ(form.h, 256u) << n;
            }
        } else if (n.size() > 4 && n.compare(n.size() - 4, 4, ".ogg") == 0) {
            int channels = 0;
            long rate = 0;
            const long frames = decodeOggFrames(f.bytes, channels, rate);
            EXPECT_GT(frames, rate / 20) << n;
            EXPECT_GE(channels, 1) << n;
            if (startsWith(n, "SOUND\\BGM\\"))
                distinctMusic.insert(f.bytes);
        } else if (n.size() > 4 && n.compare(n.size() - 4, 4, ".wav") == 0) {
            ASSERT_GE(f.bytes.size(), 44u) << n;
            EXPECT_EQ(std::string(f.bytes.begin(), f.bytes.begin() + 4), "RIFF") << n;
            EXPECT_EQ(f.bytes[20] | f.bytes[21] << 8, 1) << n << ": PCM";
            EXPECT_EQ(f.bytes[34] | f.bytes[35] << 8, 16) << n << ": 16-bit";
            // And the game's own WAV reader takes it.
            WaveFormat format;
            std::vector<uint8_t> pcm;
            std::string why;
            ASSERT_TRUE(parseWav(f.bytes.data(), f.bytes.size(), format, pcm, why)) << n << ": " << why;
            EXPECT_EQ(format.formatTag, 1) << n;
            EXPECT_EQ(format.bitsPerSample, 16) << n;
            EXPECT_EQ(pcm.size(), f.bytes.size() - 44) << n;
        }
    }
    EXPECT_GE(scenes, 6u + 2u + 18u);
    EXPECT_EQ(distinctMusic.size(), 7u);
    EXPECT_LT(total, 20u * 1000u * 1000u) << "the whole game folder stays under 20 MB";
}

TEST(DemoGame, ScriptsNameOnlyFilesThatExistAndFitTheWindow)
{
    const GeneratedGame game = generate();
    ASSERT_EQ(game.error, "");
    const auto files = byName(game);
    std::set<std::string> cgNames;
    for (const CgRecipe& cg : cgRecipes())
        cgNames.insert(cg.name);
    auto exists = [&](const std::string& n) { return files.count(n) > 0; };

    int scripts = 0, messages = 0;
    for (const GameFile& f : game.files) {
        const bool typing = startsWith(f.name, "TYPE\\");
        if (!f.inArchive || !(startsWith(f.name, "SCP\\") || typing) || f.name.find(".png") != std::string::npos)
            continue;
        ++scripts;
        const std::string sjis(f.bytes.begin(), f.bytes.end());
        ASSERT_GE(sjis.size(), 2u);
        EXPECT_EQ(sjis.substr(sjis.size() - 2), "\r\n") << f.name;
        // Tokens the way the game cuts them: blanks separate, // starts a comment.
        std::vector<std::string> tokens;
        std::istringstream lines(sjis);
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const size_t comment = line.find("//");
            if (comment != std::string::npos)
                line.erase(comment);
            std::istringstream words(line);
            std::string w;
            while (words >> w)
                tokens.push_back(w);
        }
        auto field = [](const std::string& t, size_t i) {
            std::vector<std::string> parts;
            std::stringstream ss(t);
            std::string p;
            while (std::getline(ss, p, ','))
                parts.push_back(p);
            return i < parts.size() ? parts[i] : std::string();
        };
        const std::string where = f.name;
        for (size_t i = 0; i < tokens.size(); ++i) {
            const std::string& t = tokens[i];
            const std::string next = i + 1 < tokens.size() ? tokens[i + 1] : "";
            if (t == "@bg_load")
                EXPECT_TRUE(exists((typing ? "TYPE\\" : "BG\\") + next)) << where << ": " << next;
            else if (t == "@chr_load")
                EXPECT_TRUE(exists("CHR\\" + field(next, 1))) << where << ": " << next;
            else if (t == "@anime_load")
                EXPECT_TRUE(exists("CHR\\" + field(next, 1))) << where << ": " << next;
            else if (t == "@cutin_load")
                EXPECT_TRUE(exists("CUT\\" + field(next, 1))) << where << ": " << next;
            else if (t == "@se_load")
                EXPECT_TRUE(exists("SOUND\\SE\\" + field(next, 1))) << where << ": " << next;
            else if (t == "@bgm_load")
                EXPECT_TRUE(exists("SOUND\\BGM\\" + next)) << where << ": " << next;
            else if (t == "@load")
                EXPECT_TRUE(exists("SCP\\" + next)) << where << ": " << next;
            else if (t == "#bitmap")
                EXPECT_TRUE(exists("CLICK\\" + next)) << where << ": " << next;
            else if (t == "#if")
                EXPECT_TRUE(cgNames.count(next)) << where << ": " << next;
            else if (t == "@type_start") {
                EXPECT_TRUE(exists("TYPE\\" + next)) << where;
                EXPECT_TRUE(exists("SCP\\" + next + "_clear")) << where;
                EXPECT_TRUE(exists("SCP\\" + next + "_gameover")) << where;
            } else if (t == "@select") {
                for (size_t j = i + 1; j < tokens.size() && tokens[j] != "}"; ++j)
                    if (tokens[j].find(',') != std::string::npos) {
                        EXPECT_TRUE(exists("SCP\\" + tokens[j].substr(tokens[j].find(',') + 1))) << where << ": " << tokens[j];
                    }
            } else if (startsWith(t, "@text,")) {
                ++messages;
                const int number = std::atoi(field(t, 1).c_str());
                EXPECT_TRUE(number >= 0 && number <= 2) << where << ": " << t;
                for (size_t v = 2; !field(t, v).empty(); ++v)
                    EXPECT_TRUE(exists("SOUND\\VOICE\\" + field(t, v) + ".ogg")) << where << ": " << t;
                ASSERT_LT(i + 1, tokens.size());
                EXPECT_EQ(tokens[i + 1], "{") << where << ": " << t;
                int count = 0;
                size_t j = i + 2;
                for (; j < tokens.size() && tokens[j] != "}" && tokens[j] != "},nowait"; ++j, ++count)
                    EXPECT_LE(platform::countSjisChars(tokens[j]), 30u) << where << ": " << platform::sjisToUtf8(tokens[j]);
                EXPECT_LT(j, tokens.size()) << where << ": unterminated text";
                EXPECT_GE(count, 1) << where;
                EXPECT_LE(count, 3) << where << ": " << t;
                i = j;
            }
        }
    }
    EXPECT_GE(scripts, 10);
    EXPECT_GE(messages, 20);
}
