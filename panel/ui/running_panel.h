#pragma once
// One panel per program in a user's session. A start of the program while its panel runs opens no
// second panel and touches neither the card's ports nor a device: it hands its request to the
// running panel, which serves it with its own calls (PanelRun::Serve), and ends with the answer.
#include "panel/ui/command_line.h"
#include "panel/ui/panel_run.h"

// The panel of this program that already runs, as a start of the program reaches it.
class RunningPanel {
 protected:
  // Never deleted through the interface: no virtual destructor to carry.
  ~RunningPanel() = default;

 public:
  static constexpr int kNoAnswer = -1;

  // True when a panel of this program runs in the user's session; that one is asked from then on.
  virtual bool Find() = 0;
  // Hands the request over and waits a few seconds at most: the panel's answer, or kNoAnswer when
  // it did not answer in time (it hangs) or could not be reached (it runs with other rights).
  virtual int HandOver(PanelRequest request, const char* file) = 0;
  // Restores the panel if it is minimised and makes it the window the user works with.
  virtual void BringToFront() = 0;
};

struct StartOutcome {
  enum class Kind : unsigned char {
    OpenHere,  // no panel runs: this program opens its panel, or restores the card itself
    Usage,     // an unknown switch or several files: how to start the panel is shown
    NoAnswer,  // the running panel did not answer: one box says so
    Answered,  // the running panel did what was asked
  };
  Kind kind;
  int exitCode;  // unless the program opens here
};

// What a start of the program comes to beside a panel that may run. Without /send the panel comes
// to the front first, and then loads the file: what it tells about the file is seen. Nothing is
// handed over after a request that went unanswered.
StartOutcome StartBesideRunningPanel(const PanelStart& start, RunningPanel& panel);
