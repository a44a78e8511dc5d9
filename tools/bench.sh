#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine on a private Xvfb; they print figures.
set -eu
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"

"$here/install-deps.sh"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target tone_bench

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
"$here/wine-run.sh" --prefix "$prefix" build/tests/bench/tone_bench.exe
