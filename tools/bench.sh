#!/bin/bash
# Benchmarks: start-up, list deletion, language lookups and size, each against a reference
# in the same run. Builds what it needs, then writes docs/benchmarks.md.
#   RUNS=30 DELETE_RUNS=9 REPETITIONS=15 tools/bench.sh
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
export BRAMIX_BUILD="${BRAMIX_BUILD:-$root/build}"
build="$BRAMIX_BUILD"
jobs="${JOBS:-2}"
cd "$root"
export BENCH_STARTED=$(date +%s)

# What the build and the prefix need, and Google Benchmark for the lookups.
./tools/install-deps.sh
if ! dpkg-query -W -f='${Status}' libbenchmark-dev 2>/dev/null | grep -q "ok installed"; then
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends libbenchmark-dev \
        || { DEBIAN_FRONTEND=noninteractive $SUDO apt-get update -q &&
             DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends libbenchmark-dev; }
fi

echo "== build: uninstall.exe (i686, x86_64), the benchmarks' programs"
for arch in i686 x86_64; do
    cmake -S . -B "$build/$arch" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" >/dev/null
    cmake --build "$build/$arch" -j "$jobs" --target uninstall >/dev/null
done
cmake -S tools/bench/win -B "$build/bench/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64.cmake" >/dev/null
cmake --build "$build/bench/win" -j "$jobs" >/dev/null
export BENCH_CXX="${CXX:-clang++}"
CXX="$BENCH_CXX" cmake -S tools/bench/host -B "$build/bench/host" >/dev/null
cmake --build "$build/bench/host" -j "$jobs" >/dev/null

. tools/wine-env.sh
# Was the prefix's server already running (tests, say)? Then it stays so afterwards. Its
# socket lies in a folder named after the prefix's device and inode.
was_running=0
if [ -d "$WINEPREFIX" ]; then
    sid=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
    for s in /tmp/.wine-"$(id -u)"/"$sid"/socket /tmp/wine-*/"$sid"/socket; do
        [ -S "$s" ] && was_running=1
    done
fi
./tools/prefix.sh start
[ "$was_running" = 1 ] || trap './tools/prefix.sh stop' EXIT

python3 tools/bench/run.py "$root" "$build" --runs "${RUNS:-30}" --delete-runs "${DELETE_RUNS:-9}" \
    --repetitions "${REPETITIONS:-15}"
