#pragma once
// The rules that turn one parameter change into one exact system-exclusive message. The builders
// are the one writer of the panel's settings while it runs: each updates PanelSettings, fills its
// message by the message layouts and hands the message to the sink once.
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
  void SendDigital(int offset, int value);     // DigitalBlock offset 2..10, not the tune's halves
  void SendDigitalTune(int value);             // 0..16383
  // The part of channel index 0..15 receives on its own channel, or nothing.
  void SendChannelReceive(int channel, bool onItsChannel);
  void ToggleChannel(int channel) { SendChannelReceive(channel, !settings_.ReceivesOnItsChannel(channel)); }

  // text: the box's contents. On Reset the caller shows "0" in the box.
  TransposeResult ApplyMasterTranspose(const char* text);
  TransposeResult ApplyDigitalTranspose(const char* text);

  // Stereo -> Left -> Right -> Stereo; sends nothing. Returns the new target.
  DigitalTarget CycleDigitalTarget();
  DigitalTarget Target() const { return target_; }

  const PanelSettings& Settings() const { return settings_; }
  // Takes every setting of `values` but the port, which no setting of the panel changes; sends
  // nothing.
  void Adopt(const PanelSettings& values) {
    const uint32_t port = settings_.Port;
    settings_ = values;
    settings_.Port = port;
  }

 private:
  void SendDataSet(uint8_t model, DataSetAddress address, const uint8_t* data, size_t count);

  PanelSettings& settings_;
  MessageSink& sink_;
  DigitalTarget target_;
};

// Reads a typed transpose value: an optional minus sign and decimal digits, blanks around allowed.
// False when the text is not such a number.
bool ParseTransposeText(const char* text, int* value);
