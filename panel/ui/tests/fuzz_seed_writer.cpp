// Writes the seed inputs of the panel's fuzz targets into the source tree, made by the panel's own
// writers, so that each run starts from real files and real setting sets instead of nothing:
//   fuzz_seed_writer <source root>
// (cmake --build --preset native --target fuzz_seeds). Each seed is written in the input layout of
// the harness that reads it; the harnesses say what those layouts are.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "panel/core/panel_settings.h"
#include "panel/files/image_memory.h"
#include "panel/files/message_recorder.h"
#include "panel/files/midi_image.h"
#include "panel/files/saved_state.h"

namespace {

using Bytes = std::vector<uint8_t>;

class BlockMemory : public ImageMemory {
 public:
  uint8_t* Obtain(size_t size) override {
    block_.assign(size, 0);
    return block_.data();
  }
  void Release(uint8_t*) override {}

 private:
  Bytes block_;
};

class MessageList : public MessageSink {
 public:
  void Send(const uint8_t* message, size_t n) override { messages.emplace_back(message, message + n); }
  std::vector<Bytes> messages;
};

struct SettingSet {
  const char* name;
  PanelSettings settings;
};

std::vector<SettingSet> SettingSets() {
  PanelSettings lowest, highest, varied;
  for (const SettingField& field : kSettingFields) {
    WriteField(lowest, field, field.minValue);
    WriteField(highest, field, field.maxValue);
    WriteField(varied, field, field.minValue + (field.maxValue - field.minValue) / 3);
  }
  varied.Mute = 0xA50F;
  return {{"defaults", PanelSettings{}}, {"lowest", lowest}, {"highest", highest}, {"varied", varied}};
}

void Put32(Bytes& out, uint32_t value, bool bigEndian) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(value >> (bigEndian ? 24 - 8 * i : 8 * i)));
}

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

Bytes Chunk(const char* id, const Bytes& body) {
  Bytes chunk(id, id + 4);
  Put32(chunk, static_cast<uint32_t>(body.size()), true);
  Append(chunk, body);
  return chunk;
}

Bytes Image(const PanelSettings& settings, DigitalTarget target, SavedForm form) {
  BlockMemory memory;
  MidiImage image;
  if (BuildImage({settings, target}, memory, &image, form) != kImageBuilt) {
    fprintf(stderr, "no image\n");
    exit(1);
  }
  return Bytes(image.block, image.block + image.size);
}

std::vector<Bytes> SavedMessages(const PanelSettings& settings, DigitalTarget target) {
  MessageList list;
  SendSavedState(settings, target, list);
  return list.messages;
}

// The saved state's messages as track events, as the recorder writes them.
Bytes RecordedEvents(const PanelSettings& settings, DigitalTarget target) {
  uint8_t buffer[kImageBufferSize];
  MessageRecorder recorder(buffer, sizeof buffer);
  SendSavedState(settings, target, recorder);
  return Bytes(buffer, buffer + recorder.Size());
}

const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

// Format 1, two tracks: notes with running status, another maker's message and a text event around
// the panel's messages in the first; in the second one panel message split into an F0 packet and an
// F7 continuation, and bytes escaped with F7 outside any message.
Bytes FormatOneFile(const PanelSettings& settings) {
  Bytes first = {0x00, 0xFF, 0x01, 0x04, 'S', 'e', 't', 's',    // text
                 0x00, 0x90, 0x3C, 0x64, 0x10, 0x40, 0x64,      // note on, then running status
                 0x00, 0xC0, 0x05, 0x00, 0xB0, 0x07, 0x64,      // program change, controller
                 0x00, 0xF0, 0x05, 0x43, 0x10, 0x4C, 0x00, 0xF7,  // another maker's message
                 0x00, 0xF7, 0x02, 0xF3, 0x01};                 // escaped bytes, no message
  Append(first, RecordedEvents(settings, DigitalTarget::Left));
  Append(first, {0x60, 0x80, 0x3C, 0x00, 0x00, 0x40, 0x00});     // note off, running status
  Append(first, kEndOfTrack);

  const Bytes message = SavedMessages(settings, DigitalTarget::Right).back();
  const size_t half = message.size() / 2;
  Bytes second = {0x00, 0xF0, static_cast<uint8_t>(half - 1)};
  second.insert(second.end(), message.begin() + 1, message.begin() + half);
  Append(second, {0x08, 0xF7, static_cast<uint8_t>(message.size() - half)});
  second.insert(second.end(), message.begin() + half, message.end());
  Append(second, kEndOfTrack);

  Bytes file = Chunk("MThd", {0, 1, 0, 2, 0, 96});
  Append(file, Chunk("MTrk", first));
  Append(file, Chunk("MTrk", second));
  return file;
}

