#!/usr/bin/env bash
# Pictures of the desktop program for the README: starts zemra on a virtual X display (Xvfb),
# plays a short use and writes what the main window shows as PNGs into docs/.
#   scripts/screenshots.sh
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
source "$here/scripts/packages.sh"
ensure_packages g++ cmake ninja-build libgtest-dev libbenchmark-dev qt6-base-dev xvfb xauth

cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$here/build-release" -j 2 --target zemra >/dev/null
mkdir -p "$here/docs"

# One picture per use: the window's menu items by name, settings as NAME=VALUE.
shoot() {
  local out="$1"
  shift
  env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY LC_ALL=C \
    xvfb-run -a -s "-screen 0 1280x900x24" \
    "$here/build-release/zemra" --play "$@" --grab "$here/docs/$out"
  echo "docs/$out"
}

# A cyclic voltammogram of the start-up experiment (a reversible couple at 0.1 V, 1 mM,
# 10 mV/s) with the experiment sheet open and its peaks in the result window.
shoot desktop-cv.png mnuExperimental ComboScan=cycle mnuSimulate mnuFindPeak
# Beside it the same couple followed by a chemical reaction B = C (the EC mechanism, kf = 1/s):
# the reaction takes B away, so the return peak shrinks.
shoot desktop-ec.png mnuExperimental ComboScan=cycle mnuSimulate mnuOption overlap=1 OK \
  mnuMechamism mech=7 Command1 'kf(1)=1' mnuSimulate mnuMechamism
