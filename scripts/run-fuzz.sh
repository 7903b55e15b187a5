#!/bin/sh
# Runs each fuzz target for SECONDS (default 600) with AddressSanitizer and UndefinedBehaviorSanitizer,
# one after the other, at low priority:   scripts/run-fuzz.sh 600 [target...]
# Targets: answers goodsrequest inifile configfile goodsdb exchange1c xls xlsx scanner csv simframes.
# New inputs go to build-fuzz/corpus/<target>/ (the committed seeds stay as they are); a crash, leak
# or time-out is written to build-fuzz/artifacts/<target>/. Keep each one as a regression input:
#   cp build-fuzz/artifacts/<target>/crash-... tests/hardening/regressions/<target>/
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KKT_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-600}
[ $# -gt 0 ] && shift
targets=${*:-answers goodsrequest inifile configfile goodsdb exchange1c xls xlsx scanner csv simframes}

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKKT_FUZZ=ON || exit 1
fi
# KKT_FUZZ_OPTIONS adds libFuzzer options, e.g. "-fork=1 -ignore_crashes=1" to go on past a known
# crash.
# KKT_FUZZ_SKIP_BUILD=1 runs the programs already built (while a tree of others does not compile).
if [ "${KKT_FUZZ_SKIP_BUILD:-0}" != 1 ]; then
    flock /tmp/kkt-build.lock cmake --build "$build" --target kkt_fuzz_all || exit 1
fi

# The loaders take file names: their inputs go to a scratch folder of this run.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT INT TERM
export TMPDIR="$scratch"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1:fast_unwind_on_malloc=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp"

failed=""
for t in $targets; do
    corpus="$build/corpus/$t"
    artifacts="$build/artifacts/$t"
    mkdir -p "$corpus" "$artifacts"
    echo "== $t: $seconds s"
    start=$(date +%s)
    nice -n 10 "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 ${KKT_FUZZ_OPTIONS:-} -artifact_prefix="$artifacts/" \
        "$corpus" "$root/fuzz/corpus/$t" > "$build/fuzz-$t.log" 2>&1
    rc=$?
    end=$(date +%s)
    grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb|cov: " "$build/fuzz-$t.log" | tail -3
    echo "   exit $rc after $((end - start)) s, log $build/fuzz-$t.log"
    [ $rc -ne 0 ] && failed="$failed $t"
done
if [ -n "$failed" ]; then
    echo "FAILED:$failed"
    exit 1
fi
echo "all targets ran clean"
