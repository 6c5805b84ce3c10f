#pragma once
// A settings store in memory that logs every call, so tests see what LoadSettings and
// SaveSettings asked for and in which order.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "panel/core/settings_store.h"

class FakeSettingsStore : public SettingsStore {
 public:
  bool exists = true;           // false: first run, OpenForRead fails
  bool canCreate = true;        // false: OpenForWrite fails
  std::map<std::string, uint32_t> values;
  std::map<std::string, std::string> texts;
  std::set<std::string> unreadable;  // present but failing (a value longer than 4 bytes)
  // "open-read", "read NAME", "read-text NAME", "open-write", "write NAME", "write-text NAME", "close"
  std::vector<std::string> calls;

  bool OpenForRead() override {
    calls.push_back("open-read");
    return exists;
  }
  bool Read(const char* name, uint32_t* value) override {
    calls.push_back(std::string("read ") + name);
    if (unreadable.count(name) != 0) return false;
    auto it = values.find(name);
    if (it == values.end()) return false;
    *value = it->second;
    return true;
  }
  bool OpenForWrite() override {
    calls.push_back("open-write");
    if (!canCreate) return false;
    exists = true;
    return true;
  }
  void Write(const char* name, uint32_t value) override {
    calls.push_back(std::string("write ") + name);
    values[name] = value;
  }
  bool ReadText(const char* name, char* text, size_t capacity) override {
    calls.push_back(std::string("read-text ") + name);
    auto it = texts.find(name);
    if (it == texts.end() || it->second.size() >= capacity) return false;
    it->second.copy(text, capacity);
    text[it->second.size()] = '\0';
    return true;
  }
  void WriteText(const char* name, const char* text) override {
    calls.push_back(std::string("write-text ") + name);
    texts[name] = text;
  }
  void Close() override { calls.push_back("close"); }
};
