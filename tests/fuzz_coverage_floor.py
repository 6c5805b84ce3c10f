#!/usr/bin/env python3
"""Runs a libFuzzer target and fails when the code it feeds was not reached.

    fuzz_coverage_floor.py SOURCE_ROOT FLOOR TARGET [libFuzzer arguments ...]

The code a target feeds is the project's code outside the tests/ folders: the reader, the builders,
the uninstaller's logic. Compiled without coverage hooks, that code is invisible to libFuzzer, which
then mutates blind on its harness alone while its sanitizers and checks still pass. The run counts
the edges reached in that code (libFuzzer's -print_coverage, by source file) and fails below FLOOR,
a figure measured on a run of the target; a blind build reaches only the few edges of project
headers inlined into the harness. The target's own failures (a crash, a leak, a sanitizer report)
fail as they are.
"""
import os
import re
import subprocess
import sys

# "COVERED_FUNC: hits: H edges: E/T function file:line", one per function reached.
COVERED = re.compile(r"^COVERED_FUNC: hits: \d+ edges: (\d+)/\d+ .* (/\S+):\d+$")
# libFuzzer's status lines: "#N  NEW  cov: C ft: F ...".
STATUS = re.compile(r"^#\d+\s+(\w+)\s+cov: (\d+) ft: (\d+)")


def main():
    root = os.path.join(os.path.abspath(sys.argv[1]), "")
    floor = int(sys.argv[2])
    run = subprocess.run(sys.argv[3:] + ["-print_coverage=1"], stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, text=True, errors="replace")
    fed_edges = 0
    functions = 0
    final = None
    for line in run.stdout.splitlines():
        covered = COVERED.match(line)
        if covered:
            functions += 1
            path = covered.group(2)
            if path.startswith(root) and "/tests/" not in path[len(root) - 1:]:
                fed_edges += int(covered.group(1))
            continue
        if "UNCOVERED_" in line or line.startswith("COVERAGE:"):
            continue  # the listing of what was not reached: too long for the test log
        status = STATUS.match(line)
        if status:
            final = status
        print(line)
    if run.returncode != 0:
        print(f"the fuzz target failed (exit {run.returncode})")
        return 1
    if functions == 0:
        print("libFuzzer listed no covered functions (is llvm-symbolizer installed?)")
        return 1
    summary = f"cov {final.group(2)} ft {final.group(3)}; " if final else ""
    if fed_edges < floor:
        print(f"{summary}{fed_edges} edges reached in the code under test, below the floor of {floor}: "
              "that code is not compiled with coverage hooks, or the harness no longer reaches it")
        return 1
    print(f"{summary}{fed_edges} edges reached in the code under test (floor {floor})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
