#!/bin/sh
# Writes the fuzz targets' seed corpora into fuzz/corpus/<target>/ with the project's own writers
# (the generator fuzz/makeseeds.cpp, built in the clang fuzz tree build-fuzz/).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KKT_FUZZ_BUILD:-$root/build-fuzz}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKKT_FUZZ=ON
fi
flock /tmp/kkt-build.lock cmake --build "$build" --target kkt-fuzz-seeds
rm -rf "$root/fuzz/corpus"
mkdir -p "$root/fuzz/corpus"
"$build/fuzz/kkt-fuzz-seeds" "$root/fuzz/corpus"
du -sh "$root/fuzz/corpus"
