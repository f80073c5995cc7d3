# Installs the Debian packages the build and the tests need, only those missing. Sourced.
#
# The package archive may be in the middle of a sync: one index can fail to download while
# the rest is fresh. That is not fatal: set-up goes on and says which index failed, and reads
# that source without the failed architecture. If the install then cannot match the versions
# of a multi-arch library across amd64 and i386 (the failed index was one architecture's
# updates), it is tried once more from the running system's base release. If 32-bit Wine
# still cannot be installed, the Wine tiers run the 64-bit build, as on a machine without
# 32-bit support, and say so. Nothing installed is ever removed or downgraded (--no-remove,
# and apt refuses downgrades under -y); only a package that cannot be installed at all, or no
# network, stops set-up.

KORVA_PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest
    # llvm-dwarfdump: the check that no type is defined in two libraries reads debug information.
    llvm-14
    g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 binutils-mingw-w64-i686
    # wine64 for the 64-bit Windows 10 prefix, where the 32-bit programs run under WoW64.
    wine wine64 xvfb xauth xdotool imagemagick mscompress
    # The fault tests mount a small file system (a full disk) and set the immutable flag.
    mount e2fsprogs
    # The sample CD's disc image: made by mkcd, mounted for the tests.
    libisofs-dev fuseiso
    # Only the decoder benchmark's comparison libraries; nothing else is built with them.
    libgif-dev libtiff-dev libstb-dev
    nsis wixl # the install benchmark's peer installers (makensis, wixl)
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

# 32-bit Wine, for the 32-bit programs in the Windows 95 and NT prefixes and under WoW64.
KORVA_PACKAGES_32=(wine32:i386)

install_dependencies() {
    install_packages "${KORVA_PACKAGES[@]}"
    KORVA_WINE32_FAILED=0
    if ! install_packages --optional "${KORVA_PACKAGES_32[@]}"; then
        KORVA_WINE32_FAILED=1
    fi
    choose_wine_mode
    if [ "$KORVA_WINE_BITS" = 64 ]; then
        install_packages "${KORVA_PACKAGES_64[@]}"
    fi
}

