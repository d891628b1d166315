// Tokenising and interpreting speed, each next to a baseline measured in the same run.
#include "app/CDirectX.h"
#include "core/RunLog.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessBackend.h"
#include "script/Interpreter.h"
#include "script/ScriptFile.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace {

// About 1 MB of scenario text of the usual shape: commands, quoted messages, comments.
const std::string& megabyteScript()
{
    static const std::string text = [] {
        std::string s;
        int i = 0;
        while (s.size() < (1u << 20)) {
            s += "// scene " + std::to_string(i) + "\r\n";
            s += "@bg_load bg" + std::to_string(i % 7) + ".png 0\r\n";
            s += "@chr_load 1 chr\\a" + std::to_string(i % 3) + ".png\r\n";
            s += "@text,\"\x82\xa0\x82\xa2\x82\xa4 line " + std::to_string(i) + " of the story\"\r\n";
            s += "\t@se_load 0 step.ogg\t\r\n";
            s += "@wait 500\r\n\r\n";
            ++i;
        }
        return s;
    }();
    return text;
}

void BM_Tokenise1MB(benchmark::State& state)
{
    const std::string& text = megabyteScript();
    ScriptFile f;
    for (auto _ : state) {
        f.loadFromBytes("bench.scp", text);
        benchmark::DoNotOptimize(f.tokens.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_Tokenise1MB)->Unit(benchmark::kMillisecond);

// Baseline: finding every line end of the same text with memchr.
void BM_BaselineMemchrLines(benchmark::State& state)
{
    const std::string& text = megabyteScript();
    for (auto _ : state) {
        size_t lines = 0;
        const char* p = text.data();
        const char* end = p + text.size();
        while ((p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))) != nullptr) {
            ++lines;
            ++p;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(BM_BaselineMemchrLines)->Unit(benchmark::kMillisecond);

constexpr int kCommands = 100000;

// 100,000 continuing commands, one per line: "#if" on a set flag and its "#endif".
const std::string& continuingScript()
{
    static const std::string text = [] {
        std::string s;
        for (int i = 0; i < kCommands / 2; ++i)
            s += "#if 01-02a\r\n#endif\r\n";
        return s;
    }();
    return text;
}

void BM_RunContinuingCommands(benchmark::State& state)
{
    platform::HeadlessBackend backend;
    CDirectX dx(backend.services);
    dx.unlocks.flags[4] = 1;
    ScriptFile loaded;
    loaded.loadFromBytes("bench.scp", continuingScript());
    for (auto _ : state) {
        state.PauseTiming();
        dx.script = loaded;
        state.ResumeTiming();
        runScript(dx); // runs to "EOF" in one call: nothing yields
    }
    state.counters["commands/s"] = benchmark::Counter(double(kCommands) * double(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RunContinuingCommands)->Unit(benchmark::kMillisecond);

// Baseline: walking the same token list with nextToken alone, no dispatch.
void BM_BaselineTokenWalk(benchmark::State& state)
{
    ScriptFile loaded;
    loaded.loadFromBytes("bench.scp", continuingScript());
    ScriptFile f;
    for (auto _ : state) {
        state.PauseTiming();
        f = loaded;
        state.ResumeTiming();
        size_t n = 0;
        while (f.nextToken() != "EOF")
            ++n;
        benchmark::DoNotOptimize(n);
    }
    state.counters["commands/s"] = benchmark::Counter(double(kCommands) * double(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BaselineTokenWalk)->Unit(benchmark::kMillisecond);

} // namespace

