#pragma once
// A settings file read through the system's file handles, shared for reading with other programs.
#include <windows.h>

#include "panel/export/settings_file.h"

class Win32SettingsFileSource : public SettingsFileSource {
 public:
  ~Win32SettingsFileSource() override { Close(); }

  bool Open(const char* path) override;
  bool Size(uint32_t* size) override;
  bool ReadAll(uint8_t* buffer, uint32_t size) override;
  void Close() override;

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};
