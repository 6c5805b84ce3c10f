#pragma once
// The rules that turn one parameter change into one exact system-exclusive message. Each builder
// updates PanelSettings, leaves the message's checksum sum in the sink's state (the export
// extends messages from it) and hands the message to the sink once.
#include <cstddef>
#include <cstdint>

#include "panel/core/panel_settings.h"
#include "panel/device/message_sink.h"

enum class DigitalTarget : uint8_t { Stereo, Left, Right };

// "&Stereo", "Le&ft", "Ri&ght".
const char* DigitalTargetCaption(DigitalTarget target);

// The reverb/delay types in the order of their numbers, which the type message carries.
constexpr int kReverbTypeCount = 8;
// "Room 1", "Room 2", "Room 3", "Hall 1", "Hall 2", "Plate", "Delay", "Pan Delay"; null outside 0..7.
const char* ReverbTypeName(int index);

// What the builders write and the monitor reads back. Positions inside a data-set message: the
// address follows the five header bytes.
constexpr size_t kDataSetAddress = 5;
constexpr size_t kDataSetFirstData = 8;
// Master tune is sent as value + 24; 1000, the slider's centre, becomes 400h.
constexpr int kMasterTuneOffset = 24;
// The transposes are sent as the shown number + 64.
constexpr int kKeyShiftCentre = 64;
constexpr int kDigitalTransposeCentre = 64;
constexpr uint8_t kChannelOff = 0x10;  // receive channel 17: the part receives nothing

// Checksum of a data-set message from the sum of its address and data bytes.
inline uint8_t DataSetChecksum(uint8_t sum) { return static_cast<uint8_t>((128 - (sum & 0x7F)) & 0x7F); }

enum class TransposeResult : uint8_t {
  NotANumber,  // nothing changed
  Applied,     // the number was in range and was sent
  Reset,       // out of range: the box shows "0" and the centre value was sent
};

class ParameterMessages {
 public:
  ParameterMessages(PanelSettings& settings, MessageSink& sink) : settings_(settings), sink_(sink) {}

  void SendMasterVolume(int value);            // slider 0..127
  void SendMasterTune(int value);              // slider 0..1999
  void SendMasterKeyShift(int value);          // device value 40..88
  void SendEffect(int index, int value);       // index 1..9
  void SendReverbType(int index);              // 0..7
  void SendDigital(int offset, int value);     // DigitalBlock offset 2..10
  void SendDigitalTune(int value);             // 0..16383
  void ToggleChannel(int channel);             // channel index 0..15

  // The slider dispatcher, by control identifier.
  void SendControl(int id, int position);

  // text: the box's contents. On Reset the caller shows "0" in the box.
  TransposeResult ApplyMasterTranspose(const char* text);
  TransposeResult ApplyDigitalTranspose(const char* text);

  // Stereo -> Left -> Right -> Stereo; sends nothing. Returns the new target.
  DigitalTarget CycleDigitalTarget();
  DigitalTarget Target() const { return target_; }

  PanelSettings& Settings() { return settings_; }
  MessageSink& Sink() { return sink_; }

 private:
  PanelSettings& settings_;
  MessageSink& sink_;
  DigitalTarget target_ = DigitalTarget::Stereo;
};

// Reads a typed transpose value: an optional minus sign and decimal digits, blanks around allowed.
// False when the text is not such a number.
bool ParseTransposeText(const char* text, int* value);
