// Arbitrary existing sections and paths: the new lines never go past the 4096-byte buffer, the
// existing lines stay byte for byte, and a refused section is left untouched.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "uninstall/rename_section.h"
#include "uninstall/uninstall_names.h"

static char* TakePath(const uint8_t*& data, size_t& size) {
  char* path = static_cast<char*>(calloc(kPathCapacity, 1));
  size_t length = size == 0 ? 0 : data[0] % kPathCapacity;  // at most 259
  ++data;
  size = size == 0 ? 0 : size - 1;
  for (size_t i = 0; i < length; ++i) path[i] = (i < size && data[i] != 0) ? static_cast<char>(data[i]) : 'p';
  size_t used = length < size ? length : size;
  data += used;
  size -= used;
  return path;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  bool directoryEmpty = data[0] & 1;
  size_t filler = (static_cast<size_t>(data[1]) << 4) | (data[0] >> 4);  // up to 4095 bytes of lines
  data += 2;
  size -= 2;
  char* file = TakePath(data, size);
  char* directory = TakePath(data, size);

  // Lines from the rest of the input (zero bytes end lines), padded to the filler length.
  std::vector<char> existing(data, data + size);
  while (existing.size() < filler) existing.push_back(existing.size() % 7 == 6 ? '\0' : 'x');
  if (existing.size() > kSectionCapacity - 2) existing.resize(kSectionCapacity - 2);
  if (!existing.empty()) existing.back() = '\0';
  // Blank lines do not come back from the profile API.
  for (size_t i = 0; i < existing.size(); ++i) {
    if (existing[i] == '\0' && (i == 0 || existing[i - 1] == '\0')) existing[i] = 'x';
  }
  if (!existing.empty()) existing.back() = '\0';
  uint32_t count = static_cast<uint32_t>(existing.size());

  char* section = static_cast<char*>(malloc(kSectionCapacity));
  memset(section, 'G', kSectionCapacity);
  if (!existing.empty()) memcpy(section, existing.data(), existing.size());
  section[count] = '\0';
  std::vector<char> before(section, section + kSectionCapacity);

  bool built = BuildRenameSection(section, count, file, directory, directoryEmpty);
  size_t needed = 4 + strlen(file) + 1 + (directoryEmpty ? 4 + strlen(directory) + 1 : 0) + 1;
  if (built != (count <= kSectionContentLimit && count + needed <= kSectionCapacity)) abort();
  if (!built) {
    if (memcmp(section, before.data(), kSectionCapacity) != 0) abort();
  } else {
    if (memcmp(section, before.data(), count) != 0) abort();
    std::string expected = std::string("NUL=") + file + '\0';
    if (directoryEmpty) expected += std::string("NUL=") + directory + '\0';
    expected += '\0';
    if (memcmp(section + count, expected.data(), expected.size()) != 0) abort();
  }
  free(section);
  free(file);
  free(directory);
  return 0;
}
