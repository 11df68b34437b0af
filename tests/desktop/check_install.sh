#!/bin/sh
# check_install.sh BUILD EXPECTED VERSION: installs BUILD into a scratch prefix and lists every
# file there. The list must be EXPECTED, each icon its size, each manual page a page of its
# program, and the installed programs must answer --help and --version with no display.
set -eu
build=$1 expected=$2 version=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$root/usr" >/dev/null
(cd "$root/usr" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort) >"$root/list"
cat "$root/list"
diff -u "$expected" "$root/list" || fail "the installed files differ from $expected"

for png in "$root"/usr/share/icons/hicolor/*/apps/*.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    file "$png" | grep -q "PNG image data, ${size%x*} x ${size#*x}," || fail "$png is not $size"
done
for program in velmora velmora-cli; do
    page=$(zcat "$root/usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
    printf '%s\n' "$page" | grep -q "^$program - " || fail "$program.1 has no NAME line"
    printf '%s\n' "$page" | grep -q -- '--version' || fail "$program.1 lists no options"
    printf '%s\n' "$page" | grep -q '^\.SH FILES' || fail "$program.1 lacks its FILES section"
done
grep -m1 '<release ' "$root/usr/share/metainfo/"*.metainfo.xml | grep -q "version=\"$version\"" ||
    fail "the newest release in the metainfo is not $version"

# No display, no platform: what help2man and a terminal user see.
for program in velmora velmora-cli; do
    shown=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version)
    [ "$shown" = "$program $version" ] || fail "$program --version says '$shown'"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --help |
        grep -q "^Usage: $program " || fail "$program --help shows no usage"
done
echo "installed tree complete"
