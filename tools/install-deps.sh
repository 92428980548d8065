#!/usr/bin/env bash
# Installs the Debian packages Lumora needs to build, test and run; only the missing ones.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake pkg-config clang libclang-rt-dev
  # Qt 6: widgets, multimedia (GStreamer backend) and the test library
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev libqt6multimedia6
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-alsa
  # Qt's own Chinese translations (file dialog, standard buttons)
  qt6-translations-l10n
  # the workbook for Excel, and reading it back in lumora-verify
  libxlsxwriter-dev libzip-dev
  # CJK fonts for the stage
  fonts-noto-cjk fonts-arphic-ukai
  # a screen without a monitor, for screenshots and the start-up benchmark
  xvfb xauth x11-utils imagemagick xdotool
  # benchmarks
  libbenchmark-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
