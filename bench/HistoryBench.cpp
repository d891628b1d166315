// The message history's share of a text command: the snapshot every "@text," takes anyway,
// against the snapshot plus the history's work for the message (its snapshot copied in, the
// name and three lines) with all fifty entries in use, so that every message drops the
// oldest. For scale, the copy of 49 snapshots a history that moved its entries down would make.
#include "app/CDirectX.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/headless/HeadlessBackend.h"
#include "script/SaveGame.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct Engine {
    platform::HeadlessBackend backend;
    std::unique_ptr<CDirectX> dx;
    std::string name = platform::utf8ToSjis("ひかり");
    std::string lines[3] = {platform::utf8ToSjis("今夜はきっと、星が降るよ。"),
                            platform::utf8ToSjis("鐘の音、いっしょに聞こうね。"), platform::utf8ToSjis("ねえ、カイ。")};
    Engine()
    {
        dx = std::make_unique<CDirectX>(backend.services);
        // A scene with names in every field the snapshot copies.
        for (auto& g : dx->scene.groups)
            g.name = {"hikari_01.png", "hikari_02.png"};
        dx->scene.bg.name = {"hill_night.png", "hill_sunset.png"};
        for (auto& c : dx->scene.cutins)
            c.name = "cut.png";
        for (int i = 0; i < 128; ++i)
            std::snprintf(dx->messageWindow.characterNames[size_t(i)].name, 18, "name%d", i);
        dx->script.loadFromBytes("startup.scp", "@text,0\r\n{\r\na\r\n}\r\n");
        for (int m = 0; m < MessageHistory::kEntries; ++m)
            message();
    }
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

double msSince(std::chrono::steady_clock::time_point t)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t).count();
}

void BM_TakeSnapshotAlone(benchmark::State& state)
{
    Engine& e = engine();
    for (auto _ : state) {
        TakeSnapshot(*e.dx, 0);
        benchmark::DoNotOptimize(e.dx->saveRecord.bytes.data());
    }
}
BENCHMARK(BM_TakeSnapshotAlone)->Unit(benchmark::kMicrosecond);

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
