#!/bin/bash
# Runs fuzz targets one after the other, each for a set time or number of executions,
# starting from the committed seeds; a finding stops the run with its input kept.
# Usage: fuzz/run.sh BUILD_DIRECTORY SECONDS [RUNS] TARGET...
#   RUNS 0 means no limit on executions. Writes a summary line per target to
#   BUILD_DIRECTORY/fuzz-summary.txt.
set -u
build=$1 seconds=$2 runs=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
summary="$build/fuzz-summary.txt"
: >"$summary"
status=0
for target in "$@"; do
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts"
    options=(-max_total_time="$seconds" -runs="$([[ $runs == 0 ]] && echo -1 || echo "$runs")"
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts")
    [[ -f $here/$target.dict ]] && options+=(-dict="$here/$target.dict")
    log="$build/fuzz-$target.log"
    # The LAN-free resolver is built in; the display is never needed.
    QT_QPA_PLATFORM=offscreen "$build/fuzz_$target" "${options[@]}" "$corpus" "$here/corpus/$target" >"$log" 2>&1
    result=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$log")
    time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
    verdict=$([[ $result == 0 ]] && echo clean || echo "FINDING (exit $result, see $log and $artifacts)")
    printf '%-11s %12s executions %6s s %6s MB peak  %s\n' "$target" "${executions:-?}" "${time:-?}" "${rss:-?}" "$verdict" | tee -a "$summary"
    [[ $result == 0 ]] || status=1
done
exit $status
