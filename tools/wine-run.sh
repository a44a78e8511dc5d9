#!/usr/bin/env bash
# Runs one Windows program under Wine: tools/wine-run.sh --prefix DIR prog.exe [args...]
# ctest uses it as the emulator of every test executable. The run is bounded
# in time, so a hanging program fails instead of stalling the suite: by
# KESTRUNE_RUN_TIMEOUT seconds, which the suites' registration sets ten
# seconds below each case's ctest timeout (150 s when run by hand).
# With KESTRUNE_WINE_LANG set (C.UTF-8, say) the program runs in that locale,
# and with KESTRUNE_WINE_DPI set (120, 144, 192) at that display scale, each
# in a prefix of its own beside DIR.
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$here/wine-env.sh"

prefix=${KESTRUNE_WINEPREFIX:-$here/../build/wineprefix}
if [ "${1:-}" = "--prefix" ]; then
    prefix=$2
    shift 2
fi
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--prefix DIR] program.exe [args...]" >&2; exit 2; }
# A case that ctest runs in a lane other than the first takes that lane's
# display and prefixes (wineprefix-lane2 and those beside it), so that it
# neither draws over nor shares a Wine session with the case running in the
# first lane (see kestrune_begin_session).
lane=1
case ${CTEST_RESOURCE_GROUP_0_LANES:-} in
id:*) lane=${CTEST_RESOURCE_GROUP_0_LANES#id:} && lane=${lane%%,*} ;;
esac
if [ "$lane" != 1 ]; then
    prefix="$prefix-lane$lane"
    lane_display=KESTRUNE_LANE${lane}_DISPLAY
    if [ -z "${!lane_display:-}" ]; then
        echo "wine-run.sh: no display for lane $lane; run the tests through tools/test-headless.sh" >&2
        exit 2
    fi
    export DISPLAY=${!lane_display}
elif [ "${KESTRUNE_LANES:-1}" -gt 1 ] && [ -z "${CTEST_RESOURCE_GROUP_COUNT:-}" ] &&
    [[ " $* " != *" --gtest_list_tests "* ]]; then
    # Without a lane of its own a case would share the first lane's display
    # with whatever runs there: its registration lacks ${KESTRUNE_LANE}.
    echo "wine-run.sh: a case run in lanes without a lane: $*" >&2
    exit 2
fi
prefix=$(kestrune_locale_prefix "$prefix") || exit 2

kestrune_prepare_prefix "$prefix"
kestrune_wine_env "$prefix"
if [ -z "${DISPLAY:-}" ]; then
    echo "wine-run.sh: no DISPLAY; run the tests through tools/test-headless.sh" >&2
    exit 2
fi
# Wine's helper processes (services, the desktop) can outlive the program and
# hold on to its output streams; a caller reading a pipe would then wait for
# them. The program writes to files instead, which are copied out once it ends.
out=$(mktemp)
err=$(mktemp)
timeout -k 10 "${KESTRUNE_RUN_TIMEOUT:-150}" wine "$@" >"$out" 2>"$err" </dev/null
rc=$?
cat "$out"
cat "$err" >&2
rm -f "$out" "$err"
if [ $rc -ne 0 ]; then
    # A crash or a time-out leaves little else to go on.
    echo "wine-run.sh: exit code $rc (124: timed out) in lane $lane, prefix $prefix" >&2
fi
exit $rc
