#!/usr/bin/env bash
# Builds, once, the toolchain that cross-builds Lumora for 64-bit Windows: Qt 6.4.2 (Core, Gui,
# Widgets, Network, Multimedia with its Windows Media Foundation backend), libzip and
# libxlsxwriter for x86_64-w64-mingw32, all from Debian's own source packages and Debian's
# MinGW-w64. Nothing comes from anywhere else.
#
# Everything goes to a cache outside the repository ($LUMORA_WINDOWS_CACHE, by default
# ~/.cache/lumora-windows). Each step leaves a stamp when it is done, so a rerun after an
# interruption starts at the first step without one; a half-built step resumes in its own build
# folder (ninja keeps what it already compiled).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache=${LUMORA_WINDOWS_CACHE:-$HOME/.cache/lumora-windows}
prefix=$cache/prefix          # Qt and the libraries for Windows
src=$cache/src                # Debian's source packages, unpacked
work=$cache/build             # build folders, one per step
stamps=$cache/stamps
jobs=${JOBS:-$(nproc)}
triple=x86_64-w64-mingw32
mkdir -p "$prefix" "$src" "$work" "$stamps"

export LUMORA_WINDOWS_PREFIX=$prefix
mingw_toolchain=$here/mingw-w64.cmake
qt_toolchain=$prefix/lib/cmake/Qt6/qt.toolchain.cmake

step_started=0
say() { printf '[lumora-windows %s] %s\n' "$(date +%H:%M:%S)" "$*"; }
done_step() { [ -e "$stamps/$1" ]; }
mark() { touch "$stamps/$1"; say "done: $1 ($(( $(date +%s) - step_started )) s)"; }
begin() { step_started=$(date +%s); say "step: $1"; }

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

# 1. Debian packages: the cross compilers, the host Qt tools of the same version, Wine.
packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  dpkg-dev ninja-build cmake perl python3 zip
  qt6-base-dev qt6-base-dev-tools qt6-shadertools-dev qt6-shader-baker qt6-multimedia-dev
  qt6-translations-l10n
  wine64 xvfb xauth xdotool imagemagick
)
if ! done_step packages; then
  begin packages
  missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
  mark packages
fi

# 2. Source entries for the archive the binaries come from, then the source packages.
if ! done_step sources; then
  begin sources
  list=/etc/apt/sources.list.d/lumora-deb-src.sources
  if ! grep -rqs "deb-src" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    $sudo tee "$list" >/dev/null <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  fi
  $sudo apt-get update -qq
  (cd "$src" && for p in qt6-base qt6-shadertools qt6-multimedia libzip libxlsxwriter; do
     ls -d "$src"/"${p}"-*/ >/dev/null 2>&1 || ls -d "$src"/"${p#qt6-}"-*/ >/dev/null 2>&1 ||
       apt-get source -qq "$p"
   done)
  mark sources
fi

srcdir() { # the unpacked folder of a source package, by its upstream name's prefix
  local d
  d=$(find "$src" -maxdepth 1 -mindepth 1 -type d -name "$1*" | sort | head -n 1)
  [ -n "$d" ] || { say "source of $1 is missing in $src"; exit 1; }
  echo "$d"
}

host_cmake_dir=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake

