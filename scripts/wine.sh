# Wine prefixes, the virtual display and the persistent wineservers for tests and demo runs. Sourced.

export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko installers, no menu files written outside the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The modes the programs are tested in: Windows 95 (the Windows 95 family: GetVersion has its
# top bit set), NT (Windows XP) and 64-bit Windows 10, where the 32-bit programs run under
# WoW64 as on most machines today.
KORVA_PREFIX_NAMES=(win95 nt win10)
KORVA_XVFB_PIDS=()

prefix_display() {
    case "$1" in
        win95) echo "${KORVA_DISPLAY_WIN95:-$DISPLAY}" ;;
        win10) echo "${KORVA_DISPLAY_WIN10:-$DISPLAY}" ;;
        *) echo "${KORVA_DISPLAY_NT:-$DISPLAY}" ;;
    esac
}

prefix_version() {
    case "$1" in
        win95) echo win95 ;;
        nt) echo winxp ;;
        win10) echo win10 ;;
    esac
}

# win32 or win64: the Windows 10 prefix is always 64-bit; the others are 64-bit only where this
# machine runs no 32-bit programs (see choose_wine_mode).
prefix_arch() {
    if [ "$1" = win10 ] || [ "$KORVA_WINE_BITS" = 64 ]; then echo win64; else echo win32; fi
}

# Wine for the prefix PREFIX: korva_wine_in PREFIX PROGRAM [ARGUMENTS...]. A 64-bit prefix is
# made and set up by the 64-bit loader (Debian's "wine" starts the 32-bit one when both are
# installed); in it, a 32-bit program is handed on to the 32-bit loader, as WoW64 does.
korva_wine_in() {
    local prefix=$1
    shift
    if [ "$(prefix_arch "$prefix")" = win64 ]; then
        WINEPREFIX=$KORVA_PREFIXES/$prefix WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 \
            /usr/lib/wine/wine64 "$@"
    else
        WINEPREFIX=$KORVA_PREFIXES/$prefix WINEARCH=win32 wine "$@"
    fi
}

# Wine in the NT prefix, as ./run uses it.
korva_wine() {
    korva_wine_in nt "$@"
}

# Creates the prefix once; a marker file says it is complete.
make_prefix() {
    local name=$1
    local dir=$KORVA_PREFIXES/$name
    local log=$KORVA_BUILD/logs/prefix-$name.log
    [ -f "$dir/.korva-ready" ] && return
    say "creating Wine prefix '$name' ($(prefix_version "$name") mode, $(prefix_arch "$name")) in $dir (log: $log)"
    rm -rf "$dir"
    mkdir -p "$dir" "$(dirname "$log")"
    (
        export WINEPREFIX=$dir
        korva_wine_in "$name" wineboot -i
        wineserver -w
        korva_wine_in "$name" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
        if [ "$(prefix_arch "$name")" = win64 ]; then
            # 64-bit winecfg refuses the Windows 95 family: the value it would write is
            # written directly.
            korva_wine_in "$name" reg add 'HKCU\Software\Wine' /v Version /d "$(prefix_version "$name")" /f
        else
            korva_wine_in "$name" winecfg /v "$(prefix_version "$name")"
        fi
        wineserver -w
    ) >"$log" 2>&1 </dev/null
    if ! [ -f "$dir/system.reg" ]; then
        say "Wine could not create the prefix '$name' (see $log)"
        exit 1
    fi
    touch "$dir/.korva-ready"
}

# A new prefix links the user's folders (Desktop, Documents, ...) to the home directory. The
# tests delete files, so every folder of drive C: must be the prefix's own: each link that
# leads out of the prefix becomes an empty directory of the prefix, and Wine is told not to
# update the prefix (an update would link the folders again). Checked at every run.
sandbox_prefix() {
    local dir=$1 link target real_prefix
    real_prefix=$(realpath "$dir")
    while IFS= read -r -d '' link; do
        target=$(realpath -m "$link")
        case "$target" in
            "$real_prefix"/*) continue ;;
        esac
        say "sandboxing $link (linked to $target)"
        rm -f "$link"
        mkdir -p "$link"
    done < <(find "$dir/drive_c" -type l -print0)
    echo disable >"$dir/.update-timestamp"
}

prepare_prefixes() {
    local n
    for n in "${KORVA_PREFIX_NAMES[@]}"; do
        make_prefix "$n"
        sandbox_prefix "$KORVA_PREFIXES/$n"
    done
}

# Starts one Xvfb on the first free display number; sets KORVA_NEW_DISPLAY (":N").
start_one_display() {
    local depth=${KORVA_SCREEN_DEPTH:-24} size=${KORVA_SCREEN_SIZE:-1024x768} log=$1
    local n
    for n in $(seq 91 199); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        mkdir -p "$KORVA_BUILD/logs"
        # The server must not hold the run's lock (descriptor 9) after the run.
        Xvfb ":$n" -screen 0 "${size}x${depth}" -nolisten tcp >"$log" 2>&1 </dev/null 9>&- &
        local pid=$!
        local i
        for i in $(seq 1 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            sleep 0.05
        done
        if kill -0 "$pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            KORVA_XVFB_PIDS+=("$pid")
            KORVA_NEW_DISPLAY=":$n"
            return
        fi
    done
    say "could not start Xvfb (see $log)"
    exit 1
}

# One virtual display per prefix, so that the prefixes' tests never share a screen, a
# keyboard or a focus. DISPLAY is the NT prefix's.
start_display() {
    KORVA_XVFB_PIDS=()
    export KORVA_DISPLAY_NT KORVA_DISPLAY_WIN95 KORVA_DISPLAY_WIN10
    start_one_display "$KORVA_BUILD/logs/xvfb-nt.log"
    KORVA_DISPLAY_NT=$KORVA_NEW_DISPLAY
    start_one_display "$KORVA_BUILD/logs/xvfb-win95.log"
    KORVA_DISPLAY_WIN95=$KORVA_NEW_DISPLAY
    start_one_display "$KORVA_BUILD/logs/xvfb-win10.log"
    KORVA_DISPLAY_WIN10=$KORVA_NEW_DISPLAY
    export DISPLAY=$KORVA_DISPLAY_NT
    say "virtual displays $KORVA_DISPLAY_NT (NT prefix), $KORVA_DISPLAY_WIN95 (Windows 95 prefix) and $KORVA_DISPLAY_WIN10 (Windows 10 prefix), ${KORVA_SCREEN_SIZE:-1024x768}x${KORVA_SCREEN_DEPTH:-24}"
}

# Keeps one wineserver alive per prefix for the whole run: program starts stay fast.
start_wineservers() {
    local n
    for n in "${KORVA_PREFIX_NAMES[@]}"; do
        # A server left from an earlier run would keep its old display: start afresh.
        WINEPREFIX=$KORVA_PREFIXES/$n wineserver -k >/dev/null 2>&1 </dev/null || true
        WINEPREFIX=$KORVA_PREFIXES/$n DISPLAY=$(prefix_display "$n") wineserver -p \
            >/dev/null 2>&1 </dev/null 9>&- || true
    done
}

stop_wine_and_display() {
    local n
    for n in "${KORVA_PREFIX_NAMES[@]}"; do
        [ -d "$KORVA_PREFIXES/$n" ] && WINEPREFIX=$KORVA_PREFIXES/$n wineserver -k >/dev/null 2>&1 </dev/null || true
    done
    local pid
    for pid in "${KORVA_XVFB_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
