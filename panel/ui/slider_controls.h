#pragma once
// What each slider of the panel sets: the one table from the dialog's control numbers to the
// parameters, for the start-up push and for every slider event. Nothing below the dialog knows a
// control number.
#include <cstddef>
#include <cstdint>

#include "panel/core/parameter_messages.h"
#include "panel/ui/panel_controls.h"

enum class SliderParameter : uint8_t {
  MasterVolume,
  MasterTune,
  DigitalTune,
  Digital,  // a digital-audio parameter; index: its offset
  Effect,   // a reverb/delay or chorus parameter; index: its effect index
};

struct SliderControl {
  uint16_t id;
  SliderParameter parameter;
  uint8_t index;
};

// Every slider: the master and digital-audio ones in the order the start-up push sends them, then
// the effects in theirs.
inline constexpr SliderControl kSliderControls[] = {
    {IDC_MASTER_VOLUME, SliderParameter::MasterVolume, 0},
    {IDC_DIGITAL_VOLUME, SliderParameter::Digital, kDigitalVolume},
    {IDC_DIGITAL_BRIGHTNESS, SliderParameter::Digital, kDigitalBrightness},
    {IDC_DIGITAL_TUNE, SliderParameter::DigitalTune, 0},
    {IDC_DIGITAL_REVERB, SliderParameter::Digital, kDigitalReverb},
    {IDC_DIGITAL_CHORUS, SliderParameter::Digital, kDigitalChorus},
    {IDC_MASTER_TUNE, SliderParameter::MasterTune, 0},
    {IDC_REVERB_LEVEL, SliderParameter::Effect, kReverbLevel},
    {IDC_REVERB_DECAY, SliderParameter::Effect, kReverbDecay},
    {IDC_DELAY_TIME, SliderParameter::Effect, kDelayTime},
    {IDC_DELAY_FEEDBACK, SliderParameter::Effect, kDelayFeedback},
    {IDC_CHORUS_LEVEL, SliderParameter::Effect, kChorusLevel},
    {IDC_CHORUS_FEEDBACK, SliderParameter::Effect, kChorusFeedback},
    {IDC_CHORUS_DELAY, SliderParameter::Effect, kChorusDelay},
    {IDC_CHORUS_RATE, SliderParameter::Effect, kChorusRate},
    {IDC_CHORUS_DEPTH, SliderParameter::Effect, kChorusDepth},
};

// The slider with this control number; null for any other control.
inline const SliderControl* FindSlider(int id) {
  for (const SliderControl& slider : kSliderControls) {
    if (slider.id == id) return &slider;
  }
  return nullptr;
}

// The slider's range is 0..SliderHigh; the tick mark (-1: none) marks the centre.
inline int SliderHigh(const SliderControl& slider) {
  switch (slider.parameter) {
    case SliderParameter::MasterTune:
      return kMasterTuneRange.high;
    case SliderParameter::DigitalTune:
      return kDigitalTuneRange.high;
    default:
      return kDataByteRange.high;
  }
}
inline int SliderTick(const SliderControl& slider) {
  switch (slider.parameter) {
    case SliderParameter::MasterTune:
      return kMasterTuneCentre;
    case SliderParameter::DigitalTune:
      return kDigitalTuneCentre;
    default:
      return -1;
  }
}

// Where the slider stands for these settings.
inline int StoredSliderPosition(const PanelSettings& settings, const SliderControl& slider) {
  switch (slider.parameter) {
    case SliderParameter::MasterVolume:
      return settings.MVol;
    case SliderParameter::MasterTune:
      return settings.MTun;
    case SliderParameter::DigitalTune:
      return settings.DTun;
    case SliderParameter::Digital:
      return settings.DigitalBlock[slider.index];
    case SliderParameter::Effect:
      return settings.EffectsBlock[slider.index];
  }
  return 0;
}

// Sends the slider's position to the parameter it sets.
void SendSlider(ParameterMessages& messages, const SliderControl& slider, int position);
