# Installation throughput: a complete installation of a large CD under Wine, against
#  - the floors the platform allows for the same files: the plainest copy loop (read whole,
#    write whole: what the whole-file copy does on NT) and a plain VerInstallFileA loop with
#    the installer's flags (what the Windows 95 family's copy is defined to be);
#  - installers people use, built here from the same file list with Debian's tools: NSIS with
#    its files packed into the installer (compression off), NSIS copying from the CD at install
#    time (CopyFiles), and Windows Installer (an MSI made by wixl, run by msiexec /qn);
#  - `cp -r` for scale.
# Every contender runs once in every round, in an order that turns from round to round, so
# that a drift of this shared machine falls on all of them alike; a ratio is the median of the
# ratios of the rounds, and is trusted only when its rounds agree. Times are wall times with
# the write-out of the data (sync) added; the processor time is that of the programs and of
# Wine's server. Sourced by bench/run.
#
# Settings: KORVA_BENCH_CD_MB, KORVA_BENCH_CD_FILES (size of the CD), KORVA_BENCH_ROUNDS,
# KORVA_BENCH_PREFIXES (the prefixes raced against the peers, "nt win95" by default; win10 too
# if named).
source "$KORVA_ROOT/bench/install/trees.sh"
source "$KORVA_ROOT/bench/install/peers.sh"
source "$KORVA_ROOT/bench/install/contenders.sh"

# --- Rounds -------------------------------------------------------------------------------

# Runs the contenders named in "$@" (each "key:command...") for KORVA_BENCH_ROUNDS rounds,
# beginning each round one contender further on. Appends each result to bench_wall[key] and
# bench_cpu[key] ("-" for a failed run) and prints each round as it ends.
declare -A bench_wall bench_cpu
run_rounds() {
    local label=$1
    shift
    local contenders=("$@") count=$# round i key result line
    for round in $(seq 1 "$KORVA_BENCH_ROUNDS"); do
        line="round $round ($label, load $(load_average)):"
        for i in $(seq 0 $((count - 1))); do
            local entry=${contenders[$(((i + round - 1) % count))]}
            key=${entry%%:*}
            if result=$(eval "${entry#*:}"); then
                bench_wall[$key]+="${result% *} "
                bench_cpu[$key]+="${result#* } "
                line+=" $key ${result% *}/${result#* }"
            else
                bench_wall[$key]+="- "
                bench_cpu[$key]+="- "
                line+=" $key failed"
            fi
        done
        echo "$line" >&2
    done
}

# The reference of a race, round by round, into race_wall and race_cpu: contender $1's
# lists, or with $1 "fastest" the fastest of the contenders named in $2... in each round.
race_reference() {
    if [ "$1" != fastest ]; then
        race_wall=${bench_wall[$1]} race_cpu=${bench_cpu[$1]}
        return
    fi
    shift
    local lists=() peer fastest
    for peer in "$@"; do
        lists+=("${bench_wall[$peer]}" "${bench_cpu[$peer]}")
    done
    fastest=$(round_fastest "${lists[@]}")
    race_wall=$(sed -n 1p <<<"$fastest") race_cpu=$(sed -n 2p <<<"$fastest")
}

# ROW of figure $1 for contender $2 against reference $3 (a key, or "fastest" with the peers'
# keys in $6...), reference name $4 and target $5, in wall time.
race_row() {
    local figure=$1 key=$2 name=$4 target=$5 race_wall race_cpu
    race_reference "$3" "${@:6}"
    echo "ROW|$figure|$(time_cell "${bench_wall[$key]}" "${bench_cpu[$key]}")|$name $(time_cell "$race_wall" "$race_cpu")|$(ratio_cells "$(round_ratios "${bench_wall[$key]}" "$race_wall")" "$target")"
}

# The same as race_row, and below it the same race in processor time (the programs' and
# Wine's server's), which waiting for the disk or for a processor the machine gave to others
# does not stretch.
race_rows() {
    race_row "$@"
    local key=$2 name=$4 target=$5 race_wall race_cpu
    race_reference "$3" "${@:6}"
    echo "ROW|  the same in processor time|$(time_cell "${bench_cpu[$key]}")|$name $(time_cell "$race_cpu")|$(ratio_cells "$(round_ratios "${bench_cpu[$key]}" "$race_cpu")" "$target")"
}

