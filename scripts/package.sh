#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package build-package/korvane_1.0_amd64.deb: the program
# alone, in release mode, without the tests and benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh package
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_TESTS=OFF -DKORVANE_BENCH=OFF >/dev/null
cmake --build build-package -j "$(nproc)" --target korvane
(cd build-package && cpack -G DEB)
