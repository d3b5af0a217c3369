#!/usr/bin/env bash
# Converts every real scan (../shared/data/real-cis) and the bundled sample under a set of
# settings variations and prints one digest line per output file (MIDI and diagnostic files)
# and per run's messages. Two builds that print the same digests write the same bytes.
#
#   tools/output-digest.sh [CLI] > digests.txt
#
# CLI defaults to build/cli/tarvelo-cli. Runs use a fresh profile and SOURCE_DATE_EPOCH, so
# the digests do not depend on the user's settings or the day.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(realpath "${1:-$root/build/cli/tarvelo-cli}")"
scans="$root/../shared/data/real-cis"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1700000000
export TARVELO_PROFILE="$work/profile.ini"

# Options every run takes: the switches that keep a conversion literal (the behaviour the
# digests pin), one per line, so that a new switch is one more line.
literal=(
  --set=OutputFiles/LiteralRollInfo=1
  "--set=Scanner Settings/AutoTweakSettings0=0"
)

inputs=("$root/data/sample/SampleRoll.cis")
if [ -d "$scans" ]; then
  for f in "$scans"/*.CIS; do inputs+=("$f"); done
fi

# name|options
variations=(
  "default|"
  "ampico-b|--roll-type=Ampico B"
  "duo-art|--roll-type=Duo-Art"
  "welte|--roll-type=Welte Licensee --set=Scanner Settings/ScannerOffset0=1.1"
  "88-note-no-tracking|--roll-type=88-Note --set=Scanner Settings/ActiveTracking0=0"
  "diagnostics|--set=Diagnostic Settings/WriteCISrawTransitionFile=1 --set=Diagnostic Settings/WriteTrackLookUpMapFile=1"
  "takeup|--set=Scanner Settings/RemoveTakeupAccel0=1 --set=Scanner Settings/TakeupAccelPct0=0.35"
  "shaft|--set=Scanner Settings/ScannerModeType0=Shaft Encoder --set=Diagnostic Settings/ShowShaftEncoderStatistics=1"
  "countdown|--set=Scanner Settings/ScannerModeType0=Mode4 encoder : count down"
  "badmode|--set=Scanner Settings/ScannerModeType0=Mode9"
  "twin-embedded|--set=Twin Array Settings/OverrideCISvalues=0 --roll-type=Ampico B"
  "mirror|--set=Diagnostic Settings/OverrideImageReversal=2 --roll-type=Duo-Art"
  "oldformat|--set=Scanner Settings/ForceOldCisFormat0=1"
  "dpi200|--set=Scanner Settings/ScannerDPI0=200 --set=Scanner Settings/ScannerAlignStretch0=1.01 --roll-type=Duo-Art"
  "cleanup|--set=Midi Gen Settings/GlitchThresholdDistance=0.05 --set=Midi Gen Settings/SpeckThresholdLength=0.08 --set=Midi eRoll Settings/IncludePowerRollEvents=0"
  "gain|--set=ActiveTrackingParameters/TrackingLoopGain=0.2 --set=ActiveTrackingParameters/EdgeErrorWeightingFactor=0.7 --roll-type=Artecho"
)

for variation in "${variations[@]}"; do
  name="${variation%%|*}"
  opts="${variation#*|}"
  args=()
  # Options are separated by " --"; each keeps its blanks.
  if [ -n "$opts" ]; then
    IFS=$'\x1f' read -r -a args <<<"$(printf '%s' "$opts" | sed 's/ --/\x1f--/g')"
  fi
  for input in "${inputs[@]}"; do
    base="$(basename "$input")"
    dir="$work/$name/${base%.*}"
    mkdir -p "$dir"
    cp "$input" "$dir/$base"
    set +e
    (cd "$dir" && "$cli" convert --quiet "${literal[@]}" "${args[@]}" "$base" >/dev/null 2>"$dir/messages.txt")
    status=$?
    set -e
    echo "$name $base exit=$status"
    for out in "$dir"/*; do
      case "$out" in *.CIS|*.cis) continue ;; esac
      echo "$name $base $(basename "$out") $(sha256sum <"$out" | cut -c1-16)"
    done
  done
done
