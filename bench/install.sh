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

# Makes a CD of $2 MB in $3 tiles in directory $1.
make_bench_cd() {
    local cd=$1 megabytes=$2 files=$3
    say "making a ${megabytes} MB CD of ${files} tiles in $cd"
    rm -rf "$cd"
    "$KORVA_HOST_BUILD/tools/mkcd" --out "$cd" $(cat "$KORVA_TEST_BUILD/cd-programs.args") \
        --bitmap-tree "$megabytes,$files" >/dev/null
}

# Windows form of a Unix path (Wine's Z: drive).
windows_path() {
    local path=${1//\//\\}
    echo "Z:$path"
}

# Moves the tree $1, if there is one, out of the way into the benchmark's set-aside directory,
# which is deleted only when the benchmark ends. Deleting it at once would slow the next
# contender: this file system (ext4 without a journal) passes over every inode freed in the last
# minute when it allocates one, so each file created after a deleted tree of thousands would
# cost more the more files were deleted.
set_aside() {
    [ -e "$1" ] || return 0
    mv "$1" "$(mktemp -d "$bench_aside/XXXXXX")/"
}

# Milliseconds that `sync` takes: the write-out of what the last program wrote.
sync_ms() {
    local start end
    start=$(date +%s%N)
    sync
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

# The files a complete installation from CD $1 wrote into directory $2, as lines
# "size<TAB>path in the installation<TAB>source on the CD" (the size being the source's), into
# file $3. The program files come from the CD's root, the areas' from the edition's directory.
write_manifest() {
    local cd=$1 installed=$2 manifest=$3 path source
    : >"$manifest"
    while IFS= read -r path; do
        source=$cd/$path
        [ -f "$source" ] || source=$cd/cd_ita/$path
        if [ ! -f "$source" ]; then
            echo "install benchmark: no source on the CD for $path" >&2
            return 1
        fi
        printf '%s\t%s\t%s\n' "$(stat -c %s "$source")" "$path" "$source" >>"$manifest"
    done < <(cd "$installed" && find . -type f -printf '%P\n' | sort)
}

# True when directory $1 holds every file of manifest $2 at its size. With $3 "settings", the
# map-set files (*.vgr), which the installation writes its settings into, need only be there.
tree_complete() {
    local dir=$1 manifest=$2 settings=${3:-} missing
    missing=$(awk -F'\t' -v dir="$dir" -v settings="$settings" '
        FNR == NR { have[$2] = $1; next }
        !($2 in have) { print "missing " $2; bad++; next }
        have[$2] != $1 && !(settings == "settings" && $2 ~ /\.vgr$/) {
            print "size " have[$2] " instead of " $1 ": " $2; bad++
        }
        END { exit bad > 0 }' <(cd "$dir" 2>/dev/null && find . -type f -printf '%s\t%P\n') "$manifest" |
        head -3) && return 0
    echo "${missing:-nothing written}" >&2
    return 1
}

# --- The installers people use, built from the manifest -------------------------------------

# NSIS with every file packed into the installer, compression off. $1 manifest, $2 output.
build_nsis_packed() {
    local manifest=$1 out=$2 script=$2.nsi
    {
        printf 'Unicode true\nSetCompress off\nName "KORVA bench"\nOutFile "%s"\n' "$out"
        printf 'InstallDir "C:\\korva-nsis"\nRequestExecutionLevel user\nSilentInstall silent\n'
        printf 'Section\n'
        awk -F'\t' '{
            dir = $2; sub(/\/?[^\/]*$/, "", dir); gsub(/\//, "\\", dir)
            if (NR == 1 || dir != last) { printf "SetOutPath \"$INSTDIR%s\"\n", dir == "" ? "" : "\\" dir; last = dir }
            printf "File \"%s\"\n", $3
        }' "$manifest"
        printf 'SectionEnd\n'
    } >"$script"
    makensis -V1 "$script" >"$script.log" 2>&1 || { tail -5 "$script.log" >&2; return 1; }
}

# NSIS that copies from the CD at install time, as a CD installer does: the installer lies in
# the CD's root and copies each directory whose files are all installed with one CopyFiles of
# its "*.*", every other file by itself. $1 manifest, $2 CD, $3 output (to be put in the CD's
# root).
build_nsis_from_cd() {
    local manifest=$1 cd=$2 out=$3 script=$3.nsi
    # Source directories that hold only installed files, all into one directory.
    local whole
    whole=$(awk -F'\t' '{
            src = $3; sub(/\/[^\/]*$/, "", src); dst = $2; sub(/\/?[^\/]*$/, "", dst)
            n[src]++; if (!(src in to)) to[src] = dst; else if (to[src] != dst) mixed[src] = 1
        } END { for (s in n) if (!(s in mixed)) print n[s] "\t" s }' "$manifest" |
        while IFS=$'\t' read -r count dir; do
            [ "$(find "$dir" -mindepth 1 -maxdepth 1 | wc -l)" -eq "$count" ] && echo "$dir"
        done)
    {
        printf 'Unicode true\nName "KORVA bench"\nOutFile "%s"\n' "$out"
        printf 'InstallDir "C:\\korva-nsis"\nRequestExecutionLevel user\nSilentInstall silent\n'
        printf 'Section\n'
        awk -F'\t' -v cd="$cd" -v whole="$whole" 'BEGIN { n = split(whole, w, "\n"); for (i = 1; i <= n; i++) all[w[i]] = 1 }
            function win(p) { gsub(/\//, "\\", p); return p }
            {
                src = $3; sub(/\/[^\/]*$/, "", src); dst = $2; sub(/\/?[^\/]*$/, "", dst)
                rel = substr(src, length(cd) + 2)
                target = "$INSTDIR" (dst == "" ? "" : "\\" win(dst))
                if (dst != made) { printf "CreateDirectory \"%s\"\n", target; made = dst }
                if (src in all) {
                    if (!(src in done)) printf "CopyFiles /SILENT \"$EXEDIR\\%s\\*.*\" \"%s\"\n", win(rel), target
                    done[src] = 1
                } else {
                    printf "CopyFiles /SILENT \"$EXEDIR\\%s\" \"$INSTDIR\\%s\"\n", win(substr($3, length(cd) + 2)), win($2)
                }
            }' "$manifest"
        printf 'SectionEnd\n'
    } >"$script"
    makensis -V1 "$script" >"$script.log" 2>&1 || { tail -5 "$script.log" >&2; return 1; }
}

# Windows Installer: one component per file, the files in a cabinet inside the package, as
# wixl makes it (it finds sources relative to its working directory: it runs in /). $1
# manifest, $2 output.
bench_msi_product=4B0A98D0-0304-4000-8000-000000000001
build_msi() {
    local manifest=$1 out=$2 source=$2.wxs
    {
        printf '<?xml version="1.0" encoding="utf-8"?>\n'
        printf '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">\n'
        printf '<Product Id="%s" Name="KORVA bench" Language="1033" Version="3.4.0" Manufacturer="bench" UpgradeCode="4B0A98D0-0304-4000-8000-000000000002">\n' "$bench_msi_product"
        printf '<Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"/>\n'
        printf '<Media Id="1" Cabinet="files.cab" EmbedCab="yes"/>\n'
        printf '<Directory Id="TARGETDIR" Name="SourceDir"><Directory Id="INSTALLDIR" Name="korva-msi">\n'
        # The files sorted by directory; each directory opened once, as a nest of elements.
        awk -F'\t' '
            function esc(s) { gsub(/&/, "\\&amp;", s); gsub(/"/, "\\&quot;", s); return s }
            {
                path = $2; file = path; sub(/^.*\//, "", file); dir = path; sub(/\/?[^\/]*$/, "", dir)
                depth = dir == "" ? 0 : split(dir, part, "/")
                # Close what the new directory does not share with the open one.
                common = 0
                while (common < depth && common < open && part[common + 1] == opened[common + 1]) common++
                for (; open > common; open--) print "</Directory>"
                for (; open < depth; open++) {
                    opened[open + 1] = part[open + 1]
                    printf "<Directory Id=\"d%d\" Name=\"%s\">\n", ++dirs, esc(part[open + 1])
                }
                printf "<Component Id=\"c%d\" Guid=\"4B0A98D0-0304-4000-9000-%012d\"><File Id=\"f%d\" Name=\"%s\" Source=\"%s\" KeyPath=\"yes\"/></Component>\n", NR, NR, NR, esc(file), esc(substr($3, 2))
            }
            END { for (; open > 0; open--) print "</Directory>" }' \
            <(awk -F'\t' '{ d = $2; sub(/\/?[^\/]*$/, "", d); print d "\t" $0 }' "$manifest" | sort -t$'\t' -k1,1 -s | cut -f2-)
        printf '</Directory></Directory>\n<Feature Id="Files" Level="1">\n'
        awk '{ printf "<ComponentRef Id=\"c%d\"/>\n", NR }' "$manifest"
        printf '</Feature>\n</Product>\n</Wix>\n'
    } >"$source"
    (cd / && wixl -a x86 -o "$out" "$source") >"$source.log" 2>&1 || { tail -5 "$source.log" >&2; return 1; }
}

# --- The contenders; each prints "wall_ms cpu_ms" (cpu "-" when unknown) or fails ----------

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

# ROW of figure $1 for contender $2 against reference $3 (a key, or "fastest peer" with the
# peers' keys in $6...), reference name $4 and target $5.
race_row() {
    local figure=$1 key=$2 reference=$3 name=$4 target=$5 reference_wall reference_cpu
    shift 5
    if [ "$reference" = fastest ]; then
        local lists=() peer fastest
        for peer in "$@"; do
            lists+=("${bench_wall[$peer]}" "${bench_cpu[$peer]}")
        done
        fastest=$(round_fastest "${lists[@]}")
        reference_wall=$(sed -n 1p <<<"$fastest")
        reference_cpu=$(sed -n 2p <<<"$fastest")
    else
        reference_wall=${bench_wall[$reference]}
        reference_cpu=${bench_cpu[$reference]}
    fi
    local cells
    cells=$(ratio_cells "$(round_ratios "${bench_wall[$key]}" "$reference_wall")" "$target")
    echo "ROW|$figure|$(time_cell "${bench_wall[$key]}" "${bench_cpu[$key]}")|$name $(time_cell "$reference_wall" "$reference_cpu")|$cells"
    # The same race in processor time (the programs' and Wine's server's), which waiting for
    # the disk or for a processor the machine gave to others does not stretch.
    # (Not against cp, which has no server to count.)
    if [ "$reference" != cp ] && [ "$(count_rounds ${bench_cpu[$key]})" -gt 0 ] &&
        [ "$(count_rounds $reference_cpu)" -gt 0 ]; then
        cells=$(ratio_cells "$(round_ratios "${bench_cpu[$key]}" "$reference_cpu")" "$target")
        echo "ROW|  the same in processor time|$(time_cell "${bench_cpu[$key]}")|$name $(time_cell "$reference_cpu")|$cells"
    fi
}

bench_install() {
    local megabytes=${KORVA_BENCH_CD_MB:-200} files=${KORVA_BENCH_CD_FILES:-5000}
    local twice=$((files * 2)) prefixes=(${KORVA_BENCH_PREFIXES:-nt win95})
    : "${KORVA_BENCH_ROUNDS:=5}"
    local cd=$KORVA_BENCH_WORK/large-cd cd2=$KORVA_BENCH_WORK/large-cd-$twice
    bench_peers=$KORVA_BENCH_WORK/peers bench_aside=$KORVA_BENCH_WORK/set-aside
    rm -rf "$bench_aside" && mkdir -p "$bench_aside"
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
    # CD maker and this script stay the same.
    local key
    key=$(cat "$manifest" "$KORVA_HOST_BUILD/tools/mkcd" "${BASH_SOURCE[0]}" | md5sum | cut -d' ' -f1)
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
        local target_copy="at most 1.1" target_peer="at most 0.8"
        if [ "$prefix" = win95 ]; then
            race_row "$name: install, $size" "$prefix-ours" "$prefix-version" "VerInstallFileA loop" "at most 1.1"
            target_copy="none (the defined copy is the version installation)"
            target_peer="none (for comparison)"
        fi
        race_row "$name: install, $size" "$prefix-ours" "$prefix-copy" "copy loop" "$target_copy"
        race_row "$name: install, $size" "$prefix-ours" fastest "fastest peer" "$target_peer" "${peers[@]}"
        race_row "$name: install vs NSIS packed" "$prefix-ours" "$prefix-nsis-packed" "NSIS packed" "-"
        race_row "$name: install vs NSIS from the CD" "$prefix-ours" "$prefix-nsis-cd" "NSIS from CD" "-"
        race_row "$name: install vs MSI" "$prefix-ours" "$prefix-msi" "msiexec" "-"
        if [ "$prefix" = nt ]; then
            race_row "NT: install, ${megabytes} MB in ${twice} files" "nt-ours-$twice" "nt-copy-$twice" "copy loop" "at most 1.1"
            race_row "NT: copy loop, ${twice} vs ${files} files" "nt-copy-$twice" "nt-copy" "${files} files" \
                "none (2.0 when the cost per file is flat)"
            race_row "NT: install, ${twice} vs ${files} files" "nt-ours-$twice" "nt-ours" "${files} files" \
                "none (2.0 when the cost per file is flat)"
            race_row "NT: install, $size" "nt-ours" "cp" "cp -r" \
                "none (Wine: every open is a server call resolving each path component)"
        fi
    done
    close_cpu_group
    rm -rf "$cd" "$cd2" "$bench_aside"
}
