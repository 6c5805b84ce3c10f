#pragma once
// Which family of Windows a program runs on: the 9x family (95, 98, Me) lets a program reach the
// hardware and carries out WININIT.INI; the NT family does neither.
#include <cstdint>

enum class SystemFamily : uint8_t { Windows9x, WindowsNt };

// From what GetVersion returns: its high bit is set on the 9x family (and on Win32s).
constexpr SystemFamily FamilyOfVersion(uint32_t version) {
  return (version & 0x80000000u) != 0 ? SystemFamily::Windows9x : SystemFamily::WindowsNt;
}
