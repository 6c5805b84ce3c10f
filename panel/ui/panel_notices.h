#pragma once
// What a run of the panel tells the user: boxes over the panel, or alone when it restores the card
// without a window.
#include "panel/files/settings_file.h"
#include "panel/ui/panel_controller.h"

class PanelNotices {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~PanelNotices() = default;

 public:
  // A settings file changed nothing: the box names it and says why.
  virtual void FileNotLoaded(const LoadResult& result, const char* path) = 0;
  // The way to the card failed.
  virtual void OutputFailed(const OutputFaultReport& report) = 0;
};
