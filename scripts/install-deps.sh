#!/usr/bin/env bash
# Installs every Debian 12 package the project builds, tests and runs with.
# Idempotent: packages already present are skipped, so a second run is fast.
#
#   install-deps.sh          what building, testing and running need
#   install-deps.sh --fuzz   and clang with libFuzzer, for `make fuzz`
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config git ccache clang-format lld
  # Qt 5.15: Widgets, Test, Sql (+ SQLite driver), Svg, Linguist tools
  qtbase5-dev qtbase5-dev-tools qttools5-dev qttools5-dev-tools
  libqt5svg5-dev libqt5sql5-sqlite
  # SQLite itself, for the test writer that stops a save midway
  libsqlite3-dev
  # 3D scene
  libvtk9-dev libvtk9-qt-dev libpng-dev
  # seismic files, logging, mail, terminal
  libsegyio-dev python3-segyio libspdlog-dev libfmt-dev
  # coordinate reference systems
  libproj-dev proj-data
  libcurl4-openssl-dev libgmime-3.0-dev
  libqtermwidget5-1-dev libutf8proc-dev
  # headless GUI and screenshots
  xvfb xauth libgl1-mesa-dri imagemagick
  # test peers
  python3 python3-aiosmtpd python3-dotenv
  # the benchmarks' reference scene (bench/reference_scene.py); korvex does not use them
  python3-vispy python3-pyqt5 python3-pyqt5.qtopengl python3-numpy
  # bench_first_picture reads korvex's maximum resident size from GNU time
  time
)
if [ "${1:-}" = "--fuzz" ]; then
  # libclang-rt-14-dev holds libFuzzer and clang's sanitizer run-times.
  PACKAGES+=(clang libclang-rt-14-dev)
fi

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
