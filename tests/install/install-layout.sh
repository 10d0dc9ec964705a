#!/usr/bin/env bash
# Installs the build given as $1 into a temporary folder (DESTDIR, a prefix with a blank) and
# checks the program folder: the two programs, the square data file, the build's map folder, an
# empty expedition folder and the menu entries with their icons; nothing a run leaves in the
# build's program folder (the settings file, the log) and no developer tool.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="/opt/kem gps"
root=$work$prefix
status=0
fail() {
  echo "install-layout: $*" >&2
  status=1
}

DESTDIR=$work cmake --install "$build" --prefix "$prefix" >"$work.log" 2>&1 || {
  cat "$work.log" >&2
  rm -f "$work.log"
  exit 1
}
rm -f "$work.log"

[[ $(cd "$root" && ls -A | tr '\n' ' ') == "EKSPEDICIJOS KEMGPS KEMWWL.dat KEMZIP SKVERAI share " ]] ||
  fail "program folder holds: $(cd "$root" && ls -A | tr '\n' ' ')"
for program in KEMGPS KEMZIP; do
  [[ -f $root/$program && -x $root/$program ]] || fail "$program is not an executable file"
done
cmp -s "$build/bin/KEMWWL.dat" "$root/KEMWWL.dat" || fail "KEMWWL.dat differs from the build's"
diff <(cd "$build/bin/SKVERAI" && ls -A) <(cd "$root/SKVERAI" && ls -A) >/dev/null ||
  fail "SKVERAI/ differs from the build's"
[[ -z $(ls -A "$root/EKSPEDICIJOS") ]] || fail "EKSPEDICIJOS/ is not empty"

for app in kemgps:KEMGPS kemzip:KEMZIP; do
  name=${app%%:*}
  entry=$root/share/applications/$name.desktop
  icon=$prefix/share/icons/hicolor/256x256/apps/$name.png
  grep -qxF "Exec=\"$prefix/${app#*:}\"" "$entry" || fail "$name.desktop: wrong Exec"
  grep -qxF "Icon=$icon" "$entry" || fail "$name.desktop: wrong Icon"
  desktop-file-validate "$entry" || fail "$name.desktop is not a valid menu entry"
  for size in 48 128 256; do
    png=$root/share/icons/hicolor/${size}x$size/apps/$name.png
    [[ $(identify -format '%m %wx%h' "$png" 2>/dev/null) == "PNG ${size}x$size" ]] ||
      fail "no $size pixel PNG icon $name.png"
  done
done
exit $status
