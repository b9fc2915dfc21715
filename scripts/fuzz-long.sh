#!/usr/bin/env bash
# The long fuzz run: every target (or those named after the count) over N inputs, default 10^6,
# with at most 1 s per input, niced, one target after another. ZEB_FUZZ_JOBS=J (default 1)
# shares a target's inputs between J processes with seeds 1..J, one per core. New inputs
# collect in build-fuzz/long/<target>[.<job>]/, crashes and slow inputs as files there too, the
# log beside it.
source "$(dirname "$0")/common.sh"
runs="${1:-1000000}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(project_reader number_format settings computations)
jobs="${ZEB_FUZZ_JOBS:-1}"
zeb_build_fuzz
status=0
for t in "${targets[@]}"; do
    pids=()
    outs=()
    for ((j = 1; j <= jobs; j++)); do
        out="$ZEB_FUZZ_BUILD/long/$t"
        [ "$jobs" -gt 1 ] && out="$out.$j"
        mkdir -p "$out"
        outs+=("$out")
        nice -n 10 "$ZEB_FUZZ_BUILD/fuzz_$t" -runs=$((runs / jobs)) -seed="$j" -timeout=1 \
            -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$out/" "$out" \
            "$ZEB_ROOT/fuzz/corpus/$t" >"$out.log" 2>&1 &
        pids+=($!)
    done
    for ((j = 0; j < jobs; j++)); do
        if wait "${pids[$j]}"; then
            echo "$t${outs[$j]##*/$t}: no crash, no sanitizer report, no input over 1 s"
        else
            echo "$t${outs[$j]##*/$t}: FAILED, see ${outs[$j]}.log"
            status=1
        fi
        grep -E "stat::number_of_executed_units|stat::slowest_unit_time_sec|stat::peak_rss_mb" \
            "${outs[$j]}.log" || true
    done
done
exit $status
