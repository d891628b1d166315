// The author's checker on a generated 5 MB scenario set, next to the bare tokeniser reading
// the same scripts in the same run.
#include "platform/Text.h"
#include "script/ScriptFile.h"
#include "tools/demo/Writers.h"
#include "tools/lint/GameFolder.h"
#include "tools/lint/Linter.h"
#include "tools/pkd/PackWriter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kScripts = 50;
constexpr size_t kScriptBytes = 100 * 1024;

// A game folder with kScripts scenario scripts of the usual shape (pictures, sounds, messages,
// choices) and the files they name: the checker finds nothing in it.
struct GeneratedGame {
    std::filesystem::path dir;
    std::vector<std::pair<std::string, std::string>> scripts; // name, Shift-JIS text
    size_t bytes = 0;

    GeneratedGame()
    {
        dir = std::filesystem::temp_directory_path() / ("sorafune-lint-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir / "SOUND" / "BGM");
        std::filesystem::create_directories(dir / "SOUND" / "SE");
        PackWriter writer;
        const std::vector<uint8_t> png = demo::encodePngRgb(1, 1, {1, 2, 3});
        for (int i = 0; i < 7; ++i) {
            writer.addBytes("BG\\bg" + std::to_string(i) + ".png", png);
            writer.addBytes("CHR\\a" + std::to_string(i) + ".png", png);
        }
        const std::vector<uint8_t> ogg = demo::encodeOgg(std::vector<float>(2205, 0.1f), 1, 22050, 0.1f, 3);
        const std::vector<uint8_t> wav = demo::encodeWav(std::vector<float>(220, 0.1f), 22050);
        std::filesystem::create_directories(dir / "SOUND" / "SE" / "SYSTEM");
        auto write = [&](const char* f, const std::vector<uint8_t>& bytes) {
            std::ofstream(dir / f, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        };
        write("SOUND/BGM/m.ogg", ogg);
        write("SOUND/SE/step.ogg", ogg);
        for (const char* f : {"SOUND/SE/SYSTEM/ok.wav", "SOUND/SE/SYSTEM/cancel.wav", "SOUND/SE/SYSTEM/logo.wav",
                              "SOUND/SE/SYSTEM/test.wav"})
            write(f, wav);
        const std::string line = platform::utf8ToSjis("丘の上には、古い鐘の塔がある。");
        for (int s = 0; s < kScripts; ++s) {
            std::string t = "@def_text\r\n{\r\n0 " + platform::utf8ToSjis("ナレーション") + " FFFF off\r\n}\r\n";
            for (int i = 0; t.size() < kScriptBytes; ++i) {
                t += "// scene " + std::to_string(i) + "\r\n";
                t += "@bg_load bg" + std::to_string(i % 7) + ".png\r\n@bg_change 500\r\n";
                t += "@chr_load 0,a" + std::to_string(i % 7) + ".png\r\n@chr_slide_in 0,right,2,600\r\n";
                t += "@bgm_load m.ogg\r\n@bgm play\r\n@se_load 0,step.ogg\r\n@se 0,play\r\n";
                t += "@text,0\r\n{\r\n" + line + "\r\n" + line + "\r\n}\r\n@wait 500\r\n\r\n";
            }
            const std::string name = "s" + std::to_string(s) + ".scp";
            const std::string next = s + 1 < kScripts ? "s" + std::to_string(s + 1) + ".scp" : "startup.scp";
            t += "@select\r\n{\r\na," + next + "\r\nb,startup.scp\r\n}\r\n";
            scripts.emplace_back(s == 0 ? "startup.scp" : name, t);
            bytes += t.size();
        }
        for (const auto& [name, text] : scripts)
            writer.addBytes("SCP\\" + name, std::vector<uint8_t>(text.begin(), text.end()));
        std::string error;
        writer.write((dir / "system.pkd").string(), error);
    }
    ~GeneratedGame()
    {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

const GeneratedGame& game()
{
    static const GeneratedGame g;
    return g;
}

// The tokeniser and the interpreter's token cursor over every script, nothing else.
void tokeniseAll(const GeneratedGame& g)
{
    ScriptFile f;
    for (const auto& [name, text] : g.scripts) {
        f.loadFromBytes(name, text);
        while (f.nextToken() != "EOF") {
        }
    }
}

void BM_BareTokeniser5MB(benchmark::State& state)
{
    const GeneratedGame& g = game();
    for (auto _ : state)
        tokeniseAll(g);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(g.bytes));
}
BENCHMARK(BM_BareTokeniser5MB)->Unit(benchmark::kMillisecond);

void BM_Lint5MB(benchmark::State& state)
{
    const GeneratedGame& g = game();
    GameFolder folder;
    std::string why;
    if (!folder.open(g.dir.string(), why)) {
        state.SkipWithError(why.c_str());
        return;
    }
    // The baseline, measured in the same run.
    const auto t0 = std::chrono::steady_clock::now();
    tokeniseAll(g);
    const double tokeniserMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    double lintMs = 0;
    size_t findings = 0;
    for (auto _ : state) {
        const auto t = std::chrono::steady_clock::now();
        Linter linter(folder);
        linter.checkGame();
        findings = linter.findings().list().size();
        lintMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(g.bytes));
    state.counters["findings"] = double(findings);
    state.counters["x_tokeniser_time"] = lintMs / double(state.iterations()) / tokeniserMs;
}
BENCHMARK(BM_Lint5MB)->Unit(benchmark::kMillisecond);

} // namespace
