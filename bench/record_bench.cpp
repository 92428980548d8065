// The event record's own costs: the workbook's rewrite after a stop.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "record/workbook.h"

namespace {

QList<Journal::Entry> rounds(int count, int winners)
{
    QList<Journal::Entry> entries;
    qint64 index = 0;
    for (int r = 1; r <= count; ++r) {
        Journal::Entry e;
        e.level = 3;
        e.round = r;
        e.time = QStringLiteral("2026-12-10T10:24:35");
        for (int w = 0; w < winners; ++w, ++index)
            e.winners.append(
                {QStringLiteral("P%1 张伟明 13800138000").arg(index, 7, 10, QLatin1Char('0')),
                 index});
        entries.append(e);
    }
    return entries;
}

} // namespace

// Rows, workbook bytes and the atomic replacement of the file, as every stop does them.
static void WorkbookRewrite(benchmark::State &state)
{
    QTemporaryDir dir;
    const QList<Journal::Entry> entries = rounds(int(state.range(0)) / 10, 10);
    const QString path = dir.filePath(QStringLiteral("中奖名单.xlsx"));
    for (auto _ : state) {
        const auto bytes = Workbook::build(Workbook::rowsFor(entries), dir.path());
        benchmark::DoNotOptimize(bytes && Workbook::replaceFile(path, *bytes));
    }
}
BENCHMARK(WorkbookRewrite)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);
