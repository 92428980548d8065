#!/usr/bin/env bash
# Re-makes Lumora's own assets under assets/: pictures, tunes, default settings, sample roster.
# Needs the build dependencies plus lame (apt-get install lame) to encode the tunes.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake -S "$here/tools/assetgen" -B "$work/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" -j2 >/dev/null
QT_QPA_PLATFORM=offscreen "$work/build/assetgen" "$here/assets/design" "$here/assets" "$work"
lame --quiet -b 128 --tt "默" --ta "Varneth" "$work/calm.wav" "$here/assets/Varneth - 默.mp3"
lame --quiet -b 128 --tt "西班牙斗牛士" --ta "Ostrevel" "$work/lively.wav" \
    "$here/assets/Ostrevel - 西班牙斗牛士.mp3"
echo "assets made in $here/assets"
