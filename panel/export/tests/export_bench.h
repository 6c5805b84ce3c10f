#pragma once
// The panel's portable side wired as in the program, with the software interface in place of the
// card and plain fields in place of the dialog's controls, for recording exports.
#include <cstdint>
#include <string>
#include <vector>

#include "panel/core/parameter_messages.h"
#include "panel/device/message_sink.h"
#include "panel/device/mpu401_model.h"
#include "panel/device/tests/fake_clock.h"
#include "panel/device/mpu_port.h"
#include "panel/export/image_memory.h"
#include "panel/export/tests/smf_reader.h"
#include "panel/ui/panel_controller.h"
#include "panel/ui/tests/fake_control_surface.h"

// Page memory from the heap: zero-filled, can be refused, and checks that what is released is
// what was given.
class HeapImageMemory : public ImageMemory {
 public:
  ~HeapImageMemory() override;
  uint8_t* Obtain(size_t size) override;
  void Release(uint8_t* block) override;

  bool refuse = false;
  int obtained = 0;
  int released = 0;
  size_t lastSize = 0;

 private:
  uint8_t* block_ = nullptr;
};

struct ExportBench {
  PanelSettings settings;
  Mpu401Model card;
  SteppingClock clock;
  MpuPort port{card, clock};
  MessageSink sink{port, settings.Port};
  ParameterMessages messages{settings, sink};
  FakeControlSurface surface;
  PanelController controller{messages, surface};
  HeapImageMemory memory;

  // Opens the panel (the start-up push) and forgets what it sent.
  void Open();
  // BuildImage; on success returns the image and releases its block. `result` gets BuildImage's.
  Bytes Build(int* result = nullptr);
  // The data-port bytes the card has received since the last call (or since Open).
  Bytes CardBytes();

 private:
  size_t cardSeen_ = 0;
};

Bytes ParseHex(const char* text);
std::string Hex(const Bytes& bytes);
