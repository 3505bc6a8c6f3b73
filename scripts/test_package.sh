#!/usr/bin/env bash
# Builds the Debian package from a build folder, unpacks it into a temporary
# folder and runs what it installed: tesvana-cli finds the simulated probe, the
# program starts under X, loads its plug-ins from the unpacked tree and quits
# cleanly on SIGTERM; lintian reports no error.
# Usage: scripts/test_package.sh BUILD_FOLDER
set -euo pipefail

# The program from the unpacked tree, for a few seconds, then SIGTERM.
run_gui() {
  "$1/root/usr/bin/tesvana" > "$1/gui.log" 2>&1 &
  local pid=$!
  sleep 6
  kill -0 "$pid" || { cat "$1/gui.log"; echo "the program ended early"; exit 1; }
  kill -TERM "$pid"
  wait "$pid" || { cat "$1/gui.log"; echo "the program did not quit cleanly"; exit 1; }
}
if [ "${1:-}" = "--gui" ]; then
  run_gui "$2"
  exit 0
fi

build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/tesvana_*_amd64.deb)
echo "package: $(basename "$deb")"
dpkg-deb -x "$deb" "$work/root"

export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_CONFIG_HOME="$work/home/config" \
  XDG_CACHE_HOME="$work/home/cache"
mkdir -p "$HOME"

list=$("$work/root/usr/bin/tesvana-cli" list --json)
echo "$list"
grep -q '"serialNumber": "SIM-0001"' <<< "$list" || { echo "the simulated probe is not listed"; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
  run_gui "$work"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --gui "$work"
fi
grep -q "\"libSimulatedProbe.so\" loaded" "$work/gui.log" || { cat "$work/gui.log"; exit 1; }
grep -q "Loading Instrument plugin in $work/root/usr/lib/tesvana/tesvana/instrument" "$work/gui.log" \
  || { cat "$work/gui.log"; echo "plug-ins not taken from the package"; exit 1; }
grep -q "Simulated probe driver started" "$work/gui.log" || { cat "$work/gui.log"; exit 1; }
if grep -E "qrc:/|\.qml:[0-9]+" "$work/gui.log"; then
  echo "QML warnings"
  exit 1
fi

lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v "running with root privileges" | tee "$work/lintian.log" || true
if grep -q "^E:" "$work/lintian.log"; then
  echo "lintian reports errors"
  exit 1
fi
echo "package OK"
