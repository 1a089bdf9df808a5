#!/bin/bash
# Flood: two real game servers on a namespace LAN; two hostile hosts broadcast for 10 s,
# as fast as they can, answers from thousands of invented servers, garbage, truncated and
# oversized datagrams, while one host searches as the program does (flood_watch) and
# another runs harkener-scan. Afterwards the engine still runs, no exception was raised,
# both real servers are listed with their data, the invented ones are gone after the
# time-out, the one-second tick never slipped beyond 1.5 s, and the memory the flood took
# is given back.
# With FLOOD_GUI (the harkener program) and FLOOD_GUI_PLUGINS (where the ticktrace plugin
# lies) set, the program itself searches on a seventh host: it must still run afterwards,
# its tick must keep its pace and its memory come back to within 10% of its level before.
# Usage: flood_test.sh FLOOD_WATCH FLOOD_SENDER HARKENER_SCAN [REPORT_FILE]
set -u
watch=$1 sender=$2 scan=$3 report=${4:-}
server=/usr/games/openarena-server
source "$(dirname "$0")/../netns/netlan.sh"
source "$(dirname "$0")/../netns/expect.sh"
source "$(dirname "$0")/../netns/gameserver.sh"
netlan_require
for tool in "$server" quakestat jq; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (make deps)" >&2; exit 77; }
done

# host1, host2: servers; host3: flood_watch; host4: harkener-scan; host5, host6: flood;
# host7: the program.
gui=${FLOOD_GUI:-}
[[ -n $gui && -x $gui ]] || gui=""
netlan_create $([[ -n $gui ]] && echo 7 || echo 6) || exit 1
work=$(mktemp -d)
trap 'netlan_destroy; rm -rf "$work"' EXIT

holds() { # WHAT JQ_CONDITION FILE
    if jq -e "$2" "$3" >/dev/null; then echo "ok: $1"; else echo "FAIL: $1 ($2)"; failures=$((failures + 1)); fi
}

