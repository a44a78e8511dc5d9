# Sourced: kestrune_start_xvfb starts a private 24-bit Xvfb on a free display
# and exports DISPLAY; kestrune_stop_xvfb ends it.
KESTRUNE_XVFB_PID=

kestrune_start_xvfb() {
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" </dev/null >/dev/null 2>&1 &
    KESTRUNE_XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    if [ ! -s "$fdfile" ]; then
        echo "Xvfb did not start" >&2
        rm -f "$fdfile"
        return 1
    fi
    export DISPLAY=":$(head -n1 "$fdfile" | tr -d '[:space:]')"
    rm -f "$fdfile"
}

kestrune_stop_xvfb() {
    if [ -n "$KESTRUNE_XVFB_PID" ]; then
        kill "$KESTRUNE_XVFB_PID" 2>/dev/null || true
        wait "$KESTRUNE_XVFB_PID" 2>/dev/null || true
        KESTRUNE_XVFB_PID=
    fi
}
