#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs every test there. Any report fails the run. That build is clang's with
# every warning an error, so CI builds the project with both compilers (gcc in build/).
#
#   tools/sanitize.sh           address and undefined behaviour
#   TARVELO_SANITIZE_DESKTOP=OFF tools/sanitize.sh
#                               the same without the desktop (CI: a shorter build)
#   tools/sanitize.sh thread    ThreadSanitizer, into build-tsan/: the batches' documents on
#                               their threads and each conversion's second thread. The desktop
#                               is left out (Qt's own libraries are not instrumented).
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-address}"
desktop="${TARVELO_SANITIZE_DESKTOP:-ON}"
case "$mode" in
  address)
    build=build-asan
    compiler=(-DCMAKE_CXX_COMPILER="${CXX:-clang++}" -DTARVELO_WERROR=ON)
    flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
    link="-fsanitize=address,undefined"
    ;;
  thread)
    build=build-tsan
    compiler=()
    flags="-fsanitize=thread -fno-omit-frame-pointer"
    link="-fsanitize=thread"
    desktop=OFF
    ;;
  *)
    echo "usage: tools/sanitize.sh [thread]" >&2
    exit 2
    ;;
esac
# ccache, when installed, keeps a second run's build short.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVELO_BUILD_BENCH=OFF -DTARVELO_BUILD_DESKTOP="$desktop" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$link" "${compiler[@]}" "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
# Qt's offscreen platform for the desktop tests, when they are built.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
echo "sanitize ($mode): every test passed"
