#!/bin/sh
# check_tree.sh install|package BUILD EXPECTED VERSION: puts BUILD's files into a scratch
# root, by `cmake --install` or by packing it with `cpack -G DEB` (whose fields and
# dependencies apt must accept) and unpacking the package. The files under /usr must be
# EXPECTED, each icon its size, each manual page a page of its program, and the programs must
# answer --help and --version with no display.
set -eu
mode=$1 build=$2 expected=$3 version=$4
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
usr="$out/root/usr"

if [ "$mode" = install ]; then
    cmake --install "$build" --prefix "$usr" >/dev/null
else
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
        { cat "$out/cpack.log"; fail "cpack"; }
    deb="$out/velmora_${version}_$(dpkg --print-architecture).deb"
    [ -f "$deb" ] || { ls "$out"; fail "no $(basename "$deb")"; }
    [ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
    for library in libc6 libstdc++6 libqt6widgets6 libssl3 libsqlite3-0; do
        dpkg-deb --field "$deb" Depends | grep -q "$library" || fail "Depends lacks $library"
    done
    apt-get install --simulate "$deb" >"$out/apt.log" 2>&1 || { cat "$out/apt.log"; fail "apt"; }
    grep '^Inst velmora ' "$out/apt.log" || { cat "$out/apt.log"; fail "apt would not install it"; }
    dpkg-deb -x "$deb" "$out/root"
fi
(cd "$usr" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) >"$out/list"
diff -u "$expected" "$out/list" || fail "the $mode files differ from $expected"

for png in "$usr"/share/icons/hicolor/*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    file "$png" | grep -q "PNG image data, ${size%x*} x ${size#*x}," || fail "$png is not $size"
done
grep -m1 '<release ' "$usr/share/metainfo/"*.metainfo.xml | grep -q "version=\"$version\"" ||
    fail "the newest release in the metainfo is not $version"
for program in velmora velmora-cli; do
    # A NAME line, the options, and the FILES section.
    for line in "^$program - " '--version' '^\.SH FILES'; do
        zcat "$usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g' | grep -q -- "$line" ||
            fail "$program.1 lacks '$line'"
    done
    # No display, no platform: what help2man and a terminal user see.
    shown=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/$program" --version)
    [ "$shown" = "$program $version" ] || fail "$program --version says '$shown'"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/$program" --help |
        grep -q "^Usage: $program " || fail "$program --help shows no usage"
done
echo "$mode tree complete"
