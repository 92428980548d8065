// The rolling tick and the stop of a round.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "draw/main_form.h"
#include "draw/random_pick.h"
#include "platform/program_directory.h"
#include "record/results_file.h"

namespace {

// The pick and the label's text, as one tick builds them.
QString tickText(const QStringList &pool, int winners, RandomSource &random)
{
    std::int32_t counter = 0;
    const auto picks = pickDistinct(0, std::int32_t(pool.size()) - 1, winners, random, counter);
    QString text;
    for (size_t k = 1; k < picks.size(); ++k)
        text += pool[picks[k]] + QStringLiteral("\r\n");
    return text;
}

} // namespace

static void RollingTick(benchmark::State &state)
{
    const QStringList pool = BenchData::people(int(state.range(0)));
    RandomSource random;
    for (auto _ : state)
        benchmark::DoNotOptimize(tickText(pool, int(state.range(1)), random));
}
BENCHMARK(RollingTick)
    ->ArgsProduct({{1000, 100000, 1000000}, {1, 10, 50, 100}})
    ->Unit(benchmark::kMicrosecond);

// The real tick handler of the stage, with its label fitting the names.
static void RollingTickOnStage(benchmark::State &state)
{
    QTemporaryDir dir;
    ProgramDirectory::setForTesting(dir.path());
    MainForm form;
    form.resize(1920, 1080);
    form.ST = BenchData::people(int(state.range(0)));
    form.iCount = qint32(form.ST.size()) - 1;
    form.nflag = 3;
    form.n3 = qint16(state.range(1));
    for (auto _ : state)
        form.Timer1_Timer();
}
BENCHMARK(RollingTickOnStage)
    ->Args({1000000, 4})
    ->Args({1000000, 50})
    ->Unit(benchmark::kMicrosecond);

// Removing a round's winners from the pool: one pass over the pool.
static void StopRemoveWinners(benchmark::State &state)
{
    const QStringList pool = BenchData::people(int(state.range(0)));
    RandomSource random;
    for (auto _ : state) {
        state.PauseTiming();
        QStringList copy = pool;
        copy.detach();
        std::int32_t counter = 0;
        auto picks = pickDistinct(0, std::int32_t(copy.size()) - 1, 50, random, counter);
        picks.erase(picks.begin());
        state.ResumeTiming();
        removeIndices(copy, picks);
        benchmark::DoNotOptimize(copy.size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(StopRemoveWinners)
    ->Arg(10000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Recording a round: one block written and pushed to the disk.
static void StopRecordRound(benchmark::State &state)
{
    QTemporaryDir dir;
    ResultsFile file;
    file.create(dir.filePath(QStringLiteral("r.txt")));
    const QString winners =
        BenchData::people(50).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    for (auto _ : state)
        file.write(Results::roundHeading(QStringLiteral("★★"), QStringLiteral("三等奖"), 1) +
                   QStringLiteral("\r\n") + winners);
}
BENCHMARK(StopRecordRound)->Unit(benchmark::kMillisecond);
