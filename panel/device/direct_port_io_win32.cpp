#include "panel/device/direct_port_io_win32.h"

#include <windows.h>

// The four instructions live in small functions of their own, so that the exception handler can
// tell by address that a fault came from one of them. All use the one-byte DX forms, so skipping
// a refused instruction is always one byte.
extern "C" {
uint8_t TambrelPortIn(uint16_t port) __asm__("tambrel_port_in");
void TambrelPortOut(uint16_t port, uint8_t value) __asm__("tambrel_port_out");
void TambrelInterruptsOff() __asm__("tambrel_interrupts_off");
void TambrelInterruptsOn() __asm__("tambrel_interrupts_on");
extern const char kInInstruction[] __asm__("tambrel_in_instruction");
extern const char kOutInstruction[] __asm__("tambrel_out_instruction");
extern const char kCliInstruction[] __asm__("tambrel_cli_instruction");
extern const char kStiInstruction[] __asm__("tambrel_sti_instruction");
}

#if defined(__x86_64__)
// Microsoft x64 convention: port in CX, value in DL, result in AL.
__asm__(
    ".text\n"
    ".p2align 4\n"
    "tambrel_port_in:\n"
    "  movl %ecx, %edx\n"
    "  movl $0xFF, %eax\n"  // what a refused read returns
    "tambrel_in_instruction:\n"
    "  inb %dx, %al\n"
    "  ret\n"
    ".p2align 4\n"
    "tambrel_port_out:\n"
    "  movl %edx, %eax\n"
    "  movl %ecx, %edx\n"
    "tambrel_out_instruction:\n"
    "  outb %al, %dx\n"
    "  ret\n"
    ".p2align 4\n"
    "tambrel_interrupts_off:\n"
    "tambrel_cli_instruction:\n"
    "  cli\n"
    "  ret\n"
    ".p2align 4\n"
    "tambrel_interrupts_on:\n"
    "tambrel_sti_instruction:\n"
    "  sti\n"
    "  ret\n");
#elif defined(__i386__)
// cdecl: arguments on the stack, result in AL.
__asm__(
    ".text\n"
    ".p2align 4\n"
    "tambrel_port_in:\n"
    "  movl 4(%esp), %edx\n"
    "  movl $0xFF, %eax\n"
    "tambrel_in_instruction:\n"
    "  inb %dx, %al\n"
    "  ret\n"
    ".p2align 4\n"
    "tambrel_port_out:\n"
    "  movl 4(%esp), %edx\n"
    "  movl 8(%esp), %eax\n"
    "tambrel_out_instruction:\n"
    "  outb %al, %dx\n"
    "  ret\n"
    ".p2align 4\n"
    "tambrel_interrupts_off:\n"
    "tambrel_cli_instruction:\n"
    "  cli\n"
    "  ret\n"
    ".p2align 4\n"
    "tambrel_interrupts_on:\n"
    "tambrel_sti_instruction:\n"
    "  sti\n"
    "  ret\n");
#else
#error "direct port access needs an x86 processor"
#endif

namespace {
using AddHandlerFn = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
using RemoveHandlerFn = ULONG(WINAPI*)(PVOID);

// Set by the handler when one of our port instructions was refused; read right after the call.
volatile LONG g_portRefused = 0;
int g_instances = 0;
PVOID g_vectoredHandler = nullptr;
LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;
bool g_filterInstalled = false;

#if defined(__x86_64__)
DWORD_PTR& InstructionPointer(CONTEXT* context) { return context->Rip; }
#else
DWORD& InstructionPointer(CONTEXT* context) { return context->Eip; }
#endif

// Wine and NT raise EXCEPTION_PRIV_INSTRUCTION for in/out/cli/sti from user mode; some systems
// report the same refusal as an access violation, so both are accepted, for our addresses only.
LONG SkipRefusedInstruction(EXCEPTION_POINTERS* info) {
  const DWORD code = info->ExceptionRecord->ExceptionCode;
  if (code != EXCEPTION_PRIV_INSTRUCTION && code != EXCEPTION_ACCESS_VIOLATION) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  auto& ip = InstructionPointer(info->ContextRecord);
  const char* at = reinterpret_cast<const char*>(ip);
  if (at == kInInstruction || at == kOutInstruction) {
    g_portRefused = 1;
  } else if (at != kCliInstruction && at != kStiInstruction) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  ip += 1;
  return EXCEPTION_CONTINUE_EXECUTION;
}

LONG WINAPI VectoredHandler(EXCEPTION_POINTERS* info) { return SkipRefusedInstruction(info); }

LONG WINAPI UnhandledFilter(EXCEPTION_POINTERS* info) {
  LONG result = SkipRefusedInstruction(info);
  if (result == EXCEPTION_CONTINUE_SEARCH && g_previousFilter != nullptr) {
    return g_previousFilter(info);
  }
  return result;
}

// Vectored handlers came after the card's era of Windows, so they are looked up at run time;
// without them the process-wide unhandled-exception filter does the same job (our instructions
// run inside no other handler).
void InstallHandler(bool vectoredHandler) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto add = reinterpret_cast<AddHandlerFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "AddVectoredExceptionHandler")));
  if (vectoredHandler && add != nullptr) g_vectoredHandler = add(1, VectoredHandler);
  if (g_vectoredHandler == nullptr) {
    g_previousFilter = SetUnhandledExceptionFilter(UnhandledFilter);
    g_filterInstalled = true;
  }
}

void RemoveHandler() {
  if (g_vectoredHandler != nullptr) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto remove = reinterpret_cast<RemoveHandlerFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "RemoveVectoredExceptionHandler")));
    if (remove != nullptr) remove(g_vectoredHandler);
    g_vectoredHandler = nullptr;
  }
  if (g_filterInstalled) {
    SetUnhandledExceptionFilter(g_previousFilter);
    g_previousFilter = nullptr;
    g_filterInstalled = false;
  }
}
}  // namespace

DirectPortIoWin32::DirectPortIoWin32(bool vectoredHandler) {
  if (g_instances++ == 0) InstallHandler(vectoredHandler);
}

DirectPortIoWin32::~DirectPortIoWin32() {
  if (--g_instances == 0) RemoveHandler();
}

uint8_t DirectPortIoWin32::ReadByte(uint16_t port) {
  if (refused_) return 0xFF;
  g_portRefused = 0;
  uint8_t value = TambrelPortIn(port);
  if (g_portRefused != 0) {
    refused_ = true;
    return 0xFF;
  }
  return value;
}

void DirectPortIoWin32::WriteByte(uint16_t port, uint8_t value) {
  if (refused_) return;
  g_portRefused = 0;
  TambrelPortOut(port, value);
  if (g_portRefused != 0) refused_ = true;
}

void DirectPortIoWin32::DisableInterrupts() {
  if (!refused_) TambrelInterruptsOff();
}

void DirectPortIoWin32::EnableInterrupts() {
  if (!refused_) TambrelInterruptsOn();
}
