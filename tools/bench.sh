#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine on a private Xvfb; they print figures.
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/session.sh"
cd "$root"

kestrune_build --target tone_bench dsb_bench
kestrune_begin_session headless
"$here/wine-run.sh" --prefix "$prefix" build/tests/bench/tone_bench.exe
"$here/wine-run.sh" --prefix "$prefix" build/tests/dsb/dsb_bench.exe
