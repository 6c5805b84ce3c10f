// Test helper: makes shell shortcut files, as an installer would.
//   ucorvane_make_links.exe LINK TARGET [LINK TARGET ...]
// Exit code 0 when every shortcut was saved, otherwise the number of failures.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

// The failing call's result, or S_OK.
static HRESULT SaveLink(const char* link, const char* target) {
  IShellLinkA* shellLink = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IShellLinkA, reinterpret_cast<void**>(&shellLink));
  if (FAILED(result)) return result;
  IPersistFile* file = nullptr;
  result = shellLink->SetPath(target);
  if (SUCCEEDED(result)) {
    result = shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  }
  if (SUCCEEDED(result)) {
    WCHAR widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link, -1, widePath, MAX_PATH);
    result = file->Save(widePath, TRUE);
    file->Release();
  }
  shellLink->Release();
  return SUCCEEDED(result) ? S_OK : result;
}

int main(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) {
    fprintf(stderr, "usage: ucorvane_make_links LINK TARGET [LINK TARGET ...]\n");
    return 100;
  }
  CoInitialize(nullptr);
  int failures = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    HRESULT result = SaveLink(argv[i], argv[i + 1]);
    if (result != S_OK) {
      fprintf(stderr, "could not save %s -> %s: 0x%08lX\n", argv[i], argv[i + 1],
              static_cast<unsigned long>(result));
      ++failures;
    }
  }
  CoUninitialize();
  return failures;
}
