#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target (or the ones named) for
# a bounded time each, starting from the seed corpus in fuzz/corpus.
#
#   fuzz/run.sh [seconds] [target...]      default: 60 seconds, every target
#
# The fuzzers work on a scratch copy of the corpus, so the repository is not
# touched. Exit status: 0 when every target ran its time without a crash or
# a difference from its model; 1 otherwise, with the failing input and the
# target's log kept in the scratch folder named in the output.
set -u

seconds=${1:-60}
shift || true
case $seconds in
  '' | *[!0-9]*) echo "usage: fuzz/run.sh [seconds] [target...]" >&2; exit 2 ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(command_line option_value file_names extraction)
fi

cd "$root" || exit 1
cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz || exit 1

scratch=$(mktemp -d "${TMPDIR:-/tmp}/rowpluck-fuzz.XXXXXX")
failed=0
for t in "${targets[@]}"; do
  binary="$root/build/fuzz/fuzz/fuzz_$t"
  if [ ! -x "$binary" ] || [ ! -d "$root/fuzz/corpus/$t" ]; then
    echo "fuzz: no target named $t" >&2
    failed=1
    continue
  fi
  mkdir -p "$scratch/$t/corpus" "$scratch/$t/artifacts"
  cp "$root/fuzz/corpus/$t/"* "$scratch/$t/corpus/"
  echo "fuzz: $t for $seconds s"
  # -timeout: one input that runs for seconds is a hang, which counts as a failure.
  "$binary" "$scratch/$t/corpus" \
    -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$scratch/$t/artifacts/" >"$scratch/$t/log" 2>&1
  status=$?
  # The last progress line carries the coverage and the speed; the final
  # statistics the number of runs.
  grep -E '^#[0-9]+' "$scratch/$t/log" | tail -n 1
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$scratch/$t/log"
  if [ $status -ne 0 ] || [ -n "$(ls -A "$scratch/$t/artifacts")" ]; then
    echo "fuzz: $t FAILED (exit $status); log and inputs in $scratch/$t" >&2
    grep -E -A12 '==== model difference|ERROR: (AddressSanitizer|UndefinedBehaviorSanitizer|libFuzzer)|runtime error' \
      "$scratch/$t/log" | head -n 40 >&2
    failed=1
  fi
done

if [ $failed -eq 0 ]; then
  rm -rf "$scratch"
  echo "fuzz: all targets passed"
fi
exit $failed
