#!/usr/bin/env bash
# The sample survey report of the help pages, made by the build from a recording of
# the simulated probe (never committed: a binary made from the sources).
#   bash scripts/sample_report.sh BIN_DIR OUT.pdf
set -euo pipefail
bin=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The tool's settings and storage in a folder of its own, never the user's.
export HOME=$work XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
# A ThreadSanitizer build's tool: only the races inside uninstrumented glibc and Qt are silenced.
export TSAN_OPTIONS=${TSAN_OPTIONS:-suppressions=$(cd "$(dirname "$0")/.." && pwd)/tests/tsan.supp}
"$bin/tesvana-cli" measure --instrument SIM-0001 --unit uT --rate 10000 --duration 3 \
  --out "$work/bench.xml" >/dev/null
"$bin/tesvana-cli" report "$work/bench.xml" --standard icnirp2010-public -o "$out" \
  --site "Simulated bench (sample)" --surveyor "Tesvana build" \
  --notes "A sample report of three seconds of the simulated probe." >/dev/null
