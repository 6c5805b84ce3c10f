# Compiler settings shared by every target.
#
# tambrel_code: flags for all code of the programs (portable or Win32). The programs are small:
# no exceptions, no RTTI, sections that the linker can drop.
add_library(tambrel_code INTERFACE)
target_compile_options(tambrel_code INTERFACE
  -Wall -Wextra -Wshadow -Wno-missing-field-initializers
  -fno-exceptions -fno-rtti
  $<$<BOOL:${WIN32}>:-ffunction-sections -fdata-sections -fmerge-all-constants>)
target_include_directories(tambrel_code INTERFACE ${PROJECT_SOURCE_DIR})
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  # 32-bit Windows dispatches exceptions along the stack's own handler chain; the DWARF unwind
  # tables would only serve C++ exceptions, which the programs do not use.
  target_compile_options(tambrel_code INTERFACE -fno-asynchronous-unwind-tables)
endif()

if(NOT WIN32 AND TAMBREL_SANITIZE)
  # The programs are built without RTTI, so the vptr check cannot work (GoogleTest itself has RTTI
  # and would report every test object as having an invalid vptr).
  add_compile_options(-fsanitize=address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(NOT WIN32 AND TAMBREL_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  # libFuzzer steers by the coverage of the code it feeds, so all of the project's native code is
  # compiled with the coverage hooks, not only each fuzz target's own harness. Programs that do not
  # link libFuzzer get the hooks' empty defaults from the sanitizer runtime.
  if(NOT TAMBREL_SANITIZE)
    message(FATAL_ERROR "TAMBREL_FUZZ needs TAMBREL_SANITIZE: the fuzz targets run under the sanitizers")
  endif()
  target_compile_options(tambrel_code INTERFACE -fsanitize=fuzzer-no-link)
endif()

if(WIN32)
  # Shipped programs: statically linked, stripped, unused sections dropped, GUI subsystem, and
  # nothing of the C runtime: they start at their own entry (runtime/) and import only from the
  # system's DLLs. No link time in the header: two builds of the same sources give the same bytes,
  # so a release can be rebuilt and compared.
  add_library(tambrel_program INTERFACE)
  target_link_options(tambrel_program INTERFACE
    -static -s -Wl,--gc-sections -mwindows -nostdlib -Wl,-e,tambrel_program_entry -Wl,--no-insert-timestamp)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The 32-bit programs are for Windows 95 and later: ask for no newer system in the header.
    target_link_options(tambrel_program INTERFACE
      -Wl,--major-os-version,4,--minor-os-version,0,--major-subsystem-version,4,--minor-subsystem-version,0)
  endif()
  target_link_libraries(tambrel_program INTERFACE tambrel_code)
  # The programs are optimised as a whole when they are linked: calls across files are inlined or
  # dropped, which keeps them small. The objects also carry ordinary code (fat objects), and every
  # other executable and library (tests, stand-ins, tools) is linked from that code alone.
  target_compile_options(tambrel_code INTERFACE -flto -ffat-lto-objects)
  string(APPEND CMAKE_EXE_LINKER_FLAGS " -fno-lto")
  string(APPEND CMAKE_SHARED_LINKER_FLAGS " -fno-lto")
  target_link_options(tambrel_program INTERFACE -flto)

  set(TAMBREL_SHIPPED_DIR ${CMAKE_BINARY_DIR}/bin)

  # tambrel_add_program(<target> SOURCES ... LIBS ...): a shipped program in build/<preset>/bin.
  function(tambrel_add_program target)
    cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${target} WIN32 ${P_SOURCES} $<TARGET_OBJECTS:tambrel_runtime>)
    target_link_libraries(${target} PRIVATE tambrel_program ${P_LIBS})
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TAMBREL_SHIPPED_DIR})
  endfunction()
endif()

# tambrel_add_icon(<output.ico> <pixel-art source>): the build draws each icon from a text source.
function(tambrel_add_icon output source)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_custom_command(OUTPUT ${output}
    COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/make_ico.py ${source} ${output}
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/tools/make_ico.py
    COMMENT "Drawing ${output}")
endfunction()
