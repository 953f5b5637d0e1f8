#!/usr/bin/env bash
# Builds every fuzz target with clang and runs each for the given number of seconds (default 60), four
# at a time and at low priority. A finding stops its target and leaves the input as
# build/fuzz/artifacts/<name>-crash-...; the summary lists the targets that found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/deps.sh
CXX=clang++ CC=clang cmake -S . -B build/fuzz -DMELQO_FUZZ=ON -DMELQO_TESTS=OFF \
    -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
cmake --build build/fuzz -j3 --target fuzzers
cd build/fuzz
mkdir -p artifacts
export seconds
ls fuzz/*_fuzz | xargs -P4 -I{} bash -c '
    target={}; name=$(basename "$target"); reader=${name%_fuzz}
    mkdir -p corpus/$name
    seeds=(); [ -d ../../fuzz/seeds/$reader ] && seeds=(../../fuzz/seeds/$reader)
    if nice -n 19 "$target" -max_total_time="$seconds" -artifact_prefix=artifacts/$name- corpus/$name \
        "${seeds[@]}" > $name.log 2>&1; then
        echo "$name: $(grep -Eo "Done [0-9]+ runs" $name.log)"
    else
        echo "$name: FINDING, see build/fuzz/$name.log"
    fi'
