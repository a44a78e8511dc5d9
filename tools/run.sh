#!/usr/bin/env bash
# Builds Kestrune.exe and runs it under Wine.
# With a display, the program opens on it for you to use; its working folder,
# and so its Settings.ini, is build/run.
# Without one, the program runs on a private Xvfb while kestrune_player plays
# one whole test on it as a listener who hears every tone; screenshots of the
# screens and the tones played (WAV) are left in a folder named at the end.
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
mkdir -p "$out"
# The program's sound goes to a file in its working folder, the player's folder.
ALSA_CONFIG_PATH="$here/alsa/capture.conf" \
    "$here/wine-run.sh" --prefix "$prefix" build/tests/e2e/kestrune_player.exe "$out"
python3 "$here/bmp_to_png.py" "$out"/*.bmp
echo "Screenshots and the tones played are in $out"
