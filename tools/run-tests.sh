#!/bin/bash
# Runs the tests of each built architecture under Wine, with a persistent wineserver
# that is started and warmed up here, outside ctest.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
"$here/prefix.sh" start
"$here/prefix.sh" families
trap '"$here/prefix.sh" stop' EXIT
status=0
for arch in "$@"; do
    if [ "$arch" = i686 ] && [ "$BRAMIX_RUNS_32BIT" != 1 ]; then
        echo "== i686: built, but not run: this host's kernel runs no 32-bit code (ia32 emulation is off), so Wine cannot start 32-bit programs"
        continue
    fi
    echo "== $arch"
    (cd "$BRAMIX_BUILD/$arch" && ctest --output-on-failure -j "${JOBS:-2}" ${CTEST_ARGS:-}) || status=1
done
"$here/host-tests.sh" || status=1
echo "== lngtool"
(cd "$BRAMIX_BUILD/lngtool" && ctest --output-on-failure) || status=1
exit $status
