# Wine prefixes, the virtual display and the persistent wineservers for tests and demo runs. Sourced.

export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko installers, no menu files written outside the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
KORVA_PREFIX_NAMES=(win95 nt)
KORVA_XVFB_PIDS=()

prefix_display() {
    case "$1" in
        win95) echo "${KORVA_DISPLAY_WIN95:-$DISPLAY}" ;;
        *) echo "${KORVA_DISPLAY_NT:-$DISPLAY}" ;;
    esac
}

prefix_version() {
    case "$1" in
        win95) echo win95 ;;
        nt) echo winxp ;;
    esac
}

# Wine of the mode chosen by choose_wine_mode: 32-bit prefixes, or 64-bit ones where this
# machine cannot run 32-bit programs (Debian's "wine" starts the 32-bit loader when both are
# installed, so the 64-bit one is named).
korva_wine() {
    if [ "$KORVA_WINE_BITS" = 64 ]; then
        WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 "$@"
    else
        WINEARCH=win32 wine "$@"
    fi
}

# Creates the prefix once; a marker file says it is complete.
make_prefix() {
    local name=$1
    local dir=$KORVA_PREFIXES/$name
    local log=$KORVA_BUILD/logs/prefix-$name.log
    [ -f "$dir/.korva-ready" ] && return
    say "creating Wine prefix '$name' ($(prefix_version "$name") mode) in $dir (log: $log)"
    rm -rf "$dir"
    mkdir -p "$dir" "$(dirname "$log")"
    (
        export WINEPREFIX=$dir
        korva_wine wineboot -i
        wineserver -w
        korva_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
        if [ "$KORVA_WINE_BITS" = 64 ]; then
            # 64-bit winecfg refuses the Windows 95 family: the value it would write is
            # written directly.
            korva_wine reg add 'HKCU\Software\Wine' /v Version /d "$(prefix_version "$name")" /f
        else
            korva_wine winecfg /v "$(prefix_version "$name")"
        fi
        wineserver -w
    ) >"$log" 2>&1 </dev/null
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
    export KORVA_DISPLAY_NT KORVA_DISPLAY_WIN95
    start_one_display "$KORVA_BUILD/logs/xvfb-nt.log"
    KORVA_DISPLAY_NT=$KORVA_NEW_DISPLAY
    start_one_display "$KORVA_BUILD/logs/xvfb-win95.log"
    KORVA_DISPLAY_WIN95=$KORVA_NEW_DISPLAY
    export DISPLAY=$KORVA_DISPLAY_NT
    say "virtual displays $KORVA_DISPLAY_NT (NT prefix) and $KORVA_DISPLAY_WIN95 (Windows 95 prefix), ${KORVA_SCREEN_SIZE:-1024x768}x${KORVA_SCREEN_DEPTH:-24}"
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