# Some kernels are built or started without 32-bit program support: 32-bit Wine cannot start
# there at all. The Wine tiers then run the same sources built as 64-bit Windows programs in
# 64-bit prefixes; the deliverables are still the 32-bit programs of build/win32.
# "quiet": without the notice (for scripts run by the tests). KORVA_WINE_MODE=64 takes the
# 64-bit way on any machine, to check it where 32-bit programs do run.
choose_wine_mode() {
    if [ "${KORVA_WINE_MODE:-}" != 64 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
        KORVA_WINE_BITS=32
        KORVA_TEST_BUILD=$KORVA_WIN32_BUILD
        KORVA_PREFIXES=$KORVA_BUILD/prefixes
        return
    fi
    KORVA_WINE_BITS=64
    KORVA_TEST_BUILD=$KORVA_WIN64_BUILD
    KORVA_PREFIXES=$KORVA_BUILD/prefixes64
    [ "${1:-}" = quiet ] && return
    if [ "${KORVA_WINE_MODE:-}" = 64 ]; then
        say "KORVA_WINE_MODE=64: the Wine tiers run the 64-bit build, as where 32-bit programs cannot run:"
    elif [ "${KORVA_WINE32_FAILED:-0}" = 1 ]; then
        say "32-bit Wine (wine32:i386) could not be installed from the package archive as it is now"
        say "(nothing was downgraded or removed for it; run ./test again once the archive is whole):"
    elif ! pkg_installed wine32:i386; then
        say "32-bit Wine (wine32:i386) is not installed:"
    else
        say "this machine cannot run 32-bit programs (its kernel has no 32-bit emulation):"
    fi
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

# Extra options for every apt-get call of this set-up (see restrict_failed_indexes).
KORVA_APT_OPTS=()

# apt-get update, tried again a few times. Failed indexes after the last try are reported in
# one line each and set-up goes on without them; no index at all (no network) stops it.
update_package_lists() {
    local attempt out status
    for attempt in 1 2 3; do
        say "apt-get update, try $attempt of 3 (log: $KORVA_APT_LOG)"
        status=0
        out=$(as_root apt-get update -q "${KORVA_APT_OPTS[@]}" 2>&1) || status=$?
        printf '%s\n' "$out" >>"$KORVA_APT_LOG"
        if [ $status -eq 0 ] && ! grep -q '^[EW]: Failed to fetch' <<<"$out"; then
            return 0
        fi
        if ! grep -qE '^(Hit|Get):' <<<"$out" && [ "$attempt" -eq 3 ]; then
            say "apt-get update reached no package source (no network?):"
            grep -E '^(Err|E):' <<<"$out" | head -n 3 | sed 's/^/    /'
            say "see $KORVA_APT_LOG; try by hand: apt-get update"
            exit 1
        fi
        [ "$attempt" -lt 3 ] && sleep $((attempt * 5))
    done
    local failed
    failed=$(sed -n -E 's/^[EW]: Failed to fetch ([^ ]+) +(.*)$/\1 \2/p' <<<"$out")
    while IFS= read -r line; do
        [ -n "$line" ] && say "index not updated, going on without it: ${line%% \[IP*}"
    done <<<"$failed"
    restrict_failed_indexes "$(cut -d' ' -f1 <<<"$failed")"
}

# apt drops every index of a source when one of them fails, so a fresh machine would lose a
# whole source (its amd64 security updates too) for the sake of one architecture's index.
# For this set-up only, each such source is read without the architecture whose index
# failed: a copy of the package sources in build/apt, which the later apt-get calls are given.
# The system's own sources stay as they are.
restrict_failed_indexes() {
    local urls=$1 dir=$KORVA_BUILD/apt/sources restrictions=''
    local url uri suite arch
    for url in $urls; do
        # .../dists/SUITE/COMPONENT/binary-ARCH/Packages.xz
        [[ "$url" =~ ^(.+)/dists/([^/]+)/.+/binary-([a-z0-9]+)/Packages ]] || continue
        uri=${BASH_REMATCH[1]} suite=${BASH_REMATCH[2]} arch=${BASH_REMATCH[3]}
        restrictions+="$uri $suite $arch"$'\n'
    done
    [ -n "$restrictions" ] || return 0
    local archs sourcelist sourceparts f
    archs="$(dpkg --print-architecture) $(dpkg --print-foreign-architectures | tr '\n' ' ')"
    eval "$(apt-config shell sourcelist Dir::Etc::sourcelist/f sourceparts Dir::Etc::sourceparts/d)"
    rm -rf "$dir"
    mkdir -p "$dir/sources.list.d"
    restrict_sources_file "$sourcelist" list "$restrictions" "$archs" >"$dir/sources.list"
    for f in "$sourceparts"*.list "$sourceparts"*.sources; do
        [ -f "$f" ] || continue
        case "$f" in *.list) restrict_sources_file "$f" list "$restrictions" "$archs" ;;
                     *) restrict_sources_file "$f" sources "$restrictions" "$archs" ;; esac \
            >"$dir/sources.list.d/$(basename "$f")"
    done
    KORVA_APT_OPTS=(-o "Dir::Etc::sourcelist=$dir/sources.list"
                    -o "Dir::Etc::sourceparts=$dir/sources.list.d")
    while read -r uri suite arch; do
        [ -n "$uri" ] && say "reading $uri $suite without its $arch index for this set-up"
    done <<<"$restrictions"
    local out status=0
    out=$(as_root apt-get update -q "${KORVA_APT_OPTS[@]}" 2>&1) || status=$?
    printf '%s\n' "$out" >>"$KORVA_APT_LOG"
    if [ $status -ne 0 ]; then
        say "apt-get update still reports failures (see $KORVA_APT_LOG); going on"
    fi
}

# Prints a sources file (one-line "list" or deb822 "sources" format) with every entry of a
# restricted URI and suite limited to the architectures other than the failed one.
restrict_sources_file() {
    [ -f "$1" ] || return 0
    awk -v kind="$2" -v restrictions="$3" -v archs="$4" '
        function trim(u) { sub(/\/+$/, "", u); return u }
        function others(failed,    n, a, i, out) {
            n = split(archs, a, " "); out = ""
            for (i = 1; i <= n; i++) if (a[i] != "" && a[i] != failed) out = out (out == "" ? "" : " ") a[i]
            return out
        }
        BEGIN {
            n = split(restrictions, lines, "\n")
            for (i = 1; i <= n; i++) if (split(lines[i], f, " ") == 3) failedArch[trim(f[1]) " " f[2]] = f[3]
            if (kind == "sources") RS = ""
        }
        kind == "list" {
            line = $0; opts = ""; rest = line
            if (match(line, /^[ \t]*deb[ \t]+\[[^]]*\]/)) {
                opts = substr(line, RSTART, RLENGTH); rest = substr(line, RSTART + RLENGTH)
                sub(/^[ \t]*deb[ \t]+\[/, "", opts); sub(/\]$/, "", opts)
            } else if (match(line, /^[ \t]*deb[ \t]+/)) {
                rest = substr(line, RLENGTH + 1)
            } else { print; next }
            split(rest, w, " ")
            key = trim(w[1]) " " w[2]
            if (!(key in failedArch) || opts ~ /arch=/) { print; next }
            o = others(failedArch[key]); gsub(/ /, ",", o)
            print "deb [" opts (opts == "" ? "" : " ") "arch=" o "] " rest
            next
        }
        kind == "sources" {
            stanza = $0; types = ""; uris = ""; suites = ""; hasArch = 0
            m = split(stanza, fl, "\n")
            for (i = 1; i <= m; i++) {
                if (fl[i] ~ /^Types:/) { types = fl[i]; sub(/^Types:[ \t]*/, "", types) }
                if (fl[i] ~ /^URIs:/) { uris = fl[i]; sub(/^URIs:[ \t]*/, "", uris) }
                if (fl[i] ~ /^Suites:/) { suites = fl[i]; sub(/^Suites:[ \t]*/, "", suites) }
                if (fl[i] ~ /^Architectures:/) hasArch = 1
            }
            hit = ""
            if (types ~ /(^|[ \t])deb([ \t]|$)/ && !hasArch) {
                nu = split(uris, u, /[ \t]+/); ns = split(suites, su, /[ \t]+/)
                for (a = 1; a <= nu; a++) for (b = 1; b <= ns; b++)
                    if ((trim(u[a]) " " su[b]) in failedArch) { hit = su[b]; hitArch = failedArch[trim(u[a]) " " su[b]] }
            }
            if (hit == "") { print stanza "\n"; next }
            left = ""
            for (b = 1; b <= ns; b++) if (su[b] != hit && su[b] != "") left = left (left == "" ? "" : " ") su[b]
            if (left != "") {
                copy = stanza; sub(/(^|\n)Suites:[^\n]*/, "\nSuites: " left, copy); sub(/^\n/, "", copy)
                print copy "\n"
            }
            copy = stanza; sub(/(^|\n)Suites:[^\n]*/, "\nSuites: " hit "\nArchitectures: " others(hitArch), copy)
            sub(/^\n/, "", copy)
            print copy "\n"
        }
    ' "$1"
}

