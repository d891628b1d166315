#include "tools/demo/Generator.h"

#include "platform/Text.h"
#include "tools/demo/Audio.h"
#include "tools/demo/ClickMaps.h"
#include "tools/demo/AnimationPictures.h"
#include "tools/demo/Pictures.h"
#include "tools/pkd/PackWriter.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <future>
#include <fstream>
#include <map>
#include <sstream>

namespace demo {

namespace fs = std::filesystem;

namespace {

struct Voice {
    const char* name;
    int speaker;
    const char* syllables;
    bool question;
};

const Voice kVoices[] = {
    {"dabada00_009", 0, "bo i su te su to da yo", false},
    {"hikari_001", 0, "ne e ka i mi te", false},
    {"hikari_002", 0, "ho shi ga fu ru yo", false},
    {"hikari_003", 0, "ma do no so to", false},
    {"hikari_004", 0, "ya ku so ku da yo", false},
    {"kai_001", 1, "hi ka ri", false},
    {"kai_002", 1, "ho n to na no ka", true},
    {"kai_003", 1, "ki ko e ta ka", true},
};

struct Sound {
    const char* name;
    Sfx sfx;
    bool wav;
};

const Sound kSounds[] = {
    {"SOUND\\SE\\bell.ogg", Sfx::Bell, false},
    {"SOUND\\SE\\knock.ogg", Sfx::Knock, false},
    {"SOUND\\SE\\wind.ogg", Sfx::Wind, false},
    {"SOUND\\SE\\steps.ogg", Sfx::Steps, false},
    {"SOUND\\SE\\chime.ogg", Sfx::Chime, false},
    {"SOUND\\SE\\shooting_star.ogg", Sfx::ShootingStar, false},
    {"SOUND\\SE\\SYSTEM\\ok.wav", Sfx::Ok, true},
    {"SOUND\\SE\\SYSTEM\\cancel.wav", Sfx::Cancel, true},
    {"SOUND\\SE\\SYSTEM\\logo.wav", Sfx::Logo, true},
    {"SOUND\\SE\\SYSTEM\\test.wav", Sfx::Test, true},
    {"SOUND\\SE\\beep01.wav", Sfx::Beep01, true},
    {"SOUND\\SE\\beep02.wav", Sfx::Beep02, true},
    {"SOUND\\SE\\MsgType.wav", Sfx::MsgType, true},
    {"SOUND\\SE\\beep04.wav", Sfx::Beep04, true},
};

// Ogg serial numbers: fixed per file so the output never changes between runs.
int serialFor(const std::string& name)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : name)
        h = (h ^ c) * 16777619u;
    return int(h & 0x7FFFFFFF);
}

bool readText(const fs::path& path, std::string& out)
{
    std::ifstream f(path, std::ios::binary);
    if (!f)
        return false;
    std::ostringstream ss;
    ss << f.rdbuf();
    out = ss.str();
    return true;
}

} // namespace

bool convertScript(const std::string& utf8In, std::string& sjis, std::string& error)
{
    std::string text = utf8In;
    if (text.size() >= 3 && std::memcmp(text.data(), "\xEF\xBB\xBF", 3) == 0)
        text.erase(0, 3);
    std::string lf;
    lf.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        lf.push_back(text[i]);
    }
    if (lf.empty() || lf.back() != '\n')
        lf.push_back('\n');   // the tokeniser drops an unterminated last line
    std::string crlf;
    crlf.reserve(lf.size() + lf.size() / 16);
    for (char c : lf) {
        if (c == '\n')
            crlf.push_back('\r');
        crlf.push_back(c);
    }
    sjis = platform::utf8ToSjis(crlf);
    if (platform::sjisToUtf8(sjis) != crlf) {
        // Find the first line that does not survive the round trip, for the author.
        std::istringstream lines(lf);
        std::string line;
        int number = 0;
        while (std::getline(lines, line)) {
            ++number;
            if (platform::sjisToUtf8(platform::utf8ToSjis(line)) != line) {
                error = "line " + std::to_string(number) + " has characters without a Shift-JIS form: " + line;
                return false;
            }
        }
        error = "text does not convert to Shift-JIS";
        return false;
    }
    return true;
}

std::string hostName(const std::string& root, const std::string& gameName)
{
    std::string rel = gameName;
    std::replace(rel.begin(), rel.end(), '\\', '/');
    return (fs::path(root) / rel).string();
}

