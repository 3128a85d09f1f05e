#!/bin/sh
# Runs every fuzz target for the given time (seconds, default 600) each, one
# after the other, and prints a summary. Builds the fuzz preset first (clang
# and libFuzzer: deps/setup-machine.sh installs them). Not a test: a tool to
# run now and then. Each target's corpus grows in build/fuzz/corpus/<name>,
# starting from its kept inputs; a finding lands in build/fuzz/findings/<name>/.
# Keep a finding as a fixture by copying it (small, renamed to say what it
# does) into the target's inputs folder, where its replay test runs it in
# every configuration. Exit status 1 when anything was found.
set -eu
seconds=${1:-600}
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
build=$top/build/fuzz
found=0
summary=""
while read -r name inputs; do
  [ -n "$name" ] || continue
  corpus=$build/corpus/$name
  findings=$build/findings/$name
  scratch=$build/scratch/$name
  mkdir -p "$corpus" "$findings" "$scratch"
  log=$build/findings/$name.log
  echo "== $name: $seconds s"
  # The corpus first (new inputs go there), the kept inputs after it.
  # shellcheck disable=SC2086
  TMPDIR=$scratch "$build/bin/${name}_fuzz" "$corpus" $inputs -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1 || true
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  kept=$(find "$findings" -type f | wc -l)
  [ "$kept" -eq 0 ] || found=1
  summary="$summary$(printf '%-32s %10s runs  %s finding(s)' "$name" "${runs:-?}" "$kept")
"
done <"$build/fuzz_targets.txt"
echo
echo "fuzz summary ($seconds s each):"
printf '%s' "$summary"
exit $found
