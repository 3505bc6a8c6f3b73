#!/usr/bin/env bash
# Builds and starts Tesvana. Without a display it runs under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/Tesvana "$@"
fi
echo "No display found: running Tesvana under Xvfb (stop it with Ctrl+C)."
exec xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/Tesvana "$@"
