#include "panel/files/tests/smf_reader.h"

namespace {

struct Reader {
  const Bytes& bytes;
  size_t pos = 0;
  size_t end = 0;

  bool Has(size_t n) const { return pos <= end && end - pos >= n; }
  uint32_t Big(size_t n) {
    uint32_t value = 0;
    for (size_t i = 0; i < n; ++i) value = (value << 8) | bytes[pos++];
    return value;
  }
  // A variable-length quantity of at most four bytes.
  bool Quantity(uint32_t* value) {
    *value = 0;
    for (int i = 0; i < 4; ++i) {
      if (!Has(1)) return false;
      const uint8_t byte = bytes[pos++];
      *value = (*value << 7) | (byte & 0x7F);
      if ((byte & 0x80) == 0) return true;
    }
    return false;
  }
};

}  // namespace

std::string ReadSmf(const Bytes& file, SmfFile* out) {
  Reader r{file, 0, file.size()};
  if (!r.Has(14) || std::string(file.begin(), file.begin() + 4) != "MThd") return "no MThd";
  r.pos = 4;
  if (r.Big(4) != 6) return "header length";
  out->format = static_cast<uint16_t>(r.Big(2));
  out->trackCount = static_cast<uint16_t>(r.Big(2));
  out->division = static_cast<uint16_t>(r.Big(2));
  if (!r.Has(8) || std::string(file.begin() + 14, file.begin() + 18) != "MTrk") return "no MTrk";
  r.pos = 18;
  out->trackLength = r.Big(4);
  if (out->trackLength != file.size() - 22) return "track length does not match the file";

  bool ended = false;
  while (r.Has(1)) {
    if (ended) return "bytes after end of track";
    SmfEvent event;
    if (!r.Quantity(&event.delta)) return "bad delta";
    if (!r.Has(1)) return "event missing";
    event.status = file[r.pos++];
    uint32_t length = 0;
    if (event.status == 0xFF) {
      if (!r.Has(1)) return "meta type missing";
      event.metaType = file[r.pos++];
    } else if (event.status != 0xF0) {
      return "unexpected status byte";
    }
    if (!r.Quantity(&length) || !r.Has(length)) return "bad event length";
    event.data.assign(file.begin() + r.pos, file.begin() + r.pos + length);
    r.pos += length;
    if (event.status == 0xF0 && (event.data.empty() || event.data.back() != 0xF7)) {
      return "sysex does not end in F7";
    }
    if (event.status == 0xFF && event.metaType == 0x2F) ended = true;
    out->events.push_back(event);
  }
  return ended ? "" : "no end of track";
}

std::string CheckDataSet(const Bytes& message) {
  if (message.size() < 8) return "too short";
  for (size_t i = 0; i + 1 < message.size(); ++i) {
    if (message[i] >= 0x80) return "byte of 80h or more inside the message";
  }
  if (message[0] != 0x41 || message[1] != 0x10 || message[3] != 0x12) return "not a data set";
  if (message[2] != 0x42 && message[2] != 0x56) return "unknown model";
  // The card's rule: address and data bytes plus the checksum add up to a multiple of 128.
  unsigned total = 0;
  for (size_t i = 4; i + 1 < message.size(); ++i) total += message[i];
  if (total % 128 != 0) return "checksum";
  return "";
}

std::string CheckExportedShape(const Bytes& file, SmfFile* out) {
  std::string problem = ReadSmf(file, out);
  if (!problem.empty()) return problem;
  if (out->format != 0 || out->trackCount != 1 || out->division != 96) return "header";
  if (out->events.size() != 21) return "event count";
  const SmfEvent& tempo = out->events[0];
  if (tempo.status != 0xFF || tempo.metaType != 0x51 || tempo.data != Bytes{0x07, 0xA1, 0x20}) return "tempo";
  for (size_t i = 1; i <= 19; ++i) {
    const SmfEvent& event = out->events[i];
    const size_t length = i == 1 ? 19 : i <= 17 ? 10 : i == 18 ? 15 : 18;
    const std::string where = " of event " + std::to_string(i);
    if (event.status != 0xF0 || event.data.size() != length) return "length" + where;
    if (event.delta != (i == 1 ? 0u : 8u)) return "delta" + where;
    problem = CheckDataSet(event.data);
    if (!problem.empty()) return problem + where;
  }
  const SmfEvent& end = out->events[20];
  if (end.delta != 0 || end.status != 0xFF || end.metaType != 0x2F) return "end of track";
  return "";
}
