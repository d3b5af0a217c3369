#!/usr/bin/env bash
# The batch benchmark of tarvelo-cli convert (not run by CI): the real scans of
# ../shared/data/real-cis copied ten times (60 files) converted with --jobs 1 and --jobs 2 in
# the same run, best of three each; two jobs must take at most 0.6 of the time of one. Peak
# memory is measured too: it must grow with the jobs, not with the files (a 60-file batch
# against a 6-file batch with one job).
#
#   tools/bench-batch.sh [CLI]        CLI defaults to build/cli/tarvelo-cli
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(realpath "${1:-$root/build/cli/tarvelo-cli}")"
scans="$root/../shared/data/real-cis"
[ -d "$scans" ] || { echo "bench-batch: no $scans" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export TARVELO_PROFILE="$work/profile.ini" SOURCE_DATE_EPOCH=1700000000
mkdir -p "$work/sixty" "$work/six"
for f in "$scans"/*.CIS; do
  name="$(basename "$f" .CIS)"
  cp "$f" "$work/six/$name.CIS"
  for copy in $(seq -w 1 10); do ln "$work/six/$name.CIS" "$work/sixty/${name}_$copy.CIS"; done
done

# Prints "seconds peak-kilobytes" of one batch: run JOBS FOLDER.
run() {
  rm -rf "$work/out"
  /usr/bin/time -f "%e %M" -o "$work/time" "$cli" convert --quiet --jobs "$1" --output-dir "$work/out" "$2" \
    >/dev/null 2>&1 || true
  tail -1 "$work/time"  # GNU time puts a line about the exit status first
}
best() { sort -n | head -1; }

one=() two=()
for round in 1 2 3; do
  one+=("$(run 1 "$work/sixty")")
  two+=("$(run 2 "$work/sixty")")
done
t1="$(printf '%s\n' "${one[@]}" | best | cut -d' ' -f1)"
t2="$(printf '%s\n' "${two[@]}" | best | cut -d' ' -f1)"
m1="$(printf '%s\n' "${one[@]}" | cut -d' ' -f2 | sort -n | tail -1)"
m2="$(printf '%s\n' "${two[@]}" | cut -d' ' -f2 | sort -n | tail -1)"
m_six="$(run 1 "$work/six" | cut -d' ' -f2)"
ratio="$(awk -v a="$t2" -v b="$t1" 'BEGIN { printf "%.2f", a / b }')"
echo "60 files: --jobs 1 ${t1} s, --jobs 2 ${t2} s (ratio ${ratio}, target at most 0.60)"
echo "peak memory: 6 files with 1 job ${m_six} KB, 60 files with 1 job ${m1} KB, 60 files with 2 jobs ${m2} KB"
awk -v r="$ratio" 'BEGIN { exit !(r <= 0.60) }' || { echo "bench-batch: two jobs are too slow" >&2; exit 1; }
