#!/usr/bin/env bash
# Checks the layout of every C++ file against .clang-format and runs the clang-tidy checks of
# .clang-tidy over the core and the front ends. Exits non-zero on the first kind of finding.
#
#   tools/check-style.sh [BUILD_DIR]     (BUILD_DIR holds compile_commands.json; default build)
#   tools/check-style.sh --fix           re-lays out every file instead of checking
#
# On a branch other than main, clang-tidy checks only the sources changed against main;
# TARVELO_TIDY_ALL=1 checks every source (main and CI always do).
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi

bash tools/check-layers.sh

echo "clang-format: ${#files[@]} files"
clang-format --dry-run --Werror "${files[@]}"

build="${1:-build}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "clang-tidy: no $build/compile_commands.json (configure with CMAKE_EXPORT_COMPILE_COMMANDS=ON)" >&2
  exit 1
fi
layers='^(support|settings|services|keywords|xml|cis|images|geometry|rolltypes|events|midi|expression|view|align|document|cli|app)/'
mapfile -t sources < <(git ls-files '*.cpp' | grep -E "$layers")
# On a work branch, clang-tidy looks only at the sources that differ from main (with their
# headers' users left to the full run on main and in CI); TARVELO_TIDY_ALL=1 checks them all.
branch="$(git rev-parse --abbrev-ref HEAD 2>/dev/null || echo HEAD)"
if [ "${TARVELO_TIDY_ALL:-0}" != 1 ] && [ "$branch" != main ] && [ "$branch" != HEAD ] &&
   git rev-parse -q --verify main >/dev/null; then
  mapfile -t changed < <(git diff --name-only --diff-filter=d main -- '*.cpp' | grep -E "$layers" || true)
  sources=("${changed[@]}")
fi
echo "clang-tidy: ${#sources[@]} files"
# clang-tidy matches the header filter against the header paths it sees, which are absolute
# (the include paths of compile_commands.json): the project's headers are those under this
# folder (as spelt and as resolved) in the folders of tools/layers.txt.
folders=$(grep '^[a-z]' tools/layers.txt | tr -s ' \n' '||' | sed 's/|$//')
roots="$(pwd | sed 's/[.]/[.]/g')|$(pwd -P | sed 's/[.]/[.]/g')"
header_filter="^($roots)/($folders)/"
tidy_log="$(mktemp)"
trap 'rm -f "$tidy_log"' EXIT
if [ "${#sources[@]}" -gt 0 ]; then
  printf '%s\n' "${sources[@]}" |
    xargs -P "$(nproc)" -n 8 clang-tidy -p "$build" --quiet "--header-filter=$header_filter" 2>&1 |
    grep -v "warnings generated\|^Suppressed\|Use -header-filter\|^$" | tee "$tidy_log" || true
fi
if grep -q "error:\|warning:" "$tidy_log"; then
  echo "clang-tidy found problems" >&2
  exit 1
fi
echo "style: clean"
