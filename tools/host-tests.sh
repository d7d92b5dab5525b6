#!/bin/bash
# Builds the byte-level code natively with clang's sanitizers, runs its tests, then each
# fuzz target for FUZZ_SECONDS (30 by default) from its committed seed corpus.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${BRAMIX_BUILD:-$root/build}/host"
CXX=clang++ cmake -S "$root/tests/host" -B "$build" >/dev/null
cmake --build "$build" -j "${JOBS:-2}" >/dev/null
echo "== host (clang, address and undefined-behaviour sanitizers)"
(cd "$build" && ctest --output-on-failure)
seconds="${FUZZ_SECONDS:-30}"
[ "$seconds" -gt 0 ] || exit 0
for fuzzer in "$build"/*_fuzz; do
    name=$(basename "$fuzzer" _fuzz)
    work=$(mktemp -d)
    # The committed seeds stay as they are; new inputs go to a scratch corpus.
    "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 "$work" "$root/tests/host/corpus/$name" \
        >"$work.log" 2>&1 || { cat "$work.log"; rm -rf "$work" "$work.log"; echo "fuzzer $name failed"; exit 1; }
    echo "fuzz $name: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work.log" | grep -o '[0-9]*$') executions, no failure"
    rm -rf "$work" "$work.log"
done
