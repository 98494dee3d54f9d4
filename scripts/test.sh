#!/usr/bin/env bash
# Install what is missing, build, and run the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --test-dir build --output-on-failure --timeout 900
