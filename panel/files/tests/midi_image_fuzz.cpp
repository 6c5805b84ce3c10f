// Arbitrary settings and target: the export always gives a well-formed file of the fixed shape
// (lengths, track length, checksums, 7-bit data) inside its buffer, gives its block back, sends
// nothing to the card and leaves the settings as they were.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "panel/files/midi_image.h"
#include "panel/files/tests/export_bench.h"

namespace {

void Require(bool condition, const char* what, const Bytes& image) {
  if (condition) return;
  fprintf(stderr, "%s\n%s\n", what, Hex(image).c_str());
  abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  ExportBench bench;
  for (const SettingField& field : kSettingFields) {
    WriteField(bench.settings, field, input.ConsumeIntegral<uint32_t>());
  }
  bench.target = static_cast<DigitalTarget>(input.ConsumeIntegralInRange(0, 2));

  const PanelSettings before = bench.settings;
  const size_t portEvents = bench.card.EventCount();
  int result = -1;
  const Bytes image = bench.Build(&result);

  Require(result == kImageBuilt, "no image", image);
  Require(image.size() == 302 && image.size() <= kImageBufferSize, "size", image);
  Require(bench.memory.obtained == bench.memory.released, "image block kept", image);
  for (const SettingField& field : kSettingFields) {
    Require(ReadField(bench.settings, field) == ReadField(before, field), field.name, image);
  }
  Require(bench.card.EventCount() == portEvents, "the card saw the export", image);

  SmfFile file;
  const std::string problem = CheckExportedShape(image, &file);
  Require(problem.empty(), problem.c_str(), image);
  return 0;
}
