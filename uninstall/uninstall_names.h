#pragma once
// The names the uninstaller works with, all single-byte text in the system code page.
#include <cstddef>

// Every path lives in a buffer of this many characters, terminator included.
inline constexpr size_t kPathCapacity = 260;

inline constexpr char kSettingsKey[] = "Software\\Corvane";  // under the current user
inline constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvane";  // under the machine
inline constexpr char kUninstallValue[] = "UninstallString";

inline constexpr char kUninstallerName[] = "ucorvane.exe";
inline constexpr size_t kUninstallerNameLength = sizeof(kUninstallerName) - 1;  // 12
inline constexpr char kProgramName[] = "Corvane.exe";
inline constexpr size_t kExtensionOffset = 8;  // "exe" in kProgramName
inline constexpr char kHelpExtension[] = "hlp";
inline constexpr char kHelpIndexExtension[] = "gid";
inline constexpr char kHelpContentsExtension[] = "cnt";

// A prefix must leave room for the longest file name written behind it, plus its terminator.
inline constexpr size_t kMaxPrefixLength = kPathCapacity - 1 - kUninstallerNameLength;  // 247

inline constexpr char kAllEntriesPattern[] = "*.*";
inline constexpr char kProfileFileName[] = "WININIT.INI";
inline constexpr char kRenameSection[] = "Rename";
inline constexpr char kDeleteAtBootPrefix[] = "NUL=";

inline constexpr char kFileErrorCaption[] = "Can't delete the file named:";
inline constexpr char kDirectoryErrorCaption[] = "Can't delete the directory named";
