#pragma once
// A Standard MIDI File reader for the tests, written from the file format alone (not from the
// exporter): it checks the chunk structure and hands back every event of the one track.
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct SmfEvent {
  uint32_t delta = 0;
  uint8_t status = 0;    // F0h (system exclusive) or FFh (meta)
  uint8_t metaType = 0;  // meta events only
  Bytes data;            // sysex: everything after the length (ending in F7h); meta: its data
};

struct SmfFile {
  uint16_t format = 0;
  uint16_t trackCount = 0;
  uint16_t division = 0;
  uint32_t trackLength = 0;
  std::vector<SmfEvent> events;
};

// Empty string when `file` is a well-formed single-track file of sysex and meta events that ends
// exactly with its end-of-track event; otherwise what is wrong.
std::string ReadSmf(const Bytes& file, SmfFile* out);

// Checks the shape every exported file has: format 0, one track, 96 ticks per quarter, tempo
// 500000, 19 data-set events (lengths 19, sixteen times 10, 15, 18; deltas 0 then 8), end of
// track at delta 0. Empty string when right; `out` receives the events.
std::string CheckExportedShape(const Bytes& file, SmfFile* out);

// Checks a data-set message (after F0h, the length already removed): 41 10 model 12, address and
// data bytes, checksum, F7h; every byte below 80h. Empty string when right.
std::string CheckDataSet(const Bytes& message);
