# Installation throughput: a complete install of a large CD under Wine (NT prefix) against
# `cp -r` of the same files on the same disk, and against the plainest copy loop Wine allows
# (the platform's floor). Every figure includes writing the data out (sync).
bench_install() {
    local megabytes=${KORVA_BENCH_CD_MB:-200} files=${KORVA_BENCH_CD_FILES:-5000}
    local cd=$KORVA_BENCH_WORK/large-cd prefix=$KORVA_PREFIXES/nt
    local drive=$prefix/drive_c
    say "making a ${megabytes} MB CD of ${files} tiles in $cd"
    rm -rf "$cd"
    "$KORVA_HOST_BUILD/tools/mkcd" --out "$cd" $(cat "$KORVA_TEST_BUILD/cd-programs.args") \
        --bitmap-tree "$megabytes,$files" >/dev/null
    # What a complete install copies: the program files and the areas of the edition.
    local sources=("$cd/cd_ita/italia" "$cd/cd_ita/sicilia") file
    for file in korva.exe POSINET.EXE korva.hlp legenda.bmp korva.wmf korvamap.dll comctl32.dll \
        tutorial.txt tutorial.hlp; do
        [ -e "$cd/$file" ] && sources+=("$cd/$file")
    done
    cat $(find "${sources[@]}" -type f) >/dev/null # every run starts from a warm cache
    local to_windows=()
    for file in "${sources[@]}"; do to_windows+=("Z:${file//\//\\}"); done

    local start end
    rm -rf "$drive/korva-cp" && mkdir -p "$drive/korva-cp" && sync
    start=$(date +%s%N)
    cp -r "${sources[@]}" "$drive/korva-cp/" && sync
    end=$(date +%s%N)
    local cp_ms=$(((end - start) / 1000000))
    rm -rf "$drive/korva-cp"

    rm -rf "$drive/korva-floor" && sync
    local out floor_ms
    start=$(date +%s%N)
    out=$(KORVA_PREFIX=nt "$KORVA_TEST_BUILD/wine-run" "$KORVA_TEST_BUILD/bench/copy_floor.exe" \
        'C:\korva-floor' "${to_windows[@]}") && sync
    end=$(date +%s%N)
    # The loop's whole run: Wine's start, the copy and the write-out.
    floor_ms=$(((end - start) / 1000000))
    [ -n "$(sed -n 's/^copy_ms //p' <<<"$out")" ] || echo "copy loop failed: $out"
    rm -rf "$drive/korva-floor"

    rm -rf "$drive/korva-bench" "$drive/windows/korva.ini" && sync
    out=$(KORVA_PREFIX=nt "$KORVA_TEST_BUILD/wine-run" "$KORVA_TEST_BUILD/bench/install_bench.exe" \
        "Z:${cd//\//\\}" 'C:\korva-bench')
    start=$(date +%s%N)
    sync
    end=$(date +%s%N)
    local install_ms
    install_ms=$(sed -n 's/^install_ms //p' <<<"$out")
    rm -rf "$drive/korva-bench" "$drive/windows/korva.ini"
    if [ -z "$install_ms" ]; then
        echo "install benchmark failed: $out"
        return
    fi
    install_ms=$((install_ms + (end - start) / 1000000))
    local ratio_cp ratio_floor
    ratio_cp=$(awk "BEGIN {printf \"%.2f\", $install_ms / ($cp_ms > 0 ? $cp_ms : 1)}")
    ratio_floor=$(awk "BEGIN {printf \"%.2f\", $install_ms / ($floor_ms > 0 ? $floor_ms : 1)}")
    echo "ROW|complete install, ${megabytes} MB in ${files} files|${install_ms} ms|cp -r ${cp_ms} ms|${ratio_cp}|within 1.5"
    echo "ROW|complete install vs plain Win32 copy loop|${install_ms} ms|Wine copy ${floor_ms} ms|${ratio_floor}|within 1.5"
}
