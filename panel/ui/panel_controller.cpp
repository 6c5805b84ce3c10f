#include "panel/ui/panel_controller.h"

#include "panel/files/midi_export.h"
#include "panel/ui/panel_controls.h"

namespace {

constexpr int kFirstDelayType = 6;     // "Delay" and "Pan Delay" use time and repeat, not decay

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Decimal text of a small signed number; buffer holds at least 12 characters.
void FormatNumber(int value, char* buffer) {
  char digits[12];
  int count = 0;
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  char* out = buffer;
  if (value < 0) *out++ = '-';
  while (count > 0) *out++ = digits[--count];
  *out = '\0';
}

bool IsChannelBox(int id) { return id >= IDC_CHANNEL_FIRST && id <= IDC_CHANNEL_LAST; }
int ChannelBox(int channel) { return IDC_CHANNEL_FIRST + channel; }

// The settings with what the controls show where it may differ from what was sent last (a slider
// set without a finished gesture, a type selected but not yet applied), by the builders' own rules
// applied to a copy: nothing is sent.
PanelSettings ShownSettings(const ParameterMessages& messages, ControlSurface& surface) {
  PanelSettings shown = messages.Settings();
  MessageSink nowhere;
  ParameterMessages rules(shown, nowhere, messages.Target());
  rules.SendReverbType(surface.ComboSelection(IDC_REVERB_TYPE));
  rules.SendMasterTune(surface.SliderPos(IDC_MASTER_TUNE));
  rules.SendDigital(kDigitalVolume, surface.SliderPos(IDC_DIGITAL_VOLUME));
  return shown;
}

}  // namespace

int FindReverbTypeByPrefix(const char* text) {
  char prefix[kReverbTypeTextLimit + 1];
  int length = 0;
  while (length < kReverbTypeTextLimit && text[length] != '\0') {
    prefix[length] = LowerAscii(text[length]);
    ++length;
  }
  for (int index = 0; index < kReverbTypeCount; ++index) {
    const char* name = ReverbTypeName(index);
    int i = 0;
    while (i < length && name[i] != '\0' && LowerAscii(name[i]) == prefix[i]) ++i;
    if (i == length) return index;
  }
  return -1;
}

void PanelController::NameTarget() { surface_.SetText(IDC_DIGITAL_TARGET, DigitalTargetName(messages_.Target())); }

void PanelController::StartupPush() {
  const PanelSettings& settings = messages_.Settings();

  for (const SliderControl& slider : kSliderControls) {
    if (slider.parameter != SliderParameter::Effect) SetUpSlider(slider);
  }
  SetUpTranspose(IDC_MASTER_TRANSPOSE, IDC_MASTER_TRANSPOSE_SPIN, kMasterTransposeShown,
                 settings.MTrn - kKeyShiftCentre);
  SetUpTranspose(IDC_DIGITAL_TRANSPOSE, IDC_DIGITAL_TRANSPOSE_SPIN, kDigitalTransposeShown,
                 settings.DigitalBlock[kDigitalTranspose] - kDigitalTransposeCentre);
  for (const SliderControl& slider : kSliderControls) {
    if (slider.parameter == SliderParameter::Effect) SetUpSlider(slider);
  }

  // A stored type outside the list would leave the combo empty and send no valid type.
  int type = settings.EffectsBlock[kReverbType];
  if (!kReverbTypeRange.Contains(type)) type = kDefaultReverbType;
  surface_.SetComboSelection(IDC_REVERB_TYPE, type);
  messages_.SendReverbType(type);
  ShowReverbControls(type);

  for (int channel = 0; channel < kChannelCount; ++channel) {
    const bool receives = settings.ReceivesOnItsChannel(channel);
    surface_.SetCheck(ChannelBox(channel), receives);
    messages_.SendChannelReceive(channel, receives);
  }

  scrollEnded_ = true;
}

void PanelController::SetUpSlider(const SliderControl& slider) {
  surface_.SetSliderRange(slider.id, 0, SliderHigh(slider));
  // After the range: a trackbar refuses a tick mark outside its current range.
  const int tick = SliderTick(slider);
  if (tick >= 0) surface_.SetSliderTick(slider.id, tick);
  // The slider keeps a position inside its range, and that position is what is sent.
  const int high = SliderHigh(slider);
  const int stored = StoredSliderPosition(messages_.Settings(), slider);
  const int position = stored > high ? high : stored;
  surface_.SetSliderPos(slider.id, position);
  SendSlider(messages_, slider, position);
}

void PanelController::SetUpTranspose(int editId, int spinId, ValueRange range, int shown) {
  surface_.SetEditLimit(editId, 3);
  surface_.SetUpDownRange(spinId, range.low, range.high);
  char text[12];
  FormatNumber(shown, text);
  surface_.SetText(editId, text);
  ApplyTranspose(editId, text);
}

