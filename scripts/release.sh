#!/usr/bin/env bash
# Makes the release in dist/: installs what is missing, builds the 32- and 64-bit programs
# (build/win32, build/win64), then packs them (scripts/pack_release.py): a zip per program and
# word size, a 1.44 MB floppy image with the 32-bit programs, and SHA256SUMS.
# Dates inside come from SOURCE_DATE_EPOCH, else from the last commit: the same sources give the
# same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
mkdir -p build
for preset in win32 win64; do
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || { cat "build/configure-$preset.log"; exit 1; }
  fi
  cmake --build --preset "$preset" --target Tambrel ucorvane
done

rm -rf dist
exec /usr/bin/python3 scripts/pack_release.py --win32 build/win32 --win64 build/win64 --out dist
