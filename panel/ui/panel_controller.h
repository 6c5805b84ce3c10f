#pragma once
// What the panel does on start-up and on each control event, without any window system: the
// Win32 dialog forwards events here and this code reads and sets controls through
// ControlSurface and sends through ParameterMessages.
#include "panel/core/parameter_messages.h"
#include "panel/ui/control_surface.h"

// Scroll codes as the trackbar reports them (same values as the platform's SB_ codes).
enum ScrollCode : int {
  kScrollLineUp = 0,
  kScrollLineDown = 1,
  kScrollPageUp = 2,
  kScrollPageDown = 3,
  kScrollThumbPosition = 4,
  kScrollThumbTrack = 5,
  kScrollTop = 6,
  kScrollBottom = 7,
  kScrollEnd = 8,
};

// How much of the combo's typed text takes part in the match.
constexpr int kReverbTypeTextLimit = 18;

// The first type whose name begins with the first 18 characters of text, ignoring letter case;
// -1 when none does or the text is empty.
int FindReverbTypeByPrefix(const char* text);

class PanelController {
 public:
  PanelController(ParameterMessages& messages, ControlSurface& surface)
      : messages_(messages), surface_(surface) {}

  // Sets every control from the settings and sends the whole state: 35 messages.
  void StartupPush();

  void OnScroll(int id, int code);
  void OnEditKillFocus(int id);
  void OnReverbTypeSelChange();
  void OnReverbTypeKillFocus();
  void OnChannelClicked(int id);
  void OnTargetClicked();
  // Alt+V, Alt+U, Alt+T (commands 2000..2002): the focus goes to the control of "&Volume:", of
  // "T&uning:" (the digital tune; the master one is "Tu&ning:") and of "&Transpose:". The keys
  // send nothing themselves; a transpose box they leave applies its value as leaving it always does.
  void OnFocusKey(int command);

  // Sends the combo's selected type and shows the decay or the time/repeat controls.
  void ApplyReverbType();

  ParameterMessages& Messages() { return messages_; }
  ControlSurface& Surface() { return surface_; }

 private:
  // Range, tick mark (tick < 0: none), position, then the slider's position is sent.
  void SetUpSlider(int id, int high, int position, int tick = -1);
  void SetUpTranspose(int editId, int spinId, ValueRange range, int shown);
  void ApplyTranspose(int editId, const char* text);

  ParameterMessages& messages_;
  ControlSurface& surface_;
  bool scrollEnded_ = true;  // a second end-of-scroll without a scroll step between is ignored
};
