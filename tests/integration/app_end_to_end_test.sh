#!/bin/bash
# The program against real game servers on a private namespace LAN: the servers appear
# in the main window's table within two ticks, Play on a selected row starts the
# stand-in game with "+connect" and the server's address, and afterwards the search runs
# and the window is back. Drawn offscreen; with HK_SCREENSHOT=path the main window is
# also saved as a picture (the README's screenshot is made this way).
# Usage: app_end_to_end_test.sh PATH_TO_APP_END_TO_END
set -u
program=$1
server=/usr/games/openarena-server
source "$(dirname "$0")/../netns/netlan.sh"
source "$(dirname "$0")/../netns/gameserver.sh"
netlan_require
for tool in "$server" quakestat; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (make deps)" >&2; exit 77; }
done

# host1, host2: two servers each; host3: the program.
netlan_create 3 || exit 1
work=$(mktemp -d)
trap 'netlan_destroy; rm -rf "$work"' EXIT

start_server() { NETLAN_GAME_HOMES=$work netlan_start_game_server "$@"; } # HOST PORT NAME MAP PLAYERS
start_server 1 27960 "^1Frag^7Fest ^3LAN" oa_dm1 16
start_server 1 27962 "Rocket Arena ^4(CTF)" oa_ctf2 12
start_server 2 27961 "^2Green^7Room" aggressor 8
start_server 2 27963 "Noobs welcome - instagib all night long, bring snacks" delta 24

# The stand-in game records its arguments and takes a moment, like a game that quits.
cat >"$work/quake3" <<SCRIPT
#!/bin/sh
echo "\$*" >> "$work/game.log"
sleep 0.5
SCRIPT
chmod +x "$work/quake3"

wait_for_server() { # HOST PORT, asked from host3
    netlan_wait_for_game_server 3 "$1" "$2" || { echo "FAIL: server $1:$2 never came up"; exit 1; }
}
for server_port in "1 27960" "1 27962" "2 27961" "2 27963"; do
    wait_for_server $server_port
done

servers="$(netlan_addr 1):27960,$(netlan_addr 1):27962,$(netlan_addr 2):27961,$(netlan_addr 2):27963"
netlan_exec 3 env QT_QPA_PLATFORM=offscreen HOME="$work" \
    HK_E2E_SERVERS="$servers" HK_E2E_GAME="$work/quake3" HK_E2E_GAME_LOG="$work/game.log" \
    HK_E2E_SCREENSHOT="${HK_SCREENSHOT:-}" "$program"
