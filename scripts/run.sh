#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The front door: install what is missing, build, make the sample dictionary, open the window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
if cmake --build build --target help | grep -q '^sample-data'; then
    cmake --build build --target sample-data
fi
exec build/bin/vellumstack
