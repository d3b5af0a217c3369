#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/*_fuzz.cpp) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, and runs each for SECONDS seconds on its corpus
# fuzz/corpus/<Name>, an input that runs longer than 5 seconds counting as a hang. Inputs that
# reach new code are kept in build-fuzz/corpus/<Name> (the checked-in corpus is only read);
# a crash, leak or hang is written to build-fuzz/findings/<Name>/ and fails the run. Prints
# each target's runs, runs per second and coverage.
#
#   tools/fuzz.sh SECONDS
#
# A finding becomes a regression test (tests/) named after what it pins, and its input goes
# into the target's corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:?usage: tools/fuzz.sh SECONDS}"
build=build-fuzz

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CXX="${CXX:-clang++}" cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVELO_BUILD_FUZZ=ON \
  -DTARVELO_BUILD_TESTS=OFF -DTARVELO_BUILD_BENCH=OFF -DTARVELO_BUILD_DESKTOP=OFF "${launcher[@]}" >/dev/null
targets=()
for source in fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build "$build" -j2 --target "${targets[@]}"

# Readers of scans are fuzzed with inputs as large as the real-scan heads of their corpus.
declare -A max_len=([CisReader_fuzz]=65536 [Tracking_fuzz]=65536 [PictureReader_fuzz]=65536)
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
for target in "${targets[@]}"; do
  name="${target%_fuzz}"
  mkdir -p "$build/corpus/$name" "$build/findings/$name"
  log="$build/findings/$name.log"
  args=(-max_total_time="$seconds" -timeout=5 -print_final_stats=1 -artifact_prefix="$build/findings/$name/")
  [ -n "${max_len[$target]:-}" ] && args+=(-max_len="${max_len[$target]}")
  set +e
  "$build/fuzz/$target" "${args[@]}" "$build/corpus/$name" "fuzz/corpus/$name" >"$log" 2>&1
  status=$?
  set -e
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
  coverage="$(grep -o 'cov: [0-9]*' "$log" | tail -1)"
  if [ "$status" -ne 0 ] || ls "$build/findings/$name/" | grep -q .; then
    echo "$name: FAILED (exit $status) after ${runs:-?} runs; see $log and $build/findings/$name/"
    failed=1
  else
    echo "$name: ${runs} runs in ${seconds} s, ${rate} runs/s, ${coverage}, no crash, leak or hang"
  fi
done
exit "$failed"
