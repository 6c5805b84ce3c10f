// Measures the shortcut sweep on a large folder tree next to a plain walk of the same tree, and
// counts how many files the sweep loaded as shortcuts. Figures only, never a pass/fail test.
//   ucorvane_sweep_figures.exe ROOT FOLDERS FILES SHORTCUTS
// builds the tree under ROOT (a fresh folder), half of the shortcuts pointing at the target.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "uninstall/folder_environment_win32.h"
#include "uninstall/shortcut_sweep.h"
#include "uninstall/uninstall_names.h"

namespace {

class CountingFolders final : public FolderEnvironment {
 public:
  explicit CountingFolders(FolderEnvironment& inner) : inner_(inner) {}
  Search StartSearch(const char* pattern, FolderEntry& entry) override {
    ++searches;
    return inner_.StartSearch(pattern, entry);
  }
  bool NextEntry(Search search, FolderEntry& entry) override { return inner_.NextEntry(search, entry); }
  void EndSearch(Search search) override { inner_.EndSearch(search); }
  ShortcutRead ReadShortcut(const char* path, const char** target) override {
    ++candidates;
    ShortcutRead read = inner_.ReadShortcut(path, target);
    if (read != ShortcutRead::kNotShortcut && read != ShortcutRead::kNoPersistFile) ++loaded;
    return read;
  }
  void RemoveFile(const char* path) override {
    ++deleted;
    inner_.RemoveFile(path);
  }
  void RemoveFolder(const char* path) override {
    ++removals;
    inner_.RemoveFolder(path);
  }
  int searches = 0, candidates = 0, loaded = 0, deleted = 0, removals = 0;

 private:
  FolderEnvironment& inner_;
};

long long Entries(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return 0;
  long long count = 0;
  do {
    if (data.cFileName[0] == '.' && (data.cFileName[1] == 0 || data.cFileName[1] == '.')) continue;
    ++count;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) count += Entries(folder + "\\" + data.cFileName);
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return count;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

bool SaveLink(const std::string& link, const std::string& target) {
  IShellLinkA* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shellLink)))) return false;
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(shellLink->SetPath(target.c_str())) &&
      SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    saved = SUCCEEDED(file->Save(wide, TRUE));
    file->Release();
  }
  shellLink->Release();
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    fprintf(stderr, "usage: ucorvane_sweep_figures ROOT FOLDERS FILES SHORTCUTS\n");
    return 100;
  }
  std::string root = argv[1];
  int folders = atoi(argv[2]), files = atoi(argv[3]), shortcuts = atoi(argv[4]);
  const std::string target = root + "-app\\Corvane.exe";
  CoInitialize(nullptr);

  srand(7);
  std::vector<std::string> tree{root};
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "-app").c_str(), nullptr);
  for (int i = 0; i < folders; ++i) {
    std::string path = tree[rand() % tree.size()] + "\\folder" + std::to_string(i);
    if (path.size() > 200) path = root + "\\folder" + std::to_string(i);
    CreateDirectoryA(path.c_str(), nullptr);
    tree.push_back(path);
  }
  for (int i = 0; i < files; ++i) {
    std::string path = tree[rand() % tree.size()] + "\\file" + std::to_string(i) + ".txt";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, "some text\r\n", 11, &written, nullptr);
    CloseHandle(file);
  }
  int linkFailures = 0;
  for (int i = 0; i < shortcuts; ++i) {
    std::string path = tree[rand() % tree.size()] + "\\link" + std::to_string(i) + ".lnk";
    linkFailures += SaveLink(path, i % 2 ? target : root + "-app\\Other.exe") ? 0 : 1;
  }

  LARGE_INTEGER t0, t1, t2, t3;
  QueryPerformanceCounter(&t0);
  long long entries = Entries(root);
  QueryPerformanceCounter(&t1);

  Win32FolderEnvironment environment;
  if (!environment.CreateLinkObject()) return 101;
  CountingFolders counting(environment);
  char workPath[kPathCapacity];
  strcpy(workPath, root.c_str());
  QueryPerformanceCounter(&t2);
  ShortcutSweep({counting, workPath, target.c_str()}, root.size(), SWEEP_KEPT);
  QueryPerformanceCounter(&t3);
  environment.ReleaseLinkObject();
  CoUninitialize();

  printf("tree: %d folders, %d files, %d shortcuts (%d not saved); %lld entries walked\n", folders,
         files, shortcuts, linkFailures, entries);
  printf("plain walk: %.3f s\n", Seconds(t0, t1));
  printf("sweep: %.3f s; %d searches, %d candidate files, %d loaded as shortcuts, %d deleted, "
         "%d removals attempted\n",
         Seconds(t2, t3), counting.searches, counting.candidates, counting.loaded, counting.deleted,
         counting.removals);
  return 0;
}
