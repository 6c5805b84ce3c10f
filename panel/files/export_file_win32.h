#pragma once
// The exported file through the system's file handles.
#include <windows.h>

#include "panel/files/export_file.h"

class Win32ExportFile : public ExportFile {
 public:
  ~Win32ExportFile() { Close(); }

  bool Create(const char* path) override;
  bool Write(const uint8_t* data, uint32_t size, uint32_t* written) override;
  void Close() override;
  void Delete(const char* path) override;
  bool Exists(const char* path) override { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};
