#!/usr/bin/env bash
# Installs what is missing, then configures and builds in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
# Warnings are errors here (what CI builds); a build of your own may leave them warnings.
cmake -S . -B build -DTESVANA_WERROR=ON >/dev/null
cmake --build build --parallel "$(nproc)"
