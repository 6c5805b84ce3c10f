#pragma once
// Writes every event of the software interface to a trace file, one line each as it happens, so
// that a reader following the file sees each message as soon as the card would have.
#include "panel/device/mpu401_model.h"
#include "panel/device/port_trace.h"

class PortTraceWin32 : public PortEventObserver {
 public:
  static constexpr const char* kDefaultFileName = "mpu401-trace.txt";

  PortTraceWin32() = default;
  ~PortTraceWin32();
  PortTraceWin32(const PortTraceWin32&) = delete;
  PortTraceWin32& operator=(const PortTraceWin32&) = delete;

  // Starts the file anew (relative names are in the current directory); false when it cannot be
  // created, and then events are not written anywhere.
  bool Open(const char* path = kDefaultFileName);
  void Close();
  // Notes each message written to dataPort with what it means (see NotedTrace).
  void Describe(uint16_t dataPort, MessageDescriber* describer) { lines_.Describe(dataPort, describer); }

  void OnPortEvent(const PortEvent& event) override;

 private:
  void* file_ = nullptr;  // the file's HANDLE; null when none is open
  NotedTrace lines_;
};
