#!/usr/bin/env bash
# The long fuzz run: every target (or those named after the count) over N inputs, default 10^6,
# with at most 1 s per input, niced, one after another. New inputs collect in
# build-fuzz/long/<target>/, crashes and slow inputs as files there too, the log beside it.
source "$(dirname "$0")/common.sh"
runs="${1:-1000000}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(project_reader number_format settings computations)
zeb_build_fuzz
status=0
for t in "${targets[@]}"; do
    out="$ZEB_FUZZ_BUILD/long/$t"
    mkdir -p "$out"
    if nice -n 10 "$ZEB_FUZZ_BUILD/fuzz_$t" -runs="$runs" -timeout=1 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$out/" "$out" "$ZEB_ROOT/fuzz/corpus/$t" \
        >"$out.log" 2>&1; then
        echo "$t: no crash, no sanitizer report, no input over 1 s"
    else
        echo "$t: FAILED, see $out.log"
        status=1
    fi
    grep -E "stat::number_of_executed_units|stat::slowest_unit_time_sec|stat::peak_rss_mb" \
        "$out.log" || true
done
exit $status
