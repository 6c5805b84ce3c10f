// Built like a shipped program, but with what the era checks must reject: a function that came
// with Windows 2000, a header that asks for Windows 5.0, and (compiled for the Pentium Pro) a
// conditional move.
#include <windows.h>

volatile int g_left = 1;
volatile int g_right = 2;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int left = g_left;
  const int right = g_right;
  LARGE_INTEGER size = {};
  GetFileSizeEx(GetModuleHandleA(nullptr), &size);
  return left > right ? left : right;
}
