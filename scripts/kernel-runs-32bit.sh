#!/usr/bin/env bash
# Exits 0 when this kernel runs 32-bit x86 programs, 1 (with the reason on stdout) when it does
# not. 32-bit Wine needs them; on a kernel without them, installing it breaks 64-bit Wine as well.
# Tries the smallest 32-bit program there is (exit code 42, written byte by byte), so that it needs
# nothing installed.
set -u
probe=$(mktemp "${TMPDIR:-/tmp}/runs32.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
# ELF header, one loadable segment at 08048000h, then: mov eax,1; mov ebx,42; int 80h.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00'\
'\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00'\
'\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
status=$?
[ "$status" -eq 42 ] && exit 0
if [ "$(uname -m)" != x86_64 ]; then
  echo "this machine is $(uname -m), not x86_64"
else
  echo "this kernel runs no 32-bit programs (its 32-bit emulation is off: a tiny 32-bit test program was refused, exit $status)"
fi
exit 1
