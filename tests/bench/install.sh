# Installation throughput: a complete install of a large CD under Wine (NT prefix) against
# `cp -r` of the same files on the same disk.
bench_install() {
    local megabytes=${KORVA_BENCH_CD_MB:-200} files=${KORVA_BENCH_CD_FILES:-5000}
    local cd=$KORVA_BENCH_WORK/large-cd prefix=$KORVA_PREFIXES/nt
    local drive=$prefix/drive_c
    say "making a ${megabytes} MB CD of ${files} tiles in $cd"
    rm -rf "$cd"
    "$KORVA_HOST_BUILD/tools/mkcd" --out "$cd" $(cat "$KORVA_WIN32_BUILD/cd-programs.args") \
        --bitmap-tree "$megabytes,$files" >/dev/null
    # What a complete install copies: the program files and the areas of the edition.
    local sources=("$cd/cd_ita/italia" "$cd/cd_ita/sicilia")
    local file
    for file in korva.exe POSINET.EXE korva.hlp legenda.bmp korva.wmf korvamap.dll tutorial.txt tutorial.hlp; do
        [ -e "$cd/$file" ] && sources+=("$cd/$file")
    done
    cat $(find "${sources[@]}" -type f) >/dev/null # both runs start from a warm cache

    rm -rf "$drive/korva-cp"
    mkdir -p "$drive/korva-cp"
    local start end
    start=$(date +%s%N)
    cp -r "${sources[@]}" "$drive/korva-cp/"
    sync
    end=$(date +%s%N)
    local cp_ms=$(( (end - start) / 1000000 ))
    rm -rf "$drive/korva-cp"

    rm -rf "$drive/korva-bench" "$drive/windows/korva.ini"
    local out
    out=$(KORVA_PREFIX=nt "$KORVA_WIN32_BUILD/wine-run" "$KORVA_WIN32_BUILD/tests/bench/install_bench.exe" \
        "Z:${cd//\//\\}" 'C:\korva-bench')
    sync
    local install_ms
    install_ms=$(sed -n 's/^install_ms //p' <<<"$out")
    rm -rf "$drive/korva-bench" "$drive/windows/korva.ini"
    if [ -z "$install_ms" ]; then
        echo "install benchmark failed: $out"
        return
    fi
    echo "ROW|complete install, ${megabytes} MB in ${files} files|${install_ms} ms|cp -r ${cp_ms} ms|$(awk "BEGIN {printf \"%.2f\", $install_ms / ($cp_ms > 0 ? $cp_ms : 1)}")|within 1.5"
}
