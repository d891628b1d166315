#include "SmallGame.h"

#include "../resources/PngWrite.h"
#include "tools/demo/Writers.h"
#include "tools/lint/GameFolder.h"
#include "tools/lint/Linter.h"
#include "tools/pkd/PackWriter.h"

#include <cmath>
#include <filesystem>
#include <sstream>

namespace lintgame {

Bytes rgbPng(int w, int h, const std::vector<uint32_t>& rgb)
{
    std::vector<uint8_t> raw;
    for (uint32_t p : rgb) {
        raw.push_back(uint8_t(p >> 16));
        raw.push_back(uint8_t(p >> 8));
        raw.push_back(uint8_t(p));
    }
    return demo::encodePngRgb(w, h, raw);
}

Bytes oggOf(float seconds)
{
    std::vector<float> samples(size_t(22050 * seconds));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = 0.2f * std::sin(float(i) * 0.05f);
    return demo::encodeOgg(samples, 1, 22050, 0.1f, 7);
}

Bytes wavOf(float seconds)
{
    std::vector<float> samples(size_t(22050 * seconds), 0.1f);
    return demo::encodeWav(samples, 22050);
}

namespace {

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream s(text);
    std::string line;
    while (std::getline(s, line))
        lines.push_back(line);
    return lines;
}

} // namespace

SmallGame::SmallGame()
{
    scripts["SCP\\startup.scp"] = splitLines(
        "// the start\n"            // 1
        "@def_text\n"               // 2
        "{\n"                       // 3
        "0 ナレーション FFFF off\n" // 4
        "}\n"                       // 5
        "@bg_load a.png\n"          // 6
        "@bg_change 500\n"          // 7
        "@chr_load 0,c.png\n"       // 8
        "@chr_slide_in 0,right,2,600\n" // 9
        "@bgm_load m.ogg\n"         // 10
        "@bgm play\n"               // 11
        "@se_load 0,s.ogg\n"        // 12
        "@se 0,play,loop\n"         // 13
        "@text,0,v\n"               // 14
        "{\n"                       // 15
        "丘の上には、古い鐘の塔がある。\n" // 16
        "}\n"                       // 17
        "#if 00-01\n"               // 18
        "@cutin_load 0,k.png\n"     // 19
        "#endif\n"                  // 20
        "@effect_quake ver,300\n"   // 21
        "@sfx 6,3\n"                // 22
        "@select\n"                 // 23
        "{\n"                       // 24
        "部屋へ,next.scp\n"         // 25
        "もう一度,next.scp\n"       // 26
        "塔へ,typing.scp\n"         // 27
        "}\n");                     // 28
    scripts["SCP\\next.scp"] = splitLines(
        "@clickable\n"  // 1
        "{\n"           // 2
        "#bitmap\n"     // 3
        "m.png\n"       // 4
        "#define\n"     // 5
        "A0,1\n"        // 6
        "B0,-1\n"       // 7
        "#script\n"     // 8
        "A0[\n"         // 9
        "@load typing.scp\n" // 10
        "]\n"           // 11
        "B0[\n"         // 12
        "@wait 10\n"    // 13
        "]\n");         // 14
    scripts["SCP\\typing.scp"] = splitLines("@type_start t\n");
    scripts["SCP\\t_clear"] = splitLines("@QUIT_TO_OP\n");
    scripts["SCP\\t_gameover"] = splitLines("@QUIT_TO_OP\n");
    scripts["TYPE\\t"] = splitLines(
        "@bg_load tb.png\n" // 1
        "@window show\n"    // 2
        "@mes_sys はじめ\n" // 3
        "@type\n"           // 4
        "{\n"               // 5
        "星が降る\n"        // 6
        "ほしがふる\n"      // 7
        "HOSIGAHURU\n"      // 8
        "}\n"               // 9
        "@finish\n");       // 10

    entries["BG\\a.png"] = rgbPng(2, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0});
    entries["CHR\\c.png"] = demo::encodePngRgba(1, 1, {1, 2, 3, 4});
    entries["CUT\\k.png"] = rgbPng(1, 1, {0xFFFFFF});
    entries["TYPE\\tb.png"] = rgbPng(1, 1, {0});
    // Region A on the left, B on the right.
    entries["CLICK\\m.png"] = rgbPng(2, 1, {0xFF0000, 0x00FF00});

    const Bytes ogg = oggOf(0.1f), wav = wavOf(0.05f);
    files["SOUND/BGM/m.ogg"] = ogg;
    files["SOUND/SE/s.ogg"] = ogg;
    files["SOUND/VOICE/v.ogg"] = ogg;
    for (const char* w : {"SYSTEM/ok.wav", "SYSTEM/cancel.wav", "SYSTEM/logo.wav", "SYSTEM/test.wav", "beep01.wav",
                          "beep02.wav", "MsgType.wav", "beep04.wav"})
        files[std::string("SOUND/SE/") + w] = wav;
}

void SmallGame::setLine(const std::string& script, int n, const std::string& text)
{
    std::vector<std::string>& lines = scripts.at(script);
    const std::vector<std::string> added = splitLines(text);
    lines.erase(lines.begin() + (n - 1));
    lines.insert(lines.begin() + (n - 1), added.begin(), added.end());
}

void SmallGame::appendLines(const std::string& script, const std::string& text)
{
    const std::vector<std::string> added = splitLines(text);
    scripts[script].insert(scripts[script].end(), added.begin(), added.end());
}

int SmallGame::check(Findings& findings, std::string* printed)
{
    PackWriter writer;
    for (const auto& [name, bytes] : entries)
        writer.addBytes(platform::utf8ToSjis(name), bytes);
    for (const auto& [name, lines] : scripts) {
        std::string text;
        for (const std::string& l : lines)
            text += platform::utf8ToSjis(l) + "\r\n";
        writer.addBytes(platform::utf8ToSjis(name), Bytes(text.begin(), text.end()));
    }
    std::string error;
    if (!writer.write(dir.file("system.pkd"), error))
        return -1;
    for (const auto& [path, bytes] : files) {
        const std::filesystem::path p = dir.path() / path;
        std::filesystem::create_directories(p.parent_path());
        testsupport::writeAll(p.string(), bytes);
    }
    GameFolder game;
    std::string why;
    if (!game.open(dir.str(), why))
        return 2;
    Linter linter(game);
    linter.checkGame();
    findings = linter.findings();
    if (printed) {
        std::ostringstream out;
        findings.print(out);
        *printed = out.str();
    }
    return findings.hasErrors() ? 1 : 0;
}

} // namespace lintgame
