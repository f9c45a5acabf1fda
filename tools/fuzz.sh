#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, ASan, UBSan) and runs
# each for a bounded time from its committed seed corpus, fuzz/corpus/<name>/
# (the name without "_fuzz").  New inputs go to build/fuzz/corpus/, never into
# the committed seeds.  Fails when a target finds a crash or a broken rule; the
# input is left in build/fuzz/artifacts/.  KAIRON_FUZZ_PARALLEL targets run at
# once (default 2).
# Usage: fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default 60 s, every target)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
build=${KAIRON_FUZZ_BUILD:-build/fuzz}  # a run of its own (the benchmarks) may build elsewhere

if ! out=$({ cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug &&
  cmake --build "$build" -j "${JOBS:-2}"; } 2>&1); then
  echo "$out"
  echo "fuzz targets: build FAILED"
  exit 1
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

export LC_ALL=${KAIRON_FUZZ_LOCALE:-ja_JP.UTF-8}

# Runs one target; its report goes to $build/<target>.report, and a failure
# leaves $build/<target>.failed.
run_target() {  # TARGET
  local target=$1 name=${1%_fuzz}
  local seeds=fuzz/corpus/$name corpus=$build/corpus/$name artifacts=$build/artifacts/$1/
  local log=$build/$target.log report=$build/$target.report
  mkdir -p "$corpus" "$artifacts"
  rm -f "$build/$target.failed"
  echo "== $target for ${seconds} s" >"$report"
  if "$build/$target" "$corpus" "$seeds" -max_total_time="$seconds" -max_len=16384 -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts" >"$log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE|^stat::number_of_executed_units|^stat::average_exec_per_sec' "$log" >>"$report" || true
  else
    { tail -40 "$log"; echo "$target: FAILED (log: $log, input in $artifacts)"; } >>"$report"
    touch "$build/$target.failed"
  fi
}

# Two targets at a time by default: the bounded run is part of every test run.
parallel=${KAIRON_FUZZ_PARALLEL:-2}
for target in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
  run_target "$target" &
done
wait

status=0
for target in "${targets[@]}"; do
  cat "$build/$target.report"
  [ ! -e "$build/$target.failed" ] || status=1
done
exit $status
