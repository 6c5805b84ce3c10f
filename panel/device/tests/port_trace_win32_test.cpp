// The simulator's trace file: started anew, one line per event, readable while it is written.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "panel/device/mpu401_model.h"
#include "panel/device/port_trace_win32.h"

namespace {
using Kind = PortEvent::Kind;

std::string TempPath(const char* name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

// Reads what is in the file now, sharing it with the writer.
std::string Contents(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<cannot open>";
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(f);
  return text;
}

void WriteText(const std::string& path, const std::string& text) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(f);
}
}  // namespace

TEST(PortTrace, StartsAnewAndEachLineIsThereAsSoonAsItHappens) {
  const std::string path = TempPath("device-test-trace.txt");
  WriteText(path, "left over from an earlier run\r\n");

  Mpu401Model model;
  PortTraceWin32 trace;
  ASSERT_TRUE(trace.Open(path.c_str()));
  model.SetObserver(&trace);
  EXPECT_EQ(Contents(path), "");

  model.WriteByte(0x330, 0xF0);
  EXPECT_EQ(Contents(path), "OUT 0330 F0\r\n");

  model.ReadByte(0x331);  // a status read is not traced
  model.DisableInterrupts();
  model.WriteByte(0x331, 0xFF);
  model.ReadByte(0x330);
  model.WriteByte(0x331, 0x3F);
  model.EnableInterrupts();
  EXPECT_EQ(Contents(path),
            "OUT 0330 F0\r\nCLI\r\nOUT 0331 FF\r\nIN 0330 FE\r\nOUT 0331 3F\r\nSTI\r\n");

  trace.Close();
  DeleteFileA(path.c_str());
}

TEST(PortTrace, UnwritablePlaceMeansNoTraceButNoFailure) {
  Mpu401Model model;
  PortTraceWin32 trace;
  EXPECT_FALSE(trace.Open(TempPath("no-such-folder\\trace.txt").c_str()));
  model.SetObserver(&trace);
  model.WriteByte(0x330, 0xF0);
  EXPECT_EQ(model.EventCount(), 1u);
}
