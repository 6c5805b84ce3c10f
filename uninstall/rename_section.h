#pragma once
// The "Rename" section of the boot-time rename file, extended with the delete-at-boot lines for
// the uninstaller's own file and, when nothing else is left there, its directory.
#include <cstddef>
#include <cstdint>

inline constexpr size_t kSectionCapacity = 4096;
// The existing lines may take at most this many characters: the rest always holds two new lines
// of paths that fit their 260-character buffers.
inline constexpr uint32_t kSectionContentLimit = 3575;

// `section` (kSectionCapacity bytes) holds the lines as the profile API returned them, each ended
// by a zero byte, then one more zero byte at `reportedCount`. Appends "NUL=<uninstallerPath>" and,
// when `installDirEmpty`, "NUL=<installDir>", then the closing zero byte; earlier lines stay as
// they are. Returns false, leaving the buffer unchanged, when the existing content is too long.
bool BuildRenameSection(char* section, uint32_t reportedCount, const char* uninstallerPath,
                        const char* installDir, bool installDirEmpty);