// message_recorder_fuzz: the buffer's capacity, then each message as its length less one and its
// bytes.
Bytes RecorderInput(uint8_t capacity, const std::vector<Bytes>& messages) {
  Bytes input = {capacity};
  for (const Bytes& m : messages) {
    input.push_back(static_cast<uint8_t>(m.size() - 1));
    Append(input, m);
  }
  return input;
}

// midi_image_fuzz reads through FuzzedDataProvider, which takes integers from the input's end: the
// fields in their order, each four bytes, least significant first, then the target's byte before them.
Bytes ImageInput(const PanelSettings& settings, DigitalTarget target) {
  Bytes input = {static_cast<uint8_t>(target)};
  for (size_t i = kSettingFieldCount; i-- > 0;) Put32(input, ReadField(settings, kSettingFields[i]), false);
  return input;
}

// core_settings_messages_fuzz: the settings exist, the typed transpose text, then one record (the
// field's index, its value) per field.
Bytes BuilderInput(const PanelSettings& settings, const std::string& text) {
  Bytes input = {1, static_cast<uint8_t>(text.size())};
  input.insert(input.end(), text.begin(), text.end());
  for (size_t i = 0; i < kSettingFieldCount; ++i) {
    input.push_back(static_cast<uint8_t>(i));
    Put32(input, ReadField(settings, kSettingFields[i]), false);
  }
  return input;
}

// startup_push_fuzz: the store opens, each field is present with its value, then control events
// (a slider moved and let go, typed transpose text, a reverb type picked, a channel and the
// target clicked).
Bytes StartupInput(const PanelSettings& settings) {
  Bytes input = {0};
  for (const SettingField& field : kSettingFields) {
    input.push_back(0);
    Put32(input, ReadField(settings, field), false);
  }
  Append(input, {0, 3, 0x10, 0x27, 0, 0, 8,  // slider: index, position, scroll code
                 1, 1, 3, '-', '1', '2',     // master transpose text
                 4, 5,                       // reverb type
                 5, 9,                       // channel
                 6});                        // target
  return input;
}

void Write(const std::string& root, const std::string& folder, const std::string& name, const Bytes& bytes) {
  std::filesystem::create_directories(root + "/" + folder);
  const std::string path = root + "/" + folder + "/" + name;
  FILE* out = fopen(path.c_str(), "wb");
  if (out == nullptr || fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || fclose(out) != 0) {
    fprintf(stderr, "cannot write %s\n", path.c_str());
    exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s <source root>\n", argv[0]);
    return 2;
  }
  const std::string root = argv[1];
  const std::vector<SettingSet> sets = SettingSets();
  const PanelSettings& varied = sets.back().settings;

  const std::string reader = "panel/files/tests/fuzz_seeds/sysex_file_reader_fuzz";
  const Bytes saved = Image(varied, DigitalTarget::Stereo, SavedForm::MidiFile);
  Write(root, reader, "saved.mid", saved);
  Write(root, reader, "saved.syx", Image(sets[2].settings, DigitalTarget::Left, SavedForm::Dump));
  Write(root, reader, "format1.mid", FormatOneFile(varied));
  Write(root, reader, "truncated.mid", Bytes(saved.begin(), saved.begin() + saved.size() / 2));

  const std::string recorder = "panel/files/tests/fuzz_seeds/message_recorder_fuzz";
  Write(root, recorder, "saved-fits", RecorderInput(63, SavedMessages(varied, DigitalTarget::Stereo)));
  Write(root, recorder, "saved-overflows", RecorderInput(20, SavedMessages(sets[0].settings, DigitalTarget::Right)));

  for (const SettingSet& set : sets) {
    Write(root, "panel/files/tests/fuzz_seeds/midi_image_fuzz", set.name, ImageInput(set.settings, DigitalTarget::Right));
    Write(root, "panel/core/tests/fuzz_seeds/core_settings_messages_fuzz", set.name, BuilderInput(set.settings, " -12 "));
    Write(root, "panel/ui/tests/fuzz_seeds/startup_push_fuzz", set.name, StartupInput(set.settings));
  }
  return 0;
}
