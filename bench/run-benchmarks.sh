#!/usr/bin/env bash
# Runs every benchmark and prints one table, then the whole-process measures.
set -euo pipefail
build=${1:-build-bench}
bin="$build/bench"
echo "== Stage benchmarks ($(nproc) cores, $(date +%F))"
"$bin/lumora_bench" --benchmark_counters_tabular=true 2>/dev/null

echo
echo "== Roster load, whole process (1,000,000 lines, also scrolling in the startup caption)"
for encoding in gb18030 utf-8; do
    dir=$(mktemp -d)
    "$bin/roster_load_probe" make "$dir" 1000000 "$encoding"
    printf '%-8s ' "$encoding"
    QT_QPA_PLATFORM=offscreen "$bin/roster_load_probe" load "$dir" 2>/dev/null
    rm -rf "$dir"
done

echo
echo "== Continuing an interrupted event (1,000,000 lines, 1000 rounds of 10 drawn)"
dir=$(mktemp -d)
QT_QPA_PLATFORM=offscreen "$bin/continue_probe" make "$dir" 1000000 1000 2>/dev/null
for run in 1 2 3; do
    QT_QPA_PLATFORM=offscreen "$bin/continue_probe" run "$dir" 2>/dev/null
done

echo
echo "== Start-up with 20 past events in the folder (each 1,000 rounds) to the offer of a 21st"
past=$(mktemp -d)
for event in $(seq 20); do
    QT_QPA_PLATFORM=offscreen "$bin/continue_probe" make "$past" 2000 1000 1 finished 2>/dev/null
done
QT_QPA_PLATFORM=offscreen "$bin/continue_probe" make "$past" 2000 10 1 2>/dev/null
for run in 1 2 3; do
    QT_QPA_PLATFORM=offscreen "$bin/continue_probe" run "$past" 2>/dev/null
done
rm -rf "$past"

echo
echo "== lumora-verify on that event (the roster re-read, every block and workbook row compared)"
for run in 1 2 3; do
    start=$(date +%s%N)
    verdict=$("$build/bin/lumora-verify" "$dir"/中奖名单*.txt | tail -n 1)
    end=$(date +%s%N)
    echo "run $run: $(( (end - start) / 1000000 )) ms, $verdict"
done
rm -rf "$dir"

echo
echo "== Start-up to the first painted stage frame (program directory $build/bin: bundled roster, picture, tunes)"
for platform in offscreen xvfb; do
    for run in 1 2 3; do
        if [ "$platform" = xvfb ]; then
            command -v xvfb-run >/dev/null || continue
            out=$(xvfb-run -a -s "-screen 0 1920x1080x24" "$build/bin/startup_probe" 2>/dev/null)
        else
            out=$(QT_QPA_PLATFORM=offscreen "$build/bin/startup_probe" 2>/dev/null)
        fi
        echo "$platform run $run: $out"
    done
done

echo
echo "== The start-up stage with its caption scrolling, whole process under Xvfb (6 s measured)"
if command -v xvfb-run >/dev/null; then
    for size in 1920x1080 3840x2160; do
        (cd "$build/bin" && xvfb-run -a -s "-screen 0 ${size}x24" ./caption_probe 6 2>/dev/null)
    done
fi
