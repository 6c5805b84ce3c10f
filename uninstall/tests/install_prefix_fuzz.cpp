// Arbitrary "UninstallString" values and current directories: the prefix stays within the
// 260-character buffer (ASan watches its exact end) and leaves room for the uninstaller's name.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "uninstall/install_prefix.h"
#include "uninstall/uninstall_names.h"

namespace {

class FuzzedDirectory : public CurrentDirectorySource {
 public:
  FuzzedDirectory(const uint8_t* data, size_t size, uint8_t mode) : data_(data), size_(size), mode_(mode) {}
  uint32_t CurrentDirectory(char* buffer, uint32_t size) override {
    if (mode_ % 4 == 0) return 0;
    size_t length = strnlen(reinterpret_cast<const char*>(data_), size_);
    if (length >= size) return static_cast<uint32_t>(length + 1);  // the size it would need
    memcpy(buffer, data_, length);
    buffer[length] = '\0';
    return static_cast<uint32_t>(length);
  }

 private:
  const uint8_t* data_;
  size_t size_;
  uint8_t mode_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  uint8_t mode = data[0];
  size_t split = data[1] * 2u;
  data += 2;
  size -= 2;
  if (split > size) split = size;

  char* path = static_cast<char*>(malloc(kPathCapacity));
  memset(path, 0, kPathCapacity);
  // The value as a registry read may leave it: up to 260 bytes, not always terminated.
  memcpy(path, data, split < kPathCapacity ? split : kPathCapacity);
  FuzzedDirectory directory(data + split, size - split, mode >> 1);
  size_t length = DeriveInstallPrefix(path, (mode & 1) != 0, directory);
  if (length > kMaxPrefixLength) abort();
  // Every file name the sequence writes behind the prefix must fit.
  memcpy(path + length, kUninstallerName, sizeof(kUninstallerName));
  free(path);
  return 0;
}
