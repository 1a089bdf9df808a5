#!/bin/bash
# Real game servers on a private namespace LAN, found by harkener-scan on another host:
# every server listed with address, port, name from the scanner's host table and the
# info keys it sends; a server on the scanning host never listed; a noisy host does not
# disturb the search; a server stopped during a run dropped after the registry time-out.
# Usage: engine_scan_test.sh PATH_TO_HARKENER_SCAN PATH_TO_SCAN_NOISE
set -u
scan=$1
noise=$2
server=/usr/games/openarena-server
source "$(dirname "$0")/../netns/netlan.sh"
source "$(dirname "$0")/../netns/expect.sh"
source "$(dirname "$0")/../netns/gameserver.sh"
netlan_require
for tool in "$server" quakestat jq; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (make deps)" >&2; exit 77; }
done

# host1, host2: servers; host3: the scanner (and a server of its own); host4: noise.
netlan_create 4 || exit 1
work=$(mktemp -d)
trap 'netlan_destroy; rm -rf "$work"' EXIT


start_server() { NETLAN_GAME_HOMES=$work netlan_start_game_server "$@"; } # HOST PORT NAME MAP

wait_for_server() { # HOST PORT, asked from host4
    netlan_wait_for_game_server 4 "$1" "$2" || { echo "FAIL: server $1:$2 never came up"; exit 1; }
}

start_server 1 27960 "Alpha Arena" oa_dm1
start_server 2 27963 "Bravo Base" oa_dm2
start_server 3 27962 "Scanner Side" oa_dm3
wait_for_server 1 27960
wait_for_server 2 27963
wait_for_server 3 27962
netlan_spawn 4 "$noise" "$(netlan_addr 3)" 27961

scanner=$(netlan_addr 3)
netlan_exec 3 "$scan" --json --seconds 3 >"$work/scan.json"
expect "a search with servers ends with 0" "$?" 0
expect "servers listed" "$(jq -c '[.[] | "\(.address):\(.port)"] | sort' "$work/scan.json")" \
    "[\"$(netlan_addr 1):27960\",\"$(netlan_addr 2):27963\"]"
expect "the scanning host's own server never listed" "$(jq --arg a "$scanner" '[.[] | select(.address == $a)] | length' "$work/scan.json")" 0

# check_server HOST PORT NAME MAP: the entry, and what the server tells quakestat
# (name, map, player limit, players) agrees with it. OpenArena speaks protocol 71.
check_server() {
    local entry stat
    entry=$(jq -r --arg a "$(netlan_addr "$1")" --argjson p "$2" \
        '.[] | select(.address == $a and .port == $p) | [.Hostname, .info.hostname, .info.mapname, .info.sv_maxclients, .info.clients, .info.protocol] | join(",")' \
        "$work/scan.json")
    expect "$3 entry" "$entry" "host$1,$3,$4,8,0,71"
    stat=$(netlan_exec 4 quakestat -q3s "$(netlan_addr "$1"):$2" -raw , | cut -d, -f3-6)
    expect "$3 as quakestat sees it" "$stat" "$(cut -d, -f2-5 <<<"$entry")"
}
check_server 1 27960 "Alpha Arena" oa_dm1
check_server 2 27963 "Bravo Base" oa_dm2

netlan_exec 3 "$scan" >"$work/table.txt"
expect "the default search (one round of queries) finds both" "$(grep -c -E "^($(netlan_addr 1):27960|$(netlan_addr 2):27963) " "$work/table.txt")" 2

# Server 2 stops 1.5 s into a 7 s search at top speed: gone after the 3 s time-out.
netlan_spawn 3 "$scan" --json --seconds 7 --speed 2 >"$work/timeout.json"
searcher=$NETLAN_PID
sleep 1.5
for pid in $(ip netns pids "$(netlan_ns 2)"); do kill -TERM "$pid"; done
wait "$searcher"
expect "a stopped server is dropped, the other kept" "$(jq -c '[.[] | "\(.address):\(.port)"]' "$work/timeout.json")" \
    "[\"$(netlan_addr 1):27960\"]"

for pid in $(ip netns pids "$(netlan_ns 1)"); do kill -TERM "$pid"; done
netlan_exec 3 "$scan" --seconds 1 >/dev/null
expect "a search without servers ends with 1" "$?" 1

exit $((failures > 0))
