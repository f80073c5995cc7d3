#!/usr/bin/env bash
# Runs a Wine test program on a virtual display of another size or depth.
# Usage: run_at_screen_size.sh WIDTHxHEIGHT[xDEPTH] PREFIX WINE_RUN PROGRAM [ARGUMENTS...]
#
# Wine takes the screen size from the display its prefix's desktop was started on, for as
# long as the prefix's wineserver runs: so the prefix's Wine is stopped, the program runs on
# a fresh Xvfb of that size, and Wine is stopped again afterwards (CTest's resource lock
# keeps the prefix's other tests away meanwhile). The next program starts it on the usual
# display again.
source "$(dirname "$0")/../../scripts/common.sh"
source "$KORVA_ROOT/scripts/deps.sh"
source "$KORVA_ROOT/scripts/wine.sh"
choose_wine_mode quiet

IFS=x read -r width height depth <<<"$1"
size=${width}x${height}
depth=${depth:-24}
prefix=$2
wine_run=$3
shift 3

export WINEPREFIX=$KORVA_PREFIXES/$prefix
stop_prefix_wine() {
    wineserver -k >/dev/null 2>&1 </dev/null || true
    wineserver -w >/dev/null 2>&1 </dev/null || true
}
usual_display=$(prefix_display "$prefix")
finish() {
    stop_prefix_wine
    local pid
    for pid in "${KORVA_XVFB_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    # Keep a wineserver alive for the rest of the run, on the prefix's usual display.
    DISPLAY=$usual_display wineserver -p >/dev/null 2>&1 </dev/null 8>&- 9>&- || true
}
trap finish EXIT

stop_prefix_wine
# One display started at a time: two runs must not both take the first free number.
exec 8>"$KORVA_BUILD/.screen-test-display.lock"
flock 8
KORVA_SCREEN_SIZE=$size KORVA_SCREEN_DEPTH=$depth start_one_display \
    "$KORVA_BUILD/logs/xvfb-$prefix-$size-$depth.log"
flock -u 8
screen=$KORVA_NEW_DISPLAY
echo "==> virtual display $screen (${size}x${depth}) for the $prefix prefix" >&2
KORVA_DISPLAY_NT=$screen KORVA_DISPLAY_WIN95=$screen KORVA_DISPLAY_WIN10=$screen DISPLAY=$screen KORVA_PREFIX=$prefix \
    KORVA_SCREEN_SIZE=$size KORVA_SCREEN_DEPTH=$depth "$wine_run" "$@"
