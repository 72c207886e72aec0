#!/usr/bin/env bash
# Installs the Debian packages that building, testing and benchmarking Korvane need.
# Packages already present are skipped.
set -euo pipefail

packages=(
    cmake ninja-build g++            # the build
    clang-format                     # the format check of the tests
    qt6-base-dev qt6-qpa-plugins     # Qt 6 Widgets and Qt Test, the X11 platform
    qt6-charts-dev libqt6opengl6-dev # the history's charts (Qt Charts needs Qt OpenGL's CMake files)
    libqt6sql6-sqlite                # the history's database: Qt SQL's SQLite driver
    fonts-dejavu-core                # text on the offscreen and X11 platforms
    xvfb xfonts-base xauth xdotool x11-utils  # the real-window tests
    imagemagick                      # screenshots of the real window
    valgrind                         # the benchmarks' instruction counts
    libbenchmark-dev libx11-dev python3  # the benchmarks: Google Benchmark, the screen watcher, the table
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ ! -r /etc/debian_version ] || [ "$(id -u)" -ne 0 ]; then
    echo "Korvane needs these Debian packages: ${missing[*]}" >&2
    echo "Install them as root: apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
