#!/usr/bin/env bash
# `cmake --install` into a scratch folder: each component puts its files where the packages and
# the programs expect them, the command line's component holds nothing of Qt, and tarvelo-cli
# run from the scratch folder finds the installed roll type library (<program>/../share/tarvelo)
# and converts the sample roll into the same bytes as the build's own program.
#   InstallTree_test.sh BUILD_DIR SOURCE_DIR HAVE_QT
set -euo pipefail
build="$1" source="$2" have_qt="$3"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() {
  echo "$1"
  failures=$((failures + 1))
}
expect_files() {
  local root="$1"
  shift
  for file in "$@"; do [ -f "$root/$file" ] || fail "$root/$file is missing"; done
}

cli_files=(bin/tarvelo-cli share/tarvelo/RollTypeDefinitions.xml share/tarvelo/sample/SampleRoll.cis)
desktop_files=(bin/tarvelo share/applications/tarvelo.desktop share/icons/hicolor/scalable/apps/tarvelo.svg
  share/mime/packages/tarvelo.xml share/man/man1/tarvelo.1)

cmake --install "$build" --prefix "$scratch/cli" --component cli >/dev/null
expect_files "$scratch/cli" "${cli_files[@]}"
for file in "${desktop_files[@]}"; do [ ! -e "$scratch/cli/$file" ] || fail "the cli component holds $file"; done

cmake --install "$build" --prefix "$scratch/all" >/dev/null
expect_files "$scratch/all" "${cli_files[@]}"
if [ "$have_qt" = "ON" ]; then
  expect_files "$scratch/all" "${desktop_files[@]}"
fi

# Run from a folder without a roll type library: the installed one must be found.
mkdir -p "$scratch/work/out" "$scratch/work/reference"
cd "$scratch/work"
# Both programs with the same settings (a new profile) and the same credit date.
export SOURCE_DATE_EPOCH=0 TARVELO_PROFILE="$scratch/Tarvelo.ini"
program="$scratch/cli/bin/tarvelo-cli"
types="$("$program" roll-types)"
[ "$(printf '%s\n' "$types" | grep -c .)" -gt 1 ] || fail "the installed tarvelo-cli lists only: $types"
"$program" convert --quiet --output-dir out "$scratch/cli/share/tarvelo/sample/SampleRoll.cis" ||
  fail "the installed tarvelo-cli could not convert the sample roll"
"$build/cli/tarvelo-cli" convert --quiet --output-dir reference "$source/data/sample/SampleRoll.cis" ||
  fail "the build's tarvelo-cli could not convert the sample roll"
for output in SampleRoll_ScanImageMIDI.mid SampleRoll_eRollMIDI.mid; do
  cmp -s "out/$output" "reference/$output" || fail "$output differs from the build's own"
done

[ "$failures" -eq 0 ] && echo "ok: the installed tree"
exit "$((failures > 0))"
