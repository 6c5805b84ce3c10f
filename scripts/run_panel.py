#!/usr/bin/python3
"""Runs the panel with the built-in card model under Wine and prints, one per line and as they
arrive, the messages the card receives, each with what it tells the card (the card model notes
that in its trace). Called by scripts/run-panel.sh after the build.

With DISPLAY set the panel runs until it is closed. Without one it runs on an own virtual
display: once the opening push is over (the trace has been quiet for a moment) a screenshot is
saved, the panel is closed, and the screenshot's path is printed.
"""

import argparse
import os
import sys
import time
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests" / "e2e"))

import wine_env  # noqa: E402
from driver import Driver  # noqa: E402
from mpu_trace import TRACE_NAME, MessageGrouper, parse_line  # noqa: E402
from prefix_paths import PrefixPaths  # noqa: E402
from wine_server import WineServer  # noqa: E402
from x_screen import XDisplay, XScreen  # noqa: E402

PREFIX_MARK = ".tambrel-prefix"
QUIET_SECONDS = 1.5     # the opening push is a burst of a few hundred bytes; then nothing comes
SILENT_START_SECONDS = 20   # a program that writes no trace at all


def prepare_prefix(prefix):
    """The project's own prefix (or $WINEPREFIX): made once, with Desktop, Documents, ... as real
    folders instead of links into $HOME, and no menu or desktop entries written for the user."""
    mark = prefix / PREFIX_MARK
    if mark.is_file() and mark.read_text().strip() == wine_env.wine_version():
        wine_env.install_wine_fonts(prefix)   # prefixes made before the fonts were copied
        return
    print("Preparing the Wine prefix %s (once)..." % prefix, flush=True)
    prefix.parent.mkdir(parents=True, exist_ok=True)
    home = os.environ.get("HOME", "/nonexistent")
    if (prefix / "system.reg").is_file():
        env = wine_env.wine_env(prefix, home)
        wine_env.replace_home_links(prefix)
        wine_env.install_wine_fonts(prefix)
        wine_env.apply_settings(env)
        wine_env.stop_server(env)
    else:
        wine_env.init_prefix(prefix, home)
    mark.write_text(wine_env.wine_version() + "\n")


class TraceFollower:
    """Reads whole new lines of the trace file as they are written."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.partial = b""
        self.grouper = MessageGrouper()

    def poll(self):
        """Display lines for the events written since the last poll."""
        if not self.path.is_file():
            return []
        with open(self.path, "rb") as f:
            f.seek(self.offset)
            data = f.read()
        self.offset += len(data)
        lines = (self.partial + data).split(b"\n")
        self.partial = lines.pop()
        out = []
        for line in lines:
            event = parse_line(line.decode(errors="replace"))
            if event is not None:
                out.extend(self.grouper.feed(event))
        return out

    def finish(self):
        return self.poll() + self.grouper.finish()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", type=Path, required=True)
    parser.add_argument("--caption", default="Tambrel", help="caption of the program's window")
    parser.add_argument("--driver", type=Path, required=True, help="e2edriver.exe (closes the panel)")
    parser.add_argument("--prefix", type=Path, required=True)
    parser.add_argument("--run-dir", type=Path, required=True)
    parser.add_argument("--screenshot", type=Path, required=True)
    args = parser.parse_args()

    prefix = args.prefix.resolve()
    prepare_prefix(prefix)
    run_dir = args.run_dir.resolve()
    run_dir.mkdir(parents=True, exist_ok=True)
    trace = run_dir / TRACE_NAME
    trace.unlink(missing_ok=True)

    interactive = bool(os.environ.get("DISPLAY"))
    display = None if interactive else XDisplay(run_dir / "xvfb.log")
    env = wine_env.wine_env(prefix, os.environ.get("HOME", "/nonexistent"),
                            os.environ["DISPLAY"] if interactive else display.name)
    wine = WineServer(PrefixPaths(prefix, wine_env.user_dirs(prefix)[0].name), env, run_dir)
    driver = Driver(wine, args.driver.resolve(), run_dir / "driver.log")

    print("Starting %s in %s (Wine prefix %s)" % (args.program.name, run_dir, prefix), flush=True)
    if interactive:
        print("Messages the card receives (close the panel to end):", flush=True)
    else:
        print("No X display: running on a virtual one. Messages the card receives:", flush=True)
    panel = wine.start(args.program.resolve(), cwd=run_dir)
    follower = TraceFollower(trace)
    started = last_news = time.monotonic()
    seen_any = False
    closing = False
    try:
        while panel.running():
            lines = follower.poll()
            for line in lines:
                print(line, flush=True)
            now = time.monotonic()
            if lines:
                last_news, seen_any = now, True
            push_over = now - last_news > QUIET_SECONDS if seen_any else now - started > SILENT_START_SECONDS
            if not interactive and not closing and push_over:
                closing = True
                found = driver("wait", args.caption, 30000, "rect", args.caption, 0, check=False)
                rect = found[1].split() if len(found) == 2 else None   # "ok", then left top right bottom
                XScreen(display.name, env).screenshot(args.screenshot.resolve(), rect)
                driver.close_window(args.caption)
            time.sleep(0.05)
        for line in follower.finish():
            print(line, flush=True)
    except KeyboardInterrupt:
        panel.popen.terminate()
    finally:
        wine.stop()
        driver.close_log()
        if display is not None:
            display.close()
    print("The panel has ended (exit code %s)." % panel.returncode)
    if not interactive:
        if not closing:
            print("The panel ended on its own; no screenshot (see %s)." % panel.out_path)
            return 1
        print("Screenshot: %s" % args.screenshot)
    return 0


if __name__ == "__main__":
    sys.exit(main())
