#!/usr/bin/env bash
# Runs each fuzz target for a set time on a copy of its corpus and reports executions.
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
for target in ${TARGETS:-ini lines numeric results journal workbook}; do
    # A workbook is a zip of several kilobytes; the other inputs are small texts.
    max_len=4096
    [ "$target" = workbook ] && max_len=65536
    work=$(mktemp -d)
    cp -r "$here/corpus/$target/." "$work/"
    echo "== fuzz_$target for ${seconds}s"
    "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
        -print_final_stats=1 "$work" 2>&1 | grep -E 'stat::number_of_executed_units|ERROR|invariant|SUMMARY' || true
    if [ "${MERGE:-0}" = 1 ]; then
        # Keep only the inputs that add coverage to the committed corpus.
        "$build/fuzz/fuzz_$target" -merge=1 -max_len="$max_len" "$here/corpus/$target" "$work" >/dev/null 2>&1
        echo "   corpus now $(ls "$here/corpus/$target" | wc -l) files"
    fi
    rm -rf "$work"
done
