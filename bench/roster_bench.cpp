// Reading a roster: the caption's lines and the pool.
#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "draw/roster.h"
#include "platform/text_codec.h"

static void RosterPool(benchmark::State &state)
{
    const QString path = BenchData::rosterFile(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        QStringList lines;
        TextCodec::readLines(path, lines);
        benchmark::DoNotOptimize(Roster::buildPool(lines));
    }
    state.SetLabel(state.range(1) ? "utf-8" : "gb18030");
}
BENCHMARK(RosterPool)->ArgsProduct({{10000, 1000000}, {0, 1}})->Unit(benchmark::kMillisecond);

static void CaptionLines(benchmark::State &state)
{
    const QString path = BenchData::rosterFile(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        QStringList lines;
        Roster::loadFileLines(path, lines);
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetLabel(state.range(1) ? "utf-8" : "gb18030");
}
BENCHMARK(CaptionLines)->ArgsProduct({{10000, 1000000}, {0, 1}})->Unit(benchmark::kMillisecond);
