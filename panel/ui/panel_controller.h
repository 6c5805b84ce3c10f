#pragma once
// What the panel does on start-up and on each control event, without any window system: the
// Win32 dialog forwards events here and this code reads and sets controls through
// ControlSurface, sends through ParameterMessages and hands the export what it takes from the panel.
#include "panel/core/parameter_messages.h"
#include "panel/device/card_output.h"
#include "panel/ui/control_surface.h"
#include "panel/ui/slider_controls.h"

class ExportFile;
class ExportUi;
class ImageMemory;


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

// What to tell the user about a fault of the way to the card: a string-table number (0: nothing to
// tell), the card's port and the fault (a device's texts name the device instead of the port).
struct OutputFaultReport {
  int stringId = 0;
  unsigned port = 0;
  OutputFault fault = {};
};

// The string that tells the user about a fault of the way to the card; 0 for none.
int OutputFaultStringId(OutputFault::Kind fault);

class PanelController {
 public:
  PanelController(ParameterMessages& messages, ControlSurface& surface) : messages_(messages), surface_(surface) {}

  // The target button named, as the panel opens.
  void NameTarget();
  // Sets every control from the settings and sends the whole state: 35 messages.
  void StartupPush();

  void OnScroll(int id, int code);
  void OnEditKillFocus(int id);
  void OnReverbTypeSelChange();
  void OnReverbTypeKillFocus();
  // A click on a channel box toggles its channel; false when id is no channel box.
  bool OnChannelClicked(int id);
  void OnTargetClicked();
  // "Save &MIDI": saves the state with what the controls show (the selected type, the master tune
  // and digital volume sliders, the digital-audio target). Once the image is recorded, those
  // values are the settings and the controls of the type it saved are shown, as choosing that
  // type shows them. Returns SaveMidiFile's result.
  int OnSaveMidi(ExportUi& ui, ExportFile& file, ImageMemory& memory);
  // Alt+V, Alt+U, Alt+T (commands 2000..2002): the focus goes to the control of "&Volume:", of
  // "T&uning:" (the digital tune; the master one is "Tu&ning:") and of "&Transpose:". The keys
  // send nothing themselves; a transpose box they leave applies its value as leaving it always does.
  void OnFocusKey(int command);

 private:
  // Sends the combo's selected type and shows the decay or the time/repeat controls.
  void ApplyReverbType();
  void ShowReverbControls(int type);
  // Range, tick mark, the stored position, then the slider's position is sent.
  void SetUpSlider(const SliderControl& slider);
  void SetUpTranspose(int editId, int spinId, ValueRange range, int shown);
  void ApplyTranspose(int editId, const char* text);

  ParameterMessages& messages_;
  ControlSurface& surface_;
  bool scrollEnded_ = true;  // a second end-of-scroll without a scroll step between is ignored
};
