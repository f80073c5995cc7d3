# The installers people use, built from the list of files a complete installation writes
# with Debian's tools: NSIS (makensis) and Windows Installer (wixl). Sourced by
# bench/install.sh.

# The peers are programs of the same kind as the installer under test: 32-bit ones, or 64-bit
# ones where the Wine tiers run the 64-bit build (this machine runs no 32-bit programs).
nsis_target() {
    if [ "$KORVA_WINE_BITS" = 64 ]; then echo 'Target amd64-unicode'; else echo 'Target x86-unicode'; fi
}
msi_architecture() {
    if [ "$KORVA_WINE_BITS" = 64 ]; then echo x64; else echo x86; fi
}

# NSIS with every file packed into the installer, compression off. $1 manifest, $2 output.
build_nsis_packed() {
    local manifest=$1 out=$2 script=$2.nsi
    {
        printf '%s\nSetCompress off\nName "KORVA bench"\nOutFile "%s"\n' "$(nsis_target)" "$out"
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
        printf '%s\nName "KORVA bench"\nOutFile "%s"\n' "$(nsis_target)" "$out"
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
    (cd / && wixl -a "$(msi_architecture)" -o "$out" "$source") >"$source.log" 2>&1 || { tail -5 "$source.log" >&2; return 1; }
}
