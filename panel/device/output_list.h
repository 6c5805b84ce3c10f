#pragma once
// The ways to the card the user chooses between, in the order they are offered: the card at its
// port first, then every MIDI output device of the system in id order, by its name (never the
// MIDI Mapper; a device that does not tell its name is left out). The "MIDI output" dialog shows
// this list, and a stored choice is looked up in it, so both know the same devices by the same
// names.
#include <cstdint>

#include "panel/device/midi_out_api.h"

struct OutputChoice {
  enum class Kind : uint8_t {
    Card,
    Device,
    Missing,  // a name that no device of the system has
  };
  Kind kind;
  uint16_t port;      // the card's
  unsigned deviceId;  // a device's
  // A device's name, or the name asked for that no device has; empty for the card.
  char name[MidiOutApi::kNameCapacity];
};

// Walks the list once; the card's choice asks the system nothing.
class OutputList {
 public:
  OutputList(uint16_t cardPort, MidiOutApi& devices) : port_(cardPort), devices_(devices) {}

  // The next choice into choice, the card's first; false past the last.
  bool Next(OutputChoice* choice);
  // The first choice called `name` (an empty name, or none, is the card's); one of kind Missing,
  // with the name, when no device has it. Walks the list from where it stands.
  void Find(const char* name, OutputChoice* found);

 private:
  uint16_t port_;
  MidiOutApi& devices_;
  unsigned next_ = 0;  // 0: the card; n: device n-1
  unsigned count_;     // the system's devices, asked for when the walk goes past the card
};
