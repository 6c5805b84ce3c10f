#include "panel/device/winmm_midi_out_win32.h"

#include <windows.h>
#include <mmsystem.h>

namespace {
constexpr SIZE_T kBufferBytes = 4096;
static_assert(sizeof(MIDIHDR) + MidiOutApi::kMessageCapacity <= kBufferBytes);

MIDIHDR* HeaderOf(MidiOutApi::Buffer buffer) { return static_cast<MIDIHDR*>(buffer); }
HMIDIOUT DeviceOf(MidiOutApi::Handle handle) { return static_cast<HMIDIOUT>(handle); }
}  // namespace

unsigned WinmmMidiOut::DeviceCount() { return midiOutGetNumDevs(); }

bool WinmmMidiOut::DeviceName(unsigned id, char* name) {
  MIDIOUTCAPSA caps;
  if (midiOutGetDevCapsA(id, &caps, sizeof caps) != MMSYSERR_NOERROR) return false;
  unsigned i = 0;
  for (; i + 1 < kNameCapacity && i < sizeof caps.szPname && caps.szPname[i] != '\0'; ++i) name[i] = caps.szPname[i];
  name[i] = '\0';
  return true;
}

uint32_t WinmmMidiOut::Open(unsigned id, Handle* handle) {
  HMIDIOUT device = nullptr;
  const MMRESULT result = midiOutOpen(&device, id, 0, 0, CALLBACK_NULL);
  *handle = device;
  return result;
}

uint32_t WinmmMidiOut::Close(Handle handle) { return midiOutClose(DeviceOf(handle)); }

uint32_t WinmmMidiOut::Reset(Handle handle) { return midiOutReset(DeviceOf(handle)); }

MidiOutApi::Buffer WinmmMidiOut::NewBuffer() {
  return VirtualAlloc(nullptr, kBufferBytes, MEM_COMMIT, PAGE_READWRITE);
}

void WinmmMidiOut::FreeBuffer(Buffer buffer) { VirtualFree(buffer, 0, MEM_RELEASE); }

uint32_t WinmmMidiOut::Prepare(Handle handle, Buffer buffer, const uint8_t* message, size_t n) {
  MIDIHDR* header = HeaderOf(buffer);
  char* data = reinterpret_cast<char*>(header + 1);
  for (size_t i = 0; i < n; ++i) data[i] = static_cast<char>(message[i]);
  header->lpData = data;
  header->dwBufferLength = static_cast<DWORD>(n);
  header->dwBytesRecorded = static_cast<DWORD>(n);
  // Windows 95 does not clear DONE and INQUEUE itself when it prepares a header.
  header->dwFlags = 0;
  return midiOutPrepareHeader(DeviceOf(handle), header, sizeof *header);
}

uint32_t WinmmMidiOut::Send(Handle handle, Buffer buffer) {
  return midiOutLongMsg(DeviceOf(handle), HeaderOf(buffer), sizeof(MIDIHDR));
}

bool WinmmMidiOut::Done(Buffer buffer) {
  // The driver sets the flags, perhaps on another thread.
  const DWORD flags = *static_cast<volatile DWORD*>(&HeaderOf(buffer)->dwFlags);
  if ((flags & (MHDR_DONE | MHDR_INQUEUE)) == MHDR_DONE) return true;
  Sleep(1);
  return false;
}

uint32_t WinmmMidiOut::Unprepare(Handle handle, Buffer buffer) {
  return midiOutUnprepareHeader(DeviceOf(handle), HeaderOf(buffer), sizeof(MIDIHDR));
}

void MidiOutErrorText(uint32_t code, char* text, unsigned capacity) {
  if (midiOutGetErrorTextA(code, text, capacity) != MMSYSERR_NOERROR && capacity > 0) text[0] = '\0';
}
