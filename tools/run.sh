#!/usr/bin/env bash
# Builds Kestrune.exe and runs it under Wine. Settings.ini lives in the
# working folder build/run. Without a display the program runs on a private
# Xvfb, where nobody can see it; set DISPLAY to watch and use it.
set -eu
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/.." && pwd)
cd "$root"

"$here/install-deps.sh"
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Kestrune

. "$here/wine-env.sh"
. "$here/xvfb.sh"
prefix="$root/build/wineprefix"

cleanup() {
    kestrune_wine_env "$prefix"
    wineserver -k </dev/null >/dev/null 2>&1 || true
    kestrune_stop_xvfb
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    kestrune_start_xvfb
    echo "No DISPLAY: Kestrune runs on the headless display $DISPLAY (stop it with Ctrl+C)."
fi
kestrune_prepare_prefix "$prefix"
kestrune_wine_env "$prefix"
mkdir -p build/run
cd build/run
wine "$root/build/Kestrune.exe"
