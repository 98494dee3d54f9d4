#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Install what is missing, build, and run the whole test suite; then the same suite built
# with AddressSanitizer and UndefinedBehaviorSanitizer, a bounded run of every fuzz target
# (FUZZ_SECONDS each, default 60), and the Windows build with its tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --test-dir build --output-on-failure --timeout 900
scripts/test-sanitizers.sh
scripts/fuzz.sh
scripts/windows.sh
