// The few functions that compiled C++ calls on its own, for programs linked without the C runtime:
// block copies and fills, the stack probe of large frames, and the operator delete that virtual
// destructors name. Built freestanding, so that these loops are not turned back into calls of
// themselves.
#include <cstddef>

extern "C" {

void* memcpy(void* to, const void* from, size_t count) {
  auto* out = static_cast<unsigned char*>(to);
  const auto* in = static_cast<const unsigned char*>(from);
  while (count-- > 0) *out++ = *in++;
  return to;
}

void* memmove(void* to, const void* from, size_t count) {
  auto* out = static_cast<unsigned char*>(to);
  const auto* in = static_cast<const unsigned char*>(from);
  if (out < in) {
    while (count-- > 0) *out++ = *in++;
  } else {
    while (count-- > 0) out[count] = in[count];
  }
  return to;
}

void* memset(void* to, int value, size_t count) {
  auto* out = static_cast<unsigned char*>(to);
  while (count-- > 0) *out++ = static_cast<unsigned char>(value);
  return to;
}

int memcmp(const void* left, const void* right, size_t count) {
  const auto* a = static_cast<const unsigned char*>(left);
  const auto* b = static_cast<const unsigned char*>(right);
  for (; count > 0; --count, ++a, ++b) {
    if (*a != *b) return *a < *b ? -1 : 1;
  }
  return 0;
}

size_t strlen(const char* text) {
  size_t length = 0;
  while (text[length] != '\0') ++length;
  return length;
}

}  // extern "C"

// Nothing is ever allocated with new (there is no heap behind it); deleting destructors still
// name these.
void operator delete(void*) noexcept {}
void operator delete(void*, size_t) noexcept {}

// A frame larger than a page must touch each page of the stack in order, top down, so that the
// system's guard page grows the stack one page at a time. The size is in EAX/RAX; every register
// is kept; the caller moves the stack pointer itself afterwards.
#if defined(__i386__)
__asm__(
    ".text\n"
    ".globl ___chkstk_ms\n"
    "___chkstk_ms:\n"
    "  pushl %ecx\n"
    "  pushl %eax\n"
    "  leal 12(%esp), %ecx\n"  // the stack pointer of the caller
    "1:\n"
    "  cmpl $0x1000, %eax\n"
    "  jb 2f\n"
    "  subl $0x1000, %ecx\n"
    "  orl $0, (%ecx)\n"
    "  subl $0x1000, %eax\n"
    "  jmp 1b\n"
    "2:\n"
    "  subl %eax, %ecx\n"
    "  orl $0, (%ecx)\n"
    "  popl %eax\n"
    "  popl %ecx\n"
    "  ret\n");
#elif defined(__x86_64__)
__asm__(
    ".text\n"
    ".globl ___chkstk_ms\n"
    "___chkstk_ms:\n"
    "  pushq %rcx\n"
    "  pushq %rax\n"
    "  leaq 24(%rsp), %rcx\n"
    "1:\n"
    "  cmpq $0x1000, %rax\n"
    "  jb 2f\n"
    "  subq $0x1000, %rcx\n"
    "  orq $0, (%rcx)\n"
    "  subq $0x1000, %rax\n"
    "  jmp 1b\n"
    "2:\n"
    "  subq %rax, %rcx\n"
    "  orq $0, (%rcx)\n"
    "  popq %rax\n"
    "  popq %rcx\n"
    "  ret\n");
#else
#error "the programs are built for x86 processors"
#endif
