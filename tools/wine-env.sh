# Shared by the scripts that run Windows programs under Wine: the environment
# of a run and the one-time set-up of a prefix. Source it; it defines only
# variables and functions.

kestrune_wine_env() {
    local prefix=$1
    export WINEPREFIX=$prefix
    export WINEDEBUG=${WINEDEBUG:--all}
    # No Mono or Gecko install prompts.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # Code page 932 for the ANSI APIs, so the Shift-JIS texts show as Japanese;
    # KESTRUNE_WINE_LANG runs a program in another locale (see
    # kestrune_locale_prefix).
    export LANG=${KESTRUNE_WINE_LANG:-ja_JP.UTF-8}
    export LC_ALL=$LANG
    unset WINEARCH
}

# The prefix for a run in the locale KESTRUNE_WINE_LANG: the Japanese prefix
# itself, or one of the locale's own beside it, so that no setting of a
# Japanese prefix can make a foreign-locale run look right.
kestrune_locale_prefix() {
    local prefix=$1
    case ${KESTRUNE_WINE_LANG:-ja_JP.UTF-8} in
    ja_JP.UTF-8) echo "$prefix" ;;
    *) echo "$prefix-${KESTRUNE_WINE_LANG%%.*}" ;;
    esac
}

# Creates and configures the prefix on first use. Wine's helper processes
# outlive wineboot and keep its output streams open, so they never get ours.
kestrune_prepare_prefix() {
    local prefix=$1
    [ -f "$prefix/.kestrune-ready-2" ] && return 0
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
    wineserver -w </dev/null >/dev/null 2>&1 || true
    touch "$prefix/.kestrune-ready-2"
}
