# The contenders of the install benchmark, each run once: the copy loops, the installation,
# the peer installers and cp. Each prints "wall_ms cpu_ms" (cpu "-" when unknown) or fails.
# Sourced by bench/install.sh.

# The copy loop in prefix $1 with option $2 (empty or --version-install) over CD $3's files of
# manifest $4, into C:\korva-floor.
run_floor() {
    local prefix=$1 option=$2 cd=$3 manifest=$4 drive=$KORVA_PREFIXES/$1/drive_c out ms cpu
    local sources=() file
    # What a complete installation copies: the areas' directories and the program files.
    for file in "$cd/cd_ita/italia" "$cd/cd_ita/sicilia" $(awk -F'\t' '$2 !~ /\// {print $3}' "$manifest"); do
        sources+=("$(windows_path "$file")")
    done
    set_aside "$drive/korva-floor" && sync
    out=$(KORVA_PREFIX=$prefix "$KORVA_TEST_BUILD/wine-run" "$KORVA_TEST_BUILD/bench/copy_floor.exe" \
        $option --server-pid "$(server_pid "$prefix")" 'C:\korva-floor' "${sources[@]}")
    ms=$(sed -n 's/^copy_ms //p' <<<"$out")
    cpu=$(sed -n 's/^cpu_ms //p' <<<"$out")
    if [ -z "$ms" ]; then
        echo "copy loop ($prefix $option) failed: $out" >&2
        return 1
    fi
    echo "$((ms + $(sync_ms))) ${cpu:--}"
    set_aside "$drive/korva-floor"
}

# The complete installation from CD $2 in prefix $1 into C:\korva-bench; with manifest $3, the
# tree it wrote is checked.
run_ours() {
    local prefix=$1 cd=$2 manifest=${3:-} drive=$KORVA_PREFIXES/$1/drive_c out ms cpu status=0
    local windows=$drive/windows
    set_aside "$drive/korva-bench"
    rm -f "$windows/korva.ini" && sync
    out=$(KORVA_PREFIX=$prefix "$KORVA_TEST_BUILD/wine-run" "$KORVA_TEST_BUILD/bench/install_bench.exe" \
        --server-pid "$(server_pid "$prefix")" "$(windows_path "$cd")" 'C:\korva-bench' 2>&1)
    ms=$(sed -n 's/^install_ms //p' <<<"$out")
    cpu=$(sed -n 's/^cpu_ms //p' <<<"$out")
    if [ -z "$ms" ]; then
        echo "installation ($prefix) failed: $out" >&2
        status=1
    else
        ms=$((ms + $(sync_ms)))
        if [ -n "$manifest" ] && ! tree_complete "$drive/korva-bench" "$manifest" settings; then
            echo "installation ($prefix) did not write every file at its size" >&2
            status=1
        fi
    fi
    [ $status -eq 0 ] && echo "$ms ${cpu:--}"
    # Keep the tree of a warm-up run ($4 "keep") for the manifest.
    if [ "${4:-}" != keep ]; then
        set_aside "$drive/korva-bench"
    fi
    # What the run left in the prefix: its settings and, on the Windows 95 family, the
    # common-controls replacement it may have scheduled.
    rm -rf "$windows/korva.ini" "$windows/wininit.ini" "$windows/system/comctl32.tm2" \
        "$windows/system32/comctl32.tm2"
    return $status
}

# A peer installer in prefix $1: command line $2 (Windows), started in directory $3 (Windows),
# installing into C:\$4; the tree is checked against manifest $5.
run_peer() {
    local prefix=$1 command=$2 workdir=$3 dest=$4 manifest=$5 drive=$KORVA_PREFIXES/$1/drive_c
    local out ms code server group0 server0 cpu='-' status=0
    set_aside "$drive/$dest" && sync
    server=$(server_pid "$prefix")
    group0=$(group_ns)
    server0=$(process_ns "$server")
    out=$(KORVA_PREFIX=$prefix "$KORVA_TEST_BUILD/wine-run" "$KORVA_TEST_BUILD/bench/peer_run.exe" \
        "$workdir" "$command" 2>&1)
    if [ -n "$bench_group" ]; then
        cpu=$(((($(group_ns) - group0) + ($(process_ns "$server") - server0)) / 1000000))
    fi
    ms=$(sed -n 's/^peer_ms //p' <<<"$out")
    code=$(sed -n 's/^exit_code //p' <<<"$out")
    if [ -z "$ms" ] || [ "$code" != 0 ]; then
        echo "$command ($prefix) failed: $out" >&2
        status=1
    else
        ms=$((ms + $(sync_ms)))
        if ! tree_complete "$drive/$dest" "$manifest"; then
            echo "$command ($prefix) did not write every file at its size" >&2
            status=1
        fi
    fi
    [ $status -eq 0 ] && echo "$ms $cpu"
    set_aside "$drive/$dest"
    return $status
}

run_nsis_packed() {
    run_peer "$1" "$(windows_path "$bench_peers/nsis-packed.exe") /S /D=C:\\korva-nsis-packed" \
        "C:\\" korva-nsis-packed "$2"
}

run_nsis_from_cd() {
    run_peer "$1" "$(windows_path "$3/nsis-cd.exe") /S /D=C:\\korva-nsis-cd" \
        "$(windows_path "$3")" korva-nsis-cd "$2"
}

run_msi() {
    local prefix=$1 status=0
    run_peer "$prefix" "msiexec /i $(windows_path "$bench_peers/korva.msi") /qn INSTALLDIR=C:\\korva-msi\\" \
        "C:\\" korva-msi "$2" || status=$?
    # The product is registered: take it out again (its files are gone already), untimed.
    KORVA_PREFIX=$prefix "$KORVA_TEST_BUILD/wine-run" "$KORVA_TEST_BUILD/bench/peer_run.exe" 'C:\' \
        "msiexec /x {$bench_msi_product} /qn" >/dev/null 2>&1 || true
    set_aside "$KORVA_PREFIXES/$prefix/drive_c/korva-msi"
    return $status
}

run_cp() {
    local manifest=$2 drive=$KORVA_PREFIXES/$1/drive_c start end group0 cpu='-' sources
    mapfile -t sources < <(printf '%s\n' "$3/cd_ita/italia" "$3/cd_ita/sicilia"; awk -F'\t' '$2 !~ /\// {print $3}' "$manifest")
    set_aside "$drive/korva-cp"
    mkdir -p "$drive/korva-cp" && sync
    group0=$(group_ns)
    start=$(date +%s%N)
    cp -r "${sources[@]}" "$drive/korva-cp/" && sync
    end=$(date +%s%N)
    [ -n "$bench_group" ] && cpu=$((($(group_ns) - group0) / 1000000))
    set_aside "$drive/korva-cp"
    echo "$(((end - start) / 1000000)) $cpu"
}
