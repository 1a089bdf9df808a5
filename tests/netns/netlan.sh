# netlan.sh: a private LAN in network namespaces, for every test, benchmark or screen
# shot that broadcasts or starts the engine. Source it from a bash script:
#
#   source tests/netns/netlan.sh
#   netlan_require                  # exit 77 (ctest SKIP_RETURN_CODE) unless root + ip netns
#   netlan_create 3                 # hosts 1..3 on one bridge, 10.77.0.11..13/24
#   netlan_set_hostname 1 alpha     # host 1 calls itself alpha (own UTS namespace per run)
#   netlan_hosts_line 1 "10.77.0.12 bravo"   # add a line to host 1's /etc/hosts view
#   netlan_exec 2 cmd args...       # run on host 2 in the foreground
#   netlan_spawn 2 cmd args...      # run on host 2 in the background; pid in NETLAN_PID
#   netlan_addr 2                   # prints 10.77.0.12
#   netlan_ns 2                     # prints host 2's namespace name (for ip -n / ip netns exec)
#
# Teardown is automatic: an EXIT trap (also reached on INT and TERM) kills what the LAN
# started, deletes every namespace of this run and removes /etc/netns/NAME. Call
# netlan_destroy yourself to tear down early. Namespace names carry the shell's pid and a
# random part, so parallel runs never meet.
#
# Isolation: the bridge lives in a namespace of its own with no uplink, and a host has
# only lo and its veth into that bridge, with routes to 10.77.0.0/24 and to the limited
# broadcast 255.255.255.255 on that veth, and nothing else. A packet for any other
# address finds no route; nothing can leave the LAN. Each host resolves names through
# its own /etc/hosts and a resolv.conf pointing at its own loopback.

NETLAN_PREFIX=${NETLAN_PREFIX:-10.77.0}
NETLAN_RUN="hk$$r$RANDOM"
NETLAN_BRIDGE_NS=""
NETLAN_HOSTS=0
NETLAN_PIDS=()
NETLAN_NAMESPACES=()
declare -A NETLAN_HOSTNAME=()

netlan_require() {
    if [[ $(id -u) != 0 ]]; then
        echo "SKIP: the namespace LAN needs root (ip netns, veth, bridge)" >&2
        exit 77
    fi
    local probe="${NETLAN_RUN}-probe"
    if ! ip netns add "$probe" 2>/dev/null; then
        echo "SKIP: ip netns is not available here" >&2
        exit 77
    fi
    ip netns del "$probe"
    if ! command -v unshare >/dev/null; then
        echo "SKIP: unshare (util-linux) is missing" >&2
        exit 77
    fi
}

netlan_ns() { echo "${NETLAN_RUN}-h$1"; }
netlan_addr() { echo "${NETLAN_PREFIX}.$((10 + $1))"; }

_netlan_add_ns() {
    ip netns add "$1" || return 1
    NETLAN_NAMESPACES+=("$1")
    ip -n "$1" link set lo up
    # IPv6 would only add router solicitations and the like; the LAN is IPv4.
    ip netns exec "$1" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
}

_netlan_write_etc() {
    local i=$1 ns
    ns=$(netlan_ns "$i")
    mkdir -p "/etc/netns/$ns"
    {
        echo "127.0.0.1 localhost"
        local j
        for ((j = 1; j <= NETLAN_HOSTS; j++)); do
            echo "$(netlan_addr "$j") host$j"
        done
    } >"/etc/netns/$ns/hosts"
    # Lookups of unknown names end at the host's own loopback, never at a real server.
    echo "nameserver 127.0.0.1" >"/etc/netns/$ns/resolv.conf"
}

# A run that was killed outright (SIGKILL, a CI time-out) never reached its trap; its
# namespaces carry the pid of a shell that is gone. Clear them so they hold no servers
# and no ports for the runs that follow.
_netlan_reap_dead_runs() {
    local ns owner pid
    for ns in $(ip netns list 2>/dev/null | awk '{print $1}'); do
        [[ $ns =~ ^hk([0-9]+)r[0-9]+- ]] || continue
        owner=${BASH_REMATCH[1]}
        kill -0 "$owner" 2>/dev/null && continue
        for pid in $(ip netns pids "$ns" 2>/dev/null); do
            kill -KILL "$pid" 2>/dev/null
        done
        ip netns del "$ns" 2>/dev/null
        rm -rf "/etc/netns/$ns"
    done
}

# netlan_create N: the bridge namespace and N hosts, each with lo and eth0 up.
netlan_create() {
    _netlan_reap_dead_runs
    local count=$1 i ns
    trap netlan_destroy EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    NETLAN_HOSTS=$count
    NETLAN_BRIDGE_NS="${NETLAN_RUN}-br"
    _netlan_add_ns "$NETLAN_BRIDGE_NS" || return 1
    ip -n "$NETLAN_BRIDGE_NS" link add br0 type bridge
    ip -n "$NETLAN_BRIDGE_NS" link set br0 up
    for ((i = 1; i <= count; i++)); do
        ns=$(netlan_ns "$i")
        _netlan_add_ns "$ns" || return 1
        ip -n "$NETLAN_BRIDGE_NS" link add "p$i" type veth peer name eth0 netns "$ns"
        ip -n "$NETLAN_BRIDGE_NS" link set "p$i" master br0 up
        ip -n "$ns" addr add "$(netlan_addr "$i")/24" dev eth0
        ip -n "$ns" link set eth0 up
        # The limited broadcast needs a route of its own, since there is no default route.
        ip -n "$ns" route add 255.255.255.255/32 dev eth0
    done
    for ((i = 1; i <= count; i++)); do
        _netlan_write_etc "$i"
    done
}

netlan_set_hostname() { NETLAN_HOSTNAME[$1]=$2; }

netlan_hosts_line() { echo "$2" >>"/etc/netns/$(netlan_ns "$1")/hosts"; }

# Runs in the host's namespace (which binds /etc/netns/NAME/*) and, when the host has a
# name, in a UTS namespace of its own carrying that name.
netlan_exec() {
    local i=$1
    shift
    local name=${NETLAN_HOSTNAME[$i]:-}
    if [[ -n $name ]]; then
        ip netns exec "$(netlan_ns "$i")" unshare --uts sh -c 'hostname "$0" && exec "$@"' "$name" "$@"
    else
        ip netns exec "$(netlan_ns "$i")" "$@"
    fi
}

netlan_spawn() {
    netlan_exec "$@" &
    NETLAN_PID=$!
    NETLAN_PIDS+=("$NETLAN_PID")
}

# Waits up to SECONDS for FILE to exist; fails otherwise.
netlan_wait_for_file() {
    local file=$1 deadline=$((SECONDS + $2))
    while [[ ! -e $file ]]; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

netlan_destroy() {
    local pid ns
    for pid in "${NETLAN_PIDS[@]}"; do
        kill -TERM "$pid" 2>/dev/null
    done
    for pid in "${NETLAN_PIDS[@]}"; do
        wait "$pid" 2>/dev/null
    done
    NETLAN_PIDS=()
    for ns in "${NETLAN_NAMESPACES[@]}"; do
        # Whatever still runs inside was started through this LAN.
        for pid in $(ip netns pids "$ns" 2>/dev/null); do
            kill -KILL "$pid" 2>/dev/null
        done
        ip netns del "$ns" 2>/dev/null
        rm -rf "/etc/netns/$ns"
    done
    NETLAN_NAMESPACES=()
}
