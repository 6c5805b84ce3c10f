#pragma once
// A MIDI output library in memory: named devices, buffers that the "driver" finishes at once,
// after a number of pauses or never (until a reset), and a log of every call. Test code only.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "panel/device/midi_out_api.h"

class FakeMidiOut : public MidiOutApi {
 public:
  struct Block {
    int number;
    bool prepared = false, queued = false, done = false, freed = false;
  };

  std::vector<std::string> names = {"Synth A", "USB MIDI"};
  int silent = -1;  // the id of a device that does not tell its name
  int countsAsked = 0;
  uint32_t openResult = kNoError;
  uint32_t sendResult = kNoError;
  int donePauses = 0;           // polls until the driver is done with a buffer; -1: never
  bool unprepareStuck = false;  // unprepare fails even after a reset
  std::vector<std::string> log;
  std::vector<std::vector<uint8_t>> sent;  // each message the driver took, in order
  std::vector<std::unique_ptr<Block>> blocks;

  unsigned DeviceCount() override {
    ++countsAsked;
    return static_cast<unsigned>(names.size());
  }
  bool DeviceName(unsigned id, char* name) override {
    if (id >= names.size() || static_cast<int>(id) == silent) return false;
    names[id].copy(name, kNameCapacity - 1);
    name[std::min(names[id].size(), kNameCapacity - 1)] = '\0';
    return true;
  }
  uint32_t Open(unsigned id, Handle* handle) override {
    log.push_back("open " + std::to_string(id));
    *handle = openResult == kNoError ? this : nullptr;
    return openResult;
  }
  uint32_t Close(Handle) override {
    log.push_back("close");
    return kNoError;
  }
  uint32_t Reset(Handle) override {
    log.push_back("reset");
    for (auto& block : blocks) {
      if (block->queued) block->queued = false, block->done = true;
    }
    return kNoError;
  }
  Buffer NewBuffer() override {
    blocks.push_back(std::make_unique<Block>(Block{static_cast<int>(blocks.size()) + 1}));
    return blocks.back().get();
  }
  void FreeBuffer(Buffer buffer) override {
    log.push_back("free " + Name(buffer));
    Of(buffer).freed = true;
  }
  uint32_t Prepare(Handle, Buffer buffer, const uint8_t* message, size_t n) override {
    log.push_back("prepare " + Name(buffer));
    Of(buffer) = Block{Of(buffer).number, true};
    pending_.assign(message, message + n);
    return kNoError;
  }
  uint32_t Send(Handle, Buffer buffer) override {
    log.push_back("send " + Name(buffer));
    if (sendResult != kNoError) return sendResult;
    sent.push_back(pending_);
    Of(buffer).queued = true;
    pausesLeft_ = donePauses;
    if (pausesLeft_ == 0) Finish();
    return kNoError;
  }
  bool Done(Buffer buffer) override {
    if (Of(buffer).done && !Of(buffer).queued) return true;
    ++pauses;
    if (pausesLeft_ > 0 && --pausesLeft_ == 0) Finish();
    return false;
  }
  uint32_t Unprepare(Handle, Buffer buffer) override {
    const bool fails = unprepareStuck || Of(buffer).queued;
    log.push_back("unprepare " + Name(buffer) + (fails ? " still playing" : ""));
    if (fails) return kStillPlaying;
    Of(buffer).prepared = false;
    return kNoError;
  }
  int pauses = 0;

 private:
  static Block& Of(Buffer buffer) { return *static_cast<Block*>(buffer); }
  static std::string Name(Buffer buffer) { return "#" + std::to_string(Of(buffer).number); }
  void Finish() {
    for (auto& block : blocks) {
      if (block->queued) block->queued = false, block->done = true;
    }
  }

  std::vector<uint8_t> pending_;
  int pausesLeft_ = 0;
};
