#!/usr/bin/env bash
# The first end-to-end scenario (KEMZIP packs, KEMGPS drives across the squares) on the packaged
# Release build: the programs as built, then as installed from the Debian package (dpkg -i when
# run as root, else unpacked with dpkg -x into a temporary root).
# Usage: scripts/e2e-package.sh test-build-dir package-build-dir
set -euo pipefail

BUILD=$1
DEB=$2
scenario() {
    echo "== the first end-to-end scenario on $1"
    KEM_E2E_PROGRAMS=$1 "$BUILD/tests/e2e_tests" --gtest_filter='PackAndDrive.*'
}

scenario "$DEB/bin"
package=$(ls -t "$DEB"/*.deb | head -n1)
root=
if [[ $(id -u) -eq 0 ]]; then
    dpkg -i "$package"
else
    root=$(mktemp -d)
    trap 'rm -rf "$root"' EXIT
    dpkg -x "$package" "$root"
fi
scenario "$root/opt/kemgps"
