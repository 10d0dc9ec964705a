#!/usr/bin/env bash
# make demo: KEMGPS on the simulated receiver kemsim.
#   With a display: starts both; press "Prijungti" in the main window to connect.
#   Without one ($DISPLAY empty): runs the same under Xvfb, presses the button itself, waits
#   about 20 seconds, saves screenshots to <build>/demo/ and ends everything.
# Only the Port key of the program folder's KEMGPS.ini is changed (the file is created when
# missing).
set -euo pipefail

BUILD=${1:-build}
BIN=$BUILD/bin
OUT=$BUILD/demo
WAIT=${KEM_DEMO_SECONDS:-20}
mkdir -p "$OUT"

source "$(dirname "$0")/kemsim-session.sh"
begin_session

# --- the simulated receiver on a pseudo-terminal; its first output line names the port
start_kemsim "$OUT/kemsim.out"
echo "demo: kemsim sends on /dev/$port"

# --- Port=<port> in section SETTINGS; every other line stays as it is
ini=$BIN/KEMGPS.ini
[[ -f $ini ]] || printf '[SETTINGS]\n' >"$ini"
awk -v port="$port" '
    function flush() { if (insec && !done) { print "Port=" port; done = 1 } }
    /^[ \t]*\[/ { flush(); insec = (tolower($0) ~ /^[ \t]*\[settings\]/); print; next }
    insec && tolower($0) ~ /^[ \t]*port[ \t]*=/ { if (!done) { print "Port=" port; done = 1 }; next }
    { print }
    END { flush(); if (!done) { print "[SETTINGS]"; print "Port=" port } }
' "$ini" >"$ini.new" && mv "$ini.new" "$ini"

if [[ -n ${DISPLAY:-} ]]; then
    echo "demo: press \"Prijungti\" in the KEMGPS window; close it to end the demo"
    "$BIN/KEMGPS"
    exit 0
fi

# --- no display: a virtual one, the button pressed by xdotool, screenshots
start_virtual_display

"$BIN/KEMGPS" >"$OUT/kemgps.out" 2>&1 &
kemgps=$!
pids+=($kemgps)
main=$(xdotool search --sync --onlyvisible --name '^KEM GPS' | head -n1)
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+p   # "&Prijungti"
sleep 1
xdotool key --window "$main" alt+g   # "&GPS tekstas": the raw text window beside it
sleep 0.5
memo=$(xdotool search --onlyvisible --name '^GPS tekstas' | head -n1 || true)
[[ -z $memo ]] || xdotool windowmove "$memo" 540 50
echo "demo: connected; watching the fix for $WAIT seconds"
sleep "$WAIT"

shots=()
import -window root "$OUT/screen.png" && shots+=("$OUT/screen.png")
import -window "$main" "$OUT/kemgps-main.png" && shots+=("$OUT/kemgps-main.png")
if [[ -n $memo ]]; then
    import -window "$memo" "$OUT/kemgps-text.png" && shots+=("$OUT/kemgps-text.png")
fi

# "&Baigti" ends KEMGPS the ordinary way, so it stores its settings and cleans up.
xdotool windowfocus "$main" 2>/dev/null || true
xdotool key --window "$main" alt+b 2>/dev/null || true
for _ in $(seq 30); do
    kill -0 "$kemgps" 2>/dev/null || break
    sleep 0.1
done
echo "demo: screenshots:"
printf '  %s\n' "${shots[@]}"
