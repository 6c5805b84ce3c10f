#include "panel/export/tests/export_bench.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "panel/export/midi_image.h"

HeapImageMemory::~HeapImageMemory() { free(block_); }

uint8_t* HeapImageMemory::Obtain(size_t size) {
  lastSize = size;
  if (refuse || block_ != nullptr) return nullptr;
  ++obtained;
  block_ = static_cast<uint8_t*>(calloc(size, 1));
  return block_;
}

void HeapImageMemory::Release(uint8_t* block) {
  if (block == nullptr || block != block_) abort();  // releasing what was never given
  ++released;
  free(block_);
  block_ = nullptr;
}

void ExportBench::Open() {
  controller.StartupPush();
  CardBytes();
}

Bytes ExportBench::Build(int* result) {
  const int r = BuildImage(controller, memory);
  if (result) *result = r;
  Bytes image;
  if (r == kImageBuilt) {
    image.assign(sink.state.bufferStart, sink.state.bufferStart + sink.state.deltaTicks);
  }
  if (sink.state.bufferStart) memory.Release(sink.state.bufferStart);
  sink.state.bufferStart = nullptr;
  return image;
}

Bytes ParseHex(const char* text) {
  Bytes bytes;
  unsigned value = 0;
  int n = 0;
  while (sscanf(text, " %2x%n", &value, &n) == 1) {
    bytes.push_back(static_cast<uint8_t>(value));
    text += n;
  }
  return bytes;
}

std::string Hex(const Bytes& bytes) {
  std::string text;
  char part[4];
  for (uint8_t b : bytes) {
    snprintf(part, sizeof part, text.empty() ? "%02X" : " %02X", b);
    text += part;
  }
  return text;
}
