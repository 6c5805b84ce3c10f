// Where the shipped programs start. They are linked without the C runtime: its start-up code is
// built for newer processors than the card's users have (a Pentium runs none of its CMOV
// instructions), and the programs need none of it: no command line, no heap, no stdio.
#include <windows.h>

#include <cstddef>

extern "C" {
using StaticConstructor = void (*)();
// The linker lays out every static constructor here, between a first entry of -1 and a closing
// null entry.
extern StaticConstructor __CTOR_LIST__[];

[[noreturn]] void ProgramEntry() __asm__("tambrel_program_entry");
}

#if defined(__i386__)
// The loader leaves the stack 4-byte aligned; the compiler assumes 16.
__attribute__((force_align_arg_pointer))
#endif
void ProgramEntry() {
  size_t count = 0;
  while (__CTOR_LIST__[count + 1] != nullptr) ++count;
  while (count > 0) __CTOR_LIST__[count--]();

  // SW_SHOWDEFAULT has ShowWindow take the show state that the program's starter asked for: the
  // start-up need not read it itself.
  char noArguments[] = "";
  ExitProcess(static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, noArguments, SW_SHOWDEFAULT)));
}
