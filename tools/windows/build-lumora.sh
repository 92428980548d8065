#!/usr/bin/env bash
# Cross-builds Lumora for 64-bit Windows with the toolchain of build-toolchain.sh and lays out
# the program folder that event staff copy to their PC:
#   dist/Lumora-windows-x64/      lumora.exe, lumora-verify.exe, the DLLs, plugins, translations
#                                 and the bundled settings, roster, pictures and tunes
#   dist/Lumora-windows-x64.zip   the same folder, zipped
# With --tests it also builds the unit suites as .exe into build-windows/tests.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cache=${LUMORA_WINDOWS_CACHE:-$HOME/.cache/lumora-windows}
prefix=$cache/prefix
triple=x86_64-w64-mingw32
build=$root/build-windows
dist=$root/dist/Lumora-windows-x64
tests=OFF
[ "${1:-}" = "--tests" ] && tests=ON

"$here/build-toolchain.sh"

export LUMORA_WINDOWS_PREFIX=$prefix
# pkg-config finds libzip and libxlsxwriter of the cache only, never the host's.
export PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
export PKG_CONFIG_SYSROOT_DIR=
cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$here/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
  -DCMAKE_BUILD_TYPE=Release -DLUMORA_TESTS=$tests
cmake --build "$build" --parallel "${JOBS:-$(nproc)}"

# The program directory: the executables, then everything they load, found by following their
# imports (objdump) through the cache, Qt's plugins and MinGW's runtime.
rm -rf "$dist"
mkdir -p "$dist"
cp "$build/bin/lumora.exe" "$build/bin/lumora-verify.exe" "$dist/"
for asset in SysInfo.ini 参与抽奖名单.vok B3.jpg "Varneth - 默.mp3" "Ostrevel - 西班牙斗牛士.mp3"; do
  cp "$root/assets/$asset" "$dist/"
done
mkdir -p "$dist/plugins/platforms" "$dist/plugins/imageformats" "$dist/plugins/multimedia" \
  "$dist/translations"
cp "$prefix/plugins/platforms/qwindows.dll" "$dist/plugins/platforms/"
cp "$prefix/plugins/imageformats/qjpeg.dll" "$dist/plugins/imageformats/"
mkdir -p "$dist/plugins/styles"
cp "$prefix/plugins/styles/qwindowsvistastyle.dll" "$dist/plugins/styles/" # the look of Windows 10/11
cp "$prefix"/plugins/multimedia/*.dll "$dist/plugins/multimedia/"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$dist/translations/"
cp /usr/share/qt6/translations/qt_zh_CN.qm "$dist/translations/" 2>/dev/null || true
printf '[Paths]\nPlugins = plugins\nTranslations = translations\n' >"$dist/qt.conf"

mingw_dirs=("$prefix/bin" "$prefix/lib" /usr/$triple/lib /usr/lib/gcc/$triple/*-posix)
find_dll() {
  local d
  for d in "${mingw_dirs[@]}"; do
    [ -e "$d/$1" ] && { echo "$d/$1"; return 0; }
  done
  return 0 # not ours: a DLL of Windows itself
}
pending=("$dist"/*.exe "$dist"/plugins/*/*.dll)
while [ ${#pending[@]} -gt 0 ]; do
  next=()
  for binary in "${pending[@]}"; do
    for dll in $($triple-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p'); do
      [ -e "$dist/$dll" ] && continue
      path=$(find_dll "$dll")
      [ -n "$path" ] || continue # a DLL of Windows itself
      cp "$path" "$dist/"
      next+=("$dist/$dll")
    done
  done
  pending=("${next[@]+"${next[@]}"}")
done

(cd "$root/dist" && rm -f Lumora-windows-x64.zip && zip -qr Lumora-windows-x64.zip Lumora-windows-x64)
echo "dist/Lumora-windows-x64 ($(du -sh "$dist" | cut -f1)), dist/Lumora-windows-x64.zip"
