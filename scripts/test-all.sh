#!/usr/bin/env bash
# Installs what is missing, builds everything (native, 64-bit and 32-bit Windows) and runs every
# test: native unit tests and fuzz targets, and for both Windows builds the checks of the shipped
# programs, the Windows-side tests and the end-to-end scenarios under Wine (the 32-bit ones where
# the kernel runs 32-bit programs). Runs headless: the Wine-side tests bring their own X displays. Ends with "Total: N passed, N failed"; non-zero when anything failed.
set -uo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)
unset DISPLAY WAYLAND_DISPLAY

scripts/setup.sh || { echo "setup failed"; exit 1; }

mkdir -p build
passed=0
failed=0
failures=()

for preset in native win64 win32; do
  echo "=== build $preset"
  if ! { cmake --preset "$preset" >"build/configure-$preset.log" 2>&1 || { cat "build/configure-$preset.log"; false; }; } ||
     ! cmake --build --preset "$preset"; then
    failed=$((failed + 1))
    failures+=("build $preset")
  fi
done

for preset in native win64 win32; do
  echo "=== test $preset"
  log="build/ctest-$preset.log"
  ctest --preset "$preset" 2>&1 | tee "$log"
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$summary" ]; then
    run_failed=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
    run_total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$summary")
    passed=$((passed + run_total - run_failed))
    failed=$((failed + run_failed))
    [ "$run_failed" -eq 0 ] || failures+=("tests $preset")
    [ -f "build/$preset/not-run.txt" ] && echo "=== $preset programs not run under Wine: $(cat "build/$preset/not-run.txt")"
  else
    failed=$((failed + 1))
    failures+=("tests $preset (no result)")
  fi
done

echo "=== program sizes (goal: under 64 KiB each)"
for dir in build/win64/bin build/win32/bin; do
  for exe in "$dir"/*.exe; do
    [ -e "$exe" ] && printf '%8d bytes  %s\n' "$(stat -c %s "$exe")" "$exe"
  done
done

echo "=== functions the 32-bit programs import (each checked against tests/era_imports.tsv)"
shopt -s nullglob
programs32=(build/win32/bin/*.exe)
[ ${#programs32[@]} -eq 0 ] || /usr/bin/python3 tests/check_programs.py --list-imports-only "${programs32[@]}"

elapsed=$(( $(date +%s) - started ))
printf 'Elapsed: %d min %02d s\n' $((elapsed / 60)) $((elapsed % 60))
[ ${#failures[@]} -eq 0 ] || echo "Failed: ${failures[*]}"
echo "Total: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
