#pragma once
// The builders wired as in the program, with the software interface in place of the card, and
// what the panel hands the export, for recording exports.
#include <cstdint>
#include <string>
#include <vector>

#include "panel/core/tests/card_bench.h"
#include "panel/files/image_memory.h"
#include "panel/files/midi_image.h"
#include "panel/files/tests/smf_reader.h"

// Page memory from the heap: zero-filled, can be refused, and checks that what is released is
// what was given.
class HeapImageMemory : public ImageMemory {
 public:
  ~HeapImageMemory();
  uint8_t* Obtain(size_t size) override;
  void Release(uint8_t* block) override;

  bool refuse = false;
  int obtained = 0;
  int released = 0;
  size_t lastSize = 0;

 private:
  uint8_t* block_ = nullptr;
};

// The card's bench with the export's page memory and the digital-audio target beside it.
struct ExportBench : CardBench {
  HeapImageMemory memory;
  DigitalTarget target = DigitalTarget::Stereo;

  // The panel as opened: what it sent the card is forgotten.
  void Open() { CardBytes(); }
  ExportInput Input() { return {settings, target}; }
  // BuildImage; on success returns the image and releases its block. `result` gets BuildImage's.
  Bytes Build(int* result = nullptr);
  // The data-port bytes the card has received since the last call (or since Open).
  Bytes CardBytes() { return TakeBytes(); }
};

Bytes ParseHex(const char* text);
std::string Hex(const Bytes& bytes);
