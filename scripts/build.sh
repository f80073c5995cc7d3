# Configures and builds the host tree (portable core, tools, host tests, fuzzers) and the
# Windows tree (the three programs, Win32 and e2e tests, the sample CD). Sourced.

build_all() {
    local log_dir=$KORVA_BUILD/logs
    mkdir -p "$log_dir"
    say "configuring the host build in $KORVA_HOST_BUILD"
    cmake -S "$KORVA_ROOT" -B "$KORVA_HOST_BUILD" -G Ninja \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DKORVA_WIN32_BUILD_DIR="$KORVA_WIN32_BUILD" -DKORVA_PREFIXES="$KORVA_PREFIXES" \
        >"$log_dir/configure-host.log" 2>&1 || { cat "$log_dir/configure-host.log"; exit 1; }
    say "building the host tree"
    cmake --build "$KORVA_HOST_BUILD" -- -k 0 || exit 1

    say "configuring the Windows build in $KORVA_WIN32_BUILD"
    cmake -S "$KORVA_ROOT" -B "$KORVA_WIN32_BUILD" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$KORVA_ROOT/cmake/toolchain-mingw32.cmake" \
        -DKORVA_HOST_TOOLS_DIR="$KORVA_HOST_BUILD/tools" -DKORVA_PREFIXES="$KORVA_PREFIXES" \
        >"$log_dir/configure-win32.log" 2>&1 || { cat "$log_dir/configure-win32.log"; exit 1; }
    say "building the Windows programs, tests and the sample CD"
    cmake --build "$KORVA_WIN32_BUILD" -- -k 0 || exit 1
}
