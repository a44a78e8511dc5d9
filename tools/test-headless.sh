#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless: a private Xvfb,
# a persistent wineserver for the suite's prefix, then ctest. Whatever the
# outcome, what this script started is stopped again.
set -eu
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"

"$here/install-deps.sh"
cmake --preset mingw >/dev/null
cmake --build --preset mingw

. "$here/wine-env.sh"
. "$here/xvfb.sh"
prefix="$root/build/wineprefix"

cleanup() {
    kestrune_wine_env "$prefix"
    wineserver -k </dev/null >/dev/null 2>&1 || true
    kestrune_stop_xvfb
}
trap cleanup EXIT

kestrune_start_xvfb
kestrune_prepare_prefix "$prefix"
kestrune_wine_env "$prefix"
wineserver -p </dev/null >/dev/null 2>&1
# Start Wine's services once, away from ctest's output.
wine wineboot </dev/null >/dev/null 2>&1 || true

ctest --preset mingw -j "${KESTRUNE_TEST_JOBS:-1}" "$@"
