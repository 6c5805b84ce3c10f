#include "uninstall/tests/fake_folder_tree.h"

#include <cstdint>
#include <cstring>
#include <cstdio>
#include <cstdlib>

// Misuse of the fake is a fault of the code under test (or of the test): stop at once.
[[noreturn]] static void Fail(const std::string& why) {
  fprintf(stderr, "FakeFolderTree: %s\n", why.c_str());
  abort();
}

std::string ParentOf(const std::string& path) {
  size_t cut = path.rfind('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

static std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

void FakeFolderTree::AddFolder(const std::string& path, bool searchable, bool dotEntries) {
  auto parent = nodes_.find(ParentOf(path));
  if (parent != nodes_.end()) parent->second.children.push_back(NameOf(path));
  Node& node = nodes_[path];
  node.isDirectory = true;
  node.searchable = searchable;
  node.dotEntries = dotEntries;
}

void FakeFolderTree::AddFile(const std::string& path, File file) {
  auto parent = nodes_.find(ParentOf(path));
  if (parent == nodes_.end()) Fail("no folder for " + path);
  parent->second.children.push_back(NameOf(path));
  Node& node = nodes_[path];
  node.file = std::move(file);
}

std::vector<std::string> FakeFolderTree::Paths() const {
  std::vector<std::string> paths;
  for (const auto& [path, node] : nodes_) paths.push_back(path);
  return paths;
}

int FakeFolderTree::OpenSearches() const {
  int open = 0;
  for (const Listing& listing : listings_) open += listing.open ? 1 : 0;
  return open;
}

bool FakeFolderTree::Emit(Listing& listing, FolderEntry& entry) {
  // Scribble over the shared record first, as a real search would refill it.
  memset(record_, '#', sizeof(record_) - 1);
  if (listing.next >= listing.entries.size()) return false;
  const Listed& listed = listing.entries[listing.next++];
  if (listed.name.size() >= sizeof(record_)) Fail("name too long for the record");
  memcpy(record_, listed.name.c_str(), listed.name.size() + 1);
  entry.name = record_;
  entry.isDirectory = listed.isDirectory;
  entry.isLink = listed.isLink;
  return true;
}

FolderEnvironment::Search FakeFolderTree::StartSearch(const char* pattern, FolderEntry& entry) {
  std::string text(pattern);
  log_->push_back("search " + text);
  if (text.size() < 3 || text.compare(text.size() - 3, 3, "*.*") != 0) return nullptr;
  std::string folder = text.substr(0, text.size() - 3);
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  auto found = nodes_.find(folder);
  if (found == nodes_.end() || !found->second.isDirectory || !found->second.searchable) {
    return nullptr;
  }
  Listing listing;
  listing.open = true;
  if (found->second.dotEntries) {
    listing.entries.push_back({".", true, false});
    listing.entries.push_back({"..", true, false});
  }
  for (const std::string& name : found->second.children) {
    const Node& child = nodes_.at(folder + "\\" + name);
    listing.entries.push_back({name, child.isDirectory, child.isLink});
  }
  listings_.push_back(std::move(listing));
  if (!Emit(listings_.back(), entry)) {
    listings_.back().open = false;
    return nullptr;  // nothing matched: the search does not start
  }
  return reinterpret_cast<Search>(static_cast<uintptr_t>(listings_.size()));
}

bool FakeFolderTree::NextEntry(Search search, FolderEntry& entry) {
  Listing& listing = listings_.at(reinterpret_cast<uintptr_t>(search) - 1);
  if (!listing.open) Fail("search used after its end");
  return Emit(listing, entry);
}

void FakeFolderTree::EndSearch(Search search) {
  Listing& listing = listings_.at(reinterpret_cast<uintptr_t>(search) - 1);
  if (!listing.open) Fail("search ended twice");
  listing.open = false;
}

ShortcutRead FakeFolderTree::ReadShortcut(const char* path, const char** target) {
  log_->push_back(std::string("read ") + path);
  auto found = nodes_.find(path);
  if (found == nodes_.end() || found->second.isDirectory) return ShortcutRead::kNotShortcut;
  const File& file = found->second.file;
  if (file.read == ShortcutRead::kTarget) {
    targetRecord_ = file.target;
    *target = targetRecord_.c_str();
  }
  return file.read;
}

void FakeFolderTree::Unlink(const std::string& path) {
  auto& siblings = nodes_.at(ParentOf(path)).children;
  std::erase(siblings, NameOf(path));
  nodes_.erase(path);
}

void FakeFolderTree::RemoveFile(const char* path) {
  log_->push_back(std::string("delete ") + path);
  auto found = nodes_.find(path);
  if (found == nodes_.end() || found->second.isDirectory || found->second.file.undeletable) return;
  Unlink(path);
}

void FakeFolderTree::RemoveFolder(const char* path) {
  log_->push_back(std::string("rmdir ") + path);
  auto found = nodes_.find(path);
  if (found == nodes_.end() || !found->second.isDirectory || !found->second.children.empty()) {
    ++removalsRefused_;
    return;
  }
  Unlink(path);
}
