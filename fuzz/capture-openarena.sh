#!/bin/bash
# Captures real OpenArena answers for the seed corpora: two dedicated servers on a
# private namespace LAN are asked "getinfo" (and "getstatus") from a third host; every
# answer is written as it arrived. Run as root; nothing leaves the namespace LAN.
# Usage: fuzz/capture-openarena.sh OUTPUT_DIRECTORY
set -eu
out=$(realpath -m "$1")
mkdir -p "$out"
server=/usr/games/openarena-server
source "$(dirname "$0")/../tests/netns/netlan.sh"
source "$(dirname "$0")/../tests/netns/gameserver.sh"
netlan_require
netlan_create 3
work=$(mktemp -d)
trap 'netlan_destroy; rm -rf "$work"' EXIT

start_server() { NETLAN_GAME_HOMES=$work netlan_start_game_server "$1" "$2" "$3" "$4" 12; } # HOST PORT NAME MAP
start_server 1 27960 "^1Red ^7Arena" oa_dm1
start_server 2 27963 "Bravo Base" oa_dm4

# Asks each server until it answers (20 s at most), keeps every answer.
netlan_exec 3 python3 - "$out" "$(netlan_addr 1)" 27960 "$(netlan_addr 2)" 27963 <<'PY'
import socket, sys, time
out, targets = sys.argv[1], list(zip(sys.argv[2::2], map(int, sys.argv[3::2])))
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.settimeout(0.2)
for index, target in enumerate(targets):
    for command in (b"getinfo xxx", b"getstatus"):
        deadline = time.time() + 20
        while time.time() < deadline:
            s.sendto(b"\xff\xff\xff\xff" + command, target)
            try:
                data, sender = s.recvfrom(65536)
            except socket.timeout:
                continue
            name = "openarena-%d-%s" % (index + 1, command.split()[0].decode())
            open("%s/%s" % (out, name), "wb").write(data)
            break
        else:
            sys.exit("no answer from %s:%d" % target)
PY
ls -l "$out"
