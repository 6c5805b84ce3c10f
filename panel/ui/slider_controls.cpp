#include "panel/ui/slider_controls.h"

void SendSlider(ParameterMessages& messages, const SliderControl& slider, int position) {
  switch (slider.parameter) {
    case SliderParameter::MasterVolume:
      messages.SendMasterVolume(position);
      break;
    case SliderParameter::MasterTune:
      messages.SendMasterTune(position);
      break;
    case SliderParameter::DigitalTune:
      messages.SendDigitalTune(position);
      break;
    case SliderParameter::Digital:
      messages.SendDigital(slider.index, position);
      break;
    case SliderParameter::Effect:
      messages.SendEffect(slider.index, position);
      break;
  }
}
