"""The message-level driver (e2edriver.exe, built with the programs) and its steps by name."""

import re


class DriverError(AssertionError):
    """A driver step failed (window not found, timeout, ...): the message says which and why."""


def _unescape_output(line):
    """The driver prints one line per step: a newline in a text as \\n, a backslash as \\\\."""
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "r": "\r", "t": "\t"}.get(m.group(1), m.group(1)), line)


class Driver:
    """driver(*steps) runs e2edriver.exe with the steps (see README.md) and returns one output line
    per step; the methods name the common steps. Every call is logged with its output."""

    def __init__(self, server, program, log_path):
        self._server = server
        self._program = program
        self._log = open(log_path, "a")

    def __call__(self, *steps, timeout=60, check=True):
        """Raises DriverError when a step fails (unless check=False: then the lines so far)."""
        argv = [str(s) for s in steps]
        # Wine's own errors stay on: a process that Wine ends at its start (exit code 1) then says
        # why instead of failing without a word.
        result = self._server.run(self._program, *argv, timeout=timeout, debug="-all,err+all")
        out = result.stdout.decode("cp1252", errors="replace").replace("\r\n", "\n")
        err = result.stderr.decode("cp1252", errors="replace").strip()
        lines = out.split("\n")
        if lines and lines[-1] == "":
            lines.pop()
        self._log.write("$ e2edriver %s\n%s\n%s%s\n" % (
            " ".join(repr(a) for a in argv), out, err + "\n" if err else "", "exit %d" % result.returncode))
        self._log.flush()
        if check and result.returncode != 0:
            raise DriverError("e2edriver %s: %s" % (" ".join(argv), err or "exit %d" % result.returncode))
        return [_unescape_output(line) for line in lines]

    def close_log(self):
        self._log.close()

    def wait_window(self, caption, ms=10000):
        self("wait", caption, ms)

    def wait_gone(self, caption, ms=10000):
        self("gone", caption, ms)

    def click(self, caption, control_id):
        self("click", caption, control_id)

    def get_text(self, caption, control_id):
        return self("gettext", caption, control_id)[0]

    def set_text(self, caption, control_id, text):
        self("settext", caption, control_id, text)

    def trackbar_pos(self, caption, control_id):
        return int(self("getpos", caption, control_id)[0])

    def checked(self, caption, control_id):
        return int(self("check", caption, control_id)[0])

    def list_items(self, caption, control_id):
        """The items of a list box, in order."""
        text = self("listitems", caption, control_id)[0]
        return text.split(" | ") if text else []

    def control_rect(self, caption, control_id):
        """(left, top, right, bottom) on the screen, which is the X screen of the session."""
        return tuple(int(v) for v in self("rect", caption, control_id)[0].split())

    def thumb_center(self, caption, control_id):
        """Screen point in the middle of a trackbar's thumb: where a real drag starts."""
        left, top, right, bottom = (int(v) for v in self("thumb", caption, control_id)[0].split())
        return (left + right) // 2, (top + bottom) // 2

    def message_box(self, caption="*", ms=10000):
        """Waits for a message box; returns (caption, text)."""
        lines = self("msgbox", caption, ms, "msgtext")
        return lines[0], lines[1]

    def close_window(self, caption):
        self("close", caption)
