#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a validator on a data file; skipped (77) where the validator is not installed.
# Usage: validate.sh tool [arguments...] file
set -euo pipefail
if ! command -v "$1" >/dev/null; then
    echo "validate: $1 is missing (bash scripts/deps.sh test installs it); skipped" >&2
    exit 77
fi
"$@"
