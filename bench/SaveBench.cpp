// Saved games: the snapshot every text command takes, a save with its thumbnail and the scan
// of 48 used slots, against a plain 6336-byte file write and a bare thumbnail decode in the
// same run. The message history's share of a text command is measured against the snapshot
// alone, with all fifty entries in use so that every message drops the oldest.
#include "app/CDirectX.h"
#include "graphics/CDIB.h"
#include "platform/Files.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/Text.h"
#include "screens/SaveLoadScreen.h"
#include "script/SaveGame.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

struct Engine {
    platform::HeadlessBackend backend;
    std::unique_ptr<CDirectX> dx;
    std::filesystem::path dir;
    std::string name = platform::utf8ToSjis("ひかり");
    std::string lines[3] = {platform::utf8ToSjis("今夜はきっと、星が降るよ。"),
                            platform::utf8ToSjis("鐘の音、いっしょに聞こうね。"), platform::utf8ToSjis("ねえ、カイ。")};
    Engine()
    {
        dir = std::filesystem::temp_directory_path() / "sorafune-save-bench";
        std::filesystem::create_directories(dir / "SAVE");
        platform::files::setProgramDir(dir.string());
        dx = std::make_unique<CDirectX>(backend.services);
        backend.window.create(dx->title, 0, 0, 800, 600, false);
        dx->Create(&backend.window, true);
        // A scene with names in every field the snapshot copies.
        for (auto& g : dx->scene.groups)
            g.name = {"hikari_01.png", "hikari_02.png"};
        dx->scene.bg.name = {"hill_night.png", "hill_sunset.png"};
        for (auto& c : dx->scene.cutins)
            c.name = "cut.png";
        for (int i = 0; i < 128; ++i)
            std::snprintf(dx->messageWindow.characterNames[size_t(i)].name, 18, "name%d", i);
        dx->script.loadFromBytes("startup.scp", "@text,0\r\n{\r\na\r\n}\r\n");
        TakeSnapshot(*dx, 0);
        for (int slot = 0; slot < 48; ++slot) {
            SaveSlot(*dx, slot);
            WriteThumbnail(*dx, slot);
        }
        for (int m = 0; m < MessageHistory::kEntries; ++m)
            message();
    }
    ~Engine() { std::filesystem::remove_all(dir); }
    // What the interpreter and the text command do for the history at one message.
    void message()
    {
        TakeSnapshot(*dx, 0);
        MessageHistory& h = dx->messageHistory;
        h.pushHistorySnapshot(dx->saveRecord);
        h.addHistoryName(name, true, 0xFFCE);
        for (int i = 0; i < 3; ++i)
            h.addHistoryLine(i, lines[i]);
        ++dx->messageWindow.messageCount;
    }
};

Engine& engine()
{
    static Engine e;
    return e;
}

void BM_TakeSnapshot(benchmark::State& state)
{
    Engine& e = engine();
    for (auto _ : state) {
        TakeSnapshot(*e.dx, 0);
        benchmark::DoNotOptimize(e.dx->saveRecord.bytes.data());
    }
}
BENCHMARK(BM_TakeSnapshot)->Unit(benchmark::kMicrosecond);

// Baseline: the same 6336 bytes written to a file with stdio, no temporary file, no flush.
void BM_PlainRecordWrite(benchmark::State& state)
{
    Engine& e = engine();
    const std::string path = (e.dir / "plain.dat").string();
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(e.dx->saveRecord.bytes.data(), 1, e.dx->saveRecord.bytes.size(), f);
        std::fclose(f);
    }
}
BENCHMARK(BM_PlainRecordWrite)->Unit(benchmark::kMicrosecond);

void BM_SaveSlotWithThumbnail(benchmark::State& state)
{
    Engine& e = engine();
    for (auto _ : state) {
        benchmark::DoNotOptimize(SaveSlot(*e.dx, 13));
        benchmark::DoNotOptimize(WriteThumbnail(*e.dx, 13));
    }
}
BENCHMARK(BM_SaveSlotWithThumbnail)->Unit(benchmark::kMicrosecond);

// Baseline: one thumbnail read back from its BMP file.
void BM_BareBmpDecode(benchmark::State& state)
{
    engine();
    for (auto _ : state) {
        CDIB dib;
        benchmark::DoNotOptimize(dib.LoadBMP("SAVE\\13.bmp"));
    }
}
BENCHMARK(BM_BareBmpDecode)->Unit(benchmark::kMicrosecond);

void BM_ScanSlots48Used(benchmark::State& state)
{
    Engine& e = engine();
    for (auto _ : state)
        ScanSlots(*e.dx);
    state.counters["used"] = double(std::count_if(e.dx->saveLoad.slots.begin(), e.dx->saveLoad.slots.end(),
                                                  [](const SlotInfo& s) { return s.used; }));
}
BENCHMARK(BM_ScanSlots48Used)->Unit(benchmark::kMicrosecond);

double msSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

// The snapshot and the history's work, each iteration timed beside a snapshot alone, so both
// see the same machine; x_snapshot is the ratio of the two.
void BM_SnapshotWithHistory(benchmark::State& state)
{
    Engine& e = engine();
    double aloneMs = 0, bothMs = 0;
    for (auto _ : state) {
        auto t = std::chrono::steady_clock::now();
        TakeSnapshot(*e.dx, 0);
        benchmark::DoNotOptimize(e.dx->saveRecord.bytes.data());
        aloneMs += msSince(t);
        t = std::chrono::steady_clock::now();
        e.message();
        benchmark::DoNotOptimize(e.dx->messageHistory.entry(49).snapshot.bytes.data());
        bothMs += msSince(t);
    }
    state.counters["kept"] = double(e.dx->messageHistory.count());
    state.counters["x_snapshot"] = bothMs / aloneMs;
}
BENCHMARK(BM_SnapshotWithHistory)->Unit(benchmark::kMicrosecond);

// For scale: the 49 snapshots a history that moved every entry down at the 51st message would
// copy, about 310 KB.
void BM_MoveFortyNineSnapshotsDown(benchmark::State& state)
{
    std::vector<SaveRecord> snapshots(size_t(MessageHistory::kEntries));
    for (auto _ : state) {
        std::copy(snapshots.begin() + 1, snapshots.end(), snapshots.begin());
        benchmark::DoNotOptimize(snapshots.data());
    }
}
BENCHMARK(BM_MoveFortyNineSnapshotsDown)->Unit(benchmark::kMicrosecond);

} // namespace
