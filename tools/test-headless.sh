#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless, then ctest
# (arguments are passed on to it). The cases run two at a time, in two lanes,
# each with a private Xvfb and a Wine session of its own (see
# kestrune_begin_session); KESTRUNE_TEST_LANES=1 runs them one at a time in
# one.
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/session.sh"
cd "$root"

# Two lanes (build/lanes.json and the preset mingw-lanes), or one on request.
lanes=2
[ "${KESTRUNE_TEST_LANES:-2}" != 1 ] || lanes=1
kestrune_build
kestrune_begin_session headless "$lanes"
if [ "$lanes" -gt 1 ]; then
    # Discovery first, alone: the cases' lists are written before any lane
    # starts (each list is made again whenever its executable is newer).
    ctest --preset mingw -N >/dev/null
    ctest --preset mingw-lanes "$@"
else
    ctest --preset mingw "$@"
fi
