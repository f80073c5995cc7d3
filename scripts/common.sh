# Shared settings for ./run and ./test. Sourced, not executed.
set -euo pipefail

KORVA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KORVA_BUILD=${KORVA_BUILD:-$KORVA_ROOT/build}
KORVA_HOST_BUILD=$KORVA_BUILD/host
KORVA_WIN32_BUILD=$KORVA_BUILD/win32
KORVA_PREFIXES=$KORVA_BUILD/prefixes

say() { printf '==> %s\n' "$*"; }

# One run at a time: the build tree, the Wine prefixes and the display are shared.
take_lock() {
    mkdir -p "$KORVA_BUILD"
    exec 9>"$KORVA_BUILD/.lock"
    if ! flock -n 9; then
        say "another ./run or ./test is using $KORVA_BUILD; waiting for it"
        flock 9
    fi
}
