#!/bin/bash
# The namespace LAN leaves nothing behind, after a failure or a TERM as after success,
# and its hosts have no route beyond the LAN.
set -u
here=$(dirname "$0")
source "$here/netlan.sh"
netlan_require

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {
    if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi
}
leftovers() { # the namespaces and /etc/netns entries named in file $1 that still exist
    local ns
    for ns in $(cat "$1"); do
        ip netns list | grep -qw "$ns" && echo "$ns"
        [[ -e /etc/netns/$ns ]] && echo "/etc/netns/$ns"
    done
}

# A run that fails half-way.
bash -c '
    source "$1/netlan.sh"
    netlan_create 2
    echo "$NETLAN_BRIDGE_NS $(netlan_ns 1) $(netlan_ns 2)" >"$2"
    exit 3' _ "$here" "$work/failed" >/dev/null 2>&1
check "namespaces recorded" '[[ -s $work/failed ]]'
check "nothing left after a failure" '[[ -z $(leftovers "$work/failed") ]]'

# A run stopped by TERM while a host process runs.
bash -c '
    source "$1/netlan.sh"
    netlan_create 1
    netlan_spawn 1 sleep 300
    echo "$NETLAN_PID" >"$2.pid"
    echo "$NETLAN_BRIDGE_NS $(netlan_ns 1)" >"$2"
    wait' _ "$here" "$work/stopped" >/dev/null 2>&1 &
runner=$!
netlan_wait_for_file "$work/stopped" 10
sleeper=$(cat "$work/stopped.pid")
kill -TERM "$runner"
wait "$runner"
check "nothing left after TERM" '[[ -z $(leftovers "$work/stopped") ]]'
check "host process ended" '! kill -0 "$sleeper" 2>/dev/null'

# Routes: the LAN and its broadcast only.
netlan_create 2
trap 'netlan_destroy; rm -rf "$work"' EXIT
ns=$(netlan_ns 1)
check "no route beyond the LAN" '! ip -n "$ns" route get 192.0.2.1 >/dev/null 2>&1'
check "limited broadcast stays on the LAN" '[[ $(ip -n "$ns" route get 255.255.255.255) == *"dev eth0"* ]]'
check "peer reachable on the LAN" '[[ $(ip -n "$ns" route get "$(netlan_addr 2)") == *"dev eth0"* ]]'
check "own hosts view" 'grep -q "^$(netlan_addr 2) host2$" "/etc/netns/$ns/hosts"'
netlan_set_hostname 1 alpha
check "own host name" '[[ $(netlan_exec 1 hostname) == alpha && $(hostname) != alpha ]]'
netlan_destroy

exit $((failures > 0))
