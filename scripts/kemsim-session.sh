# Shell helpers shared by the demo, the screenshots and the KEMGPS measurement scripts; source
# this file.

# begin_session: an empty pids array and an EXIT trap that ends every process in it and removes
# the folder work, when one was set.
begin_session() {
    pids=()
    trap end_session EXIT
}
end_session() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    [[ -z ${work:-} ]] || rm -rf "$work"
}

# temporary_program_folder: a temporary folder work laid out as a program folder (the build's
# KEMWWL.dat, empty EKSPEDICIJOS/ and SKVERAI/) and exported as KEMGPS_PROGRAM_DIR.
temporary_program_folder() {
    work=$(mktemp -d)
    mkdir -p "$work/EKSPEDICIJOS" "$work/SKVERAI"
    cp "$BIN/KEMWWL.dat" "$work/"
    export KEMGPS_PROGRAM_DIR=$work
}

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
