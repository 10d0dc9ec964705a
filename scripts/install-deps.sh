#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, and the ones named as
# arguments, but only the missing ones.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-liberation
  desktop-file-utils
  unzip zip 7zip gpsbabel libxml2-utils
  xvfb xauth xdotool xclip imagemagick x11-apps x11-utils libx11-dev bc util-linux
  gpsd gpsd-clients
)

# Extras a target asks for (make deb: dpkg-dev and file for the library dependencies).
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