bench_install() {
    local megabytes=${KORVA_BENCH_CD_MB:-200} files=${KORVA_BENCH_CD_FILES:-5000}
    local twice=$((files * 2)) prefixes=(${KORVA_BENCH_PREFIXES:-nt win95})
    : "${KORVA_BENCH_ROUNDS:=5}"
    local cd=$KORVA_BENCH_WORK/large-cd cd2=$KORVA_BENCH_WORK/large-cd-$twice
    bench_peers=$KORVA_BENCH_WORK/peers bench_aside=$KORVA_BENCH_WORK/set-aside
    if [ -e "$bench_aside" ] || [ -e "$cd" ] || [ -e "$cd2" ]; then
        say "deleting what an interrupted run left, then a minute for the file system to settle"
        delete_and_settle "$bench_aside" "$cd" "$cd2"
    fi
    mkdir -p "$bench_aside"
    make_bench_cd "$cd" "$megabytes" "$files"
    make_bench_cd "$cd2" "$megabytes" "$twice"
    mkdir -p "$bench_peers"
    cat $(find "$cd" "$cd2" -type f) >/dev/null # every run starts from a warm cache
    open_cpu_group
    [ -n "$bench_group" ] || say "no control group could be made: the peers' processor times are not printed"

    # A warm-up run of the installation gives the list of files the others install.
    say "warm-up installation in the NT prefix: the list of the files it writes"
    local manifest=$bench_peers/files.txt manifest2=$bench_peers/files-$twice.txt
    run_ours nt "$cd" "" keep >/dev/null &&
        write_manifest "$cd" "$KORVA_PREFIXES/nt/drive_c/korva-bench" "$manifest" || return
    run_ours nt "$cd2" "" keep >/dev/null &&
        write_manifest "$cd2" "$KORVA_PREFIXES/nt/drive_c/korva-bench" "$manifest2" || return
    set_aside "$KORVA_PREFIXES/nt/drive_c/korva-bench"
    say "$(wc -l <"$manifest") files in $((megabytes)) MB; making the peer installers"
    # The peers take minutes to build: they are kept for the next run while the file list, the
    # CD maker and the script that builds them stay the same.
    local key
    key=$(cat "$manifest" "$KORVA_HOST_BUILD/tools/mkcd" "$KORVA_ROOT/bench/install/peers.sh" |
        md5sum | cut -d' ' -f1)
    if [ "$(cat "$bench_peers/built-for" 2>/dev/null)" != "$key" ]; then
        rm -f "$bench_peers/built-for" "$bench_peers"/*.exe "$bench_peers"/*.msi
        build_nsis_packed "$manifest" "$bench_peers/nsis-packed.exe" || echo "NSIS (packed) could not be built" >&2
        build_nsis_from_cd "$manifest" "$cd" "$bench_peers/nsis-cd.exe" || echo "NSIS (from the CD) could not be built" >&2
        build_msi "$manifest" "$bench_peers/korva.msi" || echo "the MSI could not be built" >&2
        echo "$key" >"$bench_peers/built-for"
    else
        say "the peer installers of the last run fit this CD: used again"
    fi
    # The installer that copies from the CD lies in the CD's root.
    [ -f "$bench_peers/nsis-cd.exe" ] && cp "$bench_peers/nsis-cd.exe" "$cd/nsis-cd.exe"

    local size="${megabytes} MB in ${files} files" prefix name peers
    for prefix in "${prefixes[@]}"; do
        case "$prefix" in
            win95) name="Windows 95" ;;
            win10) name="Windows 10" ;;
            *) name=NT ;;
        esac
        local contenders=("$prefix-copy:run_floor $prefix '' '$cd' '$manifest'"
            "$prefix-ours:run_ours $prefix '$cd' '$manifest'"
            "$prefix-nsis-packed:run_nsis_packed $prefix '$manifest'"
            "$prefix-nsis-cd:run_nsis_from_cd $prefix '$manifest' '$cd'"
            "$prefix-msi:run_msi $prefix '$manifest'")
        [ "$prefix" = win95 ] && contenders+=("$prefix-version:run_floor $prefix --version-install '$cd' '$manifest'")
        if [ "$prefix" = nt ]; then
            contenders+=("cp:run_cp nt '$manifest' '$cd'"
                "nt-copy-$twice:run_floor nt '' '$cd2' '$manifest2'"
                "nt-ours-$twice:run_ours nt '$cd2' '$manifest2'")
        fi
        say "$name: ${KORVA_BENCH_ROUNDS} rounds of ${#contenders[@]} contenders"
        run_rounds "$prefix" "${contenders[@]}"
        peers=("$prefix-nsis-packed" "$prefix-nsis-cd" "$prefix-msi")
        if [ "$prefix" = win95 ]; then
            race_rows "$name: install, $size" "$prefix-ours" "$prefix-version" "VerInstallFileA loop" "at most 1.1"
            race_row "$name: install, $size" "$prefix-ours" "$prefix-copy" "copy loop" \
                "none (the defined copy here is the version installation)"
            race_row "$name: install, $size" "$prefix-ours" fastest "fastest peer" "none (for comparison)" "${peers[@]}"
        else
            race_rows "$name: install, $size" "$prefix-ours" "$prefix-copy" "copy loop" "at most 1.1"
            race_rows "$name: install, $size" "$prefix-ours" fastest "fastest peer" "at most 0.8" "${peers[@]}"
        fi
        race_row "$name: install vs NSIS packed" "$prefix-ours" "$prefix-nsis-packed" "NSIS packed" "-"
        race_row "$name: install vs NSIS from the CD" "$prefix-ours" "$prefix-nsis-cd" "NSIS from CD" "-"
        race_row "$name: install vs MSI" "$prefix-ours" "$prefix-msi" "msiexec" "-"
        if [ "$prefix" = nt ]; then
            race_rows "NT: install, ${megabytes} MB in ${twice} files" "nt-ours-$twice" "nt-copy-$twice" "copy loop" "at most 1.1"
            race_rows "NT: copy loop, ${twice} vs ${files} files" "nt-copy-$twice" "nt-copy" "${files} files" \
                "none (2.0 when the cost per file is flat)"
            race_rows "NT: install, ${twice} vs ${files} files" "nt-ours-$twice" "nt-ours" "${files} files" \
                "none (2.0 or less when the cost per file is flat)"
            race_row "NT: copy loop, $size" "nt-copy" "cp" "cp -r" \
                "none (Wine's cost per file: 6 server requests, and each open has the server resolve every component of the path)"
        fi
    done
    close_cpu_group
    # Written out, so that what runs next is slowed for a minute at most.
    rm -rf "$cd" "$cd2" "$bench_aside"
    sync
}

