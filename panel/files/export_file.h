#pragma once
// The one file an export writes. Behind an interface so tests can make a write fail or come up
// short and check that the partial file is removed.
#include <cstdint>

class ExportFile {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~ExportFile() = default;

 public:
  // Creates the file for writing, not shared, always anew (an existing file is truncated).
  virtual bool Create(const char* path) = 0;
  // One write; `written` receives the number of bytes that reached the file.
  virtual bool Write(const uint8_t* data, uint32_t size, uint32_t* written) = 0;
  virtual void Close() = 0;
  virtual void Delete(const char* path) = 0;
  // Whether a file or folder of this name exists.
  virtual bool Exists(const char* path) = 0;
};
