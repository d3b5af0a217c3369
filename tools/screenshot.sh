#!/usr/bin/env bash
# A picture of the desktop program's main window as an X server shows it: the real program runs
# under a virtual display (Xvfb), opens a real roll scan, placed with the scanner values and roll
# type its measurement suggests, with the tracking corrections shown,
# and saves the window's area of the screen (its --screenshot option), then quits.
#
#   tools/screenshot.sh [BUILD_DIR [SCAN.cis [OUT.png [INCH]]]]
#
# Defaults: build, ../shared/data/real-cis/stepper_single.CIS, docs/tarvelo-window.png, inch 40.
# The conversion's MIDI files and the settings profile go to a temporary folder that is removed.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
scan="${2:-../shared/data/real-cis/stepper_single.CIS}"
out="${3:-docs/tarvelo-window.png}"
inch="${4:-40}"

for tool in xvfb-run "$build/app/tarvelo" "$build/cli/tarvelo-cli"; do
  command -v "$tool" > /dev/null || { echo "screenshot: $tool not found (tools/bootstrap.sh installs and builds it)" >&2; exit 1; }
done
[ -f "$scan" ] || { echo "screenshot: no scan $scan" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The scan is linked into the temporary folder, so the MIDI files are written there.
ln -s "$(realpath "$scan")" "$work/$(basename "$scan")"
export TARVELO_PROFILE="$work/Tarvelo.ini"
# The roll placed as it should be: the scanner values and the roll type its measurement suggests
# (the first preset takes the values, the roll type box the recognised type).
"$build/cli/tarvelo-cli" align --roll-type auto --write-preset 0 "$work/$(basename "$scan")" > /dev/null
roll_type="$("$build/cli/tarvelo-cli" align --roll-type auto --json "$work/$(basename "$scan")" |
  python3 -c 'import json, sys; print(json.load(sys.stdin)["files"][0]["roll_type"])')"
"$build/cli/tarvelo-cli" settings set "Roll Settings/ActiveRollTypeName=$roll_type" > /dev/null

xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/app/tarvelo" --from "$inch" --tracking --screenshot "$work/window.png" "$work/$(basename "$scan")"
mv "$work/window.png" "$out"
echo "screenshot: $out"
