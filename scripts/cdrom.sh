# The sample CD's disc image mounted read-only for the tests, as a CD in a drive would be.
# Sourced. The tests show the mounted disc to their prefix as a CD-ROM drive themselves;
# what they need to know comes through the environment:
#   KORVA_CDROM          the mount point, when the image is mounted
#   KORVA_CDROM_PROBLEM  otherwise, why not (the tests say so when they skip)
# The mount belongs to one run of ./test: it is made after the build and removed when the
# run ends, however it ends; one left by a run that was killed is removed first.

KORVA_CDROM_MOUNT=$KORVA_BUILD/cdrom

cdrom_is_mounted() {
    local target
    target=$(realpath -m "$KORVA_CDROM_MOUNT")
    awk -v t="$target" '$2 == t { found = 1 } END { exit !found }' /proc/mounts
}

unmount_sample_cd() {
    [ -d "$KORVA_CDROM_MOUNT" ] || return 0
    if cdrom_is_mounted; then
        # Wine has ended by now; a program still holding a file would keep a plain unmount
        # waiting, so the mount is then detached and goes when that program ends.
        umount "$KORVA_CDROM_MOUNT" 2>/dev/null || umount -l "$KORVA_CDROM_MOUNT" 2>/dev/null || true
    fi
    if cdrom_is_mounted; then
        say "could not unmount the sample CD image from $KORVA_CDROM_MOUNT"
        return 1
    fi
    rmdir "$KORVA_CDROM_MOUNT" 2>/dev/null || true
}

# mount_sample_cd IMAGE
mount_sample_cd() {
    local image=$1 log=$KORVA_BUILD/logs/cdrom.log
    unset KORVA_CDROM KORVA_CDROM_PROBLEM
    unmount_sample_cd || true
    if ! [ -f "$image" ]; then
        KORVA_CDROM_PROBLEM="the sample CD image $image was not built"
    elif ! [ -c /dev/fuse ]; then
        KORVA_CDROM_PROBLEM="this machine has no /dev/fuse, so the disc image cannot be mounted"
    elif ! command -v fuseiso >/dev/null; then
        KORVA_CDROM_PROBLEM="fuseiso is missing (Debian package fuseiso)"
    elif [ "$(id -u)" -ne 0 ]; then
        KORVA_CDROM_PROBLEM="mounting the disc image needs root"
    else
        mkdir -p "$KORVA_CDROM_MOUNT" "$(dirname "$log")"
        # fuseiso stays as the mount's server: it must not hold the run's lock (descriptor 9).
        if fuseiso -n "$image" "$KORVA_CDROM_MOUNT" -o ro >"$log" 2>&1 </dev/null 9>&- &&
            cdrom_is_mounted && [ -f "$KORVA_CDROM_MOUNT/setvars.inf" ]; then
            export KORVA_CDROM=$KORVA_CDROM_MOUNT
            say "sample CD image mounted read-only in $KORVA_CDROM_MOUNT"
            return 0
        fi
        KORVA_CDROM_PROBLEM="fuseiso could not mount $image (see $log)"
        unmount_sample_cd || true
    fi
    export KORVA_CDROM_PROBLEM
    say "$KORVA_CDROM_PROBLEM: the CD-ROM scenarios will be skipped"
}
