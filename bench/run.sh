#!/bin/bash
# Runs the four benchmarks one after the other and writes the results with the machine
# they ran on to a Markdown file. Needs root for the namespace LAN (the discovery and
# rest benchmarks are skipped without it, and the file says so).
# Usage: run.sh BUILD_DIR RESULTS_FILE
set -u
build=$(cd "$1" && pwd)
results=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Shorter runs for trying the script out; make bench uses the defaults.
readonly DiscoveryRuns=${BENCH_DISCOVERY_RUNS:-5} RestSeconds=${BENCH_REST_SECONDS:-60} ExtraStarts=${BENCH_EXTRA_STARTS:-4}
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
started=$(date -u '+%Y-%m-%d %H:%M UTC')

echo "== answer handling" >&2
"$build/bench/bench_answers" --benchmark_out="$work/answers.json" --benchmark_out_format=json >&2
echo "== tick and painting" >&2
"$build/bench/bench_gui" --benchmark_out="$work/gui.json" --benchmark_out_format=json >&2
echo "== discovery against quakestat" >&2
bash "$here/discovery.sh" "$build" $DiscoveryRuns "$work/discovery.txt" >&2
discovery_status=$?
echo "== the program at rest" >&2
bash "$here/rest.sh" "$build" $RestSeconds $ExtraStarts "$work/rest.txt" >&2
rest_status=$?
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# Google Benchmark figures: field of the named benchmark.
figure() { jq -r --arg n "$2" --arg f "$3" '.benchmarks[] | select(.name == $n) | .[$f]' "$work/$1.json"; }
# stats COLUMN FILTER FILE: "min median max" of a column of the lines matching the filter.
stats() { awk -v c="$1" -v f="$2" '$0 ~ f { print $c }' "$3" | sort -g | median_line; }
# "min median max" of a column of numbers.
median_line() { awk '{ v[NR] = $1 } END { if (NR == 0) { print "- - -"; exit } m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; print v[1], m, v[NR] }'; }
verdict() { awk "BEGIN { exit !($1) }" && echo "met" || echo "**missed**"; }
fmt() { awk -v v="$1" -v p="${2:-1}" 'BEGIN { printf "%.*f", p, v }'; }
mebibytes() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