GeneratedGame generateGame(const GeneratorOptions& options)
{
    GeneratedGame game;
    auto archive = [&](const std::string& name, Bytes bytes) {
        if (bytes.empty() && game.error.empty())
            game.error = "could not encode " + name;
        game.files.push_back({name, true, std::move(bytes)});
    };
    auto rgb = [](const Image& img) { return encodePngRgb(img.width(), img.height(), img.rgb8()); };
    auto rgba = [](const Image& img) { return encodePngRgba(img.width(), img.height(), img.rgba8()); };

    // Music, effects, interface sounds and voices (loose files beside the program) are made
    // on a second thread while the pictures are painted; they share nothing.
    auto sounds = std::async(std::launch::async, [] {
        std::vector<GameFile> out;
        auto loose = [&](const std::string& name, Bytes bytes) { out.push_back({name, false, std::move(bytes)}); };
        for (int t = 0; t < kMusicTracks; ++t) {
            char name[64];
            std::snprintf(name, sizeof name, "SOUND\\BGM\\sorafune_bgm%02d.ogg", t + 1);
            loose(name, encodeOgg(musicLoop(t), 1, kAudioRate, 0.4f, serialFor(name)));
        }
        for (const Sound& s : kSounds)
            loose(s.name, s.wav ? encodeWav(soundEffect(s.sfx), kAudioRate)
                                : encodeOgg(soundEffect(s.sfx), 1, kAudioRate, 0.3f, serialFor(s.name)));
        for (const Voice& v : kVoices) {
            const std::string name = std::string("SOUND\\VOICE\\") + v.name + ".ogg";
            loose(name, encodeOgg(voiceLine(v.speaker, v.syllables, v.question), 1, kAudioRate, 0.3f, serialFor(name)));
        }
        return out;
    });

    // Backgrounds.
    archive("BG\\title.png", rgb(titlePicture(options.label)));
    archive("BG\\black.png", rgb(Image(800, 600, hex(0x000000))));
    const Image hillDay = skyWithHills(Sky::Day, 11, true, false);
    Bytes hillDayPng = rgb(hillDay);
    archive("BG\\hill_day.png", hillDayPng);
    archive("BG\\hill_sunset.png", rgb(skyWithHills(Sky::Sunset, 12, true, false)));
    archive("BG\\hill_night.png", rgb(skyWithHills(Sky::Night, 13, true, false)));
    archive("BG\\room_day.png", rgb(room(false)));
    archive("BG\\room_night.png", rgb(room(true)));
    archive("BG\\town_evening.png", rgb(townEvening(false)));
    // The typing game loads its pictures from its own folder.
    archive("TYPE\\type_bg.png", std::move(hillDayPng));

    // Event pictures and their gallery thumbnails.
    archive("SYSTEM\\thumb\\0.png", rgb(lockedThumbnail()));
    const auto& cgs = cgRecipes();
    for (size_t i = 0; i < cgs.size(); ++i) {
        const Image cg = cgPicture(int(i));
        archive(std::string("BG\\") + cgs[i].name + ".png", rgb(cg));
        archive("SYSTEM\\thumb\\" + std::to_string(i + 1) + ".png", rgb(cg.resized(128, 96)));
    }

    // Characters.
    static const char* const who[2] = {"hikari", "kai"};
    for (int c = 0; c < 2; ++c)
        for (int e = 0; e < 3; ++e)
            archive(std::string("CHR\\") + who[c] + "_0" + std::to_string(e + 1) + ".png", rgba(characterShared(c, e)));

    // The frame animation of the tower's bell.
    for (int f = 0; f < kBellSwingFrames; ++f)
        archive("CHR\\bell_swing_" + std::to_string(f) + ".png", rgba(bellSwing(f)));

    archive("CUT\\bell.png", rgb(cutinBell()));
    archive("CUT\\star.png", rgb(cutinStar()));

    // Interface atlases, the text window and the circled-number sheet.
    archive("SYSTEM\\systex1.png", rgba(drawAtlas(SpriteAtlas::Systex1, options.label)));
    archive("SYSTEM\\systex2.png", rgba(drawAtlas(SpriteAtlas::Systex2, options.label)));
    archive("SYSTEM\\systex3.png", rgba(drawAtlas(SpriteAtlas::Systex3, options.label)));
    archive("SYSTEM\\logotex5.png", rgba(drawAtlas(SpriteAtlas::Logotex5, options.label)));
    archive("SYSTEM\\typetex.png", rgba(drawAtlas(SpriteAtlas::Typetex, options.label)));
    archive("textbox\\textbox_bg1.png", encodePngTexels16(256, 256, textWindowPicture(SpriteAtlas::TextboxBg1)));
    archive("textbox\\textbox_bg2.png", encodePngTexels16(256, 256, textWindowPicture(SpriteAtlas::TextboxBg2)));
    archive("textbox\\text_table1.png", encodePngTexels16(256, 256, textWindowPicture(SpriteAtlas::TextTable1)));
    archive("textbox\\default_font.bmp", encodeBmp4(128, 128, circledNumberSheet()));

    // Scripts: demo/scp -> "SCP\\", demo/type -> "TYPE\\".
    const std::pair<const char*, const char*> scriptFolders[] = {{"scp", "SCP\\"}, {"type", "TYPE\\"}};
    for (const auto& [folder, prefix] : scriptFolders) {
        const fs::path root = fs::path(options.sourceDir) / folder;
        std::error_code ec;
        if (!fs::is_directory(root, ec)) {
            game.error = "no script folder " + root.string();
            return game;
        }
        std::vector<fs::path> paths;
        for (const auto& entry : fs::recursive_directory_iterator(root, ec))
            if (entry.is_regular_file())
                paths.push_back(entry.path());
        std::sort(paths.begin(), paths.end());   // directory order differs between machines
        for (const fs::path& p : paths) {
            std::string text, sjis, why;
            std::string rel = fs::relative(p, root).generic_string();
            std::replace(rel.begin(), rel.end(), '/', '\\');
            if (!readText(p, text) || !convertScript(text, sjis, why)) {
                game.error = p.string() + ": " + (why.empty() ? "cannot read" : why);
                return game;
            }
            archive(prefix + rel, Bytes(sjis.begin(), sjis.end()));
        }
    }

    // Hot-spot maps: demo/click/NAME.txt -> "CLICK\\NAME.png".
    {
        const fs::path root = fs::path(options.sourceDir) / "click";
        std::error_code ec;
        std::vector<fs::path> paths;
        for (const auto& entry : fs::directory_iterator(root, ec))
            if (entry.is_regular_file() && entry.path().extension() == ".txt")
                paths.push_back(entry.path());
        std::sort(paths.begin(), paths.end());
        for (const fs::path& p : paths) {
            std::string text, why;
            Image map;
            if (!readText(p, text) || !clickMapFromSource(text, map, why)) {
                game.error = p.string() + ": " + (why.empty() ? "cannot read" : why);
                return game;
            }
            archive("CLICK\\" + p.stem().string() + ".png", rgb(map));
        }
    }

    for (GameFile& f : sounds.get()) {
        if (f.bytes.empty() && game.error.empty())
            game.error = "could not encode " + f.name;
        game.files.push_back(std::move(f));
    }
    game.folders = {"SAVE", "みろてっくベンチマーク"};
    return game;
}

