#!/bin/sh
# check_package.sh BUILD EXPECTED VERSION: packs BUILD with `cpack -G DEB` into a scratch
# folder, lists the package, which must hold EXPECTED under /usr, and has apt resolve its
# dependencies; then the unpacked velmora-cli must run.
set -eu
build=$1 expected=$2 version=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log"; fail "cpack"; }
deb="$out/velmora_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$out"; fail "no $(basename "$deb")"; }

dpkg-deb --contents "$deb"
dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\./usr/||' |
    LC_ALL=C sort >"$out/list"
diff -u "$expected" "$out/list" || fail "the package's files differ from $expected"

dpkg-deb --field "$deb" Package Version Architecture Depends
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libstdc++6 libqt6widgets6 libssl3 libsqlite3-0; do
    printf '%s\n' "$depends" | grep -q "$library" || fail "Depends lacks $library"
done

apt-get install --simulate "$deb" >"$out/apt.log" 2>&1 || { cat "$out/apt.log"; fail "apt"; }
grep '^Inst velmora ' "$out/apt.log" || { cat "$out/apt.log"; fail "apt would not install it"; }

dpkg-deb -x "$deb" "$out/root"
shown=$("$out/root/usr/bin/velmora-cli" --version)
[ "$shown" = "velmora-cli $version" ] || fail "the unpacked velmora-cli --version says '$shown'"
echo "$(basename "$deb"): $shown"
