#!/usr/bin/env bash
# run_smoke.sh TARGET WORKDIR SEEDDIR SECONDS: fuzzes TARGET for SECONDS, starting
# from the committed seeds (read only) and a working corpus kept in WORKDIR.
set -euo pipefail
target=$1 work=$2 seeds=$3 seconds=$4
mkdir -p "$work/corpus" "$work/artifacts"
"$target" "$work/corpus" "$seeds" -max_total_time="$seconds" -rss_limit_mb=2048 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 2>"$work/log.txt" || {
  tail -n 60 "$work/log.txt"
  exit 1
}
grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units)' "$work/log.txt" | tail -n 2
