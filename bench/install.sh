# Installation throughput: a complete install of a large CD under Wine, in the NT prefix and
# in the Windows 95 prefix, against the floors the platform allows for the same files:
#  - the plainest copy loop (read whole, write whole: what the whole-file copy does on NT);
#  - a plain VerInstallFileA loop with the installer's flags (what the Windows 95 family's
#    copy is defined to be).
# Every figure is timed inside its program (no Wine start) and then has the time of writing
# its data out to disk (sync) added; each is the median of three rounds. `cp -r` of the same files is printed for scale only:
# Wine's cost per file is the floor. One more row doubles the file count at the same size:
# the installer must keep step with its floor there too, so nothing grows faster per file.

# Makes a CD of $2 MB in $3 tiles in directory $1 and sets bench_sources to what a complete
# installation copies from it (the program files and the areas of the edition).
make_bench_cd() {
    local cd=$1 megabytes=$2 files=$3 file
    say "making a ${megabytes} MB CD of ${files} tiles in $cd"
    rm -rf "$cd"
    "$KORVA_HOST_BUILD/tools/mkcd" --out "$cd" $(cat "$KORVA_TEST_BUILD/cd-programs.args") \
        --bitmap-tree "$megabytes,$files" >/dev/null
    bench_sources=("$cd/cd_ita/italia" "$cd/cd_ita/sicilia")
    for file in korva.exe POSINET.EXE korva.hlp legenda.bmp korva.wmf korvamap.dll comctl32.dll \
        tutorial.txt tutorial.hlp; do
        [ -e "$cd/$file" ] && bench_sources+=("$cd/$file")
    done
    cat $(find "${bench_sources[@]}" -type f) >/dev/null # every run starts from a warm cache
}

