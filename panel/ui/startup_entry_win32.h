#pragma once
// The startup entry (startup_entry.h) in the registry: the value `name` under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run, which Windows 95 and later run at
// every start (NT: at every log-on of the user).
class RegistryStartupEntry {
 public:
  // name: the value's name, one per program ("Tambrel", "TambrelSim").
  explicit RegistryStartupEntry(const char* name) : name_(name) {}

  // Whether the value starts this very program file with /send.
  bool StartsThisProgram() const { return Visit(false); }
  // Deletes the value when it starts this program, else writes it for this program (REG_SZ); false
  // when the registry refuses, and then nothing has changed.
  bool Toggle() const { return Visit(true); }

 private:
  // Both in one: the value is read the same way before it is changed.
  bool Visit(bool toggle) const;

  const char* name_;
};
