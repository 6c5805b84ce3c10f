#include "panel/ui/startup_entry_win32.h"

#include <windows.h>

#include "panel/ui/startup_entry.h"
#include "runtime/program_path_win32.h"

bool RegistryStartupEntry::Visit(bool toggle) const {
  char program[MAX_PATH];
  HKEY key;
  DWORD disposition;
  // The Run key is made when missing (a fresh user's registry may lack it); Windows has it anyway.
  if (!ProgramPath(program, sizeof program) ||
      RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, nullptr,
                      REG_OPTION_NON_VOLATILE, toggle ? KEY_QUERY_VALUE | KEY_SET_VALUE : KEY_QUERY_VALUE, nullptr,
                      &key, &disposition) != ERROR_SUCCESS) {
    return false;
  }
  char entry[kStartupEntryCapacity];
  DWORD type;
  DWORD size = sizeof entry - 1;  // room for a zero the stored text may lack
  bool starts = RegQueryValueExA(key, name_, nullptr, &type, reinterpret_cast<BYTE*>(entry), &size) == ERROR_SUCCESS &&
                (type == REG_SZ || type == REG_EXPAND_SZ);
  if (starts) {
    entry[size] = '\0';
    starts = StartupEntryStartsProgram(entry, program);
  }
  LONG result = ERROR_SUCCESS;
  if (toggle && starts) {
    result = RegDeleteValueA(key, name_);
  } else if (toggle) {
    // An entry that names another file (the program was moved) is replaced by this program's.
    const int length = wsprintfA(entry, kStartupEntryFormat, program, kSendSwitch);
    result = RegSetValueExA(key, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry), length + 1);
  }
  RegCloseKey(key);
  return toggle ? result == ERROR_SUCCESS : starts;
}
