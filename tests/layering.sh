#!/usr/bin/env bash
# Dependencies point down: each folder may include only the folders listed for it (and the
# system's and Qt's headers). Prints every include that breaks the rule.
set -u
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2

declare -A allowed=(
  [base]="base/(IoError|FileHandle|TextRules|WholeFile|IniFile|SettingsKeys|ProgramFolder)"
  [base/ui]="base/"
  [archive]="base/|archive/"
  [gps]="base/|gps/"
  [maps]="base/|archive/|maps/"
  [sats]="base/|gps/|sats/"
  [packer]="base/|archive/|packer/"
  [app]="base/|archive/|gps/|maps/|sats/|app/"
  [tools]="base/|archive/|gps/|maps/|packer/|tools/"
  [data]="base/|maps/"
  [dist]="base/"
)

status=0
for folder in "${!allowed[@]}"; do
  while IFS= read -r hit; do
    file=${hit%%:*}
    # base/ui is a folder of its own, not part of base's own rule
    [ "$folder" = base ] && [[ $file == base/ui/* ]] && continue
    [[ $hit =~ \#include\ \"([^\"]+)\" ]] && header=${BASH_REMATCH[1]}
    if ! [[ $header =~ ^(${allowed[$folder]}) ]]; then
      echo "layering: $file includes $header"
      status=1
    fi
  done < <(grep -rnE '^#include "[^"]+/' --include='*.h' --include='*.cpp' "$folder")
done
# The Qt-free libraries must stay so.
for folder in base archive; do
  grep -rlE '^#include <Q' --include='*.h' --include='*.cpp' "$folder" |
    grep -v '^base/ui/' | sed 's/^/layering: Qt in a Qt-free library: /' | grep . && status=1
done
exit $status
