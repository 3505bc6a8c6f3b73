#!/usr/bin/env bash
# Builds Tesvana and runs every test. Tests that show windows get an Xvfb
# server of their own; the others use Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
(
  cd build
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --output-on-failure --parallel "$(nproc)" "$@"
)
# The saved fuzz inputs once more, under AddressSanitizer and UndefinedBehaviorSanitizer.
bash scripts/fuzz.sh replay
# The threaded and file tests once more under ThreadSanitizer (about a minute and a half).
bash scripts/sanitize.sh tsan
