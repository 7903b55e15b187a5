#!/usr/bin/env bash
# Builds the Windows programs and their tests with MinGW-w64 against the kit, then runs the tests
# under Wine against Linux simulators linked into the prefix as COM ports (windows-sims.sh). Ends with
# CTest's summary. Without a kit it says so in one line and does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/windows-kit.sh
cmake --build build-win -j2

source scripts/windows-sims.sh

ctest --test-dir build-win --output-on-failure --timeout 600 "$@"
