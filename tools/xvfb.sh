# Sourced: kestrune_start_xvfb starts a private 24-bit Xvfb on a free display
# and exports DISPLAY (or, given a variable's name, exports that variable
# instead); kestrune_stop_xvfb ends every one started.
KESTRUNE_XVFB_PIDS=()

kestrune_start_xvfb() {
    local variable=${1:-DISPLAY}
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" </dev/null >/dev/null 2>&1 &
    KESTRUNE_XVFB_PIDS+=($!)
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
    export "$variable=:$(head -n1 "$fdfile" | tr -d '[:space:]')"
    rm -f "$fdfile"
}

kestrune_stop_xvfb() {
    local pid
    for pid in "${KESTRUNE_XVFB_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    KESTRUNE_XVFB_PIDS=()
}
