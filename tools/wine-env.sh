# Shared by the scripts that run Windows programs under Wine: the environment
# of a run and the one-time set-up of a prefix. Source it; it defines only
# variables and functions.

kestrune_wine_env() {
    local prefix=$1
    export WINEPREFIX=$prefix
    export WINEDEBUG=${WINEDEBUG:--all}
    # No Mono or Gecko install prompts.
    # KESTRUNE_DLL_OVERRIDES adds overrides of a case's own (the planted
    # libraries' case has Wine search native ones first, as Windows does).
    export WINEDLLOVERRIDES="mscoree,mshtml=${KESTRUNE_DLL_OVERRIDES:+;$KESTRUNE_DLL_OVERRIDES}"
    # Code page 932 for the ANSI APIs, so the Shift-JIS texts show as Japanese;
    # KESTRUNE_WINE_LANG runs a program in another locale (see
    # kestrune_locale_prefix).
    export LANG=${KESTRUNE_WINE_LANG:-ja_JP.UTF-8}
    export LC_ALL=$LANG
    unset WINEARCH
}

# The prefix for a run in the locale KESTRUNE_WINE_LANG at the display
# scale KESTRUNE_WINE_DPI (dots per inch: 96 is 100 %, 144 is 150 %): the
# Japanese 96-dpi prefix itself, or one of that locale's and scale's own
# beside it (wineprefix-C, wineprefix-dpi144, wineprefix-C-dpi144), so that
# no setting of one prefix can make another run look right.
kestrune_locale_prefix() {
    local prefix=$1
    case ${KESTRUNE_WINE_LANG:-ja_JP.UTF-8} in
    ja_JP.UTF-8) ;;
    *) prefix="$prefix-${KESTRUNE_WINE_LANG%%.*}" ;;
    esac
    case ${KESTRUNE_WINE_DPI:-96} in
    96) ;;
    *[!0-9]*)
        echo "KESTRUNE_WINE_DPI must be a number of dots per inch, not '$KESTRUNE_WINE_DPI'" >&2
        return 2
        ;;
    *) prefix="$prefix-dpi$KESTRUNE_WINE_DPI" ;;
    esac
    echo "$prefix"
}

# The display scale a prefix is made for, from its name: 96 unless it ends
# in -dpiN.
kestrune_prefix_dpi() {
    case $1 in
    *-dpi[0-9]*) echo "${1##*-dpi}" ;;
    *) echo 96 ;;
    esac
}

# Creates and configures the prefix on first use. Wine's helper processes
# outlive wineboot and keep its output streams open, so they never get ours.
kestrune_prepare_prefix() {
    local prefix=$1
    [ -f "$prefix/.kestrune-ready-3" ] && return 0
    mkdir -p "$prefix"
    kestrune_wine_env "$prefix"
    wineboot -i </dev/null >"$prefix/wineboot.log" 2>&1 || true
    # A crashing test must fail, not wait on the debugger's dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        </dev/null >>"$prefix/wineboot.log" 2>&1
    # Sound goes to ALSA, where tests can capture it to a file.
    wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d alsa /f \
        </dev/null >>"$prefix/wineboot.log" 2>&1
    # Xvfb has no window manager; Wine would wait for one on every new window
    # and draw no frames. Unmanaged, Wine draws the caption itself.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        </dev/null >>"$prefix/wineboot.log" 2>&1
    # The display scale: Wine 8 gives every program, DPI-aware or not, the
    # LogPixels of the user's desktop settings as the screen's and every
    # window's DPI. A new prefix has no such value, and Wine falls back to
    # the machine's Hardware Profiles\Current\Software\Fonts LogPixels (96).
    local dpi
    dpi=$(kestrune_prefix_dpi "$prefix")
    if [ "$dpi" != 96 ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            </dev/null >>"$prefix/wineboot.log" 2>&1
    fi
    wineserver -w </dev/null >/dev/null 2>&1 || true
    # The user's Documents folder is Wine's link to the Unix home; a folder
    # of the prefix's own keeps what a program files there (the results of a
    # working folder it cannot write) inside the build tree.
    local documents
    documents="$prefix/drive_c/users/$(id -un)/Documents"
    if [ -L "$documents" ]; then
        rm -f "$documents" && mkdir -p "$documents"
    fi
    touch "$prefix/.kestrune-ready-3"
}
