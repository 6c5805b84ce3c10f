// A stand-in MIDI output driver, for the tests only (never shipped): two MIDI ports, "Stand-in MIDI
// 1" and "Stand-in MIDI 2", behind the documented driver entry modMessage, and the four functions
// Wine's mmdevapi asks of an audio driver (which offer no audio endpoints).
//
// Every driver message that reaches it goes to midi-driver-log.txt in the current folder, one line
// each, with the device's number (1 or 2) and, for a system-exclusive buffer, all its bytes:
//   open 2 | open 2 busy | prepare 2 | longdata 2 F0 .. F7 | unprepare 2 | unprepare 2 still playing |
//   data 2 90 3C 40 | reset 2 | close 2 | close 2 still playing | message <number> 2
// Switches, files in the current folder:
// - "midi-busy": every open is refused as in use by another program (MMSYSERR_ALLOCATED).
// - "midi-late": a buffer is done only 30 ms after it came, on another thread (as a driver that
//   sends in the background); until then it is queued.
#include <windows.h>
#include <mmsystem.h>
#include <mmddk.h>

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

extern "C" BOOL WINAPI DriverCallback(DWORD_PTR callback, DWORD flags, HDRVR device, DWORD message, DWORD_PTR user,
                                      DWORD_PTR param1, DWORD_PTR param2);

namespace {
constexpr UINT kDevices = 2;
constexpr DWORD kLateMs = 30;
const wchar_t* const kNames[kDevices] = {L"Stand-in MIDI 1", L"Stand-in MIDI 2"};

struct Device {
  bool open = false;
  MIDIOPENDESC desc = {};
  DWORD flags = 0;
  MIDIHDR* volatile pending = nullptr;  // the buffer a late completion still owes
};
Device g_devices[kDevices];

bool Switch(const char* name) { return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES; }

// One line: what, the device's number, then the tail or the bytes in hex.
void Log(const char* what, UINT device, const char* tail = "", const BYTE* bytes = nullptr, DWORD count = 0) {
  static char line[32 + 3 * 65536];
  char* out = line + wsprintfA(line, "%s %u%s", what, device + 1, tail);
  for (DWORD i = 0; i < count && i < 65536; ++i) out += wsprintfA(out, " %02X", bytes[i]);
  out += wsprintfA(out, "\r\n");
  HANDLE file = CreateFileA("midi-driver-log.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(out - line), &written, nullptr);
  CloseHandle(file);
}

void Notify(Device& device, UINT message, DWORD_PTR param) {
  DriverCallback(device.desc.dwCallback, HIWORD(device.flags), reinterpret_cast<HDRVR>(device.desc.hMidi), message,
                 device.desc.dwInstance, param, 0);
}

// Done, and out of the queue, in one store: the program may be reading the flags meanwhile.
void Complete(Device& device, MIDIHDR* header) {
  if (InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&device.pending), nullptr, header) !=
      header) {
    return;  // completed already (by a reset)
  }
  header->dwFlags = (header->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
  Notify(device, MOM_DONE, reinterpret_cast<DWORD_PTR>(header));
}

DWORD WINAPI CompleteLater(void* parameter) {
  Device& device = *static_cast<Device*>(parameter);
  Sleep(kLateMs);
  MIDIHDR* header = device.pending;
  if (header != nullptr) Complete(device, header);
  return 0;
}

DWORD Capabilities(UINT id, MIDIOUTCAPSW* caps, DWORD_PTR size) {
  MIDIOUTCAPSW filled = {};
  filled.wMid = 0xFF;
  filled.wPid = static_cast<WORD>(id + 1);
  filled.vDriverVersion = 0x0100;
  lstrcpynW(filled.szPname, kNames[id], MAXPNAMELEN);
  filled.wTechnology = MOD_MIDIPORT;
  filled.wChannelMask = 0xFFFF;
  CopyMemory(caps, &filled, size < sizeof filled ? size : sizeof filled);
  return MMSYSERR_NOERROR;
}

DWORD LongData(UINT id, MIDIHDR* header) {
  Device& device = g_devices[id];
  if ((header->dwFlags & MHDR_PREPARED) == 0) return MIDIERR_UNPREPARED;
  Log("longdata", id, "", reinterpret_cast<const BYTE*>(header->lpData), header->dwBufferLength);
  header->dwFlags = (header->dwFlags & ~MHDR_DONE) | MHDR_INQUEUE;
  device.pending = header;
  if (!Switch("midi-late")) {
    Complete(device, header);
    return MMSYSERR_NOERROR;
  }
  HANDLE thread = CreateThread(nullptr, 0, CompleteLater, &device, 0, nullptr);
  if (thread != nullptr) CloseHandle(thread);
  return MMSYSERR_NOERROR;
}
}  // namespace

