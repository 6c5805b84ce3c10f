#!/usr/bin/python3
"""Figures of the panel's start under Wine (printed, never asserted):

  - time from starting TambrelSim.exe to the last byte of its start-up push (the trace file's
    last write), next to the time an empty dialog program needs to show its window, both in the
    same Wine session; their ratio is the figure;
  - the bytes the push writes to the data port.

Usage: TAMBREL_BUILD_DIR=build/win64 /usr/bin/python3 tests/e2e/measure_panel_start.py [rounds]
"""

import os
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import harness  # noqa: E402
import wine_env  # noqa: E402

RUN_DIR = "C:\\run"


def time_to_window(session, program, caption, cwd=None):
    """Seconds from starting the program to its window being found. The driver is already
    polling when the program starts, so its own start-up does not count."""
    watcher = session.start(session.test_bin("e2edriver.exe"), "wait", caption, 30000)
    time.sleep(0.5)
    started = time.time()
    process = session.start(program, cwd=cwd)
    watcher.wait(60)
    shown = time.time()
    return started, shown - started, process


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    template, _ = wine_env.make_template(harness.wine_dir(), reuse=True)
    session = harness.WineSession("measure-panel-start", template_dir=template)
    empty_times, panel_windows, panel_pushes, push_bytes = [], [], [], []
    try:
        session.driver("noop")  # the first program of a session pays for the session's start
        trace = session.host_path(RUN_DIR) / harness.TRACE_NAME
        for _ in range(rounds):
            _, seconds, process = time_to_window(session, session.test_bin("emptydialog.exe"), "Empty Dialog")
            empty_times.append(seconds)
            session.close_window("Empty Dialog")
            process.wait(30)

            started, seconds, process = time_to_window(session, session.bin("TambrelSim.exe"), "Tambrel", RUN_DIR)
            panel_windows.append(seconds)
            # The push is over once the trace holds its 35 messages; its last write is the last byte.
            deadline = time.time() + 30
            while len(session.sysex(RUN_DIR)) < 35 and time.time() < deadline:
                time.sleep(0.05)
            time.sleep(0.3)
            panel_pushes.append(os.stat(trace).st_mtime_ns / 1e9 - started)
            push_bytes.append(sum(1 for e in session.trace(RUN_DIR) if str(e).startswith("OUT 0330 ")))
            session.close_window("Tambrel")
            process.wait(30)
    finally:
        session.close()
        session.remove()

    empty = statistics.median(empty_times)
    push = statistics.median(panel_pushes)
    print("rounds: %d (medians)" % rounds)
    print("empty dialog, start to window:        %.3f s" % empty)
    print("TambrelSim, start to window:          %.3f s" % statistics.median(panel_windows))
    print("TambrelSim, start to last push byte:  %.3f s" % push)
    print("ratio push end / empty dialog window: %.2f" % (push / empty))
    print("bytes written to the data port by the push: %s" % sorted(set(push_bytes)))


if __name__ == "__main__":
    main()
