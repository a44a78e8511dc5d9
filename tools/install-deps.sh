#!/usr/bin/env bash
# Installs what building and running Kestrune on Debian 12 needs, only when
# something is missing: the mingw-w64 cross compiler, CMake and Ninja,
# GoogleTest's sources, Wine, Xvfb, Japanese and Latin fonts, Python (for the
# icon and the screenshots' PNG files), chattr (e2fsprogs, for the tests'
# read-only folders) and the ja_JP.UTF-8 and en_US.UTF-8 locales.
set -eu

packages=(
    cmake ninja-build make
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev googletest
    wine wine64 xvfb xauth x11-utils
    locales fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation2
    alsa-utils libasound2-plugins
    e2fsprogs
    python3
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Japanese for the program's own runs; English (US) for the runs that show
# the interface a listener on an English Windows gets.
for loc in ja_JP en_US; do
    if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
        echo "Generating the $loc.UTF-8 locale"
        "${sudo_cmd[@]}" sed -i "s/^# *\($loc.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen ||
            echo "$loc.UTF-8 UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
        "${sudo_cmd[@]}" locale-gen
    fi
done
