#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless: a private Xvfb,
# a persistent wineserver for the suite's prefix, then ctest (arguments are
# passed on to it).
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/session.sh"
cd "$root"

kestrune_build
kestrune_begin_session headless
ctest --preset mingw -j "${KESTRUNE_TEST_JOBS:-1}" "$@"
