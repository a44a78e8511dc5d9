#!/usr/bin/env bash
# Builds Kestrune.exe and runs it under Wine. Settings.ini lives in the
# working folder build/run. Without a display the program runs on a private
# Xvfb, where nobody can see it; set DISPLAY to watch and use it.
set -eu
. "$(dirname "${BASH_SOURCE[0]}")/session.sh"
cd "$root"

kestrune_build --target Kestrune
[ -n "${DISPLAY:-}" ] || echo "No DISPLAY: Kestrune runs on a private, invisible Xvfb (stop it with Ctrl+C)."
kestrune_begin_session
mkdir -p build/run
cd build/run
wine "$root/build/Kestrune.exe"
