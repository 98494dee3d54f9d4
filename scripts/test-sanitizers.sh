#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs it. Any report of either fails its test: undefined behaviour aborts,
# and so does a leak (system libraries' own leaks excepted, scripts/lsan-suppressions.txt).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset asan > /dev/null
cmake --build build-asan --parallel "$(nproc)"
# No strict_string_checks: libxkbcommon (under the X11 end-to-end test) strndup()s buffers
# that are bounded but not terminated, which that check reports although the call is sound.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
ctest --test-dir build-asan --output-on-failure --timeout 1800
