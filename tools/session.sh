# Sourced by the entry scripts (run, test, bench): building, and a Wine
# session on a display that is stopped again whatever the outcome.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
prefix="$root/build/wineprefix"
. "$here/wine-env.sh"
. "$here/xvfb.sh"

# kestrune_build [cmake --build arguments...]
kestrune_build() {
    "$here/install-deps.sh"
    cmake --preset mingw >/dev/null
    cmake --build --preset mingw "$@"
}

kestrune_end_session() {
    # The prefixes of other locales beside ours have servers of their own.
    local p
    for p in "$prefix" "$prefix"-*; do
        [ -d "$p" ] || continue
        WINEPREFIX=$p wineserver -k </dev/null >/dev/null 2>&1 || true
    done
    kestrune_stop_xvfb
}

# kestrune_start_wine prefix [display]: a ready prefix and a persistent
# wineserver with Wine's services started away from the caller's output, on
# the display given (else the current DISPLAY).
kestrune_start_wine() {
    (
        export DISPLAY=${2:-${DISPLAY:-}}
        kestrune_prepare_prefix "$1"
        kestrune_wine_env "$1"
        wineserver -p </dev/null >/dev/null 2>&1
        wine wineboot </dev/null >/dev/null 2>&1 || true
    )
}

# kestrune_begin_session [headless [lanes]]: with "headless", or without a
# DISPLAY, starts a private Xvfb, then Wine in the prefix. With a number of
# lanes above one (the test suite runs two cases at a time), lane N gets an
# Xvfb of its own, exported as KESTRUNE_LANEN_DISPLAY, and a prefix of its own,
# wineprefix-laneN (tools/wine-run.sh takes them for a case ctest runs in
# that lane); KESTRUNE_LANES says how many there are.
kestrune_begin_session() {
    trap kestrune_end_session EXIT
    local lanes=${2:-1} lane
    if [ "${1:-}" = headless ] || [ -z "${DISPLAY:-}" ]; then
        kestrune_start_xvfb
    fi
    kestrune_start_wine "$prefix"
    export KESTRUNE_LANES=$lanes
    for ((lane = 2; lane <= lanes; lane++)); do
        kestrune_start_xvfb "KESTRUNE_LANE${lane}_DISPLAY"
        local lane_display=KESTRUNE_LANE${lane}_DISPLAY
        kestrune_start_wine "$prefix-lane$lane" "${!lane_display}"
    done
    kestrune_wine_env "$prefix"
}