bool writeGame(const GeneratedGame& game, const std::string& gameDir, const std::string& archiveDir, std::string& error)
{
    std::error_code ec;
    for (const std::string& folder : game.folders) {
        fs::create_directories(hostName(gameDir, folder), ec);
        if (ec) {
            error = "cannot create " + hostName(gameDir, folder) + ": " + ec.message();
            return false;
        }
    }
    PackWriter pack;
    for (const GameFile& f : game.files) {
        if (f.inArchive)
            pack.addBytes(platform::utf8ToSjis(f.name), f.bytes);
        const std::string path = hostName(f.inArchive ? archiveDir : gameDir, f.name);
        if ((!f.inArchive || !archiveDir.empty()) && !writeFile(path, f.bytes)) {
            error = "cannot write " + path;
            return false;
        }
    }
    return pack.write((fs::path(gameDir) / "system.pkd").string(), error);
}

namespace {

Image decodeForSheet(const Bytes& png)
{
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&img, png.data(), png.size()))
        return {};
    img.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> px(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, px.data(), 0, nullptr)) {
        png_image_free(&img);
        return {};
    }
    Image out(int(img.width), int(img.height));
    for (int y = 0; y < int(img.height); ++y)
        for (int x = 0; x < int(img.width); ++x) {
            const uint8_t* p = &px[(size_t(y) * img.width + size_t(x)) * 4];
            out.plot(x, y, Color{p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f, p[3] / 255.0f}, 1.0f);
        }
    return out;
}

void checker(Image& sheet, int x, int y, int w, int h)
{
    for (int yy = 0; yy < h; yy += 8)
        for (int xx = 0; xx < w; xx += 8)
            sheet.rect(float(x + xx), float(y + yy), float(std::min(8, w - xx)), float(std::min(8, h - yy)),
                       Paint::solid(((xx + yy) / 8) % 2 ? hex(0x9098A8) : hex(0x6A7080)), 0, 0.01f);
}

} // namespace

