// The list of outputs the user chooses from, and a stored choice looked up in it: the card at its
// port first, then the system's devices in id order by name; a name finds the first device that
// has exactly that name.
#include "panel/device/output_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "panel/device/tests/fake_midi_out.h"

namespace {
using Names = std::vector<std::string>;

// "card 330" for the card, "id name" for a device, "missing name" for a name no device has.
std::string Shown(const OutputChoice& c) {
  char text[64];
  if (c.kind == OutputChoice::Kind::Card) std::snprintf(text, sizeof text, "card %X", c.port);
  if (c.kind == OutputChoice::Kind::Device) std::snprintf(text, sizeof text, "%u %s", c.deviceId, c.name);
  if (c.kind == OutputChoice::Kind::Missing) std::snprintf(text, sizeof text, "missing %s", c.name);
  return text;
}
}  // namespace

TEST(OutputList, TheCardFirstThenEveryDeviceThatTellsItsNameInIdOrder) {
  const struct {
    Names devices;
    int silent;
    Names list;
  } cases[] = {
      {{"Synth A", "USB MIDI"}, -1, {"card 330", "0 Synth A", "1 USB MIDI"}},
      {{}, -1, {"card 330"}},
      {{"A", "B", "C"}, 1, {"card 330", "0 A", "2 C"}},
      {{"Same", "Same"}, -1, {"card 330", "0 Same", "1 Same"}},
  };
  for (const auto& c : cases) {
    FakeMidiOut api;
    api.names = c.devices;
    api.silent = c.silent;
    OutputList list(0x330, api);
    Names shown;
    OutputChoice choice;
    while (list.Next(&choice)) shown.push_back(Shown(choice));
    EXPECT_EQ(shown, c.list);
    EXPECT_EQ(api.countsAsked, 1);
  }
}

TEST(OutputList, AStoredNameFindsTheFirstDeviceOfExactlyThatName) {
  const std::string longName(40, 'x');
  const struct {
    const char* name;
    std::string found;
    int countsAsked;
  } cases[] = {
      {"", "card 300", 0},  // the card's choice asks the system nothing
      {nullptr, "card 300", 0},
      {"USB MIDI", "1 USB MIDI", 1},
      {"Synth A", "0 Synth A", 1},  // the first of two with that name
      {"usb midi", "missing usb midi", 1},
      {"USB MID", "missing USB MID", 1},
      {"Quiet", "missing Quiet", 1},  // a device that does not tell its name cannot be found
      {longName.c_str(), "missing " + longName.substr(0, MidiOutApi::kNameCapacity - 1), 1},
  };
  for (const auto& c : cases) {
    FakeMidiOut api;
    api.names = {"Synth A", "USB MIDI", "Synth A", "Quiet"};
    api.silent = 3;
    OutputChoice found;
    OutputList(0x300, api).Find(c.name, &found);
    EXPECT_EQ(Shown(found), c.found) << (c.name ? c.name : "(null)");
    EXPECT_EQ(api.countsAsked, c.countsAsked);
  }
}
