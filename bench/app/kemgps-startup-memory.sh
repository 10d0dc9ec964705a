#!/usr/bin/env bash
# Measures KEMGPS on a virtual display (Xvfb):
#  1. start-up: time from process start to the main window being mapped, over RUNS starts;
#  2. resident memory while connected to "kemsim --speed 10" with the raw text window and the
#     satellite window open, sampled every SAMPLE seconds for MINUTES minutes.
# Usage: bench/app/kemgps-startup-memory.sh [build-dir]   (env: RUNS=10 MINUTES=10 SAMPLE=30)
# Runs on a temporary program folder, so the build's own KEMGPS.ini is not touched.
set -euo pipefail

BUILD=${1:-build}
BIN=$(cd "$BUILD/bin" && pwd)
RUNS=${RUNS:-10}
MINUTES=${MINUTES:-10}
SAMPLE=${SAMPLE:-30}

source "$(dirname "$0")/../../scripts/kemsim-session.sh"
begin_session
temporary_program_folder

start_virtual_display

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

echo "start-up (process start to main window mapped), $RUNS runs:"
times=()
for run in $(seq "$RUNS"); do
    start=$(now_ms)
    "$BIN/KEMGPS" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" --name '^KEM GPS' >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { echo "KEMGPS ended early" >&2; exit 1; }
        sleep 0.002
    done
    end=$(now_ms)
    times+=($((end - start)))
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
echo "  ms: $(echo $sorted | tr '\n' ' ')"
echo "  median: $(echo "$sorted" | sed -n "$(( (RUNS + 1) / 2 ))p") ms"

echo "memory while connected to kemsim --speed 10, $MINUTES minutes:"
start_kemsim "$work/kemsim.out" --speed 10
printf '[SETTINGS]\nPort=%s\n' "$port" >"$work/KEMGPS.ini"
"$BIN/KEMGPS" >/dev/null 2>&1 &
pid=$!
pids+=($pid)
main=$(xdotool search --sync --onlyvisible --pid "$pid" --name '^KEM GPS' | head -n1)
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+p   # "&Prijungti"
xdotool key --window "$main" alt+g   # "&GPS tekstas"
xdotool key --window "$main" alt+o   # "Palyd&ovai"
samples=$(( MINUTES * 60 / SAMPLE ))
for i in $(seq 0 "$samples"); do
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
    printf '  t=%4ds  RSS %6d kB\n' $(( i * SAMPLE )) "$rss"
    (( i < samples )) && sleep "$SAMPLE"
done
