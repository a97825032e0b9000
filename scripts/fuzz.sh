#!/usr/bin/env bash
# Builds the game's three fuzzers with clang (libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer, in build/fuzz) and runs them one after the other for
# FUZZ_SECONDS each (default 300): the piece catalogue, the pictures, the per-user store.
#
# Each starts from its kept corpus in tests/fuzz/corpus/<target>/ and writes what it finds
# to a scratch directory, so the kept corpus only grows on purpose: with FUZZ_MERGE=1 the
# inputs that reach new code are merged into it afterwards. An input that breaks a promise
# is saved as build/fuzz/findings/<target>-crash-*; the run ends with a failure then.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-300}
jobs=${JOBS:-$(nproc)}
build=build/fuzz
targets=(catalogue pictures store)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DSNUGBOX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
cmake --build "$build" -j "$jobs" --target "${targets[@]/#/snugbox_fuzz_}"

# The harnesses write their files under TMPDIR: memory, when the machine has it there.
scratch_root=/tmp
[[ -d /dev/shm && -w /dev/shm ]] && scratch_root=/dev/shm
scratch=$(mktemp -d "$scratch_root/snugbox-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$build/findings" "$build/logs"

# Inputs longer than the files are worth trying teach nothing and cost time.
declare -A max_len=([catalogue]=1024 [pictures]=16384 [store]=4096)
# The store's harness reads every file under a new name, which the settings library
# remembers: memory grows a little on every run, so looking for leaks after each run
# would scan the whole heap every time. Leaks still show at the end of the run.
declare -A leak_checks=([catalogue]=1 [pictures]=1 [store]=0)
# A small quarantine reuses freed memory sooner: fewer fresh pages, the same checks. An
# absurd allocation fails as it does without the sanitizer (the settings library reserves
# what a value in a store file claims, and copes when that fails); the sanitizer would
# stop there instead. The game's own code allocates with new, which still stops.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

summary=()
failed=()
for target in "${targets[@]}"; do
  work="$scratch/$target"
  mkdir -p "$work/tmp"
  log="$build/logs/$target.log"
  echo "== fuzzing $target for $seconds s (log: $log)"
  status=0
  TMPDIR="$work/tmp" "$build/tests/fuzz/snugbox_fuzz_$target" \
    -max_total_time="$seconds" -max_len="${max_len[$target]}" -timeout=10 \
    -detect_leaks="${leak_checks[$target]}" -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" \
    "$work" "tests/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  coverage=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+' || true)
  summary+=("$(printf '%-10s %12s executions %7s/s  %s' "$target" "${runs:-?}" "${rate:-?}" "$coverage")")
  if [[ $status -ne 0 ]]; then
    failed+=("$target")
    tail -n 40 "$log"
  elif [[ "${FUZZ_MERGE:-0}" == 1 ]]; then
    "$build/tests/fuzz/snugbox_fuzz_$target" -merge=1 -max_len="${max_len[$target]}" \
      "tests/fuzz/corpus/$target" "$work" >>"$log" 2>&1
  fi
done

echo "== fuzzing summary ($seconds s each)"
printf '%s\n' "${summary[@]}"
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "found broken promises in: ${failed[*]} (inputs in $build/findings/)" >&2
  exit 1
fi
