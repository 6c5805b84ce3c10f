"""The card model's trace file (mpu401-trace.txt): one event per line.

    OUT 0330 F0     a byte written to a port (port and byte in upper-case hex)
    IN 0330 FE      a byte read from a data port (status reads are left out)
    CLI / STI       interrupts disabled / enabled around the reset exchange

The line of the byte that ends a message at the data port carries what the message means:
    OUT 0330 F7 ; master volume 127
"""

from dataclasses import dataclass, field
from pathlib import Path

TRACE_NAME = "mpu401-trace.txt"
DATA_PORT = 0x330


@dataclass(frozen=True)
class TraceEvent:
    kind: str            # "OUT", "IN", "CLI", "STI" (or any other word the model writes)
    port: int | None = None
    value: int | None = None
    note: str | None = field(default=None, compare=False)   # what the message ending here means

    def __str__(self):
        if self.port is None:
            return self.kind
        return "%s %04X %02X" % (self.kind, self.port, self.value)


def parse_line(line):
    line, _, note = line.partition(";")
    parts = line.split()
    if not parts:
        return None
    if len(parts) == 3:
        return TraceEvent(parts[0], int(parts[1], 16), int(parts[2], 16), note.strip() or None)
    return TraceEvent(parts[0])


def parse_trace(text):
    return [e for e in map(parse_line, text.splitlines()) if e is not None]


def read_trace(path):
    """Events of a trace file, or of the trace file in a folder; [] when there is none yet."""
    path = Path(path)
    if path.is_dir():
        path = path / TRACE_NAME
    if not path.is_file():
        return []
    return parse_trace(path.read_text(errors="replace"))


def sysex_messages(events, data_port=DATA_PORT):
    """The system-exclusive messages written to the data port, F0 .. F7, as bytes objects.
    Bytes outside a message are dropped; a message still open at the end is kept as it is."""
    messages = []
    current = None
    for e in events:
        if e.kind != "OUT" or e.port != data_port:
            continue
        if e.value == 0xF0:
            if current is not None:
                messages.append(bytes(current))
            current = [e.value]
        elif current is not None:
            current.append(e.value)
            if e.value == 0xF7:
                messages.append(bytes(current))
                current = None
    if current is not None:
        messages.append(bytes(current))
    return messages


class MessageGrouper:
    """Turns events into display lines as they arrive: data-port bytes from F0 to F7 become one
    line ("F0 41 10 ... F7", followed by what the message means when the trace says it); every
    other event (register writes, CLI, STI, reads) its own line. Only messages start with F0, so
    an F0 written elsewhere shows that the card sits at another port, which is then the data port."""

    BYTES_WIDTH = 41    # the longest message the panel sends, 14 bytes

    def __init__(self, data_port=DATA_PORT):
        self.data_port = data_port
        self.pending = []

    def feed(self, event):
        lines = []
        if event.kind == "OUT" and event.value == 0xF0:
            self.data_port = event.port
        if event.kind == "OUT" and event.port == self.data_port:
            if event.value == 0xF0 and self.pending:
                lines.append(self._flush())
            self.pending.append(event.value)
            if event.value == 0xF7 or self.pending[0] != 0xF0:
                lines.append(self._flush(event.note))
            return lines
        if self.pending:
            lines.append(self._flush())
        lines.append(str(event))
        return lines

    def finish(self):
        return [self._flush()] if self.pending else []

    def _flush(self, note=None):
        line = " ".join("%02X" % b for b in self.pending)
        self.pending = []
        return "%-*s  %s" % (self.BYTES_WIDTH, line, note) if note else line
