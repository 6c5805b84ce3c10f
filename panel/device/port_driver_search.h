#pragma once
// Which port-driver library the panel uses where the system refuses programs the processor's own
// port instructions (the NT family), and where it looks for it. The 9x family lets programs
// reach ports directly, so no library is ever looked for there. On the NT family the InpOut
// interface comes first (its library can say whether its driver runs), then, for a 32-bit
// program, the older DlPortIO interface; each is looked for in the program's own folder, then in
// the system folder. Only full paths are ever loaded: a bare name would let the system search the
// current folder and the PATH, where anyone could have planted a file of that name.
#include <cstddef>
#include <cstdint>

#include "runtime/system_family.h"

enum class PortDriverApi : uint8_t {
  InpOut,    // Inp32/Out32, and IsInpOutDriverOpen
  DlPortIo,  // DlPortReadPortUchar/DlPortWritePortUchar
};

struct PortDriverLibrary {
  const char* fileName;
  PortDriverApi api;
};

constexpr size_t kPortDriverLibraryCapacity = 2;
constexpr size_t kLibraryPathCapacity = 260;

// The library files to look for, best first (at most kPortDriverLibraryCapacity); returns how
// many. None on the 9x family. wordBits: 32 or 64, the program's own word size.
size_t PortDriverLibraries(SystemFamily family, unsigned wordBits, PortDriverLibrary* out);

// The library a user of this program is told to get: the InpOut one of its word size.
const char* InstallablePortDriver(unsigned wordBits);

// folder + "\" + fileName. False (and out empty) when the folder is not a full path (drive and
// root, or a UNC name) or the result does not fit: such a path is never to be loaded.
bool LibraryPath(const char* folder, const char* fileName, char* out, size_t capacity);

// What the search needs from the system: load a library by its full path, find a function in it,
// let it go again.
class LibraryLoader {
 public:
  using Function = void (*)();
  // Null when there is no such file or it cannot be loaded.
  virtual void* Load(const char* path) = 0;
  virtual Function Find(void* library, const char* name) = 0;
  virtual void Free(void* library) = 0;

 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~LibraryLoader() = default;
};

struct PortDriver {
  void* library = nullptr;
  PortDriverApi api = PortDriverApi::InpOut;
  LibraryLoader::Function read = nullptr;
  LibraryLoader::Function write = nullptr;
  // IsInpOutDriverOpen; null when the library has none (DlPortIO, and an unrelated library of
  // the InpOut file name that only has Inp32/Out32).
  LibraryLoader::Function driverOpen = nullptr;
  char path[kLibraryPathCapacity] = {};
};

// Looks for the libraries of PortDriverLibraries in programFolder, then in systemFolder (an empty
// or relative folder is skipped) and keeps the first that loads and has both port functions; a
// library without them is let go again. False when none was found (found.library is then null).
bool FindPortDriver(SystemFamily family, unsigned wordBits, const char* programFolder,
                    const char* systemFolder, LibraryLoader& loader, PortDriver& found);
