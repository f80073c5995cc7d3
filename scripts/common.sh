# Shared settings for ./run and ./test. Sourced, not executed.
set -euo pipefail

KORVA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KORVA_BUILD=${KORVA_BUILD:-$KORVA_ROOT/build}
KORVA_HOST_BUILD=$KORVA_BUILD/host
KORVA_WIN32_BUILD=$KORVA_BUILD/win32
KORVA_WIN64_BUILD=$KORVA_BUILD/win64
# The Windows tree whose programs the Wine tiers run, and its prefixes: the 32-bit programs
# in 32-bit prefixes where this machine runs 32-bit programs (see choose_wine_mode).
KORVA_TEST_BUILD=$KORVA_WIN32_BUILD
KORVA_PREFIXES=$KORVA_BUILD/prefixes
KORVA_WINE_BITS=32

# A fresh machine or a CI job may give no HOME and any locale. Wine wants a home directory
# (it writes nothing there: every prefix is given), and the tests read Wine's own texts and
# code page as they are under C.UTF-8.
if [ -z "${HOME:-}" ]; then
    export HOME=$KORVA_BUILD/home
    mkdir -p "$HOME"
fi
export LANG=C.UTF-8 LC_ALL=C.UTF-8

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
