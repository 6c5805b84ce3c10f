#pragma once
// Shared pieces of the Win32 panel tests.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "panel/core/settings_store.h"
#include "panel/device/port_io.h"
#include "panel/device/tests/fake_clock.h"

// The test program's own module: it carries the panel's resources.
HINSTANCE TestModule();
// Registers the trackbar and up-down classes once.
void EnsureCommonControls();

// Window class name and text of a dialog item.
std::string ClassOf(HWND window);
std::string TextOf(HWND window);

// A clock that moves on by a fixed step at each reading, so bounded waits end at once.
// Settings kept in a map; counts the complete saves.
class MemorySettingsStore : public SettingsStore {
 public:
  bool OpenForRead() override { return !values.empty(); }
  bool Read(const char* name, uint32_t* value) override;
  bool OpenForWrite() override { return true; }
  void Write(const char* name, uint32_t value) override { values[name] = value; ++writes; }
  void Close() override {}

  std::map<std::string, uint32_t> values;
  int writes = 0;
};

// Catches every message box the thread opens: keeps its text and closes it with OK.
class MessageBoxCatcher {
 public:
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  std::vector<std::string> texts;
  std::vector<bool> ownerVisible;  // whether the box's owner was on the screen when it opened

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  HHOOK hook_;
};

// Dispatches everything waiting in the thread's queue through the window's dialog navigation.
void PumpMessages(HWND dialog);
