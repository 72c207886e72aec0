#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages a job needs; packages already present are skipped.
# Usage: deps.sh [run|test|bench|package]
#   run      building and running Korvane (the default)
#   test     run, and the tools of the tests (virtual X display, format check, validators)
#   bench    test, and the tools of the benchmarks
#   package  run, and what cpack needs to build the Debian package
set -euo pipefail

run=(
    cmake ninja-build g++            # the build
    qt6-base-dev qt6-qpa-plugins     # Qt 6 Widgets, the X11 platform
    qt6-charts-dev libqt6opengl6-dev # the history's charts (Qt Charts needs Qt OpenGL's CMake files)
    libqt6sql6-sqlite                # the history's database: Qt SQL's SQLite driver
    qt6-translations-l10n            # Qt's own texts in German
    fonts-dejavu-core                # text on the offscreen and X11 platforms
)
test=(
    clang-format                     # the format check of the tests
    xvfb xfonts-base xauth xdotool x11-utils  # the real-window tests
    imagemagick                      # screenshots of the real window
    desktop-file-utils appstream     # the validators of the desktop entry and the metainfo
)
bench=(
    valgrind                         # the benchmarks' instruction counts
    libbenchmark-dev libx11-dev python3  # the benchmarks: Google Benchmark, the screen watcher, the table
)
package=(
    dpkg-dev file                    # cpack's Debian generator and its dependency search
)

case "${1:-run}" in
run) packages=("${run[@]}") ;;
test) packages=("${run[@]}" "${test[@]}") ;;
bench) packages=("${run[@]}" "${test[@]}" "${bench[@]}") ;;
package) packages=("${run[@]}" "${package[@]}") ;;
*)
    echo "usage: deps.sh [run|test|bench|package]" >&2
    exit 2
    ;;
esac

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
