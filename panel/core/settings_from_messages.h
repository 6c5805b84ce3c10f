#pragma once
// Settings read back from the messages the panel makes: a saved MIDI file or a system-exclusive
// dump played into this sink gives the settings it holds. Each message is read as the monitor
// reads it (message_setting), in the order given, so a later value wins. Messages of other
// makers, data sets with a wrong checksum and values the panel's controls cannot show are passed
// over.
#include <cstddef>
#include <cstdint>

#include "panel/core/message_setting.h"
#include "panel/core/panel_settings.h"
#include "panel/device/message_sink.h"

class SettingsFromMessages : public MessageSink {
 public:
  // start: the values that no message sets keep.
  explicit SettingsFromMessages(const PanelSettings& start) : settings_(start) {}

  void Send(const uint8_t* message, size_t n) override;

  const PanelSettings& Settings() const { return settings_; }
  // How many values the messages set (a value set twice counts twice).
  unsigned Found() const { return found_; }

 private:
  void Take(const MessageSetting& setting);

  PanelSettings settings_;
  unsigned found_ = 0;
};
