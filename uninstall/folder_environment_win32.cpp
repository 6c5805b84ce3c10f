#include "uninstall/folder_environment_win32.h"

#include <cstring>

namespace {

// Spelled out here so that the program needs no GUID library.
const CLSID kShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kShellLinkInterface = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID kPersistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

}  // namespace

bool Win32FolderEnvironment::CreateLinkObject() {
  void* object = nullptr;
  if (CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface,
                       &object) != 0) {
    return false;
  }
  link_ = static_cast<IShellLinkA*>(object);
  return true;
}

void Win32FolderEnvironment::ReleaseLinkObject() {
  if (link_ != nullptr) link_->Release();
  link_ = nullptr;
}

void Win32FolderEnvironment::Fill(FolderEntry& entry) {
  entry.name = findData_.cFileName;
  entry.isDirectory = (findData_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  entry.isLink = (findData_.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

FolderEnvironment::Search Win32FolderEnvironment::StartSearch(const char* pattern,
                                                              FolderEntry& entry) {
  HANDLE search = FindFirstFileA(pattern, &findData_);
  if (search == INVALID_HANDLE_VALUE) return nullptr;
  Fill(entry);
  return search;
}

bool Win32FolderEnvironment::NextEntry(Search search, FolderEntry& entry) {
  if (!FindNextFileA(search, &findData_)) return false;
  Fill(entry);
  return true;
}

void Win32FolderEnvironment::EndSearch(Search search) { FindClose(search); }

ShortcutRead Win32FolderEnvironment::ReadShortcut(const char* path, const char** target) {
  MultiByteToWideChar(CP_ACP, 0, path, -1, widePath_, kPathCapacity);
  // The class test comes first: files that are not shortcuts are never loaded.
  if (GetClassFile(widePath_, &linkClass_) != S_OK ||
      memcmp(&linkClass_, &kShellLinkClass, sizeof(CLSID)) != 0) {
    return ShortcutRead::kNotShortcut;
  }
  IPersistFile* file = nullptr;
  if (link_ == nullptr ||
      link_->QueryInterface(kPersistFileInterface, reinterpret_cast<void**>(&file)) != 0) {
    return ShortcutRead::kNoPersistFile;
  }
  ShortcutRead result = ShortcutRead::kNotLoaded;
  if (file->Load(widePath_, STGM_READ) == 0) {
    char* targetPath = reinterpret_cast<char*>(widePath_);
    result = ShortcutRead::kNoTarget;
    if (link_->GetPath(targetPath, sizeof(widePath_), &linkFindData_, SLGP_UNCPRIORITY) == S_OK) {
      targetPath[sizeof(widePath_) - 1] = '\0';
      *target = targetPath;
      result = ShortcutRead::kTarget;
    }
  }
  file->Release();
  return result;
}

void Win32FolderEnvironment::RemoveFile(const char* path) { DeleteFileA(path); }

void Win32FolderEnvironment::RemoveFolder(const char* path) { RemoveDirectoryA(path); }
