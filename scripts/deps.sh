# Installs the Debian packages the build and the tests need, only those missing. Sourced.

KORVA_PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
    wine wine32:i386 xvfb xauth xdotool imagemagick mscompress
    # Only the decoder benchmark's comparison libraries; nothing else is built with them.
    libgif-dev libtiff-dev libstb-dev
)

pkg_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_dependencies() {
    local missing=()
    local p
    for p in "${KORVA_PACKAGES[@]}"; do
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
