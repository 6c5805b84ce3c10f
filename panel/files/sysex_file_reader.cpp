#include "panel/files/sysex_file_reader.h"

#include <cstring>

#include "panel/device/system_exclusive.h"

namespace {

constexpr uint8_t kMeta = 0xFF;
constexpr uint8_t kEndOfTrack = 0x2F;
constexpr size_t kChunkHeader = 8;
constexpr size_t kFileHeaderLength = 6;
constexpr int kLongestQuantity = 4;

uint32_t BigEndian32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | p[3];
}

// Data bytes that follow a channel message's status.
size_t ChannelDataCount(uint8_t status) {
  const uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// One track's events, with a system-exclusive message gathered across its packets.
class TrackReader {
 public:
  TrackReader(const uint8_t* data, size_t size, MessageSink& sink) : data_(data), size_(size), sink_(sink) {}

  FileFault Read() {
    uint8_t running = 0;
    while (at_ < size_) {
      uint32_t delta = 0;
      FileFault fault = Quantity(&delta);
      if (fault != FileFault::None) return fault;
      if (at_ >= size_) return FileFault::EventPastEnd;
      uint8_t status = data_[at_];
      if (status < 0x80) {
        if (running == 0) return FileFault::NoStatus;
        status = running;  // running status: the byte is the first data byte
      } else {
        ++at_;
      }
      if (status == kMeta) {
        if (at_ >= size_) return FileFault::EventPastEnd;
        const uint8_t type = data_[at_++];
        const uint8_t* body = nullptr;
        uint32_t length = 0;
        fault = Body(&body, &length);
        if (fault != FileFault::None) return fault;
        running = 0;
        if (type == kEndOfTrack) break;
      } else if (status == kSysExStart || status == kSysExEnd) {  // F7h: a continuation (or escape)
        const uint8_t* body = nullptr;
        uint32_t length = 0;
        fault = Body(&body, &length);
        if (fault != FileFault::None) return fault;
        running = 0;
        fault = Packet(status, body, length);
        if (fault != FileFault::None) return fault;
      } else if (status >= 0x80 && status < 0xF0) {
        running = status;
        const size_t count = ChannelDataCount(status);
        if (size_ - at_ < count) return FileFault::EventPastEnd;
        at_ += count;
      } else {
        return FileFault::NoStatus;  // system common and real-time bytes are no file events
      }
    }
    return open_ ? FileFault::Unterminated : FileFault::None;
  }

 private:
  FileFault Quantity(uint32_t* value) {
    *value = 0;
    for (int i = 0; i < kLongestQuantity; ++i) {
      if (at_ >= size_) return FileFault::EventPastEnd;
      const uint8_t byte = data_[at_++];
      *value = (*value << 7) | (byte & 0x7F);
      if ((byte & 0x80) == 0) return FileFault::None;
    }
    return FileFault::LongQuantity;
  }

  FileFault Body(const uint8_t** body, uint32_t* length) {
    const FileFault fault = Quantity(length);
    if (fault != FileFault::None) return fault;
    if (*length > size_ - at_) return FileFault::EventPastEnd;
    *body = data_ + at_;
    at_ += *length;
    return FileFault::None;
  }

  // An F0 event begins a message; F7 events continue an open one (or, with none open, carry
  // bytes to send as they are, which are no message). The message is complete with its F7.
  FileFault Packet(uint8_t status, const uint8_t* body, uint32_t length) {
    if (status == kSysExStart) {
      if (open_) return FileFault::Unterminated;
      open_ = true;
      length_ = 0;
      tooLong_ = false;
      Append(&kSysExStart, 1);
    } else if (!open_) {
      return FileFault::None;
    }
    Append(body, length);
    if (length > 0 && body[length - 1] == kSysExEnd) {
      open_ = false;
      if (!tooLong_) sink_.Send(message_, length_);
    }
    return FileFault::None;
  }

  void Append(const uint8_t* bytes, size_t n) {
    if (tooLong_ || n > sizeof message_ - length_) {
      tooLong_ = true;
      return;
    }
    std::memcpy(message_ + length_, bytes, n);
    length_ += n;
  }

  const uint8_t* data_;
  size_t size_;
  MessageSink& sink_;
  size_t at_ = 0;
  bool open_ = false;
  bool tooLong_ = false;
  uint8_t message_[kLongestFileMessage];
  size_t length_ = 0;
};

FileFault ReadMidiFile(const uint8_t* data, size_t size, MessageSink& sink) {
  size_t at = 0;
  bool first = true;
  while (at < size) {
    if (size - at < kChunkHeader) return FileFault::ChunkPastEnd;
    const uint32_t length = BigEndian32(data + at + 4);
    if (length > size - at - kChunkHeader) return FileFault::ChunkPastEnd;
    const uint8_t* body = data + at + kChunkHeader;
    if (first && length < kFileHeaderLength) return FileFault::UnknownForm;
    if (!first && std::memcmp(data + at, "MTrk", 4) == 0) {
      TrackReader track(body, length, sink);
      const FileFault fault = track.Read();
      if (fault != FileFault::None) return fault;
    }
    first = false;
    at += kChunkHeader + length;
  }
  return FileFault::None;
}

// F0 .. F7 messages back to back, nothing between them.
FileFault ReadDump(const uint8_t* data, size_t size, MessageSink& sink) {
  size_t at = 0;
  while (at < size) {
    if (data[at] != kSysExStart) return FileFault::UnknownForm;
    size_t end = at + 1;
    while (end < size && data[end] < 0x80) ++end;
    if (end >= size || data[end] != kSysExEnd) return FileFault::Unterminated;
    if (end + 1 - at <= kLongestFileMessage) sink.Send(data + at, end + 1 - at);
    at = end + 1;
  }
  return FileFault::None;
}

}  // namespace

FileFault ReadSysExFile(const uint8_t* data, size_t size, MessageSink& sink) {
  if (size >= 4 && std::memcmp(data, "MThd", 4) == 0) return ReadMidiFile(data, size, sink);
  if (size > 0 && data[0] == kSysExStart) return ReadDump(data, size, sink);
  return FileFault::UnknownForm;
}
