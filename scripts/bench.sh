#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks and prints one table: every figure of Korvane beside
# its baseline, both measured in this run, on a private Xvfb display.
#
#   KORVANE_BENCH_RUNS     interleaved start-ups of each program (15)
#   KORVANE_BENCH_COLOURS  colours of the watched memory game (50)
#   KORVANE_BENCH_BUILD    a build folder to measure as it is, e.g. of an older commit
#                          (default: build-bench, built here first)
#   KORVANE_BENCH_RAW      a folder that receives the raw figures the table is made from
#   KORVANE_BENCH_ALL=1    also runs the detailed benchmarks (bench_dexterity, ...)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${KORVANE_BENCH_RUNS:-15}
colours=${KORVANE_BENCH_COLOURS:-50}
build=${KORVANE_BENCH_BUILD:-}

bash scripts/deps.sh bench
if [ -z "$build" ]; then
    build=build-bench
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_TESTS=OFF >/dev/null
    cmake --build "$build" -j "$(nproc)" >/dev/null
fi
build=$(realpath "$build")
program=$build/korvane

work=$(mktemp -d)
xvfb=
cleanup() {
    jobs -p | xargs -r kill 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
failed() {
    echo "bench.sh failed at line $1; the X server said:" >&2
    tail -5 "$work/xvfb.log" >&2 || true
}
trap 'failed $LINENO' ERR
trap cleanup EXIT
mkdir -m 700 "$work/runtime" "$work/home"
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" QT_QPA_PLATFORM=xcb

# A display of our own: the first free number from 47 on.
for number in 47 48 49 50 51 52; do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1024x768x24 -br -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    export DISPLAY=":$number"
    break
done
[ -n "$xvfb" ] || { echo "no free X display number" >&2; exit 1; }
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start" >&2; exit 1; }

# Where to watch a program's first frame: a pixel of its window's client area
# near the lower right corner, and the colour it has once drawn.
calibrate() { # name program...
    local name=$1
    shift
    "$@" >/dev/null 2>&1 &
    local pid=$!
    timeout 20 xdotool search --sync --onlyvisible --name "^$name\$" >/dev/null
    sleep 1 # drawn by now
    eval "$(xdotool search --onlyvisible --name "^$name\$" getwindowgeometry --shell | head -5)"
    local x=$((X + WIDTH - 6)) y=$((Y + HEIGHT - 6))
    local colour
    colour=$("$build/bench/xwatch" changes "$x" "$y" 0 0 | awk '{ print $2 }')
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$x $y $colour"
}
read -r kx ky kcolour < <(calibrate Korvane "$program")
read -r bx by bcolour < <(calibrate bare "$build/bench/bare")

# Korvane has run before, as for any player but the first time: ended with its
# "beenden" button (the start window's client area is 233 pixels high, the
# button's centre at 64,192 in it), it keeps the sizes its texts were fitted to.
"$program" >/dev/null 2>&1 &
korvane=$!
timeout 20 xdotool search --sync --onlyvisible --name '^Korvane$' >/dev/null
eval "$(xdotool search --onlyvisible --name '^Korvane$' getwindowgeometry --shell | head -5)"
xdotool mousemove $((X + 64)) $((Y + HEIGHT - 233 + 192)) click 1
for _ in $(seq 100); do kill -0 "$korvane" 2>/dev/null || break; sleep 0.1; done
[ -s "$HOME/.cache/korvane/fitting" ] || echo "Korvane kept no fitted sizes: every start-up below fits anew" >&2

echo "start-up: $runs runs of each, interleaved" >&2
for run in $(seq "$runs"); do
    "$build/bench/xwatch" first "$kx" "$ky" "$kcolour" 20000 "$program" >>"$work/start-korvane"
    "$build/bench/xwatch" first "$bx" "$by" "$bcolour" 20000 "$build/bench/bare" >>"$work/start-bare"
    "$build/bench/xwatch" first "$kx" "$ky" "$kcolour" 20000 \
        env XDG_CACHE_HOME="$work/nothing-cached" "$program" >>"$work/start-cold"
done

echo "memory show: $colours colours at the fastest speed, watched from outside" >&2
"$build/bench/memoryshow" "$colours" >"$work/show" 2>/dev/null &
show=$!
for _ in $(seq 200); do grep -q '^start' "$work/show" && break; sleep 0.1; done
read -r _ sx sy < <(grep '^square' "$work/show")
read -r _ cx cy < <(grep '^start' "$work/show")
"$build/bench/xwatch" changes "$sx" "$sy" $((2 * colours)) $((colours * 1500 + 10000)) >"$work/changes" &
watcher=$!
sleep 0.5
xdotool mousemove "$cx" "$cy" click 1
wait "$watcher"
kill "$show" 2>/dev/null || true
wait "$show" 2>/dev/null || true

echo "open and close, pointer sample, stopwatch, reaction chain" >&2
"$build/bench/bench_windows" >"$work/windows" 2>/dev/null
"$build/bench/bench_micro" --benchmark_repetitions=15 --benchmark_enable_random_interleaving=true \
    --benchmark_min_time=0.05 --benchmark_format=json >"$work/micro.json" 2>/dev/null
"$build/bench/bench_reaction" >"$work/reaction"

echo
echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs), Xvfb, RelWithDebInfo"
python3 bench/table.py "$work" "$colours"
if [ -n "${KORVANE_BENCH_RAW:-}" ]; then
    mkdir -p "$KORVANE_BENCH_RAW"
    cp "$work"/start-* "$work"/show "$work"/changes "$work"/windows "$work"/micro.json "$work"/reaction "$KORVANE_BENCH_RAW"
fi

if [ "${KORVANE_BENCH_ALL:-0}" = 1 ]; then
    for benchmark in bench_dexterity bench_lists bench_history; do
        echo "== $benchmark"
        "$build/bench/$benchmark"
    done
fi
