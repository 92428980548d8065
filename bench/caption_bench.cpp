// One frame of the scrolling caption on surfaces of the designed size, 21.75-point font.
#include <algorithm>
#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "effects/scroll_caption.h"
#include "platform/look.h"
#include "platform/picture_box.h"

static void CaptionFrame(benchmark::State &state)
{
    const QStringList lines = BenchData::people(int(state.range(0)));
    PictureBox back(QStringLiteral("移动图3")), work(QStringLiteral("移动图2")),
        show(QStringLiteral("移动图1"));
    back.setGeometry(Look::twipsRect(0, 0, 6720, 5595));
    back.setPicture(QImage(QStringLiteral(":/design/caption.bmp")));
    work.setGeometry(Look::twipsRect(0, 0, 6450, 5460));
    show.setGeometry(Look::twipsRect(0, 0, 6450, 5460));
    work.setFont(Look::font(Look::Face::SongTi, 21.75, true));
    const double pitch = 21.75 + 6;
    // Half-way through the pass: a full band of lines in view.
    qint32 position = -qint32(lines.size() / 2 * pitch);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ScrollCaption::DrawScrollText(lines, back, work, show, 0x00C0FFFF,
                                                               0x000080FF, position, 1, 2));
        --position;
    }
    state.SetComplexityN(state.range(0));
}
// Repeated, with medians reported: a shared machine's noise is larger than the differences.
BENCHMARK(CaptionFrame)
    ->Arg(100)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
