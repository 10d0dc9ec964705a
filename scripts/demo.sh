#!/usr/bin/env bash
# Starts KEMGPS on the simulated receiver once the main window exists; until then it only builds.
set -euo pipefail
echo "demo: everything is built in ${1:-build}/bin. Once the main window lands, this starts"
echo "      the simulated receiver kemsim on a pseudo-terminal and KEMGPS connected to it."
