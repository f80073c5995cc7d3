# Decoders: the image library's GIF, TIFF and bitmap readers against giflib, libtiff and
# stb_image on the same pictures, decoded many times from memory; speed in MB of input file
# per second of wall time, and per second of processor time in the row below, the median of
# seven rounds, each round both readers of every case; the ratio is the median of the rounds'
# ratios, trusted only when they agree and the readers had the processor to themselves. The
# readers are compiled for this in a build of their own (build/bench-host: -O2, no sanitizers,
# no fuzzer coverage), as the host tree instruments everything it builds. Sourced by bench/run.
bench_decoders() {
    local source=$KORVA_ROOT/bench/decoders build=$KORVA_BUILD/bench-host
    local work=$KORVA_BENCH_WORK/decoders convert=/usr/bin/convert
    local size=${KORVA_BENCH_PICTURE:-2048x1536} log=$KORVA_BUILD/logs/bench-host.log
    say "building the decoder benchmark (optimised, no sanitizers) in $build"
    mkdir -p "$(dirname "$log")"
    if ! { cmake -S "$source" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" &&
        cmake --build "$build"; } >"$log" 2>&1; then
        tail -20 "$log"
        echo "ROW|decoders|build failed|-|-|at least 1.2"
        return
    fi
    if [ ! -x "$build/decoders_bench" ]; then
        echo "ROW|decoders|not built: no giflib, libtiff or stb_image|-|-|at least 1.2"
        return
    fi

    say "making ${size} pictures in $work"
    rm -rf "$work" && mkdir -p "$work"
    # A natural picture (a fractal plasma) and a drawing of flat areas and lines, both the
    # same at every run.
    "$convert" -seed 1998 -size "$size" plasma:fractal -depth 8 -type TrueColor "$work/photo.ppm"
    local width=${size%x*} height=${size#*x} draw=() i
    RANDOM=1998
    for i in $(seq 60); do
        draw+=(-fill "rgb($((RANDOM % 256)),$((RANDOM % 256)),$((RANDOM % 256)))"
            -draw "rectangle $((RANDOM % width)),$((RANDOM % height)) $((RANDOM % width)),$((RANDOM % height))")
    done
    for i in $(seq 200); do
        draw+=(-stroke "rgb($((RANDOM % 256)),$((RANDOM % 256)),$((RANDOM % 256)))" -strokewidth $((1 + RANDOM % 6))
            -draw "line $((RANDOM % width)),$((RANDOM % height)) $((RANDOM % width)),$((RANDOM % height))")
    done
    "$convert" -size "$size" xc:'rgb(240,234,216)' +antialias "${draw[@]}" -depth 8 -type TrueColor "$work/drawing.ppm"
    "$convert" "$work/photo.ppm" -colors 256 "GIF:$work/photo.gif"
    "$convert" "$work/drawing.ppm" -colors 256 "GIF:$work/drawing.gif"
    "$convert" "$work/photo.ppm" -type TrueColor -compress None "TIFF:$work/rgb.tif"
    "$convert" "$work/photo.ppm" -type TrueColor -compress LZW "TIFF:$work/rgb-lzw.tif"
    "$convert" "$work/drawing.gif" -type Palette -compress LZW "TIFF:$work/palette-lzw.tif"
    # The bitmaps by the project's own picture tool.
    "$KORVA_HOST_BUILD/tools/pictool" convert "$work/photo.gif" "$work/photo8.bmp" --kind 0 >/dev/null
    "$KORVA_HOST_BUILD/tools/pictool" convert "$work/rgb.tif" "$work/photo24.bmp" --kind 0 >/dev/null

    local coded="at least 1.2" plain="at least 1.0"
    "$build/decoders_bench" \
        "GIF 8-bit photo $size vs giflib" "$coded" gif giflib "$work/photo.gif" \
        "GIF 8-bit drawing $size vs giflib" "$coded" gif giflib "$work/drawing.gif" \
        "GIF 8-bit photo $size vs stb_image" "$plain" gif stb "$work/photo.gif" \
        "TIFF 24-bit uncompressed vs libtiff" "none (libtiff hands out the strips as they are)" \
        tiff libtiff "$work/rgb.tif" \
        "TIFF 24-bit uncompressed vs libtiff + DIB rows" "$plain" tiff libtiff+rows "$work/rgb.tif" \
        "TIFF 24-bit LZW photo vs libtiff" "$coded" tiff libtiff "$work/rgb-lzw.tif" \
        "TIFF 8-bit palette LZW drawing vs libtiff" "$coded" tiff libtiff "$work/palette-lzw.tif" \
        "BMP 8-bit photo $size vs stb_image" "$plain" bmp stb "$work/photo8.bmp" \
        "BMP 24-bit photo $size vs stb_image" "$plain" bmp stb "$work/photo24.bmp" |
        while IFS= read -r line; do
            echo "$line"
            [[ "$line" == RACE\|* ]] || continue
            local figure target disturbed ours theirs ours_cpu theirs_cpu ours_share theirs_share
            IFS='|' read -r _ figure target disturbed ours theirs ours_cpu theirs_cpu ours_share theirs_share <<<"$line"
            local why=''
            [ "$disturbed" -gt 0 ] && why="$disturbed of its rounds off the processor over a tenth of the time"
            echo "ROW|$figure|$(rate_cell "$ours" "$ours_share")|$(rate_cell "$theirs" "$theirs_share")|$(ratio_cells "$(round_ratios "$ours" "$theirs")" "$target" 5 "$why")"
            # The same race in processor time, which the machine's other work does not stretch.
            echo "ROW|  the same in processor time|$(rate_cell "$ours_cpu")|$(rate_cell "$theirs_cpu")|$(ratio_cells "$(round_ratios "$ours_cpu" "$theirs_cpu")" "$target")"
        done
}
