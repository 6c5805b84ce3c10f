#pragma once
// The export's user and file in memory, each noting what happened to it in one shared journal.
#include <cstring>
#include <string>
#include <vector>

#include "panel/files/export_file.h"
#include "panel/files/export_ui.h"

using Journal = std::vector<std::string>;

class ScriptedUi : public ExportUi {
 public:
  explicit ScriptedUi(Journal& journal) : journal_(journal) {}
  bool ChoosePath(char* path, size_t size, SaveType* type) override {
    journal_.push_back("choose " + std::to_string(size));
    if (chosen == nullptr) return false;
    strncpy(path, chosen, size);
    *type = chosenType;
    return true;
  }
  bool ConfirmReplace(const char* path) override {
    journal_.push_back(std::string("replace? ") + path);
    return replace;
  }
  void ShowCaption(int stringId) override { journal_.push_back("caption " + std::to_string(stringId)); }
  void ReportError(int stringId) override { journal_.push_back("error " + std::to_string(stringId)); }

  const char* chosen = "C:\\out\\state.mid";
  SaveType chosenType = SaveType::MidiFile;
  bool replace = true;

 private:
  Journal& journal_;
};

// A file in memory: what was written survives until it is deleted.
class MemoryFile : public ExportFile {
 public:
  explicit MemoryFile(Journal& journal) : journal_(journal) {}
  bool Create(const char* path) override {
    journal_.push_back(std::string("create ") + path);
    if (!creatable) return false;
    open_ = true;
    exists = true;
    contents.clear();
    return true;
  }
  bool Write(const uint8_t* data, uint32_t size, uint32_t* written) override {
    journal_.push_back("write " + std::to_string(size));
    const uint32_t n = shortBy < size ? size - shortBy : 0;
    contents.insert(contents.end(), data, data + n);
    *written = n;
    return !writeFails;
  }
  void Close() override {
    journal_.push_back("close");
    open_ = false;
  }
  void Delete(const char* path) override {
    journal_.push_back(std::string("delete ") + path);
    if (open_) return;  // an open, unshared file cannot be deleted
    exists = false;
    contents.clear();
  }
  bool Exists(const char* path) override { return path == existing; }

  std::string existing;  // a file already on the disk
  bool creatable = true;
  bool writeFails = false;
  uint32_t shortBy = 0;
  bool exists = false;
  std::vector<uint8_t> contents;

 private:
  Journal& journal_;
  bool open_ = false;
};
