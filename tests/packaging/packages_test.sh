#!/usr/bin/env bash
# The Debian packages: guards against a package that misses a file the installed program or
# the desktop needs, a server package that would not run as its own user, a metainfo release
# behind the program's version, and anything lintian calls an error.
# Usage: packages_test.sh BUILD_FOLDER VERSION WITH_SERVER(yes|no)
set -euo pipefail
buildDir=$1
version=$2
withServer=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$buildDir/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -20 "$out/cpack.log")"

# Fails unless the package $1 holds every path that follows.
holds() {
    local package=$1 path
    shift
    dpkg-deb -c "$package" | awk '{print $6}' >"$out/contents"
    for path in "$@"; do
        grep -qx "./$path" "$out/contents" || fail "$(basename "$package") lacks /$path"
    done
}

game="$out/glyphdrop_${version}_amd64.deb"
[ -f "$game" ] || fail "no package glyphdrop"
share=usr/share/glyphdrop
icons=(usr/share/icons/hicolor/scalable/apps/org.glyphdrop.Glyphdrop.svg)
for size in 16 22 24 32 48 64 128 256 512; do
    icons+=("usr/share/icons/hicolor/${size}x${size}/apps/org.glyphdrop.Glyphdrop.png")
done
holds "$game" usr/games/glyphdrop "$share/wordlist.dic" "$share/GLYPHDROP.HLP" \
    "$share/Marble.bmp" "$share/woody.bmp" "$share/missed.wav" "$share/yel_z.png" \
    usr/share/applications/org.glyphdrop.Glyphdrop.desktop \
    usr/share/metainfo/org.glyphdrop.Glyphdrop.metainfo.xml "${icons[@]}" \
    usr/share/man/man6/glyphdrop.6.gz usr/share/doc/glyphdrop/copyright
grep -qi players.dat "$out/contents" && fail "the game package ships a players.dat"
dpkg-deb --fsys-tarfile "$game" | tar -xO ./usr/share/metainfo/org.glyphdrop.Glyphdrop.metainfo.xml |
    grep -q "<release version=\"$version\"" || fail "the metainfo has no release $version"

packages=("$game")
if [ "$withServer" = yes ]; then
    server="$out/glyphdrop-server_${version}_amd64.deb"
    unit=usr/lib/systemd/system/glyphdrop-server.service
    holds "$server" usr/bin/glyphdrop-server "$unit" usr/share/man/man8/glyphdrop-server.8.gz
    dpkg-deb --fsys-tarfile "$server" | tar -xO "./$unit" >"$out/unit"
    grep -q '^ExecStart=/usr/bin/glyphdrop-server .*--db /var/lib/glyphdrop-server/' "$out/unit" ||
        fail "the unit does not start the installed server on its store"
    grep -q '^User=glyphdrop-server$' "$out/unit" || fail "the unit does not run as glyphdrop-server"
    dpkg-deb -e "$server" "$out/control"
    grep -q 'adduser --system' "$out/control/postinst" || fail "postinst adds no system user"
    grep -q 'deb-systemd-helper enable' "$out/control/postinst" || fail "postinst enables no unit"
    packages+=("$server")
fi

lintian --fail-on error "${packages[@]}" >"$out/lintian.log" 2>&1 ||
    fail "lintian: $(grep '^E:' "$out/lintian.log" || cat "$out/lintian.log")"
echo "packages hold their files and lintian reports no error: ${packages[*]##*/}"
