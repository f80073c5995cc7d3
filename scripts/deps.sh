# Installs the Debian packages the build and the tests need, only those missing. Sourced.

KORVA_PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
    wine wine32:i386 xvfb xauth xdotool imagemagick mscompress
    # Only the decoder benchmark's comparison libraries; nothing else is built with them.
    libgif-dev libtiff-dev libstb-dev
)

# Only where this machine cannot run 32-bit programs (see choose_wine_mode).
KORVA_PACKAGES_64=(wine64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
                   binutils-mingw-w64-x86-64)

pkg_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_dependencies() {
    install_packages "${KORVA_PACKAGES[@]}"
    choose_wine_mode
    if [ "$KORVA_WINE_BITS" = 64 ]; then
        install_packages "${KORVA_PACKAGES_64[@]}"
    fi
}

# Some kernels are built or started without 32-bit program support: 32-bit Wine cannot start
# there at all. The Wine tiers then run the same sources built as 64-bit Windows programs in
# 64-bit prefixes; the deliverables are still the 32-bit programs of build/win32.
# "quiet": without the notice (for scripts run by the tests).
choose_wine_mode() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        KORVA_WINE_BITS=32
        KORVA_TEST_BUILD=$KORVA_WIN32_BUILD
        KORVA_PREFIXES=$KORVA_BUILD/prefixes
        return
    fi
    KORVA_WINE_BITS=64
    KORVA_TEST_BUILD=$KORVA_WIN64_BUILD
    KORVA_PREFIXES=$KORVA_BUILD/prefixes64
    [ "${1:-}" = quiet ] && return
    say "this machine cannot run 32-bit programs (its kernel has no 32-bit emulation):"
    say "the Wine tiers run the 64-bit build of the programs ($KORVA_TEST_BUILD) in 64-bit prefixes"
}

install_packages() {
    local missing=()
    local p
    for p in "$@"; do
        pkg_installed "$p" || missing+=("$p")
    done
    if [ ${#missing[@]} -eq 0 ]; then
        say "all packages present"
        return
    fi
    say "installing missing packages: ${missing[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        say "enabling the i386 architecture for 32-bit Wine"
        as_root dpkg --add-architecture i386
    fi
    local log=$KORVA_BUILD/logs/apt.log
    mkdir -p "$(dirname "$log")"
    say "apt-get update (log: $log)"
    as_root apt-get update -q >"$log" 2>&1 || { tail -20 "$log"; exit 1; }
    say "apt-get install (log: $log)"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        "${missing[@]}" >>"$log" 2>&1 || { tail -30 "$log"; exit 1; }
}
