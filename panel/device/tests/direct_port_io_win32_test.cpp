// Direct port access on a system that refuses it (Wine, NT without a port driver): the refusal
// is caught, reported once, and nothing hangs or keeps faulting afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "panel/device/direct_port_io_win32.h"
#include "panel/device/card_ports_output.h"
#include "panel/device/mpu_port.h"
#include "panel/device/tick_source_win32.h"

namespace {
// Every exception the process sees while a test runs, before anyone handles it.
std::vector<DWORD> g_seen;

LONG WINAPI WatchFirst(EXCEPTION_POINTERS* info) {
  g_seen.push_back(info->ExceptionRecord->ExceptionCode);
  return EXCEPTION_CONTINUE_SEARCH;
}

// A privileged instruction that is not the port layer's own.
extern "C" void ForeignHalt() __asm__("device_test_foreign_halt");
extern "C" const char kForeignHaltInstruction[] __asm__("device_test_foreign_halt_instruction");
__asm__(
    ".text\n"
    "device_test_foreign_halt:\n"
    "device_test_foreign_halt_instruction:\n"
    "  hlt\n"
    "  ret\n");

int g_foreignCaught = 0;
LONG WINAPI CatchForeignLast(EXCEPTION_POINTERS* info) {
#if defined(__x86_64__)
  auto& ip = info->ContextRecord->Rip;
#else
  auto& ip = info->ContextRecord->Eip;
#endif
  if (reinterpret_cast<const char*>(ip) != kForeignHaltInstruction) return EXCEPTION_CONTINUE_SEARCH;
  ++g_foreignCaught;
  ip += 1;
  return EXCEPTION_CONTINUE_EXECUTION;
}

// Installs the watcher in front of every other handler for the life of a test.
struct ExceptionWatch {
  ExceptionWatch() {
    g_seen.clear();
    handle = AddVectoredExceptionHandler(1, WatchFirst);
  }
  ~ExceptionWatch() { RemoveVectoredExceptionHandler(handle); }
  PVOID handle;
};

bool IsRefusal(DWORD code) {
  return code == EXCEPTION_PRIV_INSTRUCTION || code == EXCEPTION_ACCESS_VIOLATION;
}

const char* CodeName(DWORD code) {
  return code == EXCEPTION_PRIV_INSTRUCTION ? "EXCEPTION_PRIV_INSTRUCTION"
                                            : code == EXCEPTION_ACCESS_VIOLATION
                                                  ? "EXCEPTION_ACCESS_VIOLATION"
                                                  : "other";
}
}  // namespace

TEST(DirectPortIo, RefusedOnceThenNothingRunsAndTheInterruptMaskIsSkippedAlone) {
  {
    DirectPortIoWin32 io;
    ExceptionWatch watch;
    EXPECT_FALSE(io.Refused());
    EXPECT_EQ(io.ReadByte(0x331), 0xFF);
    EXPECT_TRUE(io.Refused());
    io.WriteByte(0x330, 0xF0);
    io.ReadByte(0x330);
    ASSERT_EQ(g_seen.size(), 1u);  // refused once is enough: no further instructions run
    EXPECT_TRUE(IsRefusal(g_seen[0]));
    std::printf("in raises %s (0x%08lX)\n", CodeName(g_seen[0]), g_seen[0]);
  }
  {
    DirectPortIoWin32 io;
    ExceptionWatch watch;
    io.WriteByte(0x330, 0xF0);
    EXPECT_TRUE(io.Refused());
    ASSERT_EQ(g_seen.size(), 1u);
    std::printf("out raises %s (0x%08lX)\n", CodeName(g_seen[0]), g_seen[0]);
  }
  {
    // A refused interrupt mask only means it cannot be changed from here: port access may
    // still be allowed (a port driver grants ports, not the mask).
    DirectPortIoWin32 io;
    ExceptionWatch watch;
    io.DisableInterrupts();
    io.EnableInterrupts();
    EXPECT_FALSE(io.Refused());
    for (DWORD code : g_seen) {
      EXPECT_TRUE(IsRefusal(code));
      std::printf("cli/sti raise %s (0x%08lX)\n", CodeName(code), code);
    }
  }
}

// The path of systems without vectored handlers (before XP on the NT line).
TEST(DirectPortIo, UnhandledExceptionFilterCatchesTheRefusalToo) {
  LPTOP_LEVEL_EXCEPTION_FILTER before = SetUnhandledExceptionFilter(nullptr);
  SetUnhandledExceptionFilter(before);
  {
    DirectPortIoWin32 io(false);
    ExceptionWatch watch;
    EXPECT_EQ(io.ReadByte(0x331), 0xFF);
    EXPECT_TRUE(io.Refused());
    io.DisableInterrupts();
    io.EnableInterrupts();
    EXPECT_EQ(g_seen.size(), 1u);
  }
  // The filter that was there before is back.
  EXPECT_EQ(SetUnhandledExceptionFilter(before), before);
}

TEST(DirectPortIo, OtherFaultsAreLeftToTheirOwnHandlers) {
  DirectPortIoWin32 io;
  PVOID last = AddVectoredExceptionHandler(0, CatchForeignLast);
  g_foreignCaught = 0;
  ForeignHalt();
  RemoveVectoredExceptionHandler(last);
  EXPECT_EQ(g_foreignCaught, 1);
  EXPECT_FALSE(io.Refused());
}

TEST(DirectPortIo, PanelPortReportsRefusalOnceAndDropsMessagesWithoutFaulting) {
  DirectPortIoWin32 io;
  TickSourceWin32 clock;
  MpuPort mpu(io, clock);
  uint32_t port = 0x330;
  CardPortsOutput sink(mpu, port);
  const uint8_t reverb[] = {0xF0, 0x41, 0x10, 0x56, 0x12, 0x03, 0x00, 0x09, 0x5A, 0x1A, 0xF7};

  ExceptionWatch watch;
  LARGE_INTEGER frequency, started, ended;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&started);
  sink.Send(reverb, sizeof reverb);
  EXPECT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(sink.TakeNewFault().kind, OutputFault::Kind::PortAccessRefused);
  EXPECT_EQ(sink.TakeNewFault().kind, OutputFault::Kind::None);

  // The start-up push is 35 messages; none of them may fault or wait again, nor may Panic.
  for (int i = 0; i < 35; ++i) sink.Send(reverb, sizeof reverb);
  mpu.Panic(static_cast<uint16_t>(port));
  QueryPerformanceCounter(&ended);
  std::printf("refusal, 36 messages and Panic took %.3f ms\n",
              1000.0 * double(ended.QuadPart - started.QuadPart) / double(frequency.QuadPart));
  EXPECT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(mpu.Fault(), OutputFault::Kind::PortAccessRefused);
  EXPECT_EQ(sink.TakeNewFault().kind, OutputFault::Kind::None);
}

TEST(DirectPortIo, PanicAsTheFirstAccessIsRefusedWithoutMaskingInterrupts) {
  DirectPortIoWin32 io;
  TickSourceWin32 clock;
  MpuPort mpu(io, clock);
  ExceptionWatch watch;
  mpu.Panic(0x330);
  EXPECT_EQ(g_seen.size(), 1u);  // the first status poll, nothing after it
  EXPECT_EQ(mpu.Fault(), OutputFault::Kind::PortAccessRefused);
}
