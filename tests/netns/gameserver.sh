# gameserver.sh: real game servers on a namespace LAN. Source it after netlan.sh.
#
#   NETLAN_GAME_HOMES=$work                           # where the servers keep their homes
#   netlan_start_game_server 1 27960 "Name" oa_dm1 [PLAYERS]   # background, pid in NETLAN_PID
#   netlan_wait_for_game_server 3 1 27960 [SECONDS]   # asks from host 3 until it answers
#
# The servers are dedicated and LAN-only: every master server is emptied, so they never
# call out (and the hosts have no route beyond the LAN anyway).

NETLAN_GAME_SERVER=${NETLAN_GAME_SERVER:-/usr/games/openarena-server}

netlan_start_game_server() { # HOST PORT NAME MAP [PLAYERS]
    local home="${NETLAN_GAME_HOMES:?set NETLAN_GAME_HOMES to a scratch directory}/home-$1-$2"
    mkdir -p "$home"
    netlan_spawn "$1" env HOME="$home" "$NETLAN_GAME_SERVER" +set dedicated 1 +set fs_homepath "$home" \
        +set sv_master1 "" +set sv_master2 "" +set sv_master3 "" +set sv_master4 "" +set sv_master5 "" \
        +set net_port "$2" +set sv_hostname "$3" +set sv_maxclients "${5:-8}" +map "$4" >"$home/console.log" 2>&1
}

netlan_wait_for_game_server() { # FROM HOST PORT [SECONDS]: 1 when it never answered
    local deadline=$((SECONDS + ${4:-20}))
    until netlan_exec "$1" quakestat -q3s "$(netlan_addr "$2"):$3" -raw , 2>/dev/null | grep -q "^Q3S,[^,]*,[^,]"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}