# Names the packages apt says it cannot install, from an install's output.
failed_packages() {
    sed -n -E "s/^E: Unable to locate package ([^ ]+).*/\1/p; s/^E: Package '([^']+)' has no installation candidate.*/\1/p; s/^ ([^ ]+) : Depends:.*/\1/p" "$1" |
        sort -u | tr '\n' ' ' | sed 's/ $//'
}

# apt-get install of the given packages (apt options first where given).
apt_install() {
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        --no-remove "${KORVA_APT_OPTS[@]}" "$@" >>"$KORVA_APT_LOG" 2>&1
}

# install_packages [--optional] PACKAGE...: installs those missing. A package that cannot be
# installed stops set-up, unless --optional: then it returns 1 and the caller says what it
# does without it.
install_packages() {
    local optional=0 p
    if [ "${1:-}" = --optional ]; then
        optional=1
        shift
    fi
    KORVA_MISSING=()
    for p in "$@"; do
        pkg_installed "$p" || KORVA_MISSING+=("$p")
    done
    if [ ${#KORVA_MISSING[@]} -eq 0 ]; then
        [ "$optional" = 1 ] || say "all packages present"
        return 0
    fi
    mkdir -p "$(dirname "$KORVA_APT_LOG")"
    check_root_available "${KORVA_MISSING[@]}"
    say "installing missing packages: ${KORVA_MISSING[*]}"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        say "enabling the i386 architecture for 32-bit Wine"
        as_root dpkg --add-architecture i386
        KORVA_LISTS_UPDATED=0
    fi
    # One update per set-up is enough (a second group of packages uses the same lists).
    if [ "${KORVA_LISTS_UPDATED:-0}" != 1 ]; then
        update_package_lists
        KORVA_LISTS_UPDATED=1
    fi

    local attempt_log=$KORVA_BUILD/logs/apt-attempt.log logged
    say "apt-get install (log: $KORVA_APT_LOG)"
    logged=$(wc -l <"$KORVA_APT_LOG")
    if apt_install "${KORVA_MISSING[@]}"; then
        return 0
    fi
    tail -n "+$((logged + 1))" "$KORVA_APT_LOG" >"$attempt_log"
    if grep -q 'Packages need to be removed but remove is disabled' "$attempt_log"; then
        say "installing would remove packages that are installed; nothing was changed. See $KORVA_APT_LOG"
        say "try by hand and read what apt would remove: apt-get install ${KORVA_MISSING[*]}"
        exit 1
    fi
    local base
    base=$(base_release)
    if [ -n "$base" ] && grep -qE 'held broken packages|generated breaks|but it is not (going to be )?installable|but it is not going to be installed|Unmet dependencies' "$attempt_log"; then
        say "some versions do not match across amd64 and i386 (an index of updates is missing);"
        say "trying once more from the base release '$base'"
        logged=$(wc -l <"$KORVA_APT_LOG")
        if apt_install -t "$base" "${KORVA_MISSING[@]}"; then
            return 0
        fi
        tail -n "+$((logged + 1))" "$KORVA_APT_LOG" >"$attempt_log"
    fi
    local names
    names=$(failed_packages "$attempt_log")
    say "could not install: ${names:-see the log} (log: $KORVA_APT_LOG)"
    grep -E '^E:' "$attempt_log" | tail -n 3 | sed 's/^/    /'
    [ "$optional" = 1 ] && return 1
    say "try by hand: apt-get install${base:+ -t $base} ${KORVA_MISSING[*]}"
    exit 1
}
