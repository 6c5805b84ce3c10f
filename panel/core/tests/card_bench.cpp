#include "panel/core/tests/card_bench.h"

#include <algorithm>

Bytes CardBench::TakeBytes() {
  std::vector<uint8_t> all(card.DataBytes(nullptr, 0));
  card.DataBytes(all.data(), all.size());
  Bytes fresh(all.begin() + static_cast<long>(std::min(consumed_, all.size())), all.end());
  consumed_ = all.size();
  return fresh;
}

std::vector<Bytes> CardBench::TakeMessages() {
  std::vector<Bytes> result;
  for (uint8_t byte : TakeBytes()) {
    if (byte == kSysExStart || result.empty()) result.emplace_back();
    result.back().push_back(byte);
  }
  return result;
}
