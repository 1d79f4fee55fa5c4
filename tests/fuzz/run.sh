#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz targets with clang and runs each for a bounded time; any
# crash fails the run. usage: tests/fuzz/run.sh [SECONDS_EACH]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
build="$top/build-fuzz"
mkdir -p "$build"
log="$build/build.log"
(cd "$top" && cmake --preset fuzz) >"$log" 2>&1 || { tail -20 "$log"; exit 1; }
(cd "$top" && cmake --build --preset fuzz) >>"$log" 2>&1 ||
    { grep -A5 -E 'error|FAILED' "$log" | head -40; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in learner_number clip_image clip_lookup; do
    seeds=("$top/tests/fuzz/corpus/$target")
    [ "$target" = clip_image ] && seeds=("$top/resources/clips/male/TIME" "$top/resources/clips/female/TIME")
    mkdir -p "$work/$target"
    echo "fuzz_$target: ${seconds}s"
    # The last lines: executions, coverage and the corpus reached.
    # A unit that runs ten seconds is a hang, and fails the run like a crash.
    "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$work/" "$work/$target" "${seeds[@]}" >"$work/$target.log" 2>&1 ||
        { tail -40 "$work/$target.log"; echo "fuzz_$target found a crash"; exit 1; }
    { grep -E 'cov: ' "$work/$target.log" | tail -1
      grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec' "$work/$target.log"; } || true
done
