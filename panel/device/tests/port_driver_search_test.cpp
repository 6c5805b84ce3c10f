// Which port-driver library the panel takes, in which order and from where: against a fake
// system that holds library files in folders.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "panel/device/port_driver_search.h"

namespace {
const char kProgramFolder[] = "C:\\Program Files\\Tambrel";
const char kSystemFolder[] = "C:\\WINDOWS\\system32";

void PortFunction() {}

// Library files by full path, each with the functions it exports.
class FakeLoader : public LibraryLoader {
 public:
  void Put(const std::string& path, std::set<std::string> exports) { files_[path] = std::move(exports); }
  void PutInpOut(const std::string& path) { Put(path, {"Inp32", "Out32", "IsInpOutDriverOpen"}); }

  void* Load(const char* path) override {
    tried.push_back(path);
    auto it = files_.find(path);
    if (it == files_.end()) return nullptr;
    ++loaded;
    return &it->second;
  }
  Function Find(void* library, const char* name) override {
    return static_cast<std::set<std::string>*>(library)->count(name) != 0 ? PortFunction : nullptr;
  }
  void Free(void*) override { ++freed; }

  std::vector<std::string> tried;
  int loaded = 0;
  int freed = 0;

 private:
  std::map<std::string, std::set<std::string>> files_;
};

std::string In(const char* folder, const char* file) { return std::string(folder) + "\\" + file; }

struct Search {
  FakeLoader loader;
  PortDriver found;
  bool Run(SystemFamily family, unsigned bits, const char* program = kProgramFolder,
           const char* system = kSystemFolder) {
    return FindPortDriver(family, bits, program, system, loader, found);
  }
};
}  // namespace

TEST(PortDriverSearch, The9xFamilyLoadsNothingWhateverLies) {
  for (unsigned bits : {32u, 64u}) {
    Search search;
    search.loader.PutInpOut(In(kProgramFolder, "inpout32.dll"));
    search.loader.PutInpOut(In(kProgramFolder, "inpoutx64.dll"));
    EXPECT_FALSE(search.Run(SystemFamily::Windows9x, bits));
    EXPECT_TRUE(search.loader.tried.empty());
    EXPECT_EQ(search.found.library, nullptr);
  }
}

TEST(PortDriverSearch, EachWordSizeLooksForItsOwnFilesInOrder) {
  Search s32;
  EXPECT_FALSE(s32.Run(SystemFamily::WindowsNt, 32));
  EXPECT_EQ(s32.loader.tried, (std::vector<std::string>{
                                  In(kProgramFolder, "inpout32.dll"), In(kSystemFolder, "inpout32.dll"),
                                  In(kProgramFolder, "dlportio.dll"), In(kSystemFolder, "dlportio.dll")}));

  // DlPortIO has no 64-bit library, and the 32-bit InpOut file cannot serve a 64-bit program.
  Search s64;
  EXPECT_FALSE(s64.Run(SystemFamily::WindowsNt, 64));
  EXPECT_EQ(s64.loader.tried, (std::vector<std::string>{In(kProgramFolder, "inpoutx64.dll"),
                                                         In(kSystemFolder, "inpoutx64.dll")}));

  EXPECT_STREQ(InstallablePortDriver(32), "inpout32.dll");
  EXPECT_STREQ(InstallablePortDriver(64), "inpoutx64.dll");
}

TEST(PortDriverSearch, ProgramFolderComesFirstAndInpOutBeforeDlPortIo) {
  Search both;
  both.loader.PutInpOut(In(kSystemFolder, "inpout32.dll"));
  both.loader.PutInpOut(In(kProgramFolder, "inpout32.dll"));
  ASSERT_TRUE(both.Run(SystemFamily::WindowsNt, 32));
  EXPECT_STREQ(both.found.path, In(kProgramFolder, "inpout32.dll").c_str());
  EXPECT_EQ(both.loader.loaded, 1);

  // InpOut in the system folder wins over DlPortIO beside the program: it can tell whether its
  // driver runs.
  Search older;
  older.loader.Put(In(kProgramFolder, "dlportio.dll"), {"DlPortReadPortUchar", "DlPortWritePortUchar"});
  older.loader.PutInpOut(In(kSystemFolder, "inpout32.dll"));
  ASSERT_TRUE(older.Run(SystemFamily::WindowsNt, 32));
  EXPECT_STREQ(older.found.path, In(kSystemFolder, "inpout32.dll").c_str());
  EXPECT_EQ(older.found.api, PortDriverApi::InpOut);
  EXPECT_NE(older.found.driverOpen, nullptr);
}

