# Cross build for the 32-bit Windows console with Debian's mingw-w64
# toolchain (package g++-mingw-w64-i686). Each program is linked statically,
# libgcc and libstdc++ included, so that the .exe needs nothing but the
# system's own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
if(NOT QV_MINGW_TRIPLET)
  set(QV_MINGW_TRIPLET i686-w64-mingw32)
endif()

# The win32 thread model: no winpthread DLL or library to carry along.
find_program(CMAKE_CXX_COMPILER NAMES ${QV_MINGW_TRIPLET}-g++-win32 ${QV_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QV_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
