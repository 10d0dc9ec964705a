#!/usr/bin/env bash
# make soak: KEMGPS on a virtual display (Xvfb), connected to "kemsim --speed 20" for
# SOAK_MINUTES minutes (default 30), with the satellite window and the raw text window open, a
# position step on every position sentence (Period 1), the log and automatic saving on.
# Every minute it reports KEMGPS's resident memory, open file descriptors, CPU time and log lines;
# at the end the CPU use over the run and whether the log holds exactly one line per position
# sentence that reached the program.
# Usage: bench/app/kemgps-soak.sh [build-dir]
# Runs on a temporary program folder, so the build's own KEMGPS.ini is not touched.
set -euo pipefail

BUILD=${1:-build}
BIN=$(cd "$BUILD/bin" && pwd)
MINUTES=${SOAK_MINUTES:-30}
SPEED=20

source "$(dirname "$0")/../../scripts/kemsim-session.sh"
begin_session
temporary_program_folder
cp "$BIN"/SKVERAI/*.z "$work/SKVERAI/"

start_virtual_display

# kemsim waits until KEMGPS has opened the port, sends exactly MINUTES of data, and keeps a copy
# of every byte that reached the port: the position sentences in it are the log lines to expect.
start_kemsim "$work/kemsim.out" --wait --speed "$SPEED" --count $((MINUTES * 60 * SPEED)) \
    --tee "$work/received.nmea"
kemsim=${pids[-1]}
printf '[SETTINGS]\r\nPort=%s\r\nPeriod=1\r\nLog=1\r\nAutoMap=1\r\n' "$port" >"$work/KEMGPS.ini"
"$BIN/KEMGPS" >"$work/kemgps.out" 2>&1 &
pid=$!
pids+=($pid)
main=$(xdotool search --sync --onlyvisible --pid "$pid" --name '^KEM GPS' | head -n1)
for key in alt+p alt+g alt+o; do   # "&Prijungti", "&GPS tekstas", "Palyd&ovai"
    xdotool windowfocus --sync "$main" key "$key"
    sleep 0.5
done
for title in 'GPS tekstas' 'GPS palydovai'; do
    xdotool search --all --onlyvisible --pid "$pid" --name "^$title\$" >/dev/null ||
        { echo "the window \"$title\" did not open" >&2; exit 1; }
done

ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
log_lines() { tr -cd '\n' <"$work/EKSPEDICIJOS/Log.txt" | wc -c; }
start=$(date +%s)
echo "KEMGPS on kemsim --speed $SPEED for $MINUTES minutes (Period 1, log and saving on, all windows open):"
printf '  %6s %10s %5s %9s %10s %6s\n' minute "RSS kB" fds "CPU s" "log lines" maps
for minute in $(seq 0 "$MINUTES"); do
    (( minute == 0 )) || sleep $(( start + minute * 60 - $(date +%s) ))
    kill -0 "$pid" 2>/dev/null || { echo "KEMGPS has ended" >&2; exit 1; }
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
    fds=$(ls "/proc/$pid/fd" | wc -l)
    maps=$(ls "$work/EKSPEDICIJOS" | grep -c '\.bmp$' || true)
    printf '  %6d %10d %5d %9.1f %10d %6d\n' "$minute" "$rss" "$fds" \
        "$(echo "$(cpu_ticks) / $ticks" | bc -l)" "$(log_lines)" "$maps"
done

# kemsim ends after its last second (the line stays open a second for it); then the program has
# read everything.
while kill -0 "$kemsim" 2>/dev/null; do sleep 1; done
sleep 2
elapsed=$(( $(date +%s) - start ))
echo "CPU use over ${elapsed} s: $(echo "scale=1; 100 * $(cpu_ticks) / $ticks / $elapsed" | bc) % of one core"

# A position sentence: a GGA line once a latitude and a longitude have been received (lines as
# the program cuts them: at CR, without LF).
expected=$(tr -d '\n' <"$work/received.nmea" | tr '\r' '\n' | awk -F, '
    /^\$GPGGA,/ { if ($3 != "") lat = 1; if ($5 != "") lon = 1; if (lat && lon) n++ }
    END { print n + 0 }')
logged=$(log_lines)
echo "position sentences received: $expected, log lines: $logged"

xdotool windowfocus --sync "$main" key alt+b   # "&Baigti"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
    echo "KEMGPS did not end" >&2
    exit 1
fi
status=0
wait "$pid" || status=$?
echo "KEMGPS ended with status $status"
[[ $expected -eq $logged && $status -eq 0 ]]
