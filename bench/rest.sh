#!/bin/bash
# The program at rest: harkener on a private namespace LAN with 8 real OpenArena servers,
# 60 s at speed 0 and 60 s at speed 2, on a virtual X display (Xvfb) of its own, or the
# offscreen platform without Xvfb. Prints one line per speed:
#   REST speed first_paint_ms cpu_percent_at_rest cpu_ms_total peak_rss_kb
# and one line per extra start-up of harkener and of a plain Qt window (bench_qt_floor):
#   START first_paint_ms
#   FLOOR first_paint_ms
# CPU at rest is measured from /proc over the 60 s after the first 5 s.
# Usage: rest.sh BUILD_DIR SECONDS STARTS OUTPUT_FILE
set -u
build=$1
seconds=$2
starts=$3
output=$4
here=$(cd "$(dirname "$0")" && pwd)
server=/usr/games/openarena-server
source "$here/../tests/netns/netlan.sh"
source "$here/../tests/netns/gameserver.sh"
netlan_require
command -v "$server" >/dev/null || { echo "SKIP: $server is not installed (make deps)" >&2; exit 77; }

readonly AppHost=5 SettleSeconds=5
netlan_create 5 || exit 1
work=$(mktemp -d)
trap 'netlan_destroy; rm -rf "$work"' EXIT

start_server() { NETLAN_GAME_HOMES=$work netlan_start_game_server "$1" "$2" "Real $1-$2" oa_dm1; } # HOST PORT
for host in 1 2 3 4; do
    start_server "$host" $((27960 + (host - 1) % 2))
    start_server "$host" $((27962 + (host - 1) % 2))
done

# A display of the application host's own; its socket is private to that namespace.
platform=offscreen
display=""
if command -v Xvfb >/dev/null; then
    display=":$((100 + $$ % 800))"
    netlan_spawn $AppHost Xvfb "$display" -nolisten tcp -screen 0 1280x1024x24
    netlan_wait_for_file "/tmp/.X11-unix/X${display#:}" 20 && platform=xcb || display=""
fi
echo "platform $platform" >>"$output"

# cpu_ticks PID: user + system time of the process in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
ticks_per_second=$(getconf CLK_TCK)

# launch SPEED TAG [PROGRAM]: starts harkener (or the program) with its own settings;
# pid in NETLAN_PID.
launch() {
    local home="$work/app-$2"
    mkdir -p "$home/config/Harkener"
    printf '[General]\npollSpeed=%s\nstartsIconized=false\npromptBeforeQuit=false\n' "$1" >"$home/config/Harkener/Harkener.ini"
    rm -f "$work/paint-$2"
    netlan_spawn $AppHost env HOME="$home" XDG_CONFIG_HOME="$home/config" DISPLAY="$display" QT_QPA_PLATFORM=$platform \
        QT_PLUGIN_PATH="$build/bench/plugins" QT_QPA_GENERIC_PLUGINS=benchfirstpaint \
        BENCH_FIRST_PAINT_FILE="$work/paint-$2" BENCH_START_NS="$(date +%s%N)" \
        "${3:-$build/src/app/harkener}" >"$home/log" 2>&1
}

# program_pid [NAME]: the pid of harkener (or the named program) itself on the
# application host (the spawned pid is the shell that started it).
program_pid() {
    local pid
    for pid in $(ip netns pids "$(netlan_ns $AppHost)"); do
        [[ $(cat "/proc/$pid/comm" 2>/dev/null) == "${1:-harkener}" ]] && { echo "$pid"; return 0; }
    done
    return 1
}

stop() { kill -TERM "$(program_pid "${2:-harkener}")" 2>/dev/null; wait "$1" 2>/dev/null; }

# Servers take a few seconds to load their map; the program finds them whenever they come.
sleep "$SettleSeconds"
for speed in 0 2; do
    launch "$speed" "rest$speed"
    spawned=$NETLAN_PID
    netlan_wait_for_file "$work/paint-rest$speed" 20 || { echo "rest: no window painted at speed $speed" >&2; exit 1; }
    pid=$(program_pid) || { echo "rest: harkener is not running" >&2; exit 1; }
    sleep "$SettleSeconds"
    before=$(cpu_ticks "$pid")
    sleep "$seconds"
    after=$(cpu_ticks "$pid")
    rss=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
    percent=$(awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" 'BEGIN { printf "%.3f", 100 * t / hz / s }')
    total=$(awk -v t="$after" -v hz="$ticks_per_second" 'BEGIN { printf "%.0f", 1000 * t / hz }')
    echo "REST $speed $(cat "$work/paint-rest$speed") $percent $total $rss" | tee -a "$output"
    stop "$spawned"
done
# Alternately, so that both see the same load.
for ((start = 1; start <= starts; start++)); do
    launch 0 "start$start"
    netlan_wait_for_file "$work/paint-start$start" 20 || { echo "rest: no window painted" >&2; exit 1; }
    stop "$NETLAN_PID"
    echo "START $(cat "$work/paint-start$start")" | tee -a "$output"
    launch 0 "floor$start" "$build/bench/bench_qt_floor"
    netlan_wait_for_file "$work/paint-floor$start" 20 || { echo "rest: no plain window painted" >&2; exit 1; }
    stop "$NETLAN_PID" bench_qt_floor
    echo "FLOOR $(cat "$work/paint-floor$start")" | tee -a "$output"
done
