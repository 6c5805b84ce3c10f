// Writes the exported image for given settings to a file, so that tools this project did not
// write can read and play it.
//   midi_image_writer <out.mid> [Name=value ...] [target=Stereo|Left|Right]
// Names are the stored settings' names (MVol, Mute, RTyp, ...); values decimal or 0x hex.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "panel/files/midi_image.h"
#include "panel/files/tests/export_bench.h"

namespace {

bool Apply(ExportBench& bench, const std::string& name, const std::string& value, int* cycles) {
  if (name == "target") {
    const char* targets[] = {"Stereo", "Left", "Right"};
    for (int i = 0; i < 3; ++i) {
      if (value == targets[i]) *cycles = i;
    }
    return *cycles >= 0;
  }
  for (const SettingField& field : kSettingFields) {
    if (name == field.name) {
      WriteField(bench.settings, field, static_cast<uint32_t>(strtoul(value.c_str(), nullptr, 0)));
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: %s out.mid [Name=value ...] [target=Stereo|Left|Right]\n", argv[0]);
    return 2;
  }
  ExportBench bench;
  int cycles = 0;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const size_t eq = arg.find('=');
    int wanted = -1;
    if (eq == std::string::npos || !Apply(bench, arg.substr(0, eq), arg.substr(eq + 1), &wanted)) {
      fprintf(stderr, "unknown setting: %s\n", argv[i]);
      return 2;
    }
    if (wanted >= 0) cycles = wanted;
  }
  bench.Open();
  bench.target = static_cast<DigitalTarget>(cycles);

  int result = 0;
  const Bytes image = bench.Build(&result);
  if (result != kImageBuilt) {
    fprintf(stderr, "no image: %d\n", result);
    return 1;
  }
  FILE* out = fopen(argv[1], "wb");
  if (out == nullptr || fwrite(image.data(), 1, image.size(), out) != image.size() || fclose(out) != 0) {
    fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
