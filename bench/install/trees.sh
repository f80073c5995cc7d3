# The install benchmark's CD and the trees the contenders write: making the CD, the list of
# files a complete installation writes, and the check that a tree holds every one of them at
# its size. Sourced by bench/install.sh.

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
# contender: without a journal, ext4 does not give out again an inode freed in the last minute
# (the last six while its inode table is not yet written out), and passes over each such inode
# one by one whenever it allocates one. Every file created after a deleted tree of thousands
# costs more the more files were deleted: 10,000 files copied right after 10,000 were deleted
# took two to four times as long.
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

# Deletes what is given and waits until the file system gives out new inodes at full speed
# again (see set_aside): the deletion written out, and the minute of freed inodes over.
delete_and_settle() {
    rm -rf "$@"
    sync
    sleep 60
}
