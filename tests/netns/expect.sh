# expect.sh: the checks of the LAN test scripts. Source it, check with expect, and end
# with `exit $((failures > 0))`.
#
#   expect "what is checked" "$got" "$wanted"   # prints ok: or FAIL: and counts failures

failures=0

expect() { # WHAT GOT WANTED
    if [[ $2 == "$3" ]]; then
        echo "ok: $1"
    else
        echo "FAIL: $1: got '$2', expected '$3'"
        failures=$((failures + 1))
    fi
}
