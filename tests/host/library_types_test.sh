#!/usr/bin/env bash
# No class, struct or union name is defined in two places among the project's libraries: two
# different classes of one name linked into one program break the one-definition rule (which
# vtable and type information the linker keeps is undefined). Read from the debug information
# of the host tree's libraries: every named type at namespace level (anonymous namespaces
# excepted) with the file it is defined in; a name defined in two files is a clash.
# Usage: library_types_test.sh HOST_BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1 source=$(cd "$2" && pwd)
dwarfdump=$(command -v llvm-dwarfdump-14 || command -v llvm-dwarfdump || true)
[ -n "$dwarfdump" ] || { echo "llvm-dwarfdump is not installed (package llvm-14)"; exit 1; }

# The libraries the build makes now: a library left behind in the build tree by an earlier
# layout is not linked into anything.
known=$(cd "$build" && ninja -t targets all 2>/dev/null | cut -d: -f1 | grep 'libkorva_.*\.a$' || true)
mapfile -t libraries < <(cd "$build" && find . -name 'libkorva_*.a' -not -path '*/googletest/*' |
    sed 's|^\./||' | grep -Fx -f <(printf '%s\n' "$known") | sort | sed "s|^|$build/|")
[ ${#libraries[@]} -gt 3 ] || { echo "too few libraries under $build: ${libraries[*]}"; exit 1; }

types=$(mktemp)
trap 'rm -f "$types"' EXIT
for library in "${libraries[@]}"; do
    "$dwarfdump" --debug-info "$library" 2>/dev/null | awk -v lib="$(basename "$library")" -v root="$source/" '
        # One entry: its depth (from the indentation of its tag line), tag, name, file.
        function flush(    i, scope, ok) {
            if (tag == "") return
            while (depth_count > 0 && depths[depth_count] >= depth) depth_count--
            if ((tag == "DW_TAG_class_type" || tag == "DW_TAG_structure_type" ||
                 tag == "DW_TAG_union_type") && name != "" && !declaration &&
                index(file, root) == 1) {
                ok = 1; scope = ""
                for (i = 1; i <= depth_count; i++) {
                    if (tags[i] == "DW_TAG_compile_unit") continue
                    if (tags[i] != "DW_TAG_namespace" || names[i] == "") { ok = 0; break }
                    scope = scope names[i] "::"
                }
                if (ok) print scope name "\t" substr(file, length(root) + 1) "\t" lib
            }
            depth_count++
            depths[depth_count] = depth; tags[depth_count] = tag; names[depth_count] = name
            tag = ""
        }
        /^0x[0-9a-f]+: +DW_TAG_/ {
            flush()
            match($0, /: +/); depth = RLENGTH; tag = $2
            name = ""; file = ""; declaration = 0
            next
        }
        /^0x[0-9a-f]+: +NULL/ { flush(); next }
        tag != "" && /^ +DW_AT_name\t/ { v = $0; sub(/^[^(]*\("/, "", v); sub(/"\)$/, "", v); name = v }
        tag != "" && /^ +DW_AT_decl_file\t/ { v = $0; sub(/^[^(]*\("/, "", v); sub(/"\)$/, "", v); file = v }
        tag != "" && /^ +DW_AT_declaration\t/ { declaration = 1 }
        END { flush() }
    '
done | sort -u >"$types"

[ -s "$types" ] || { echo "no types found in the debug information of the libraries"; exit 1; }
clashes=$(cut -f1,2 "$types" | sort -u | cut -f1 | uniq -d)
if [ -n "$clashes" ]; then
    echo "defined in more than one place (one name, two classes in one program):"
    while IFS= read -r type; do
        awk -F'\t' -v t="$type" '$1 == t { print "  " $1 ": " $2 " (" $3 ")" }' "$types"
    done <<<"$clashes"
    exit 1
fi
echo "$(cut -f1 "$types" | sort -u | wc -l) types in ${#libraries[@]} libraries, each defined in one place"
