# Shell helpers shared by the demo and the KEMGPS measurement script; source this file.

# start_kemsim OUTFILE [kemsim options...]: starts BIN/kemsim in the background (its pid is
# appended to the array pids) and sets port to the pseudo-terminal it prints first, e.g. pts/3.
start_kemsim() {
    local out=$1
    shift
    "$BIN/kemsim" "$@" >"$out" 2>&1 &
    pids+=($!)
    port=""
    for _ in $(seq 50); do
        port=$(head -n1 "$out" 2>/dev/null || true)
        [[ -n $port ]] && return 0
        sleep 0.1
    done
    echo "kemsim did not start" >&2
    return 1
}

# start_virtual_display: an Xvfb of 1024x768 on a free-looking display number, exported as
# DISPLAY once it answers (its pid is appended to pids).
start_virtual_display() {
    local display=:$((100 + RANDOM % 400))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    export DISPLAY=$display
    for _ in $(seq 100); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "no virtual display" >&2
    return 1
}
