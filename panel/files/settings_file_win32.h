#pragma once
// Whole files read through the system's file handles (shared for reading with other programs) into
// pages of their own; a file too large is refused unread.
#include "panel/files/settings_file.h"

class SystemFileReader final : public WholeFileReader {
 public:
  LoadOutcome Read(const char* path, FileBytes* bytes) override;
  void Release(const FileBytes& bytes) override;
};