# Milliseconds that `sync` takes: the write-out of what the last program wrote.
sync_ms() {
    local start end
    start=$(date +%s%N)
    sync
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

# The copy loop's figure in prefix $1 with options $2 (empty or --version-install), or
# nothing when it failed. Uses bench_sources.
floor_ms() {
    local prefix=$1 option=$2 drive=$KORVA_PREFIXES/$1/drive_c file out copy_ms
    local to_windows=()
    for file in "${bench_sources[@]}"; do to_windows+=("Z:${file//\//\\}"); done
    rm -rf "$drive/korva-floor" && sync
    out=$(KORVA_PREFIX=$prefix "$KORVA_TEST_BUILD/wine-run" \
        "$KORVA_TEST_BUILD/bench/copy_floor.exe" $option 'C:\korva-floor' "${to_windows[@]}")
    copy_ms=$(sed -n 's/^copy_ms //p' <<<"$out")
    if [ -z "$copy_ms" ]; then
        echo "copy loop ($prefix $option) failed: $out" >&2
        return
    fi
    copy_ms=$((copy_ms + $(sync_ms)))
    rm -rf "$drive/korva-floor"
    echo "$copy_ms"
}

# The complete installation's figure from CD $2 in prefix $1, or nothing when it failed.
install_ms() {
    local prefix=$1 cd=$2 drive=$KORVA_PREFIXES/$1/drive_c out ms
    local windows=$drive/windows
    rm -rf "$drive/korva-bench" "$windows/korva.ini" && sync
    out=$(KORVA_PREFIX=$prefix "$KORVA_TEST_BUILD/wine-run" \
        "$KORVA_TEST_BUILD/bench/install_bench.exe" "Z:${cd//\//\\}" 'C:\korva-bench')
    ms=$(sed -n 's/^install_ms //p' <<<"$out")
    if [ -n "$ms" ]; then
        ms=$((ms + $(sync_ms)))
    else
        echo "install benchmark ($prefix) failed: $out" >&2
    fi
    # What the run left in the prefix: the installation, its settings and, on the Windows 95
    # family, the common-controls replacement it may have scheduled.
    rm -rf "$drive/korva-bench" "$windows/korva.ini" "$windows/wininit.ini" \
        "$windows/system/comctl32.tm2" "$windows/system32/comctl32.tm2"
    echo "$ms"
}

# The median of the numbers given as arguments (empty ones are failed runs).
median() {
    local values=() value
    for value in "$@"; do [[ "$value" =~ ^[0-9]+$ ]] && values+=("$value"); done
    [ ${#values[@]} -eq 0 ] && return
    printf '%s\n' "${values[@]}" | sort -n | sed -n "$(((${#values[@]} + 1) / 2))p"
}

# Three rounds in prefix $1 with CD $2, each round the copy loop, the VerInstallFileA loop
# when $3 is "version" and the complete installation, one after the other: one run on a
# shared machine can be off by a third, and a drift of the machine then touches all of them
# alike. Sets round_floor, round_version and round_install to the medians.
three_rounds() {
    local prefix=$1 cd=$2 with=$3 floors=() versions=() installs=()
    local round floor version install
    for round in 1 2 3; do
        floor=$(floor_ms "$prefix" "") version=-
        [ "$with" = version ] && version=$(floor_ms "$prefix" --version-install)
        install=$(install_ms "$prefix" "$cd")
        floors+=("$floor") versions+=("$version") installs+=("$install")
        echo "round $round in $prefix: copy loop $floor ms, VerInstallFileA loop $version ms," \
            "installation $install ms" >&2
    done
    round_floor=$(median "${floors[@]}")
    round_version=$(median "${versions[@]}")
    round_install=$(median "${installs[@]}")
}

# ROW|figure|measured|reference|ratio|target for $1 against the reference $3 ms named $4.
install_row() {
    local figure=$1 measured=$2 reference=$3 name=$4 target=$5
    if [ -z "$measured" ] || [ -z "$reference" ]; then
        echo "ROW|$figure|failed|$name|-|$target"
        return
    fi
    local ratio
    ratio=$(awk "BEGIN {printf \"%.2f\", $measured / ($reference > 0 ? $reference : 1)}")
    echo "ROW|$figure|${measured} ms|$name ${reference} ms|${ratio}|$target"
}

bench_install() {
    local megabytes=${KORVA_BENCH_CD_MB:-200} files=${KORVA_BENCH_CD_FILES:-5000}
    local cd=$KORVA_BENCH_WORK/large-cd
    make_bench_cd "$cd" "$megabytes" "$files"
    local size="${megabytes} MB in ${files} files"

    local drive=$KORVA_PREFIXES/nt/drive_c start end cp_ms
    rm -rf "$drive/korva-cp" && mkdir -p "$drive/korva-cp" && sync
    start=$(date +%s%N)
    cp -r "${bench_sources[@]}" "$drive/korva-cp/" && sync
    end=$(date +%s%N)
    cp_ms=$(((end - start) / 1000000))
    rm -rf "$drive/korva-cp"

    say "NT: the copy loop, then the complete installation"
    three_rounds nt "$cd" ""
    local nt_floor=$round_floor nt_install=$round_install
    install_row "NT: complete install, $size" "$nt_install" "$nt_floor" "copy loop" "within 1.1"
    install_row "NT: complete install, $size" "$nt_install" "$cp_ms" "cp -r" "none (Wine per file)"

    say "Windows 95: the copy loop, the VerInstallFileA loop, then the complete installation"
    three_rounds win95 "$cd" version
    local w95_floor=$round_floor w95_version=$round_version w95_install=$round_install
    install_row "Windows 95: complete install, $size" "$w95_install" "$w95_floor" "copy loop" \
        "none (copied otherwise)"
    install_row "Windows 95: complete install, $size" "$w95_install" "$w95_version" \
        "VerInstallFileA loop" "within 1.1"

    # Twice the files at the same size: the cost per file must stay flat.
    local twice=$((files * 2))
    make_bench_cd "$cd" "$megabytes" "$twice"
    say "NT, ${twice} files: the copy loop, then the complete installation"
    three_rounds nt "$cd" ""
    local scale_floor=$round_floor scale_install=$round_install
    install_row "NT: complete install, ${megabytes} MB in ${twice} files" "$scale_install" \
        "$scale_floor" "copy loop" "within 1.1"
    rm -rf "$cd"
}
