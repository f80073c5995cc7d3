# Cross build of the 32-bit Windows programs with Debian's mingw-w64 (win32 thread-model) compilers.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KORVA_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
