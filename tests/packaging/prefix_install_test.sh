#!/usr/bin/env bash
# A player's install into a prefix: the game and its files, and nothing of the server, whose
# system unit names a user that does not exist there; the server's component installs the server,
# its unit and its options file when asked for.
# Usage: prefix_install_test.sh BUILD_FOLDER WITH_SERVER(yes|no)
set -euo pipefail
buildDir=$1
withServer=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

install_into() {
    local prefix=$1
    shift
    cmake --install "$buildDir" --prefix "$prefix" "$@" >"$out/install.log" 2>&1 ||
        fail "cmake --install $*: $(cat "$out/install.log")"
}

player="$out/player"
install_into "$player"
for path in bin/glyphdrop share/glyphdrop/wordlist.dic share/glyphdrop/GLYPHDROP.HLP \
    share/man/man6/glyphdrop.6.gz; do
    [ -e "$player/$path" ] || fail "the player's install lacks $path"
done
server_files=$(cd "$player" && find . -name '*glyphdrop-server*')
[ -z "$server_files" ] || fail "the player's install holds the server's files: $server_files"

if [ "$withServer" = yes ]; then
    server="$out/server"
    install_into "$server" --component server
    for path in bin/glyphdrop-server lib/systemd/system/glyphdrop-server.service \
        etc/default/glyphdrop-server share/man/man8/glyphdrop-server.8.gz; do
        [ -e "$server/$path" ] || fail "the server's component lacks $path"
    done
    grep -qx "EnvironmentFile=-$server/etc/default/glyphdrop-server" \
        "$server/lib/systemd/system/glyphdrop-server.service" ||
        fail "the unit does not read the options file the install put in the prefix"
fi
echo "a prefix install holds the game alone; the server comes with its component"
