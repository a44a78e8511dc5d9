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

# kestrune_begin_session [headless]: with "headless", or without a DISPLAY,
# starts a private Xvfb. Then a ready prefix and a persistent wineserver with
# Wine's services started away from the caller's output.
kestrune_begin_session() {
    trap kestrune_end_session EXIT
    if [ "${1:-}" = headless ] || [ -z "${DISPLAY:-}" ]; then
        kestrune_start_xvfb
    fi
    kestrune_prepare_prefix "$prefix"
    kestrune_wine_env "$prefix"
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1 || true
}
