#include "panel/files/image_memory_win32.h"

#include <windows.h>

uint8_t* PageImageMemory::Obtain(size_t size) {
  return static_cast<uint8_t*>(VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE));
}

// The pages were reserved and committed together; releasing gives both back.
void PageImageMemory::Release(uint8_t* block) { VirtualFree(block, 0, MEM_RELEASE); }
