# Cross build for 32-bit Windows with MinGW-w64. The -posix compilers are needed for GoogleTest
# (the win32 thread model lacks std::mutex); the shipped programs use no threads either way.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The card's users run 486 to Pentium MMX machines: no instruction newer than the Pentium's.
set(CMAKE_C_FLAGS_INIT "-march=pentium")
set(CMAKE_CXX_FLAGS_INIT "-march=pentium")
