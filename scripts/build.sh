# Configures and builds the host tree (portable core, tools, host tests, fuzzers) and the
# Windows tree (the three programs, Win32 and e2e tests, the sample CD). Sourced.

build_all() {
    local log_dir=$KORVA_BUILD/logs
    mkdir -p "$log_dir"
    say "configuring the host build in $KORVA_HOST_BUILD"
    cmake -S "$KORVA_ROOT" -B "$KORVA_HOST_BUILD" -G Ninja \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DKORVA_WIN32_BUILD_DIR="$KORVA_TEST_BUILD" -DKORVA_PREFIXES="$KORVA_PREFIXES" \
        >"$log_dir/configure-host.log" 2>&1 || { cat "$log_dir/configure-host.log"; exit 1; }
    say "building the host tree"
    cmake --build "$KORVA_HOST_BUILD" -- -k 0 || exit 1

    build_windows_tree "$KORVA_WIN32_BUILD" toolchain-mingw32.cmake "32-bit"
    if [ "$KORVA_TEST_BUILD" != "$KORVA_WIN32_BUILD" ]; then
        build_windows_tree "$KORVA_TEST_BUILD" toolchain-mingw64.cmake "64-bit (for the Wine tiers)"
    fi
}

# build_windows_tree DIR TOOLCHAIN-FILE DESCRIPTION
build_windows_tree() {
    local dir=$1 toolchain=$2 what=$3 log_dir=$KORVA_BUILD/logs
    local log=$log_dir/configure-$(basename "$dir").log
    say "configuring the $what Windows build in $dir"
    cmake -S "$KORVA_ROOT" -B "$dir" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$KORVA_ROOT/cmake/$toolchain" \
        -DKORVA_HOST_TOOLS_DIR="$KORVA_HOST_BUILD/tools" -DKORVA_PREFIXES="$KORVA_PREFIXES" \
        >"$log" 2>&1 || { cat "$log"; exit 1; }
    say "building the $what Windows programs, tests and the sample CD"
    cmake --build "$dir" -- -k 0 || exit 1
}
