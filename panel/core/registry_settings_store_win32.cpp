#include "panel/core/registry_settings_store_win32.h"

namespace {
// Constant, so that the program has no writable data to carry (RegCreateKeyExA only reads the
// class it takes as a non-const string).
const char kKeyPath[] = "Software\\Tambrel";
const char kKeyClass[] = "Tambrel";
}  // namespace

bool RegistrySettingsStore::OpenForRead() {
  Close();
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  key_ = key;
  return true;
}

// The buffer starts zeroed so that a shorter value arrives zero-extended; a longer one does not
// fit the four bytes and fails. The stored type is not examined.
bool RegistrySettingsStore::Read(const char* name, uint32_t* value) {
  if (key_ == nullptr) return false;
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExA(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS) {
    return false;
  }
  *value = data;
  return true;
}

bool RegistrySettingsStore::OpenForWrite() {
  Close();
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, const_cast<char*>(kKeyClass), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key, &disposition) != ERROR_SUCCESS) {
    return false;
  }
  key_ = key;
  return true;
}

void RegistrySettingsStore::Write(const char* name, uint32_t value) {
  if (key_ == nullptr) return;
  DWORD data = value;
  RegSetValueExA(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

// Another type, or a text without its zero, is not taken.
bool RegistrySettingsStore::ReadText(const char* name, char* text, size_t capacity) {
  if (key_ == nullptr || capacity == 0) return false;
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(capacity);
  if (RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
      type != REG_SZ || size == 0 || text[size - 1] != '\0') {
    text[0] = '\0';
    return false;
  }
  return true;
}

void RegistrySettingsStore::WriteText(const char* name, const char* text) {
  if (key_ == nullptr) return;
  DWORD size = 1;
  while (text[size - 1] != '\0') ++size;
  RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size);
}

void RegistrySettingsStore::Close() {
  if (key_ == nullptr) return;
  RegCloseKey(key_);
  key_ = nullptr;
}
