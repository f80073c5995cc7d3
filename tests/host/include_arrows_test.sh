#!/usr/bin/env bash
# The include lines run the way the libraries link: every include names its file from the
# repository root, so the folder it names is the layer it uses. Each product folder below may
# include only the folders listed for it (its own included); a portable folder never includes
# <windows.h>. The launcher and the engine meet only in install/shared.
# Usage: include_arrows_test.sh SOURCE_DIR
set -euo pipefail
cd "$1"

# folder: the folders its files may include (the most specific folder of a file applies).
rules='
framework/portable: framework/portable
framework: framework
mapdb/portable: mapdb/portable framework/portable
mapdb: mapdb framework
imaging/portable: imaging/portable framework/portable
imaging: imaging framework
install/shared/portable: install/shared/portable
install/shared: install/shared
install/launcher/portable: install/launcher/portable install/shared/portable resources/install
install/launcher: install/launcher install/shared framework imaging resources/install
install/engine/portable: install/engine/portable install/shared/portable resources/install
install/engine: install/engine install/shared framework imaging mapdb resources/install
install: install framework imaging mapdb resources/install
posinet/portable: posinet/portable
posinet: posinet framework resources/posinet
ctlupdate: ctlupdate framework resources/ctlupdate
resources/install: resources/install mapdb/portable
resources/posinet: resources/posinet framework
resources/ctlupdate: resources/ctlupdate
resources/mapview: resources/mapview
tools/mapview: tools/mapview framework posinet/portable resources/mapview
tools/standins: tools/standins
tools: tools framework/portable mapdb/portable imaging/portable install/launcher/portable install/engine/portable install/shared/portable resources/install
'

mapfile -t files < <(find framework mapdb imaging install posinet ctlupdate resources tools -type f \
    \( -name '*.h' -o -name '*.cpp' -o -name '*.c' -o -name '*.rc' \) | sort)
[ ${#files[@]} -gt 100 ] || { echo "too few source files under $PWD: ${#files[@]}"; exit 1; }

faults=$(awk -v rules="$rules" '
    BEGIN {
        n = split(rules, lines, "\n")
        for (i = 1; i <= n; i++) {
            if (lines[i] == "") continue
            split(lines[i], parts, ": ")
            allowed[parts[1]] = " " parts[2] " "
        }
    }
    # The most specific folder with a rule that holds `path`.
    function folder_of(path,    dir) {
        dir = path
        while (sub(/\/[^\/]*$/, "", dir)) if (dir in allowed) return dir
        return ""
    }
    FNR == 1 { folder = folder_of(FILENAME); if (folder == "") print FILENAME ": no rule" }
    /^[ \t]*#[ \t]*include[ \t]*<windows\.h>/ && FILENAME ~ /\/portable\// {
        print FILENAME ":" FNR ": a portable file includes <windows.h>"
    }
    /^[ \t]*#[ \t]*include[ \t]*"/ {
        target = $0
        sub(/^[^"]*"/, "", target); sub(/".*$/, "", target)
        ok = 0
        for (dir = target; sub(/\/[^\/]*$/, "", dir); ) if (index(allowed[folder], " " dir " ")) ok = 1
        if (!ok) print FILENAME ":" FNR ": " folder "/ includes \"" target "\""
    }
' "${files[@]}")

if [ -n "$faults" ]; then
    echo "includes against the arrows of the layers:"
    echo "$faults"
    exit 1
fi
echo "${#files[@]} files, every include along the arrows"