Image contactSheet(const GeneratedGame& game)
{
    // Row 1-4: backgrounds at 200 x 150; then characters at 1/3; then atlases 1:1.
    std::vector<const GameFile*> bgs, chars, atlases;
    for (const GameFile& f : game.files) {
        if (!f.inArchive)
            continue;
        if (f.name.rfind("BG\\", 0) == 0)
            bgs.push_back(&f);
        else if (f.name.rfind("CHR\\", 0) == 0)
            chars.push_back(&f);
        else if (f.name.rfind("SYSTEM\\", 0) == 0 && f.name.find("thumb") == std::string::npos)
            atlases.push_back(&f);
        else if (f.name.rfind("CUT\\", 0) == 0)
            bgs.push_back(&f);
    }
    const int cols = 8, bw = 200, bh = 150;
    const int bgRows = int((bgs.size() + cols - 1) / cols);
    const int chrW = 170, chrH = 202;
    const int height = 8 + bgRows * (bh + 8) + chrH + 16 + 256 + 8 + 300 + 8;
    Image sheet(8 + cols * (bw + 8), height, hex(0x202430));
    int y = 8;
    for (size_t i = 0; i < bgs.size(); ++i) {
        const Image pic = decodeForSheet(bgs[i]->bytes);
        if (pic.width() == 0)
            continue;
        const float scale = std::min(float(bw) / float(pic.width()), float(bh) / float(pic.height()));
        const Image small = pic.resized(std::max(1, int(float(pic.width()) * scale)), std::max(1, int(float(pic.height()) * scale)));
        sheet.draw(small, 8 + int(i % cols) * (bw + 8), y + int(i / cols) * (bh + 8));
    }
    y += bgRows * (bh + 8);
    for (size_t i = 0; i < chars.size(); ++i) {
        const Image pic = decodeForSheet(chars[i]->bytes);
        const int x = 8 + int(i) * (chrW + 8);
        checker(sheet, x, y, chrW, chrH);
        if (pic.width())
            sheet.draw(pic.resized(chrW, chrH), x, y);
    }
    y += chrH + 16;
    for (size_t i = 0; i < atlases.size(); ++i) {
        const Image pic = decodeForSheet(atlases[i]->bytes);
        const int x = 8 + int(i) * (256 + 8);
        checker(sheet, x, y, 256, 256);
        if (pic.width())
            sheet.draw(pic, x, y);
    }
    // The text window's 16-bit pictures and the circled-number sheet (alpha shown as white).
    y += 256 + 8;
    auto fromTexels = [](const std::vector<uint16_t>& t) {
        Image img(256, 256);
        for (int i = 0; i < 256 * 256; ++i) {
            const uint16_t v = t[size_t(i)];
            img.plot(i % 256, i / 256,
                     Color{float(v >> 8 & 15) / 15.0f, float(v >> 4 & 15) / 15.0f, float(v & 15) / 15.0f, float(v >> 12) / 15.0f}, 1.0f);
        }
        return img;
    };
    const SpriteAtlas windows[] = {SpriteAtlas::TextboxBg1, SpriteAtlas::TextboxBg2, SpriteAtlas::TextTable1};
    for (int i = 0; i < 3; ++i) {
        checker(sheet, 8 + i * 264, y, 256, 256);
        sheet.draw(fromTexels(textWindowPicture(windows[i])), 8 + i * 264, y);
    }
    const std::vector<uint8_t> font = circledNumberSheet();
    Image fontImg(128, 128, hex(0x000000));
    for (int i = 0; i < 128 * 128; ++i)
        fontImg.plot(i % 128, i / 128, hex(0xFFFFFF), float(font[size_t(i)]) / 15.0f);
    sheet.draw(fontImg.resized(128, 128), 8 + 3 * 264, y);

    // What the game screen looks like: a background, a character at the centre position,
    // the window and the name plate at the game's window alpha (170), the click-wait mark.
    const auto files = [&] {
        std::map<std::string, const GameFile*> m;
        for (const GameFile& f : game.files)
            m[f.name] = &f;
        return m;
    }();
    auto bg = files.find("BG\\hill_sunset.png");
    auto chr = files.find("CHR\\hikari_02.png");
    if (bg != files.end() && chr != files.end()) {
        Image screen = decodeForSheet(bg->second->bytes);
        if (screen.width() == 800) {
            screen.draw(decodeForSheet(chr->second->bytes), 144, 0);
            screen.draw(windowPanel(), 0, 444, 170.0f / 255.0f);
            screen.draw(namePlate(), 0, 396, 170.0f / 255.0f);
            screen.draw(waitMarkFrame(3), 40 + 24 * 12, 444 + 12 + 32);
            sheet.draw(screen.resized(400, 300), 8 + 3 * 264 + 136, y);
        }
    }
    return sheet;
}

} // namespace demo
