#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a private DESTDIR under /usr and compares the files
# installed with the expected list.
# Usage: installed.sh build-folder expected-list libdir
# (@LIBDIR@ in the list stands for the libdir, which depends on the prefix.)
set -euo pipefail
usage="usage: installed.sh build-folder expected-list libdir"
build=${1:?$usage}
expected=${2:?$usage}
libdir=${3:?$usage}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
(cd "$stage" && find . -type f -o -type l | sed 's|^\.||' | LC_ALL=C sort) >"$stage.list"
trap 'rm -rf "$stage" "$stage.list"' EXIT
sed "s|@LIBDIR@|$libdir|" "$expected" | diff -u - "$stage.list"
[ -x "$stage/usr/bin/korvane" ] || { echo "installed: /usr/bin/korvane is not executable" >&2; exit 1; }
