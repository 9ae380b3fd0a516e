#!/usr/bin/env bash
# The installed program: installed into a scratch prefix and started with a fresh HOME, it opens
# its login, keeps a new profile in that HOME's data folder and nowhere else, and finds the
# board picture and the word list in its share folder. The prefix holds nothing of the server,
# whose system unit names a user that does not exist there; its component brings it when asked.
# Usage: install_e2e.sh BUILD_FOLDER ARTEFACT_FOLDER
source "$(dirname "$0")/xvfb_lib.sh"
buildDir=$1
artefacts=$2
mkdir -p "$artefacts"

start_xvfb
prefix="$WORK_DIR/prefix"
cmake --install "$buildDir" --prefix "$prefix" >"$WORK_DIR/install.log" ||
    fail "cmake --install failed: $(cat "$WORK_DIR/install.log")"
server_files=$(cd "$prefix" && find . -name '*glyphdrop-server*')
[ -z "$server_files" ] || fail "the player's install holds the server's files: $server_files"
if [ -x "$buildDir/glyphdrop/glyphdrop-server" ]; then
    server="$WORK_DIR/server"
    cmake --install "$buildDir" --prefix "$server" --component server >"$WORK_DIR/install.log" ||
        fail "cmake --install --component server failed: $(cat "$WORK_DIR/install.log")"
    [ -x "$server/bin/glyphdrop-server" ] && [ -f "$server/etc/default/glyphdrop-server" ] &&
        grep -qx "EnvironmentFile=-$server/etc/default/glyphdrop-server" \
            "$server/lib/systemd/system/glyphdrop-server.service" ||
        fail "the server's component lacks the program, or a unit reading the options file it installed"
fi
export HOME="$WORK_DIR/user"
mkdir -p "$HOME"
unset XDG_DATA_HOME XDG_CONFIG_HOME GLYPHDROP_HOME
cd "$WORK_DIR"
QT_QPA_PLATFORM=xcb "$prefix/bin/glyphdrop" >"$WORK_DIR/program.log" 2>&1 &
PROGRAM_PID=$!

login=$(find_named_window "Glyphdrop v1.1 - Login")
[ -n "$login" ] || fail "no login window"
xdotool windowfocus --sync "$login"
xdotool type --delay 20 "Newcomer"
xdotool key Return
settings=$(find_named_window "Settings")
[ -n "$settings" ] || fail "a new name did not open the settings window"
sleep 0.3
import -window "$settings" "$artefacts/installed_settings.png"
# "Save this profile", the second button of the settings window's bottom row.
xdotool mousemove --window "$settings" 196 492 click 1
read -r id x y < <(find_window 618x449) || true
[ -n "${id:-}" ] || fail "no main window after saving the profile"
sleep 0.5
xdotool search --onlyvisible --name "^File Not Found$" >/dev/null 2>&1 &&
    fail "the word list was not found in the share folder"

profiles=$(find "$WORK_DIR" -iname players.dat)
[ "$profiles" = "$HOME/.local/share/glyphdrop/players.dat" ] ||
    fail "the profile was saved in: ${profiles:-no file}"
[ "$(stat -c %a "$HOME/.local/share/glyphdrop")" = 700 ] ||
    fail "other users can read the player's data folder"

# A corner of the main window that no element covers shows the installed Marble.bmp.
screenshot "$WORK_DIR/main.png"
convert "$WORK_DIR/main.png" -crop "618x449+$x+$y" +repage "$artefacts/installed_main.png"
convert "$prefix/share/glyphdrop/Marble.bmp" "$WORK_DIR/marble.png"
different=$(area_difference "$artefacts/installed_main.png" "$WORK_DIR/marble.png" 30x40+585+400)
[ "$different" = 0 ] || fail "the board background differs from the installed one ($different pixels)"
echo "installed program: login, profile in \$HOME/.local/share/glyphdrop, share folder's files"
