# What both mingw-w64 toolchain files share: Debian's win32 thread-model compilers (no threading runtime: its imports would need Vista) for the triple
# KORVA_MINGW_TRIPLE, and a static runtime.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KORVA_MINGW_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${KORVA_MINGW_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${KORVA_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KORVA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime: the programs must start on a plain Windows or Wine with no extra DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
