// Random folder trees behind the fake environment: the sweep deletes exactly the reachable
// shortcuts to the target, attempts to remove exactly the folders that held matches and nothing
// that stays, never removes its start folder or walks into a linked folder, closes every search
// and stays within its buffer.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "uninstall/shortcut_sweep.h"
#include "uninstall/tests/fake_folder_tree.h"
#include "uninstall/uninstall_names.h"

namespace {

constexpr char kTarget[] = "D:\\App\\Corvane.exe";

struct Node {
  std::string name;
  bool isDirectory = false;
  bool isLink = false;
  bool searchable = true;
  FakeFolderTree::File file;
  std::vector<std::unique_ptr<Node>> children;
};

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return size_ == 0; }
  uint8_t Byte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

std::string MakeName(Input& in, const Node& parent, bool isDirectory) {
  uint8_t shape = in.Byte();
  std::string name;
  if (shape % 16 == 0) name = "..";
  size_t length = 1 + shape % 5;
  if (shape >= 0xF0) length = 40 + in.Byte() % 200;  // long names reach the path limit
  static const char kLetters[] = "abAB.x";
  for (size_t i = 0; i < length; ++i) name += kLetters[in.Byte() % 6];
  if (!isDirectory && (name == "." || name == "..")) name += "f";
  for (bool clash = true; clash;) {
    clash = false;
    for (const auto& child : parent.children) clash |= child->name == name;
    if (clash) name += "z";
  }
  return name;
}

void Build(Input& in, Node& folder, int depth, FakeFolderTree& tree, const std::string& path) {
  uint8_t count = in.Byte() % 6;
  for (uint8_t i = 0; i < count && !in.Empty(); ++i) {
    auto child = std::make_unique<Node>();
    uint8_t kind = in.Byte();
    bool isDirectory = kind % 4 == 0 && depth < 6;
    child->name = MakeName(in, folder, isDirectory);
    std::string childPath = path + "\\" + child->name;
    if (isDirectory) {
      child->isDirectory = true;
      child->searchable = kind % 32 != 0;
      child->isLink = kind % 64 == 4;
      if (child->isLink) {
        tree.AddLink(childPath);
      } else {
        tree.AddFolder(childPath, child->searchable);
      }
      Build(in, *child, depth + 1, tree, childPath);
    } else {
      FakeFolderTree::File& file = child->file;
      file.read = static_cast<ShortcutRead>((kind >> 2) % 5);
      switch ((kind >> 5) % 4) {
        case 0: file.target = kTarget; break;
        case 1: file.target = "d:\\app\\CORVANE.EXE"; break;
        case 2: file.target = "D:\\App\\Corvane.hlp"; break;
        default: file.target = "D:\\APP~1\\Corvane.exe"; break;
      }
      if (file.read != ShortcutRead::kTarget && kind % 2) file.read = ShortcutRead::kTarget;
      file.undeletable = (kind & 0x80) && (kind & 0x02);
      tree.AddFile(childPath, file);
    }
    folder.children.push_back(std::move(child));
  }
}

// What the sweep must do, worked out on the model.
uint8_t Expect(const Node& folder, const std::string& path, uint8_t flags,
               std::vector<std::string>& deletes, std::vector<std::string>& removals) {
  if (path.size() + 5 <= kPathCapacity && folder.searchable) {
    for (const auto& child : folder.children) {
      if (child->isDirectory && child->name[0] == '.' && (child->name.size() == 1 || child->name[1] == '.')) continue;
      if (child->isDirectory && child->isLink) {
        flags |= SWEEP_KEPT;
        continue;
      }
      std::string full = path + "\\" + child->name;
      if (full.size() + (child->isDirectory ? 5 : 1) > kPathCapacity) {
        flags |= SWEEP_KEPT;
      } else if (child->isDirectory) {
        flags |= Expect(*child, full, 0, deletes, removals);
      } else if (child->file.read == ShortcutRead::kTarget && SameIgnoringAsciiCase(child->file.target, kTarget)) {
        deletes.push_back(full);
        flags |= SWEEP_DELETED;
      } else {
        flags |= SWEEP_KEPT;
      }
    }
  }
  if (flags == SWEEP_DELETED) removals.push_back(path);
  return flags;
}

std::vector<std::string> Logged(const std::vector<std::string>& log, const std::string& verb) {
  std::vector<std::string> paths;
  for (const std::string& line : log) {
    if (line.rfind(verb + " ", 0) == 0) paths.push_back(line.substr(verb.size() + 1));
  }
  return paths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  uint8_t rootLength = in.Byte();
  std::string root = "C:\\" + std::string(rootLength % 128 + (rootLength >= 0xC0 ? 120 : 0), 'r');
  FakeFolderTree tree;
  tree.AddFolder(root);
  Node model;
  model.isDirectory = true;
  Build(in, model, 0, tree, root);

  std::vector<std::string> deletes, removals;
  uint8_t expected = Expect(model, root, SWEEP_KEPT, deletes, removals);

  char* workPath = static_cast<char*>(malloc(kPathCapacity));
  memcpy(workPath, root.c_str(), root.size() + 1);
  uint8_t result = ShortcutSweep({tree, workPath, kTarget}, root.size(), SWEEP_KEPT);
  free(workPath);

  if (result != expected) abort();
  if (Logged(tree.Log(), "delete") != deletes) abort();
  if (Logged(tree.Log(), "rmdir") != removals) abort();
  if (!tree.Exists(root) || tree.OpenSearches() != 0) abort();
  return 0;
}
