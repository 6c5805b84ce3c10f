#!/usr/bin/env bash
# Installs the tools the build and the tests need, with apt-get, only when something is missing.
# Fast when everything is there: it asks dpkg, not the network.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build clang libclang-rt-14-dev
  # llvm-symbolizer: source lines in sanitizer reports, and the fuzz targets' coverage by source file.
  llvm-14
  googletest libgmock-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 xvfb xdotool imagemagick
  # What Wine only recommends but the panel's window and its screenshots need: fonts and X extensions.
  fonts-wine fonts-liberation libxcursor1 libxi6 libxrandr2 libxrender1 libxinerama1 libxcomposite1
  libxfixes3 libxxf86vm1 libgnutls30
  python3 python3-pytest python3-mido timidity fluidsynth
  # The release (scripts/release.sh): archives and the floppy image, and the tools that check them.
  zip unzip mtools dosfstools
  # The General MIDI sound font both synthesizers of the export test play with (named by its path).
  timgm6mb-soundfont
)
# 32-bit Wine runs the 32-bit programs, beside the 64-bit one in the same prefix, with the same X
# extensions. Only on a kernel that runs 32-bit programs: elsewhere wine32 breaks /usr/bin/wine
# for 64-bit programs too.
packages32=(
  wine32:i386 libxcursor1:i386 libxi6:i386 libxrandr2:i386 libxrender1:i386 libxinerama1:i386
  libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386 libgnutls30:i386
)
if why=$(scripts/kernel-runs-32bit.sh); then
  packages+=("${packages32[@]}")
else
  echo "setup: no 32-bit Wine, $why: the 32-bit programs are built and checked, not run"
fi

# One dpkg-query for all: "name:arch status" lines; a name without ":arch" means the machine's own
# architecture (or "all").
declare -A state=()
while read -r name status; do
  state[$name]=$status
done < <(dpkg-query -W -f='${Package}:${Architecture} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null || true)
native=$(dpkg --print-architecture)
missing=()
for p in "${packages[@]}"; do
  case "$p" in
    *:*) [ "${state[$p]:-}" = installed ] ;;
    *) [ "${state[$p:$native]:-}" = installed ] || [ "${state[$p:all]:-}" = installed ] ;;
  esac || missing+=("$p")
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
missing64=()
missing32=()
for p in "${missing[@]}"; do
  case "$p" in
    *:i386) missing32+=("$p") ;;
    *) missing64+=("$p") ;;
  esac
done
if [ ${#missing32[@]} -gt 0 ]; then
  dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386
fi
# A mirror caught mid-update fails one list or another; what the lists at hand offer still installs,
# and whatever cannot be had fails at the install below.
"${sudo[@]}" apt-get update -qq >/dev/null 2>&1 ||
  echo "setup: some package lists could not be fetched; installing from the lists at hand"
if [ ${#missing64[@]} -gt 0 ]; then
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing64[@]}" >/dev/null
fi
# Without 32-bit Wine the 32-bit layer is skipped, as on a kernel that refuses 32-bit programs.
if [ ${#missing32[@]} -gt 0 ] &&
   ! "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing32[@]}" >/dev/null 2>&1; then
  echo "setup: 32-bit Wine could not be installed (its packages do not match the machine's; a mirror may be mid-update): the 32-bit programs are built and checked, not run"
fi
echo "setup: done"
