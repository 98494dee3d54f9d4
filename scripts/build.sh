#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing for building and testing, then configures and builds everything
# (programs, tests, benchmarks) into build/ (program folder build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
cmake --preset default
cmake --build build --parallel "$(nproc)"
