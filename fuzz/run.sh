#!/usr/bin/env bash
# Runs one fuzz target over its seeds: run.sh BINARY SEEDS SECONDS|RUNS=N
# New inputs go to a temporary folder, never into the work tree; a failing
# run leaves that folder, with the failing input and the log, and names it.
# Exit 77 (skipped) when the target was not built.
set -u
bin=$1; seeds=$2; budget=$3
[ -x "$bin" ] || { echo "not built: $bin (run 'make test' or 'make fuzz')"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
case "$budget" in
  RUNS=*) limit=(-runs="${budget#RUNS=}") ;;
  *) limit=(-max_total_time="$budget") ;;
esac
# Inputs up to 4 KB; a target whose checked bounds lie beyond that gets room
# to cross them: the rig poll keeps 4096 bytes (and its target reads at most
# four times that), the spot links hold a partial line of 4096 characters
# and a monitor of 10000.
case $(basename "$bin") in
  fuzz_cat) max_len=16384 ;;
  fuzz_spots) max_len=12288 ;;
  *) max_len=4096 ;;
esac
mkdir -p "$seeds"
"$bin" "${limit[@]}" -error_exitcode=1 -rss_limit_mb=1024 -max_len=$max_len -timeout=10 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work" "$seeds" 2>"$work/log"
rc=$?
grep -E "stat::number_of_executed_units|stat::new_units_added|ERROR|invariant broken|SUMMARY" "$work/log" | head -20
if [ $rc -ne 0 ]; then
  tail -40 "$work/log"
  for a in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
    [ -e "$a" ] && { echo "input: $a"; od -c "$a" | head -10; }
  done
  trap - EXIT
  echo "kept: $work (the failing input and the log)"
fi
exit $rc
