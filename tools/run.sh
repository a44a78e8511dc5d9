#!/usr/bin/env bash
# Builds Kestrune.exe and runs it under Wine. Its working folder, and so its
# Settings.ini and Results.csv, is build/run.
# With a display, the program opens on it for you to use.
# Without one, the program runs on a private Xvfb while kestrune_player plays
# one whole test on it as a listener who hears every tone; screenshots of the
# screens and the tones played (WAV) are left in a folder named at the end,
# and the test's row of Results.csv is printed.
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/session.sh"
cd "$root"

if [ -n "${DISPLAY:-}" ]; then
    kestrune_build --target Kestrune
    kestrune_begin_session
    mkdir -p build/run
    cd build/run
    wine "$root/build/Kestrune.exe"
    exit
fi

kestrune_build --target Kestrune kestrune_player
echo "No DISPLAY: Kestrune runs headless and a player works through one whole test."
kestrune_begin_session headless
out="$root/build/played-$(date +%Y%m%d-%H%M%S)"
mkdir -p "$out" build/run
# The program's sound goes to a file in its working folder, where the player
# reads it.
ALSA_CONFIG_PATH="$here/alsa/capture.conf" \
    "$here/wine-run.sh" --prefix "$prefix" build/tests/e2e/kestrune_player.exe "$out" "$root/build/run"
python3 "$here/bmp_to_png.py" "$out"/*.bmp
echo "Screenshots and the tones played are in $out"
results=build/run/Results.csv
if [ -f "$results" ]; then
    # The header and the last row (this test's), without the byte-order mark.
    echo "The test's row in $results (header first):"
    head -n 1 "$results" | sed '1s/^\xEF\xBB\xBF//' | tr -d '\r'
    tail -n 1 "$results" | tr -d '\r'
else
    echo "No $results: is Results=0 set in build/run/Settings.ini?"
fi
