#!/usr/bin/env bash
# The Debian packages: guards against a package that misses a file the installed program or
# the desktop needs, architecture-independent files in the architecture-dependent package, a
# server package that would not run as its own user, start listening beyond this machine, or
# lose its hardening, a metainfo release behind the program's version, and anything lintian
# calls an error or a warning, or a missing hardening flag.
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
data="$out/glyphdrop-data_${version}_all.deb"
[ -f "$game" ] || fail "no package glyphdrop"
[ -f "$data" ] || fail "no package glyphdrop-data for every architecture"
share=usr/share/glyphdrop
icons=(usr/share/icons/hicolor/scalable/apps/org.glyphdrop.Glyphdrop.svg)
for size in 16 22 24 32 48 64 128 256 512; do
    icons+=("usr/share/icons/hicolor/${size}x${size}/apps/org.glyphdrop.Glyphdrop.png")
done
holds "$data" "$share/wordlist.dic" "$share/GLYPHDROP.HLP" "$share/Marble.bmp" "$share/woody.bmp" \
    "$share/missed.wav" "$share/yel_z.png" usr/share/doc/glyphdrop-data/copyright
grep -qi players.dat "$out/contents" && fail "the data package ships a players.dat"
holds "$game" usr/games/glyphdrop usr/share/applications/org.glyphdrop.Glyphdrop.desktop \
    usr/share/metainfo/org.glyphdrop.Glyphdrop.metainfo.xml "${icons[@]}" \
    usr/share/man/man6/glyphdrop.6.gz usr/share/doc/glyphdrop/copyright
grep -Eq '\.(dic|HLP|bmp|wav)$' "$out/contents" && fail "the game package holds the data package's files"
dpkg-deb -f "$game" Depends | grep -q "glyphdrop-data (= $version)" ||
    fail "glyphdrop does not depend on glyphdrop-data $version"
# Read whole first: grep -q leaving early would cut tar off mid-write, failing the pipe.
dpkg-deb --fsys-tarfile "$game" | tar -xO ./usr/share/metainfo/org.glyphdrop.Glyphdrop.metainfo.xml \
    >"$out/metainfo"
grep -q "<release version=\"$version\"" "$out/metainfo" || fail "the metainfo has no release $version"

packages=("$game" "$data")
if [ "$withServer" = yes ]; then
    server="$out/glyphdrop-server_${version}_amd64.deb"
    unit=usr/lib/systemd/system/glyphdrop-server.service
    holds "$server" usr/bin/glyphdrop-server "$unit" etc/default/glyphdrop-server \
        usr/share/man/man8/glyphdrop-server.8.gz
    mkdir "$out/server"
    dpkg-deb -x "$server" "$out/server"
    grep -qx 'ExecStart=/usr/bin/glyphdrop-server $GLYPHDROP_SERVER_OPTIONS' "$out/server/$unit" ||
        fail "the unit does not start the installed server with the options file's options"
    grep -qx 'EnvironmentFile=-/etc/default/glyphdrop-server' "$out/server/$unit" ||
        fail "the unit does not read /etc/default/glyphdrop-server"
    grep -qx 'StateDirectory=glyphdrop-server' "$out/server/$unit" ||
        fail "the unit gives the server no state folder for its default store"
    grep -q '^User=glyphdrop-server$' "$out/server/$unit" || fail "the unit does not run as glyphdrop-server"
    # The options file, as systemd reads it: the server listens on this machine only.
    options=$(env -i bash -c "set -a; source '$out/server/etc/default/glyphdrop-server'; env" |
        sed -n 's/^GLYPHDROP_SERVER_OPTIONS=//p')
    [ "$options" = "--listen 127.0.0.1:27810" ] ||
        fail "the options file says '$options', not to listen on 127.0.0.1:27810"
    dpkg-deb -e "$server" "$out/control"
    grep -qx /etc/default/glyphdrop-server "$out/control/conffiles" ||
        fail "/etc/default/glyphdrop-server is not a configuration file of the package"
    grep -q 'adduser --system' "$out/control/postinst" || fail "postinst adds no system user"
    grep -q 'deb-systemd-helper enable' "$out/control/postinst" || fail "postinst enables no unit"
    systemd-analyze security --offline=true "$out/server/$unit" >"$out/security.log" 2>&1 ||
        fail "systemd-analyze security: $(cat "$out/security.log")"
    rating=$(sed -n 's/.*Overall exposure level for glyphdrop-server.service: \([0-9.]*\).*/\1/p' \
        "$out/security.log")
    echo "the unit's exposure: $rating"
    awk -v r="${rating:-99}" 'BEGIN { exit !(r <= 2.0) }' ||
        fail "systemd-analyze security rates the unit ${rating:-unknown}, above 2: $(grep '✗' "$out/security.log")"
    packages+=("$server")
fi

# Every tag lintian knows, information and pedantic ones too, so the full list shows here.
lintian --display-info --pedantic "${packages[@]}" >"$out/lintian.log" 2>&1 || true
cat "$out/lintian.log"
! grep -E '^(E|W): ' "$out/lintian.log" || fail "lintian reports errors or warnings"
! grep -E 'hardening-no-|arch-dep-package-has-big-usr-share' "$out/lintian.log" ||
    fail "a program lacks a hardening flag, or the game package holds big shared files"
echo "packages hold their files and lintian reports no error or warning: ${packages[*]##*/}"