start_server() { NETLAN_GAME_HOMES=$work netlan_start_game_server "$@"; } # HOST PORT NAME MAP
wait_for_server() { # HOST PORT
    netlan_wait_for_game_server 4 "$1" "$2" || { echo "FAIL: server $1:$2 never came up"; exit 1; }
}
start_server 1 27960 "Alpha Arena" oa_dm1
start_server 2 27963 "Bravo Base" oa_dm2
wait_for_server 1 27960
wait_for_server 2 27963
# The protocol the servers tell, to compare with the listed one; a busy machine may drop
# one query, so ask until the answer comes.
protocol=""
deadline=$((SECONDS + 20))
while [[ -z $protocol ]] && ((SECONDS < deadline)); do
    protocol=$(netlan_exec 4 quakestat -q3s "$(netlan_addr 1):27960" -raw , -R | grep -o 'protocol=[0-9]*' | head -1)
    protocol=${protocol#protocol=}
done

# launch_gui: the program at top speed with settings of its own; pid of the program in
# gui_pid once it runs.
launch_gui() {
    local home="$work/gui"
    mkdir -p "$home/config/Harkener"
    printf '[General]\npollSpeed=2\nstartsIconized=false\npromptBeforeQuit=false\nautoOpen=2\n' >"$home/config/Harkener/Harkener.ini"
    netlan_spawn 7 env HOME="$home" XDG_CONFIG_HOME="$home/config" QT_QPA_PLATFORM=offscreen \
        QT_PLUGIN_PATH="$FLOOD_GUI_PLUGINS" QT_QPA_GENERIC_PLUGINS=ticktrace TICK_TRACE_FILE="$work/ticks" \
        "$gui" >"$home/log" 2>&1
    gui_pid=""
    local deadline=$((SECONDS + 10)) pid
    while [[ -z $gui_pid ]] && ((SECONDS < deadline)); do
        for pid in $(ip netns pids "$(netlan_ns 7)"); do
            [[ $(cat "/proc/$pid/comm" 2>/dev/null) == harkener ]] && gui_pid=$pid
        done
        sleep 0.1
    done
}
rss_of() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status" 2>/dev/null; }
[[ -n $gui ]] && launch_gui

# 4 s calm (baseline at 3 s), 10 s flood, then 8 s for the 3 s time-out to clear it.
netlan_spawn 3 "$watch" 22 3 >"$work/watch.json"
watcher=$NETLAN_PID
netlan_spawn 4 "$scan" --json --seconds 22 --speed 2 >"$work/scan.json"
scanner=$NETLAN_PID
sleep 3
[[ -n $gui ]] && gui_before=$(rss_of "$gui_pid")
sleep 1
netlan_spawn 5 "$sender" 27961 10 hostile5 >"$work/flood5.txt"
flood5=$NETLAN_PID
netlan_spawn 6 "$sender" 27961 10 hostile6 >"$work/flood6.txt"
flood6=$NETLAN_PID
wait "$flood5" "$flood6"
wait "$watcher"
expect "flood_watch ran to its end" "$?" 0
wait "$scanner"
expect "harkener-scan found servers after the flood" "$?" 0
if [[ -n $gui ]]; then
    gui_after=$(rss_of "$gui_pid")
    gui_peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$gui_pid/status" 2>/dev/null)
    expect "the program still runs after the flood" "$([[ -n $gui_after ]] && echo yes)" yes
    read -r firings gap mean <"$work/ticks" 2>/dev/null
    echo "program: ${firings:-0} ticks, longest gap ${gap:-?} ms, mean ${mean:-?} ms; RSS ${gui_before:-?} kB before, ${gui_peak:-?} kB at its peak, ${gui_after:-?} kB after"
    if ((${gap:-99999} <= 1500 && ${firings:-0} >= 15)); then echo "ok: the program's tick kept its pace"; else echo "FAIL: the program's tick kept its pace"; failures=$((failures + 1)); fi
    if ((${gui_after:-99999999} * 10 <= ${gui_before:-0} * 11)); then echo "ok: the program's memory is back within 10%"; else echo "FAIL: the program's memory is back within 10%"; failures=$((failures + 1)); fi
    grep -i "exception" "$work/gui/log" && { echo "FAIL: the program logged an exception"; failures=$((failures + 1)); }
fi
echo "flood: host5 sent/refused $(cat "$work/flood5.txt"), host6 sent/refused $(cat "$work/flood6.txt")"
jq -c '{baseline, peak, final, longest_tick_gap_ms, sweeps}' "$work/watch.json"
[[ -n $report ]] && cp "$work/watch.json" "$report"

real="[[\"$(netlan_addr 1)\",\"27960\",\"host1\",\"Alpha Arena\",\"oa_dm1\",\"0\",\"8\",\"$protocol\"],[\"$(netlan_addr 2)\",\"27963\",\"host2\",\"Bravo Base\",\"oa_dm2\",\"0\",\"8\",\"$protocol\"]]"
expect "the engine ran throughout" "$(jq '.engine_alive' "$work/watch.json")" true
expect "no exception reached the funnel" "$(jq -c '.exceptions' "$work/watch.json")" "[]"
expect "exactly the real servers listed, with their data" \
    "$(jq -c '[.servers[] | [.Ip, .Port, .Hostname, .hostname, .mapname, .clients, .sv_maxclients, .protocol]] | sort' "$work/watch.json")" "$real"
holds "the flood was heard: invented servers were listed at its peak" '.peak.entries > 100' "$work/watch.json"
holds "the tick kept its pace (at most 1.5 s between ticks)" '.longest_tick_gap_ms <= 1500' "$work/watch.json"
# Under a sanitizer the allocator is the sanitizer's, which keeps freed memory on purpose.
if [[ $(jq '.instrumented' "$work/watch.json") == false ]]; then
    holds "memory in use back to its level before the flood (within 10% of what the flood added)" \
        '(.final.heap_in_use - .baseline.heap_in_use) <= 0.1 * (.peak.heap_in_use - .baseline.heap_in_use)' "$work/watch.json"
    holds "resident memory gave back at least half of what the flood took" \
        '(.final.rss_kb - .baseline.rss_kb) <= 0.5 * (.peak.rss_kb - .baseline.rss_kb)' "$work/watch.json"
else
    echo "skipped: memory figures of a sanitizer build"
fi
expect "harkener-scan lists exactly the real servers" \
    "$(jq -c '[.[] | "\(.address):\(.port) \(.info.hostname)"] | sort' "$work/scan.json")" \
    "[\"$(netlan_addr 1):27960 Alpha Arena\",\"$(netlan_addr 2):27963 Bravo Base\"]"
exit $((failures > 0))
