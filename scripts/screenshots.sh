#!/usr/bin/env bash
# Takes the user guide's screenshots (docs/images/) of every window of KEMGPS and KEMZIP, on a
# virtual display, with kemsim as the receiver and a temporary program folder, so that the guide
# shows what the programs show today.
#
#   scripts/screenshots.sh [BUILD]     (default build; the programs must be built)
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${1:-build}
BIN=$BUILD/bin
OUT=docs/images
mkdir -p "$OUT"

source scripts/kemsim-session.sh
begin_session
work=$(mktemp -d)
unset DISPLAY
start_virtual_display

# A program folder of its own: the data as the build lays it out, settings for a lively sheet.
folder=$work/kemgps
mkdir -p "$folder/EKSPEDICIJOS" "$folder/SKVERAI"
cp "$BIN/KEMWWL.dat" "$folder/"
cp "$BIN"/SKVERAI/*.z "$folder/SKVERAI/" 2>/dev/null || true
export KEMGPS_PROGRAM_DIR=$folder

start_kemsim "$work/kemsim.out" --speed 4
printf '[SETTINGS]\r\nPort=%s\r\nPeriod=1\r\nLog=1\r\nXMain=10\r\nYMain=10\r\n' "$port" \
    >"$folder/KEMGPS.ini"

# window_of TITLE: the id of the visible window whose title starts with TITLE (waits for it).
window_of() {
    timeout 20 xdotool search --sync --onlyvisible --name "^$1" | head -n1
}
# shoot WINDOW NAME: a picture of one window.
shoot() {
    import -window "$1" "$OUT/$2.png"
    echo "screenshots: $OUT/$2.png"
}
# click WINDOW X Y: a left click at a point of the window's client area.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.5
}

"$BIN/KEMGPS" >"$work/kemgps.out" 2>&1 &
pids+=($!)
main=$(window_of 'KEM GPS')
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+p   # "&Prijungti"
sleep 1
xdotool key --window "$main" alt+g   # "&GPS tekstas"
memo=$(window_of 'GPS tekstas')
xdotool windowmove "$memo" 500 10
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+o   # "Palyd&ovai"
sats=$(window_of 'GPS palydovai')
xdotool windowmove "$sats" 500 220
sleep 40                              # a few squares of the drive, tracks on the sky plot
shoot "$main" kemgps-main
shoot "$memo" kemgps-text
shoot "$sats" kemgps-satellites

# The settings dialog: opening "Nustatymai" disconnects.
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+u    # "N&ustatymai"; the open menu takes the next keys
sleep 0.5
xdotool key k                         # "&Kiti nustatymai..."
settings=$(window_of 'Nustatymai')
sleep 0.5
shoot "$settings" kemgps-settings
click "$settings" 200 106             # "Taikyti"

# The QTH calculator: coordinates typed, computed, shown on the main window's sheet.
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+f    # "&Failai"
sleep 0.5
xdotool key Down Down Down Down Down Return   # "Skaičiuoti ir rodyti QTH"
qth=$(window_of ' QTH')
xdotool windowmove "$qth" 500 60      # beside the main window, so both can be pictured
sleep 0.5
click "$qth" 77 52                    # into the latitude degrees: coordinate entry
for text in 54 41 07 25 19 33; do
    xdotool type --window "$qth" "$text"
    xdotool key --window "$qth" Tab
done
click "$qth" 42 137                   # "Skaičiuoti"
click "$qth" 133 137                  # "Rodyti žemėlapyje"
shoot "$qth" kemgps-qth
shoot "$main" kemgps-qth-sheet
click "$qth" 162 158                  # "Uždaryti"
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+b 2>/dev/null || true   # "&Baigti"; the window may be gone first
sleep 1

# "Auto" on a receiver that sends nothing: the status names the rate being tried, and after a
# round of the six rates (about 9 s) the notice line says that no NMEA was found.
start_kemsim "$work/silent.out" --profile silent
printf '[SETTINGS]\r\nPort=%s\r\nBaud=0\r\nXMain=10\r\nYMain=10\r\n' "$port" >"$folder/KEMGPS.ini"
"$BIN/KEMGPS" >"$work/kemgps-auto.out" 2>&1 &
pids+=($!)
main=$(window_of 'KEM GPS')
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+p   # "&Prijungti"
sleep 2                              # at the second rate, 9600
shoot "$main" kemgps-hunting
sleep 10
shoot "$main" kemgps-no-nmea
xdotool key --window "$main" alt+b 2>/dev/null || true   # "&Baigti"
sleep 1

# KEMZIP on a map folder of two bitmaps, before and after packing.
packer=$work/kemzip
mkdir -p "$packer/SKVERAI"
for code in K26 E01; do
    (cd "$packer/SKVERAI" && unzip -q -o "$OLDPWD/$BIN/SKVERAI/$code.z")
done
KEMGPS_PROGRAM_DIR=$packer "$BIN/KEMZIP" >"$work/kemzip.out" 2>&1 &
pids+=($!)
zip=$(window_of 'KEM Zip')
sleep 0.5
shoot "$zip" kemzip
click "$zip" 164 241                  # "Glaudinti"
sleep 1
shoot "$zip" kemzip-packed

# The square overview after a faster drive through several squares (a quick receiver, so that
# the sentences keep up), over the squares of an earlier trip in the log.
squares=$work/squares
mkdir -p "$squares/EKSPEDICIJOS" "$squares/SKVERAI"
cp "$BIN/KEMWWL.dat" "$squares/"
cp "$BIN"/SKVERAI/*.z "$squares/SKVERAI/" 2>/dev/null || true
earlier=(
    "55 42 21 07" "55 54 21 04" "55 30 21 13" "55 10 21 25" "54 54 23 54" "54 50 24 10"
    "54 45 24 30" "54 41 24 50" "54 41 25 05" "54 41 25 17" "54 38 25 30" "54 20 24 20"
)
for place in "${earlier[@]}"; do
    read -r la lm lo om <<<"$place"
    printf '2026.07.15  10:%02d:00 UTC\t%s\xb0%s'"'"' 00" N\t%s\xb0%s'"'"' 00" E\t52,0 m\t21,0 m\r\n' \
        "$lm" "$la" "$lm" "$lo" "$om"
done >"$squares/EKSPEDICIJOS/Log.txt"
start_kemsim "$work/kemsim-fast.out" --speed 50 --baud 230400
printf '[SETTINGS]\r\nPort=%s\r\nBaud=230400\r\nPeriod=1\r\nXMain=10\r\nYMain=10\r\n' "$port" \
    >"$squares/KEMGPS.ini"
KEMGPS_PROGRAM_DIR=$squares "$BIN/KEMGPS" >"$work/kemgps-squares.out" 2>&1 &
pids+=($!)
main=$(window_of 'KEM GPS')
xdotool windowfocus --sync "$main"
xdotool key --window "$main" alt+p    # "&Prijungti"
sleep 1
xdotool key --window "$main" alt+k    # "&Kvadratų apžvalga"
overview=$(window_of 'Kvadratų apžvalga')
xdotool windowmove "$overview" 40 20
sleep 100                             # about ten squares
shoot "$overview" kemgps-squares
