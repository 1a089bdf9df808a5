#!/bin/bash
# Discovery benchmark: harkener-scan against quakestat's broadcast mode on one private
# namespace LAN, in the same run. 8 real OpenArena servers on four hosts (ports
# 27960..27963) and one host answering every query like 500 servers; both tools search
# from a sixth host. Prints one line per tool and run:
#   RUN tool wall_ms list_ms cpu_ms peak_rss_kb servers_reported
# (list_ms: when the last line of the list was written).
# Usage: discovery.sh BUILD_DIR RUNS OUTPUT_FILE
set -u
build=$1
runs=$2
output=$3
here=$(cd "$(dirname "$0")" && pwd)
server=/usr/games/openarena-server
source "$here/../tests/netns/netlan.sh"
source "$here/../tests/netns/gameserver.sh"
netlan_require
for tool in "$server" quakestat jq; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (make deps)" >&2; exit 77; }
done

readonly SearchHost=6 ResponderHost=5
readonly SyntheticAddresses=125 # x 4 ports = 500 servers
netlan_create 6 || exit 1
work=$(mktemp -d)
trap 'netlan_destroy; rm -rf "$work"' EXIT

start_server() { NETLAN_GAME_HOMES=$work netlan_start_game_server "$1" "$2" "Real $1-$2" oa_dm1; } # HOST PORT

wait_for_server() { # HOST PORT
    netlan_wait_for_game_server $SearchHost "$1" "$2" 60 || { echo "discovery: server $1:$2 never came up" >&2; exit 1; }
}

servers=()
for host in 1 2 3 4; do
    for port in $((27960 + (host - 1) % 2)) $((27962 + (host - 1) % 2)); do
        start_server "$host" "$port"
        servers+=("$host:$port")
    done
done

# The synthetic servers live on addresses .101.. of the responder host.
first_synthetic="${NETLAN_PREFIX}.101"
for ((i = 0; i < SyntheticAddresses; i++)); do
    ip -n "$(netlan_ns $ResponderHost)" addr add "${NETLAN_PREFIX}.$((101 + i))/24" dev eth0
done
netlan_spawn $ResponderHost "$build/bench/bench_responder" "$first_synthetic" $SyntheticAddresses 27960 4 "$work/responder.ready"
netlan_wait_for_file "$work/responder.ready" 20 || { echo "discovery: the responder never came up" >&2; exit 1; }

for entry in "${servers[@]}"; do
    wait_for_server "${entry%%:*}" "${entry##*:}"
done
# Every server there is, as address:port; a tool's count is how many of these it listed.
for entry in "${servers[@]}"; do
    echo "$(netlan_addr "${entry%%:*}"):${entry##*:}"
done >"$work/expected.unsorted"
for ((i = 0; i < SyntheticAddresses; i++)); do
    for port in 27960 27961 27962 27963; do
        echo "${NETLAN_PREFIX}.$((101 + i)):$port"
    done
done >>"$work/expected.unsorted"
sort -u "$work/expected.unsorted" >"$work/expected"
expected=$(wc -l <"$work/expected")

# measure TOOL COUNTER COMMAND...: runs the command on the search host, appends a line.
measure() {
    local tool=$1 counter=$2
    shift 2
    netlan_exec $SearchHost "$build/bench/bench_measure" "$work/cost" "$@" >"$work/out" 2>"$work/err"
    local reported
    reported=$($counter <"$work/out")
    echo "RUN $tool $(cut -d' ' -f1-4 "$work/cost") $reported" | tee -a "$output"
}
known() { sort -u | comm -12 - "$work/expected" | wc -l; }
count_scan() { jq -r '.[] | "\(.address):\(.port)"' | known; }
# A server line of quakestat's raw output: type, address, then a name (down ones have
# none). A server that answered several broadcasts is listed once for each.
count_qstat() { grep '^Q3S,[^,]*,[^,]' | cut -d, -f2 | known; }

: >"$output"
echo "expected $expected" >>"$output"
for ((run = 1; run <= runs; run++)); do
    measure harkener-scan count_scan "$build/src/scan/harkener-scan" --json --speed 2
    measure quakestat count_qstat quakestat -q3s "+255.255.255.255:27960-27963" -raw ,
done
