#pragma once
// One run of the panel program, from its start to its end, without any window system. It owns
// what a run has: the settings record (its only copy), the message builders and the event rules,
// the chosen output by name, and the file named at start with what loading it gave. It does what
// a run does: start, load a file, choose an output, Panic, save a file, restore the card without a
// window, end. The Win32 program and its dialog are adapters around it: they turn gestures and the
// system's requests into these calls.
#include <cstdint>

#include "panel/core/parameter_messages.h"
#include "panel/core/settings_store.h"
#include "panel/device/chosen_output.h"
#include "panel/files/settings_file.h"
#include "panel/ui/control_surface.h"
#include "panel/ui/panel_controller.h"
#include "panel/ui/panel_notices.h"

// The program's exit codes.
constexpr int kExitDone = 0;
constexpr int kExitCardUnreachable = 1;  // the card could not be reached (without a window)
constexpr int kExitBadStart = 2;         // an unknown switch, several files, or a file that cannot be used
constexpr int kExitNoAnswer = 1;         // the panel already running did not answer a start beside it

// What a start of the program asks of its panel that already runs. The values travel from the one
// program to the other.
enum class PanelRequest : unsigned char {
  Front = 1,  // only an answer: the starting program then brings the panel to the front
  Load = 2,   // a settings file, as if dropped on the panel
  Send = 3,   // the whole state sent once, after a file's settings when one is named (/send)
};

class PanelRun {
 public:
  // controls: the panel's controls, or unseen ones when the card is restored without a window.
  PanelRun(SettingsStore& store, WholeFileReader& files, ControlSurface& controls, PanelNotices& notices)
      : store_(store), files_(files), notices_(notices), messages_(settings_, relay_), controller_(messages_, controls) {}
  PanelRun(const PanelRun&) = delete;
  PanelRun& operator=(const PanelRun&) = delete;

  // Reads the stored settings and the chosen output's name. Comes first: the port they name is
  // where the program looks for the card.
  void LoadStored();
  // The base address of the MIDI interface: the low word of the stored port.
  uint16_t PortBase() const { return static_cast<uint16_t>(settings_.Port); }
  // Every message goes through `output` from now on; the stored choice is made on it with the
  // first push, once a start file has been read.
  void Connect(ChosenOutput& output) { relay_.output = &output; }

  // The panel opens: the settings of `startFile` (null: none) over the stored ones, then the whole
  // state sent once. A start file that changed nothing is told by TellStartNotices.
  void Start(const char* startFile);
  // Once the panel is on the screen: a start file that changed nothing, then a fault of the push.
  void TellStartNotices();
  // Restores the card: the settings of `file` (null: none) are taken, then the whole state is sent
  // once. kExitDone; kExitCardUnreachable while the output fails (its fault told, unless it was
  // told before); kExitBadStart once the file's fault has been told, and then nothing is sent.
  int Send(const char* file);
  // Restores the card without a window: Send, then the settings are saved when a file was taken.
  int SendWithoutWindow(const char* file);

  // A settings file (dropped, chosen, handed over): its settings are taken, shown and sent once;
  // a file that cannot be used changes nothing and is told.
  LoadResult LoadFile(const char* path);
  // An output by its device name (empty: the card's ports) is chosen, even the one in force (a
  // device that failed is tried again), and the whole state sent there.
  void ChooseOutput(const char* name);
  // The chosen output's device name; empty for the card's ports.
  const char* OutputName() const { return outputName_; }
  // A request of a start of the program beside this panel, served by the call the panel's own
  // gesture makes (a dropped file: LoadFile; /send: Send); what it has to tell is told as there.
  // The answer is the starting program's exit code: for a file, kExitDone when its settings were
  // taken, kExitBadStart when not.
  int Serve(PanelRequest request, const char* file);
  // Stops whatever sounds: resets the MIDI interface, or every note off on a device.
  void Panic();
  // "Save &MIDI" (PanelController::OnSaveMidi).
  int SaveFile(ExportUi& ui, ExportFile& file, ImageMemory& memory) { return controller_.OnSaveMidi(ui, file, memory); }
  // Tells a new fault of the output, once per fault and only from the end of the first push on
  // (the push runs before the panel is on the screen). True when it told one.
  bool TellNewFault();
  // Saves the settings and the chosen output.
  void End() { SaveSettings(settings_, store_, outputName_); }

  // The event rules of the panel's controls.
  PanelController& Events() { return controller_; }
  const PanelSettings& Settings() const { return settings_; }

 private:
  // Hands the builders' messages to the connected output.
  struct Relay final : MessageSink {
    void Send(const uint8_t* message, size_t n) override {
      if (output != nullptr) output->Send(message, n);
    }
    ChosenOutput* output = nullptr;
  };

  // The file's settings over the current ones, shown and sent by the next push; the caller tells a
  // file that cannot be used.
  LoadResult TakeFile(const char* path);
  // Every control set and the whole state sent, through the chosen output (chosen with the first).
  void Push();

  SettingsStore& store_;
  WholeFileReader& files_;
  PanelNotices& notices_;
  PanelSettings settings_ = kDefaultSettings;
  char outputName_[kOutputNameCapacity] = {};
  Relay relay_;
  ParameterMessages messages_;
  PanelController controller_;
  bool outputChosen_ = false;
  bool reportingFaults_ = false;
  const char* startFile_ = nullptr;
  LoadResult startLoad_ = {LoadOutcome::Loaded, FileFault::None};
};
