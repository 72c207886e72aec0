#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Korvane and runs the whole test suite twice: a plain build, then one
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh test
jobs=$(nproc)

# The code keeps the repository's format (.clang-format, Debian's clang-format 14).
find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run --Werror

# Every source file names its licence.
unlicensed=$(git ls-files '*.cpp' '*.h' '*.sh' '*.py' '*CMakeLists.txt' | xargs grep -L 'SPDX-License-Identifier: GPL-3.0-or-later' || true)
[ -z "$unlicensed" ] || { echo "no SPDX line in: $unlicensed" >&2; exit 1; }

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON -DKORVANE_BENCH=OFF >/dev/null
cmake --build build-sanitize -j "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-sanitize && ctest --output-on-failure -j "$jobs")