STANDIN_EXPORT DWORD WINAPI modMessage(UINT id, UINT message, DWORD_PTR /*user*/, DWORD_PTR param1, DWORD_PTR param2) {
  switch (message) {
    case DRVM_INIT:
    case DRVM_EXIT:
    case DRVM_ENABLE:
    case DRVM_DISABLE:
      return MMSYSERR_NOERROR;
    case MODM_GETNUMDEVS:
      return kDevices;
    default:
      break;
  }
  if (id >= kDevices) return MMSYSERR_BADDEVICEID;
  Device& device = g_devices[id];
  auto* header = reinterpret_cast<MIDIHDR*>(param1);
  switch (message) {
    case MODM_GETDEVCAPS:
      return Capabilities(id, reinterpret_cast<MIDIOUTCAPSW*>(param1), param2);
    case MODM_OPEN:
      if (Switch("midi-busy")) {
        Log("open", id, " busy");
        return MMSYSERR_ALLOCATED;
      }
      if (device.open) return MMSYSERR_ALLOCATED;
      Log("open", id);
      device.open = true;
      device.desc = *reinterpret_cast<MIDIOPENDESC*>(param1);
      device.flags = static_cast<DWORD>(param2);
      Notify(device, MOM_OPEN, 0);
      return MMSYSERR_NOERROR;
    case MODM_CLOSE:
      if (device.pending != nullptr) {
        Log("close", id, " still playing");
        return MIDIERR_STILLPLAYING;
      }
      Log("close", id);
      Notify(device, MOM_CLOSE, 0);
      device.open = false;
      return MMSYSERR_NOERROR;
    case MODM_PREPARE:
      Log("prepare", id);
      header->dwFlags |= MHDR_PREPARED;
      return MMSYSERR_NOERROR;
    case MODM_UNPREPARE:
      if ((header->dwFlags & MHDR_INQUEUE) != 0) {
        Log("unprepare", id, " still playing");
        return MIDIERR_STILLPLAYING;
      }
      Log("unprepare", id);
      header->dwFlags &= ~MHDR_PREPARED;
      return MMSYSERR_NOERROR;
    case MODM_LONGDATA:
      return LongData(id, header);
    case MODM_DATA: {
      const BYTE bytes[3] = {LOBYTE(param1), HIBYTE(param1), LOBYTE(param1 >> 16)};
      Log("data", id, "", bytes, 3);
      return MMSYSERR_NOERROR;
    }
    case MODM_RESET:
      Log("reset", id);
      if (device.pending != nullptr) Complete(device, device.pending);
      return MMSYSERR_NOERROR;
    default: {
      char tail[16];
      wsprintfA(tail, " (%u)", message);
      Log("message", id, tail);
      return MMSYSERR_NOTSUPPORTED;
    }
  }
}

STANDIN_EXPORT LRESULT WINAPI DriverProc(DWORD_PTR /*id*/, HDRVR /*driver*/, UINT message, LPARAM /*p1*/,
                                         LPARAM /*p2*/) {
  switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_OPEN:
    case DRV_CLOSE:
    case DRV_ENABLE:
    case DRV_DISABLE:
      return 1;
    default:
      return 0;
  }
}

// What Wine's mmdevapi asks of an audio driver: a neutral priority and no endpoints at all.
STANDIN_EXPORT int WINAPI GetPriority() { return 2; }

STANDIN_EXPORT HRESULT WINAPI GetEndpointIDs(int /*flow*/, WCHAR*** ids, GUID** guids, UINT* count, UINT* preferred) {
  *ids = nullptr;
  *guids = nullptr;
  *count = 0;
  *preferred = 0;
  return S_OK;
}

STANDIN_EXPORT HRESULT WINAPI GetAudioEndpoint(void* /*key*/, void* /*device*/, void** client) {
  *client = nullptr;
  return E_NOTIMPL;
}

STANDIN_EXPORT HRESULT WINAPI GetAudioSessionManager(void* /*device*/, void** manager) {
  *manager = nullptr;
  return E_NOTIMPL;
}
