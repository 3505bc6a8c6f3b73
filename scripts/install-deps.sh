#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Idempotent: when everything is present it returns after one dpkg query.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qtbase5-dev qtdeclarative5-dev qtquickcontrols2-5-dev libqt5charts5-dev
  libqt5datavisualization5-dev libqt5serialport5-dev libqt5svg5-dev
  qml-module-qtquick2 qml-module-qtquick-controls2 qml-module-qtquick-dialogs
  qml-module-qtquick-layouts qml-module-qtquick-window2 qml-module-qtcharts
  qml-module-qtdatavisualization qml-module-qt-labs-platform qml-module-qttest
  libeigen3-dev libbenchmark-dev libfftw3-dev libhdf5-dev libjemalloc-dev python3-h5py python3-numpy
  xvfb xauth libgl1-mesa-dri mesa-utils
  python3 clang libclang-rt-14-dev fonts-oxygen fonts-dejavu-core python3-fonttools poppler-utils
  locales tzdata
  dpkg-dev lintian clang-format shellcheck clang-tidy clazy
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
