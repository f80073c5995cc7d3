# Cross build of the programs as 64-bit Windows programs, for the Wine tiers on machines that
# cannot run 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORVA_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
