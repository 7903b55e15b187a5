#!/usr/bin/env bash
# Runs the Windows kkt-bench under Wine against simulators linked into the prefix as COM ports
# (windows-sims.sh); arguments as kkt-bench's. BENCHMARKS.md takes its figures through
#   scripts/bench-report.py --run scripts/run-windows-bench.sh windows
# Use a simulator built without sanitizers: KKT_SIM_BUILD=<a plain Linux build folder>.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/windows-kit.sh
cmake --build build-win -j2 --target kkt-bench >&2
source scripts/windows-sims.sh >&2
build-win/wine-run.sh build-win/kkt-bench.exe "$@"