TEST(PortDriverSearch, DlPortIoServesThe32BitProgramWithOrWithoutTheDriverQuestion) {
  Search plain;
  plain.loader.Put(In(kSystemFolder, "dlportio.dll"), {"DlPortReadPortUchar", "DlPortWritePortUchar"});
  ASSERT_TRUE(plain.Run(SystemFamily::WindowsNt, 32));
  EXPECT_EQ(plain.found.api, PortDriverApi::DlPortIo);
  EXPECT_NE(plain.found.read, nullptr);
  EXPECT_NE(plain.found.write, nullptr);
  EXPECT_EQ(plain.found.driverOpen, nullptr);

  // InpOut's library under DlPortIO's name.
  Search renamed;
  renamed.loader.Put(In(kProgramFolder, "dlportio.dll"),
                     {"DlPortReadPortUchar", "DlPortWritePortUchar", "IsInpOutDriverOpen"});
  ASSERT_TRUE(renamed.Run(SystemFamily::WindowsNt, 32));
  EXPECT_NE(renamed.found.driverOpen, nullptr);

  Search wide;
  wide.loader.Put(In(kProgramFolder, "dlportio.dll"), {"DlPortReadPortUchar", "DlPortWritePortUchar"});
  EXPECT_FALSE(wide.Run(SystemFamily::WindowsNt, 64));
  EXPECT_EQ(wide.loader.loaded, 0);
}

TEST(PortDriverSearch, ALibraryWithoutThePortFunctionsIsLetGoAndTheSearchGoesOn) {
  Search search;
  search.loader.Put(In(kProgramFolder, "inpout32.dll"), {"Inp32"});  // no Out32
  search.loader.Put(In(kSystemFolder, "inpout32.dll"), {"Inp32", "Out32"});  // another author's
  ASSERT_TRUE(search.Run(SystemFamily::WindowsNt, 32));
  EXPECT_EQ(search.loader.freed, 1);
  EXPECT_STREQ(search.found.path, In(kSystemFolder, "inpout32.dll").c_str());
  EXPECT_EQ(search.found.driverOpen, nullptr);  // it cannot say, so it is used as it is
}

TEST(PortDriverSearch, NeverABareNameOrARelativeOrCutPath) {
  // Without a folder of its own (an unknown program path) only the system folder is looked at.
  Search noProgram;
  noProgram.Run(SystemFamily::WindowsNt, 64, "", kSystemFolder);
  EXPECT_EQ(noProgram.loader.tried, std::vector<std::string>{In(kSystemFolder, "inpoutx64.dll")});

  Search relative;
  relative.Run(SystemFamily::WindowsNt, 64, "Tambrel", ".\\system32");
  relative.Run(SystemFamily::WindowsNt, 64, "C:", nullptr);
  EXPECT_TRUE(relative.loader.tried.empty());

  // A folder so long that the path would not fit is skipped, never cut short.
  std::string deep = "C:\\" + std::string(250, 'd');
  Search tooLong;
  tooLong.Run(SystemFamily::WindowsNt, 64, deep.c_str(), kSystemFolder);
  EXPECT_EQ(tooLong.loader.tried, std::vector<std::string>{In(kSystemFolder, "inpoutx64.dll")});

  char path[kLibraryPathCapacity];
  EXPECT_TRUE(LibraryPath("C:\\", "inpout32.dll", path, sizeof path));
  EXPECT_STREQ(path, "C:\\inpout32.dll");
  EXPECT_TRUE(LibraryPath("\\\\server\\share\\panel", "inpout32.dll", path, sizeof path));
  EXPECT_STREQ(path, "\\\\server\\share\\panel\\inpout32.dll");
  EXPECT_TRUE(LibraryPath("C:\\x", "inpout32.dll", path, 18));  // 17 characters and the zero
  EXPECT_FALSE(LibraryPath("C:\\x", "inpout32.dll", path, 17));
  EXPECT_STREQ(path, "");
}
