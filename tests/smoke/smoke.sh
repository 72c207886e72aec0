#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on its own virtual X display, finds the start window,
# checks its client width, clicks "beenden" and expects a clean exit (code 0).
# Usage: smoke.sh path/to/korvane [screenshot.png]
set -euo pipefail

program=${1:?usage: smoke.sh path/to/korvane [screenshot.png]}
screenshot=${2:-}
readonly clientWidth=403 clientHeight=233
# "beenden" sits at x 8..121, y 176..209 of the client area; aim at its middle.
readonly beendenX=64 beendenY=192
readonly waitSeconds=${KORVANE_SMOKE_WAIT:-20}

fail() {
    echo "smoke: $*" >&2
    [ -s "${work:-}/korvane.log" ] && sed 's/^/korvane: /' "$work/korvane.log" >&2
    exit 1
}

for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "smoke: $tool is missing (scripts/deps.sh installs it); skipped" >&2
        exit 77
    fi
done

work=$(mktemp -d)
chmod 700 "$work"
xvfbPid=
programPid=
cleanup() {
    [ -n "$programPid" ] && kill "$programPid" 2>/dev/null
    [ -n "$xvfbPid" ] && kill "$xvfbPid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts clients.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/displayfd" 2>"$work/xvfb.log" &
xvfbPid=$!
display=
read -r -t 10 display <"$work/displayfd" || true
[ -n "$display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

# Nothing from the caller's desktop: this display, the X platform, private runtime and cache
# folders (the program keeps the sizes its texts were fitted to in the cache folder when it ends).
unset WAYLAND_DISPLAY
export DISPLAY=":$display"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime" XDG_CACHE_HOME="$work/cache"
mkdir -m 700 "$XDG_RUNTIME_DIR"

"$program" >"$work/korvane.log" 2>&1 &
programPid=$!

# Polled rather than xdotool's --sync, so that a program that dies early fails at once.
window=
for ((tenth = 0; tenth < waitSeconds * 10; ++tenth)); do
    if ! kill -0 "$programPid" 2>/dev/null; then
        status=0
        wait "$programPid" || status=$?
        programPid=
        fail "ended (code $status) before its window showed"
    fi
    window=$(xdotool search --onlyvisible --name '^Korvane$' 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "no visible window named Korvane within $waitSeconds s"

eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" -eq "$clientWidth" ] || fail "window is $WIDTH pixels wide, expected $clientWidth"
menuBar=$((HEIGHT - clientHeight))
[ "$menuBar" -gt 0 ] && [ "$menuBar" -lt 100 ] || fail "window height $HEIGHT leaves no sensible menu bar above the client area"

if [ -n "$screenshot" ] && command -v import >/dev/null; then
    import -window root "$screenshot"
fi

xdotool mousemove --window "$window" "$beendenX" $((menuBar + beendenY)) click 1

for ((tenth = 0; tenth < waitSeconds * 10; ++tenth)); do
    kill -0 "$programPid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$programPid" 2>/dev/null && fail "still running $waitSeconds s after the click on \"beenden\""

status=0
wait "$programPid" || status=$?
programPid=
[ "$status" -eq 0 ] || fail "ended with exit code $status"
echo "smoke: start window found (menu bar $menuBar px), \"beenden\" ended the program with code 0"
