#!/usr/bin/env bash
# check_install.sh tree|desktop BUILD_DIR: installs the build into a scratch DESTDIR, below a
# prefix with spaces in it, and checks what landed there.
#   tree:    exactly the expected files with their modes, the program link relative and
#            leading to the program, the data beside it, the icons each of its own size.
#   desktop: the desktop entry, the AppStream listing and the manual page pass the
#            validators a distribution runs, the entry names the installed icon and program,
#            and the scalable icon shows the same picture as the largest PNG.
# Every failure is reported before the script exits 1; 77 (skipped) when a tool is missing.
set -uo pipefail

mode=$1
build=$2
id=org.example.snugbox.Snugbox
case $mode in
    tree) tools=(identify) ;;
    desktop) tools=(desktop-file-validate appstreamcli groff rsvg-convert compare) ;;
    *) echo "usage: $0 tree|desktop BUILD_DIR" >&2; exit 2 ;;
esac
for tool in "${tools[@]}"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIPPED: $tool is not installed (scripts/install-deps.sh test installs it)"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="/opt/snug box"
root="$work/dest$prefix"
DESTDIR="$work/dest" cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log"; echo "FAILED: cmake --install"; exit 1; }

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

check_tree() {
    local expected actual size icon found
    expected=$(
        echo "l bin/snugbox -> ../lib/snugbox/snugbox"
        echo "f 755 lib/snugbox/snugbox"
        for name in ALLPIECES.PDAT ALLPICDATA.BMP BGIMG.BMP Snugbox.htm; do echo "f 644 lib/snugbox/$name"; done
        for size in 16 24 32 48 64 128 256; do
            echo "f 644 lib/snugbox/snugbox-$size.png"
            echo "f 644 share/icons/hicolor/${size}x$size/apps/$id.png"
        done
        echo "f 644 share/icons/hicolor/scalable/apps/$id.svg"
        echo "f 644 share/applications/$id.desktop"
        echo "f 644 share/metainfo/$id.metainfo.xml"
        echo "f 644 share/man/man6/snugbox.6.gz"
        echo "f 644 share/doc/snugbox/copyright"
        echo "f 644 share/doc/snugbox/changelog.gz"
    )
    actual=$(cd "$root" && find . -mindepth 1 \( -type l -printf 'l %P -> %l\n' \) -o \( -type f -printf 'f %m %P\n' \) \
        -o \( -type d ! -perm 755 -printf 'd %m %P\n' \) -o \( ! -type d -printf '? %P\n' \))
    diff <(sort <<<"$expected") <(sort <<<"$actual") >"$work/tree.diff" ||
        fail "the installed tree differs (< expected, > installed):
$(sed 's/^/  /' "$work/tree.diff")"

    [[ $(readlink -f "$root/bin/snugbox") == "$root/lib/snugbox/snugbox" ]] ||
        fail "bin/snugbox does not lead to the program: $(readlink "$root/bin/snugbox")"
    for name in ALLPIECES.PDAT ALLPICDATA.BMP BGIMG.BMP Snugbox.htm; do
        cmp -s "$root/lib/snugbox/$name" "$(dirname "$0")/../../data/$name" || fail "lib/snugbox/$name is not data/$name"
    done
    for size in 16 24 32 48 64 128 256; do
        for icon in "share/icons/hicolor/${size}x$size/apps/$id.png" "lib/snugbox/snugbox-$size.png"; do
            found=$(identify -format '%wx%h' "$root/$icon" 2>/dev/null)
            [[ $found == "${size}x$size" ]] || fail "$icon is ${found:-no picture}"
        done
    done
}

appstream_clean() { [[ $1 -eq 0 ]] && ! grep -q '^ *[EW]:' <<<"$2"; }

# Validators print warnings and still succeed, so their output must be empty, or infos only.
check_desktop() {
    local entry="$root/share/applications/$id.desktop" output icon program differing
    output=$(desktop-file-validate "$entry" 2>&1) || true
    [[ -z $output ]] || fail "desktop-file-validate: $output"

    output=$(appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml" 2>&1)
    appstream_clean $? "$output" || fail "appstreamcli validate: $output"
    # The tree as a software centre reads it: the listing with its desktop entry.
    output=$(appstreamcli validate-tree --no-net "$root" 2>&1)
    appstream_clean $? "$output" || fail "appstreamcli validate-tree: $output"

    output=$(zcat "$root/share/man/man6/snugbox.6.gz" | LC_ALL=C.UTF-8 groff -man -ww -z 2>&1)
    [[ -z $output ]] || fail "groff -man -ww: $output"

    icon=$(sed -n 's/^Icon=//p' "$entry")
    [[ -f $root/share/icons/hicolor/256x256/apps/$icon.png && -f $root/share/icons/hicolor/scalable/apps/$icon.svg ]] ||
        fail "the entry's icon $icon is not installed"
    program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    [[ -L $root/bin/$program ]] || fail "the entry starts $program, which is not in bin/"

    # Edges are antialiased differently by the two renderers; a wrong colour, shape or
    # gradient differs over thousands of the 65536 pixels.
    rsvg-convert -w 256 -h 256 "$root/share/icons/hicolor/scalable/apps/$id.svg" -o "$work/scalable.png" ||
        fail "rsvg-convert cannot draw the scalable icon"
    differing=$(compare -fuzz 10% -metric AE "$work/scalable.png" "$root/share/icons/hicolor/256x256/apps/$id.png" null: 2>&1)
    [[ $differing =~ ^[0-9]+$ ]] && ((differing < 650)) ||
        fail "the scalable icon differs from the 256 px one in $differing pixels"
}

"check_$mode"
((failures == 0)) || exit 1
echo "install ($mode): all checks passed"
