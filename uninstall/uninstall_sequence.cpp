#include "uninstall/uninstall_sequence.h"

#include <cstring>

#include "uninstall/ascii_text.h"
#include "uninstall/install_dir_check.h"
#include "uninstall/rename_section.h"
#include "uninstall/shortcut_sweep.h"

namespace {

void PutFileName(UninstallState& state, const char* name, size_t size) {
  memcpy(state.programPath + state.prefixLength, name, size);
}

void PutExtension(UninstallState& state, const char* extension) {
  memcpy(state.programPath + state.prefixLength + kExtensionOffset, extension, 3);
}

void DeleteWithReport(UninstallState& state, UninstallPlatform& platform) {
  FileDeletion result = platform.DeleteFileReporting(state.programPath);
  if (!result.deleted && result.error != kErrorFileNotFound) {
    platform.ShowMessage(state.programPath, kFileErrorCaption);
  }
}

void FindInstallPrefix(UninstallState& state, UninstallPlatform& platform) {
  platform.DeleteKey(RegistryRoot::kCurrentUser, kSettingsKey);
  bool valueRead = false;
  UninstallPlatform::Key key = platform.OpenKey(RegistryRoot::kLocalMachine, kUninstallKey);
  if (key != nullptr) {
    valueRead = platform.QueryValue(key, kUninstallValue, state.programPath, kPathCapacity);
    platform.CloseKey(key);
    platform.DeleteKey(RegistryRoot::kLocalMachine, kUninstallKey);
  }
  state.prefixLength = DeriveInstallPrefix(state.programPath, valueRead, platform);
}

// Both sweeps start on the desktop folder and never remove it.
void SweepDesktop(UninstallState& state, UninstallPlatform& platform) {
  state.workPath[0] = '\0';
  platform.ReadDesktopFolderPath(state.workPath);
  size_t p = BoundedLength(state.workPath, kPathCapacity);
  if (p == kPathCapacity) p = 0;
  if (p > 0 && state.workPath[p - 1] == '\\') state.workPath[--p] = '\0';
  // Without a folder path the walk would start at the root of the current drive.
  if (p == 0) return;
  if (!platform.CreateLinkObject()) return;
  SweepWalk walk{platform.Folders(), state.workPath, state.programPath};
  ShortcutSweep(walk, p, SWEEP_KEPT);
  PutExtension(state, kHelpExtension);
  ShortcutSweep(walk, p, SWEEP_KEPT);
  platform.ReleaseLinkObject();
}

void RunShortcutPhase(UninstallState& state, UninstallPlatform& platform) {
  // COM set up by someone else on this thread (S_FALSE) is not ours to use or undo.
  if (platform.InitializeCom() != 0) return;
  if (platform.AcquireShellAllocator()) {
    if (platform.LocateDesktopFolder()) SweepDesktop(state, platform);
    platform.ReleaseShellAllocator();
  }
  platform.UninitializeCom();
}

void TestInstallDirEmpty(UninstallState& state, UninstallPlatform& platform) {
  state.installDirEmpty = false;
  memcpy(state.workPath, state.programPath, state.prefixLength);
  memcpy(state.workPath + state.prefixLength, kAllEntriesPattern, sizeof(kAllEntriesPattern));
  state.installDirEmpty = IsInstallDirEmpty(platform.Folders(), state.workPath);
}

void BuildProfilePath(UninstallState& state, UninstallPlatform& platform) {
  // Room for the directory, a backslash, the file name and its terminator: 247 + 1 + 11 + 1.
  constexpr uint32_t kDirectorySize = kPathCapacity - 1 - sizeof(kProfileFileName);
  char* path = state.profilePath;
  uint32_t length = platform.WindowsDirectory(path, kDirectorySize);
  if (length >= kDirectorySize) length = 0;  // did not fit: the bare name is used
  if (length != 0 && path[length - 1] != '\\') path[length++] = '\\';
  memcpy(path + length, kProfileFileName, sizeof(kProfileFileName));
}

bool WriteRenameLines(UninstallState& state, UninstallPlatform& platform, char* section) {
  BuildProfilePath(state, platform);
  uint32_t count =
      platform.ReadProfileSection(kRenameSection, section, kSectionCapacity, state.profilePath);
  if (!BuildRenameSection(section, count, state.programPath, state.workPath,
                          state.installDirEmpty)) {
    return false;
  }
  return platform.WriteProfileSection(kRenameSection, section, state.profilePath);
}

// The boot list removes a directory only when it is empty, so the file goes first. A directory
// whose uninstaller stays cannot go either: once the file is refused, it is not asked for.
bool AddToBootList(UninstallState& state, UninstallPlatform& platform) {
  if (!platform.ScheduleDeletionAtBoot(state.programPath)) return false;
  return !state.installDirEmpty || platform.ScheduleDeletionAtBoot(state.workPath);
}

void ScheduleRemoval(UninstallState& state, UninstallPlatform& platform) {
  bool ntFamily = platform.IsNtFamily();
  bool scheduled = false;
  char* section = nullptr;
  // With no install directory known there is nothing sound to schedule.
  if (state.prefixLength != 0) {
    section = platform.AllocateSectionBuffer();
    if (section != nullptr) scheduled = WriteRenameLines(state, platform, section);
  }
  if (!scheduled) platform.ShowMessage(state.workPath, kDirectoryErrorCaption);
  if (section != nullptr) platform.FreeSectionBuffer(section);

  // The rename lines stay for every system (older tools read them), but the NT family never
  // carries them out: there only its own list removes anything, and its refusal is reported
  // unless the user has already been told.
  if (!ntFamily || state.prefixLength == 0) return;
  if (!AddToBootList(state, platform) && scheduled) {
    platform.ShowMessage(state.workPath, kDirectoryErrorCaption);
  }
}

}  // namespace

void RunUninstall(UninstallState& state, UninstallPlatform& platform) {
  FindInstallPrefix(state, platform);

  PutFileName(state, kProgramName, sizeof(kProgramName));
  DeleteWithReport(state, platform);

  RunShortcutPhase(state, platform);

  PutExtension(state, kHelpExtension);
  DeleteWithReport(state, platform);
  PutExtension(state, kHelpIndexExtension);
  DeleteWithReport(state, platform);
  PutExtension(state, kHelpContentsExtension);
  DeleteWithReport(state, platform);

  TestInstallDirEmpty(state, platform);

  // The install directory is the prefix less its trailing backslash; the uninstaller's path is
  // built from the prefix, not asked of the system.
  size_t directoryLength = state.prefixLength > 0 ? state.prefixLength - 1 : 0;
  memcpy(state.workPath, state.programPath, directoryLength);
  state.workPath[directoryLength] = '\0';
  PutFileName(state, kUninstallerName, sizeof(kUninstallerName));

  ScheduleRemoval(state, platform);
}
