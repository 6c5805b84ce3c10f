#pragma once
// The rules that turn one parameter change into one exact system-exclusive message. Each builder
// updates PanelSettings, fills its message by the message layouts, keeps the sum its checksum was
// made from (the export extends messages from it) and hands the message to the sink once.
#include <cstddef>
#include <cstdint>

#include "panel/core/message_layout.h"
#include "panel/core/panel_settings.h"
#include "panel/device/message_sink.h"

enum class TransposeResult : uint8_t {
  NotANumber,  // nothing changed
  Applied,     // the number was in range and was sent
  Reset,       // out of range: the box shows "0" and the centre value was sent
};

class ParameterMessages {
 public:
  ParameterMessages(PanelSettings& settings, MessageSink& sink, DigitalTarget target = DigitalTarget::Stereo)
      : settings_(settings), sink_(sink), target_(target) {}

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

  // The sum of the address and data bytes of the last data set built (modulo 256), which its
  // checksum was made from; the master volume message carries no checksum and leaves it as it was.
  uint8_t ChecksumSum() const { return checksumSum_; }

  PanelSettings& Settings() { return settings_; }

 private:
  void SendDataSet(uint8_t model, DataSetAddress address, const uint8_t* data, size_t count);

  PanelSettings& settings_;
  MessageSink& sink_;
  DigitalTarget target_;
  uint8_t checksumSum_ = 0;
};

// Reads a typed transpose value: an optional minus sign and decimal digits, blanks around allowed.
// False when the text is not such a number.
bool ParseTransposeText(const char* text, int* value);
