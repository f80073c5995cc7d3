# Installs the Debian packages the build and the tests need, only those missing. Sourced.
#
# The package archive may be in the middle of a sync: one index can fail to download while
# the rest is fresh. That is not fatal: set-up goes on and says which index failed. If the
# install then cannot match the versions of a multi-arch library across amd64 and i386 (the
# failed index was one architecture's updates), it is tried once more from the running
# system's base release. Nothing installed is ever removed or downgraded (--no-remove, and
# apt refuses downgrades under -y); only a package that cannot be installed at all, or no
# network, stops set-up.

KORVA_PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
    # wine64 for the 64-bit Windows 10 prefix, where the 32-bit programs run under WoW64.
    wine wine32:i386 wine64 xvfb xauth xdotool imagemagick mscompress
    libisofs-dev fuseiso  # the sample CD's disc image: made by mkcd, mounted for the tests
    # Only the decoder benchmark's comparison libraries; nothing else is built with them.
    libgif-dev libtiff-dev libstb-dev
)

# Only where this machine cannot run 32-bit programs (see choose_wine_mode).
KORVA_PACKAGES_64=(g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32
                   binutils-mingw-w64-x86-64)

KORVA_APT_LOG=$KORVA_BUILD/logs/apt.log

pkg_installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installing needs root: as root, or through sudo. Says so before anything is tried.
check_root_available() {
    [ "$(id -u)" -eq 0 ] && return
    command -v sudo >/dev/null 2>&1 && return
    say "packages are missing and installing them needs root, but this is not root and sudo is"
    say "not installed: run this as root, or install by hand: apt-get install $*"
    exit 1
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
    say "the Wine tiers run the 64-bit build of the programs ($KORVA_TEST_BUILD) in 64-bit prefixes,"
    say "and the 'win10' prefix is a plain 64-bit Windows 10, not WoW64"
}

# The codename of the running system's base release (bookworm on Debian 12).
base_release() {
    local VERSION_CODENAME=''
    # shellcheck disable=SC1091
    [ -r /etc/os-release ] && . /etc/os-release
    echo "$VERSION_CODENAME"
}

# apt-get update, tried again a few times. Failed indexes after the last try are reported in
# one line each and set-up goes on; no index at all (no network) stops it.
update_package_lists() {
    local attempt out
    for attempt in 1 2 3; do
        say "apt-get update, try $attempt of 3 (log: $KORVA_APT_LOG)"
        local status=0
        out=$(as_root apt-get update -q 2>&1) || status=$?
        printf '%s\n' "$out" >>"$KORVA_APT_LOG"
        if [ $status -eq 0 ] && ! grep -q '^[EW]: Failed to fetch' <<<"$out"; then
            return 0
        fi
        if ! grep -qE '^(Hit|Get):' <<<"$out"; then
            if [ "$attempt" -eq 3 ]; then
                say "apt-get update reached no package source (no network?):"
                grep -E '^(Err|E):' <<<"$out" | head -n 3 | sed 's/^/    /'
                say "see $KORVA_APT_LOG; try by hand: apt-get update"
                exit 1
            fi
        fi
        [ "$attempt" -lt 3 ] && sleep $((attempt * 5))
    done
    # Still some indexes failed: name them and go on with what was fetched.
    grep -E '^[EW]: Failed to fetch' <<<"$out" | sed -E 's/^[EW]: Failed to fetch ([^ ]+) +(.*)$/\1: \2/' |
        while IFS= read -r line; do
            say "index not updated, going on without it: $line"
        done
}

# Names the packages apt says it cannot install, from an install's output.
failed_packages() {
    grep -oE "(Unable to locate package|Package '?)[^ ']+|^ [^ ]+ : Depends" "$1" |
        sed -E "s/^(Unable to locate package |Package '?)//; s/ : Depends$//; s/^ //" | sort -u | tr '\n' ' '
}

# apt-get install of the given packages; "$@" after -- are extra apt options.
apt_install() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        --no-remove "$@" >>"$KORVA_APT_LOG" 2>&1
}

install_packages() {
    local p
    KORVA_MISSING=()
    for p in "$@"; do
        pkg_installed "$p" || KORVA_MISSING+=("$p")
    done
    if [ ${#KORVA_MISSING[@]} -eq 0 ]; then
        say "all packages present"
        return
    fi
    mkdir -p "$(dirname "$KORVA_APT_LOG")"
    check_root_available "${KORVA_MISSING[@]}"
    say "installing missing packages: ${KORVA_MISSING[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        say "enabling the i386 architecture for 32-bit Wine"
        as_root dpkg --add-architecture i386
    fi
    update_package_lists

    local attempt_log=$KORVA_BUILD/logs/apt-attempt.log
    say "apt-get install (log: $KORVA_APT_LOG)"
    if apt_install "${KORVA_MISSING[@]}"; then
        return
    fi
    tail -n 60 "$KORVA_APT_LOG" >"$attempt_log"
    if grep -q 'Packages need to be removed but remove is disabled' "$attempt_log"; then
        say "installing would remove packages that are installed; nothing was changed. See $KORVA_APT_LOG"
        say "try by hand and read what apt would remove: apt-get install ${KORVA_MISSING[*]}"
        exit 1
    fi
    local base
    base=$(base_release)
    if [ -n "$base" ] && grep -qE 'held broken packages|generated breaks|but it is not going to be installed|Unmet dependencies' "$attempt_log"; then
        say "the versions of some libraries do not match across amd64 and i386 (an index of updates"
        say "is missing); trying once more from the base release '$base'"
        if apt_install -t "$base" "${KORVA_MISSING[@]}"; then
            return
        fi
        tail -n 60 "$KORVA_APT_LOG" >"$attempt_log"
    fi
    local names
    names=$(failed_packages "$attempt_log")
    say "could not install: ${names:-see the log} (log: $KORVA_APT_LOG)"
    grep -E '^E:' "$attempt_log" | tail -n 3 | sed 's/^/    /'
    say "try by hand: apt-get install${base:+ -t $base} ${KORVA_MISSING[*]}"
    exit 1
}
