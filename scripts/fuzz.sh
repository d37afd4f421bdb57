#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60), starting
# from the inputs kept in fuzz/corpus and fuzz/regressions. New inputs the
# fuzzer finds stay under build/fuzz/runs; an input that makes a target fail
# is left there as crash-*, leak-* or timeout-*, and the script fails.
# Copy such an input into fuzz/regressions/<target>/ once its fault is fixed:
# the corpus tests replay it in every build from then on.
#   scripts/fuzz.sh [SECONDS] [TARGET...]      targets: scene_loader script_reader
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(scene_loader script_reader)

bash scripts/setup.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null

# The targets run side by side, one a core, each for SECONDS.
fuzz_one() {  # target
  local target="$1" work=build/fuzz/runs/$1
  mkdir -p "$work/corpus"
  local seeds=(fuzz/corpus/"$target")
  [ -d fuzz/regressions/"$target" ] && seeds+=(fuzz/regressions/"$target")
  build/fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$work/" -print_final_stats=1 "$work/corpus" "${seeds[@]}" 2>"$work/log.txt"
}
pids=()
for target in "${targets[@]}"; do
  echo "fuzz: $target for ${seconds}s"
  fuzz_one "$target" &
  pids+=($!)
done
status=0
for i in "${!targets[@]}"; do
  target=${targets[$i]}
  work=build/fuzz/runs/$target
  if ! wait "${pids[$i]}"; then
    echo "fuzz: $target failed; the input and the log are in $work" >&2
    tail -n 40 "$work/log.txt" >&2
    status=1
  else
    echo "fuzz: $target"
    grep -E "^stat::(number_of_executed_units|peak_rss_mb)" "$work/log.txt" || true
  fi
done
exit $status
