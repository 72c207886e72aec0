#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs each of them.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh bench
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$(mktemp -d)"
    chmod 700 "$XDG_RUNTIME_DIR"
fi
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
for benchmark in build-bench/bench/bench_*; do
    [ -f "$benchmark" ] && [ -x "$benchmark" ] || continue
    echo "== $(basename "$benchmark")"
    "$benchmark"
done
