#!/usr/bin/python3
"""Start-up figures of the 64-bit programs under Wine: time from start until the window is there,
against the harness's empty dialog as the baseline (the baseline holds Wine's own start and the
driver's polling). Figures to report, not checks.

    TAMBREL_BUILD_DIR=build/win64 scripts/start-figures.py [runs]
"""

import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "tests" / "e2e"))

import harness  # noqa: E402

PROGRAMS = [("test-bin/emptydialog.exe", "Empty Dialog"),
            ("bin/TambrelSim.exe", "Tambrel"),
            ("bin/ucorvane.exe", "Uninstall Corvane Panel")]


def main(argv):
    runs = int(argv[1]) if len(argv) > 1 else 5
    session = harness.WineSession("start-figures")
    try:
        session.driver("noop")   # the session's own start is not part of any figure
        rows = []
        for relative, caption in PROGRAMS:
            program = harness.build_dir() / relative
            if not program.is_file():
                continue
            times = []
            for _ in range(runs):
                started = time.monotonic()
                process = session.wine.start(program, cwd=r"C:\figures")
                session.driver.wait_window(caption, 30000)
                times.append(time.monotonic() - started)
                session.driver.close_window(caption)
                process.wait(30)
            rows.append((program.name, statistics.median(times)))
        baseline = rows[0][1]
        print("start until the window is there (median of %d, live Wine session):" % runs)
        for name, seconds in rows:
            print("  %-18s %6.3f s  (%+.3f s against the empty dialog)" % (name, seconds, seconds - baseline))
    finally:
        session.close()
        session.remove()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
