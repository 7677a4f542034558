# The same cross build for 64-bit Windows: used to run the test suite under
# a 64-bit-only wine where the machine cannot execute 32-bit code.
set(QV_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
