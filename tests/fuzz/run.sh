#!/bin/sh
# run.sh <fuzzer> <seconds> <work dir> <seed corpus dir>
# Runs the fuzzer for a bounded time from the seeds plus whatever earlier runs
# found; a broken invariant or a sanitizer report fails the run and leaves the
# input under <work dir>/artifacts.
set -eu
fuzzer=$1 seconds=$2 work=$3 seeds=$4
mkdir -p "$work/corpus" "$work/artifacts"
exec "$fuzzer" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" "$seeds"