{
    echo "# Benchmark results"
    echo
    echo "Written by \`make bench\` ($started). Timings are compared as ratios within this one run."
    echo
    echo "## Machine"
    echo
    echo "- CPU: $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo), $(nproc) cores available"
    echo "- Memory: $(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)"
    echo "- System: $(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r), Qt $(qtpaths6 --qt-version 2>/dev/null || echo 6)"
    echo "- Load average (1, 5, 15 min): $load_before before, $load_after after. The machine is shared"
    echo "  with other work, so wall times carry its noise; CPU times less so."
    echo

    echo "## 1. Discovery against quakestat"
    echo
    if [[ $discovery_status != 0 ]]; then
        echo "Not run (status $discovery_status: root and \`ip netns\` are needed)."
    else
        expected=$(awk '/^expected/ { print $2 }' "$work/discovery.txt")
        echo "One namespace LAN: 8 OpenArena servers on four hosts (ports 27960..27963) and a host answering"
        echo "every query like 500 servers (125 addresses x 4 ports, one datagram each, in one burst); both tools"
        echo "search from a sixth host, alternately, $DiscoveryRuns runs each. harkener-scan runs at speed 2 and ends after"
        echo "its first sending sweep; quakestat broadcasts with \`-q3s +255.255.255.255:27960-27963\` and its default"
        echo "retries and time-out. *List complete* is when the tool wrote the last byte of its list; *exit* is when"
        echo "the process ended."
        echo
        echo "| Tool | List complete ms (min / median / max) | Exit ms (median) | CPU ms (median) | Peak RSS KiB (max) | Servers reported of $expected (min / max) |"
        echo "|---|---|---|---|---|---|"
        for tool in harkener-scan quakestat; do
            read -r lmin lmed lmax < <(stats 4 "^RUN $tool " "$work/discovery.txt")
            read -r _ wmed _ < <(stats 3 "^RUN $tool " "$work/discovery.txt")
            read -r _ cmed _ < <(stats 5 "^RUN $tool " "$work/discovery.txt")
            read -r _ _ rmax < <(stats 6 "^RUN $tool " "$work/discovery.txt")
            read -r smin _ smax < <(stats 7 "^RUN $tool " "$work/discovery.txt")
            echo "| $tool | $lmin / $lmed / $lmax | $wmed | $cmed | $rmax | $smin / $smax |"
        done
        # Runs are paired: harkener-scan then quakestat.
        ratios=$(awk '/^RUN harkener-scan/ { h = $4 } /^RUN quakestat/ { printf "%.2f\n", $4 / h }' "$work/discovery.txt" | sort -g)
        min_ratio=$(head -1 <<<"$ratios")
        read -r scan_min _ _ < <(stats 7 "^RUN harkener-scan " "$work/discovery.txt")
        read -r _ _ scan_rss < <(stats 6 "^RUN harkener-scan " "$work/discovery.txt")
        echo
        echo "| Target | Measured | Verdict |"
        echo "|---|---|---|"
        echo "| harkener-scan's list at least 4x sooner than quakestat's, in every run | ratios per run: $(tr '\n' ' ' <<<"$ratios")| $(verdict "$min_ratio >= 4") |"
        echo "| all $expected servers reported in every run | fewest: $scan_min | $(verdict "$scan_min == $expected") |"
        echo "| harkener-scan peak RSS at most 8 MB | $(mebibytes "$scan_rss") MiB | $(verdict "$scan_rss <= 8192") |"
    fi
    echo

    echo "## 2. Answer handling"
    echo
    echo "One \"infoResponse\" datagram (a typical OpenArena info string) through the protocol into the server"
    echo "registry, the known servers answering again in turn; Google Benchmark, CPU time on one core."
    echo
    echo "| Benchmark | CPU us per answer | Answers per second |"
    echo "|---|---|---|"
    for n in 10 1000 10000; do
        echo "| $n servers known | $(fmt "$(figure answers "knownServerAnswers/$n" cpu_time)" 2) | $(fmt "$(figure answers "knownServerAnswers/$n" items_per_second)" 0) |"
    done
    echo "| info string parsing alone | $(fmt "$(figure answers infoStringParsing cpu_time)" 2) | $(fmt "$(figure answers infoStringParsing items_per_second)" 0) |"
    slowest=$(figure answers knownServerAnswers/10000 items_per_second)
    growth=$(awk -v a="$(figure answers knownServerAnswers/10000 cpu_time)" -v b="$(figure answers knownServerAnswers/10 cpu_time)" 'BEGIN { printf "%.2f", a / b }')
    echo
    echo "| Target | Measured | Verdict |"
    echo "|---|---|---|"
    echo "| at least 200,000 answers per second on one core (10,000 known) | $(fmt "$slowest" 0) | $(verdict "$slowest >= 200000") |"
    echo "| cost with 10,000 known at most 1.5x the cost with 10 | ${growth}x | $(verdict "$growth <= 1.5") |"
    echo

    echo "## 3. The program at rest"
    echo
    if [[ $rest_status != 0 ]]; then
        echo "Not run (status $rest_status: root and \`ip netns\` are needed)."
    else
        echo "harkener itself on a namespace LAN with 8 OpenArena servers, window open, platform"
        echo "\`$(awk '/^platform/ { print $2 }' "$work/rest.txt")\` (a virtual X server of its own). CPU from \`/proc/PID/stat\` over $RestSeconds s after"
        echo "the first 5 s; peak RSS is VmHWM; first paint is from exec to the end of the first paint of a"
        echo "window (a generic Qt plugin watches the unmodified program), over the two rest runs and $ExtraStarts more starts."
        echo
        echo "| Speed | CPU % of one core at rest | CPU ms in all (start-up included) | Peak RSS MiB | First paint ms |"
        echo "|---|---|---|---|---|"
        awk '/^REST/ { printf "| %s | %s | %s | %.1f | %s |\n", $2, $4, $5, $6 / 1024, $3 }' "$work/rest.txt"
        read -r pmin pmed pmax < <(awk '/^REST/ { print $3 } /^START/ { print $2 }' "$work/rest.txt" | sort -g | median_line)
        cpu0=$(awk '/^REST 0/ { print $4 }' "$work/rest.txt")
        cpu2=$(awk '/^REST 2/ { print $4 }' "$work/rest.txt")
        rss=$(awk '/^REST/ && $6 > m { m = $6 } END { print m }' "$work/rest.txt")
        read -r fmin fmed fmax < <(stats 2 "^FLOOR" "$work/rest.txt")
        echo
        echo "A plain Qt window (\`bench_qt_floor\`, started alternately with harkener) is first painted after"
        echo "$fmed ms (median; min / max $fmin / $fmax): what loading Qt and reaching the display cost here."
        echo
        echo "| Target | Measured | Verdict |"
        echo "|---|---|---|"
        echo "| at most 0.2% of one core at speed 0 | $cpu0% | $(verdict "$cpu0 <= 0.2") |"
        echo "| at most 1% of one core at speed 2 | $cpu2% | $(verdict "$cpu2 <= 1") |"
        echo "| peak RSS of the program at most 60 MB | $(mebibytes "$rss") MiB | $(verdict "$rss <= 61440") |"
        echo "| first window painted within 300 ms of start (median; min / max $pmin / $pmax) | $pmed ms | $(verdict "$pmed <= 300") |"
    fi
    echo

    echo "## 4. The tick and painting"
    echo
    echo "The main window with stand-ins for engine and registry (nothing on the network), the real settings"
    echo "store, offscreen platform; Google Benchmark, wall time per call (CPU time beside it)."
    echo
    tick=$(figure gui tickWithoutChange/50/real_time real_time)
    paint=$(figure gui fullRepaint/50/real_time real_time)
    echo "| Target | Measured (wall / CPU) | Verdict |"
    echo "|---|---|---|"
    echo "| a tick with no change under 50 us | $(fmt "$tick" 1) us / $(fmt "$(figure gui tickWithoutChange/50/real_time cpu_time)" 1) us | $(verdict "$tick < 50") |"
    echo "| a full repaint of the main window with 50 rows under 5 ms | $(fmt "$paint" 2) ms / $(fmt "$(figure gui fullRepaint/50/real_time cpu_time)" 2) ms | $(verdict "$paint < 5") |"
    echo "| (no target) one step of the barber pole | $(fmt "$(figure gui barberPoleStep/50/real_time real_time)" 1) us / $(fmt "$(figure gui barberPoleStep/50/real_time cpu_time)" 1) us | - |"
    echo
    cat "$here/FINDINGS.md"
} >"$results"
echo "wrote $results" >&2
