#!/bin/sh
# pictool as a user runs it: pictures described, converted through every kind and back
# without loss, reduced to 16 colours, and refused with clear messages.
# Usage: pictool_test.sh PICTOOL CONVERT
set -eu
pictool=$1
convert=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
# The pixels as ImageMagick reads them: an independent decoder.
same_pixels() {
    "$convert" "$1" rgb:"$dir/a.rgb"
    "$convert" "$2" rgb:"$dir/b.rgb"
    cmp -s "$dir/a.rgb" "$dir/b.rgb" || fail "$1 and $2 differ in their pixels"
}

"$convert" -size 61x17 gradient:red-blue "BMP3:$dir/rgb.bmp"
"$convert" -seed 7 -size 61x17 plasma:fractal -type Palette -compress none "BMP3:$dir/pal.bmp"

for picture in rgb pal; do
    src=$dir/$picture.bmp
    "$pictool" convert "$src" "$dir/$picture.k0.bmp" --kind 0
    same_pixels "$src" "$dir/$picture.k0.bmp"
    for kind in 1 2 3; do
        "$pictool" convert "$src" "$dir/$picture.k$kind" --kind $kind
        "$pictool" convert "$dir/$picture.k$kind" "$dir/$picture.back$kind.bmp" --kind 0
        same_pixels "$src" "$dir/$picture.back$kind.bmp"
    done
    # Kinds 1 and 2 keep every header field: back to the same bytes.
    cmp -s "$dir/$picture.k0.bmp" "$dir/$picture.back1.bmp" || fail "$picture: kind 1 changed the file"
    cmp -s "$dir/$picture.k0.bmp" "$dir/$picture.back2.bmp" || fail "$picture: kind 2 changed the file"
done

info=$("$pictool" info "$dir/pal.k2")
echo "$info" | grep -qx 'format: RM bitmap (run-length coded)' || fail "info: $info"
echo "$info" | grep -qx 'size: 61x17' || fail "info: $info"
echo "$info" | grep -qx 'depth: 8' || fail "info: $info"
info=$("$pictool" info "$dir/rgb.k3")
echo "$info" | grep -qx 'format: PM bitmap' || fail "info: $info"
echo "$info" | grep -qx 'depth: 24' || fail "info: $info"
echo "$info" | grep -qx 'colours: 0' || fail "info: $info"

# Sixteen colours from an 8-bit picture; refused for a true-colour one.
"$pictool" convert "$dir/pal.bmp" "$dir/pal16.bmp" --kind 0 --16
info=$("$pictool" info "$dir/pal16.bmp")
echo "$info" | grep -qx 'depth: 4' || fail "--16: $info"
echo "$info" | grep -qx 'colours: 16' || fail "--16: $info"
"$convert" "$dir/pal16.bmp" "$dir/pal16.png" || fail "ImageMagick cannot read the 16-colour file"
if "$pictool" convert "$dir/rgb.bmp" "$dir/rgb16.bmp" --kind 0 --16 2>"$dir/err"; then
    fail "--16 of a 24-bit picture succeeded"
fi
grep -q 'needs an 8-bit picture' "$dir/err" || fail "--16 message: $(cat "$dir/err")"
grep -q 'cannot write .*rgb16.bmp: error -2$' "$dir/err" || fail "--16 code: $(cat "$dir/err")"
[ ! -e "$dir/rgb16.bmp" ] || fail "a refused conversion left a file"

# GIF and TIFF files are read too, and written as bitmaps without loss.
"$convert" "$dir/pal.bmp" "$dir/pal.gif"
"$convert" "$dir/rgb.bmp" -compress lzw "$dir/rgb.tif"
info=$("$pictool" info "$dir/pal.gif")
echo "$info" | grep -qx 'format: GIF' || fail "info: $info"
echo "$info" | grep -qx 'size: 61x17' || fail "info: $info"
info=$("$pictool" info "$dir/rgb.tif")
echo "$info" | grep -qx 'format: TIFF (LZW)' || fail "info: $info"
echo "$info" | grep -qx 'depth: 24' || fail "info: $info"
"$pictool" convert "$dir/pal.gif" "$dir/gif.k2" --kind 2
"$pictool" convert "$dir/gif.k2" "$dir/gif.bmp" --kind 0
same_pixels "$dir/pal.gif" "$dir/gif.bmp"
"$pictool" convert "$dir/rgb.tif" "$dir/tif.bmp" --kind 0
same_pixels "$dir/rgb.tif" "$dir/tif.bmp"

# Failures name the library's code and text.
expect_error() {
    if "$pictool" info "$1" 2>"$dir/err"; then
        fail "info $1 succeeded"
    fi
    grep -q "$2" "$dir/err" || fail "info $1: $(cat "$dir/err")"
}
expect_error "$dir/missing.bmp" 'error -1: FILE NOT FOUND'
printf 'BM345678901\n' >"$dir/short.bmp"
expect_error "$dir/short.bmp" 'error -2: NOT DIB'
printf 'just some text, not a picture\n' >"$dir/text.bmp"
expect_error "$dir/text.bmp" 'error -3: Invalid format$'
# A GIF whose image data are cut off is reported by the GIF reader, not by the TIFF reader.
head -c -20 "$dir/pal.gif" >"$dir/cut.gif"
expect_error "$dir/cut.gif" 'error -2: ERROR ON READ FROM FILE$'

# Bad arguments: usage and status 2.
for args in "" "info" "convert $dir/pal.bmp $dir/x.bmp" "convert $dir/pal.bmp $dir/x.bmp --kind 4" \
    "convert $dir/pal.bmp $dir/x.bmp --kind" "convert $dir/pal.bmp $dir/x.bmp --kind 1 --fast" \
    "resize $dir/pal.bmp"; do
    status=0
    # shellcheck disable=SC2086
    "$pictool" $args 2>"$dir/err" || status=$?
    [ "$status" -eq 2 ] || fail "'$args' gave status $status"
    grep -q '^usage: pictool' "$dir/err" || fail "'$args' printed no usage"
done
echo "pictool: all checks passed"