void PanelController::ApplyTranspose(int editId, const char* text) {
  TransposeResult result = editId == IDC_MASTER_TRANSPOSE ? messages_.ApplyMasterTranspose(text)
                                                          : messages_.ApplyDigitalTranspose(text);
  if (result == TransposeResult::Reset) surface_.SetText(editId, "0");
}

void PanelController::OnScroll(int id, int code) {
  if (code != kScrollEnd) {
    scrollEnded_ = false;
    return;
  }
  // The platform's trackbar can report the end of one mouse drag twice.
  if (scrollEnded_) return;
  scrollEnded_ = true;
  const SliderControl* slider = FindSlider(id);
  if (slider != nullptr) SendSlider(messages_, *slider, surface_.SliderPos(id));
}

void PanelController::OnEditKillFocus(int id) {
  if (id != IDC_MASTER_TRANSPOSE && id != IDC_DIGITAL_TRANSPOSE) return;
  // Wider than the box's three characters, so that a longer text set from outside is never
  // shortened into a different number.
  char text[32];
  text[0] = '\0';
  surface_.GetText(id, text, sizeof text);
  text[sizeof text - 1] = '\0';
  ApplyTranspose(id, text);
}

void PanelController::OnReverbTypeSelChange() { ApplyReverbType(); }

void PanelController::OnReverbTypeKillFocus() {
  char text[kReverbTypeTextLimit + 1];
  text[0] = '\0';
  surface_.GetText(IDC_REVERB_TYPE, text, sizeof text);
  text[kReverbTypeTextLimit] = '\0';
  const int index = FindReverbTypeByPrefix(text);
  if (index < 0) return;
  surface_.SetComboSelection(IDC_REVERB_TYPE, index);
  ApplyReverbType();
}

bool PanelController::OnChannelClicked(int id) {
  if (!IsChannelBox(id)) return false;
  const int channel = id - IDC_CHANNEL_FIRST;
  messages_.ToggleChannel(channel);
  // The box flips on its own; set it from the state anyway so the two can never drift apart.
  surface_.SetCheck(id, messages_.Settings().ReceivesOnItsChannel(channel));
  return true;
}

void PanelController::OnTargetClicked() {
  surface_.SetText(IDC_DIGITAL_TARGET, DigitalTargetCaption(messages_.CycleDigitalTarget()));
}

void PanelController::OnFocusKey(int command) {
  switch (command) {
    case IDM_ALT_V:
      surface_.Focus(IDC_MASTER_VOLUME);
      break;
    case IDM_ALT_U:
      surface_.Focus(IDC_DIGITAL_TUNE);
      break;
    case IDM_ALT_T:
      surface_.Focus(IDC_MASTER_TRANSPOSE);
      break;
    default:
      break;
  }
}

int PanelController::OnSaveMidi(ExportUi& ui, ExportFile& file, ImageMemory& memory) {
  const PanelSettings shown = ShownSettings(messages_, surface_);
  const int result = SaveMidiFile({shown, messages_.Target()}, ui, file, memory);
  if (!ImageWasRecorded(result)) return result;
  messages_.Adopt(shown);
  // With no type selected, the type in force was saved; its controls are shown already.
  if (kReverbTypeRange.Contains(surface_.ComboSelection(IDC_REVERB_TYPE))) {
    ShowReverbControls(shown.EffectsBlock[kReverbType]);
  }
  return result;
}

int OutputFaultStringId(OutputFault::Kind fault) {
  switch (fault) {
    case OutputFault::Kind::PortNotResponding:
      return IDS_PORT_NOT_RESPONDING;
    case OutputFault::Kind::PortAccessRefused:
      return IDS_PORT_REFUSED;
    case OutputFault::Kind::NoPortDriver:
      return IDS_PORT_NO_DRIVER;
    case OutputFault::Kind::PortDriverNotRunning:
      return IDS_PORT_DRIVER_NOT_RUNNING;
    case OutputFault::Kind::DeviceMissing:
      return IDS_OUTPUT_MISSING;
    case OutputFault::Kind::DeviceNotOpened:
      return IDS_OUTPUT_NOT_OPENED;
    case OutputFault::Kind::DeviceNotTaking:
      return IDS_OUTPUT_NOT_TAKING;
    case OutputFault::Kind::None:
      break;
  }
  return 0;
}

void PanelController::ApplyReverbType() {
  const int index = surface_.ComboSelection(IDC_REVERB_TYPE);
  if (!kReverbTypeRange.Contains(index)) return;
  messages_.SendReverbType(index);
  ShowReverbControls(index);
}

void PanelController::ShowReverbControls(int type) {
  const bool delay = type >= kFirstDelayType;
  surface_.Show(IDC_REVERB_DECAY, !delay);
  surface_.Show(IDC_DECAY_LABEL, !delay);
  surface_.Show(IDC_DELAY_TIME, delay);
  surface_.Show(IDC_TIME_LABEL, delay);
  surface_.Show(IDC_DELAY_FEEDBACK, delay);
  surface_.Show(IDC_REPEAT_LABEL, delay);
}
