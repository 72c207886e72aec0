#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Korvane and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

# Checked first: a build of several minutes should not end in "no display".
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Korvane braucht eine grafische Oberfläche: bitte in einer grafischen Sitzung starten." >&2
    echo "Korvane needs a graphical session (DISPLAY or WAYLAND_DISPLAY is not set): run this from a desktop." >&2
    exit 1
fi

bash scripts/deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target korvane
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$(mktemp -d)"
    chmod 700 "$XDG_RUNTIME_DIR"
fi
exec build/korvane
