#!/bin/bash
# Pictures the real program as users see it: four real game servers on a private
# namespace LAN, the program on a host of its own under Xvfb with openbox, the main
# window grabbed once the servers are listed. Run by hand, not by ctest.
# Usage: app_screenshot.sh PATH_TO_HARKENER OUTPUT.png
set -u
program=$1
output=$2
server=/usr/games/openarena-server
source "$(dirname "$0")/../netns/netlan.sh"
source "$(dirname "$0")/../netns/gameserver.sh"
netlan_require
for tool in "$server" quakestat Xvfb openbox xprop import; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed" >&2; exit 77; }
done

netlan_create 3 || exit 1
work=$(mktemp -d)
display=":$((100 + RANDOM % 400))"
trap 'netlan_destroy; rm -rf "$work"' EXIT

start_server() { NETLAN_GAME_HOMES=$work netlan_start_game_server "$@"; } # HOST PORT NAME MAP PLAYERS
until_true() { # SECONDS COMMAND...: retries the command until it succeeds or time is up
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || { echo "FAIL: gave up waiting for: $*" >&2; exit 1; }
        sleep 0.1
    done
}
answers() { netlan_exec 3 quakestat -q3s "$(netlan_addr "$1"):$2" -raw , | grep -q "^Q3S,[^,]*,[^,]"; }
on_display() { netlan_exec 3 env DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/.config" "$@"; }
main_window() { on_display xprop -root _NET_CLIENT_LIST | grep -o "0x[0-9a-f]*" | head -1; }
has_main_window() { [[ -n $(main_window) ]]; }

start_server 1 27960 "^1Frag^7Fest ^3LAN" oa_dm1 16
start_server 1 27962 "Rocket Arena ^4(CTF)" oa_ctf2 12
start_server 2 27961 "^2Green^7Room" aggressor 8
start_server 2 27963 "Noobs welcome - instagib all night long, bring snacks" delta 24
for server_port in "1 27960" "1 27962" "2 27961" "2 27963"; do
    until_true 20 answers $server_port
done

netlan_spawn 3 Xvfb "$display" -screen 0 1024x700x24 -nolisten tcp
until_true 10 test -e "/tmp/.X11-unix/X${display#:}"
netlan_spawn 3 env DISPLAY="$display" HOME="$work" openbox
netlan_spawn 3 env DISPLAY="$display" HOME="$work" XDG_CONFIG_HOME="$work/.config" "$program"
until_true 10 has_main_window
# The table is filled at the tick after the first answers: two ticks are plenty.
sleep 3
on_display import -window "$(main_window)" "$output"
echo "saved $output"
