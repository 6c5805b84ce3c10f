#pragma once
// An in-memory folder tree behind the FolderEnvironment port. Like the Win32 adapter it hands out
// every entry name from one shared record, so a walk that keeps a name across a nested search
// reads garbage. Deletions and removals change the tree; a folder is removed only when empty.
#include <map>
#include <string>
#include <vector>

#include "uninstall/folder_environment.h"

struct FakeFile {
  ShortcutRead read = ShortcutRead::kNotShortcut;
  std::string target;  // when read is kTarget
  bool undeletable = false;
};

class FakeFolderTree : public FolderEnvironment {
 public:
  using File = FakeFile;

  // `log`, when given, receives one line per call: "search <pattern>", "read <path>",
  // "delete <path>", "rmdir <path>"; otherwise the tree keeps its own.
  explicit FakeFolderTree(std::vector<std::string>* log = nullptr) : log_(log ? log : &ownLog_) {}

  // Adds a folder (its parent must exist unless it is a root). Listing yields "." and ".." first,
  // as real searches do, unless `dotEntries` is false.
  void AddFolder(const std::string& path, bool searchable = true, bool dotEntries = true);
  // A folder entry that links elsewhere; what is added below it stands for what lies behind it.
  void AddLink(const std::string& path) {
    AddFolder(path);
    nodes_[path].isLink = true;
  }
  void AddFile(const std::string& path, File file = {});
  void AddShortcut(const std::string& path, const std::string& target) {
    AddFile(path, File{ShortcutRead::kTarget, target, false});
  }
  bool Exists(const std::string& path) const { return nodes_.count(path) != 0; }
  std::vector<std::string> Paths() const;
  const std::vector<std::string>& Log() const { return *log_; }
  int OpenSearches() const;
  int RemovalsRefused() const { return removalsRefused_; }

  Search StartSearch(const char* pattern, FolderEntry& entry) override;
  bool NextEntry(Search search, FolderEntry& entry) override;
  void EndSearch(Search search) override;
  ShortcutRead ReadShortcut(const char* path, const char** target) override;
  void RemoveFile(const char* path) override;
  void RemoveFolder(const char* path) override;

 private:
  struct Node {
    bool isDirectory = false;
    bool isLink = false;
    bool searchable = true;
    bool dotEntries = true;
    File file;
    std::vector<std::string> children;  // names, in listing order
  };
  struct Listed {
    std::string name;
    bool isDirectory = false;
    bool isLink = false;
  };
  struct Listing {
    std::vector<Listed> entries;  // taken when the search starts
    size_t next = 0;
    bool open = false;
  };

  bool Emit(Listing& listing, FolderEntry& entry);
  void Unlink(const std::string& path);

  std::vector<std::string> ownLog_;
  std::vector<std::string>* log_;
  std::map<std::string, Node> nodes_;
  std::vector<Listing> listings_;
  char record_[260] = {};
  std::string targetRecord_;
  int removalsRefused_ = 0;
};

std::string ParentOf(const std::string& path);
