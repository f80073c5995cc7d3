# Compiler settings and test helpers shared by every folder.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)

option(KORVA_WERROR "Treat compiler warnings as errors" ON)

add_library(korva_warnings INTERFACE)
target_compile_options(korva_warnings INTERFACE -Wall -Wextra $<$<BOOL:${KORVA_WERROR}>:-Werror>)

if(WIN32)
    set(KORVA_WIN32 ON)
    # Windows 95 compatible API level; narrow (ANSI) API throughout.
    add_compile_definitions(WINVER=0x0400 _WIN32_WINNT=0x0400 _WIN32_IE=0x0400 NOMINMAX
                            WIN32_LEAN_AND_MEAN STRICT)
else()
    set(KORVA_HOST ON)
    # The portable core runs its host tests under the sanitizers.
    set(KORVA_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer
                       -fno-sanitize-recover=undefined)
    add_compile_options(${KORVA_SANITIZE})
    # Coverage for the fuzzers: the core libraries they link are instrumented too.
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        add_compile_options(-fsanitize=fuzzer-no-link)
    endif()
    add_link_options(${KORVA_SANITIZE})
endif()

# GoogleTest from Debian's source package, built for this tree's target.
function(korva_add_googletest)
    if(TARGET gtest)
        return()
    endif()
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    if(WIN32)
        set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    endif()
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(WIN32)
        # The Windows compilers carry no threading runtime (std::mutex and std::thread are
        # missing): GoogleTest's one notification built on them is given on a platform event,
        # and the tests' second threads use tests/support/test_thread.h.
        target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
        target_compile_options(gtest PUBLIC
            -include ${CMAKE_SOURCE_DIR}/tests/support/gtest_notification.h)
    endif()
endfunction()
