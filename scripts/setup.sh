#!/usr/bin/env bash
# Installs the tools the build and the tests need, with apt-get, only when something is missing.
# Fast when everything is there: it asks dpkg, not the network.
set -euo pipefail

packages=(
  cmake ninja-build clang libclang-rt-14-dev
  googletest libgmock-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 xvfb xdotool imagemagick
  # What Wine only recommends but the panel's window and its screenshots need: fonts and X extensions.
  fonts-wine fonts-liberation libxcursor1 libxi6 libxrandr2 libxrender1 libxinerama1 libxcomposite1
  libxfixes3 libxxf86vm1 libgnutls30
  python3 python3-pytest python3-mido timidity fluidsynth
  # The General MIDI sound font both synthesizers of the export test play with (named by its path).
  timgm6mb-soundfont
)
# Never wine32 (so no recommended packages either, wine64 recommends it): the kernel here runs no
# 32-bit code, and wine32 breaks /usr/bin/wine for 64-bit programs.

installed=" $(dpkg-query -W -f='${Package}:${db:Status-Status} ' "${packages[@]}" 2>/dev/null || true)"
missing=()
for p in "${packages[@]}"; do
  case "$installed" in
    *" $p:installed "*) ;;
    *) missing+=("$p") ;;
  esac
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
