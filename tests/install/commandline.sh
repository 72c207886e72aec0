#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line without any display: help and version print and end with 0,
# an unknown option ends with 2, a start without display explains and ends with 1.
# Usage: commandline.sh path/to/korvane
set -uo pipefail
program=${1:?usage: commandline.sh path/to/korvane}
failures=0

# expect <exit code> <stdout pattern> <stderr pattern> <arguments...>; "" matches nothing printed.
expect() {
    local code=$1 out=$2 err=$3
    shift 3
    local stdout stderr status
    stdout=$(mktemp) stderr=$(mktemp)
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@" >"$stdout" 2>"$stderr"
    status=$?
    if [ "$status" -ne "$code" ] \
        || { [ -n "$out" ] && ! grep -q -- "$out" "$stdout"; } || { [ -z "$out" ] && [ -s "$stdout" ]; } \
        || { [ -n "$err" ] && ! grep -q -- "$err" "$stderr"; } || { [ -z "$err" ] && [ -s "$stderr" ]; }; then
        echo "commandline: korvane $* ended with $status (expected $code)" >&2
        sed 's/^/  stdout: /' "$stdout" >&2
        sed 's/^/  stderr: /' "$stderr" >&2
        failures=$((failures + 1))
    fi
    rm -f "$stdout" "$stderr"
}

expect 0 '^  -h, --help     Zeigt diese Hilfe an\.$' '' --help
expect 0 '^Aufruf: korvane \[Optionen\]$' '' -h
expect 0 '^Korvane 1\.0$' '' --version
expect 0 '^Korvane 1\.0$' '' -v
expect 1 '' '^Korvane braucht eine grafische Oberfläche'
expect 1 '' '^Korvane braucht eine grafische Oberfläche' -style Fusion
expect 2 '' '^korvane: Unbekannte Option „--bunt“' --bunt
expect 2 '' '^korvane: Unbekannte Option „-x“' -style Fusion -x
expect 2 '' '^korvane: Nach „-platform“ fehlt ein Wert' -platform
expect 2 '' '^korvane: Unerwartetes Argument „Spiel“' Spiel
# A Wayland session that also offers X: the program goes to X (here an X server
# that is not there), unless a platform is chosen.
chosen() {
    local said
    said=$(env -u QT_QPA_PLATFORM DISPLAY=:65000 WAYLAND_DISPLAY=korvane-test-none XDG_SESSION_TYPE=wayland \
        "$program" "$@" 2>&1)
    grep -q -- 'qt.qpa.xcb: could not connect to display :65000' <<<"$said"
}
chosen || { echo "commandline: with DISPLAY and WAYLAND_DISPLAY set, X was not chosen" >&2; failures=$((failures + 1)); }
! chosen -platform korvane-none || { echo "commandline: -platform was overruled" >&2; failures=$((failures + 1)); }
exit $((failures > 0))
