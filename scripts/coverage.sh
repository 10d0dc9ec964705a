#!/usr/bin/env bash
# Line and branch coverage of the product code by the test suite: an instrumented build, the
# whole suite, then a summary per folder on the terminal and an HTML report beside the build.
#
#   COVERAGE_BUILD  build directory (default build-coverage)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${COVERAGE_BUILD:-build-coverage}
if ! command -v gcovr >/dev/null; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get install -y -qq --no-install-recommends gcovr
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKEM_COVERAGE=ON -DKEM_BENCH=OFF >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}"
find "$build" -name '*.gcda' -delete
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest -j "${JOBS:-$(nproc)}" --timeout 600 | tail -n 3)

report=$build/coverage
mkdir -p "$report"
# Only the program's own code counts: not the tests, benchmarks, fuzz harness or moc output.
filters=(--filter '(base|archive|gps|maps|sats|app|packer|tools|data)/' --exclude '.*_autogen/.*')
gcovr -r . --object-directory "$build" "${filters[@]}" --exclude-throw-branches \
  --json-summary "$report/summary.json" --html-details "$report/index.html" >/dev/null

python3 - "$report/summary.json" <<'PY'
import json, sys
from collections import defaultdict
files = json.load(open(sys.argv[1]))["files"]
sums = defaultdict(lambda: [0, 0, 0, 0])
for f in files:
    parts = f["filename"].split("/")
    folder = "/".join(parts[:2]) if parts[0] == "base" and parts[1] == "ui" else parts[0]
    s = sums[folder]
    s[0] += f["line_covered"]; s[1] += f["line_total"]
    s[2] += f["branch_covered"]; s[3] += f["branch_total"]
pct = lambda a, b: f"{100.0 * a / b:5.1f} %" if b else "    -  "
print(f"{'folder':10} {'lines':>20} {'branches':>20}")
total = [0, 0, 0, 0]
for folder in sorted(sums):
    s = sums[folder]
    total = [t + v for t, v in zip(total, s)]
    print(f"{folder:10} {pct(s[0], s[1])} {s[0]:5}/{s[1]:<5} {pct(s[2], s[3])} {s[2]:5}/{s[3]:<5}")
print(f"{'all':10} {pct(total[0], total[1])} {total[0]:5}/{total[1]:<5} "
      f"{pct(total[2], total[3])} {total[2]:5}/{total[3]:<5}")
PY
echo "HTML report: $report/index.html"
