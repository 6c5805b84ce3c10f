#include "panel/device/port_driver_search.h"

#include "runtime/program_path.h"

namespace {
constexpr PortDriverLibrary kInpOut32 = {"inpout32.dll", PortDriverApi::InpOut};
constexpr PortDriverLibrary kInpOutX64 = {"inpoutx64.dll", PortDriverApi::InpOut};
// DlPortIO was only ever made for 32-bit programs.
constexpr PortDriverLibrary kDlPortIo = {"dlportio.dll", PortDriverApi::DlPortIo};

bool IsFullFolder(const char* folder) {
  const bool driveRoot = ((folder[0] | 0x20) >= 'a' && (folder[0] | 0x20) <= 'z') && folder[1] == ':' &&
                         IsPathSeparator(folder[2]);
  const bool uncName = IsPathSeparator(folder[0]) && IsPathSeparator(folder[1]) && folder[2] != '\0';
  return driveRoot || uncName;
}

size_t Length(const char* text) {
  size_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

bool Fail(char* out, size_t capacity) {
  if (capacity > 0) out[0] = '\0';
  return false;
}

// The functions that carry the port bytes, by interface.
const char* ReadFunction(PortDriverApi api) { return api == PortDriverApi::InpOut ? "Inp32" : "DlPortReadPortUchar"; }
const char* WriteFunction(PortDriverApi api) { return api == PortDriverApi::InpOut ? "Out32" : "DlPortWritePortUchar"; }

// Loads one candidate; keeps it in `found` when it has both port functions.
bool TryLibrary(const PortDriverLibrary& library, const char* folder, LibraryLoader& loader, PortDriver& found) {
  char path[kLibraryPathCapacity];
  if (!LibraryPath(folder, library.fileName, path, sizeof path)) return false;
  void* handle = loader.Load(path);
  if (handle == nullptr) return false;
  LibraryLoader::Function read = loader.Find(handle, ReadFunction(library.api));
  LibraryLoader::Function write = loader.Find(handle, WriteFunction(library.api));
  if (read == nullptr || write == nullptr) {
    loader.Free(handle);
    return false;
  }
  found.library = handle;
  found.api = library.api;
  found.read = read;
  found.write = write;
  // InpOut's library renamed dlportio.dll serves DlPortIO's callers and can still say this.
  found.driverOpen = loader.Find(handle, "IsInpOutDriverOpen");
  for (size_t i = 0; i < sizeof path; ++i) {
    found.path[i] = path[i];
    if (path[i] == '\0') break;
  }
  return true;
}
}  // namespace

size_t PortDriverLibraries(SystemFamily family, unsigned wordBits, PortDriverLibrary* out) {
  if (family == SystemFamily::Windows9x) return 0;
  if (wordBits == 64) {
    out[0] = kInpOutX64;
    return 1;
  }
  out[0] = kInpOut32;
  out[1] = kDlPortIo;
  return 2;
}

const char* InstallablePortDriver(unsigned wordBits) {
  return wordBits == 64 ? kInpOutX64.fileName : kInpOut32.fileName;
}

bool LibraryPath(const char* folder, const char* fileName, char* out, size_t capacity) {
  if (!IsFullFolder(folder)) return Fail(out, capacity);
  const size_t folderLength = Length(folder);
  const bool separator = !IsPathSeparator(folder[folderLength - 1]);
  const size_t length = folderLength + (separator ? 1 : 0) + Length(fileName);
  if (length + 1 > capacity) return Fail(out, capacity);
  char* p = out;
  for (const char* s = folder; *s != '\0'; ++s) *p++ = *s;
  if (separator) *p++ = '\\';
  for (const char* s = fileName; *s != '\0'; ++s) *p++ = *s;
  *p = '\0';
  return true;
}

bool FindPortDriver(SystemFamily family, unsigned wordBits, const char* programFolder,
                    const char* systemFolder, LibraryLoader& loader, PortDriver& found) {
  found = PortDriver{};
  PortDriverLibrary libraries[kPortDriverLibraryCapacity];
  const size_t count = PortDriverLibraries(family, wordBits, libraries);
  const char* folders[] = {programFolder, systemFolder};
  // The better interface wherever it is, before the older one beside the program.
  for (size_t l = 0; l < count; ++l) {
    for (const char* folder : folders) {
      if (folder != nullptr && TryLibrary(libraries[l], folder, loader, found)) return true;
    }
  }
  return false;
}
