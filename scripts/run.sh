#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The front door: install what is missing, build the programs, make the sample dictionary,
# open the window. Builds only the programs (the window, the terminal lookup, the data-set
# builder), none of the tests; scripts/test.sh builds the rest. Opens no window when the
# sample dictionary cannot be made.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

# A build folder that exists is configured already; the build configures it again by
# itself when a CMakeLists.txt changed.
if [ ! -f build/CMakeCache.txt ]; then
    echo "==> Configuring the build in build/"
    cmake --preset default >/dev/null
fi

echo "==> Building the programs in build/bin"
cmake --build build --parallel "$(nproc)" --target vellumstack vellumstack-lookup \
    vellumstack-make-dataset

echo "==> Making the sample dictionary in build/bin (made once, checked on every run)"
if ! cmake --build build --target sample-data; then
    echo "run.sh: the sample dictionary could not be made (see above); the window is not opened." >&2
    echo "run.sh: scripts/setup.sh installs its sources (dict-freedict-eng-ara, wordnet-base);" \
        "then run scripts/run.sh again." >&2
    exit 1
fi

echo "==> Opening the window"
exec build/bin/vellumstack
