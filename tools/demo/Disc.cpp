#include "tools/demo/Disc.h"

#include "platform/Text.h"
#include "tools/demo/Raster.h"
#include "tools/pkd/PackWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace demo {

const char* const kDiscTitle = "星降る丘の鐘";

namespace {

const char* const kReadme =
    "星降る丘の鐘　体験版\n"
    "\n"
    "■インストール\n"
    "このディスクの setup を起動し、「インストール」を押してください。\n"
    "インストール先は変更できます。終わるとメニューに「星降る丘の鐘」が登録されます。\n"
    "\n"
    "■遊び方\n"
    "クリック、Enter、Space で文章を進めます。右クリックでウィンドウを隠します。\n"
    "Ctrl でスキップ、Alt+Enter で全画面とウィンドウを切り替えます。\n"
    "\n"
    "■アンインストール\n"
    "メニューの「星降る丘の鐘のアンインストール」から setup を起動し、\n"
    "「アンインストール」を押してください。インストールしたファイルだけを削除します。\n";

struct ButtonLook {
    const char* name;
    const char* label;
    int width, height;
};

const ButtonLook kButtons[] = {
    {"install", "インストール", 128, 22},     {"uninstall", "アンインストール", 128, 22},
    {"change", "変更", 48, 24},               {"next", "次へ", 48, 24},
    {"back", "戻る", 48, 24},                 {"go_install", "インストール開始", 128, 24},
    {"exit", "終了", 200, 24},
};

Image button(const ButtonLook& b, bool hovered, const LabelPainter& label)
{
    Image img(b.width, b.height, hex(0x0b1230));
    const Color top = hovered ? hex(0x8fb4ff) : hex(0x3a4f8c);
    const Color bottom = hovered ? hex(0x4068d8) : hex(0x1c2855);
    img.rect(0.5f, 0.5f, float(b.width) - 1.0f, float(b.height) - 1.0f,
             Paint::linear(top, {0, 0}, bottom, {0, float(b.height)}), 4.0f);
    img.rect(1.5f, 1.5f, float(b.width) - 3.0f, float(b.height) / 2.0f - 1.0f, Paint::solid(hex(0xffffff, 0.12f)), 3.0f);
    if (label)
        label(img, b.label, 2, 1, float(b.width) - 4, float(b.height) - 2, hovered ? hex(0xffffff) : hex(0xdfe6ff),
              b.height - 6);
    return img;
}

Image background(const LabelPainter& label)
{
    Image img(480, 360);
    img.verticalGradient({{0.0f, hex(0x070b24)}, {0.55f, hex(0x1d2a63)}, {1.0f, hex(0x3b2d5e)}});
    img.stars(2026, 220, 0.0f, 250.0f, 0.9f);
    img.fillBelow([](float x) { return 300.0f - 26.0f * std::sin(x / 90.0f) - 10.0f * std::sin(x / 31.0f); },
                  Paint::solid(hex(0x0d1430)));
    img.glow(380, 70, 60, hex(0xfff1c0), 0.5f);
    if (label) {
        // Low on the hills, between the page buttons, clear of the pages' own texts.
        label(img, kDiscTitle, 96, 298, 212, 30, hex(0xfff6dc), 26);
        label(img, "セットアップ", 96, 330, 212, 20, hex(0xc8d4ff), 15);
    }
    return img;
}

std::string sjisText(const std::string& utf8, std::string& error)
{
    std::string sjis;
    if (!convertScript(utf8, sjis, error))
        return {};
    return sjis;
}

} // namespace

std::string installList(const std::vector<std::string>& folders, const std::vector<std::string>& files)
{
    std::string t = "INIT\t\nMODE\tOVERWRITE\n";
    for (const std::string& f : folders)
        t += "MKDIR\t" + f + "\n";
    for (const std::string& f : files)
        t += "COPY\t" + f + "\n";
    return t;
}

std::vector<GameFile> setupArchive(const LabelPainter& label, const std::vector<std::string>& folders,
                                   const std::vector<std::string>& files)
{
    std::vector<GameFile> out;
    std::string why;
    const std::string header = sjisText(std::string("TITLE\t") + kDiscTitle + "\nINSTALL_NO\t1\nEXE_NAME\tsorafune\n", why);
    const std::string list = sjisText(installList(folders, files), why);
    out.push_back({"system", true, Bytes(header.begin(), header.end())});
    out.push_back({"install.dir", true, Bytes(list.begin(), list.end())});
    const Image bg = background(label);
    out.push_back({"bg.png", true, encodePngRgb(bg.width(), bg.height(), bg.rgb8())});
    for (const ButtonLook& b : kButtons)
        for (bool hovered : {false, true}) {
            const Image img = button(b, hovered, label);
            out.push_back({std::string(b.name) + (hovered ? "_s.png" : ".png"), true,
                           encodePngRgb(img.width(), img.height(), img.rgb8())});
        }
    return out;
}

bool writeDisc(const DiscOptions& o, std::string& error)
{
    std::error_code ec;
    fs::remove_all(o.discDir, ec);
    fs::create_directories(o.discDir, ec);
    if (ec) {
        error = "cannot create " + o.discDir + ": " + ec.message();
        return false;
    }
    // The game folder's folders are made on install; only its sounds are copied (a played
    // game folder also holds saves and settings, which are not the disc's).
    std::vector<std::string> folders, sounds;
    for (auto it = fs::recursive_directory_iterator(o.gameDir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        std::string rel = fs::relative(it->path(), o.gameDir).generic_string();
        const bool inSound = rel == "SOUND" || rel.rfind("SOUND/", 0) == 0;
        std::replace(rel.begin(), rel.end(), '/', '\\');
        if (it->is_directory() && (inSound || it.depth() == 0))
            folders.push_back(rel);
        else if (it->is_regular_file() && inSound)
            sounds.push_back(rel);
        if (it->is_directory() && !inSound)
            it.disable_recursion_pending();
    }
    if (ec) {
        error = "cannot read " + o.gameDir + ": " + ec.message();
        return false;
    }
    std::sort(folders.begin(), folders.end());
    std::sort(sounds.begin(), sounds.end());
    std::vector<std::string> files = {"sorafune", "setup", "data.pkd", "system.pkd", "はじめにお読みください.txt"};
    files.insert(files.end(), sounds.begin(), sounds.end());

    PackWriter pack;
    for (GameFile& f : setupArchive(o.label, folders, files)) {
        if (f.bytes.empty()) {
            error = "could not make " + f.name;
            return false;
        }
        pack.addBytes(platform::utf8ToSjis(f.name), std::move(f.bytes));
    }
    if (!pack.write(hostName(o.discDir, "data.pkd"), error))
        return false;

    const std::string readme = sjisText(kReadme, error);
    if (readme.empty() || !writeFile(hostName(o.discDir, "はじめにお読みください.txt"), Bytes(readme.begin(), readme.end()))) {
        error = "cannot write the read-me " + error;
        return false;
    }
    auto copy = [&](const std::string& from, const std::string& name) {
        const std::string to = hostName(o.discDir, name);
        fs::create_directories(fs::path(to).parent_path(), ec);
        fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
        if (ec)
            error = "cannot copy " + from + ": " + ec.message();
        return !ec;
    };
    if (!copy(o.setupProgram, "setup") || !copy(o.gameProgram, "sorafune") ||
        !copy(hostName(o.gameDir, "system.pkd"), "system.pkd"))
        return false;
    for (const std::string& s : sounds)
        if (!copy(hostName(o.gameDir, s), s))
            return false;
    return true;
}

} // namespace demo
