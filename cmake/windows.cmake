# The Windows programs, cross-built beside the native test suite: the test
# executable stays a native GoogleTest program and runs the .exe files under
# wine. The cross build is a separate CMake project (this same source tree
# with the mingw toolchain file) whose programs land in windows/bin.
include(ExternalProject)

# The tests run the Windows programs here: the native ones are not built.
foreach(dir split join check randfile foreach)
  set_property(DIRECTORY ${dir} PROPERTY EXCLUDE_FROM_ALL ON)
endforeach()

set(QV_WINDOWS_TOOLCHAIN ${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake CACHE FILEPATH
    "Toolchain file of the Windows cross build")
set(QV_WINDOWS_BIN ${PROJECT_BINARY_DIR}/windows/bin)
set(QV_WINDOWS_HELPERS ${PROJECT_BINARY_DIR}/windows/tests/helpers)

ExternalProject_Add(windows_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${PROJECT_BINARY_DIR}/windows
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${QV_WINDOWS_TOOLCHAIN}
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DQV_WERROR=${QV_WERROR}
    -DQV_TESTS=OFF
    -DQV_TEST_HELPERS=${QV_TESTS}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  USES_TERMINAL_BUILD ON)

if(QV_TESTS)
  # The 32-bit programs need the 32-bit wine loader; the 64-bit ones wine64.
  if(QV_WINDOWS_TOOLCHAIN MATCHES "x86_64")
    find_program(QV_WINE NAMES wine64 PATHS /usr/lib/wine REQUIRED)
  else()
    find_program(QV_WINE NAMES wine REQUIRED)
  endif()
  # The launcher the tests put before each program: wine with a prefix of
  # its own in the build tree, so that the tests never touch $HOME, and
  # without its debugging chatter.
  set(QV_WINE_LAUNCHER ${PROJECT_BINARY_DIR}/wine-run)
  file(CONFIGURE OUTPUT ${QV_WINE_LAUNCHER} @ONLY CONTENT [[#!/bin/sh
WINEPREFIX='@PROJECT_BINARY_DIR@/wineprefix' WINEDEBUG=-all exec '@QV_WINE@' "$@"
]])
  file(CHMOD ${QV_WINE_LAUNCHER} PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
       GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()