# 3. qtbase for Windows. Only what Lumora uses; Qt's bundled third-party code where Windows has
# no system library (PNG, JPEG, HarfBuzz, FreeType, PCRE2); zlib from MinGW's package.
if ! done_step qtbase; then
  begin "qtbase (about an hour on two cores)"
  b=$work/qtbase
  mkdir -p "$b"
  if [ ! -e "$b/build.ninja" ]; then
    rm -rf "$b" && mkdir -p "$b"
    (cd "$b" && "$(srcdir qt6-base-)"/configure \
      -prefix "$prefix" -xplatform win32-g++ -device-option CROSS_COMPILE=$triple- \
      -qt-host-path /usr -release -shared -opensource -confirm-license \
      -nomake examples -nomake tests -no-feature-sql \
      -no-dbus -no-icu -no-glib -no-openssl -schannel \
      -qt-libpng -qt-libjpeg -qt-pcre -qt-harfbuzz -qt-freetype -system-zlib \
      -no-feature-tabletevent \
      -- -G Ninja \
      -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir" \
      -DCMAKE_TOOLCHAIN_FILE="$mingw_toolchain" \
      -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF)
  fi
  # Debian's source package leaves out the Wintab header (src/3rdparty/wintab) that the Windows
  # platform plugin's tablet support needs; Lumora has no use for pen tablets.
  grep -q "^FEATURE_tabletevent:BOOL=OFF" "$b/CMakeCache.txt" || cmake -DFEATURE_tabletevent=OFF "$b"
  cmake --build "$b" --parallel "$jobs"
  cmake --install "$b"
  mark qtbase
fi

# One cmake build of a source package: configured once (a rerun keeps ninja's work), built,
# installed into the cache, stamped.
cmake_step() { # name, source prefix, toolchain file, extra cmake options...
  local name=$1 srcname=$2 toolchain=$3
  shift 3
  if done_step "$name"; then return; fi
  begin "$name"
  local b=$work/$name
  if [ ! -e "$b/build.ninja" ]; then
    cmake -S "$(srcdir "$srcname")" -B "$b" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release "$@"
  fi
  cmake --build "$b" --parallel "$jobs"
  cmake --install "$b"
  mark "$name"
}

# 4. Qt Shader Tools (the multimedia module bakes its video shaders with it), then Multimedia,
# each configured against the Qt just built.
qt_options=(-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir"
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF)
# Qt looks for Media Foundation's import libraries as Windows names them (Mf, Mfplat, Propsys);
# MinGW's are lower case, which a case-sensitive file system does not match by itself.
mingw_lib=/usr/x86_64-w64-mingw32/lib
wmf_libraries=()
for library in Mf Mfuuid Mfplat Mfcore Propsys; do
  wmf_libraries+=("-DWMF_${library^^}_LIBRARY=$mingw_lib/lib${library,,}.a")
done
# The same for headers: Qt includes <Mferror.h>, MinGW ships mferror.h. A folder of links under
# the names Qt uses, made from what its sources include.
case_headers=$cache/case-headers
mkdir -p "$case_headers"
mingw_include=/usr/x86_64-w64-mingw32/include
grep -rhoE '#\s*include [<"][^>"]+[>"]' "$(srcdir qt6-multimedia-)/src" | sed -E 's/#\s*include [<"]//; s/[>"]$//' |
  sort -u | while read -r header; do
  lower=${header,,}
  [ "$lower" != "$header" ] || continue
  for folder in "$mingw_include" "$prefix"/include/Qt*; do
    [ ! -e "$folder/$header" ] || break # found as written
    if [ -e "$folder/$lower" ]; then
      ln -sf "$folder/$lower" "$case_headers/$header"
      break
    fi
  done
done
cmake_step qtshadertools qt6-shadertools- "$qt_toolchain" "${qt_options[@]}"
cmake_step qtmultimedia qt6-multimedia- "$qt_toolchain" "${qt_options[@]}" \
  -DFEATURE_gstreamer=OFF -DFEATURE_ffmpeg=OFF -DFEATURE_wmf=ON -DFEATURE_spatialaudio=OFF \
  "${wmf_libraries[@]}" -DCMAKE_CXX_FLAGS="-I$case_headers"

# 5. zlib's import library is MinGW's; libzip and libxlsxwriter are cross-built with it.
cmake_step libzip libzip- "$mingw_toolchain" -DBUILD_SHARED_LIBS=ON \
  -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_OPENSSL=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF \
  -DENABLE_WINDOWS_CRYPTO=ON -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF \
  -DBUILD_DOC=OFF
cmake_step libxlsxwriter libxlsxwriter- "$mingw_toolchain" -DBUILD_SHARED_LIBS=ON \
  -DBUILD_TESTS=OFF -DBUILD_EXAMPLES=OFF

say "toolchain ready in $cache ($(du -sh "$cache" | cut -f1))"
