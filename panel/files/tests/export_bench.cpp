#include "panel/files/tests/export_bench.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

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

Bytes ExportBench::Build(int* result) {
  MidiImage image;
  const int r = BuildImage(Input(), memory, &image);
  if (result) *result = r;
  Bytes bytes;
  if (r == kImageBuilt) bytes.assign(image.block, image.block + image.size);
  if (image.block) memory.Release(image.block);
  return bytes;
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
