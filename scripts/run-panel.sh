#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit programs and runs the panel under Wine with the
# built-in card model (TambrelSim.exe), printing each message the card receives as it arrives,
# with what it means.
# Wine prefix: build/wine-prefix unless WINEPREFIX is set. Without an X display the panel runs on
# a virtual one; a screenshot is saved to build/panel-screenshot.png and the panel is closed.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
mkdir -p build
echo "Building the 64-bit programs (build/win64)..."
cmake --preset win64 >build/configure-win64.log 2>&1 || { cat build/configure-win64.log; exit 1; }
cmake --build --preset win64 --target TambrelSim e2edriver

exec /usr/bin/python3 scripts/run_panel.py --program build/win64/bin/TambrelSim.exe \
  --driver build/win64/test-bin/e2edriver.exe \
  --prefix "${WINEPREFIX:-$PWD/build/wine-prefix}" \
  --run-dir build/panel-run --screenshot build/panel-screenshot.png
