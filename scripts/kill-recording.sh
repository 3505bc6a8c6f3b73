#!/usr/bin/env bash
# A recording killed with SIGKILL (no handler runs, as in a crash or a power cut of the
# program) at KILLS random moments of a recording at RATE Hz: each time the file left
# beside the output must load, and its last sample must be at most a second older than
# the kill. Prints each run and the worst loss.
#   bash scripts/kill-recording.sh            (20 kills at 100 kHz)
#   KILLS=5 RATE=10000 bash scripts/kill-recording.sh
# Needs a build (scripts/build.sh).
set -euo pipefail
kills=${KILLS:-20}
rate=${RATE:-100000}
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$root/build/bin/tesvana-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_DATA_HOME=$work/home/data XDG_CONFIG_HOME=$work/home/config
mkdir -p "$HOME"
worst=0
failed=0
for i in $(seq 1 "$kills"); do
  dir=$work/run$i
  mkdir -p "$dir"
  "$cli" measure --instrument SIM-0001 --rate "$rate" --duration 600 --out "$dir/k.xml" 2>/dev/null &
  pid=$!
  # The recording has begun once its file holds a block.
  for _ in $(seq 1 200); do
    part=$(ls "$dir"/*.part 2>/dev/null | head -1 || true)
    [ -n "$part" ] && grep -q "</measurements>" "$part" 2>/dev/null && break
    sleep 0.05
  done
  # A random moment 0.2 to 10 s into the recording.
  sleep "$(awk -v r=$RANDOM 'BEGIN {printf "%.2f", 0.2 + r / 32767 * 9.8}')"
  killed=$(date +%s.%N)
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
  part=$(ls "$dir"/*.part | head -1)
  if ! info=$("$cli" info "$part" --json 2>/dev/null); then
    echo "run $i: FAIL: $part does not load"
    failed=$((failed + 1))
    continue
  fi
  # The last sample's time (local wall clock, as the file writes it) against the kill.
  field() { python3 -c 'import json,sys; d=json.loads(sys.argv[1]); d=d[0] if isinstance(d, list) else d; print(d[sys.argv[2]])' "$info" "$1"; }
  end=$(field end)
  blocks=$(field blocks)
  last=$(date -d "$(echo "$end" | sed -E 's/^([0-9]{4})\.([0-9]{2})\.([0-9]{2})T/\1-\2-\3 /')" +%s.%N)
  lost=$(awk -v k="$killed" -v l="$last" 'BEGIN {printf "%.3f", k - l}')
  status=ok
  awk -v x="$lost" 'BEGIN {exit !(x > 1.0 || x < 0)}' && { status=FAIL; failed=$((failed + 1)); }
  worst=$(awk -v a="$worst" -v b="$lost" 'BEGIN {print (b > a ? b : a)}')
  echo "run $i: $status: $blocks blocks, $(stat -c %s "$part") bytes, last sample $lost s before the kill"
done
echo "$kills kills, $failed failed, at most $worst s lost"
[ "$failed" -eq 0 ]
