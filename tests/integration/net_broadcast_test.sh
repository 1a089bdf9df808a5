#!/bin/bash
# A broadcast sent on one host of a private namespace LAN reaches a plain UDP socket on
# another with the sender's address and source port and the payload intact; the local
# address of each host is the one its interface holds, whatever its name resolves to.
# Usage: net_broadcast_test.sh PATH_TO_NETPROBE
set -u
probe=$1
source "$(dirname "$0")/../netns/netlan.sh"
source "$(dirname "$0")/../netns/expect.sh"
netlan_require
netlan_create 2 || exit 1

netlan_set_hostname 1 alpha
netlan_hosts_line 1 "$(netlan_addr 1) alpha"
netlan_set_hostname 2 bravo
netlan_hosts_line 2 "127.0.1.1 bravo" # Debian's habit: the name resolves to loopback


expect "local address from the host name" "$(netlan_exec 1 "$probe" local)" "$(netlan_addr 1)"
expect "local address when the name resolves to loopback" "$(netlan_exec 2 "$probe" local)" "$(netlan_addr 2)"

payload=$'\xff\xff\xff\xffgetinfo xxx'
payloadHex="<ffffffff 67657469 6e666f20 787878>"
readyDir=$(mktemp -d)
trap 'netlan_destroy; rm -rf "$readyDir"' EXIT

for mode in send-raw send-udp; do
    out="$readyDir/$mode.out"
    ready="$readyDir/$mode.ready"
    netlan_spawn 2 "$probe" listen 27960 5000 "$ready" >"$out"
    listener=$NETLAN_PID
    netlan_wait_for_file "$ready" 10 || { echo "FAIL: listener never got ready"; exit 1; }
    netlan_exec 1 "$probe" "$mode" 27961 27960 "$payload" || failures=$((failures + 1))
    wait "$listener"
    expect "$mode arrives" "$(cat "$out")" "from $(netlan_addr 1):27961 $payloadHex"
done

# The header as it travels: identification 6216, TTL 64, no fragment bits, our own
# source address, the UDP source port and a zero UDP checksum.
ready="$readyDir/capture.ready"
netlan_spawn 2 "$probe" capture 27960 5000 "$ready" >"$readyDir/capture.out"
capturer=$NETLAN_PID
netlan_wait_for_file "$ready" 10 || { echo "FAIL: capture never got ready"; exit 1; }
netlan_exec 1 "$probe" send-raw 27961 27960 "$payload" || failures=$((failures + 1))
wait "$capturer"
expect "raw header on the wire" "$(cat "$readyDir/capture.out")" \
    "<4500002b 18480000 40115823 0a4d000b ffffffff 6d396d38 00170000>"

exit $((failures > 0))
