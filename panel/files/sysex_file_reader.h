#pragma once
// Reading the system-exclusive messages back out of a file, whatever made it: a Standard MIDI File
// (any format, every track, with running status, meta events, and a message split into packets, an
// F0 event followed by F7 continuation events, joined again), or a dump of F0 .. F7 messages back to
// back. The form is known by the content, not by the file's name. Everything that is not
// system-exclusive (notes, controllers, meta events, escaped bytes) is passed over.
#include <cstddef>
#include <cstdint>

#include "panel/device/message_sink.h"

enum class FileFault : uint8_t {
  None,
  ChunkPastEnd,  // a chunk longer than the file
  EventPastEnd,  // an event longer than its track
  Unterminated,  // a system-exclusive message without its F7
  LongQuantity,  // a variable-length number of more than four bytes
  NoStatus,      // an event without a status the file format allows
  UnknownForm,   // neither a MIDI file nor a system-exclusive dump
};

// The longest message handed on: longer ones are another maker's (the panel's longest is a few
// dozen bytes) and are passed over whole.
constexpr size_t kLongestFileMessage = 128;

// Hands every system-exclusive message of the `size` bytes at `data` to `sink`, in file order,
// each from F0 to F7. On a fault the messages before it have been handed on already; the caller
// takes nothing from a damaged file.
FileFault ReadSysExFile(const uint8_t* data, size_t size, MessageSink& sink);
